// Playback of executed actions: the sequencer that plays one action at a
// time and its sub-actions in order, and each kind of action's visuals, read
// from the driver stand-in's lines, the views' and the scene's calls on the
// hand clock.

#include "PlaybackTestSupport.h"

#include "rules/Player.h"

#include "content/protos/ProjectileInfo.h"
#include "content/protos/ProtoAttackInfo.h"
#include "content/protos/ProtoEntity.h"

#include "puppet/PuppetInstance.h"

#include "platform/engine/CCNode.h"

#include <cmath>

namespace {

bool near(float a, float b) {
    return std::fabs(a - b) < 1e-4f;
}

} // namespace

// The sequencer, driven by direct step reports.
class SequencerTest : public PlaybackTest {
protected:
    // A Move of a fresh unit of player 0 from (x, 0) one square down,
    // executed and recorded in the game, not played.
    CandidateAction* recordedMove(int32_t x) {
        Entity* walker = unit("soldier", 0, x, 0);
        CandidateAction* move = run(cActionMove, walker, GridSlot(x, 1));
        return record(move);
    }
    // The same as a sub-action of parent.
    CandidateAction* subMove(CandidateAction* parent, int32_t x) {
        Entity* walker = unit("soldier", 0, x, 0);
        CandidateAction* move = run(cActionMove, walker, GridSlot(x, 1));
        move->retain();
        move->mIsSubAction = true;
        parent->mSubActions.push_back(move);
        return move;
    }
    Entity* sourceOf(const CandidateAction* action) const { return entity(action->mSourceEntity); }
};

TEST_F(SequencerTest, AnActionThenEachSubActionWhenThePreviousSourceReports) {
    showGame();
    CandidateAction* action = recordedMove(2);
    CandidateAction* first = subMove(action, 3);
    CandidateAction* second = subMove(action, 4);
    Entity* bystander = unit("soldier", 1, 5, 4);
    mGame->processNextVisual();
    EXPECT_EQ(action->mPlaybackState, cPlaybackPlaying);
    EXPECT_EQ(first->mPlaybackState, cPlaybackExecuted);

    // Not a source of the action: ignored.
    EXPECT_FALSE(action->onEntityVisualDone(bystander));
    mGame->onVisualStepDone(bystander);
    EXPECT_EQ(action->mPlaybackState, cPlaybackPlaying);

    mGame->onVisualStepDone(sourceOf(action));
    EXPECT_EQ(action->mPlaybackState, cPlaybackDone);
    EXPECT_EQ(first->mPlaybackState, cPlaybackPlaying);
    EXPECT_EQ(second->mPlaybackState, cPlaybackExecuted);

    mGame->onVisualStepDone(sourceOf(first));
    EXPECT_EQ(first->mPlaybackState, cPlaybackDone);
    EXPECT_EQ(second->mPlaybackState, cPlaybackPlaying);
    mGame->onVisualStepDone(sourceOf(second));
    EXPECT_TRUE(action->isDone());

    // finish gives every sub-action the same state.
    action->finish(false);
    for (const CandidateAction* each : {action, first, second})
        EXPECT_EQ(each->mPlaybackState, cPlaybackExecuted);
    action->finish(true);
    for (const CandidateAction* each : {action, first, second})
        EXPECT_EQ(each->mPlaybackState, cPlaybackDone);
    // The playing-action slot is held only while the visuals start.
    EXPECT_EQ(mGame->mPlayingAction, nullptr);
}

TEST_F(SequencerTest, StartingAnActionFinishesTheOneStillPlaying) {
    showGame();
    CandidateAction* playing = recordedMove(2);
    CandidateAction* next = recordedMove(3);
    playing->processVisuals();
    ASSERT_EQ(playing->mPlaybackState, cPlaybackPlaying);
    next->processVisuals();
    EXPECT_EQ(playing->mPlaybackState, cPlaybackDone);
    EXPECT_EQ(next->mPlaybackState, cPlaybackPlaying);
    // A playing action blocks the sequencer.
    mGame->processNextVisual();
    EXPECT_EQ(next->mPlaybackState, cPlaybackPlaying);
}

TEST_F(SequencerTest, TheSearchStartsAtTheUndoStackTopAndSkipsFailedAndDoneActions) {
    showGame();
    struct Case {
        int32_t snapshots;
        bool failSecond;
        bool finishSecond;
        int32_t started; // index of the action that starts
    };
    const Case cases[] = {{0, false, false, 0},
                          {2, false, false, 1},
                          {3, false, false, 2},
                          {2, true, false, 2},
                          {2, false, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.snapshots);
        CandidateAction* actions[3] = {recordedMove(2), recordedMove(3), recordedMove(4)};
        actions[1]->mFailed = c.failSecond;
        if (c.finishSecond)
            actions[1]->finish(true);
        undoStack().clear();
        for (int32_t i = 0; i < c.snapshots; ++i)
            mGame->pushUndoSnapshot();
        mGame->processNextVisual();
        for (int32_t i = 0; i < 3; ++i)
            EXPECT_EQ(actions[i]->mPlaybackState == cPlaybackPlaying, i == c.started) << i;
        for (CandidateAction* action : actions)
            action->finish(true);
        for (CandidateAction* action : mGame->mActions)
            action->release();
        mGame->mActions.clear();
        for (const CandidateAction* action : actions)
            board()->removeEntity(action->mSourceEntity);
        undoStack().clear();
    }
}

TEST_F(SequencerTest, ActionsThatShowNothingFinishAtOnceAndPlaybackGoesOn) {
    showGame();
    Entity* source = unit("soldier", 0, 1, 1);
    Entity* next = unit("soldier", 0, 2, 3);
    for (int32_t type : {cActionReturn, cActionPlace, cActionUseItem, cActionAttack, cActionHeal,
                         cActionAllyAbility}) {
        SCOPED_TRACE(type);
        // Aimed at an empty square: the target entity is missing.
        CandidateAction* odd = record(prepare(type, source, GridSlot(4, 4)));
        odd->mPlaybackState = cPlaybackExecuted;
        CandidateAction* move =
            record(run(cActionMove, next, GridSlot(next->mSlot.x, 4 - next->mSlot.y)));
        testing::internal::CaptureStdout();
        mGame->processNextVisual();
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(odd->mPlaybackState, cPlaybackDone);
        const bool unhandled =
            type == cActionReturn || type == cActionPlace || type == cActionUseItem;
        EXPECT_EQ(printed, unhandled ? "  CandidateAction::processVisuals() -- action type " +
                                           std::to_string(type) + " not yet handled\n"
                                     : "");
        tick(0.05f);
        EXPECT_EQ(move->mPlaybackState, cPlaybackPlaying);
        move->finish(true);
    }
}

// The visuals of each kind of action on the hand clock.
struct MoveCase {
    GridSlot mTo;
    float mDuration;
};

class MovePlaybackTest : public PlaybackTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MovePlaybackTest, AMoveTakesThreeTenthsOfASecondPerSquare) {
    const MoveCase& c = GetParam();
    Entity* walker = unit("soldier", 0, 1, 1);
    showGame();
    CandidateAction* move = perform(cActionMove, walker, c.mTo);
    const std::vector<Line> lines = linesOf(walker);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].mState, cAnimStateMove);
    EXPECT_EQ(lines[0].mOwn, GridSlot(1, 1));
    EXPECT_EQ(lines[0].mToward, c.mTo);
    // Auras at the end of the walk, the crystal debuffs half-way.
    bool aurasAtEnd = false;
    for (const auto& call : viewOf(walker)->mCalls)
        aurasAtEnd |= call.mName == "hideAura" && near(call.mDelay, c.mDuration);
    EXPECT_TRUE(aurasAtEnd);
    const auto debuffs = sceneCalls("crystalDebuff");
    ASSERT_EQ(debuffs.size(), 2u);
    EXPECT_TRUE(near(debuffs[0].mDelay, c.mDuration * 0.5f));
    tick(cStep + 0.02f);
    EXPECT_EQ(move->mPlaybackState, cPlaybackDone);
}

// Straight over three squares; one square diagonally counts as one.
INSTANTIATE_TEST_SUITE_P(Squares, MovePlaybackTest,
                         ::testing::Values(MoveCase{GridSlot(4, 1), 0.9f},
                                           MoveCase{GridSlot(2, 2), 0.3f}));

TEST_F(PlaybackTest, AMoveBetweenTeleportersTeleportsAndReportsItself) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* walker = unit("porter", 0, 2, 0);
    showGame();
    CandidateAction* move = prepare(cActionMove, walker, GridSlot(4, 4));
    mGame->performAction(move);
    ASSERT_FALSE(move->mFailed);
    for (const Line& line : linesOf(walker))
        EXPECT_NE(line.mState, cAnimStateMove);
    tick(0.1f);
    EXPECT_EQ(move->mPlaybackState, cPlaybackDone);
}

TEST_F(PlaybackTest, AnAttackWithoutTagsHitsAtFourTenthsAndAHealAtFiftyTwoHundredths) {
    Entity* attacker = unit("soldier", 0, 1, 1);
    Entity* target = unit("soldier", 1, 2, 1);
    Entity* medic = unit("medic", 1, 3, 1);
    showGame();
    perform(cActionAttack, attacker, GridSlot(2, 1));
    EXPECT_EQ(CandidateAction::hitDelays(), std::vector<float>{0.4f});
    std::vector<Line> hit = linesOf(target);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_EQ(hit[0].mState, cAnimStateDamaged);
    EXPECT_TRUE(near(hit[0].mDelay, 0.4f));
    ASSERT_FALSE(sceneCalls("damage").empty());
    EXPECT_TRUE(near(sceneCalls("damage")[0].mDelay, 0.4f));
    tick(cStep + 0.02f);

    mGame->mCurrentPlayer = 1;
    mDriver->mAnimations.clear();
    perform(cActionHeal, medic, GridSlot(2, 1));
    EXPECT_EQ(CandidateAction::hitDelays(), std::vector<float>{0.52f});
    ASSERT_EQ(linesOf(medic).size(), 1u);
    EXPECT_EQ(linesOf(medic)[0].mState, cAnimStateAbility);
    hit = linesOf(target);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_TRUE(near(hit[0].mDelay, 0.52f));
}

TEST_F(PlaybackTest, TwoAttackTagsLaunchTwoProjectilesAtTheSummedDelays) {
    // The archer's puppet lands hits at 0.3 s and 0.5 s; its projectiles
    // (the same puppet, slow) fly from those times on.
    ProtoEntity* archer = Database::getProto(proto("archer"));
    archer->mPuppetName = "Units/Striker";
    archer->mPuppetHandle = -1;
    archer->mProjectileInfo = std::make_unique<ProjectileInfo>();
    archer->mProjectileInfo->mMoveType = cProjectileDirect;
    archer->mProjectileInfo->mPuppet = "Units/Striker";
    archer->mProjectileInfo->mSpeed = 10.0f;
    Entity* shooter = unit("archer", 0, 1, 1);
    Entity* target = unit("soldier", 1, 4, 1);
    showGame();
    perform(cActionAttack, shooter, GridSlot(4, 1));
    const std::vector<float>& delays = CandidateAction::hitDelays();
    ASSERT_EQ(delays.size(), 2u);
    EXPECT_TRUE(near(delays[0], 0.3f));
    EXPECT_TRUE(near(delays[1], 0.2f));
    // A reaction per hit.
    const std::vector<Line> hit = linesOf(target);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_EQ(hit[0].mKind, Line::cHit);

    std::vector<PuppetInstance*> projectiles;
    for (cocos2d::CCNode* node : mScene->effectNodes())
        if (auto* puppet = dynamic_cast<PuppetInstance*>(node); puppet && node->getZOrder() >= 1000)
            projectiles.push_back(puppet);
    ASSERT_EQ(projectiles.size(), 2u);
    auto shown = [&] {
        int32_t count = 0;
        for (PuppetInstance* projectile : projectiles)
            count += projectile->getOpacity() > 0 ? 1 : 0;
        return count;
    };
    tick(0.28f);
    EXPECT_EQ(shown(), 0);
    tick(0.05f);
    EXPECT_EQ(shown(), 1);
    tick(0.2f);
    EXPECT_EQ(shown(), 2);
}

struct AttackCase {
    const char* mWhat;
    void (*mChange)(CandidateAction&, ProtoAttackInfo&, ProtoEntity&, Entity& target);
    int32_t mState;
};

class AttackPlaybackTest : public PlaybackTest, public ::testing::WithParamInterface<AttackCase> {};

TEST_P(AttackPlaybackTest, TheAttackAnimationFollowsTheOutcome) {
    const AttackCase& c = GetParam();
    Entity* attacker = unit("soldier", 0, 1, 1);
    Entity* target = unit("soldier", 1, 2, 1);
    showGame();
    CandidateAction* attack = run(cActionAttack, attacker, GridSlot(2, 1));
    // The fixture's protos are loaded again for every test.
    ProtoEntity* proto = Database::getProto(attacker->mProtoId);
    if (proto->mAttackInfo == nullptr)
        proto->mAttackInfo = std::make_unique<ProtoAttackInfo>();
    c.mChange(*attack, *proto->mAttackInfo, *proto, *target);
    attack->processVisuals();
    const std::vector<Line> lines = linesOf(attacker);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].mState, c.mState);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AttackPlaybackTest,
    ::testing::Values(
        AttackCase{"plain", [](CandidateAction&, ProtoAttackInfo&, ProtoEntity&, Entity&) {},
                   cAnimStateAttack},
        AttackCase{"spotted",
                   [](CandidateAction& a, ProtoAttackInfo&, ProtoEntity&, Entity&) {
                       a.findResult(a.mSourceEntity)->mSpotted = true;
                   },
                   cAnimStateAbility},
        AttackCase{"intercept",
                   [](CandidateAction& a, ProtoAttackInfo& info, ProtoEntity&, Entity&) {
                       info.mIntercept = 1;
                       a.findResult(a.mSourceEntity)->mFinalSlot = GridSlot(1, 2);
                   },
                   cAnimStateAttackMove},
        AttackCase{"magnet",
                   [](CandidateAction& a, ProtoAttackInfo& info, ProtoEntity&, Entity& t) {
                       info.mMagnetRange = 2;
                       a.findResult(t.mId)->mFinalSlot = GridSlot(3, 1);
                   },
                   cAnimStateAbility},
        AttackCase{"soul leech",
                   [](CandidateAction& a, ProtoAttackInfo&, ProtoEntity& p, Entity& t) {
                       p.mSoulLeech = true;
                       a.findResult(t.mId)->mInitialState = cStateKnockedOut;
                   },
                   cAnimStateConsume},
        AttackCase{"cut down",
                   [](CandidateAction&, ProtoAttackInfo& info, ProtoEntity&, Entity&) {
                       info.mCutdownBonus = 10;
                   },
                   cAnimStateAbility},
        AttackCase{"whirlwind",
                   [](CandidateAction& a, ProtoAttackInfo& info, ProtoEntity&, Entity& t) {
                       info.mWhirlwind = true;
                       a.findResult(t.mId)->mHealthChange = -10;
                       // The other side's crystal lost health too.
                       const int32_t crystal = a.mGame->mGameBoard->getEntityIdAt(GridSlot(6, 2));
                       a.getOrCreateResult(crystal)->mHealthChange = -10;
                   },
                   cAnimStateAbility},
        AttackCase{"melee animation",
                   [](CandidateAction&, ProtoAttackInfo& info, ProtoEntity&, Entity&) {
                       info.mMeleeAnim = cAnimStateAttackThrow;
                   },
                   cAnimStateAttackThrow}));

TEST_F(PlaybackTest, ASwapShrinksTheTileOrDuringAReplayShowsTheBanner) {
    for (bool replaying : {false, true}) {
        SCOPED_TRACE(replaying);
        Entity* piece = tile("plate", 0, 5);
        showGame();
        CandidateAction* swap =
            record(run(cActionSwap, piece, GridSlot(0, 0), 1, mGame->mTileChest));
        mGame->mFlags = static_cast<uint8_t>(replaying ? mGame->mFlags | cGameReplaying
                                                       : mGame->mFlags & ~cGameReplaying);
        mScene->mCalls.clear();
        swap->processVisuals();
        const auto banners = sceneCalls("banner");
        if (replaying) {
            ASSERT_EQ(banners.size(), 1u);
            EXPECT_EQ(banners[0].mText, "Swapped an item");
            EXPECT_TRUE(near(banners[0].mDuration, 0.75f));
            tick(0.85f);
            EXPECT_EQ(swap->mPlaybackState, cPlaybackPlaying);
            tick(0.1f);
        } else {
            EXPECT_TRUE(banners.empty());
            // The tile in the chest gets a view where it stood.
            ASSERT_NE(viewOf(piece), nullptr);
            tick(0.21f);
            EXPECT_TRUE(near(viewOf(piece)->getMainNode()->getScale(), 0.0f));
        }
        EXPECT_EQ(swap->mPlaybackState, cPlaybackDone);
        mGame->mFlags &= static_cast<uint8_t>(~cGameReplaying);
        mGame->unlink(false);
    }
}

TEST_F(PlaybackTest, TeleportsPowersAndTrainsDoNotStallPlayback) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* runner = unit("soldier", 0, 1, 1);
    unit("soldier", 1, 4, 3);
    Entity* fireball = tile("fireball", 0, 0);
    unit("soldier", 1, 5, 2);
    showGame();
    // A Move onto the SendTrain square, with its train as a sub-action.
    CandidateAction* move = perform(cActionMove, runner, GridSlot(3, 1));
    ASSERT_EQ(move->mSubActions.size(), 1u);
    EXPECT_EQ(move->mPlaybackState, cPlaybackPlaying);
    CandidateAction* cast = perform(cActionCastPower, fireball, GridSlot(5, 2));
    ASSERT_FALSE(cast->mFailed);
    tick(cStep + 0.02f);
    // The train plays once the Move is done.
    EXPECT_EQ(move->mSubActions[0]->mPlaybackState, cPlaybackPlaying);
    tick(5.0f);
    EXPECT_TRUE(move->isDone());
    EXPECT_TRUE(cast->isDone());
}
