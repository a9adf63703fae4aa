#pragma once

// Runs actions one after the other. Each action starts in the frame in which
// the one before it ends and receives the rest of that frame's time, so an
// instant action fires exactly when its predecessor ends and several short
// actions may all complete within one frame. Stopping the sequence stops
// the running action; the later ones never start.

#include "platform/engine/CCActionList.h"

namespace cocos2d {

class CCSequence : public CCActionListOf<CCSequence> {
public:
    bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime progress) override;

protected:
    ccTime durationOf(const std::vector<CCFiniteTimeAction*>& actions) const override;

private:
    std::vector<ccTime> mEnds; // end time of each action within the sequence
    size_t mCurrent = 0;       // the action that runs now
    bool mCurrentStarted = false;
};

} // namespace cocos2d
