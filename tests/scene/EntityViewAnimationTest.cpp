// The entity animation driver through the rules' entry points: how long a
// state's visual runs before the entity reports its step, where the node
// ends, the hit reactions' timing and what deaths, revivals and taunts do to
// the view's parts.

#include "EntityViewTestSupport.h"

#include "scene/widgets/HealthBar.h"

#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"

#include <cmath>

using namespace cocos2d;

namespace {

struct StepCase {
    const char* name;
    const char* proto;
    int32_t state;
    GridSlot toward;
    bool replaying;
    float seconds; // from the call to the step report
};

// The sums of each row's actions: settle, facing turns, travel, the puppet's
// one-second pose, the sprite rows' fixed timings, the replay lead-in.
const StepCase cStepCases[] = {
    {"MoveThreeSquares", "knight", cAnimStateMove, GridSlot(4, 1), false, 0.995f},
    {"DiagonalStepIsOneSquare", "knight", cAnimStateMove, GridSlot(2, 2), false, 0.395f},
    {"ReplayAddsLeadIn", "knight", cAnimStateMove, GridSlot(4, 1), true, 1.195f},
    {"PuppetAttack", "knight", cAnimStateAttack, GridSlot(3, 1), false, 1.08f},
    {"PuppetAbility", "knight", cAnimStateAbility, GridSlot(3, 1), false, 1.07f},
    {"ArcingAttackerWaitsForItsVictim", "ogre", cAnimStateAttack, GridSlot(3, 1), false, 1.47f},
    {"SpriteMove", "archer", cAnimStateMove, GridSlot(4, 1), false, 0.985f},
    {"SpriteAttackKeepsItsTiming", "archer", cAnimStateAttack, GridSlot(3, 1), false, 1.25f},
    {"SpriteAbility", "archer", cAnimStateAbility, GridSlot(3, 1), false, 1.25f},
    {"SpritePlace", "archer", cAnimStatePlace, GridSlot(1, 1), false, 0.5f},
};

void PrintTo(const StepCase& row, std::ostream* out) {
    *out << row.name;
}

class EntityAnimationStepTest : public EntityViewTest,
                                public ::testing::WithParamInterface<StepCase> {};

bool near(const CCPoint& a, const CCPoint& b) {
    return std::fabs(a.x - b.x) < 0.5f && std::fabs(a.y - b.y) < 0.5f;
}

} // namespace

TEST_P(EntityAnimationStepTest, ReportsTheStepOnceWhenItsActionsEnd) {
    const StepCase& row = GetParam();
    EntityView* unit = view(row.proto, 0, GridSlot(1, 1));
    ASSERT_NE(unit, nullptr);
    mGame->mReplaying = row.replaying;
    unit->entity()->playAnimation(row.state, GridSlot(1, 1), row.toward, 0.0f);
    run(row.seconds - 0.05f);
    EXPECT_EQ(mGame->mStepsDone, 0);
    run(0.1f);
    EXPECT_EQ(mGame->mStepsDone, 1);
    run(1.0f);
    EXPECT_EQ(mGame->mStepsDone, 1);
    if (row.state == cAnimStateMove) {
        EXPECT_TRUE(near(unit->getMainNode()->getPosition(),
                         mGame->mGameBoard->pointForCoords(row.toward, true)));
    }
    EXPECT_FLOAT_EQ(unit->getMainNode()->getRotation(), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Rows, EntityAnimationStepTest, ::testing::ValuesIn(cStepCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntityViewTest, HitReactionsWaitForEveryHitDelay) {
    struct Case {
        std::vector<float> delays;
        float before; // the node still stands on its square
        float after;  // the node stands on the toward square
    };
    const Case cases[] = {
        {{}, 0.0f, 0.15f},                  // no hits: at once
        {{0.3f}, 0.25f, 0.45f},             // one hit: after its delay
        {{0.2f, 0.2f, 0.2f}, 0.55f, 0.75f}, // three: two flinches first
    };
    int32_t column = 1;
    for (const Case& hit : cases) {
        EntityView* unit = view("knight", 0, GridSlot(column, 1));
        ASSERT_NE(unit, nullptr);
        const CCPoint start = unit->getMainNode()->getPosition();
        const GridSlot toward(column, 2);
        CandidateAction::hitDelays() = hit.delays;
        unit->entity()->playHitAnimation(cAnimStateDamaged, GridSlot(column, 1), toward);
        if (hit.before > 0.0f) {
            run(hit.before);
            EXPECT_TRUE(near(unit->getMainNode()->getPosition(), start)) << hit.delays.size();
        }
        run(hit.after - hit.before);
        EXPECT_TRUE(near(unit->getMainNode()->getPosition(),
                         mGame->mGameBoard->pointForCoords(toward, true)))
            << hit.delays.size();
        column += 2;
    }
    CandidateAction::hitDelays().clear();
}

TEST_F(EntityViewTest, DeathHidesTheViewsPartsAndRevivalShowsTheBar) {
    EntityView* unit = view("knight");
    ASSERT_NE(unit, nullptr);
    unit->showAura(9, false, 0.0f, false);
    unit->entity()->playAnimationInPlace(cAnimStateDeath, GridSlot(1, 1), 0.0f);
    run(0.6f);
    EXPECT_FALSE(unit->getHealthBar()->getIsVisible());
    EXPECT_FALSE(unit->isAuraShown(9));
    EXPECT_EQ(unit->puppet()->getOpacity(), 0);
    unit->entity()->playAnimationInPlace(cAnimStateRevived, GridSlot(1, 1), 0.0f);
    run(0.2f);
    EXPECT_TRUE(unit->getHealthBar()->getIsVisible());
    EXPECT_EQ(mGame->mStepsDone, 0);
}

TEST_F(EntityViewTest, ATauntsEndRunsTheTauntFinishedStep) {
    EntityView* unit = view("knight");
    ASSERT_NE(unit, nullptr);
    mGame->mTauntsRunning = 2;
    unit->entity()->playAnimationInPlace(cAnimStateTaunt, GridSlot(1, 1), 0.3f);
    run(0.2f);
    EXPECT_EQ(mGame->mTauntsRunning, 2);
    run(0.3f);
    EXPECT_EQ(mGame->mTauntsRunning, 1);
    EXPECT_EQ(mGame->mStepsDone, 0);
}

TEST_F(EntityViewTest, AnArcingKnockbackJumpsSixtyHighWithAFullTurn) {
    struct Case {
        const char* attacker;
        float height; // above the straight line halfway
        float turn;   // rotation at the end
    };
    const Case cases[] = {{"ogre", 60.0f, 360.0f}, {"knight", 0.0f, 0.0f}};
    int32_t row = 0;
    for (const Case& hit : cases) {
        Entity* attacker = make(hit.attacker, 1, GridSlot(0, row));
        EntityView* victim = view("knight", 0, GridSlot(1, row));
        ASSERT_NE(victim, nullptr);
        auto* action = new CandidateAction(mGame, 0);
        action->mSourceEntity = attacker->mId;
        mGame->mPlayingAction = action;
        const float time = action->getVisualDelay();
        const GridSlot toward(3, row);
        const CCPoint from = victim->getMainNode()->getPosition();
        const CCPoint to = mGame->mGameBoard->pointForCoords(toward, true);
        victim->entity()->playAnimation(cAnimStateDamaged, GridSlot(1, row), toward, 0.0f);
        run(time / 2);
        EXPECT_NEAR(victim->getMainNode()->getPosition().y - (from.y + to.y) / 2, hit.height, 2.0f)
            << hit.attacker;
        run(time / 2 + 0.05f);
        EXPECT_TRUE(near(victim->getMainNode()->getPosition(), to)) << hit.attacker;
        EXPECT_FLOAT_EQ(victim->getMainNode()->getRotation(), hit.turn) << hit.attacker;
        mGame->mPlayingAction = nullptr;
        action->release();
        row += 2;
    }
}

TEST_F(EntityViewTest, AnAttackMoveTravelsForItsAttackTagsTime) {
    // Three squares would take 0.45 s; the charge's tag lands at 0.2 s.
    EntityView* charger = view("ogre", 0, GridSlot(1, 1));
    ASSERT_NE(charger, nullptr);
    const GridSlot stand(3, 1);
    charger->entity()->playAnimation(cAnimStateAttackMove, GridSlot(1, 1), GridSlot(4, 1), 0.0f,
                                     stand);
    run(0.06f + 0.15f);
    EXPECT_FALSE(near(charger->getMainNode()->getPosition(),
                      mGame->mGameBoard->pointForCoords(stand, true)));
    run(0.08f);
    EXPECT_TRUE(near(charger->getMainNode()->getPosition(),
                     mGame->mGameBoard->pointForCoords(stand, true)));
}
