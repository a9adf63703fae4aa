#pragma once

// The two fixed vocabularies between puppet content and code: animation
// states (what a puppet is doing, one animation slot per state) and part
// slots (where on a puppet a piece of art hangs). The data files write them
// as words; they are turned into indices once, at load time.

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int32_t cAnimStateCount = 52;
inline constexpr int32_t cPartSlotCount = 26;

// The names, indexed by value ("Idle" 0 .. "IdleTileRack" 51; "Shadow" 0 .. "15" 25).
extern const std::array<std::string_view, cAnimStateCount> cAnimStateNames;
extern const std::array<std::string_view, cPartSlotCount> cPartSlotNames;

// The animation state of that name (ASCII case ignored, whole names), or -1.
int32_t animStateFromName(std::string_view name);
// The part slot of that name (ASCII case ignored, whole names), or -1.
int32_t puppetPartSlotFromName(std::string_view name);
