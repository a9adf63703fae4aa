#include "puppet/AnimState.h"

#include "rules/core/NameTable.h"

const std::array<std::string_view, cAnimStateCount> cAnimStateNames = {
    "Idle",
    "IdleWeak",
    "IdleActive",
    "IdleFull",
    "Select",
    "Place",
    "Deploy",
    "PickedUp",
    "Move",
    "Attack",
    "AttackBig",
    "AttackMelee",
    "AttackDouble",
    "AttackUpgrade",
    "AttackThrow",
    "Damaged",
    "DamagedUpgrade",
    "DamagedMagic",
    "DamagedMagicBig",
    "KnockedOut",
    "KnockedOutIdle",
    "Death",
    "Ability",
    "Bored",
    "Revived",
    "UpgradeArmor",
    "UpgradeWeapon",
    "UpgradeTrinket",
    "UpgradeScroll",
    "Sleep",
    "Play",
    "Taunt",
    "Taunt2",
    "Taunt3",
    "Consume",
    "Birth",
    "Play2",
    "Idle2",
    "Death2",
    "AttackBigMelee",
    "TauntReaction",
    "Cheer",
    "Defeated",
    "Defeated2",
    "Defeated3",
    "Defeated4",
    "Defeated5",
    "GainBloodRage",
    "Ability2",
    "AbilityBig",
    "AttackMove",
    "IdleTileRack",
};

const std::array<std::string_view, cPartSlotCount> cPartSlotNames = {
    "Shadow", "MainHand", "LArm", "LLeg", "Torso", "RArm", "OffHand", "RLeg", "Head",
    "Helm",   "Eyes",     "01",   "02",   "03",    "04",   "05",      "06",   "07",
    "08",     "09",       "10",   "11",   "12",    "13",   "14",      "15",
};

int32_t animStateFromName(std::string_view name) {
    static const NoCaseNameIndex index(cAnimStateNames);
    return index.find(name);
}

int32_t puppetPartSlotFromName(std::string_view name) {
    return findNameNoCase(cPartSlotNames, name);
}
