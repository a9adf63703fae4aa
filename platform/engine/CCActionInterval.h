#pragma once

// The base of actions that run over time. The first step counts its own dt,
// so a 0.001 s action finishes in the frame after it starts, and a
// zero-length one reaches its end (update(1)) on its first step.

#include "platform/engine/CCAction.h"

namespace cocos2d {

class CCActionInterval : public CCFiniteTimeAction {
public:
    CCObject* copyWithZone(CCZone* zone) override;
    bool isDone() override;
    void startWithTarget(CCNode* target) override;
    void step(ccTime dt) override;

    bool initWithDuration(ccTime duration);
    ccTime getElapsed() const { return mElapsed; }

protected:
    ccTime mElapsed = 0.0f;
};

// True when a time computed from a progress value has reached an end time;
// the rounding of progress x duration must not hold back an action that ends
// exactly now.
inline bool ccReachedEnd(double now, double end) {
    return now >= end - end * 1e-6;
}

class CCDelayTime : public CCActionInterval {
public:
    // An autoreleased wait of that many seconds (0 allowed).
    static CCDelayTime* actionWithDuration(ccTime duration);
    CCObject* copyWithZone(CCZone* zone) override;
};

} // namespace cocos2d
