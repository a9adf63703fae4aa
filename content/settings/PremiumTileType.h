#pragma once

// The kinds of premium square. Names compare without regard to ASCII letter
// case; an unknown name, and the name "Invalid" itself, give cPremiumInvalid.

#include <array>
#include <cstdint>
#include <string_view>

enum PremiumTileType : int32_t {
    cPremiumInvalid = -1,
    cPremiumPower = 0,
    cPremiumDefense = 1,
    cPremiumScore = 2,
    cPremiumScoreMultiplier = 3,
    cPremiumVictoryDamageAdd = 4,
    cPremiumVictoryDamageSubtract = 5,
    cPremiumSpeed = 6,
    cPremiumTeleporter = 7,
    cPremiumCrystalSpikes = 8,
    cPremiumResist = 9,
    cPremiumSendTrain = 10,
};

inline constexpr int32_t cPremiumTileTypeCount = 11;

extern const std::array<std::string_view, cPremiumTileTypeCount> cPremiumTileTypeNames;

// The type of that name, or cPremiumInvalid.
int32_t premiumTileTypeFromName(std::string_view name);
// The name of a type: "Invalid" for -1, "Unknown" outside -1..10.
std::string_view premiumTileTypeName(int32_t type);
