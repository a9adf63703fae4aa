#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/SceneServices.h"
#include "rules/core/RNG.h"

#include "content/protos/Database.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCActionScale.h"

namespace {

// Whether the puppet has an animation for the state.
bool puppetDefines(int32_t puppetHandle, int32_t state) {
    const PuppetDefinition* puppet = PuppetRegistry::getPuppet(puppetHandle);
    return puppet != nullptr && puppet->getAnimForState(state) != nullptr;
}

} // namespace

int32_t Entity::getPuppetHandle() const {
    ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return -1;
    if (proto->mPuppetHandle < 0 && !proto->mPuppetName.empty())
        proto->mPuppetHandle = PuppetRegistry::loadPuppet(proto->mPuppetName);
    return proto->mPuppetHandle;
}

ActionResultInfo* Entity::getPlayingActionResult() const {
    if (mGame == nullptr)
        return nullptr;
    CandidateAction* action = mGame->findAction(cPlaybackRestoringInitialState);
    if (action == nullptr)
        action = mGame->findAction(cPlaybackPlaying);
    return action != nullptr ? action->findResult(mId) : nullptr;
}

int32_t Entity::resolveAnimationState(int32_t state, bool useFinalHealth) const {
    if (getPuppetHandle() < 0)
        return state;
    return chooseAnimationVariant(state, getPlayingActionResult(), useFinalHealth);
}

int32_t Entity::chooseAnimationVariant(int32_t state, const ActionResultInfo* result,
                                       bool useFinalHealth) const {
    const int32_t puppet = getPuppetHandle();
    if (puppet < 0)
        return state;
    const ProtoEntity* proto = getProto();
    switch (state) {
    case cAnimStateIdle: {
        const bool idleTile = mState == cStateInTileChest || mState == cStateOnTileRack;
        const bool opponentsTurn =
            mGame == nullptr || !mGame->isLocalTurn() || (mGame->mFlags & cGameTurnFinished) != 0;
        if (idleTile && opponentsTurn && puppetDefines(puppet, cAnimStateSleep))
            return cAnimStateSleep;
        if (mState == cStateOnTileRack && puppetDefines(puppet, cAnimStateIdleTileRack))
            return cAnimStateIdleTileRack;
        float health = getHealthFraction();
        if (result != nullptr) {
            if (!useFinalHealth)
                health = result->mInitialHealthFraction;
            else if (result->mFinalHealthFraction >= 0.0f)
                health = result->mFinalHealthFraction;
        }
        if (isLowHealth(health))
            return cAnimStateIdleWeak;
        if (health >= 1.0f)
            return cAnimStateIdleFull;
        return cAnimStateIdle;
    }
    case cAnimStateAttack:
    case cAnimStateAttackMelee: {
        if (result == nullptr)
            return state;
        const int32_t power = result->mPower > 0 ? result->mPower : getPower(nullptr);
        if (static_cast<float>(power) >=
            proto->mBigAttackMultiplierThreshold * static_cast<float>(proto->mPower)) {
            if (state == cAnimStateAttackMelee && puppetDefines(puppet, cAnimStateAttackBigMelee))
                return cAnimStateAttackBigMelee;
            return cAnimStateAttackBig;
        }
        const CocosEntityLink* view = getEntityLink();
        if (view != nullptr && view->isDualWielding())
            return cAnimStateAttackUpgrade;
        return state;
    }
    case cAnimStateDamagedUpgrade:
    case cAnimStateDamagedMagic:
    case cAnimStateDamagedMagicBig:
        return puppetDefines(puppet, state) ? state : cAnimStateDamaged;
    case cAnimStateTaunt:
        return cAnimStateTaunt + static_cast<int32_t>(gRng.randInt(2));
    case cAnimStateDefeated: {
        const double r = gRng.rand();
        if (r > 0.9)
            return cAnimStateDefeated5;
        if (r > 0.75)
            return cAnimStateDefeated4;
        if (r > 0.55)
            return cAnimStateDefeated3;
        if (r <= 0.3)
            return cAnimStateDefeated;
        return cAnimStateDefeated2;
    }
    default:
        return state;
    }
}

void Entity::playAnimation(int32_t state, const GridSlot& own, const GridSlot& toward, float delay,
                           const GridSlot& end) {
    sceneServices().playEntityAnimation(this, state, own, toward, delay, end);
}

void Entity::playAnimationInPlace(int32_t state, const GridSlot& toward, float delay) {
    sceneServices().playEntityAnimationInPlace(this, state, toward, delay);
}

void Entity::playHitAnimation(int32_t state, const GridSlot& own, const GridSlot& toward) {
    sceneServices().playEntityHitAnimation(this, state, own, toward);
}

bool Entity::makeFacingActions(const GridSlot& own, const GridSlot& toward,
                               cocos2d::CCFiniteTimeAction** outFace,
                               cocos2d::CCFiniteTimeAction** outBack) const {
    const CocosEntityLink* view = getEntityLink();
    const auto* puppet =
        dynamic_cast<const PuppetInstance*>(view != nullptr ? view->getMainNode() : nullptr);
    const bool mirrored = puppet != nullptr && puppet->isFlipX();
    const bool behind = mirrored ? toward.x > own.x : toward.x < own.x;
    const float x = behind ? -1.0f : 1.0f;
    if (outFace != nullptr)
        *outFace = cocos2d::CCScaleTo::actionWithDuration(0.01f, x, 1.0f);
    if (outBack != nullptr)
        *outBack = cocos2d::CCScaleTo::actionWithDuration(0.01f, 1.0f, 1.0f);
    return true;
}
