// Self-play over the content of tests/fixtures/rules/selfplay: 200 seeded
// games to their end or the turn cap with the invariants checked after
// every action, one seed giving one game, and the invariant checks
// themselves.

#include "ActionsTestSupport.h"

#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/SelfPlay.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

inline const std::string cSelfPlayFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/selfplay";

class SelfPlayTest : public ActionsGameTest {
protected:
    SelfPlayTest() : ActionsGameTest(cSelfPlayFixture) {}

    static SelfPlayOptions options(int32_t seed) {
        SelfPlayOptions chosen;
        chosen.mSeed = seed;
        chosen.mCivs = {0, 1};
        chosen.mMaxTurns = 40;
        chosen.mCheckInvariants = true;
        return chosen;
    }
};

// The 200 games in eight runs of 25 seeds, which the test runner can run side by
// side.
class SelfPlayGamesTest : public SelfPlayTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(SelfPlayGamesTest, KeepTheInvariantsToTheEnd) {
    int32_t wins[2] = {};
    int32_t attrition = 0;
    int32_t turnCaps = 0;
    int32_t actions = 0;
    const int32_t first = GetParam() * 25 + 1;
    for (int32_t seed = first; seed < first + 25; ++seed) {
        const SelfPlayResult result = SelfPlay(options(seed)).run();
        ASSERT_TRUE(result.mSetUp) << "seed " << seed;
        for (const std::string& problem : result.mProblems)
            ADD_FAILURE() << "seed " << seed << ": " << problem;
        EXPECT_FALSE(result.mActionCap) << "seed " << seed;
        EXPECT_TRUE(result.mWinner >= 0 || result.mReason == 2 || result.mTurnCap)
            << "seed " << seed;
        if (result.mWinner >= 0)
            ++wins[result.mWinner];
        attrition += result.mReason == 2 ? 1 : 0;
        turnCaps += result.mTurnCap ? 1 : 0;
        actions += result.mActions;
    }
    std::printf("seeds %d-%d: player 0 won %d, player 1 won %d (%d by attrition), %d at the "
                "turn cap, %d actions\n",
                first, first + 24, wins[0], wins[1], attrition, turnCaps, actions);
    // The games come to an end.
    EXPECT_GT(wins[0] + wins[1], 15);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SelfPlayGamesTest, ::testing::Range(0, 8));

TEST_F(SelfPlayTest, OneSeedPlaysOneGame) {
    std::vector<SelfPlayTurn> turns[2];
    SelfPlayResult results[2];
    for (int run = 0; run < 2; ++run) {
        SelfPlay game(options(17));
        game.mOnTurn = [&](const SelfPlayTurn& turn) { turns[run].push_back(turn); };
        results[run] = game.run();
    }
    ASSERT_FALSE(results[0].mFinalBlob.empty());
    EXPECT_EQ(results[0].mFinalBlob, results[1].mFinalBlob);
    EXPECT_EQ(results[0].mTurns, results[1].mTurns);
    ASSERT_EQ(turns[0].size(), turns[1].size());
    for (size_t i = 0; i < turns[0].size(); ++i)
        EXPECT_EQ(turns[0][i].mActions, turns[1][i].mActions) << "turn " << i + 1;
    EXPECT_NE(SelfPlay(options(18)).run().mFinalBlob, results[0].mFinalBlob);
}

TEST_F(SelfPlayTest, InvariantsFindABrokenGame) {
    GameInvariants invariants;
    EXPECT_TRUE(invariants.check(*mGame).empty());

    Entity* soldier = unit("soldier", 0, 3, 1);
    ASSERT_TRUE(rack(0)->addEntityAt(soldier->mId, GridSlot(0, 0)));
    soldier->mHealth = 7;
    mGame->getPlayer(1)->mActionPoints = -1;
    const std::vector<std::string> problems = invariants.check(*mGame);
    const auto found = [&](const std::string& text) {
        for (const std::string& problem : problems)
            if (problem.find(text) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(found("is in two slots"));
    EXPECT_TRUE(found("does not name its grid and slot"));
    EXPECT_TRUE(found("has health 7"));
    EXPECT_TRUE(found("player 1 has -1 action points"));
}

TEST_F(SelfPlayTest, HealthAboveTheMaximumOnlyAfterAnItemLeft) {
    Entity* soldier = unit("soldier", 0, 3, 1);
    Entity* watch = carry(soldier, "watch");
    GameInvariants invariants;
    soldier->mHealth = 550;
    EXPECT_TRUE(invariants.check(*mGame).empty()) << "the watch raises the maximum to 600";
    ASSERT_TRUE(soldier->removeEquippedItem(watch->mId));
    EXPECT_TRUE(invariants.check(*mGame).empty()) << "the item left: 550 of 500 is allowed";
    soldier->mHealth = 500;
    EXPECT_TRUE(invariants.check(*mGame).empty());
    soldier->mHealth = 550;
    EXPECT_FALSE(invariants.check(*mGame).empty()) << "back at the maximum, the allowance ends";
}

// A games list installed by the process (the service client's, say) is never
// asked: the whole game, set-up included, looks up its own record.
class RefusingGamesList : public GamesList {
public:
    GameRecord* findGame(int64_t) override {
        ++mLookups;
        return nullptr;
    }
    std::string getNickname() const override { return {}; }
    int mLookups = 0;
};

TEST_F(SelfPlayTest, NeverAsksTheProcessGamesList) {
    RefusingGamesList installed;
    GamesList* previous = &gamesList();
    setGamesList(&installed);
    SelfPlayOptions chosen = options(5);
    chosen.mMaxTurns = 2;
    const SelfPlayResult result = SelfPlay(chosen).run();
    setGamesList(previous);
    EXPECT_TRUE(result.mSetUp);
    EXPECT_EQ(installed.mLookups, 0);
}

} // namespace
