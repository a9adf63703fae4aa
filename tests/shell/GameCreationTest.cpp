// New games, accepted invitations and matchmaking through the bridge, with
// the sample content loaded and the loopback server behind the client; the
// page texts are run in JavaScriptCore over stand-ins that note each call.

#include "GameOpeningTestSupport.h"
#include "PageScript.h"

#include "shell/BridgeUpdate.h"
#include "shell/GameCreation.h"
#include "shell/GamesListPage.h"
#include "shell/Matchmaking.h"

#include "content/settings/ProtoCiv.h"
#include "rules/core/RNG.h"
#include "service/ServiceWorkers.h"

#include <chrono>
#include <set>

using namespace std::chrono_literals;

namespace {

// Page functions that note their calls, one text each.
const char* const cPageStandIns =
    "var calls = [];"
    "function note(text) { calls.push(text); }"
    "function hideBoardElements() { note('hideBoardElements'); }"
    "function navigateToGamesList() { note('navigateToGamesList'); }"
    "function navigateTo(screen) { note('navigateTo ' + screen); }"
    "function addCreateEntry() { note('addCreateEntry'); }"
    "function locAlert(text) { note('locAlert ' + text); }"
    "function purgeGameFromAll(id) { note('purgeGameFromAll ' + id); }"
    "function $(selector) { return { show: function() { note('show ' + selector); } }; }"
    "var cef = { uiapp: { showGameView: function() { note('showGameView'); } } };";

// What the page did for the statements: each call on a line.
std::string pageCalls(const std::vector<std::string>& statements) {
    PageScript page;
    if (!page.run(cPageStandIns))
        return "stand-ins failed";
    for (const std::string& statement : statements)
        if (!page.run(statement))
            return "failed: " + statement;
    return page.text("calls.join('\\n')");
}

std::string failureCalls(const std::string& notice) {
    return "hideBoardElements\nnavigateToGamesList\nlocAlert " + notice;
}

class GameCreationTest : public GameOpeningTest {
protected:
    void SetUp() override {
        GameOpeningTest::SetUp();
        setShellMillisecondClock([this] { return mNow; });
        mHandler->setWorkers(mWorkers);
        gRng.seed(11);
    }
    void TearDown() override {
        mWorkers.quit();
        setShellMillisecondClock({});
        GameOpeningTest::TearDown();
    }

    // The field of the last request the server received at the endpoint.
    std::string sentField(Endpoint endpoint, const std::string& name) {
        std::string value = "(none)";
        for (const ReceivedRequest& request : mServer.requests())
            if (request.path.substr(1) == pathOf(endpoint))
                if (const std::string* field = request.field(name))
                    value = *field;
        return value;
    }
    size_t requestsAt(Endpoint endpoint) {
        const std::vector<std::string> paths = requestedPaths();
        return size_t(std::count(paths.begin(), paths.end(), pathOf(endpoint)));
    }
    static std::set<std::string> civNames() {
        std::set<std::string> names;
        for (const auto& civ : SettingsManager::instance().mCivs)
            names.insert(civ->mName);
        return names;
    }
    // An invitation from bob to alice: bob's first state, alice without a
    // civ.
    GameRecord* listInvitation(int64_t id) {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        Game* game = new Game();
        std::vector<uint8_t> blob;
        if (game->init(5) && game->setUpFirstState(0, civId("orcs")))
            blob = game->saveToBuffer();
        game->release();
        return listGame(id, blob, {{"bob", "orcs"}, {"alice", ""}});
    }
    // One update after moving the clock on.
    void pass(uint32_t advance) {
        mNow += advance;
        mHandler->update();
    }

    uint32_t mNow = 1000000;
    ServiceWorkers mWorkers;
};

const char* const cMatched = "navigateTo GamesList\naddCreateEntry\nshow #GameBoard\nshowGameView";

} // namespace

TEST_F(GameCreationTest, OnlyTheExactWordRandomBecomesACivOfTheSettings) {
    const std::set<std::string> names = civNames();
    ASSERT_FALSE(names.empty());
    for (int draw = 0; draw < 8; ++draw) {
        std::string team = "random";
        resolveRandomTeam(team);
        EXPECT_TRUE(names.count(team)) << team;
    }
    for (const char* other : {"Random", "orcs", ""}) {
        std::string team = other;
        resolveRandomTeam(team);
        EXPECT_EQ(team, other);
    }

    // Through the bridge: the civ goes to the service with the first state.
    script(Endpoint::CreateGame, {200, "<Error>Busy</Error>"});
    EXPECT_EQ(call("createGame", {"bob", "random"}), false);
    EXPECT_TRUE(names.count(sentField(Endpoint::CreateGame, "civName")));
    script(Endpoint::CreateGame, {200, "<Error>Busy</Error>"});
    call("createGame", {"bob", "Random"});
    EXPECT_EQ(sentField(Endpoint::CreateGame, "civName"), "Random");
    EXPECT_EQ(sentField(Endpoint::CreateGame, "invAccount"), "bob");
}

TEST_F(GameCreationTest, EachRefusalTellsThePageItsTextAndAnswersFalse) {
    struct Case {
        const char* reply;
        std::string page; // empty: nothing runs
    };
    const Case cases[] = {
        {"<Error>Busy</Error>", failureCalls("GeneralGameCreateFailure")},
        {"<Error>NotLoggedIn</Error>", failureCalls("GeneralGameCreateFailure")},
        {"<Error>DuplicatePlayer</Error>", failureCalls("You can't start a game with yourself.")},
        {"<Error>InvalidPlayer</Error>", failureCalls("Invalid player name.")},
        {"<Error>TooManyGamesAlready</Error>", failureCalls("TooManyGamesError")},
    };
    for (const Case& c : cases) {
        script(Endpoint::CreateGame, {200, c.reply});
        newStatements();
        EXPECT_EQ(call("createGame", {"O'Brien", "orcs"}), false) << c.reply;
        EXPECT_EQ(pageCalls(newStatements()), c.page) << c.reply;
        EXPECT_EQ(mHandler->mDeferredGameID, 0) << c.reply;
    }
    EXPECT_EQ(creationFailureText(3), " hideBoardElements(); navigateToGamesList(); "
                                      "locAlert(\"You can't start a game with yourself.\");");
    // Codes the service does not give show nothing.
    EXPECT_EQ(creationFailureText(0), "");
    EXPECT_EQ(creationFailureText(6), "");
}

TEST_F(GameCreationTest, FortyRunningGamesRefuseWithoutARequest) {
    for (int64_t id = 100; id < 140; ++id)
        listGame(id, {}, {{"alice", "orcs"}, {"bob", "humans"}});
    newStatements();
    EXPECT_EQ(call("createGame", {"bob", "orcs"}), false);
    EXPECT_EQ(pageCalls(newStatements()), failureCalls("TooManyGamesError"));
    EXPECT_EQ(requestsAt(Endpoint::CreateGame), 0u);
}

TEST_F(GameCreationTest, ACreatedGameOpensAfterTheNextRebuild) {
    script(Endpoint::CreateGame, {200, "<Game id='300' current_turn_player='alice'><players>"
                                       "<p name='alice' status='active' civ='orcs'/>"
                                       "<p name='bob' status='active'/></players></Game>"});
    script(Endpoint::GetGameList, {200, "<Games/>"});
    mHandler->mCurrentGameID = 7;
    newStatements();
    EXPECT_EQ(call("createGame", {"bob", "orcs"}), true);
    EXPECT_EQ(mHandler->mCurrentGameID, 0);
    EXPECT_EQ(mHandler->mDeferredGameID, 300);
    EXPECT_TRUE(requested(Endpoint::GetGameList));
    EXPECT_EQ(pageCalls(newStatements()), "navigateTo GamesList\naddCreateEntry");
    // The state sent holds alice's first state on the orcs.
    EXPECT_EQ(sentField(Endpoint::CreateGame, "civName"), "orcs");
    EXPECT_NE(sentField(Endpoint::CreateGame, "state"), "");
}

TEST_F(GameCreationTest, AcceptanceOpensOnlyAnAcceptedGameAndKeepsARefusedRecord) {
    struct Case {
        const char* what;
        const char* reply; // null: no request
        bool unreadable;
        bool opens;
    };
    const Case cases[] = {
        {"accepted", "<Success/>", false, true},
        {"refused", "<Error>Busy</Error>", false, false},
        {"not logged in", "<Error>NotLoggedIn</Error>", false, false},
        {"a state that does not load", nullptr, true, false},
    };
    for (const Case& c : cases) {
        releaseOpenedGame();
        gCurrentGame = nullptr;
        mClient.clearGames(0);
        listInvitation(12345);
        if (c.unreadable) {
            const std::vector<uint8_t> broken = {1, 2, 3, 4, 5, 6, 7, 8};
            mClient.withGame(12345, [&](GameRecord* record) {
                record->setState(broken.data(), int32_t(broken.size()));
            });
        }
        const std::vector<uint8_t> before = stateOf(12345);
        const size_t sent = requestsAt(Endpoint::MatchAccepted);
        if (c.reply != nullptr)
            script(Endpoint::MatchAccepted, {200, c.reply});
        script(Endpoint::GetGameState, {200, "<Error>Busy</Error>"});
        if (c.unreadable)
            EXPECT_EQ(acceptGameWithCiv(*mHandler, "humans", 12345), cAcceptStateUnreadable);
        else
            call("acceptGame", {"humans", "12345"});

        EXPECT_EQ(requestsAt(Endpoint::MatchAccepted), sent + (c.reply ? 1 : 0)) << c.what;
        const std::string civ = mClient.withGame(12345, [](const GameRecord* record) {
            return record != nullptr ? record->getPlayer(1)->mCivName : std::string("gone");
        });
        EXPECT_EQ(civ, c.opens ? "humans" : "") << c.what;
        EXPECT_EQ(stateOf(12345) == before, !c.opens) << c.what;
        EXPECT_EQ(gCurrentGame != nullptr, c.opens) << c.what;
        if (c.opens) {
            EXPECT_EQ(gCurrentGame->mGameID, 12345);
            EXPECT_EQ(sentField(Endpoint::MatchAccepted, "civName"), "humans");
        }
    }
}

TEST_F(GameCreationTest, AcceptingWhatCannotBeAcceptedAsksNothing) {
    listGame(5, {}, {{"bob", "orcs"}, {"alice", ""}});
    listGame(6, firstState(3), {{"bob", "orcs"}, {"carl", ""}});
    listInvitation(7);
    const struct {
        const char* what;
        const char* team;
        int64_t id;
    } cases[] = {
        {"unlisted", "humans", 99},
        {"without state", "humans", 5},
        {"without the local player", "humans", 6},
        {"a team that names no civ", "nobody", 7},
        {"the team Random", "Random", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(acceptGameWithCiv(*mHandler, c.team, c.id), 2) << c.what;
    call("acceptGame", {"humans", "99"});
    EXPECT_EQ(requestsAt(Endpoint::MatchAccepted), 0u);
    EXPECT_EQ(gCurrentGame, nullptr);
}

TEST_F(GameCreationTest, DecliningPurgesTheEntryWhateverTheAnswer) {
    for (const char* reply : {"<Success/>", "<Error>Busy</Error>"}) {
        script(Endpoint::UpdatePlayerStatus, {200, reply});
        newStatements();
        call("declineGame", {"12345"});
        EXPECT_EQ(pageCalls(newStatements()), "purgeGameFromAll 12345") << reply;
        EXPECT_EQ(sentField(Endpoint::UpdatePlayerStatus, "status"), "inactive");
        EXPECT_EQ(sentField(Endpoint::UpdatePlayerStatus, "substatus"), "declined");
    }
}

TEST_F(GameCreationTest, MatchmakingCodesBecomeTheirTexts) {
    const struct {
        int32_t code;
        const char* page;
    } cases[] = {
        {0, "locAlert You are now waiting for an opponent."},
        {4, "locAlert You are already waiting for a random opponent."},
        {2, "locAlert Failed to queue you for matchmaking.  Please try again later."},
        {7, "locAlert Failed to queue you for matchmaking.  Please try again later."},
        {3, ""},
    };
    for (const auto& c : cases) {
        mHandler->mMatchmakeResult = c.code;
        newStatements();
        requestMatchmakingResult(*mHandler);
        EXPECT_EQ(pageCalls(newStatements()), c.page) << c.code;
    }
}

TEST_F(GameCreationTest, AMatchedGameGetsItsFirstStateAndOpens) {
    script(Endpoint::Matchmake,
           {200, "<Game id='77' was_matchmade='1' current_turn_player='alice'>"
                 "<players><p name='alice' status='active' civ='orcs'/>"
                 "<p name='bob' status='active' civ='humans'/></players></Game>"});
    call("matchmake", {"orcs"});
    EXPECT_TRUE(mHandler->mMatchmakeRequested);
    matchmakeThreadProc(mHandler.get(), mClient);
    EXPECT_EQ(sentField(Endpoint::Matchmake, "civName"), "orcs");
    EXPECT_TRUE(mHandler->mMatchmakeDone);
    newStatements();
    requestMatchmakingResult(*mHandler);
    EXPECT_FALSE(stateOf(77).empty());
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, 77);
    EXPECT_EQ(mHandler->mCurrentGameID, 77);
    const std::vector<std::string> page = newStatements();
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(pageCalls({page.back()}), cMatched);
}

TEST_F(GameCreationTest, ASoonerMatchmakingRequestWaitsForTheIntervalAndRunsOnce) {
    script(Endpoint::Matchmake, {200, "<Success>Queued</Success>"});
    script(Endpoint::Matchmake, {200, "<Success>Queued</Success>"});
    script(Endpoint::GetGameList, {200, "<Games/>"});
    mHandler->mLastGamesListPollTime = mNow;
    call("matchmake", {"orcs"});
    pass(2001);
    EXPECT_FALSE(mHandler->mMatchmakeRequested);
    EXPECT_TRUE(mServer.waitForRequests(1, 5s));
    // One second after that start: kept, not dropped, and started once the
    // 2000 ms have passed.
    pass(1000);
    call("matchmake", {"random"});
    for (int step = 0; step < 10; ++step) {
        pass(100);
        EXPECT_TRUE(mHandler->mMatchmakeRequested) << step;
    }
    pass(1);
    EXPECT_FALSE(mHandler->mMatchmakeRequested);
    mWorkers.quit();
    EXPECT_EQ(requestsAt(Endpoint::Matchmake), 2u);
    EXPECT_TRUE(civNames().count(sentField(Endpoint::Matchmake, "civName")));
    // The result is told on a later pass.
    newStatements();
    pass(1);
    EXPECT_EQ(pageCalls(newStatements()), "locAlert You are now waiting for an opponent.");
    EXPECT_FALSE(mHandler->mMatchmakeDone);
}

TEST_F(GameCreationTest, WithoutACivRandomTeamsFailWithTheirTexts) {
    auto& civs = SettingsManager::instance().mCivs;
    std::vector<std::unique_ptr<ProtoCiv>> kept = std::move(civs);
    civs.clear();
    EXPECT_EQ(pickRandomCivId(), -1);
    mHandler->mMatchmakeTeam = "random";
    matchmakeThreadProc(mHandler.get(), mClient);
    newStatements();
    requestMatchmakingResult(*mHandler);
    const std::vector<std::string> page = newStatements();
    EXPECT_EQ(call("createGame", {"bob", "random"}), false);
    const std::vector<std::string> created = newStatements();
    civs = std::move(kept);
    EXPECT_EQ(pageCalls(page),
              "locAlert Failed to queue you for matchmaking.  Please try again later.");
    EXPECT_EQ(pageCalls(created), failureCalls("GeneralGameCreateFailure"));
    EXPECT_TRUE(mServer.requests().empty());
}

namespace {

// The loopback server with its bot "Bot" behind the client, alice registered
// and logged in on it. Alice moves first in both kinds of game, so the bot's
// thread does not play while the test uses the rules.
class GameAgainstBotTest : public GameCreationTest {
protected:
    void SetUp() override {
        GameCreationTest::SetUp();
        ASSERT_TRUE(mBotServer.start()) << mBotServer.error();
        const std::string base = mBotServer.baseUrl();
        mClient.setBaseUrls(base, base, base, base);
        mClient.mLoggedIn = false;
        ASSERT_EQ(mClient.registerWithNickname("alice@example.org", "pw-alice", "alice"), 0);
        mStore.setStoredUsername("alice@example.org");
        mStore.setStoredPassword("pw-alice");
        ASSERT_EQ(mClient.login(), 0);
        // The server's bot runs the rules on the server's thread in this
        // process: it must not reach the client's records through the games
        // list (which setting the addresses installed), as a server of its
        // own cannot.
        setGamesList(nullptr);
    }
    void TearDown() override {
        mBotServer.stop();
        GameCreationTest::TearDown();
    }

    // The listed game's players' civs, "-" for an unlisted game.
    std::vector<std::string> civsOf(int64_t id) {
        return mClient.withGame(id, [](const GameRecord* record) {
            std::vector<std::string> civs;
            if (record == nullptr)
                return std::vector<std::string>{"-"};
            for (const auto& player : record->mPlayers)
                civs.push_back(player->mName + " " + player->mCivName);
            return civs;
        });
    }

    static LoopbackServerOptions withBot() {
        LoopbackServerOptions options;
        options.bot = "Bot";
        return options;
    }

    LoopbackServer mBotServer{withBot()};
};

} // namespace

TEST_F(GameAgainstBotTest, AGameCreatedAgainstTheBotOpensAfterTheRebuild) {
    EXPECT_EQ(call("createGame", {"Bot", "orcs"}), true);
    const int64_t id = mHandler->mDeferredGameID;
    ASSERT_GT(id, 0);
    const std::vector<std::string> civs = civsOf(id);
    ASSERT_EQ(civs.size(), 2u);
    EXPECT_EQ(civs[0], "alice orcs");
    EXPECT_TRUE(civNames().count(civs[1].substr(4))) << civs[1];
    // The next rebuild asks for the game; the update opens it.
    rebuildGamesList(*mHandler);
    EXPECT_EQ(mHandler->mDeferredGameID, 0);
    EXPECT_EQ(mHandler->mGameToOpen, id);
    mHandler->mLastGamesListPollTime = mNow;
    pass(2001);
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, id);
    EXPECT_EQ(mHandler->mCurrentGameID, id);
}

TEST_F(GameAgainstBotTest, AMatchmakingRequestIsPairedWithTheBotAndOpens) {
    call("matchmake", {"humans"});
    mHandler->mLastGamesListPollTime = mNow;
    pass(2001);
    EXPECT_FALSE(mHandler->mMatchmakeRequested);
    mWorkers.quit();
    ASSERT_TRUE(mHandler->mMatchmakeDone);
    EXPECT_EQ(mHandler->mMatchmakeResult, 1);
    const int64_t id = mHandler->mMatchmakeGameID;
    newStatements();
    pass(1);
    ASSERT_NE(gCurrentGame, nullptr);
    EXPECT_EQ(gCurrentGame->mGameID, id);
    EXPECT_FALSE(stateOf(id).empty());
    const std::vector<std::string> page = newStatements();
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(pageCalls({page.back()}), cMatched);
}
