#pragma once

// The board program's application, built as the shell's will be: runStart
// makes the 1024 x 768 view, applicationDidFinishLaunching attaches it and
// puts the scene's settings in place before any sprite. It then shows a
// local hot-seat game of two civs on the game scene: F1 starts the tooltip
// mode, N passes the turn to the other player.

#include "scene/GameSceneServices.h"

#include "platform/engine/CCApplication.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cocos2d {
class CCEGLView;
}

class Game;

class BoardApplication : public cocos2d::CCApplication {
public:
    static constexpr int cWidth = 1024;
    static constexpr int cHeight = 768;

    BoardApplication(int32_t seed, std::array<int32_t, 2> civs);
    // Ends the engine: the director with its scenes, then the window.
    ~BoardApplication() override;

    bool createViewAsChild(void* parentWindow, int width, int height) override;
    bool applicationDidFinishLaunching() override;

    // One pass of the main loop: events, then a frame when one is due.
    // False once the window was asked to close.
    bool runFrame();
    // One frame as the loop draws it, without events or waiting.
    void drawFrame();
    // The keys the view does not handle itself.
    void onKey(int key);
    // Ends the player's turn and shows the game with the other player's
    // turn, as a hot-seat opener would; false when the game is over or
    // refuses.
    bool passTurn();

    cocos2d::CCEGLView* view() const { return mView.get(); }
    Game* game() const { return mGame; }

private:
    // A local game of the blob with that player current, or null.
    static Game* openLocalGame(const std::vector<uint8_t>& blob, int32_t current);
    // Makes game the current one and shows it on a new scene.
    void showGame(Game* game);

    int32_t mSeed;
    std::array<int32_t, 2> mCivs;
    std::unique_ptr<cocos2d::CCEGLView> mView;
    GameSceneServices mServices;
    Game* mGame = nullptr; // one reference
    // Frames to draw before the scene shown last gets viewDidAppear (scene
    // changes apply a frame later); 0 when none is waiting.
    int mAppearIn = 0;
};
