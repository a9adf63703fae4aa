// The loopback server's games: the seed's games, Game/getGameList with its
// hash kept across a restart, and the hash over the stored rows.

#include "ServerTestSupport.h"

#include "tools/server/LoopbackServer.h"
#include "tools/server/ServerGames.h"

#include "service/BSecureStorage.h"
#include "service/WebService.h"

namespace {

const std::string cSeed =
    "<ServerSeed>"
    "<Account login='alice@example.org' password='pw' nickname='Alice' home='2' avatar='P|1'/>"
    "<Account login='bob@example.org' password='pw' nickname='Bob'/>"
    "<Account login='carol@example.org' password='pw' nickname='Carol'/>"
    "<Game id='11' created='2026-03-01 10:00:00' lastTurn='2026-03-02 08:30:00' "
    "creator='Alice' turnPlayer='Bob' turns='6' state='AAECAw=='>"
    "<Player name='Alice' civ='orcs' avatar='P|1' home='2' away='3' build='1039'/>"
    "<Player name='Bob' civ='dwarves' home='1' away='5' chats='2' taunt='1'/></Game>"
    "<Game id='12' created='2026-03-03 09:00:00' creator='Bob' method='MATCHMADE' "
    "turnPlayer='Alice' matchmade='1'>"
    "<Player name='Bob' civ='humans'/><Player name='Alice' civ='kx4a'/></Game>"
    "<Game id='13' created='2026-03-03 09:00:00' creator='Carol' complete='1'>"
    "<Player name='Carol' status='inactive' substatus='won'/>"
    "<Player name='Bob' substatus='lost'/></Game>"
    "</ServerSeed>";

class ServerGamesTest : public ServerFolderTest {
protected:
    // A server on the test folder's database and a fresh client logged in
    // as alice.
    void start(WebService& client) {
        LoopbackServerOptions options;
        options.database = mFolder / "server.sqlite3";
        options.seed = writeSeed("seed.xml", cSeed);
        mServer = std::make_unique<LoopbackServer>(options);
        ASSERT_TRUE(mServer->start()) << mServer->error();
        client.setSecureStorage(&mStore);
        client.setDeviceIdProvider([] { return std::string("device-01"); });
        const std::string base = mServer->baseUrl();
        client.setBaseUrls(base, base, base, base);
        mStore.setStoredUsername("alice@example.org");
        mStore.setStoredPassword("pw");
        ASSERT_EQ(client.login(), 0);
    }

    static std::vector<int64_t> ids(WebService& client) {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        std::vector<int64_t> out;
        for (const auto& record : client.mGames)
            out.push_back(record->mGameID);
        return out;
    }

    BSecureStorage mStore;
    std::unique_ptr<LoopbackServer> mServer;
};

} // namespace

TEST_F(ServerGamesTest, ThePlayersGamesComeWithoutStateAndTheSameHashAfterARestart) {
    std::string hash;
    {
        WebService client;
        start(client);
        ASSERT_EQ(client.getGameList(), 0);
        EXPECT_EQ(ids(client), (std::vector<int64_t>{12, 11}));
        hash = client.mGamesHash;
        EXPECT_EQ(hash.size(), 64u);
        client.withGame(11, [](GameRecord* game) {
            ASSERT_NE(game, nullptr);
            EXPECT_EQ(game->mStateData, nullptr);
            EXPECT_EQ(game->mTurnCount, 6);
            EXPECT_EQ(game->mLastTurnTime, 1772440200);
            EXPECT_TRUE(game->mHasLastTurnTime);
            EXPECT_EQ(game->mCreationMethod, "CUSTOM");
            EXPECT_EQ(game->getLocalPlayerGameState("Alice"), cOpponentsTurn);
            ASSERT_EQ(game->mPlayers.size(), 2u);
            EXPECT_TRUE(game->mPlayers[0]->mIsLocal);
            EXPECT_EQ(game->mPlayers[0]->mColor, 2);
            EXPECT_EQ(game->mPlayers[0]->mBuildVersion, 1039);
            EXPECT_EQ(game->mPlayers[1]->mColor, 5);
            EXPECT_EQ(game->mPlayers[1]->mCivName, "dwarves");
            EXPECT_EQ(game->mPlayers[1]->mNewChatCount, 2);
            EXPECT_EQ(game->mPlayers[1]->mPlayTaunt, 1);
        });
        client.withGame(12, [](GameRecord* game) {
            ASSERT_NE(game, nullptr);
            EXPECT_FALSE(game->mHasLastTurnTime);
            EXPECT_EQ(game->mWasMatchmade, 1);
            EXPECT_EQ(game->getLocalPlayerGameState("Alice"), cMyTurn);
        });
        // Unchanged: the reply holds only the hash and the list stays.
        ASSERT_EQ(client.getGameList(), 0);
        EXPECT_EQ(ids(client), (std::vector<int64_t>{12, 11}));
        EXPECT_EQ(client.mGamesHash, hash);
        mServer.reset();
    }
    WebService client;
    start(client);
    ASSERT_EQ(client.getGameList(), 0);
    EXPECT_EQ(client.mGamesHash, hash);
    EXPECT_EQ(ids(client), (std::vector<int64_t>{12, 11}));
    client.setAuthKey("stale");
    EXPECT_EQ(client.getGameList(), 1);
}

TEST(ServerGamesHashTest, AnyChangedFieldChangesTheHash) {
    ServerGame game;
    game.mId = 1;
    game.mCreationPlayer = "a";
    game.mPlayers.resize(2);
    game.mPlayers[0].mName = "a";
    game.mPlayers[1].mName = "b";
    const std::string base = gamesHash({game});
    EXPECT_EQ(gamesHash({game}), base);
    const std::vector<std::function<void(ServerGame&)>> changes = {
        [](ServerGame& g) { g.mTurnCount = 1; },
        [](ServerGame& g) { g.mLastTurnTime = 0; },
        [](ServerGame& g) { g.mState = "x"; },
        [](ServerGame& g) { g.mCurrentTurnPlayer = "b"; },
        [](ServerGame& g) { g.mPlayers[1].mNewChatCount = 1; },
        [](ServerGame& g) { g.mPlayers[0].mSubstatus = "won"; },
        [](ServerGame& g) { g.mPlayers.pop_back(); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        ServerGame changed = game;
        changes[i](changed);
        EXPECT_NE(gamesHash({changed}), base) << i;
    }
    EXPECT_NE(gamesHash({}), base);
}

TEST(ServerGamesHashTest, TimesAreWrittenAsTheServiceWritesThem) {
    EXPECT_EQ(formatServerTime(0), "1970-01-01 00:00:00");
    EXPECT_EQ(formatServerTime(1772440200), "2026-03-02 08:30:00");
}

TEST_F(ServerGamesTest, ASeedGameThatDoesNotReadStopsTheServer) {
    const char* games[] = {
        "<Game id='0' created='2026-03-01 10:00:00' creator='a'/>",
        "<Game id='1' created='soon' creator='a'/>",
        "<Game id='1' created='2026-03-01 10:00:00'/>",
        "<Game id='1' created='2026-03-01 10:00:00' creator='a' turns='x'/>",
        "<Game id='1' created='2026-03-01 10:00:00' creator='a'><Chat/></Game>",
        "<Game id='1' created='2026-03-01 10:00:00' creator='a'/>"
        "<Game id='1' created='2026-03-01 10:00:00' creator='b'/>",
    };
    for (const char* game : games) {
        SCOPED_TRACE(game);
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        LoopbackServerOptions options;
        options.database = mFolder / "server.sqlite3";
        options.seed = writeSeed("seed.xml", std::string("<ServerSeed>") + game + "</ServerSeed>");
        LoopbackServer server(options);
        EXPECT_FALSE(server.start());
        EXPECT_NE(server.error().find("seed"), std::string::npos) << server.error();
    }
}
