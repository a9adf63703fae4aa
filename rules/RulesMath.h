#pragma once

// The two float-to-integer steps of the rules: truncation toward zero, and
// the nearest multiple of 5 (halves up) that health and power move in. Both
// hold the result in the int32 range, and a NaN gives 0, so odd data cannot
// overflow.

#include <cmath>
#include <cstdint>

inline int32_t clampToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (value <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// truncate(value).
inline int32_t truncateToInt(double value) {
    return clampToInt(std::trunc(value));
}

// 5 x floor(value / 5 + 0.5).
inline int32_t roundToFive(double value) {
    return clampToInt(5.0 * std::floor(value / 5.0 + 0.5));
}
