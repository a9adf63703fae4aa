#include "platform/engine/CCActionScale.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"

namespace cocos2d {

CCScaleTo* CCScaleTo::actionWithDuration(ccTime duration, float scale) {
    return actionWithDuration(duration, scale, scale);
}

CCScaleTo* CCScaleTo::actionWithDuration(ccTime duration, float scaleX, float scaleY) {
    auto* action = new CCScaleTo();
    action->initWithDuration(duration, scaleX, scaleY);
    action->autorelease();
    return action;
}

bool CCScaleTo::initWithDuration(ccTime duration, float scaleX, float scaleY) {
    mEndScaleX = scaleX;
    mEndScaleY = scaleY;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCScaleTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCScaleTo* copy = ccCopyTarget<CCScaleTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mEndScaleX = mEndScaleX;
    copy->mEndScaleY = mEndScaleY;
    return copy;
}

void CCScaleTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mStartScaleX = target->getScaleX();
    mStartScaleY = target->getScaleY();
}

void CCScaleTo::update(ccTime progress) {
    if (!mTarget)
        return;
    mTarget->setScaleX(mStartScaleX + (mEndScaleX - mStartScaleX) * progress);
    mTarget->setScaleY(mStartScaleY + (mEndScaleY - mStartScaleY) * progress);
}

CCScaleBy* CCScaleBy::actionWithDuration(ccTime duration, float factor) {
    return actionWithDuration(duration, factor, factor);
}

CCScaleBy* CCScaleBy::actionWithDuration(ccTime duration, float factorX, float factorY) {
    auto* action = new CCScaleBy();
    action->initWithDuration(duration, factorX, factorY);
    action->mFactorX = factorX;
    action->mFactorY = factorY;
    action->autorelease();
    return action;
}

CCObject* CCScaleBy::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCScaleBy* copy = ccCopyTarget<CCScaleBy>(zone, ownZone);
    CCScaleTo::copyWithZone(zone);
    copy->mFactorX = mFactorX;
    copy->mFactorY = mFactorY;
    return copy;
}

void CCScaleBy::startWithTarget(CCNode* target) {
    CCScaleTo::startWithTarget(target);
    mEndScaleX = mStartScaleX * mFactorX;
    mEndScaleY = mStartScaleY * mFactorY;
}

} // namespace cocos2d
