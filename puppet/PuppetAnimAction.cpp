#include "puppet/PuppetAnimAction.h"

#include "platform/engine/CCActionCopy.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"

using namespace cocos2d;

PuppetAnimAction* PuppetAnimAction::actionWithAnim(int32_t state, bool loop, float startFraction,
                                                   float duration, int32_t nextState, float blend,
                                                   PuppetInstance* puppet) {
    auto* action = new PuppetAnimAction();
    action->autorelease();
    action->mStartFraction = startFraction;
    action->mState = state;
    if (duration < 0.0f) {
        duration = 0.0f;
        const PuppetDefinition* definition = puppet ? puppet->getPuppet() : nullptr;
        if (const PuppetAnim* anim = definition ? definition->getAnimForState(state) : nullptr)
            duration = anim->mLength;
    }
    action->initWithDuration(duration);
    action->mNextStartFraction = 0.0f;
    action->mNextState = nextState;
    action->mBlend = blend;
    action->mLoop = loop;
    return action;
}

PuppetAnimAction* PuppetAnimAction::actionWithAnim(int32_t state, bool loop, float blend) {
    return actionWithAnim(state, loop, 0.0f, 0.0f, -1, blend, nullptr);
}

CCObject* PuppetAnimAction::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    PuppetAnimAction* copy = ccCopyTarget<PuppetAnimAction>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mState = mState;
    copy->mStartFraction = mStartFraction;
    copy->mNextState = mNextState;
    copy->mNextStartFraction = mNextStartFraction;
    copy->mBlend = mBlend;
    copy->mLoop = mLoop;
    return copy;
}

void PuppetAnimAction::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (auto* puppet = dynamic_cast<PuppetInstance*>(target))
        puppet->playAnimation(mState, mStartFraction, mLoop, mBlend);
}

void PuppetAnimAction::stop() {
    if (auto* puppet = dynamic_cast<PuppetInstance*>(getTarget()); puppet && mNextState >= 0)
        puppet->playAnimation(mNextState, mNextStartFraction, true, PuppetInstance::cDefaultBlend);
    CCActionInterval::stop();
}
