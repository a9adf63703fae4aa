#include "platform/engine/CCAnimate.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCProtocols.h"

#include <algorithm>

namespace cocos2d {

CCAnimate* CCAnimate::actionWithAnimation(CCAnimation* animation, bool restoreOriginalFrame) {
    const ccTime duration = animation->getDelay() * float(animation->getFrames()->count());
    return actionWithDuration(duration, animation, restoreOriginalFrame);
}

CCAnimate* CCAnimate::actionWithDuration(ccTime duration, CCAnimation* animation,
                                         bool restoreOriginalFrame) {
    auto* action = new CCAnimate();
    action->initWithDuration(duration, animation, restoreOriginalFrame);
    action->autorelease();
    return action;
}

CCAnimate::~CCAnimate() {
    ccSafeRelease(mAnimation);
    ccSafeRelease(mOriginalFrame);
}

bool CCAnimate::initWithDuration(ccTime duration, CCAnimation* animation,
                                 bool restoreOriginalFrame) {
    animation->retain();
    ccSafeRelease(mAnimation);
    mAnimation = animation;
    mRestoreOriginalFrame = restoreOriginalFrame;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCAnimate::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCAnimate* copy = ccCopyTarget<CCAnimate>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->initWithDuration(mDuration, mAnimation, mRestoreOriginalFrame);
    return copy;
}

void CCAnimate::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    ccSafeRelease(mOriginalFrame);
    CCDisplayFrameProtocol* display = ccDisplayFrameProtocolOf(target);
    if (display && mRestoreOriginalFrame) {
        mOriginalFrame = display->displayedFrame();
        if (mOriginalFrame)
            mOriginalFrame->retain();
    }
}

void CCAnimate::stop() {
    CCDisplayFrameProtocol* display = ccDisplayFrameProtocolOf(mTarget);
    if (display && mRestoreOriginalFrame && mOriginalFrame)
        display->setDisplayFrame(mOriginalFrame);
    ccSafeRelease(mOriginalFrame);
    CCActionInterval::stop();
}

void CCAnimate::update(ccTime progress) {
    CCDisplayFrameProtocol* display = ccDisplayFrameProtocolOf(mTarget);
    CCMutableArray<CCSpriteFrame*>* frames = mAnimation->getFrames();
    const size_t count = frames->count();
    if (!display || count == 0)
        return;
    const float clamped = std::clamp(progress, 0.0f, 1.0f);
    const size_t index = std::min(size_t(clamped * float(count)), count - 1);
    CCSpriteFrame* frame = frames->getObjectAtIndex(index);
    if (!display->isFrameDisplayed(frame))
        display->setDisplayFrame(frame);
}

} // namespace cocos2d
