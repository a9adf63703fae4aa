#pragma once

// The bar of progress timers that shows a unit's or a player's health: the
// bar itself, a trailing effect bar that catches up 0.4 s after a change, a
// pulsing low-health warning and a background, all scaled to the bar's
// size. A unit's bar (mShowAlways false) only shows for the 1.2 s around an
// animated change; a banner's bar stays shown and warns below 25 %.
// Main thread only.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

namespace cocos2d {
class CCProgressTimer;
class CCSprite;
class CCTexture2D;
} // namespace cocos2d

class HealthBar : public cocos2d::CCNode, public cocos2d::CCRGBAProtocol {
public:
    HealthBar() = default;
    ~HealthBar() override;

    virtual cocos2d::CCRGBAProtocol* asRGBAProtocol() { return this; }

    // The bar from the texture with the engine's progress type (2 fills left
    // to right, 3 right to left); false, building nothing, without a texture.
    bool init(cocos2d::CCTexture2D* texture, const cocos2d::CCPoint& anchor, int type);
    // Percent 0..100, jumping at once or animated after the delay.
    void setPercentage(float percent, bool animate, float delay);
    void setLowHealthWarning(bool on, float delay);

    // CCRGBAProtocol: the colour is white and ignored; the opacity goes to
    // every child that has one.
    void setColor(const cocos2d::ccColor3B&) override {}
    cocos2d::ccColor3B getColor() override { return cocos2d::ccc3(255, 255, 255); }
    uint8_t getOpacity() override { return mOpacity; }
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool) override {}
    bool getIsOpacityModifyRGB() override { return true; }

    cocos2d::CCProgressTimer* getBar() const { return mBar; }
    cocos2d::CCProgressTimer* getEffectBar() const { return mEffectBar; }
    cocos2d::CCSprite* getLowWarning() const { return mLowWarning; }
    cocos2d::CCSprite* getBackground() const { return mBackground; }

    static constexpr float cLowHealthPercent = 25.0f;

private:
    // Places a child at the bar's anchor point and scales it to the bar's size.
    void fitToBar(cocos2d::CCNode* child) const;

    cocos2d::CCProgressTimer* mBar = nullptr;       // retained
    cocos2d::CCProgressTimer* mEffectBar = nullptr; // retained
    cocos2d::CCSprite* mLowWarning = nullptr;       // retained
    cocos2d::CCSprite* mBackground = nullptr;       // retained

public:
    bool mShowAlways = false;

private:
    uint8_t mOpacity = 255;
};
