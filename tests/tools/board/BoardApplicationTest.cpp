// The board program's application on the sample content, offscreen: the
// local game it shows, the tooltip mode of F1 and the hot-seat pass of N.

#include "tools/board/BoardApplication.h"
#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "rules/Game.h"
#include "rules/Player.h"
#include "scene/EntityView.h"
#include "scene/GameScene.h"
#include "scene/SettingsLayer.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/TooltipLayer.h"
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

namespace {

// A left click at a point of the game scene's world space, through the view
// as SDL would deliver it.
void clickAt(CCEGLView* view, const CCPoint& world) {
    CCDirector* director = CCDirector::sharedDirector();
    const float scale = director->getContentScaleFactor();
    const CCSize size = director->getWinSize();
    SDL_Event event{};
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = static_cast<int>(world.x * scale);
    event.button.y = static_cast<int>((size.height - world.y) * scale);
    event.type = SDL_MOUSEBUTTONDOWN;
    view->handleEvent(event);
    event.type = SDL_MOUSEBUTTONUP;
    view->handleEvent(event);
}

template <class T> int countChildren(CCNode* parent) {
    int count = 0;
    for (unsigned i = 0; parent->getChildren() != nullptr && i < parent->getChildrenCount(); ++i)
        count += dynamic_cast<T*>(parent->getChildren()->getObjectAtIndex(i)) != nullptr;
    return count;
}

} // namespace

TEST_F(BoardApplicationTest, ClicksOpenAUnitsTooltipAfterF1AndTheSettingsMenu) {
    BoardApplication app(1, {0, 3});
    ASSERT_TRUE(app.runStart(nullptr, BoardApplication::cWidth, BoardApplication::cHeight));
    app.drawFrame();
    auto* scene = dynamic_cast<GameScene*>(
        CCDirector::sharedDirector()->getRunningScene()->getChildren()->getObjectAtIndex(0));
    ASSERT_NE(scene, nullptr);

    // A unit standing on the board explains itself after F1 and a click on it.
    EntityView* unit = nullptr;
    for (TooltipProtocol* target : gTooltipManager.targets())
        if (auto* view = dynamic_cast<EntityView*>(target); view != nullptr && unit == nullptr)
            unit = view;
    ASSERT_NE(unit, nullptr) << "the bound game shows units";
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_F1;
    app.view()->handleEvent(key);
    clickAt(app.view(), scene->convertToWorldSpace(unit->getTooltipPosition()));
    EXPECT_EQ(countChildren<TooltipLayer>(scene), 1);
    EXPECT_FALSE(CCTouchDispatcher::sharedDispatcher()->isRegistered(&gTooltipManager))
        << "the tap ended the tooltip mode";

    // A click anywhere closes the tooltip; then the Settings button opens the menu.
    clickAt(app.view(), CCPoint(1, 1));
    for (int frame = 0; frame < 60; ++frame) // its closing animation
        app.drawFrame();
    EXPECT_EQ(countChildren<TooltipLayer>(scene), 0);
    ASSERT_NE(scene->mSettingsButton, nullptr);
    clickAt(app.view(), scene->mSettingsButton->getParent()->convertToWorldSpace(
                            scene->mSettingsButton->getPosition()));
    EXPECT_EQ(countChildren<SettingsLayer>(scene), 1);
}
