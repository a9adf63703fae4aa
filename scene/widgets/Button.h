#pragma once

// The touchable control of the board's interface: an image sprite (normal,
// disabled and pressed looks, or a pop to 1.5 in scale mode), an optional
// text label, a tap callback on release inside, a hold callback after 0.6 s
// down, a release sound, an optional player-colour layer and an optional
// help tooltip (kind 3).
//
// A button claims touches on its image (scaled by mHitScale) as a targeted
// delegate at priority 0 that swallows them, registered while it runs; the
// most recently registered button is asked first. Its creator sets mSound,
// mHitScale, both callbacks and mDisabled directly; after changing
// mDisabled it calls showReleased (setEnabled does both). Callback targets
// are not retained. Main thread only.
//
// Files: Button.cpp (looks, touches), Button_tooltip.cpp (help panel).

#include "rules/TooltipProtocol.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCTouchDelegate.h"

#include <string>

namespace cocos2d {
class CCLabelTTF;
class CCSprite;
} // namespace cocos2d

struct PlayerColor;

class Button : public cocos2d::CCNode,
               public cocos2d::CCTargetedTouchDelegate,
               public TooltipProtocol,
               public cocos2d::CCRGBAProtocol {
public:
    // Insets (margins between the image's edge and the label's box) ride in
    // a CCRect as top, left, bottom, right.
    static cocos2d::CCRect insets(float top, float left, float bottom, float right) {
        return cocos2d::CCRect(top, left, bottom, right);
    }
    // 2.0 on every side.
    static cocos2d::CCRect defaultInsets() { return insets(2.0f, 2.0f, 2.0f, 2.0f); }

    // An image button; an empty or null label makes no label.
    Button(const char* normalImage, const char* disabledImage, const char* pressedImage,
           const cocos2d::CCPoint& position, const char* label, const char* fontName, int fontSize,
           const cocos2d::CCRect& insets = defaultInsets());
    // The action-points button (initActionPoints).
    explicit Button(const cocos2d::CCPoint& position);

    void onEnter() override;
    void onExit() override;

    // Help tooltip: icon image, title and help text; shows the kind-3
    // indicator and registers the button with the tooltip manager.
    virtual void setTooltip(const std::string& image, const std::string& title,
                            const std::string& text);

    // Touches.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // Tooltip: anchored at the button's position; fills the help panel.
    cocos2d::CCPoint getTooltipPosition() const override;
    void buildTooltip(cocos2d::CCNode* background) override;

    // CCRGBAProtocol: the colour is always white and ignored; the opacity
    // goes to every child that has one (255 until first set).
    void setColor(const cocos2d::ccColor3B& color) override;
    cocos2d::ccColor3B getColor() override;
    uint8_t getOpacity() override;
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool value) override;
    bool getIsOpacityModifyRGB() override;

    // The action-points button: "ActionPoints_MetalBG.png" for every look,
    // no label, scale mode.
    void initActionPoints(const cocos2d::CCPoint& position);
    void init(const char* normalImage, const char* disabledImage, const char* pressedImage,
              const cocos2d::CCPoint& position, const char* label, const char* fontName,
              int fontSize, const cocos2d::CCRect& insets);
    // Shows another image (a colour layer goes along).
    void setImage(const std::string& file);
    // Draws the "_Color" companion of the normal image over the image,
    // tinted with the colour; nothing without a companion.
    void applyColorOverlay(const PlayerColor* color);
    void showPressed();
    void showReleased();
    // Sets mDisabled (a disabled button also stops tracking its touch) and
    // shows the look; nothing when the state does not change.
    void setEnabled(bool enabled);

    // The image's hit rectangle in the sprite's space, relative to its anchor.
    cocos2d::CCRect getHitRect() const;
    bool hitTest(cocos2d::CCTouch* touch) const;

    cocos2d::CCSprite* getSprite() const { return mSprite; }
    cocos2d::CCLabelTTF* getLabel() const { return mLabel; }
    bool isTracking() const { return mTracking; }
    bool isPressedLook() const { return mPressedLook; }

    static constexpr float cHoldTime = 0.6f;
    static constexpr int cTouchPriority = 0;

private:
    void onHoldTimer(cocos2d::ccTime dt);
    void cancelHold();

    cocos2d::CCSprite* mSprite = nullptr;
    cocos2d::CCLabelTTF* mLabel = nullptr;
    cocos2d::CCRect mInsets;
    bool mTracking = false;
    bool mHoldFired = false;
    bool mPressedLook = false;

public:
    bool mDisabled = false;
    bool mScaleOnPress = false;
    float mHitScale = 1.0f;
    cocos2d::SEL_CallFunc mTapSelector = nullptr;
    cocos2d::CCObject* mTapTarget = nullptr;
    cocos2d::SEL_CallFunc mHoldSelector = nullptr;
    cocos2d::CCObject* mHoldTarget = nullptr;

private:
    std::string mNormalImage;
    std::string mDisabledImage;
    std::string mPressedImage;

public:
    std::string mSound;

private:
    std::string mTooltipImage;
    std::string mTooltipTitle;
    std::string mTooltipText;
    const PlayerColor* mColorSource = nullptr;
    uint8_t mOpacity = 255;
};
