#pragma once

// The animation states the rules ask for by number (the puppets' vocabulary,
// puppet/AnimState.h).

#include <cstdint>

enum AnimStateId : int32_t {
    cAnimStateIdle = 0,
    cAnimStateIdleWeak = 1,
    cAnimStateIdleFull = 3,
    cAnimStateDeploy = 6,
    cAnimStateAttack = 9,
    cAnimStateAttackBig = 10,
    cAnimStateAttackMelee = 11,
    cAnimStateAttackUpgrade = 13,
    cAnimStateDamaged = 15,
    cAnimStateDamagedUpgrade = 16,
    cAnimStateDamagedMagic = 17,
    cAnimStateDamagedMagicBig = 18,
    cAnimStateAbility = 22,
    cAnimStateSleep = 29,
    cAnimStatePlay = 30,
    cAnimStateTaunt = 31,
    cAnimStateTaunt2 = 32,
    cAnimStateTaunt3 = 33,
    cAnimStateAttackBigMelee = 39,
    cAnimStateDefeated = 42,
    cAnimStateDefeated2 = 43,
    cAnimStateDefeated3 = 44,
    cAnimStateDefeated4 = 45,
    cAnimStateDefeated5 = 46,
    cAnimStateGainBloodRage = 47,
    cAnimStateIdleTileRack = 51,
};
