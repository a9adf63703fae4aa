#include "content/TimeTexts.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

double currentTimeSeconds() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool parseServerTime(std::string_view text, int64_t& out) {
    const std::string copy(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // The widths keep every number within int.
    if (std::sscanf(copy.c_str(), "%9d-%9d-%9d %9d:%9d:%9d", &year, &month, &day, &hour, &minute,
                    &second) != 6)
        return false;
    std::tm calendar{};
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    calendar.tm_hour = hour;
    calendar.tm_min = minute;
    calendar.tm_sec = second;
    calendar.tm_isdst = 0;
    errno = 0;
    const time_t seconds = timegm(&calendar);
    if (seconds == static_cast<time_t>(-1) && errno == EOVERFLOW)
        return false;
    out = static_cast<int64_t>(seconds);
    return true;
}
