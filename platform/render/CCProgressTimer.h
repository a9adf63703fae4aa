#pragma once

// A sprite shown in part, by a percentage 0..100 (CCProgressProtocol, so
// CCProgressFromTo drives it). Bar types fill from one edge: 2 left to
// right, 3 right to left, 4 bottom to top, 5 top to bottom. The radial
// types (0, 1) are kept but drawn whole. Content size, colour and opacity
// are the sprite's.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <string>

namespace cocos2d {

class CCSprite;
class CCTexture2D;

enum CCProgressTimerType {
    kCCProgressTimerTypeRadialCCW = 0,
    kCCProgressTimerTypeRadialCW,
    kCCProgressTimerTypeHorizontalBarLR,
    kCCProgressTimerTypeHorizontalBarRL,
    kCCProgressTimerTypeVerticalBarBT,
    kCCProgressTimerTypeVerticalBarTB,
};

class CCProgressTimer : public CCNode, public CCRGBAProtocol, public CCProgressProtocol {
public:
    // A timer of the image (an empty one when the image is missing).
    static CCProgressTimer* progressWithFile(const std::string& file);
    // Null without a texture.
    static CCProgressTimer* progressWithTexture(CCTexture2D* texture);
    ~CCProgressTimer() override;
    bool initWithTexture(CCTexture2D* texture);

    void setType(CCProgressTimerType type) { mType = type; }
    CCProgressTimerType getType() const { return mType; }
    // Clamped to 0..100.
    void setPercentage(float percentage) override;
    float getPercentage() override { return mPercentage; }
    CCSprite* getSprite() const { return mSprite; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override;
    uint8_t getOpacity() override;
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool value) override;
    bool getIsOpacityModifyRGB() override;

    // The part of the sprite's quad that shows at the current percentage.
    ccV3F_C4B_T2F_Quad visibleQuad();
    void draw() override;

private:
    CCSprite* mSprite = nullptr; // retained
    CCProgressTimerType mType = kCCProgressTimerTypeRadialCCW;
    float mPercentage = 0.0f;
};

} // namespace cocos2d
