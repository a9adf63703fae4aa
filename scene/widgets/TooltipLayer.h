#pragma once

// The help panel of a TooltipProtocol object: the background
// "HelpTooltip_BG.png", filled by the owner's buildTooltip.
//
// The pop-up form covers the window, grows out of the owner's tooltip
// position to just above the window's centre and takes every touch (priority
// -20, swallowing): the first tap closes it. The panel form is a plain panel
// anchored at its top left, which the game scene shows while a tile is
// dragged. Either form is created with new and added to a parent by its
// creator, never released by it: the layer drops its own reference when it
// leaves the scene, so close() (or any removal) frees it.

#include "platform/engine/CCLayer.h"

namespace cocos2d {
class CCSprite;
}

class TooltipProtocol;

class TooltipLayer : public cocos2d::CCLayer {
public:
    TooltipLayer(TooltipProtocol* owner, bool isPopup);
    ~TooltipLayer() override;

    void onEnter() override;
    void onExit() override;

    // Plays the closing sound, closes the pop-up and swallows the touch.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // Animates the panel away, then removes the layer from its parent; a
    // second call does nothing.
    void close();

    cocos2d::CCSprite* getBackground() const { return mBackground; }
    TooltipProtocol* getOwner() const { return mOwner; }
    bool isPopup() const { return mIsPopup; }

    // The pop-up's touch priority.
    static constexpr int cTouchPriority = -20;

private:
    void removeSelf();

    cocos2d::CCSprite* mBackground = nullptr; // retained, child at z -1
    TooltipProtocol* mOwner = nullptr;        // not retained
    bool mIsPopup = false;
    bool mClosing = false;
    bool mOwnReferenceDropped = false;
};
