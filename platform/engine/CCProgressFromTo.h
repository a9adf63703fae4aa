#pragma once

// Moves the percentage of a node implementing CCProgressProtocol (a progress
// timer) from one value to another.

#include "platform/engine/CCActionInterval.h"

namespace cocos2d {

class CCProgressFromTo : public CCActionInterval {
public:
    static CCProgressFromTo* actionWithDuration(ccTime duration, float fromPercentage,
                                                float toPercentage);
    bool initWithDuration(ccTime duration, float fromPercentage, float toPercentage);
    CCObject* copyWithZone(CCZone* zone) override;
    void update(ccTime progress) override;

private:
    float mFrom = 0.0f;
    float mTo = 0.0f;
};

} // namespace cocos2d
