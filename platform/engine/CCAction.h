#pragma once

// The action bases. An action is started on a target node, stepped once per
// frame by the action manager with the frame's (scaled) time, and stopped
// when done or when the node stops it. update(t) sets the state at progress
// t, 0 at the start and 1 at the end; easing may pass values outside 0..1.

#include "platform/engine/CCObject.h"

namespace cocos2d {

inline constexpr int kCCActionTagInvalid = -1;

class CCAction : public CCObject {
public:
    CCObject* copyWithZone(CCZone* zone) override;

    // True once the action has nothing more to do.
    virtual bool isDone();
    virtual void startWithTarget(CCNode* target);
    // Called when the action finishes or is stopped; clears the target.
    virtual void stop();
    // One frame of dt seconds.
    virtual void step(ccTime dt);
    void update(ccTime progress) override;

    CCNode* getTarget() const { return mTarget; }
    CCNode* getOriginalTarget() const { return mOriginalTarget; }
    int getTag() const { return mTag; }
    void setTag(int tag) { mTag = tag; }

protected:
    CCNode* mOriginalTarget = nullptr;
    CCNode* mTarget = nullptr;
    int mTag = kCCActionTagInvalid;
};

// An action with a duration in seconds.
class CCFiniteTimeAction : public CCAction {
public:
    CCObject* copyWithZone(CCZone* zone) override;

    ccTime getDuration() const { return mDuration; }
    void setDuration(ccTime duration) { mDuration = duration; }

protected:
    ccTime mDuration = 0.0f;
};

} // namespace cocos2d
