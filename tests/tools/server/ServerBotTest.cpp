// The opponent bot in-process on the sample content: a game created against
// it is accepted at once with a civ and the bot's first state, and each turn
// handed to it comes back played on the stored blob, the same from the same
// game; matchmaking pairs a player with the bot at once.

#include "ServerBotTestSupport.h"
#include "ServerTestSupport.h"

#include "tools/server/LoopbackServer.h"

#include "rules/Player.h"
#include "rules/TileRack.h"

#include <cstdio>

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

// A whole game against the bot: Alice plays her turns with self-play and
// submits them, ending the game when her turn decides it; the bot answers
// until a winner. Every fetched blob loads, the statuses end as the winner
// says (a loss Alice has not seen settled by her follow-up), and the same
// seeds play the same game.
TEST_F(ServerBotTest, AWholeGameAgainstTheBotEndsWithTheStatusesOfItsWinner) {
    std::vector<std::vector<uint8_t>> runs[2];
    for (int run = 0; run < 2; ++run) {
        start("whole" + std::to_string(run));
        std::vector<uint8_t> state = firstState(2, {{0, "orcs"}});
        const std::unique_ptr<GameRecord> created =
            mAlice
                ->post("Game/createGame", createGameFields("Rook", "orcs"),
                       {{"state", base64(state)}})
                .game("Alice");
        ASSERT_NE(created, nullptr);
        const int64_t id = created->mGameID;
        state = stateOf(*created);
        int aliceWon = -1; // 1 won, 0 lost, -1 open or drawn
        bool over = false;
        for (int round = 0; round < 600 && !over; ++round) {
            std::pair<int32_t, int32_t> winner;
            const std::vector<uint8_t> mine = playedTurn(state, 0, round, 2 * round, &winner);
            ASSERT_FALSE(mine.empty()) << "round " << round;
            runs[run].push_back(mine);
            FormFields fields = submittedState(mine);
            if (winner.second != 0 && winner.first >= 0) {
                aliceWon = winner.first == 0 ? 1 : 0;
                fields = {{"state", base64(mine)},
                          {"status", "inactive"},
                          {"substatus", aliceWon == 1 ? "won" : "lost"},
                          {"iscomplete", "0"}};
            }
            ASSERT_EQ(mAlice->post("Game/submitTurn", submitTurnFields(id), fields).mRoot, "Game");
            if (aliceWon >= 0)
                break;
            const std::unique_ptr<GameRecord> answered = waitForTurn(*mAlice, id, "Alice");
            ASSERT_NE(answered, nullptr) << "round " << round;
            state = stateOf(*answered);
            ASSERT_TRUE(loads(state, 0)) << "round " << round;
            runs[run].push_back(state);
            over = answered->mIsComplete;
            if (over && answered->getLocalPlayer()->mSubstatus == cSubstatusLostNotSeen) {
                aliceWon = 0;
                // The follow-up of a loss not yet seen.
                EXPECT_EQ(answered->getLocalPlayer()->mStatus, cGameActive);
                EXPECT_EQ(mAlice
                              ->post("Game/updatePlayerStatus",
                                     {{"gameid", std::to_string(id)}, {"status", "inactive"}},
                                     {{"substatus", "lost"}, {"iscomplete", "1"}})
                              .mRoot,
                          "Success");
            } else if (over) {
                aliceWon = answered->getLocalPlayer()->mSubstatus == cSubstatusWon ? 1 : -1;
            }
        }
        ASSERT_NE(aliceWon, -1) << "no winner in 600 rounds";
        const std::unique_ptr<GameRecord> final =
            mAlice->post("Game/getGameState", {}, {}, {{"gameid", std::to_string(id)}})
                .game("Alice");
        ASSERT_NE(final, nullptr);
        EXPECT_TRUE(final->mIsComplete);
        EXPECT_EQ(final->getLocalPlayerGameState("Alice"), cNotActive);
        EXPECT_EQ(final->getLocalPlayer()->mSubstatus,
                  aliceWon == 1 ? cSubstatusWon : cSubstatusLost);
        EXPECT_EQ(final->getOpponent()->mStatus, cGameInactive);
        EXPECT_EQ(final->getOpponent()->mSubstatus, aliceWon == 1 ? cSubstatusLost : cSubstatusWon);
        EXPECT_TRUE(loads(stateOf(*final), 0));
        std::printf("run %d: Alice %s after %zu turns\n", run, aliceWon == 1 ? "won" : "lost",
                    runs[run].size());
        mServer.reset();
    }
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
