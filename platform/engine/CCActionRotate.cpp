#include "platform/engine/CCActionRotate.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"

#include <cmath>

namespace cocos2d {

CCRotateTo* CCRotateTo::actionWithDuration(ccTime duration, float angle) {
    auto* action = new CCRotateTo();
    action->initWithDuration(duration, angle);
    action->autorelease();
    return action;
}

bool CCRotateTo::initWithDuration(ccTime duration, float angle) {
    mAngle = angle;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCRotateTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCRotateTo* copy = ccCopyTarget<CCRotateTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mAngle = mAngle;
    return copy;
}

void CCRotateTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mStartAngle = std::fmod(target->getRotation(), 360.0f);
    mDelta = std::fmod(mAngle, 360.0f) - mStartAngle;
    if (mDelta > 180.0f)
        mDelta -= 360.0f;
    if (mDelta < -180.0f)
        mDelta += 360.0f;
}

void CCRotateTo::update(ccTime progress) {
    if (mTarget)
        mTarget->setRotation(mStartAngle + mDelta * progress);
}

CCRotateBy* CCRotateBy::actionWithDuration(ccTime duration, float angle) {
    auto* action = new CCRotateBy();
    action->initWithDuration(duration, angle);
    action->autorelease();
    return action;
}

CCObject* CCRotateBy::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCRotateBy, CCRotateTo>(this, zone);
}

void CCRotateBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mStartAngle = target->getRotation();
    mDelta = mAngle;
}

} // namespace cocos2d
