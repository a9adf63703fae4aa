#pragma once

// Shows the frames of an animation in turn on a node implementing
// CCDisplayFrameProtocol (a sprite), spread evenly over the action's
// duration (frames x delay unless given). With restoreOriginalFrame the
// frame shown before the action comes back when it stops.

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCAnimation.h"

namespace cocos2d {

class CCAnimate : public CCActionInterval {
public:
    static CCAnimate* actionWithAnimation(CCAnimation* animation, bool restoreOriginalFrame = true);
    static CCAnimate* actionWithDuration(ccTime duration, CCAnimation* animation,
                                         bool restoreOriginalFrame);
    ~CCAnimate() override;
    bool initWithDuration(ccTime duration, CCAnimation* animation, bool restoreOriginalFrame);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime progress) override;

    CCAnimation* getAnimation() const { return mAnimation; }

private:
    CCAnimation* mAnimation = nullptr;
    CCSpriteFrame* mOriginalFrame = nullptr;
    bool mRestoreOriginalFrame = true;
};

} // namespace cocos2d
