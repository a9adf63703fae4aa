#include "platform/engine/CCAnimation.h"

namespace cocos2d {

CCAnimation::CCAnimation() : mFrames(new CCMutableArray<CCSpriteFrame*>()) {}

CCAnimation::~CCAnimation() {
    mFrames->release();
}

CCAnimation* CCAnimation::animation() {
    auto* result = new CCAnimation();
    result->autorelease();
    return result;
}

CCAnimation* CCAnimation::animationWithFrames(CCMutableArray<CCSpriteFrame*>* frames, float delay) {
    CCAnimation* result = animation();
    if (frames) {
        for (CCSpriteFrame* frame : *frames)
            result->addFrame(frame);
    }
    result->mDelay = delay;
    return result;
}

void CCAnimation::addFrame(CCSpriteFrame* frame) {
    mFrames->addObject(frame);
}

} // namespace cocos2d
