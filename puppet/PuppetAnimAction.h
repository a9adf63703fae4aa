#pragma once

// An interval action that plays one animation state on a PuppetInstance
// when it starts and, optionally, a follow-up state (looping, with the usual
// 0.15 s blend) when it stops, so puppet animations sit in engine sequences
// beside moves and fades. The action changes nothing per step: its duration
// only holds the sequence while the puppet animates on its own tick. The
// target must be a PuppetInstance.

#include "platform/engine/CCActionInterval.h"

#include <cstdint>

class PuppetInstance;

class PuppetAnimAction : public cocos2d::CCActionInterval {
public:
    // A new autoreleased action. A negative duration takes the length of the
    // animation the puppet's definition plays for the state (0 without one);
    // the puppet serves only that look-up and may be null.
    static PuppetAnimAction* actionWithAnim(int32_t state, bool loop, float startFraction,
                                            float duration, int32_t nextState, float blend,
                                            PuppetInstance* puppet);
    // Starts the state at once and finishes at the first step.
    static PuppetAnimAction* actionWithAnim(int32_t state, bool loop, float blend);

    cocos2d::CCObject* copyWithZone(cocos2d::CCZone* zone) override;
    void update(cocos2d::ccTime) override {}
    void startWithTarget(cocos2d::CCNode* target) override;
    void stop() override;

    int32_t getState() const { return mState; }
    float getStartFraction() const { return mStartFraction; }
    int32_t getNextState() const { return mNextState; }
    float getNextStartFraction() const { return mNextStartFraction; }
    float getBlend() const { return mBlend; }
    bool getLoop() const { return mLoop; }

private:
    int32_t mState = -1;
    float mStartFraction = 0.0f;
    int32_t mNextState = -1;
    float mNextStartFraction = 0.0f;
    float mBlend = 0.15f;
    bool mLoop = true;
};
