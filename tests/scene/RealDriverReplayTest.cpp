// Saved turns of seeded self-play games on the shipped content, opened as
// the opponent opens them and replayed with the program's entity views and
// animation driver on the hand clock: every replay ends (each visual step
// that playback waits for is reported), also when skipped midway, and the
// replayed game saves to the bytes it was opened from.

#include "ShippedGameTestSupport.h"

#include "scene/EntityView.h"

#include "rules/Entity.h"
#include "rules/SelfPlay.h"
#include "rules/core/RNG.h"

#include "tools/scenefakes/HeadlessReplay.h"

#include <string>

namespace {

// The program's scene services, counting the visuals played on entity views.
class CountingServices : public GameSceneServices {
public:
    void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                             const GridSlot& toward, float delay, const GridSlot& end) override {
        count(entity);
        GameSceneServices::playEntityAnimation(entity, state, own, toward, delay, end);
    }
    void playEntityHitAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                const GridSlot& toward) override {
        count(entity);
        GameSceneServices::playEntityHitAnimation(entity, state, own, toward);
    }
    void count(const Entity* entity) {
        mOnViews += dynamic_cast<const EntityView*>(entity->getEntityLink()) != nullptr ? 1 : 0;
    }
    int32_t mOnViews = 0;
};

class RealDriverReplayTest : public ShippedContentTest,
                             public ::testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        ShippedContentTest::SetUp();
        // Each replay runs a scene of its own; the fixture's comes back.
        mScene->retain();
    }
    void TearDown() override {
        director()->replaceScene(mScene);
        director()->tick(0);
        mScene->release();
        ShippedContentTest::TearDown();
    }
};

} // namespace

TEST_P(RealDriverReplayTest, EveryReplayedTurnEndsAndSavesToTheRecordedBytes) {
    const int32_t seed = GetParam();
    int32_t replays = 0;
    SelfPlayOptions options;
    options.mSeed = seed;
    options.mCivs = {0, 3}; // humans against orcs
    options.mMaxTurns = 30;
    SelfPlay game(options);
    CountingServices services;
    RNG skips;
    skips.seed(static_cast<uint32_t>(seed));
    game.mCheckSavedTurn = [&](const std::vector<uint8_t>& blob, int64_t gameId, int32_t opener) {
        HeadlessReplayOptions opening;
        opening.mOpener = opener;
        opening.mGameId = gameId;
        opening.mServices = &services;
        return HeadlessReplay::check(blob, opening, skips, replays);
    };
    const SelfPlayResult result = game.run();
    ASSERT_TRUE(result.mSetUp);
    for (const std::string& problem : result.mProblems)
        ADD_FAILURE() << problem;
    EXPECT_GT(replays, 3);
    EXPECT_GT(services.mOnViews, 20);
    setSceneServices(&mSceneServices);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RealDriverReplayTest, ::testing::Values(1, 2, 3));
