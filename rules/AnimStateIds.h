#pragma once

// The animation states the rules ask for by number (the puppets' vocabulary,
// puppet/AnimState.h).

#include <cstdint>

enum AnimStateId : int32_t {
    cAnimStateIdle = 0,
    cAnimStateIdleWeak = 1,
    cAnimStateIdleActive = 2,
    cAnimStateIdleFull = 3,
    cAnimStateSelect = 4,
    cAnimStatePlace = 5,
    cAnimStateDeploy = 6,
    cAnimStatePickedUp = 7,
    cAnimStateMove = 8,
    cAnimStateAttack = 9,
    cAnimStateAttackBig = 10,
    cAnimStateAttackMelee = 11,
    cAnimStateAttackDouble = 12,
    cAnimStateAttackUpgrade = 13,
    cAnimStateAttackThrow = 14,
    cAnimStateDamaged = 15,
    cAnimStateDamagedUpgrade = 16,
    cAnimStateDamagedMagic = 17,
    cAnimStateDamagedMagicBig = 18,
    cAnimStateKnockedOut = 19,
    cAnimStateKnockedOutIdle = 20,
    cAnimStateDeath = 21,
    cAnimStateAbility = 22,
    cAnimStateRevived = 24,
    cAnimStateSleep = 29,
    cAnimStatePlay = 30,
    cAnimStateTaunt = 31,
    cAnimStateTaunt2 = 32,
    cAnimStateTaunt3 = 33,
    cAnimStateConsume = 34,
    cAnimStateBirth = 35,
    cAnimStateAttackBigMelee = 39,
    cAnimStateTauntReaction = 40,
    cAnimStateDefeated = 42,
    cAnimStateDefeated2 = 43,
    cAnimStateDefeated3 = 44,
    cAnimStateDefeated4 = 45,
    cAnimStateDefeated5 = 46,
    cAnimStateGainBloodRage = 47,
    cAnimStateAbility2 = 48,
    cAnimStateAbilityBig = 49,
    cAnimStateAttackMove = 50,
    cAnimStateIdleTileRack = 51,
};

// Whether the state is one of the attacks (the nine the animation driver
// plays as a strike toward a square).
constexpr bool isAttackAnimState(int32_t state) {
    switch (state) {
    case cAnimStateAttack:
    case cAnimStateAttackBig:
    case cAnimStateAttackMelee:
    case cAnimStateAttackDouble:
    case cAnimStateAttackUpgrade:
    case cAnimStateAttackThrow:
    case cAnimStateConsume:
    case cAnimStateAttackBigMelee:
    case cAnimStateAttackMove:
        return true;
    default:
        return false;
    }
}
