// Opening a listed game on the board, and the bridge rows of the game view,
// with the sample content loaded, a small view of the application's own and
// the loopback server behind the client.

#include "GameOpeningTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/GameDataLoad.h"
#include "shell/GameOpening.h"
#include "shell/GamesPageHooks.h"
#include "shell/PageText.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/StartupOptions.h"
#include "content/settings/SettingsManager.h"
#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"
#include "rules/Game.h"
#include "rules/GamesList.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"
#include "service/ServiceWorkers.h"

#include <cstring>

namespace {

const char* const cBattleSound = "sound/UI_Front_End_Begin_Battle.mp3";

// The bridge rows that need no game: the sounds go to a recording back end.
class GameRowsTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        mHandler->setWorkers(mWorkers);
        auto backend = std::make_unique<CocosDenshion::RecordingAudioBackend>();
        mAudio = backend.get();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
        BConfig::instance().defineById(cOptSound);
        gSoundsEnabled = true;
    }
    void TearDown() override {
        mWorkers.quit();
        CocosDenshion::SimpleAudioEngine::end();
        BConfig::instance().reset();
        BridgeTest::TearDown();
    }

    size_t soundsPlayed(const std::string& file) const {
        return size_t(std::count_if(
            mAudio->calls().begin(), mAudio->calls().end(), [&](const std::string& made) {
                return made.starts_with("playEffect") && made.find(file) != std::string::npos;
            }));
    }
    // The chat lines the server received.
    std::vector<std::string> postedLines() {
        mWorkers.quit();
        std::vector<std::string> lines;
        for (const ReceivedRequest& request : mServer.requests())
            if (request.path.substr(1) == pathOf(Endpoint::AddGameChat)) {
                const std::string* line = request.field("chat");
                lines.push_back(line != nullptr ? *line : "?");
            }
        return lines;
    }

    ServiceWorkers mWorkers;
    CocosDenshion::RecordingAudioBackend* mAudio = nullptr;
};

const std::string cTimeOut = "locAlert('ProgressHUDTimeout'); navigateTo('Home');";

// A scene that counts its view's appearances.
class AppearingScene : public cocos2d::CCScene {
public:
    void onViewDidAppear(bool animated) override {
        ++mAppeared;
        cocos2d::CCScene::onViewDidAppear(animated);
    }
    int mAppeared = 0;
};

} // namespace

TEST_F(GameOpeningTest, AListedGameOpensInANewSceneAsTheCurrentGame) {
    listGame(5, firstState(3));
    cocos2d::CCScheduler::sharedScheduler()->setTimeScale(0.25f);
    EXPECT_EQ(call("getCurrentGame"), "0");
    clearShellCalls();
    const std::string printed = open(5);

    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, 5);
    EXPECT_EQ(gCurrentGame->mCurrentPlayer, 0);
    ASSERT_NE(gGameScene, nullptr);
    EXPECT_EQ(gGameScene->getGame(), gCurrentGame);
    EXPECT_EQ(gOpenGameID, 5);
    EXPECT_EQ(appDelegate().mGameId, 5);
    EXPECT_EQ(mHandler->mCurrentGameID, 5);
    EXPECT_TRUE(mHandler->mForceChatRefresh);
    EXPECT_EQ(call("getCurrentGame"), "5");
    EXPECT_EQ(cocos2d::CCScheduler::sharedScheduler()->getTimeScale(), 1.0f);
    EXPECT_EQ(newStatements(), std::vector<std::string>{"showCurrentGameEntryByGameID('5'); "});
    const std::vector<std::string> calls = shellCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "prepChat(5)"), calls.end());
    EXPECT_NE(printed.find("gotoGame in "), std::string::npos) << printed;

    // A second game replaces the first one's scene and game.
    listGame(6, firstState(4), {{"bob", "humans"}, {"alice", "orcs"}});
    const GameSceneInterface* first = gGameScene;
    open(6);
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, 6);
    EXPECT_EQ(gCurrentGame->mCurrentPlayer, 1);
    EXPECT_NE(gGameScene, first);
    EXPECT_EQ(mHandler->mCurrentGameID, 6);
}

TEST_F(GameOpeningTest, AnUnloadableStateKeepsThePreviousGameAndScene) {
    listGame(5, firstState(3));
    open(5);
    Game* const previous = gCurrentGame;
    const GameSceneInterface* scene = gGameScene;
    listGame(6, {1, 2, 3, 4, 5, 6, 7, 8});
    newStatements();
    open(6);
    EXPECT_EQ(gCurrentGame, previous);
    EXPECT_EQ(gGameScene, scene);
    EXPECT_EQ(gOpenGameID, 5);
    EXPECT_EQ(mHandler->mCurrentGameID, 5);
    EXPECT_EQ(appDelegate().mGameId, 5);
    EXPECT_EQ(newStatements(), std::vector<std::string>{cTimeOut});
}

TEST_F(GameOpeningTest, AMatchmadeGameWithoutStateGetsItsFirstStateOnceFromItsId) {
    // The id's low 32 bits seed the game.
    const int64_t id = (int64_t(7) << 32) + 1234;
    GameRecord* record = listGame(id, {});
    record->mWasMatchmade = 1;
    script(Endpoint::GetGameState, {200, "<Error>Busy</Error>"});
    open(id);
    const std::vector<uint8_t> built = stateOf(id);
    ASSERT_FALSE(built.empty());
    // The game's own generator (saved with it) matches a game seeded so; the
    // tiles' cosmetic generator is never saved.
    EXPECT_EQ(nextDraw(built), nextDraw(firstState(1234)));
    EXPECT_NE(nextDraw(built), nextDraw(firstState(1235)));
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, id);

    // A second opening loads the stored state.
    open(id);
    EXPECT_EQ(stateOf(id), built);
    EXPECT_TRUE(requested(Endpoint::GetGameState));
    EXPECT_EQ(mServer.requests().size(), 1u);
}

TEST_F(GameOpeningTest, OpeningsThatShowANoticeOrNothing) {
    struct Case {
        const char* what;
        std::vector<uint8_t> state;
        std::vector<Seat> players;
        int32_t wasMatchmade;
        int32_t turnCount;
        bool listed;
        std::vector<std::string> statements;
    };
    const std::vector<uint8_t> state = firstState(3);
    const std::string name = "O'Brien \"the\" Bold";
    std::string resigned;
    formatLocalized(resigned, "%@ resigned!", name);
    const Case cases[] = {
        {"no record: fetched, then the time-out", {}, {}, 0, 1, false, {cTimeOut}},
        {"a custom game without state",
         {},
         {{"alice", "orcs"}, {"bob", "humans"}},
         0,
         1,
         true,
         {cTimeOut}},
        {"turn count -1", {}, {{"alice", "orcs"}, {"bob", "humans"}}, 1, -1, true, {}},
        {"no local player", state, {{"carl", "orcs"}, {"bob", "humans"}}, 0, 1, true, {}},
        {"matchmade without the other player", {}, {{"alice", "orcs"}}, 1, 1, true, {}},
        {"an invitation whose opponent resigned",
         state,
         {{name, "humans", cSubstatusResigned}, {"alice", ""}},
         0,
         1,
         true,
         {"locAlert('" + escapedForPage(resigned) +
          "');  hideBoardElements(); $('#GamesListScreen').show();"}},
        {"an invitation",
         state,
         {{name, "humans"}, {"alice", ""}},
         0,
         1,
         true,
         {"showTeamSelect('5', 'O\\'Brien \\\"the\\\" Bold', false);"}},
    };
    for (const Case& c : cases) {
        mClient.clearGames(0);
        if (c.listed) {
            GameRecord* record = listGame(5, c.state, c.players);
            record->mWasMatchmade = c.wasMatchmade;
            record->mTurnCount = c.turnCount;
        }
        script(Endpoint::GetGameState, {200, "<Error>Busy</Error>"});
        newStatements();
        open(5);
        EXPECT_EQ(newStatements(), c.statements) << c.what;
        EXPECT_EQ(gCurrentGame, nullptr) << c.what;
        EXPECT_EQ(mHandler->mCurrentGameID, 0) << c.what;
    }
}

TEST_F(GameOpeningTest, TheGameViewRowsReachTheSceneAndTheFlag) {
    auto* scene = new AppearingScene();
    cocos2d::CCDirector::sharedDirector()->runWithScene(scene);
    cocos2d::CCDirector::sharedDirector()->tick(0);
    scene->release();
    call("showGameView");
    EXPECT_TRUE(mPage.gameViewShown());
    EXPECT_EQ(scene->mAppeared, 1);
    call("hideGameView");
    EXPECT_FALSE(mPage.gameViewShown());

    // Closing with no game scene still clears the flag and the id.
    call("showGameView");
    mHandler->mCurrentGameID = 5;
    call("closeGameView");
    EXPECT_FALSE(mPage.gameViewShown());
    EXPECT_EQ(call("getCurrentGame"), "0");
}

TEST_F(GameRowsTest, OpeningRequestsAreLeftForTheUpdate) {
    struct Case {
        const char* function;
        nlohmann::json arguments;
        int64_t toOpen;
        int64_t deferred;
        bool overlay;
        size_t sounds;
    };
    const Case cases[] = {
        {"selectGame", {"42", true}, 42, 0, true, 1},
        {"selectGame", {"42"}, 0, 0, true, 1}, // too few: only the sound
        {"selectGame", {"game 42", false}, 0, 0, false, 1},
        {"selectGameDeferred", {"43", false}, 0, 43, false, 1},
        {"reloadGame", {"44"}, 44, 0, false, 0},
    };
    for (const Case& c : cases) {
        mHandler->mGameToOpen = 0;
        mHandler->mDeferredGameID = 0;
        mHandler->mShowLoadingOverlay = true;
        mAudio->clear();
        EXPECT_EQ(call(c.function, c.arguments), std::nullopt);
        EXPECT_EQ(mHandler->mGameToOpen, c.toOpen) << c.function << c.arguments;
        EXPECT_EQ(mHandler->mDeferredGameID, c.deferred) << c.function << c.arguments;
        EXPECT_EQ(mHandler->mShowLoadingOverlay, c.overlay) << c.function << c.arguments;
        EXPECT_EQ(soundsPlayed(cBattleSound), c.sounds) << c.function << c.arguments;
    }
    EXPECT_TRUE(statements().empty());

    mHandler->mGamesListBuilt = true;
    call("manualRequestGamesList");
    EXPECT_TRUE(mHandler->mGamesListRequested);
    EXPECT_FALSE(mHandler->mGamesListBuilt);
    call("enableGamesList", {true});
    EXPECT_TRUE(mHandler->mGamesListEnabled);
    EXPECT_EQ(pageFocusElement(), "ChatInput");
}

TEST_F(GameRowsTest, ChatTypedPostsAndShowsALineCutAtAWholeCharacter) {
    mClient.setNickname("alice");
    struct Case {
        int64_t current;
        std::string typed;
        std::string line; // posted and shown; empty: neither
    };
    const std::string ascii(200, 'a');
    std::string twoByte; // "é" 100 times: the cut falls inside the 71st
    for (int i = 0; i < 100; ++i)
        twoByte += "\xC3\xA9";
    const Case cases[] = {
        {0, "hello", ""},
        {5, "  \t ", ""},
        {5, "", ""},
        {5, ascii, ascii.substr(0, 141)},
        {5, twoByte, twoByte.substr(0, 140)},
        {5, "say \"hi\"", "say \"hi\""},
    };
    std::vector<std::string> expectedPosts;
    for (const Case& c : cases) {
        mHandler->mCurrentGameID = c.current;
        const size_t before = statements().size();
        call("chatTyped", {c.typed});
        const std::vector<std::string> ran(statements().begin() + ptrdiff_t(before),
                                           statements().end());
        if (c.line.empty()) {
            EXPECT_TRUE(ran.empty()) << c.typed;
            continue;
        }
        expectedPosts.push_back(c.line);
        EXPECT_EQ(ran,
                  (std::vector<std::string>{"showChat(\"0\", \"" + escapedForPage(c.line) + "\");",
                                            "$('#ChatText').scrollTop(10000);"}))
            << c.typed;
    }
    std::vector<std::string> posted = postedLines();
    std::sort(posted.begin(), posted.end());
    std::sort(expectedPosts.begin(), expectedPosts.end());
    EXPECT_EQ(posted, expectedPosts);
}
