#pragma once

// The layer a tutorial or challenge puts over the board (z 10001 on the game
// scene, which keeps it while the puzzle's game is bound). It owns the
// script's speech bubbles (by name) and arrows (by index, at most one on
// screen), and the darkening sprite that dims the window behind a bubble
// waiting for a tap: centred on the window, scaled to cover it exactly,
// fully transparent at start.
//
// While it runs it is a targeted touch delegate at priority 0 that claims
// (and swallows) a touch only while a tap-to-close bubble is shown; the
// touch's end closes every such bubble and sends their close tags to the
// scene's script. Otherwise touches pass on to the board. Main thread only.

#include "platform/engine/CCLayer.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cocos2d {
class CCSprite;
}

class PuzzleArrow;
class PuzzleDialog;
class PuzzleResultNode;

class PuzzleDialogManager : public cocos2d::CCLayer {
public:
    // The darkening sprite's image.
    static constexpr const char* cDarkeningImage = "Effects/Textures/DefeatedFX_DarkenScreen.png";
    static constexpr float cFadeTime = 0.15f;

    // An autoreleased, initialised layer; null when init fails.
    static PuzzleDialogManager* node();
    // The layer of the scene on screen (gGameScene); null without one.
    static PuzzleDialogManager* current();

    ~PuzzleDialogManager() override;
    // Builds the darkening sprite; a missing image leaves it empty (0 x 0,
    // unscaled), as the engine's sprites do.
    bool init() override;

    // Builds a bubble from a "showDialog" node and registers it by name,
    // replacing one of the same name; false when it cannot be built.
    bool addDialog(const PuzzleResultNode* node);
    // False for an unknown name or a bubble already shown; else shows it,
    // adds it to the shown list and, for a tap-to-close bubble, fades the
    // darkening in.
    bool showDialog(const std::string& name);
    // False for an unknown name or a bubble not shown; else hides it, takes
    // it off the shown list and, for a tap-to-close bubble, fades the
    // darkening out.
    bool hideDialog(const std::string& name);
    // Hides every shown bubble, then fades out the darkening if it shows.
    void hideAllDialogs();

    // Builds an arrow from a "showArrow" node; its index, or -1 when it
    // cannot be built.
    int32_t addArrow(const PuzzleResultNode* node);
    // Hides the arrow on screen, then shows the arrow at index; false (and
    // none on screen) for an index out of range.
    bool showArrow(int32_t index);
    void hideArrow();

    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // Closes the tap-to-close bubbles shown when the touch ended, in the
    // order they were shown, each sending its close tag. A bubble a close
    // tag's event shows stays open (with the darkening behind it when it
    // waits for a tap).
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    cocos2d::CCSprite* darkeningSprite() const { return mDarkening; }
    PuzzleDialog* dialog(const std::string& name) const;
    const std::vector<PuzzleDialog*>& shownDialogs() const { return mShown; }
    PuzzleArrow* arrow(int32_t index) const;
    int32_t arrowCount() const { return int32_t(mArrows.size()); }
    int32_t currentArrow() const { return mCurrentArrow; }

private:
    bool anyTapToCloseShown() const;
    void fadeDarkening(bool in);

    cocos2d::CCSprite* mDarkening = nullptr; // a child
    std::map<std::string, std::unique_ptr<PuzzleDialog>> mDialogs;
    std::vector<PuzzleDialog*> mShown;
    std::vector<std::unique_ptr<PuzzleArrow>> mArrows;
    int32_t mCurrentArrow = -1;
};
