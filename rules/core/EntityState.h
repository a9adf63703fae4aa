#pragma once

// The states of an entity and the kinds of action, as the rules store them
// and as the data files name them. Names compare without regard to ASCII
// letter case; an unknown name gives -1.

#include <array>
#include <cstdint>
#include <string_view>

enum EntityState : int32_t {
    cStateInTileChest = 0,
    cStateOnTileRack = 1,
    cStateDeployedToGameBoard = 2,
    cStateCandidateDeployment = 3,
    cStateCandidateMovement = 4,
    cStateCandidateAttack = 5,
    cStateCandidateEquip = 6,
    cStateEquipped = 7,
    cStateMoving = 8,
    cStateKnockedOut = 9,
    cStateDead = 10,
};

inline constexpr int32_t cEntityStateCount = 11;

enum ActionType : int32_t {
    cActionReturn = 0,
    cActionPlace = 1,
    cActionDeploy = 2,
    cActionMove = 3,
    cActionAttack = 4,
    cActionHeal = 5,
    cActionEquip = 6,
    cActionUseItem = 7,
    cActionCastPower = 8,
    cActionAllyAbility = 9,
    cActionSwap = 10,
};

inline constexpr int32_t cActionTypeCount = 11;

// The data-file names, indexed by value.
extern const std::array<std::string_view, cEntityStateCount> cEntityStateNames;
extern const std::array<std::string_view, cActionTypeCount> cActionTypeNames;

// The state of that name, or -1.
int32_t entityStateFromName(std::string_view name);
// The action type of that name, or -1.
int32_t actionTypeFromName(std::string_view name);
