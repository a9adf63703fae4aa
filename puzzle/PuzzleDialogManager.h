#pragma once

// The layer a tutorial or challenge puts over the board (z 10001 on the game
// scene, which keeps it while the puzzle's game is bound). It holds the
// darkening sprite that dims the window behind a bubble waiting for a tap:
// centred on the window, scaled to cover it exactly, fully transparent at
// start. Main thread only.

#include "platform/engine/CCLayer.h"

namespace cocos2d {
class CCSprite;
}

class PuzzleDialogManager : public cocos2d::CCLayer {
public:
    // The darkening sprite's image.
    static constexpr const char* cDarkeningImage = "Effects/Textures/DefeatedFX_DarkenScreen.png";

    // An autoreleased, initialised layer; null when init fails.
    static PuzzleDialogManager* node();
    // Builds the darkening sprite; a missing image leaves it empty (0 x 0,
    // unscaled), as the engine's sprites do.
    bool init() override;

    cocos2d::CCSprite* darkeningSprite() const { return mDarkening; }

private:
    cocos2d::CCSprite* mDarkening = nullptr; // a child
};
