// The games list of the service client: order, lookup, counts, removal, the
// refresh from Game/getGameList against scripted replies, and the client
// installed as the rules' games list and the local avatar source.

#include "LoopbackTestSupport.h"

#include "service/ListNotifications.h"

#include "rules/Game.h"

#include "content/BConfig.h"
#include "content/LocalAvatar.h"
#include "content/RegisteredOptions.h"

#include <thread>
#include <vector>

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

std::unique_ptr<GameRecord> makeRecord(int64_t id, int64_t lastTurn) {
    auto record = std::make_unique<GameRecord>();
    record->mGameID = id;
    record->mLastTurnTime = lastTurn;
    return record;
}

// A "Game" element of alice against bob; alice moves when aliceToMove.
std::string gameXml(int64_t id, bool aliceToMove, const char* lastTurn = "") {
    return "<Game id='" + std::to_string(id) + "' last_turn_datetime='" + lastTurn +
           "' current_turn_player='" + (aliceToMove ? "alice" : "bob") +
           "'><players><p name='alice' status='active'/><p name='bob' status='active'/>"
           "</players></Game>";
}

class WebServiceGamesTest : public LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        mClient.setNickname("alice");
        setListNotificationHook([this](const std::string& name) {
            // The lock must be free: another thread can take it.
            bool free = false;
            std::thread([&free] {
                free = gameDataMutex().try_lock();
                if (free)
                    gameDataMutex().unlock();
            }).join();
            mPosted.push_back(free ? name : name + " (locked)");
        });
        setGamePurgeHook([this](int64_t id) { mPurged.push_back(id); });
    }
    void TearDown() override {
        setListNotificationHook({});
        setGamePurgeHook({});
        BConfig::instance().unset("ProtectAsyncGame");
    }

    void scriptGames(const std::string& body) {
        script(Endpoint::GetGameList, {200, body});
    }

    std::vector<std::string> mPosted;
    std::vector<int64_t> mPurged;
};

} // namespace

TEST_F(WebServiceGamesTest, InsertKeepsTimeOrderWithTheLatestInsertFirstAmongEquals) {
    mClient.insertGame(makeRecord(1, 50));
    mClient.insertGame(makeRecord(2, 50));
    mClient.insertGame(makeRecord(3, 0));
    mClient.insertGame(makeRecord(4, 90));
    mClient.insertGame(makeRecord(5, 20));
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{3, 5, 2, 1, 4}));
}

TEST_F(WebServiceGamesTest, RemoveAlwaysPurgesAndDeletesTheListedRecord) {
    mClient.insertGame(makeRecord(1, 0));
    mClient.insertGame(makeRecord(2, 0));
    mClient.removeGame(9);
    mClient.removeGame(1);
    EXPECT_EQ(mPurged, (std::vector<int64_t>{9, 1}));
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{2}));
    EXPECT_TRUE(mClient.withGame(1, [](GameRecord* record) { return record == nullptr; }));
    EXPECT_EQ(mClient.withGame(2, [](GameRecord* record) { return record->mGameID; }), 2);
}

TEST_F(WebServiceGamesTest, CountsAndPicksByTheLocalPlayersState) {
    scriptGames("<Games hash='h1'>" + gameXml(1, true) + gameXml(2, false) + gameXml(3, true) +
                "<Game id='4'><players><p name='carol' status='active'/></players></Game>"
                "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(mClient.countGamesInState(cMyTurn), 2);
    EXPECT_EQ(mClient.countGamesInState(cOpponentsTurn), 1);
    EXPECT_EQ(mClient.countGamesInState(cNotInGame), 1);
    EXPECT_EQ(mClient.countGamesInState(cNotActive), 0);
    const GameLock lock(gameDataMutex());
    // Equal times: the latest insert first.
    ASSERT_NE(mClient.findNthGameInState(1, cMyTurn), nullptr);
    EXPECT_EQ(mClient.findNthGameInState(0, cMyTurn)->mGameID, 3);
    EXPECT_EQ(mClient.findNthGameInState(1, cMyTurn)->mGameID, 1);
    EXPECT_EQ(mClient.findNthGameInState(2, cMyTurn), nullptr);
}

TEST_F(WebServiceGamesTest, TheHashDecidesTheNotificationAndAnEmptyReplyKeepsTheList) {
    scriptGames("<Games hash='h1'>" + gameXml(1, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    // No children: the list stays, the hash is taken.
    scriptGames("<Games hash='h1'/>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{1}));
    // The same hash with new games: rebuilt, still "unchanged".
    scriptGames("<Games hash='h1'>" + gameXml(2, true) + gameXml(3, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{3, 2}));
    scriptGames("<Games hash='h2'/>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(mPosted, (std::vector<std::string>{
                           "AsyncGamesListUpdated", "AsyncGamesListUpdatedAndUnchanged",
                           "AsyncGamesListUpdatedAndUnchanged", "AsyncGamesListUpdated"}));
    EXPECT_EQ(mClient.mGamesHash, "h2");

    const std::vector<ReceivedRequest> requests = mServer.requests();
    ASSERT_EQ(requests.size(), 4u);
    const std::vector<std::string> expected = {"device", "authKey", "gameshash", "ver", "t", "h"};
    std::vector<std::string> names;
    for (const FormPart& part : requests[1].parts)
        names.push_back(part.name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(*requests[1].field("gameshash"), "h1");
}

TEST_F(WebServiceGamesTest, FailedRepliesChangeNothing) {
    scriptGames("<Games hash='h1'>" + gameXml(1, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    const struct {
        ScriptedReply reply;
        int code;
    } cases[] = {
        {{200, "<Error>NotLoggedIn</Error>"}, 1},
        {{200, "<Error>Busy</Error>"}, 2},
        {{200, "<Games hash='h9'><Game"}, 2},
        {{200, ""}, 2},
        {{200, "<Other hash='h9'/>"}, 2},
        {{500, "<Games hash='h9'/>"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.body);
        script(Endpoint::GetGameList, c.reply);
        EXPECT_EQ(mClient.getGameList(), c.code);
        EXPECT_EQ(listedIds(), (std::vector<int64_t>{1}));
        EXPECT_EQ(mClient.mGamesHash, "h1");
    }
    EXPECT_EQ(mPosted.size(), 1u);
}

TEST_F(WebServiceGamesTest, AGameThatFailsIsDroppedAlone) {
    scriptGames("<Games hash='h1'>" + gameXml(1, true) +
                "<Game id='2' is_complete='maybe'/><Other id='5'/>" + gameXml(3, true) +
                "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{3, 1}));
}

TEST_F(WebServiceGamesTest, AReplyNotStartingWithAGameAddsWithoutClearing) {
    scriptGames("<Games hash='h1'>" + gameXml(1, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    scriptGames("<Games hash='h2'><Note/>" + gameXml(2, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{2, 1}));
}

TEST_F(WebServiceGamesTest, TheProtectedGameKeepsItsStateAndWithTheOptionItsRecord) {
    for (const bool protect : {false, true}) {
        SCOPED_TRACE(protect ? "protected" : "plain");
        if (protect)
            BConfig::instance().setIntById(cOptProtectAsyncGame, 1);
        scriptGames("<Games hash='a'>" + gameXml(7, true, "2026-01-01 00:00:00") +
                    gameXml(8, true, "2026-01-01 00:00:05") + "</Games>");
        ASSERT_EQ(mClient.getGameList(), 0);
        const uint8_t state[] = {4, 5, 6};
        GameRecord* before = mClient.withGame(7, [&](GameRecord* record) {
            record->setState(state, 3);
            // A field a refresh does not copy marks the object.
            record->mCreationMethod = "MARK";
            return record;
        });

        mClient.mProtectedGameId = 7;
        scriptGames("<Games hash='b'>" + gameXml(8, true, "2026-01-01 00:00:05") +
                    "<Game id='7' turn_count='4' last_turn_datetime='2026-01-02 00:00:00' "
                    "current_turn_player='bob'><players><p name='alice' status='active'/>"
                    "<p name='bob' status='active' new_chat_count='3'/></players></Game></Games>");
        ASSERT_EQ(mClient.getGameList(), 0);
        mClient.mProtectedGameId = 0;

        const GameLock lock(gameDataMutex());
        GameRecord* after = mClient.findGame(7);
        ASSERT_NE(after, nullptr);
        if (protect) {
            EXPECT_EQ(after, before);
        }
        EXPECT_EQ(after->mCreationMethod == "MARK", protect);
        EXPECT_EQ(after->mTurnCount, 4);
        EXPECT_EQ(after->mCurrentTurnPlayer, "bob");
        EXPECT_EQ(after->mPlayers[1]->mNewChatCount, 3);
        ASSERT_EQ(after->mStateSize, 3);
        EXPECT_EQ(after->mStateData[2], 6);
        EXPECT_EQ(listedIds(), (std::vector<int64_t>{8, 7}));
    }
    for (const std::string& name : mPosted)
        EXPECT_EQ(name.find("locked"), std::string::npos) << name;
}

TEST_F(WebServiceGamesTest, AProtectedRecordLeftOutIsHeldUntilTheGameOnScreenChanges) {
    BConfig::instance().setIntById(cOptProtectAsyncGame, 1);
    scriptGames("<Games hash='a'>" + gameXml(7, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    GameRecord* onScreen = mClient.withGame(7, [](GameRecord* record) { return record; });

    mClient.mProtectedGameId = 7;
    scriptGames("<Games hash='b'>" + gameXml(8, true) + "</Games>");
    ASSERT_EQ(mClient.getGameList(), 0);
    mClient.mProtectedGameId = 0;
    EXPECT_EQ(listedIds(), (std::vector<int64_t>{8}));
    EXPECT_EQ(mClient.mUnlistedGame.get(), onScreen);
    mClient.gameOnScreenChanged(7);
    EXPECT_EQ(mClient.mUnlistedGame.get(), onScreen);
    mClient.gameOnScreenChanged(8);
    EXPECT_EQ(mClient.mUnlistedGame, nullptr);
}

TEST_F(WebServiceGamesTest, TheSetUpClientIsTheRulesGamesListAndTheAvatarSource) {
    EXPECT_EQ(&gamesList(), &mClient);
    mClient.setLocalAvatar("SomePack|3");
    EXPECT_EQ(localAvatarPackId(), "SomePack");
    EXPECT_EQ(localAvatarIndex(), 3);
    EXPECT_EQ(gamesList().getNickname(), "alice");

    mClient.insertGame(makeRecord(42, 0));
    Game* game = new Game();
    game->mGameID = 42;
    {
        const GameLock lock(gameDataMutex());
        ASSERT_NE(game->getGameRecord(), nullptr);
        EXPECT_EQ(game->getGameRecord()->mGameID, 42);
    }
    game->release();

    {
        LoopbackClient other;
        other.startLoopback();
        EXPECT_EQ(&gamesList(), &other.mClient);
    }
    // The other client's teardown restores the built-in list and avatar.
    EXPECT_NE(&gamesList(), &mClient);
    EXPECT_EQ(localAvatarPackId(), cDefaultAvatarPackId);
    EXPECT_EQ(localAvatarIndex(), 0);
}

TEST(WebServiceInstallTest, AClientNotSetUpLeavesTheBuiltInList) {
    WebService client;
    EXPECT_NE(&gamesList(), &client);
    EXPECT_EQ(localAvatarPackId(), cDefaultAvatarPackId);
}

#ifndef NDEBUG
TEST(WebServiceGamesDeathTest, FindGameWithoutTheLockStopsADebugBuild) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WebService client;
    EXPECT_DEATH(client.findGame(1), "game lock");
}
#endif

TEST_F(WebServiceGamesTest, TheRulesReachTheClientsCredentialsAndClockThroughTheGamesList) {
    gamesList().setStoredUsername("bob");
    gamesList().setStoredPassword("secret");
    EXPECT_EQ(mStore.getStoredUsername(), "bob");
    EXPECT_EQ(mStore.getStoredPassword(), "secret");
    mClient.setServerTimeOffset(-35);
    EXPECT_EQ(gamesList().serverTimeOffset(), -35);
}
