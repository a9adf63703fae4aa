#pragma once

// Numbers read from data and option texts, kept within the range of the type
// they are stored in: a text never makes an out-of-range conversion.

#include <cstdint>
#include <string_view>

// strtoll base 10 and strtod of the text, which needs no NUL after it; errno
// is left as the conversion sets it.
long long strtollText(std::string_view text);
double strtodText(std::string_view text);
// strtol base 10 of the text, saturated to the int32 range.
int32_t parseIntText(std::string_view text);
// strtod of the text narrowed to float; beyond float's range it is infinite.
float parseFloatText(std::string_view text);
// A real as an int32: truncated toward zero, saturated to the int32 range,
// NaN as 0.
int32_t saturatingInt32(double value);
