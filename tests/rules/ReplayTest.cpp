// The replay of a recorded turn when a saved game is opened, the taunts and
// the rack refill around it, and the ponder loop, on the hand clock of the
// headless scene with the driver stand-in.

#include "PlaybackTestSupport.h"

#include "rules/GameRecord.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t cReplayGameId = 77;

bool near(float a, float b) {
    return std::fabs(a - b) < 1e-3f;
}

} // namespace

class ReplayTest : public PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        mRecord = &mGames.addRecord(cReplayGameId, 0, 1);
        mGame->mGameID = cReplayGameId;
        mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
    }
    void TearDown() override {
        if (mOpened != nullptr) {
            mOpened->unlink(false);
            mOpened->release();
        }
        PlaybackTest::TearDown();
    }

    // Player 0's turn of three Moves, with a knock-out fade and player 0's
    // taunts queued, saved as player 1 receives it.
    std::vector<uint8_t> recordedTurn() {
        mWalkers = {unit("soldier", 0, 1, 0), unit("soldier", 0, 1, 2), unit("soldier", 0, 1, 4)};
        Entity* fallen = unit("soldier", 1, 5, 0);
        for (int32_t i = 0; i < 3; ++i)
            mGame->performAction(
                prepare(cActionMove, mWalkers[static_cast<size_t>(i)], GridSlot(3, i * 2)));
        for (CandidateAction* action : mGame->mActions)
            action->finish(true);
        mGame->mKnockOutFades.push_back(
            std::make_unique<KnockOutFadeInfo>(KnockOutFadeInfo{fallen->mId, GridSlot(5, 0)}));
        for (Entity* walker : mWalkers)
            mGame->mTaunts.push_back(
                std::make_unique<TauntInfo>(TauntInfo{walker->mId, cAnimStateTaunt}));
        return mGame->saveToBuffer();
    }
    // The blob opened by player 1 with views, as the scene opens a game.
    Game* open(const std::vector<uint8_t>& blob) {
        mOpened = new Game();
        mOpened->mCurrentPlayer = 1;
        EXPECT_TRUE(mOpened->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()),
                                            cReplayGameId, true));
        gCurrentGame = mOpened;
        mScene->setGame(mOpened);
        mOpened->linkAt(cocos2d::CCPoint(0.0f, 0.0f), false);
        mDriver->mAnimations.clear();
        mScene->mCalls.clear();
        return mOpened;
    }
    // The driver's lines of a state, in order.
    std::vector<Line> linesIn(int32_t state) const {
        std::vector<Line> found;
        for (const Line& line : mDriver->mAnimations)
            if (line.mState == state)
                found.push_back(line);
        return found;
    }

    FakeGamesList mGames;
    GameRecord* mRecord = nullptr;
    std::vector<Entity*> mWalkers;
    Game* mOpened = nullptr;
};

class ReplayTauntsTest : public ReplayTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ReplayTauntsTest, ThreeActionsPlayOneAtATimeThenTheStateAsOpenedReturns) {
    const int32_t playTaunt = GetParam();
    mRecord->mPlayers[1]->mPlayTaunt = playTaunt;
    Game* game = open(recordedTurn());
    const std::vector<uint8_t> asOpened = game->saveToBuffer();

    EXPECT_TRUE(game->startReplay());
    EXPECT_TRUE(game->isReplaying());
    EXPECT_EQ(sceneCalls("hideTurnControls").size(), 1u);
    std::vector<int32_t> order;
    for (int32_t step = 0; step < 300 && game->isReplaying(); ++step) {
        // One action plays at a time.
        int32_t playing = 0;
        for (const CandidateAction* action : game->mActions)
            playing += action->mPlaybackState == cPlaybackPlaying ? 1 : 0;
        EXPECT_LE(playing, 1);
        tick(0.01f);
    }
    ASSERT_FALSE(game->isReplaying());
    for (const Line& line : linesIn(cAnimStateMove))
        order.push_back(line.mToward.y);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 2, 4}));

    // Back to the state as opened, with the turn's start shown.
    EXPECT_EQ(game->saveToBuffer(), asOpened);
    EXPECT_EQ(sceneCalls("turnStarted").size(), 1u);
    const std::vector<Line> deaths = linesIn(cAnimStateDeath);
    ASSERT_EQ(deaths.size(), 1u);
    EXPECT_EQ(deaths[0].mOwn, GridSlot(5, 0));
    // The opponent's taunts when the player asks for them, else none.
    EXPECT_EQ(linesIn(cAnimStateTaunt).size(), playTaunt == 1 ? 3u : 0u);
}

INSTANTIATE_TEST_SUITE_P(PlayTauntCode, ReplayTauntsTest, ::testing::Values(0, 1));

TEST_F(ReplayTest, ASkipInMidPlaybackLeavesTheStateAsOpened) {
    Game* game = open(recordedTurn());
    const std::vector<uint8_t> asOpened = game->saveToBuffer();
    ASSERT_TRUE(game->startReplay());
    tick(0.7f);
    ASSERT_TRUE(game->isReplaying());
    game->skipReplay();
    EXPECT_FALSE(game->isReplaying());
    EXPECT_EQ(game->findAction(cPlaybackPlaying), nullptr);
    EXPECT_EQ(game->mPlayingAction, nullptr);
    // Nothing left running refers to the entities or actions reloaded.
    tick(3.0f);
    EXPECT_EQ(game->saveToBuffer(), asOpened);
}

TEST_F(ReplayTest, WithoutRecordedActionsTheOpponentsTauntsPlaySpreadOverASecondAndAHalf) {
    // Player 0 ended the turn with taunts; player 1 opens the game.
    std::vector<Entity*> taunters = {unit("soldier", 0, 1, 0), unit("soldier", 0, 1, 3),
                                     unit("soldier", 0, 1, 4)};
    unit("soldier", 1, 5, 1);
    for (Entity* taunter : taunters)
        mGame->mTaunts.push_back(
            std::make_unique<TauntInfo>(TauntInfo{taunter->mId, cAnimStateTaunt2}));
    Game* game = open(mGame->saveToBuffer());
    EXPECT_FALSE(game->startReplay());
    EXPECT_FALSE(game->isReplaying());
    const std::vector<Line> taunts = linesIn(cAnimStateTaunt2);
    ASSERT_EQ(taunts.size(), 3u);
    EXPECT_TRUE(near(taunts[0].mDelay, 0.0f));
    EXPECT_TRUE(near(taunts[1].mDelay, 0.5f));
    EXPECT_TRUE(near(taunts[2].mDelay, 1.0f));
    EXPECT_EQ(game->mTauntsRunning, 3);
    tick(1.5f + cStep + 0.05f);
    EXPECT_EQ(game->mTauntsRunning, 0);
    // The taunted side reacts.
    EXPECT_FALSE(linesIn(cAnimStateTauntReaction).empty());

    // A taunt whose unit is gone is passed over; each starts by its place
    // in the whole list.
    game->mTaunts.insert(game->mTaunts.begin() + 1,
                         std::make_unique<TauntInfo>(TauntInfo{999, cAnimStateTaunt}));
    mDriver->mAnimations.clear();
    game->playTaunts(0);
    const std::vector<Line> again = linesIn(cAnimStateTaunt2);
    ASSERT_EQ(again.size(), 3u);
    EXPECT_TRUE(near(again[1].mDelay, 1.0f));
    EXPECT_TRUE(near(again[2].mDelay, 1.5f));
}

TEST_F(ReplayTest, FourNewTilesAreThrownInTurnWithRisingPitchAndOnlyOnce) {
    SoundRecorder sounds;
    std::vector<int32_t> fresh;
    for (int32_t x = 0; x < 4; ++x)
        fresh.push_back(tile("soldier", 0, x)->mId);
    showGame();
    mGame->mNewRackTileIds = fresh;
    mGame->animateRackRefill(0.2f);
    EXPECT_EQ(mGame->mFlownRackTileIds, fresh);

    // The times and pitches of the throws.
    std::vector<std::pair<float, std::string>> throws;
    size_t seen = sounds.calls().size();
    for (int32_t step = 1; step <= 200; ++step) {
        tick(0.01f);
        const std::vector<std::string>& calls = sounds.calls();
        for (; seen < calls.size(); ++seen) {
            const std::string& call = calls[seen];
            if (call.find("Game_Tile_Throw_To_Rack") != std::string::npos &&
                seen + 1 < calls.size())
                throws.push_back({static_cast<float>(step) * 0.01f, calls[seen + 1]});
        }
    }
    const float times[] = {0.5f, 0.65f, 0.8f, 0.95f};
    const char* pitches[] = {" 1", " 1.1", " 1.2", " 1.3"};
    ASSERT_EQ(throws.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(throws[i].first, times[i], 0.015f) << i;
        EXPECT_EQ(throws[i].second.rfind("setEffectPitch", 0), 0u) << throws[i].second;
        EXPECT_EQ(throws[i].second.substr(throws[i].second.rfind(' ')), pitches[i]) << i;
    }

    // Not again, not even after the game is reloaded.
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    ASSERT_TRUE(mGame->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), cReplayGameId,
                                      false));
    mGame->mNewRackTileIds = fresh;
    showGame();
    auto thrown = [&] {
        int32_t count = 0;
        for (const std::string& file : sounds.played())
            count += file.find("Game_Tile_Throw_To_Rack") != std::string::npos ? 1 : 0;
        return count;
    };
    mGame->animateRackRefill(0.0f);
    tick(1.5f);
    EXPECT_EQ(thrown(), 4);
}

TEST_F(ReplayTest, PonderLoopHoldsNestAndAStopWithoutAStartChangesNothing) {
    SoundRecorder sounds;
    auto loops = [&] {
        int32_t count = 0;
        for (const std::string& file : sounds.played())
            count += file.find("Game_Ponder_LP") != std::string::npos ? 1 : 0;
        return count;
    };
    auto stops = [&] {
        int32_t count = 0;
        for (const std::string& call : sounds.calls())
            count += call.rfind("stopEffect", 0) == 0 ? 1 : 0;
        return count;
    };
    mGame->stopPonderSound();
    EXPECT_EQ(mGame->mPonderCount, 0);
    EXPECT_EQ(stops(), 0);

    mGame->startPonderSound();
    mGame->startPonderSound();
    EXPECT_EQ(loops(), 1);
    mGame->stopPonderSound();
    tick(0.6f);
    EXPECT_EQ(stops(), 0);
    mGame->stopPonderSound();
    tick(0.6f);
    EXPECT_EQ(stops(), 1);
    EXPECT_EQ(mGame->mPonderCount, 0);
    // A new hold starts the loop again.
    mGame->startPonderSound();
    EXPECT_EQ(loops(), 2);
    mGame->stopPonderSound();
}
