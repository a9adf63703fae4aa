#pragma once

// What the board offers once a puzzle script ended the puzzle: the modal
// question layer with its buttons rewired. The continue button (the
// caller's label: "Next Tutorial", "Next Challenge" or "Retry") loads the
// next puzzle after a win or the same one after a defeat; a second button
// ("Continue" on the last puzzle of a category, else "Back" with a call to
// action) leads to the main menu or the challenges page. Added to the game
// scene at z 10001 by its caller. Main thread only.

#include "scene/widgets/ConfirmLayer.h"

class PuzzleCompleteLayer : public ConfirmLayer {
public:
    static constexpr const char* cSubmitSound = "sound/Game_Submit_Round.mp3";
    static constexpr int cZOrder = 10001;

    // A new layer (the caller's reference, as every ConfirmLayer). Without
    // hasNext it has no continue button; the second button is "Continue"
    // for isLast, else "Back" for callToAction, else none; toMainMenu sends
    // the second button to the main menu for every category.
    static PuzzleCompleteLayer* create(const char* label, bool won, bool hasNext, bool callToAction,
                                       bool isLast, bool toMainMenu);
    ~PuzzleCompleteLayer() override;

    // Also fades out and disables the second button.
    void dismiss() override;

    // Dismisses the layer, then loads the current puzzle's successor in its
    // category, when there is one.
    void onNext();
    // Dismisses the layer, then loads the current puzzle again.
    void onRetry();
    // Pops the game scene and goes to the page's main menu.
    void onMainMenu();
    // Pops the game scene and goes to the page's challenges.
    void onChallenges();

    bool won() const { return mWon; }
    Button* getSecondButton() const { return mSecondButton; }

private:
    PuzzleCompleteLayer(const char* label, bool won);
    // Dismisses the layer and loads the puzzle at offset from the current
    // one, when it lies in the category.
    void loadPuzzle(int32_t offset);

    bool mWon = false;
    Button* mSecondButton = nullptr; // owned
};
