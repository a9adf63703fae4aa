#include "content/settings/PremiumTileType.h"

#include "rules/core/NameTable.h"

const std::array<std::string_view, cPremiumTileTypeCount> cPremiumTileTypeNames = {
    "Power",           "Defense",          "Score",
    "ScoreMultiplier", "VictoryDamageAdd", "VictoryDamageSubtract",
    "Speed",           "Teleporter",       "CrystalSpikes",
    "Resist",          "SendTrain",
};

int32_t premiumTileTypeFromName(std::string_view name) {
    return findNameNoCase(cPremiumTileTypeNames, name);
}

std::string_view premiumTileTypeName(int32_t type) {
    if (type == cPremiumInvalid)
        return "Invalid";
    if (type < 0 || type >= cPremiumTileTypeCount)
        return "Unknown";
    return cPremiumTileTypeNames[type];
}
