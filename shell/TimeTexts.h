#pragma once

// The games list's texts for times: the age of a past time, and a date, a
// time of day or a weekday name by that age. Times are seconds since
// 1970-01-01 00:00 UTC; dates and times are in the local time zone and the
// user's locale (std::locale("")): the short date, hours and minutes, the
// long weekday name.

#include <cstdint>
#include <string>

// The current time in seconds since 1970-01-01 00:00 UTC.
int64_t unixTimeNow();

// "Moments ago" below 60 s, "About a minute ago" below 96 s, "%d minutes
// ago" below an hour, "About an hour ago" below 1.6 hours, "%d hours ago"
// below a day, "A day ago" below 1.6 days, "%d days ago" below 28 days
// (rounded quotients), else the date. A future time is "Moments ago".
std::string formatTimeAgo(int64_t time, int64_t now = unixTimeNow());
// The date for a time not in the past, the time of day below a day, the
// weekday below six days, else the date.
std::string formatDateByAge(int64_t time, int64_t now = unixTimeNow());

std::string formatLocalDate(int64_t time);
std::string formatLocalTime(int64_t time);
// The weekday of the local calendar day of the time.
std::string formatLocalDayName(int64_t time);
