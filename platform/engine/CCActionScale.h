#pragma once

// Scale over time, uniform or per axis; a negative scale mirrors. CCScaleBy
// multiplies the scale the node has when the action starts.

#include "platform/engine/CCActionInterval.h"

namespace cocos2d {

class CCScaleTo : public CCActionInterval {
public:
    static CCScaleTo* actionWithDuration(ccTime duration, float scale);
    static CCScaleTo* actionWithDuration(ccTime duration, float scaleX, float scaleY);
    bool initWithDuration(ccTime duration, float scaleX, float scaleY);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

protected:
    float mEndScaleX = 1.0f;
    float mEndScaleY = 1.0f;
    float mStartScaleX = 1.0f;
    float mStartScaleY = 1.0f;
};

class CCScaleBy : public CCScaleTo {
public:
    static CCScaleBy* actionWithDuration(ccTime duration, float factor);
    static CCScaleBy* actionWithDuration(ccTime duration, float factorX, float factorY);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;

private:
    float mFactorX = 1.0f;
    float mFactorY = 1.0f;
};

} // namespace cocos2d
