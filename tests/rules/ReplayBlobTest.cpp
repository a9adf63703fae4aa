// Every turn of 20 seeded self-play games over the content of
// tests/fixtures/rules/selfplay, opened as the opponent opens it and
// replayed headless on a clock of 1/30 s steps: to its end, and skipped at
// a seeded random tick. The replayed game saves to the bytes it was opened
// from, and each replay ends within 120 s of game time.

#include "ActionsTestSupport.h"

#include "rules/SelfPlay.h"
#include "rules/core/RNG.h"

#include "tools/scenefakes/HeadlessReplay.h"

#include <string>
#include <vector>

namespace {

inline const std::string cSelfPlayFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/selfplay";

} // namespace

// Five games a run, which the test runner can run side by side.
class ReplayBlobTest : public ActionsGameTest, public ::testing::WithParamInterface<int32_t> {
protected:
    ReplayBlobTest() : ActionsGameTest(cSelfPlayFixture) {}
};

TEST_P(ReplayBlobTest, EveryReplayedTurnSavesToTheRecordedBytes) {
    int32_t replays = 0;
    const int32_t first = GetParam() * 5 + 1;
    for (int32_t seed = first; seed < first + 5; ++seed) {
        SelfPlayOptions options;
        options.mSeed = seed;
        options.mCivs = {0, 1};
        options.mMaxTurns = 40;
        SelfPlay game(options);
        RNG skips;
        skips.seed(static_cast<uint32_t>(seed));
        game.mCheckSavedTurn = [&](const std::vector<uint8_t>& blob, int64_t gameId,
                                   int32_t opener) {
            HeadlessReplayOptions opening;
            opening.mOpener = opener;
            opening.mGameId = gameId;
            return HeadlessReplay::check(blob, opening, skips, replays);
        };
        const SelfPlayResult result = game.run();
        ASSERT_TRUE(result.mSetUp) << "seed " << seed;
        for (const std::string& problem : result.mProblems)
            ADD_FAILURE() << "seed " << seed << ": " << problem;
    }
    // The games recorded actions to replay.
    EXPECT_GT(replays, 5);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ReplayBlobTest, ::testing::Values(0, 1, 2, 3));
