// The animation variant a unit plays for a requested state, the outcome
// tests of an attack, and the driver lines an entity hands to the scene.

#include "RulesTestSupport.h"

#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/core/RNG.h"

#include "content/DataPath.h"
#include "content/protos/ProtoEntity.h"

#include "tools/scenefakes/HeadlessEntityView.h"
#include "tools/scenefakes/HeadlessSceneServices.h"

namespace {

// Ids: 0 full (every optional variant), 1 plain, 2 crystal (a victory unit
// with a puppet), 3 bare (no puppet).
constexpr const char* cVariantDatabase = R"(<Database>
  <entity name="full"><Type>unit</Type><Hitpoints>100</Hitpoints><Power>100</Power>
    <BigAttackMultiplierThreshold>2</BigAttackMultiplierThreshold><Puppet>Units/Full</Puppet></entity>
  <entity name="plain"><Type>unit</Type><Hitpoints>100</Hitpoints><Power>100</Power>
    <BigAttackMultiplierThreshold>2</BigAttackMultiplierThreshold><Puppet>Units/Plain</Puppet></entity>
  <entity name="crystal"><Type>unit</Type><Hitpoints>100</Hitpoints><VictoryUnit/>
    <Puppet>Units/Plain</Puppet></entity>
  <entity name="bare"><Type>unit</Type><Hitpoints>100</Hitpoints><Power>100</Power></entity>
</Database>)";

enum : int32_t { cFull = 0, cPlain = 1, cPuppetCrystal = 2, cBare = 3 };

class AnimationVariantTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        Database::clear();
        setBaseFolder(TARNWICK_FIXTURES_DIR "/rules/variants");
        ASSERT_TRUE(loadTestDatabase(cVariantDatabase));
    }
    void TearDown() override {
        setBaseFolder({});
        for (CandidateAction* action : mGame->mActions)
            action->release();
        mGame->mActions.clear();
        RulesTest::TearDown();
    }

    // An entity of proto at health percent in state.
    Entity* unit(int32_t proto, int32_t health = 100, int32_t state = cStateDeployedToGameBoard) {
        Entity* made = entity(create(proto));
        if (proto == cPuppetCrystal)
            mGame->mPlayers[0]->mVictoryUnitIds.push_back(made->mId);
        made->mHealth = health;
        made->mState = state;
        return made;
    }
    // A recorded action of source in a playback state.
    CandidateAction* recorded(int32_t source, int32_t playbackState) {
        auto* action = new CandidateAction(mGame, 0);
        action->mSourceEntity = source;
        action->mPlaybackState = playbackState;
        mGame->mActions.push_back(action);
        return action;
    }
};

TEST_F(AnimationVariantTest, IdleOnTheRackAndInTheChest) {
    const struct {
        int32_t proto;
        int32_t state;
        bool localTurn;
        bool turnFinished;
        int32_t expected;
    } cases[] = {
        {cFull, cStateOnTileRack, false, false, cAnimStateSleep},
        {cFull, cStateOnTileRack, true, false, cAnimStateIdleTileRack},
        {cFull, cStateOnTileRack, true, true, cAnimStateSleep},
        {cFull, cStateInTileChest, false, false, cAnimStateSleep},
        // In the chest on one's own turn: the health idle (full health).
        {cFull, cStateInTileChest, true, false, cAnimStateIdleFull},
        // Without the optional states: the health idle.
        {cPlain, cStateOnTileRack, false, false, cAnimStateIdleFull},
        {cFull, cStateDeployedToGameBoard, false, false, cAnimStateIdleFull},
        // No puppet: the request itself.
        {cBare, cStateOnTileRack, false, false, cAnimStateIdle},
    };
    for (const auto& c : cases) {
        mGame->mFlags = static_cast<uint8_t>((c.localTurn ? cGameLocal : 0) |
                                             (c.turnFinished ? cGameTurnFinished : 0));
        const Entity* tile = unit(c.proto, 100, c.state);
        EXPECT_EQ(tile->chooseAnimationVariant(cAnimStateIdle, nullptr, false), c.expected)
            << c.proto << " " << c.state << " " << c.localTurn << " " << c.turnFinished;
    }
}

TEST_F(AnimationVariantTest, IdleByHealth) {
    const struct {
        int32_t proto;
        int32_t health;
        int32_t expected;
    } cases[] = {
        {cPlain, 100, cAnimStateIdleFull},    {cPlain, 95, cAnimStateIdle},
        {cPlain, 55, cAnimStateIdle},         {cPlain, 50, cAnimStateIdleWeak},
        {cPuppetCrystal, 50, cAnimStateIdle}, {cPuppetCrystal, 25, cAnimStateIdleWeak},
        {cBare, 10, cAnimStateIdle},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unit(c.proto, c.health)->chooseAnimationVariant(cAnimStateIdle, nullptr, true),
                  c.expected)
            << c.proto << " at " << c.health;

    // A record gives the fraction: its final one when asked and captured,
    // else its initial one; the unit's own otherwise.
    const Entity* plain = unit(cPlain, 75);
    ActionResultInfo result(plain->mId);
    result.mInitialHealthFraction = 0.4f;
    result.mFinalHealthFraction = 1.0f;
    EXPECT_EQ(plain->chooseAnimationVariant(cAnimStateIdle, &result, true), cAnimStateIdleFull);
    EXPECT_EQ(plain->chooseAnimationVariant(cAnimStateIdle, &result, false), cAnimStateIdleWeak);
    result.mFinalHealthFraction = -1.0f;
    EXPECT_EQ(plain->chooseAnimationVariant(cAnimStateIdle, &result, true), cAnimStateIdle);
}

TEST_F(AnimationVariantTest, BigAndUpgradedAttacks) {
    HeadlessSceneServices services;
    const struct {
        int32_t proto;
        int32_t request;
        int32_t recordedPower; // -1: no record
        int32_t upgradeLevel;
        bool dualWield;
        int32_t expected;
    } cases[] = {
        {cPlain, cAnimStateAttack, -1, 4, false, cAnimStateAttack},
        // Power exactly threshold x Power (2 x 100).
        {cPlain, cAnimStateAttack, 200, 0, false, cAnimStateAttackBig},
        {cPlain, cAnimStateAttack, 199, 0, false, cAnimStateAttack},
        // No recorded power: the unit's own (100 + 50 per upgrade level).
        {cPlain, cAnimStateAttack, 0, 2, false, cAnimStateAttackBig},
        {cPlain, cAnimStateAttack, 0, 1, false, cAnimStateAttack},
        // The recorded power wins over the unit's own when above 0.
        {cPlain, cAnimStateAttack, 150, 4, false, cAnimStateAttack},
        {cFull, cAnimStateAttackMelee, 200, 0, false, cAnimStateAttackBigMelee},
        {cPlain, cAnimStateAttackMelee, 200, 0, false, cAnimStateAttackBig},
        {cFull, cAnimStateAttack, 200, 0, false, cAnimStateAttackBig},
        {cPlain, cAnimStateAttack, 150, 0, true, cAnimStateAttackUpgrade},
        {cPlain, cAnimStateAttackMelee, 150, 0, true, cAnimStateAttackUpgrade},
        {cPlain, cAnimStateAttack, 200, 0, true, cAnimStateAttackBig},
        {cBare, cAnimStateAttack, 500, 0, true, cAnimStateAttack},
    };
    for (const auto& c : cases) {
        Entity* attacker = unit(c.proto);
        attacker->mPuppetUpgradeLevel = c.upgradeLevel;
        ASSERT_TRUE(attacker->link(cocos2d::CCPoint(0, 0), cocos2d::CCSize(0, 0)));
        static_cast<HeadlessEntityView*>(attacker->getEntityLink())->mDualWielding = c.dualWield;
        ActionResultInfo result(attacker->mId);
        result.mPower = c.recordedPower;
        EXPECT_EQ(attacker->chooseAnimationVariant(c.request,
                                                   c.recordedPower < 0 ? nullptr : &result, false),
                  c.expected)
            << c.proto << " " << c.request << " power " << c.recordedPower << " level "
            << c.upgradeLevel << " dual " << c.dualWield;
        attacker->unlink();
    }
}

TEST_F(AnimationVariantTest, DamagedFallsBackWhenThePuppetLacksTheState) {
    const struct {
        int32_t proto;
        int32_t request;
        int32_t expected;
    } cases[] = {
        {cFull, cAnimStateDamagedMagic, cAnimStateDamagedMagic},
        {cFull, cAnimStateDamagedUpgrade, cAnimStateDamaged},
        {cFull, cAnimStateDamagedMagicBig, cAnimStateDamaged},
        {cPlain, cAnimStateDamagedMagic, cAnimStateDamaged},
        {cBare, cAnimStateDamagedMagic, cAnimStateDamagedMagic},
        // Unlisted states pass through.
        {cFull, cAnimStateDamaged, cAnimStateDamaged},
        {cFull, cAnimStateAbility, cAnimStateAbility},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unit(c.proto)->chooseAnimationVariant(c.request, nullptr, false), c.expected)
            << c.proto << " " << c.request;
}

TEST_F(AnimationVariantTest, TauntsAndDefeatsDrawFromTheCosmeticGenerator) {
    const Entity* plain = unit(cPlain);
    gRng.seed(1234);
    std::vector<int32_t> taunts;
    std::vector<int32_t> defeats;
    for (int i = 0; i < 8; ++i)
        taunts.push_back(plain->chooseAnimationVariant(cAnimStateTaunt, nullptr, false));
    for (int i = 0; i < 12; ++i)
        defeats.push_back(plain->chooseAnimationVariant(cAnimStateDefeated, nullptr, false));
    EXPECT_EQ(taunts, (std::vector<int32_t>{33, 32, 31, 31, 31, 32, 32, 32}));
    EXPECT_EQ(defeats, (std::vector<int32_t>{42, 42, 45, 45, 46, 42, 45, 42, 43, 42, 43, 43}));
    // Without a puppet nothing is drawn.
    const RNG before = gRng;
    EXPECT_EQ(unit(cBare)->chooseAnimationVariant(cAnimStateTaunt, nullptr, false),
              cAnimStateTaunt);
    RNG after = gRng;
    RNG copy = before;
    EXPECT_EQ(copy.randInt(), after.randInt());
}

TEST_F(AnimationVariantTest, ResolvingUsesThePlayingActionsRecord) {
    const Entity* plain = unit(cPlain, 100);
    EXPECT_EQ(plain->getPlayingActionResult(), nullptr);
    CandidateAction* playing = recorded(plain->mId, cPlaybackPlaying);
    playing->getOrCreateResult(plain->mId)->mInitialHealthFraction = 0.3f;
    EXPECT_EQ(plain->getPlayingActionResult(), playing->findResult(plain->mId));
    EXPECT_EQ(plain->resolveAnimationState(cAnimStateIdle, false), cAnimStateIdleWeak);
    // An action whose views are being set to their final state comes first.
    CandidateAction* applying = recorded(plain->mId, cPlaybackRestoringInitialState);
    applying->getOrCreateResult(plain->mId)->mInitialHealthFraction = 0.8f;
    EXPECT_EQ(plain->resolveAnimationState(cAnimStateIdle, false), cAnimStateIdle);
    // Without a puppet the request stands.
    const Entity* bare = unit(cBare, 10);
    EXPECT_EQ(bare->resolveAnimationState(cAnimStateIdle, false), cAnimStateIdle);
}

TEST_F(AnimationVariantTest, DriverLinesReachTheSceneServices) {
    HeadlessSceneServices services;
    Entity* plain = unit(cPlain);
    plain->mSlot = GridSlot(2, 1);
    plain->playAnimation(cAnimStateAttack, GridSlot(2, 1), GridSlot(4, 1), 0.5f);
    plain->playAnimationInPlace(cAnimStateAbility, GridSlot(3, 1), 0.25f);
    plain->playHitAnimation(cAnimStateDamaged, GridSlot(2, 1), GridSlot(1, 1));
    using A = HeadlessSceneServices::Animation;
    ASSERT_EQ(services.mAnimations.size(), 3u);
    EXPECT_EQ(services.mAnimations[0].mKind, A::cPlay);
    EXPECT_EQ(services.mAnimations[0].mToward, GridSlot(4, 1));
    EXPECT_FLOAT_EQ(services.mAnimations[0].mDelay, 0.5f);
    EXPECT_TRUE(services.mAnimations[0].mEnd.isNone());
    EXPECT_EQ(services.mAnimations[1].mKind, A::cInPlace);
    EXPECT_EQ(services.mAnimations[1].mState, cAnimStateAbility);
    EXPECT_EQ(services.mAnimations[2].mKind, A::cHit);
    EXPECT_EQ(services.mAnimations[2].mEntity, plain);
}

TEST_F(AnimationVariantTest, VisualDelay) {
    const struct {
        int32_t proto;
        bool arcing;
        int32_t magnet;
        int32_t recordedPower; // -1: no record of the source
        float expected;
    } cases[] = {
        {cBare, false, 0, -1, 0.1f},   {cPlain, true, 0, -1, 0.6f},   {cPlain, true, 2, 500, 0.6f},
        {cPlain, false, 2, 500, 1.0f}, {cPlain, false, 2, 100, 0.3f}, {cPlain, false, 2, -1, 0.3f},
        {cPlain, false, 0, 500, 0.1f},
    };
    for (const auto& c : cases) {
        const Entity* source = unit(c.proto);
        ProtoAttackInfo& attack = *source->getProto()->mAttackInfo;
        attack.mArcingKnockback = c.arcing;
        attack.mMagnetRange = c.magnet;
        CandidateAction* action = recorded(source->mId, cPlaybackPlaying);
        if (c.recordedPower >= 0)
            action->getOrCreateResult(source->mId)->mPower = c.recordedPower;
        EXPECT_FLOAT_EQ(action->getVisualDelay(), c.expected)
            << c.proto << " " << c.arcing << " " << c.magnet << " " << c.recordedPower;
    }
    // A source that is gone, or a proto without an attack part.
    CandidateAction* orphan = recorded(99, cPlaybackPlaying);
    EXPECT_FLOAT_EQ(orphan->getVisualDelay(), 0.1f);
    const Entity* source = unit(cPlain);
    source->getProto()->mAttackInfo.reset();
    EXPECT_FLOAT_EQ(recorded(source->mId, cPlaybackPlaying)->getVisualDelay(), 0.1f);
}

TEST_F(AnimationVariantTest, OutcomeTests) {
    const Entity* source = unit(cPlain);
    ProtoEntity& proto = *source->getProto();
    ProtoAttackInfo& attack = *proto.mAttackInfo;
    const Entity* target = unit(cBare);
    const Entity* crystal = unit(cPuppetCrystal);

    struct Record {
        const Entity* entity;
        int32_t initialState;
        int32_t finalState;
        float initialHealth;
    };
    const auto action = [&](std::initializer_list<Record> records) {
        CandidateAction* made = recorded(source->mId, cPlaybackPlaying);
        for (const Record& r : records) {
            ActionResultInfo* result = made->getOrCreateResult(r.entity->mId);
            result->mInitialState = r.initialState;
            result->mFinalState = r.finalState;
            result->mInitialHealthFraction = r.initialHealth;
        }
        return made;
    };
    const int32_t board = cStateDeployedToGameBoard;

    // Raised dead: a record of the RaiseDead proto that started Dead.
    proto.mRaiseDeadProto = cBare;
    EXPECT_TRUE(action({{target, cStateDead, board, 1.0f}})->raisedDead());
    EXPECT_FALSE(action({{target, cStateKnockedOut, board, 1.0f}})->raisedDead());
    EXPECT_FALSE(action({{crystal, cStateDead, board, 1.0f}})->raisedDead());
    proto.mRaiseDeadProto = -1;
    EXPECT_FALSE(action({{target, cStateDead, board, 1.0f}})->raisedDead());

    // Executed: from the board to knocked out or dead at low health.
    attack.mExecute = true;
    EXPECT_TRUE(action({{target, board, cStateKnockedOut, 0.5f}})->executedLowHealthTarget());
    EXPECT_TRUE(action({{target, board, cStateDead, 0.2f}})->executedLowHealthTarget());
    EXPECT_FALSE(action({{target, board, cStateDead, 0.55f}})->executedLowHealthTarget());
    EXPECT_FALSE(action({{crystal, board, cStateDead, 0.5f}})->executedLowHealthTarget())
        << "0.5 is not low for a victory unit";
    EXPECT_FALSE(action({{target, board, board, 0.1f}})->executedLowHealthTarget());
    attack.mExecute = false;
    EXPECT_FALSE(action({{target, board, cStateDead, 0.2f}})->executedLowHealthTarget());

    // Cut down: another entity that was not low.
    attack.mCutdownBonus = 20;
    EXPECT_TRUE(action({{source, board, board, 0.1f}, {target, board, board, 0.9f}})
                    ->cutDownHealthyTarget());
    EXPECT_FALSE(action({{source, board, board, 1.0f}, {target, board, board, 0.5f}})
                     ->cutDownHealthyTarget());
    attack.mCutdownBonus = 0;
    EXPECT_FALSE(action({{target, board, board, 0.9f}})->cutDownHealthyTarget());

    // Exploded corpse: knocked out to dead.
    attack.mCorpseExplosion = 0.5f;
    EXPECT_TRUE(action({{target, cStateKnockedOut, cStateDead, 0.0f}})->explodedCorpse());
    EXPECT_FALSE(action({{target, board, cStateDead, 0.0f}})->explodedCorpse());
    attack.mCorpseExplosion = 0.0f;
    EXPECT_FALSE(action({{target, cStateKnockedOut, cStateDead, 0.0f}})->explodedCorpse());

    // A record of an entity that does not exist counts for nothing.
    CandidateAction* ghost = recorded(source->mId, cPlaybackPlaying);
    ghost->mResults.push_back(new ActionResultInfo(77));
    ghost->mResults.back()->mInitialState = cStateKnockedOut;
    ghost->mResults.back()->mFinalState = cStateDead;
    attack.mCorpseExplosion = 0.5f;
    EXPECT_FALSE(ghost->explodedCorpse());
}

} // namespace
