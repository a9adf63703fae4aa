#pragma once

// Lookup in a fixed table of names, as the data files' enumeration words are
// read: whole names, ASCII letter case ignored, first match wins.

#include <cstdint>
#include <span>
#include <string_view>

// The position of name in names, or -1.
int32_t findNameNoCase(std::span<const std::string_view> names, std::string_view name);
