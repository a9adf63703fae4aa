#pragma once

// Position over time: straight moves and parabolic jumps. The "By" forms
// are relative to where the node stands when the action starts.

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCGeometry.h"

namespace cocos2d {

class CCMoveTo : public CCActionInterval {
public:
    static CCMoveTo* actionWithDuration(ccTime duration, const CCPoint& position);
    bool initWithDuration(ccTime duration, const CCPoint& position);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

protected:
    CCPoint mEndPosition;
    CCPoint mStartPosition;
    CCPoint mDelta;
};

class CCMoveBy : public CCMoveTo {
public:
    static CCMoveBy* actionWithDuration(ccTime duration, const CCPoint& delta);
    bool initWithDuration(ccTime duration, const CCPoint& delta);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
};

// Moves by delta while hopping: each of the jumps is a parabola whose top
// lies height above the straight line.
class CCJumpBy : public CCActionInterval {
public:
    static CCJumpBy* actionWithDuration(ccTime duration, const CCPoint& delta, ccTime height,
                                        int jumps);
    bool initWithDuration(ccTime duration, const CCPoint& delta, ccTime height, int jumps);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

protected:
    CCPoint mStartPosition;
    CCPoint mDelta;
    ccTime mHeight = 0.0f;
    int mJumps = 1;
};

class CCJumpTo : public CCJumpBy {
public:
    static CCJumpTo* actionWithDuration(ccTime duration, const CCPoint& position, ccTime height,
                                        int jumps);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;

private:
    CCPoint mEndPosition;
};

} // namespace cocos2d
