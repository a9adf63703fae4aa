// The tarnwick-server program as a child process: it prints its port, serves
// the clock, and after SIGKILL a restart on the same file answers as before
// (the seed's committed offset and the registered accounts kept, a second
// seed ignored; a game with a submitted turn and a chat line, whose next
// turn the bot of a later start then plays). A database of a newer schema
// ends it with a message and a non-zero exit.

#include "ServerBotTestSupport.h"
#include "ServerProcessSupport.h"
#include "ServerTestSupport.h"

#include "tools/server/ServerDatabase.h"

#include "service/BSecureStorage.h"
#include "service/ServerRequest.h"
#include "service/WebService.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

int64_t serverTime(int port) {
    ServerRequest request("http://127.0.0.1:" + std::to_string(port) + "/Accounts/getTime");
    if (!request())
        return -1;
    const std::string reply = request.getResponseString();
    return reply.rfind("<root t=\"", 0) == 0 ? std::stoll(reply.substr(9)) : -1;
}

int64_t now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

class TarnwickServerTest : public ServerFolderTest {};

TEST_F(TarnwickServerTest, ARestartAfterSigkillAnswersAsBefore) {
    const auto database = (mFolder / "server.sqlite3").string();
    const auto seed = writeSeed("seed.xml", clockSeed(1000000)).string();
    {
        ServerProcess server({"--port", "0", "--db", database, "--seed", seed});
        const int port = server.readPort();
        ASSERT_GT(port, 0);
        EXPECT_NEAR(static_cast<double>(serverTime(port)), static_cast<double>(now() + 1000000), 5);
        server.kill(SIGKILL);
    }
    EXPECT_EQ(modeOf(database), 0600u);

    const auto otherSeed = writeSeed("other.xml", clockSeed(7)).string();
    ServerProcess restarted({"--port", "0", "--db", database, "--seed", otherSeed});
    const int port = restarted.readPort();
    ASSERT_GT(port, 0);
    EXPECT_NEAR(static_cast<double>(serverTime(port)), static_cast<double>(now() + 1000000), 5);
}

TEST_F(TarnwickServerTest, AnAccountRegisteredBeforeSigkillStillLogsIn) {
    const auto database = (mFolder / "server.sqlite3").string();
    BSecureStorage store;
    WebService client;
    client.setSecureStorage(&store);
    client.setDeviceIdProvider([] { return std::string("device-01"); });
    const auto pointAt = [&](int port) {
        const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
        client.setBaseUrls(base, base, base, base);
    };
    {
        ServerProcess server({"--port", "0", "--db", database});
        const int port = server.readPort();
        ASSERT_GT(port, 0);
        pointAt(port);
        ASSERT_EQ(client.registerWithNickname("ann@example.org", "pw-ann", "Ann"), 0);
        server.kill(SIGKILL);
    }
    ServerProcess restarted({"--port", "0", "--db", database});
    const int port = restarted.readPort();
    ASSERT_GT(port, 0);
    pointAt(port);
    store.setStoredUsername("ann@example.org");
    store.setStoredPassword("pw-ann");
    EXPECT_EQ(client.login(), 0);
    EXPECT_EQ(client.nickname(), "Ann");
}

TEST_F(TarnwickServerTest, AGameWaitingForTheBotSurvivesSigkillAndTheBotThenPlaysIt) {
    ASSERT_TRUE(loadSampleContent());
    const auto database = (mFolder / "server.sqlite3").string();
    const auto seed =
        writeSeed("seed.xml", "<ServerSeed>"
                              "<Account login='alice' password='pw' nickname='Alice'/>"
                              "<Account login='rook' password='pw' nickname='Rook'/>"
                              "</ServerSeed>")
            .string();
    const auto baseUrl = [](int port) { return "http://127.0.0.1:" + std::to_string(port) + "/"; };
    const FormFields gameId = {{"gameid", "1"}};
    const FormFields chatGameId = {{"gameID", "1"}};
    std::string stateReply;
    std::string chatReply;
    std::vector<uint8_t> submitted;
    {
        // Without the bot, the game waits for Rook.
        ServerProcess server({"--port", "0", "--db", database, "--seed", seed});
        const int port = server.readPort();
        ASSERT_GT(port, 0);
        ServiceClient alice(baseUrl(port));
        ASSERT_TRUE(alice.login("alice", "pw"));
        const std::vector<uint8_t> first = firstState(4, {{0, "orcs"}});
        ASSERT_EQ(alice
                      .post("Game/createGame", createGameFields("Rook", "orcs"),
                            {{"state", base64(first)}})
                      .mRoot,
                  "Game");
        submitted = playedTurn(first, 0, 5, 0);
        ASSERT_EQ(
            alice.post("Game/submitTurn", submitTurnFields(1), submittedState(submitted)).mRoot,
            "Game");
        ASSERT_EQ(alice.post("Chat/addGameChat", {{"gameid", "1"}, {"chat", "your move"}}).mRoot,
                  "Success");
        stateReply = alice.post("Game/getGameState", {}, {}, gameId).mBody;
        chatReply = alice.post("Chat/getGameChats", chatGameId).mBody;
        server.kill(SIGKILL);
    }
    {
        ServerProcess restarted({"--port", "0", "--db", database});
        const int port = restarted.readPort();
        ASSERT_GT(port, 0);
        ServiceClient alice(baseUrl(port));
        ASSERT_TRUE(alice.login("alice", "pw"));
        const ServiceReplyText state = alice.post("Game/getGameState", {}, {}, gameId);
        EXPECT_EQ(state.mBody, stateReply);
        const std::unique_ptr<GameRecord> game = state.game("Alice");
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(stateOf(*game), submitted);
        EXPECT_EQ(game->mCurrentTurnPlayer, "Rook");
        EXPECT_EQ(alice.post("Chat/getGameChats", chatGameId).mBody, chatReply);
        restarted.kill(SIGKILL);
    }
    // With the bot, the waiting turn is played at start.
    ServerProcess withBot(
        {"--port", "0", "--db", database, "--bot", "Rook", "--root", TARNWICK_SOURCE_DIR});
    const int port = withBot.readPort();
    ASSERT_GT(port, 0);
    ServiceClient alice(baseUrl(port));
    ASSERT_TRUE(alice.login("alice", "pw"));
    const std::unique_ptr<GameRecord> answered = waitForTurn(alice, 1, "Alice");
    ASSERT_NE(answered, nullptr);
    EXPECT_EQ(answered->mTurnCount, 2);
    EXPECT_GE(civIdOf(answered->getOpponent()->mCivName), 0);
    EXPECT_NE(stateOf(*answered), submitted);
    EXPECT_TRUE(loads(stateOf(*answered), 0));
    const std::unique_ptr<GameRecord> chats =
        alice.post("Chat/getGameChats", chatGameId).game("Alice");
    ASSERT_NE(chats, nullptr);
    ASSERT_EQ(chats->mChats.size(), 1u);
    EXPECT_EQ(chats->mChats[0]->mText, "your move");
}

// A seeded game against the bot of a tarnwick-server child to its winner,
// twice on fresh databases: the same game both times.
TEST_F(TarnwickServerTest, AWholeGameAgainstTheBotEndsTheSameForTheSameSeeds) {
    ASSERT_TRUE(loadSampleContent());
    const auto seed =
        writeSeed("seed.xml", "<ServerSeed><Account login='alice' password='pw' nickname='Alice'/>"
                              "</ServerSeed>")
            .string();
    std::vector<std::vector<uint8_t>> runs[2];
    for (int run = 0; run < 2; ++run) {
        const auto database = (mFolder / ("run" + std::to_string(run) + ".sqlite3")).string();
        ServerProcess server({"--port", "0", "--db", database, "--seed", seed, "--bot", "Rook",
                              "--root", TARNWICK_SOURCE_DIR});
        const int port = server.readPort();
        ASSERT_GT(port, 0);
        ServiceClient alice("http://127.0.0.1:" + std::to_string(port) + "/");
        ASSERT_TRUE(alice.login("alice", "pw"));
        runs[run] = playWholeGame(alice, "Rook");
        ASSERT_FALSE(runs[run].empty());
    }
    EXPECT_GT(runs[0].size(), 10u);
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(TarnwickServerTest, ANewerDatabaseEndsItWithAnError) {
    const auto database = mFolder / "server.sqlite3";
    {
        ServerDatabase newer;
        std::string error;
        ASSERT_TRUE(newer.open(database, error)) << error;
        newer.exec("PRAGMA user_version=" + std::to_string(serverMigrations().back().version + 1));
    }
    ServerProcess server({"--port", "0", "--db", database.string()});
    EXPECT_EQ(server.readPort(), -1);
    EXPECT_EQ(server.wait(), 1);
}

TEST_F(TarnwickServerTest, ABadOptionIsRefused) {
    ServerProcess server({"--port", "http"});
    EXPECT_EQ(server.readPort(), -1);
    EXPECT_EQ(server.wait(), 2);
}

// The same road through the service client's own requests: createGame with
// the first state, getGameState until the turn is the local player's, and
// submitTurn's first form; a loss not yet seen is settled by
// followUpGameStatus. Every fetched state loads, the statuses end as the
// winner says, and the game repeats for the same seeds.
TEST_F(TarnwickServerTest, AWholeGameThroughTheServiceClientEndsTheSameForTheSameSeeds) {
    ASSERT_TRUE(loadSampleContent());
    const auto seed = writeSeed("client.xml", "<ServerSeed><Account login='alice' password='pw' "
                                              "nickname='Alice'/></ServerSeed>")
                          .string();
    std::vector<std::vector<uint8_t>> runs[2];
    for (int run = 0; run < 2; ++run) {
        const auto database = (mFolder / ("client" + std::to_string(run) + ".sqlite3")).string();
        ServerProcess server({"--port", "0", "--db", database, "--seed", seed, "--bot", "Rook",
                              "--root", TARNWICK_SOURCE_DIR});
        const int port = server.readPort();
        ASSERT_GT(port, 0);
        BSecureStorage store;
        store.setStoredUsername("alice");
        store.setStoredPassword("pw");
        WebService client;
        client.setSecureStorage(&store);
        client.setDeviceIdProvider([] { return std::string("device-01"); });
        const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
        client.setBaseUrls(base, base, base, base);
        ASSERT_EQ(client.login(), 0);

        // The rules look games up in the installed list, the client, whose
        // records need its game lock.
        const auto locked = [](auto&& work) {
            const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
            return work();
        };
        const std::vector<uint8_t> first = locked([] { return firstState(2, {{0, "orcs"}}); });
        int64_t id = -1;
        ASSERT_EQ(
            client.createGame("Rook", "orcs", first.data(), static_cast<int32_t>(first.size()), id),
            0);
        ASSERT_GT(id, 0);
        // The listed record once its turn is Alice's or the game is over.
        const auto fetch = [&](std::vector<uint8_t>& state, int32_t& turns, bool& complete) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (std::chrono::steady_clock::now() < deadline) {
                if (client.getGameState(id) != 0)
                    return false;
                bool ready = false;
                client.withGame(id, [&](GameRecord* game) {
                    if (game == nullptr || game->mStateData == nullptr)
                        return;
                    complete = game->mIsComplete;
                    ready = complete || game->mCurrentTurnPlayer == "Alice";
                    state = stateOf(*game);
                    turns = game->mTurnCount;
                });
                if (ready)
                    return true;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            return false;
        };
        std::vector<uint8_t> state;
        int32_t turns = 0;
        bool complete = false;
        int aliceWon = -1;
        for (int round = 0; round < 600 && aliceWon < 0; ++round) {
            ASSERT_TRUE(fetch(state, turns, complete)) << "round " << round;
            ASSERT_TRUE(locked([&] { return loads(state, 0); })) << "round " << round;
            runs[run].push_back(state);
            if (complete) {
                bool lostNotSeen = false;
                client.withGame(id, [&](GameRecord* game) {
                    lostNotSeen = game->getLocalPlayer()->mSubstatus == cSubstatusLostNotSeen;
                    aliceWon = game->getLocalPlayer()->mSubstatus == cSubstatusWon ? 1 : 0;
                });
                EXPECT_EQ(client.followUpGameStatus(id), lostNotSeen);
                break;
            }
            std::pair<int32_t, int32_t> winner;
            const std::vector<uint8_t> mine =
                locked([&] { return playedTurn(state, 0, round, turns, &winner); });
            ASSERT_FALSE(mine.empty()) << "round " << round;
            int32_t status = -1;
            int32_t substatus = -1;
            if (winner.second != 0 && winner.first >= 0) {
                aliceWon = winner.first == 0 ? 1 : 0;
                status = cGameInactive;
                substatus = aliceWon == 1 ? cSubstatusWon : cSubstatusLost;
            }
            int32_t taunt = round % 2;
            ASSERT_EQ(client.submitTurn(id, mine.data(), static_cast<int32_t>(mine.size()), taunt,
                                        turns, status, substatus),
                      0)
                << "round " << round;
        }
        ASSERT_GE(aliceWon, 0) << "no winner in 600 rounds";
        ASSERT_EQ(client.getGameState(id), 0);
        client.withGame(id, [&](GameRecord* game) {
            ASSERT_NE(game, nullptr);
            EXPECT_TRUE(game->mIsComplete);
            EXPECT_EQ(game->getLocalPlayer()->mStatus, cGameInactive);
            EXPECT_EQ(game->getLocalPlayer()->mSubstatus,
                      aliceWon == 1 ? cSubstatusWon : cSubstatusLost);
            EXPECT_EQ(game->getOpponent()->mSubstatus,
                      aliceWon == 1 ? cSubstatusLost : cSubstatusWon);
            EXPECT_TRUE(loads(stateOf(*game), 0));
        });
    }
    EXPECT_GT(runs[0].size(), 10u);
    EXPECT_EQ(runs[0], runs[1]);
}
