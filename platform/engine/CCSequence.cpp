#include "platform/engine/CCSequence.h"

#include <algorithm>

namespace cocos2d {

bool CCSequence::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    CCActionList::initWithActions(actions);
    mEnds.clear();
    ccTime total = 0.0f;
    for (CCFiniteTimeAction* action : mActions) {
        total += action->getDuration();
        mEnds.push_back(total);
    }
    return true;
}

ccTime CCSequence::durationOf(const std::vector<CCFiniteTimeAction*>& actions) const {
    ccTime total = 0.0f;
    for (CCFiniteTimeAction* action : actions)
        total += action->getDuration();
    return total;
}

void CCSequence::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mCurrent = 0;
    mCurrentStarted = false;
}

void CCSequence::stop() {
    if (mCurrent < mActions.size() && mCurrentStarted)
        mActions[mCurrent]->stop();
    mCurrent = mActions.size();
    CCActionInterval::stop();
}

void CCSequence::update(ccTime progress) {
    CCNode* target = mTarget;
    const ccTime now = progress * mDuration;
    while (mCurrent < mActions.size()) {
        CCFiniteTimeAction* action = mActions[mCurrent];
        if (!mCurrentStarted) {
            mCurrentStarted = true;
            action->startWithTarget(target);
            if (mTarget != target)
                return; // stopped from inside the start
        }
        const ccTime end = mEnds[mCurrent];
        const ccTime start = end - action->getDuration();
        if (progress >= 1.0f || ccReachedEnd(now, end)) {
            action->update(1.0f);
            if (mTarget != target)
                return; // the call stopped the sequence
            action->stop();
            ++mCurrent;
            mCurrentStarted = false;
            continue;
        }
        // The ends are sums of durations: in float the action's start may lie
        // a hair after now, and an action must not see a progress below 0
        // (an ease's power of it is not a number).
        action->update(action->getDuration() > 0.0f
                           ? std::max(0.0f, (now - start) / action->getDuration())
                           : 1.0f);
        return;
    }
}

} // namespace cocos2d
