#pragma once

// The tick clock and the web service's date-and-time texts.

#include <cstdint>
#include <string_view>

// Seconds of a monotonic clock, for time-outs and intervals; never decreases.
double currentTimeSeconds();

// Reads "year-month-day hour:minute:second" (numbers as "%d" reads them, at
// most 9 characters each) as UTC into seconds since 1970-01-01 00:00 UTC;
// out-of-range fields carry over as a calendar does. False, with out
// untouched, unless all six numbers are read.
bool parseServerTime(std::string_view text, int64_t& out);
