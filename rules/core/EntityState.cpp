#include "rules/core/EntityState.h"

#include "rules/core/NameTable.h"

const std::array<std::string_view, cEntityStateCount> cEntityStateNames = {
    "InTileChest",
    "OnTileRack",
    "DeployedToGameBoard",
    "CandidateDeployment",
    "CandidateMovement",
    "CandidateAttack",
    "CandidateEquip",
    "Equipped",
    "Moving",
    "KnockedOut",
    "Dead",
};

const std::array<std::string_view, cActionTypeCount> cActionTypeNames = {
    "Return", "Place",   "Deploy",    "Move",        "Attack", "Heal",
    "Equip",  "UseItem", "CastPower", "AllyAbility", "Swap",
};

int32_t entityStateFromName(std::string_view name) {
    return findNameNoCase(cEntityStateNames, name);
}

int32_t actionTypeFromName(std::string_view name) {
    return findNameNoCase(cActionTypeNames, name);
}
