#include "platform/engine/CCActionInterval.h"

#include "platform/engine/CCActionCopy.h"

#include <algorithm>

namespace cocos2d {

CCObject* CCActionInterval::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCActionInterval* copy = ccCopyTarget<CCActionInterval>(zone, ownZone);
    CCFiniteTimeAction::copyWithZone(zone);
    copy->initWithDuration(mDuration);
    return copy;
}

bool CCActionInterval::initWithDuration(ccTime duration) {
    mDuration = std::max(duration, 0.0f);
    mElapsed = 0.0f;
    return true;
}

bool CCActionInterval::isDone() {
    return mElapsed >= mDuration;
}

void CCActionInterval::startWithTarget(CCNode* target) {
    CCFiniteTimeAction::startWithTarget(target);
    mElapsed = 0.0f;
}

void CCActionInterval::step(ccTime dt) {
    mElapsed += dt;
    update(mDuration > 0.0f ? std::min(1.0f, mElapsed / mDuration) : 1.0f);
}

CCDelayTime* CCDelayTime::actionWithDuration(ccTime duration) {
    auto* action = new CCDelayTime();
    action->initWithDuration(duration);
    action->autorelease();
    return action;
}

CCObject* CCDelayTime::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCDelayTime, CCActionInterval>(this, zone);
}

} // namespace cocos2d
