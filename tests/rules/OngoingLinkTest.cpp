#include "BoardTestSupport.h"

namespace {

class OngoingLinkTest : public BoardRulesTest {
protected:
    // source linked to target by an attack action of its own.
    CandidateAction* link(Entity* source, Entity* target) {
        CandidateAction* made = action(cActionAttack, source->mId);
        made->mTargetEntity = target->mId;
        EXPECT_TRUE(source->startOngoingAttack(target->mId, made));
        return made;
    }
    // An action of source aimed at target, after the one that linked.
    CandidateAction* later(int32_t type, Entity* source, Entity* target) {
        CandidateAction* made = action(type, source->mId);
        made->mTargetEntity = target != nullptr ? target->mId : -1;
        return made;
    }
};

} // namespace

TEST_F(OngoingLinkTest, AnAttackLinkIsRecordedAndCarriesItsBuffsOver) {
    Entity* sapper = unitAt("sapper", 0, GridSlot(0, 0));
    Entity* foe = unitAt("knight", 1, GridSlot(3, 0));
    equipNew(sapper, "linkCharm");
    CandidateAction* made = link(sapper, foe);
    EXPECT_EQ(sapper->mOngoingTargetEntityID, foe->mId);
    EXPECT_EQ(made->mLinkSourceEntity, sapper->mId);
    EXPECT_EQ(made->mLinkTargetEntity, foe->mId);
    const ActionResultInfo* result = made->findResult(sapper->mId);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->mInitialOngoingTarget, -1);
    EXPECT_EQ(result->mFinalOngoingTarget, foe->mId);
    EXPECT_TRUE(result->mEstablishedOngoingLink);
    EXPECT_TRUE(foe->hasEquippedProto(proto("linkCharm")));
    EXPECT_EQ(foe->mInventory->getEntityAtIndex(0)->mCreatorEntityID, sapper->mId);

    // Linking anew breaks the old link first; the record still starts at -1.
    Entity* other = unitAt("knight", 1, GridSlot(2, 1));
    CandidateAction* relink = link(sapper, other);
    const ActionResultInfo* second = relink->findResult(sapper->mId);
    EXPECT_EQ(second->mInitialOngoingTarget, -1);
    EXPECT_TRUE(second->mBrokeOngoingLink);
    EXPECT_FALSE(foe->hasEquippedProto(proto("linkCharm")));
    EXPECT_TRUE(other->hasEquippedProto(proto("linkCharm")));

    // Only entities with an ongoing attack link.
    Entity* knight = unitAt("knight", 0, GridSlot(0, 4));
    EXPECT_FALSE(knight->startOngoingAttack(foe->mId, nullptr));
    EXPECT_FALSE(sapper->startOngoingAttack(999, nullptr));
}

TEST_F(OngoingLinkTest, ALinkOfRangeThreeBreaksAtFour) {
    Entity* sapper = unitAt("sapper", 0, GridSlot(0, 0));
    Entity* foe = unitAt("knight", 1, GridSlot(2, 1));
    link(sapper, foe);
    CandidateAction* step = later(cActionMove, foe, nullptr);
    sapper->updateOngoingLink(step);
    EXPECT_EQ(sapper->mOngoingTargetEntityID, foe->mId); // 3 squares
    ASSERT_TRUE(mBoard->placeEntityAt(foe->mId, GridSlot(3, 1)));
    sapper->updateOngoingLink(step);
    EXPECT_EQ(sapper->mOngoingTargetEntityID, -1); // 4 squares
    const ActionResultInfo* result = step->findResult(sapper->mId);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->mBrokeOngoingLink);
    EXPECT_EQ(result->mInitialOngoingTarget, foe->mId);
    EXPECT_EQ(result->mFinalOngoingTarget, -1);
}

TEST_F(OngoingLinkTest, StopRulesOfTheLinkedEntity) {
    struct Row {
        const char* what;
        const char* source;
        int32_t type;
        bool aimAtLinked; // the action's target is the linked unit
        bool byLinkingAction;
        bool targetDown;
        bool breaks;
    };
    const Row rows[] = {
        {"the linking action itself", "sapper", cActionAttack, true, true, false, false},
        {"StopOnAttack: a later attack", "sapper", cActionAttack, false, false, false, true},
        {"StopOnAttack: a later heal", "sapper", cActionHeal, false, false, false, true},
        {"StopOnMove: a later move", "sapper", cActionMove, false, false, false, true},
        {"DontStopOnLinkTarget: attacking the linked unit", "tether", cActionAttack, true, false,
         false, false},
        {"DontStopOnLinkTarget: attacking another", "tether", cActionAttack, false, false, false,
         true},
        {"StopOnMove off", "tether", cActionMove, false, false, false, false},
        {"a knocked-out target", "tether", cActionReturn, false, false, true, true},
    };
    for (const Row& row : rows) {
        reset();
        Entity* source = unitAt(row.source, 0, GridSlot(0, 0));
        Entity* foe = unitAt("knight", 1, GridSlot(2, 0));
        Entity* other = unitAt("knight", 1, GridSlot(0, 1));
        CandidateAction* linking = link(source, foe);
        CandidateAction* step =
            row.byLinkingAction ? linking : later(row.type, source, row.aimAtLinked ? foe : other);
        if (row.targetDown)
            foe->setHealth(0);
        source->updateOngoingLink(step);
        EXPECT_EQ(source->mOngoingTargetEntityID, row.breaks ? -1 : foe->mId) << row.what;
    }
}

TEST_F(OngoingLinkTest, OthersActionsDoNotTriggerTheStopRules) {
    Entity* sapper = unitAt("sapper", 0, GridSlot(0, 0));
    Entity* foe = unitAt("knight", 1, GridSlot(2, 0));
    Entity* ally = unitAt("knight", 0, GridSlot(0, 1));
    link(sapper, foe);
    sapper->updateOngoingLink(later(cActionAttack, ally, foe));
    sapper->updateOngoingLink(nullptr);
    EXPECT_EQ(sapper->mOngoingTargetEntityID, foe->mId);
}

TEST_F(OngoingLinkTest, DamageBreaksALinkThatStopsOnDamage) {
    Entity* sapper = unitAt("sapper", 0, GridSlot(0, 0));
    Entity* foe = unitAt("knight", 1, GridSlot(2, 0));
    link(sapper, foe);
    CandidateAction* hit = executing(cActionAttack, foe->mId);
    sapper->takeDamage(50, cDamagePhysical, 0);
    EXPECT_EQ(sapper->mOngoingTargetEntityID, -1);
    EXPECT_TRUE(hit->findResult(sapper->mId)->mBrokeOngoingLink);
}

TEST_F(OngoingLinkTest, AHealLinkWithAFullHealthItemWaitsForFullHealth) {
    Entity* mender = unitAt("mender", 0, GridSlot(0, 0));
    Entity* ally = unitAt("knight", 0, GridSlot(1, 0));
    Entity* other = unitAt("knight", 0, GridSlot(0, 1));
    ally->mHealth = 300;
    CandidateAction* first = action(cActionHeal, mender->mId);
    mender->startOngoingHeal(ally->mId, first);
    EXPECT_EQ(mender->mOngoingTargetEntityID, -1);
    EXPECT_TRUE(first->mResults.empty());

    mender->startOngoingHeal(other->mId, first);
    EXPECT_EQ(mender->mOngoingTargetEntityID, other->mId);
    EXPECT_TRUE(other->hasEquippedProto(proto("mendMark")));

    // Relinking keeps the earlier target in the record.
    ally->mHealth = 500;
    CandidateAction* second = action(cActionHeal, mender->mId);
    mender->startOngoingHeal(ally->mId, second);
    EXPECT_EQ(second->findResult(mender->mId)->mInitialOngoingTarget, other->mId);
    EXPECT_TRUE(ally->hasEquippedProto(proto("mendMark")));

    // Breaking by range takes the full-health item off the target.
    ASSERT_TRUE(mBoard->placeEntityAt(ally->mId, GridSlot(3, 0)));
    mender->updateOngoingLink(later(cActionMove, ally, nullptr));
    EXPECT_EQ(mender->mOngoingTargetEntityID, -1);
    EXPECT_FALSE(ally->hasEquippedProto(proto("mendMark")));
}
