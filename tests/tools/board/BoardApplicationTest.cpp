// The board program's application on the sample content, offscreen: the
// local game it shows, the tooltip mode of F1 and the hot-seat pass of N.

#include "tools/board/BoardApplication.h"
#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "rules/Game.h"
#include "rules/Player.h"
#include "scene/GameScene.h"
#include "scene/widgets/TooltipManager.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCSpriteFrameCache.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace cocos2d;

namespace {

class BoardApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setBaseFolder(TARNWICK_SOURCE_DIR);
        setupLanguageAndPaths("english");
        loadLocalizableStrings();
        ASSERT_TRUE(loadGameData());
    }

    // The game of the running scene's game scene, or null.
    static Game* shownGame() {
        CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
        if (scene == nullptr || scene->getChildrenCount() == 0)
            return nullptr;
        auto* layer = dynamic_cast<GameScene*>(scene->getChildren()->getObjectAtIndex(0));
        return layer != nullptr ? layer->getGame() : nullptr;
    }
};

} // namespace

TEST_F(BoardApplicationTest, ShowsALocalGameAndPassesTheTurnToANewScene) {
    BoardApplication app(1, {0, 3});
    ASSERT_TRUE(app.runStart(nullptr, BoardApplication::cWidth, BoardApplication::cHeight));
    app.drawFrame();
    Game* first = app.game();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(shownGame(), first);
    EXPECT_EQ(gCurrentGame, first);
    EXPECT_TRUE(first->isLocalGame());
    EXPECT_EQ(first->mPuzzleIndex, -1);
    EXPECT_EQ(first->mCurrentPlayer, 0);
    // Both civs' sheets are registered while the game is shown.
    for (const char* frame : {"Civ/Humans/Helm.png", "Civ/Orcs/Cleaver.png"})
        EXPECT_NE(CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame), nullptr)
            << frame;
    const int32_t viewed = GameScene::gamesViewed();
    const int32_t turn = first->mTurnCount;

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_F1;
    app.view()->handleEvent(key);
    EXPECT_TRUE(CCTouchDispatcher::sharedDispatcher()->isRegistered(&gTooltipManager))
        << "F1: the tooltip mode takes the next tap";
    gTooltipManager.endTooltipMode();

    key.key.keysym.sym = SDLK_n;
    app.view()->handleEvent(key);
    Game* second = app.game();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->mCurrentPlayer, 1);
    EXPECT_EQ(second->mTurnCount, turn + 1);
    EXPECT_TRUE(second->isLocalGame());
    EXPECT_EQ(GameScene::gamesViewed(), viewed + 1);
    app.drawFrame(); // the new scene takes over a frame later
    EXPECT_EQ(shownGame(), second);

    second->mGameOver = true;
    EXPECT_FALSE(app.passTurn()) << "a finished game has no turn to pass";
    EXPECT_EQ(app.game(), second);
    EXPECT_EQ(second->mCurrentPlayer, 1);
}
