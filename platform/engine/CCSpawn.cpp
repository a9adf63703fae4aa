#include "platform/engine/CCSpawn.h"

#include <algorithm>

namespace cocos2d {

bool CCSpawn::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    CCActionList::initWithActions(actions);
    mFinished.assign(mActions.size(), false);
    return true;
}

ccTime CCSpawn::durationOf(const std::vector<CCFiniteTimeAction*>& actions) const {
    ccTime longest = 0.0f;
    for (CCFiniteTimeAction* action : actions)
        longest = std::max(longest, action->getDuration());
    return longest;
}

void CCSpawn::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mFinished.assign(mActions.size(), false);
    for (CCFiniteTimeAction* action : mActions) {
        action->startWithTarget(target);
        if (mTarget != target)
            return; // stopped from inside a start
    }
}

void CCSpawn::stop() {
    for (size_t i = 0; i < mActions.size(); ++i) {
        if (!mFinished[i]) {
            mFinished[i] = true;
            mActions[i]->stop();
        }
    }
    CCActionInterval::stop();
}

void CCSpawn::update(ccTime progress) {
    CCNode* target = mTarget;
    const ccTime now = progress * mDuration;
    for (size_t i = 0; i < mActions.size(); ++i) {
        if (mFinished[i])
            continue;
        CCFiniteTimeAction* action = mActions[i];
        const ccTime duration = action->getDuration();
        const bool ends = progress >= 1.0f || ccReachedEnd(now, duration);
        action->update(ends || duration <= 0.0f ? 1.0f : now / duration);
        if (mTarget != target)
            return; // the call stopped the spawn
        if (ends) {
            mFinished[i] = true;
            action->stop();
        }
    }
}

} // namespace cocos2d
