#pragma once

// The question before a turn is sent: a ConfirmLayer whose OK button is
// "Submit Turn", with a third button, "Submit With Taunt", between OK and
// Cancel; the three sit in rows 60 points apart. OK calls the callback
// with a null argument (no taunt), the taunt button with the layer itself
// (a taunt); tauntRequested reads the argument. Cancel calls nothing.
//
// The taunt button comes in with OK: after the delay of a shown message,
// else after 0.1 s. Dismissing disables it first, like OK and Cancel, so a
// second tap during the fade cannot send the turn twice. Created with new
// and added to the game scene at z 10000; it frees itself when it leaves.
// Main thread only.

#include "scene/widgets/ConfirmLayer.h"

class SubmitConfirmLayer : public ConfirmLayer {
public:
    // message: the warning shown above the buttons, or null; callback on
    // target: the scene's submit confirmation; okLabel: OK's text.
    SubmitConfirmLayer(const char* message, cocos2d::CCObject* target,
                       cocos2d::SEL_MenuHandler callback, const char* okLabel);
    ~SubmitConfirmLayer() override;

    // Fades the taunt button out with the rest.
    void dismiss() override;
    // The taunt button's tap callback.
    void onSubmitWithTaunt();

    // True when the callback's argument asks for a taunt.
    static bool tauntRequested(cocos2d::CCObject* argument) { return argument != nullptr; }

    Button* getTauntButton() const { return mTauntButton; }

    static constexpr const char* cSubmitSound = "sound/Game_Submit_Round.mp3";
    static constexpr const char* cCancelSound = "sound/Game_Cancel_Submission.mp3";
    static constexpr float cRowSpacing = 60;

private:
    Button* mTauntButton = nullptr; // owned
};
