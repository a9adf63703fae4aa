#include "platform/engine/CCRepeat.h"

#include "platform/engine/CCActionCopy.h"

namespace cocos2d {

CCRepeat* CCRepeat::actionWithAction(CCFiniteTimeAction* action, unsigned int times) {
    auto* repeat = new CCRepeat();
    repeat->initWithAction(action, times);
    repeat->autorelease();
    return repeat;
}

CCRepeat::~CCRepeat() {
    ccSafeRelease(mInner);
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* action, unsigned int times) {
    action->retain();
    ccSafeRelease(mInner);
    mInner = action;
    mTimes = times;
    return initWithDuration(action->getDuration() * float(times));
}

CCObject* CCRepeat::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCRepeat* copy = ccCopyTarget<CCRepeat>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    auto* inner = static_cast<CCFiniteTimeAction*>(mInner->copy());
    copy->initWithAction(inner, mTimes);
    inner->release();
    return copy;
}

void CCRepeat::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mCompleted = 0;
    if (mTimes > 0)
        mInner->startWithTarget(target);
}

void CCRepeat::stop() {
    if (mCompleted < mTimes)
        mInner->stop();
    mCompleted = mTimes;
    CCActionInterval::stop();
}

void CCRepeat::update(ccTime progress) {
    CCNode* target = mTarget;
    const double length = mInner->getDuration();
    const double now = double(progress) * mDuration;
    while (mCompleted < mTimes) {
        const double end = length * (mCompleted + 1);
        if (progress < 1.0f && length > 0.0 && !ccReachedEnd(now, end)) {
            mInner->update(ccTime((now - length * mCompleted) / length));
            return;
        }
        mInner->update(1.0f);
        if (mTarget != target)
            return; // the call stopped the repeat
        mInner->stop();
        if (++mCompleted < mTimes) {
            mInner->startWithTarget(target);
            if (mTarget != target)
                return;
        }
    }
}

CCRepeatForever* CCRepeatForever::actionWithAction(CCActionInterval* action) {
    auto* repeat = new CCRepeatForever();
    repeat->initWithAction(action);
    repeat->autorelease();
    return repeat;
}

CCRepeatForever::~CCRepeatForever() {
    ccSafeRelease(mInner);
}

bool CCRepeatForever::initWithAction(CCActionInterval* action) {
    action->retain();
    ccSafeRelease(mInner);
    mInner = action;
    return initWithDuration(0.0f);
}

CCObject* CCRepeatForever::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCRepeatForever* copy = ccCopyTarget<CCRepeatForever>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    auto* inner = static_cast<CCActionInterval*>(mInner->copy());
    copy->initWithAction(inner);
    inner->release();
    return copy;
}

void CCRepeatForever::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mInner->startWithTarget(target);
}

void CCRepeatForever::stop() {
    if (mTarget)
        mInner->stop();
    CCActionInterval::stop();
}

void CCRepeatForever::step(ccTime dt) {
    CCNode* target = mTarget;
    mInner->step(dt);
    if (mTarget != target || !mInner->isDone())
        return;
    // Start over, carrying the time past the end into the next run (one
    // restart per frame, so a zero-length action cannot spin).
    const ccTime overshoot = mInner->getElapsed() - mInner->getDuration();
    mInner->stop();
    mInner->startWithTarget(target);
    if (mTarget == target && overshoot > 0.0f && mInner->getDuration() > 0.0f)
        mInner->step(overshoot);
}

bool CCRepeatForever::isDone() {
    return false;
}

} // namespace cocos2d
