#pragma once

// Opacity and colour over time, on nodes that implement CCRGBAProtocol
// (other nodes are left alone). Values are interpolated linearly and
// truncated to bytes; eased progress outside 0..1 is clamped.

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/ccTypes.h"

namespace cocos2d {

class CCFadeTo : public CCActionInterval {
public:
    static CCFadeTo* actionWithDuration(ccTime duration, uint8_t opacity);
    bool initWithDuration(ccTime duration, uint8_t opacity);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

protected:
    uint8_t mFromOpacity = 0;
    uint8_t mToOpacity = 0;
};

// From opacity 0 to 255, whatever the opacity at the start.
class CCFadeIn : public CCFadeTo {
public:
    static CCFadeIn* actionWithDuration(ccTime duration);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
};

// From opacity 255 to 0, whatever the opacity at the start.
class CCFadeOut : public CCFadeTo {
public:
    static CCFadeOut* actionWithDuration(ccTime duration);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
};

class CCTintTo : public CCActionInterval {
public:
    static CCTintTo* actionWithDuration(ccTime duration, uint8_t red, uint8_t green, uint8_t blue);
    bool initWithDuration(ccTime duration, const ccColor3B& color);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void update(ccTime progress) override;

private:
    ccColor3B mFrom;
    ccColor3B mTo;
};

// from + (to - from) x progress, clamped to 0..255 and truncated.
uint8_t ccLerpByte(uint8_t from, uint8_t to, ccTime progress);

} // namespace cocos2d
