#include "shell/TimeTexts.h"

#include "content/LocalizedStrings.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

// The user's locale; the classic one when the environment names none that
// exists.
std::locale userLocale() {
    try {
        return std::locale("");
    } catch (const std::exception&) {
        return std::locale::classic();
    }
}

std::string formatLocal(int64_t time, const char* format) {
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return {};
    std::ostringstream out;
    out.imbue(userLocale());
    out << std::put_time(&local, format);
    return out.str();
}

std::string countText(const char* key, double quotient) {
    std::string out;
    formatLocalized(out, key, static_cast<int>(std::lround(quotient)));
    return out;
}

} // namespace

int64_t unixTimeNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string formatTimeAgo(int64_t time, int64_t now) {
    const double e = double(now) - double(time);
    if (e < 60)
        return localizedString("Moments ago");
    if (e < 96)
        return localizedString("About a minute ago");
    if (e < 3600)
        return countText("%d minutes ago", e / 60);
    if (e < 5760)
        return localizedString("About an hour ago");
    if (e < 86400)
        return countText("%d hours ago", e / 3600);
    if (e < 138240)
        return localizedString("A day ago");
    if (e < 2419200)
        return countText("%d days ago", e / 86400);
    return formatLocalDate(time);
}

std::string formatDateByAge(int64_t time, int64_t now) {
    const double e = double(now) - double(time);
    if (e <= 0)
        return formatLocalDate(time);
    if (e < 86400)
        return formatLocalTime(time);
    if (e < 518400)
        return formatLocalDayName(time);
    return formatLocalDate(time);
}

std::string formatLocalDate(int64_t time) {
    return formatLocal(time, "%x");
}

std::string formatLocalTime(int64_t time) {
    return formatLocal(time, "%H:%M");
}

std::string formatLocalDayName(int64_t time) {
    return formatLocal(time, "%A");
}
