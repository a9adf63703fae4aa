#include "content/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Calls read with text as a NUL-terminated string: a short text is copied to
// the stack, a long one to the heap.
template <class Read> auto withCString(std::string_view text, Read read) {
    char buffer[64];
    if (text.size() < sizeof buffer) {
        if (!text.empty())
            std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return read(buffer);
    }
    const std::string copy(text);
    return read(copy.c_str());
}

// The value of text when it is only an optional '-' and 1 to 18 decimal
// digits, which strtoll reads whole and without a range error.
bool plainDecimal(std::string_view text, long long& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 18)
        return false;
    long long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    out = negative ? -value : value;
    return true;
}

// The value of text when it is only an optional '-', decimal digits and an
// optional '.' with more digits, short enough that strtod reads it whole
// without a range error; from_chars rounds it exactly as strtod does.
bool plainDecimalFraction(std::string_view text, double& out) {
    if (text.empty() || text.size() > 24)
        return false;
    size_t i = text[0] == '-' ? 1 : 0;
    const size_t integerStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == integerStart)
        return false;
    if (i < text.size()) {
        if (text[i] != '.' || i + 1 == text.size())
            return false;
        for (++i; i < text.size(); ++i)
            if (text[i] < '0' || text[i] > '9')
                return false;
    }
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::fixed);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

long long strtollText(std::string_view text) {
    long long value = 0;
    if (plainDecimal(text, value))
        return value;
    return withCString(text, [](const char* c) { return std::strtoll(c, nullptr, 10); });
}

double strtodText(std::string_view text) {
    double value = 0.0;
    if (plainDecimalFraction(text, value))
        return value;
    return withCString(text, [](const char* c) { return std::strtod(c, nullptr); });
}

int32_t parseIntText(std::string_view text) {
    const long long value = strtollText(text);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float parseFloatText(std::string_view text) {
    const double value = strtodText(text);
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

int32_t saturatingInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0)
        return INT32_MAX;
    if (value <= -2147483649.0)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}
