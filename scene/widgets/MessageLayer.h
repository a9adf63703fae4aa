#pragma once

// A notice in the middle of the window ("Failed to submit turn. ..."): an
// invisible full-window touch catcher (a white colour layer drawn with the
// blend GL_ZERO, GL_ONE, which leaves the screen as it is) over the splash
// background and the text, a cyan TrueType label when the option
// "OnlyUseTTF" is set, else the bitmap font "BigNotify.fnt". It swallows
// every touch and closes 0.1 s after the first touch that ends anywhere.
//
// Created with new and added to the game scene at z 10000 by its caller,
// never released by it (ModalTouch.h). Main thread only.

#include "platform/engine/CCLayerColor.h"

class MessageLayer : public cocos2d::CCLayerColor {
public:
    // A null message shows no text.
    explicit MessageLayer(const char* message);

    void onEnter() override;
    void onExit() override;

    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // dismiss.
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // Fades the layer out over 0.1 s, then removes it; once.
    void dismiss();

    // The text label (a CCLabelTTF or a CCLabelBMFont); null without one.
    cocos2d::CCNode* getTextLabel() const { return mText; }

private:
    void removeSelf();

    cocos2d::CCNode* mText = nullptr; // a child
    bool mDismissing = false;
    bool mReleased = false;
};
