#pragma once

// The modal question over the board: a full-window fade, an optional
// pulsing message, an OK button with the action's name and a "Cancel"
// button. OK calls the target's callback (with a null argument), then the
// layer fades out and removes itself 0.2 s later; Cancel only closes it.
// With a message the OK button comes in after 2 s (unless the option
// "SkipUnspentAPConfirmDelay" is set), else after 0.1 s like Cancel.
//
// Created with new and added to the game scene at z 10000 by its caller,
// never released by it (ModalTouch.h); every touch its buttons do not take
// stops here. Dismissing disables both buttons first, so a second tap
// during the fade cannot call back again. Main thread only.

#include "platform/engine/CCLayer.h"

#include <cstdint>

namespace cocos2d {
class CCLabelTTF;
class CCSprite;
} // namespace cocos2d

class Button;

class ConfirmLayer : public cocos2d::CCLayer {
public:
    // Null message: no message; null sounds: silent buttons; a null target
    // or callback makes OK only close the layer.
    ConfirmLayer(const char* message, cocos2d::SEL_MenuHandler callback, cocos2d::CCObject* target,
                 const char* okLabel, const char* okSound, const char* cancelSound);
    ~ConfirmLayer() override;

    void onEnter() override;
    void onExit() override;

    // Fades everything out and removes the layer after 0.2 s.
    virtual void dismiss();
    // Brings a node in to the opacity: after 2.0 s when delayed (and the
    // option "SkipUnspentAPConfirmDelay" is unset; the node hidden until
    // then), else after 0.1 s; a 0.2 s grow to scale 1.0 with the fade.
    virtual void appear(cocos2d::CCNode* node, bool delayed, uint8_t opacity);

    // The buttons' tap callbacks.
    void onOk();
    void onCancel();

    // Swallows every touch.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    Button* getOkButton() const { return mOkButton; }
    Button* getCancelButton() const { return mCancelButton; }
    cocos2d::CCLabelTTF* getMessageLabel() const { return mMessageLabel; }

    static constexpr int cZOrder = 10000;

protected:
    void removeSelf();
    // Calls the target's callback with argument (when both are set), then
    // dismisses the layer if it is still on the scene.
    void answer(cocos2d::CCObject* argument);

    Button* mOkButton = nullptr;        // owned
    Button* mCancelButton = nullptr;    // owned
    cocos2d::CCSprite* mFade = nullptr; // retained
    cocos2d::SEL_MenuHandler mCallback = nullptr;
    cocos2d::CCObject* mTarget = nullptr;         // not retained
    cocos2d::CCLabelTTF* mMessageLabel = nullptr; // retained

private:
    bool mReleased = false;
};
