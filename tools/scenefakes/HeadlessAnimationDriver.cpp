#include "tools/scenefakes/HeadlessAnimationDriver.h"

#include "rules/AnimStateIds.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCSequence.h"

HeadlessAnimationDriver::HeadlessAnimationDriver(float stepTime) : mStepTime(stepTime) {}

bool HeadlessAnimationDriver::reportsStep(int32_t state) {
    if (isAttackAnimState(state))
        return true;
    switch (state) {
    case cAnimStatePlace:
    case cAnimStateDeploy:
    case cAnimStateBirth:
    case cAnimStateMove:
    case cAnimStateAbility:
    case cAnimStateAbility2:
    case cAnimStateAbilityBig:
        return true;
    default:
        return false;
    }
}

bool HeadlessAnimationDriver::isTaunt(int32_t state) {
    return state == cAnimStateTaunt || state == cAnimStateTaunt2 || state == cAnimStateTaunt3;
}

void HeadlessAnimationDriver::playEntityAnimation(Entity* entity, int32_t state,
                                                  const GridSlot& own, const GridSlot& toward,
                                                  float delay, const GridSlot& end) {
    HeadlessSceneServices::playEntityAnimation(entity, state, own, toward, delay, end);
    scheduleEnd(entity, state, delay);
}

void HeadlessAnimationDriver::playEntityAnimationInPlace(Entity* entity, int32_t state,
                                                         const GridSlot& toward, float delay) {
    HeadlessSceneServices::playEntityAnimationInPlace(entity, state, toward, delay);
    scheduleEnd(entity, state, delay);
}

void HeadlessAnimationDriver::scheduleEnd(Entity* entity, int32_t state, float delay) {
    const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    cocos2d::CCNode* node = view != nullptr ? view->getMainNode() : nullptr;
    Game* game = entity != nullptr ? entity->mGame : nullptr;
    if (node == nullptr || game == nullptr)
        return;
    cocos2d::SEL_CallFuncND end = nullptr;
    if (reportsStep(state))
        end = callfuncND_selector(Game::visualStepDone);
    else if (isTaunt(state))
        end = callfuncND_selector(Game::tauntFinished);
    if (end == nullptr)
        return;
    node->runAction(
        cocos2d::CCSequence::actions(cocos2d::CCDelayTime::actionWithDuration(delay + mStepTime),
                                     cocos2d::CCCallFuncND::actionWithTarget(game, end, entity)));
}
