// The puzzles and the page: the statements that leave the board, the
// completed puzzle's menu entry by layout mode and category, and a puzzle
// launched on the board from the sample catalogue.

#include "PageScript.h"
#include "ShellTestSupport.h"

#include "../platform/render/RenderTest.h"

#include "shell/GameOpening.h"
#include "shell/PageHost.h"
#include "shell/PuzzleMenus.h"

#include "puzzle/PuzzleSceneSupport.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "scene/GameScene.h"
#include "scene/GameSceneServices.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/ProtoPuzzle.h"
#include "content/settings/PuzzleCategory.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/SceneServices.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"

namespace {

class PuzzleMenuPageTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        setPageHost(&mPage);
        SettingsManager& settings = SettingsManager::instance();
        for (const char* name : {"Tutorials", "Challenges"}) {
            auto category = std::make_unique<PuzzleCategory>();
            category->mName = name;
            for (const char* title : {"First \"Steps\"", "Second"}) {
                category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("P"));
                category->mPuzzles.back()->mDisplayName = title;
            }
            settings.mPuzzleCategories.push_back(std::move(category));
        }
        settings.mTutorialsCategoryIndex = 0;
        settings.mChallengesCategoryIndex = 1;
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        GameScene::setLayoutMode(0);
        setPageHost(nullptr);
        resetShellSeams();
        ShellTest::TearDown();
    }
    RecordingPageHost mPage;
};

} // namespace

TEST_F(PuzzleMenuPageTest, LeavingTheBoardRunsThePageCalls) {
    DesktopPuzzleMenus menus;
    menus.sendToLogin();
    menus.sendToMainMenu();
    menus.navigateToChallenges();
    EXPECT_EQ(mPage.statements(),
              (std::vector<std::string>{"loginMagic(\"GamesList\");",
                                        "navigateTo(\"Home\"); loginMagic(\"GamesList\");",
                                        "navigateTo(\"Challenges\")"}));
    clearShellCalls();
    menus.popGameScene();
    EXPECT_EQ(callsWithoutPasses(), std::vector<std::string>{"popGameScene"});
}

TEST_F(PuzzleMenuPageTest, TheMenuEntryByLayoutModeAndCategory) {
    const std::string handler = "function() { hideBoardElements(); $('#GameBoard').show(); "
                                "cef.uiapp.showGameView(); cef.uiapp.launchPuzzle(";
    const struct {
        int32_t mode;
        int32_t category;
        const char* art;
    } cases[] = {
        {0, 0, ""},
        {0, 1, ""},
        {1, 0, "\"MenuNav-Complete-Dn_Med.png\", \"MenuNav-Complete-Up_Med.png\", "},
        {1, 1, "\"MenuNavStar-Complete-Dn_Med.png\", \"MenuNavStar-Complete-Up_Med.png\", "},
        {2, 0, "\"MenuNav-Complete-Dn_Lge.png\", \"MenuNav-Complete-Up_Lge.png\", "},
        {2, 1, "\"MenuNavStar-Complete-Dn_Lge.png\", \"MenuNavStar-Complete-Up_Lge.png\", "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.category));
        GameScene::setLayoutMode(c.mode);
        const std::string id = std::to_string(c.category);
        updatePuzzleMenuEntry(c.category, 1);
        ASSERT_FALSE(mPage.statements().empty());
        EXPECT_EQ(mPage.statements().back(), "updateMenuEntryWithArt(\"NavPuzzleButton" + id +
                                                 "-1\", \"Second\", " + c.art + handler + id +
                                                 ", 1); } );");
    }
    // Outside the catalogue: nothing.
    const size_t sent = mPage.statements().size();
    for (const auto& [category, index] :
         std::vector<std::pair<int32_t, int32_t>>{{-1, 0}, {0, 2}, {2, 0}, {0, -1}})
        updatePuzzleMenuEntry(category, index);
    EXPECT_EQ(mPage.statements().size(), sent);
}

TEST_F(PuzzleMenuPageTest, ATitleWithQuotesArrivesIntact) {
    GameScene::setLayoutMode(2);
    updatePuzzleMenuEntry(1, 0);
    ASSERT_EQ(mPage.statements().size(), 1u);
    PageScript page;
    ASSERT_TRUE(page.run("var args = []; var hideBoardElements = function() {};"
                         "function updateMenuEntryWithArt() { args = arguments; }"));
    ASSERT_TRUE(page.run(mPage.statements()[0]));
    EXPECT_EQ(page.text("args[0]"), "NavPuzzleButton1-0");
    EXPECT_EQ(page.text("args[1]"), "First \"Steps\"");
    EXPECT_EQ(page.text("typeof args[4]"), "function");
}

namespace {

// The sample content on the hand-stepped director, with the program's
// scene services; no scene runs until a puzzle is launched.
class PuzzleLaunchTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        installPuzzleScriptSupport();
        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(std::string(TARNWICK_SOURCE_DIR) + "/data/");
        BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
        loadLocalizableStrings();
        testing::internal::CaptureStdout();
        const bool loaded = Database::init() && SettingsManager::instance().init();
        SettingsManager::instance().loadPuzzleCategories();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded);
        setSceneServices(&mSceneServices);
        installPuzzleSceneSupport();
    }
    void TearDown() override {
        director()->end();
        director()->tick(0);
        releaseOpenedGame();
        gCurrentGame = nullptr;
        setSceneServices(nullptr);
        setPuzzleScriptFactory(nullptr);
        GameScene::setDialogManagerFactory(nullptr);
        SettingsManager::instance().clear();
        Database::clear();
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
        cocos2d::CCScheduler::sharedScheduler()->setTimeScale(1.0f);
        RenderTest::TearDown();
    }
    GameSceneServices mSceneServices;
};

} // namespace

TEST_F(PuzzleLaunchTest, APuzzleTakesTheBoardWithTwoHumanPlayers) {
    const int32_t tutorials = SettingsManager::instance().mTutorialsCategoryIndex;
    int32_t humans = -1;
    ASSERT_TRUE(SettingsManager::instance().civIDForName("humans", humans));
    cocos2d::CCScheduler::sharedScheduler()->setTimeScale(0.25f);
    clearShellCalls();
    setShellCallRecording(true);

    // No scene runs yet: the director starts with the puzzle's.
    gOpenGameID = 5;
    launchPuzzleScene(tutorials, 0);
    director()->tick(0);
    Game* first = gCurrentGame;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isLocalGame());
    EXPECT_EQ(first->mPuzzleCategory, tutorials);
    EXPECT_EQ(first->mPuzzleIndex, 0);
    EXPECT_EQ(first->mGameID, -1);
    ASSERT_EQ(first->mPlayers.size(), 2u);
    for (const Player* player : first->mPlayers) {
        EXPECT_EQ(player->mCivId, humans);
        EXPECT_TRUE(player->mCivAssigned);
    }
    // The first player draws the puzzle's whole shared chest.
    EXPECT_EQ(first->mPlayers[0]->mTileRack->getEntityCount(), 4);
    EXPECT_EQ(first->mTileChest->getEntityCount(), 0);
    ASSERT_NE(gGameScene, nullptr);
    EXPECT_EQ(gGameScene->getGame(), first);
    EXPECT_NE(gGameScene->getPuzzleScript(), nullptr);
    EXPECT_NE(director()->getRunningScene(), nullptr);
    EXPECT_EQ(cocos2d::CCScheduler::sharedScheduler()->getTimeScale(), 1.0f);
    EXPECT_EQ(gOpenGameID, -1);

    // Another puzzle replaces the game and the scene.
    first->retain();
    launchPuzzleScene(tutorials, 1);
    director()->tick(0);
    EXPECT_NE(gCurrentGame, first);
    EXPECT_EQ(first->retainCount(), 1u) << "the previous game was released";
    first->release();
    ASSERT_NE(gGameScene, nullptr);
    EXPECT_EQ(gGameScene->getGame(), gCurrentGame);
    EXPECT_EQ(gCurrentGame->mPuzzleIndex, 1);

    // Outside the catalogue nothing changes.
    Game* second = gCurrentGame;
    launchPuzzleScene(tutorials, 99);
    launchPuzzleScene(-1, 0);
    EXPECT_EQ(gCurrentGame, second);
    setShellCallRecording(false);
}
