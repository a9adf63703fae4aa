#pragma once

// Rotation over time, in degrees clockwise. CCRotateTo takes the shorter
// way round; CCRotateBy turns by the given angle, several turns included.

#include "platform/engine/CCActionInterval.h"

namespace cocos2d {

class CCRotateTo : public CCActionInterval {
public:
    static CCRotateTo* actionWithDuration(ccTime duration, float angle);
    bool initWithDuration(ccTime duration, float angle);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

protected:
    float mAngle = 0.0f; // target angle (To) or turn (By)
    float mStartAngle = 0.0f;
    float mDelta = 0.0f;
};

class CCRotateBy : public CCRotateTo {
public:
    static CCRotateBy* actionWithDuration(ccTime duration, float angle);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
};

} // namespace cocos2d
