#pragma once

// The kinds of impact an effect override reacts to. Names compare without
// regard to ASCII letter case; an unknown name gives -1.

#include <array>
#include <cstdint>
#include <string_view>

enum ImpactType : int32_t {
    cImpact = 0,
    cImpactBig = 1,
    cImpactMagic = 2,
    cImpactMagicBig = 3,
    cImpactRanged = 4,
    cImpactRangedBig = 5,
};

inline constexpr int32_t cImpactTypeCount = 6;

extern const std::array<std::string_view, cImpactTypeCount> cImpactTypeNames;

// The impact type of that name, or -1.
int32_t impactTypeFromName(std::string_view name);
