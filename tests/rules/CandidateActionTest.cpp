#include "ActionsTestSupport.h"

#include "rules/CandidateAction.h"

#include "content/protos/AuraType.h"

#include "platform/engine/CCNode.h"

namespace {

class CandidateActionTest : public ActionsGameTest {
protected:
    void TearDown() override {
        mActions.clear();
        ActionsGameTest::TearDown();
    }
    int32_t create(const char* name, int32_t owner = 0) {
        return mGame->createEntity(proto(name), owner);
    }
    int32_t onBoard(const char* name, GridSlot slot, int32_t owner = 0,
                    int32_t state = cStateDeployedToGameBoard) {
        return unit(name, owner, slot.x, slot.y, state)->mId;
    }
    void equip(int32_t unitId, const char* name) { carry(entity(unitId), name); }
    CandidateAction* action(int32_t cost = 1) {
        auto* made = new CandidateAction(mGame, cost);
        mActions.emplace_back(made);
        return made;
    }

private:
    struct Releaser {
        void operator()(CandidateAction* a) const { a->release(); }
    };
    std::vector<std::unique_ptr<CandidateAction, Releaser>> mActions;
};

} // namespace

TEST_F(CandidateActionTest, ConstructionSetsTheDefaults) {
    const CandidateAction* fresh = action(3);
    EXPECT_EQ(fresh->mGame, mGame);
    EXPECT_EQ(fresh->mActionPointCost, 3);
    EXPECT_EQ(fresh->mPlaybackState, cPlaybackConstructed);
    EXPECT_EQ(fresh->mSourceEntity, -1);
    EXPECT_EQ(fresh->mActionType, -1);
    EXPECT_EQ(fresh->mSourceSlot, GridSlot(-1, -1));
    EXPECT_EQ(fresh->mInitialVictoryHealthFraction[1], -1.0f);
    EXPECT_EQ(fresh->mFinalAssaultDebuff[0], -1);
    EXPECT_FALSE(fresh->mFailed || fresh->mVisualsStarted || fresh->mIsSubAction);

    const ActionResultInfo record(5);
    EXPECT_EQ(record.mEntityID, 5);
    EXPECT_EQ(record.mInitialAuraFlags.size(), 20u);
    EXPECT_EQ(record.mFinalAuraFlags.size(), 20u);
    EXPECT_EQ(record.mInitialFlags.size(), 2u);
    EXPECT_EQ(record.mFinalFlags.size(), 2u);
    EXPECT_EQ(record.mInitialState, -1);
    EXPECT_EQ(record.mInitialHealthFraction, -1.0f);
    EXPECT_EQ(record.mPower, -1);
    EXPECT_EQ(record.mDestroyedGearProtoID, -1);
    EXPECT_EQ(record.mEquippedGearProtoID, -1);
}

TEST_F(CandidateActionTest, InitRefusesAMissingSourceOrTargetGrid) {
    const auto count = static_cast<int32_t>(mGame->mEntities.size());
    for (const int32_t source : {-1, count, count + 50}) {
        CandidateAction* bad = action();
        EXPECT_FALSE(bad->init(source, cActionMove, GridSlot(0, 0), board())) << source;
        EXPECT_EQ(bad->mPlaybackState, cPlaybackConstructed);
    }
    CandidateAction* noGrid = action();
    EXPECT_FALSE(noGrid->init(0, cActionMove, GridSlot(0, 0), nullptr));
    EXPECT_EQ(noGrid->mPlaybackState, cPlaybackConstructed);
    EXPECT_FALSE(action()->initFromEntity(nullptr, 0, cActionAttack));
}

TEST_F(CandidateActionTest, InitTakesTheSourceAndTargetSquares) {
    const int32_t attacker = onBoard("bomber", GridSlot(1, 1));
    const int32_t target = onBoard("bomber", GridSlot(3, 1), 1, cStateKnockedOut);
    CandidateAction* attack = action();
    ASSERT_TRUE(attack->initFromEntity(entity(target), attacker, cActionAttack));
    EXPECT_EQ(attack->mSourceEntity, attacker);
    EXPECT_EQ(attack->mActionType, cActionAttack);
    EXPECT_EQ(attack->mSourceGrid, cGridGameBoard);
    EXPECT_EQ(attack->mSourceOwner, -1);
    EXPECT_EQ(attack->mSourceSlot, GridSlot(1, 1));
    EXPECT_EQ(attack->mTargetGrid, cGridGameBoard);
    EXPECT_EQ(attack->mTargetSlot, GridSlot(3, 1));
    EXPECT_EQ(attack->mTargetEntity, target);
    EXPECT_EQ(attack->mInitialState, cStateDeployedToGameBoard);
    EXPECT_EQ(attack->mTargetInitialState, cStateKnockedOut);
    EXPECT_EQ(attack->mPlaybackState, cPlaybackReady);

    // A rack tile dropped on an empty board square.
    const int32_t tile = create("bomber", 1);
    ASSERT_TRUE(rack(1)->addEntityAt(tile, GridSlot(2, 0)));
    entity(tile)->mState = cStateOnTileRack;
    CandidateAction* deploy = action();
    ASSERT_TRUE(deploy->init(tile, cActionDeploy, GridSlot(4, 2), board()));
    EXPECT_EQ(deploy->mSourceGrid, cGridTileRack);
    EXPECT_EQ(deploy->mSourceOwner, 1);
    EXPECT_EQ(deploy->mSourceSlot, GridSlot(2, 0));
    EXPECT_EQ(deploy->mTargetEntity, -1);
    EXPECT_EQ(deploy->mTargetInitialState, -1);
}

TEST_F(CandidateActionTest, ASourceOnNoGridStartsWhereItIsAimed) {
    const int32_t fresh = create("bomber", 1);
    CandidateAction* cast = action();
    ASSERT_TRUE(cast->init(fresh, cActionCastPower, GridSlot(2, 0), rack(1)));
    EXPECT_EQ(cast->mSourceGrid, cGridTileRack);
    EXPECT_EQ(cast->mSourceOwner, 1);
    EXPECT_EQ(cast->mSourceSlot, GridSlot(2, 0));
    EXPECT_EQ(cast->mInitialState, -1);
}

TEST_F(CandidateActionTest, ARecordCapturesItsInitialHalfOnlyOnce) {
    const int32_t unit = onBoard("bomber", GridSlot(2, 2));
    entity(unit)->mHealth = 360; // of 600
    CandidateAction* act = action();
    ActionResultInfo* first = act->getOrCreateResult(unit);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->mInitialHealthFraction, 0.6f);
    EXPECT_EQ(first->mInitialSlot, GridSlot(2, 2));
    EXPECT_EQ(first->mInitialCharge, 1);

    entity(unit)->mHealth = 100;
    entity(unit)->mState = cStateKnockedOut;
    EXPECT_EQ(act->getOrCreateResult(unit), first);
    EXPECT_EQ(act->mResults.size(), 1u);
    EXPECT_EQ(first->mInitialHealthFraction, 0.6f);
    EXPECT_EQ(first->mInitialState, cStateDeployedToGameBoard);
    EXPECT_EQ(act->findResult(unit), first);
    EXPECT_EQ(act->findResult(unit + 1), nullptr);
    EXPECT_EQ(act->getOrCreateResult(-1), nullptr);
}

TEST_F(CandidateActionTest, FindResultIgnoresNegativeIds) {
    CandidateAction* act = action();
    act->mResults.push_back(new ActionResultInfo(-1, mGame));
    EXPECT_EQ(act->findResult(-1), nullptr);
}

TEST_F(CandidateActionTest, AurasAndUpgradesComeFromItemsStateAndOwnBuff) {
    struct Case {
        const char* name;
        const char* proto;
        EntityState state;
        std::vector<const char*> items;
        std::vector<int32_t> auras;
        int32_t upgrades;
        bool bloodrage;
    };
    const Case cases[] = {
        {"bare", "bomber", cStateDeployedToGameBoard, {}, {}, 0, false},
        {"knocked out", "bomber", cStateKnockedOut, {}, {cAuraKnockedOut}, 0, false},
        {"own aura on the board",
         "warden",
         cStateDeployedToGameBoard,
         {},
         {cAuraShields},
         0,
         false},
        {"own aura off the board", "warden", cStateCandidateMovement, {}, {}, 0, false},
        {"banner", "bomber", cStateDeployedToGameBoard, {"banner"}, {cAuraPowerSmall}, 1, false},
        // An aura-less buff neither shows nor upgrades.
        {"plain", "bomber", cStateDeployedToGameBoard, {"plainBuff"}, {}, 0, false},
        // Bloodrage upgrades as an aura item and once more as bloodrage.
        {"bloodrage",
         "bomber",
         cStateKnockedOut,
         {"bloodrageBuff", "banner"},
         {cAuraKnockedOut, cAuraBloodrage, cAuraPowerSmall},
         3,
         true},
    };
    int32_t x = 0;
    for (const Case& c : cases) {
        const int32_t unit = onBoard(c.proto, GridSlot(x % 5, x / 5), 0, c.state);
        ++x;
        for (const char* item : c.items)
            equip(unit, item);
        entity(unit)->mPuppetUpgradeLevel = 1;
        const ActionResultInfo record(unit, mGame);
        std::vector<bool> expected(20, false);
        for (const int32_t aura : c.auras)
            expected[static_cast<size_t>(aura)] = true;
        EXPECT_EQ(record.mInitialAuraFlags, expected) << c.name;
        EXPECT_EQ(record.mInitialUpgradeBase, 1) << c.name;
        EXPECT_EQ(record.mInitialPuppetUpgradeLevel, 1 + c.upgrades) << c.name;
        EXPECT_EQ(record.mInitialFlags[ActionResultInfo::cFlagBloodrage], c.bloodrage) << c.name;
        EXPECT_FALSE(record.mInitialFlags[ActionResultInfo::cFlagEquipped]) << c.name;
    }
}

TEST_F(CandidateActionTest, FinalStatesFillTheFinalHalfOfExistingEntities) {
    const int32_t unit = onBoard("bomber", GridSlot(0, 0));
    CandidateAction* act = action();
    ActionResultInfo* record = act->getOrCreateResult(unit);
    ActionResultInfo* ghost = new ActionResultInfo(4242, mGame); // names no entity
    act->mResults.push_back(ghost);
    record->mFinalFlags[ActionResultInfo::cFlagEquipped] = true; // the equip rule's bit
    record->mFinalAuraFlags.resize(3);

    ASSERT_TRUE(board()->removeEntity(unit));
    ASSERT_TRUE(board()->addEntityAt(unit, GridSlot(4, 1)));
    entity(unit)->mHealth = 0;
    entity(unit)->mState = cStateKnockedOut;
    entity(unit)->mCharge = 0;
    equip(unit, "bloodrageBuff");
    act->captureFinalStates();

    EXPECT_EQ(record->mFinalState, cStateKnockedOut);
    EXPECT_EQ(record->mFinalHealthFraction, 0.0f);
    EXPECT_EQ(record->mFinalSlot, GridSlot(4, 1));
    EXPECT_EQ(record->mFinalCharge, 0);
    EXPECT_EQ(record->mFinalAuraFlags.size(), 20u);
    EXPECT_TRUE(record->mFinalAuraFlags[cAuraKnockedOut]);
    EXPECT_TRUE(record->mFinalAuraFlags[cAuraBloodrage]);
    EXPECT_EQ(record->mFinalPuppetUpgradeLevel, 2);
    EXPECT_TRUE(record->mFinalFlags[ActionResultInfo::cFlagBloodrage]);
    EXPECT_TRUE(record->mFinalFlags[ActionResultInfo::cFlagEquipped]);
    // The initial half stays as it was.
    EXPECT_EQ(record->mInitialState, cStateDeployedToGameBoard);
    EXPECT_EQ(record->mInitialSlot, GridSlot(0, 0));
    EXPECT_EQ(ghost->mFinalState, -1);
    EXPECT_EQ(ghost->mFinalSlot, GridSlot(-1, -1));
}

TEST_F(CandidateActionTest, DoneAndPlaybackLookupWalkTheSubActions) {
    CandidateAction* parent = action();
    EXPECT_FALSE(parent->isDone());
    parent->mPlaybackState = cPlaybackDone;
    EXPECT_TRUE(parent->isDone());

    CandidateAction* child = action();
    CandidateAction* grandchild = action();
    child->retain();
    grandchild->retain();
    parent->mSubActions = {nullptr, child};
    child->mSubActions = {grandchild};
    child->mPlaybackState = cPlaybackPlaying;
    grandchild->mPlaybackState = cPlaybackDone;
    EXPECT_FALSE(parent->isDone()); // a sub-action is still playing
    child->mPlaybackState = cPlaybackDone;
    EXPECT_TRUE(parent->isDone());
    grandchild->mPlaybackState = cPlaybackExecuted;
    EXPECT_FALSE(parent->isDone());

    EXPECT_EQ(parent->findByPlaybackState(cPlaybackDone), parent);
    EXPECT_EQ(parent->findByPlaybackState(cPlaybackExecuted), grandchild);
    EXPECT_EQ(parent->findByPlaybackState(cPlaybackReady), nullptr);
    child->mPlaybackState = cPlaybackExecuted;
    EXPECT_EQ(parent->findByPlaybackState(cPlaybackExecuted), child); // depth first
}

TEST_F(CandidateActionTest, DestructionReleasesSubActionsAndTheVisualNode) {
    auto* parent = new CandidateAction(mGame, 1);
    auto* child = new CandidateAction(mGame, 0);
    child->retain(); // ours
    parent->mSubActions.push_back(child);
    cocos2d::CCNode* holder = cocos2d::CCNode::node();
    holder->retain();
    cocos2d::CCNode* node = cocos2d::CCNode::node();
    holder->addChild(node);
    node->retain(); // the action's
    node->retain(); // ours
    parent->mVisualNode = node;
    parent->mResults.push_back(new ActionResultInfo(0));

    parent->release();
    EXPECT_EQ(child->retainCount(), 1u);
    EXPECT_EQ(node->getParent(), nullptr);
    EXPECT_EQ(node->retainCount(), 1u + node->autoreleaseCount());
    child->release();
    node->release();
    holder->release();
}
