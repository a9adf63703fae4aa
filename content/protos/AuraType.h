#pragma once

// The kinds of aura, an effect drawn at a unit for a state, a buff or the
// premium square it stands on. Buffs and the settings' aura list name them;
// names compare without regard to ASCII letter case, an unknown name is -1.

#include <array>
#include <cstdint>
#include <string_view>

enum AuraType : int32_t {
    cAuraPower = 0,
    cAuraKnockedOut = 1,
    cAuraPremiumSquarePower = 2,
    cAuraPremiumSquareDefense = 3,
    cAuraPremiumSquareVictoryDamageSubtract = 4,
    cAuraPremiumSquareVictoryDamageAdd = 5,
    cAuraWeaken = 6,
    cAuraShields = 7,
    cAuraPowerSmall = 8,
    cAuraSpottingBuff = 9,
    cAuraBeer = 10,
    cAuraBloodrage = 11,
    cAuraArmorDebuff = 12,
    cAuraPremiumSquareCrystalSpikes = 13,
    cAuraPremiumSquareResist = 14,
    cAuraDefiance = 15,
    cAuraSurgewardInvincibility = 16,
    cAuraSourflaskDebuff = 17,
    cAuraSurgeward = 18,
    cAuraHighlight = 19,
};

inline constexpr int32_t cAuraTypeCount = 20;

extern const std::array<std::string_view, cAuraTypeCount> cAuraTypeNames;

// The aura type of that name, or -1.
int32_t auraTypeFromName(std::string_view name);
