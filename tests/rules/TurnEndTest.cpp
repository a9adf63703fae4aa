// The end of a turn: once per turn, the knock-out countdown, charges, the
// rack refill (units first, swapped tiles last), taunts; the end of the
// game by victory health and attrition; the turn-start score; the
// statistics of a won game.

#include "TurnTestSupport.h"

#include "rules/AchievementTable.h"
#include "rules/CandidateAction.h"
#include "rules/GameRecord.h"
#include "rules/Graveyard.h"
#include "rules/TileRack.h"

#include <algorithm>

namespace {

TEST_F(TurnTest, FinishTurnRunsOncePerTurn) {
    player(1)->mActionPoints = 0;
    ASSERT_TRUE(mGame->finishTurn(0));
    EXPECT_EQ(mGame->mTurnCount, 2);
    EXPECT_EQ(player(1)->mActionPoints, 5);
    EXPECT_TRUE(player(0)->mHasFinishedTurn);
    EXPECT_EQ(rack(0)->getEntityCount(), 4);

    player(1)->mActionPoints = 3;
    EXPECT_TRUE(mGame->finishTurn(0));
    EXPECT_EQ(mGame->mTurnCount, 2);
    EXPECT_EQ(player(1)->mActionPoints, 3);
}

TEST_F(TurnTest, FinishTurnWithoutTheOtherPlayerChangesNothing) {
    delete mGame->mPlayers[1];
    mGame->mPlayers.pop_back();
    Entity* soldier = unit("soldier", 0, 3, 3, cStateKnockedOut);
    for (int call = 0; call < 2; ++call) {
        EXPECT_FALSE(mGame->finishTurn(0));
        EXPECT_EQ(mGame->mFlags & cGameTurnFinished, 0);
        EXPECT_EQ(mGame->mTurnCount, 1);
        EXPECT_EQ(soldier->mKnockedOutTurns, 0);
    }
}

TEST_F(TurnTest, KnockedOutUnitsCountDownToTheGraveyard) {
    Entity* fresh = unit("soldier", 0, 3, 1, cStateKnockedOut);
    Entity* due = unit("soldier", 0, 3, 3, cStateKnockedOut);
    due->mKnockedOutTurns = 1;
    Entity* enemy = unit("soldier", 1, 4, 3, cStateKnockedOut);
    enemy->mKnockedOutTurns = 1;

    ASSERT_TRUE(mGame->finishTurn(0));
    EXPECT_EQ(fresh->mKnockedOutTurns, 1);
    EXPECT_EQ(fresh->mState, cStateKnockedOut);
    EXPECT_EQ(due->mState, cStateDead);
    EXPECT_EQ(due->mGrid, player(0)->mGraveyard);
    EXPECT_EQ(board()->getEntityIdAt(GridSlot(3, 3)), -1);
    ASSERT_EQ(mGame->mKnockOutFades.size(), 1u);
    EXPECT_EQ(mGame->mKnockOutFades[0]->mEntityId, due->mId);
    EXPECT_EQ(mGame->mKnockOutFades[0]->mSlot, GridSlot(3, 3));
    // Only the current player's units count down.
    EXPECT_EQ(enemy->mKnockedOutTurns, 1);
    EXPECT_EQ(enemy->mState, cStateKnockedOut);
}

TEST_F(TurnTest, LivingBoardUnitsOfTheCurrentPlayerRecharge) {
    Entity* spent = unit("soldier", 0, 3, 1);
    Entity* down = unit("soldier", 0, 3, 3, cStateKnockedOut);
    Entity* enemy = unit("soldier", 1, 4, 3);
    Entity* waiting = tile("soldier", 0, 0);
    for (Entity* entity : {spent, down, enemy, waiting})
        entity->mCharge = 0;
    ASSERT_TRUE(mGame->finishTurn(0));
    EXPECT_EQ(spent->mCharge, 2);
    EXPECT_EQ(down->mCharge, 0);
    EXPECT_EQ(enemy->mCharge, 0);
    EXPECT_EQ(waiting->mCharge, 0);
}

TEST_F(TurnTest, RefillDrawsUnitsFirstOnlyForANewGame) {
    // The chest gives its last tiles first: plates, archers, then soldiers.
    const std::vector<std::string> drawOrder = {"plate",  "plate",   "archer",
                                                "archer", "soldier", "soldier"};
    std::vector<std::string> chestOrder = namesIn(chest());
    std::reverse(chestOrder.begin(), chestOrder.end());
    ASSERT_EQ(chestOrder, drawOrder);

    // Take the soldiers out of the chest so that units and the rest differ.
    emptyChest();
    for (const char* name : {"plate", "archer", "plate", "plate", "archer"}) {
        const int32_t id = mGame->createEntity(proto(name), -1);
        ASSERT_TRUE(chest()->addEntity(id));
    }
    mGame->refillRack(0, true, false);
    std::vector<std::string> drawn = namesIn(rack(0));
    std::sort(drawn.begin(), drawn.end());
    // Two units-only draws take both archers, then the last two plates.
    EXPECT_EQ(drawn, (std::vector<std::string>{"archer", "archer", "plate", "plate"}));
    for (int32_t i = 0; i < rack(0)->getSlotCount(); ++i)
        EXPECT_EQ(rack(0)->getEntityAtIndex(i)->mOwner, 0);
    // The racks of a new game are flown in when it is opened, not recorded here.
    EXPECT_TRUE(mGame->mNewRackTileIds.empty());
    EXPECT_EQ(namesIn(chest()), std::vector<std::string>{"plate"});
}

TEST_F(TurnTest, PuzzleRefillDrawsInChestOrder) {
    emptyChest();
    for (const char* name : {"archer", "plate", "plate", "plate", "plate"})
        ASSERT_TRUE(chest()->addEntity(mGame->createEntity(proto(name), -1)));
    mGame->mPuzzleIndex = 0;
    mGame->refillRack(0, true, false);
    EXPECT_EQ(namesIn(rack(0)), (std::vector<std::string>{"plate", "plate", "plate", "plate"}));
}

TEST_F(TurnTest, RefillDrawsSwappedTilesLast) {
    emptyChest();
    std::vector<int32_t> ids;
    for (const char* name : {"plate", "archer", "soldier"}) {
        ids.push_back(mGame->createEntity(proto(name), -1));
        ASSERT_TRUE(chest()->addEntity(ids.back()));
    }
    // The soldier was swapped into the chest this turn.
    auto* swap = new CandidateAction(mGame, 1);
    swap->mActionType = cActionSwap;
    swap->mSourceEntity = ids[2];
    mGame->mActions.push_back(swap);
    rack(0)->setSize(2, 1);
    mGame->refillRack(0, false, true);
    EXPECT_EQ(namesIn(rack(0)), (std::vector<std::string>{"archer", "plate"}));
    EXPECT_EQ(mGame->mNewRackTileIds, (std::vector<int32_t>{ids[1], ids[0]}));

    // With only the swapped tile left, it is drawn.
    rack(0)->removeEntity(ids[0]);
    mGame->refillRack(0, false, false);
    EXPECT_EQ(namesIn(rack(0)), (std::vector<std::string>{"archer", "soldier"}));
    EXPECT_EQ(chest()->getEntityCount(), 0);
}

struct WinnerCase {
    const char* name;
    bool poolZero0;
    bool poolZero1;
    int32_t turn;
    bool turnFinished;
    bool chestEmpty;
    bool units0;
    bool units1;
    int32_t winner;
    int32_t reason;
};

class WinnerTest : public TurnTest, public ::testing::WithParamInterface<WinnerCase> {};

TEST_P(WinnerTest, DecidesByVictoryHealthThenAttrition) {
    const WinnerCase& c = GetParam();
    Entity* crystals[2] = {at(0, 2), at(6, 2)};
    ASSERT_NE(crystals[0], nullptr);
    ASSERT_NE(crystals[1], nullptr);
    if (c.poolZero0)
        crystals[0]->mHealth = 0;
    if (c.poolZero1)
        crystals[1]->mHealth = 0;
    mGame->mTurnCount = c.turn;
    if (c.turnFinished)
        mGame->mFlags |= cGameTurnFinished;
    if (c.chestEmpty)
        emptyChest();
    if (c.units0)
        unit("soldier", 0, 3, 1);
    if (c.units1)
        unit("soldier", 1, 4, 1);
    int32_t reason = -1;
    EXPECT_EQ(mGame->getWinner(&reason), c.winner);
    EXPECT_EQ(reason, c.reason);
}

// Crystals keep no player in the game here: their proto has KeepsPlayerInGame,
// so a side with its crystal standing still has units.
INSTANTIATE_TEST_SUITE_P(
    Cases, WinnerTest,
    ::testing::Values(
        WinnerCase{"BothPoolsEmpty", true, true, 5, false, true, true, true, 0, 1},
        WinnerCase{"Pool0Empty", true, false, 1, false, false, true, true, 1, 1},
        WinnerCase{"Pool1Empty", false, true, 1, false, false, true, true, 0, 1},
        WinnerCase{"NobodyOnTurn1", false, false, 1, false, true, false, false, -1, 0},
        WinnerCase{"FirstTurnEndNotJudged", false, false, 2, true, true, false, false, -1, 0},
        WinnerCase{"BothHaveUnits", false, false, 2, false, true, true, true, -1, 0}),
    [](const ::testing::TestParamInfo<WinnerCase>& info) { return std::string(info.param.name); });

TEST_F(TurnTest, AttritionWaitsForTheSharedChest) {
    // Player 0's crystal, knocked out with health left, keeps its pool but
    // not its player in the game.
    at(0, 2)->mState = cStateKnockedOut;
    mGame->mTurnCount = 3;
    int32_t winner = 7;
    EXPECT_FALSE(mGame->checkAttritionWinner(winner));
    emptyChest();
    int32_t reason = 0;
    EXPECT_EQ(mGame->getWinner(&reason), 1);
    EXPECT_EQ(reason, 2);
}

TEST_F(TurnTest, WithoutVictoryPoolsNoOneWins) {
    SettingsManager::instance().mUseVictoryHealthPool = false;
    at(0, 2)->mHealth = 0;
    int32_t reason = 5;
    EXPECT_EQ(mGame->getWinner(&reason), -1);
    EXPECT_EQ(reason, 0);
    ASSERT_TRUE(mGame->finishTurn(0));
    EXPECT_FALSE(mGame->mGameOver);
}

TEST_F(TurnTest, TurnEndWithAWinnerEndsTheGame) {
    at(6, 2)->mHealth = 0;
    player(0)->mActionPoints = 2;
    ASSERT_TRUE(mGame->finishTurn(0));
    EXPECT_TRUE(mGame->mGameOver);
    EXPECT_EQ(player(0)->mActionPoints, 0);
    EXPECT_EQ(player(1)->mActionPoints, 0);
}

TEST_F(TurnTest, TurnStartScoreAddsScoreSquaresTimesTheMultiplier) {
    board()->setProtoIndex(cScoreBoard);
    const Entity* first = unit("soldier", 0, 1, 1);
    const Entity* second = unit("archer", 0, 1, 3);
    unit("soldier", 0, 2, 2);                   // the multiplier: 1 + 1
    unit("soldier", 0, 3, 3, cStateKnockedOut); // on no square
    player(0)->mScore = 7;
    mGame->awardTurnStartScore();
    EXPECT_EQ(player(0)->mScore, 7 + 2 * (5 + 5));
    ASSERT_EQ(mGame->mScoreFlyouts.size(), 2u);
    EXPECT_EQ(mGame->mScoreFlyouts[0]->mEntityId, first->mId);
    EXPECT_EQ(mGame->mScoreFlyouts[0]->mPoints, 10);
    EXPECT_FLOAT_EQ(mGame->mScoreFlyouts[0]->mScale, 1.0f);
    EXPECT_EQ(mGame->mScoreFlyouts[1]->mEntityId, second->mId);
    EXPECT_FLOAT_EQ(mGame->mScoreFlyouts[1]->mScale, 1.15f);
    EXPECT_EQ(player(1)->mScore, 0);
}

TEST_F(TurnTest, TurnStartScoreNeedsScoreToWinAndPremiumSquares) {
    unit("soldier", 0, 1, 1);
    mGame->awardTurnStartScore();
    EXPECT_EQ(player(0)->mScore, 0);
    board()->setProtoIndex(cScoreBoard);
    SettingsManager::instance().mScoreToWin = 0;
    mGame->awardTurnStartScore();
    EXPECT_EQ(player(0)->mScore, 0);
    EXPECT_TRUE(mGame->mScoreFlyouts.empty());
}

TEST_F(TurnTest, TauntsQueueEveryLivingUnitAndDrawOnceEach) {
    RNG before = mGame->mRng;
    mGame->chooseTaunts();
    EXPECT_TRUE(mGame->mTaunts.empty());
    EXPECT_EQ(mGame->mRng.randInt(), before.randInt()) << "nothing drawn without candidates";

    const Entity* soldier = unit("soldier", 0, 3, 1);
    unit("soldier", 0, 3, 3, cStateKnockedOut);
    unit("soldier", 1, 4, 1);
    before = mGame->mRng;
    mGame->chooseTaunts();
    ASSERT_EQ(mGame->mTaunts.size(), 1u);
    EXPECT_EQ(mGame->mTaunts[0]->mEntityId, soldier->mId);
    EXPECT_EQ(mGame->mTaunts[0]->mAnimType, 31);
    before.rand();
    EXPECT_EQ(mGame->mRng.randInt(), before.randInt()) << "one real drawn for one taunt";
    EXPECT_EQ(mGame->countTaunts(0), 1);
    EXPECT_EQ(mGame->countTaunts(1), 0);
}

TEST_F(TurnTest, FinishTurnReplacesBothPlayersTaunts) {
    unit("soldier", 0, 3, 1);
    unit("soldier", 0, 3, 3);
    const Entity* enemy = unit("soldier", 1, 4, 1);
    mGame->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{enemy->mId, 31}));
    ASSERT_TRUE(mGame->finishTurn(1));
    EXPECT_EQ(mGame->countTaunts(0), 2);
    EXPECT_EQ(mGame->countTaunts(1), 0);
}

TEST_F(TurnTest, TauntsOfMissingEntitiesAreSkipped) {
    const Entity* mine = unit("soldier", 0, 3, 1);
    const Entity* theirs = unit("soldier", 1, 4, 1);
    for (int32_t id : {mine->mId, 999, theirs->mId, mine->mId})
        mGame->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{id, 31}));
    EXPECT_EQ(mGame->countTaunts(0), 2);
    EXPECT_EQ(mGame->countTaunts(1), 1);
    mGame->clearTaunts(0);
    ASSERT_EQ(mGame->mTaunts.size(), 2u);
    EXPECT_EQ(mGame->mTaunts[0]->mEntityId, 999);
    EXPECT_EQ(mGame->mTaunts[1]->mEntityId, theirs->mId);
}

TEST_F(TurnTest, AWonGameQueuesItsStatistics) {
    FakeGamesList games;
    GameRecord& record = games.addRecord(42, 0, 0);
    record.mWasMatchmade = 1;
    record.mPlayers[0]->mCivName = "humans";
    mGame->mGameID = 42;
    at(6, 2)->mHealth = 0;
    mGame->recordEndOfGameStats();
    std::vector<int32_t> ids;
    for (const AchievementTracker::Record& queued : AchievementTracker::queuedRecords())
        ids.push_back(queued.mId);
    EXPECT_EQ(ids,
              (std::vector<int32_t>{cAchievementWin25, cAchievementWin100, cAchievementWinByCrystal,
                                    cAchievementNoDamageTaken, cAchievementWinRandomGame,
                                    cAchievementCouncilWin, cAchievementCouncilWin50}));
    EXPECT_EQ(AchievementTracker::queuedRecords()[1].mValue, 1);

    // Another civ name records no civ win.
    AchievementTracker::reset();
    record.mPlayers[0]->mCivName = "Humans";
    record.mWasMatchmade = 0;
    at(0, 2)->mHealth -= 100;
    mGame->recordEndOfGameStats();
    EXPECT_EQ(AchievementTracker::queuedRecords().size(), 3u);
}

} // namespace
