#include "content/protos/AuraType.h"

#include "rules/core/NameTable.h"

const std::array<std::string_view, cAuraTypeCount> cAuraTypeNames = {
    "Power",
    "KnockedOut",
    "PremiumSquarePower",
    "PremiumSquareDefense",
    "PremiumSquareVictoryDamageSubtract",
    "PremiumSquareVictoryDamageAdd",
    "Weaken",
    "Shields",
    "PowerSmall",
    "SpottingBuff",
    "Beer",
    "Bloodrage",
    "ArmorDebuff",
    "PremiumSquareCrystalSpikes",
    "PremiumSquareResist",
    "Defiance",
    "SurgewardInvincibility",
    "SourflaskDebuff",
    "Surgeward",
    "Highlight",
};

int32_t auraTypeFromName(std::string_view name) {
    return findNameNoCase(cAuraTypeNames, name);
}
