#include "platform/engine/CCActionMove.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"

#include <cmath>

namespace cocos2d {

CCMoveTo* CCMoveTo::actionWithDuration(ccTime duration, const CCPoint& position) {
    auto* action = new CCMoveTo();
    action->initWithDuration(duration, position);
    action->autorelease();
    return action;
}

bool CCMoveTo::initWithDuration(ccTime duration, const CCPoint& position) {
    mEndPosition = position;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCMoveTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCMoveTo* copy = ccCopyTarget<CCMoveTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mEndPosition = mEndPosition;
    copy->mDelta = mDelta;
    return copy;
}

void CCMoveTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mStartPosition = target->getPosition();
    mDelta = ccpSub(mEndPosition, mStartPosition);
}

void CCMoveTo::update(ccTime progress) {
    if (mTarget)
        mTarget->setPosition(ccpAdd(mStartPosition, ccpMult(mDelta, progress)));
}

CCMoveBy* CCMoveBy::actionWithDuration(ccTime duration, const CCPoint& delta) {
    auto* action = new CCMoveBy();
    action->initWithDuration(duration, delta);
    action->autorelease();
    return action;
}

bool CCMoveBy::initWithDuration(ccTime duration, const CCPoint& delta) {
    mDelta = delta;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCMoveBy::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCMoveBy, CCMoveTo>(this, zone);
}

void CCMoveBy::startWithTarget(CCNode* target) {
    const CCPoint delta = mDelta;
    CCMoveTo::startWithTarget(target);
    mDelta = delta;
}

CCJumpBy* CCJumpBy::actionWithDuration(ccTime duration, const CCPoint& delta, ccTime height,
                                       int jumps) {
    auto* action = new CCJumpBy();
    action->initWithDuration(duration, delta, height, jumps);
    action->autorelease();
    return action;
}

bool CCJumpBy::initWithDuration(ccTime duration, const CCPoint& delta, ccTime height, int jumps) {
    mDelta = delta;
    mHeight = height;
    mJumps = jumps;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCJumpBy::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCJumpBy* copy = ccCopyTarget<CCJumpBy>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->initWithDuration(mDuration, mDelta, mHeight, mJumps);
    return copy;
}

void CCJumpBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mStartPosition = target->getPosition();
}

void CCJumpBy::update(ccTime progress) {
    if (!mTarget)
        return;
    const float phase = std::fmod(progress * float(mJumps), 1.0f);
    const float lift = mHeight * 4.0f * phase * (1.0f - phase);
    mTarget->setPosition(CCPoint(mStartPosition.x + mDelta.x * progress,
                                 mStartPosition.y + mDelta.y * progress + lift));
}

CCJumpTo* CCJumpTo::actionWithDuration(ccTime duration, const CCPoint& position, ccTime height,
                                       int jumps) {
    auto* action = new CCJumpTo();
    action->initWithDuration(duration, position, height, jumps);
    action->mEndPosition = position;
    action->autorelease();
    return action;
}

CCObject* CCJumpTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCJumpTo* copy = ccCopyTarget<CCJumpTo>(zone, ownZone);
    CCJumpBy::copyWithZone(zone);
    copy->mEndPosition = mEndPosition;
    return copy;
}

void CCJumpTo::startWithTarget(CCNode* target) {
    CCJumpBy::startWithTarget(target);
    mDelta = ccpSub(mEndPosition, mStartPosition);
}

} // namespace cocos2d
