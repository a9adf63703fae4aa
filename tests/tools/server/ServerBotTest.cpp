// The opponent bot in-process on the sample content: a game created against
// it is accepted at once with a civ and the bot's first state, and each turn
// handed to it comes back played on the stored blob, the same from the same
// game; matchmaking pairs a player with the bot at once.

#include "ServerBotTestSupport.h"
#include "ServerTestSupport.h"

#include "tools/server/LoopbackServer.h"

#include "rules/Player.h"
#include "rules/TileRack.h"

namespace {

const std::string cSeed = "<ServerSeed>"
                          "<Account login='alice' password='pw' nickname='Alice'/>"
                          "</ServerSeed>";

class ServerBotTest : public ServerFolderTest {
protected:
    void SetUp() override {
        ServerFolderTest::SetUp();
        ASSERT_TRUE(loadSampleContent());
    }

    // A server with the bot Rook on a fresh database, and Alice logged in.
    void start(const std::string& name) {
        LoopbackServerOptions options;
        options.database = mFolder / (name + ".sqlite3");
        options.seed = writeSeed("seed.xml", cSeed);
        options.bot = "Rook";
        mServer = std::make_unique<LoopbackServer>(options);
        ASSERT_TRUE(mServer->start()) << mServer->error();
        mAlice = std::make_unique<ServiceClient>(mServer->baseUrl());
        ASSERT_TRUE(mAlice->login("alice", "pw"));
    }

    // Plays Alice's turns of game id on state and the bot's answers; the
    // states after each of the bot's turns.
    std::vector<std::vector<uint8_t>> playRounds(int64_t id, std::vector<uint8_t> state,
                                                 int rounds) {
        std::vector<std::vector<uint8_t>> answers;
        for (int round = 0; round < rounds; ++round) {
            const std::vector<uint8_t> mine = playedTurn(state, 0, 100 + round, 2 * round);
            EXPECT_FALSE(mine.empty());
            const ServiceReplyText reply =
                mAlice->post("Game/submitTurn", submitTurnFields(id), submittedState(mine));
            EXPECT_EQ(reply.mRoot, "Game") << reply.mBody;
            const std::unique_ptr<GameRecord> answered = waitForTurn(*mAlice, id, "Alice");
            if (answered == nullptr) {
                ADD_FAILURE() << "the bot did not answer round " << round;
                break;
            }
            EXPECT_EQ(answered->mTurnCount, 2 * round + 2);
            state = stateOf(*answered);
            EXPECT_NE(state, mine);
            EXPECT_TRUE(loads(state, 0));
            answers.push_back(state);
        }
        return answers;
    }

    std::unique_ptr<LoopbackServer> mServer;
    std::unique_ptr<ServiceClient> mAlice;
};

} // namespace

TEST_F(ServerBotTest, AGameAgainstTheBotIsAcceptedAtOnceAndEachTurnIsAnswered) {
    std::vector<std::vector<uint8_t>> runs[2];
    for (int run = 0; run < 2; ++run) {
        start("run" + std::to_string(run));
        const std::vector<uint8_t> first = firstState(9, {{0, "orcs"}});
        ASSERT_FALSE(first.empty());
        const ServiceReplyText reply = mAlice->post(
            "Game/createGame", createGameFields("rook", "orcs"), {{"state", base64(first)}});
        const std::unique_ptr<GameRecord> game = reply.game("Alice");
        ASSERT_NE(game, nullptr) << reply.mBody;
        ASSERT_EQ(game->mPlayers.size(), 2u);
        EXPECT_EQ(game->mPlayers[1]->mName, "Rook");
        EXPECT_GE(civIdOf(game->mPlayers[1]->mCivName), 0);
        EXPECT_EQ(game->mCurrentTurnPlayer, "Alice");
        {
            // The bot's first state: its civ given, its rack filled.
            const std::lock_guard rules(ServerBot::rulesMutex());
            Game* loaded = new Game();
            loaded->mCurrentPlayer = 0;
            const std::vector<uint8_t> state = stateOf(*game);
            ASSERT_TRUE(loaded->loadFromBuffer(state.data(), static_cast<int32_t>(state.size()),
                                               game->mGameID, false));
            const Player* bot = loaded->getPlayer(1);
            EXPECT_TRUE(bot->mCivAssigned);
            EXPECT_EQ(bot->mCivId, civIdOf(game->mPlayers[1]->mCivName));
            EXPECT_GT(bot->mTileRack->getEntityCount(), 0);
            loaded->release();
        }
        runs[run] = playRounds(game->mGameID, stateOf(*game), 2);
        mServer.reset();
    }
    ASSERT_EQ(runs[0].size(), 2u);
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(ServerBotTest, MatchmakingPairsAPlayerWithTheBotAtOnce) {
    start("match");
    const ServiceReplyText reply = mAlice->post("Match/matchmake", {{"civName", "humans"}});
    const std::unique_ptr<GameRecord> game = reply.game("Alice");
    ASSERT_NE(game, nullptr) << reply.mBody;
    EXPECT_EQ(game->mWasMatchmade, 1);
    EXPECT_EQ(game->mStateData, nullptr);
    ASSERT_EQ(game->mPlayers.size(), 2u);
    EXPECT_EQ(game->mPlayers[0]->mName, "Alice");
    EXPECT_EQ(game->mPlayers[1]->mName, "Rook");
    EXPECT_EQ(game->mCurrentTurnPlayer, "Alice");
    // The first state as the player to move builds it for a matched game.
    const std::vector<uint8_t> first = firstState(
        static_cast<int32_t>(game->mGameID), {{0, "humans"}, {1, game->mPlayers[1]->mCivName}});
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(playRounds(game->mGameID, first, 1).size(), 1u);
}

// A state that is no game: refused when the bot would accept it; when the bot
// is to move on it, the game waits and the server goes on answering.
TEST_F(ServerBotTest, AStateThatIsNoGameIsRefusedOrLeftWaiting) {
    start("broken");
    const std::vector<uint8_t> broken = {'n', 'o', ' ', 'g', 'a', 'm', 'e'};
    const ServiceReplyText refused = mAlice->post(
        "Game/createGame", createGameFields("Rook", "orcs"), {{"state", base64(broken)}});
    EXPECT_EQ(refused.mText, "InvalidState");
    EXPECT_EQ(mAlice->post("Game/getGameState", {}, {}, {{"gameid", "1"}}).mText, "InvalidGameID");

    const std::vector<uint8_t> first = firstState(9, {{0, "orcs"}});
    const std::unique_ptr<GameRecord> game =
        mAlice
            ->post("Game/createGame", createGameFields("Rook", "orcs"), {{"state", base64(first)}})
            .game("Alice");
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(
        mAlice->post("Game/submitTurn", submitTurnFields(game->mGameID), submittedState(broken))
            .mRoot,
        "Game");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::unique_ptr<GameRecord> waiting =
        mAlice->post("Game/getGameState", {}, {}, {{"gameid", std::to_string(game->mGameID)}})
            .game("Alice");
    ASSERT_NE(waiting, nullptr);
    EXPECT_EQ(waiting->mCurrentTurnPlayer, "Rook");
    EXPECT_EQ(waiting->mTurnCount, 1);
    EXPECT_EQ(stateOf(*waiting), broken);
}
