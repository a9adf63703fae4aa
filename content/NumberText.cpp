#include "content/NumberText.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

int32_t parseIntText(std::string_view text) {
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float parseFloatText(std::string_view text) {
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
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
