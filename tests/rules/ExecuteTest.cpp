// Executing actions on scenario boards: each kind of action, the action-wide
// values, the slot hazard, the after-action passes and the sub-actions.

#include "ExecuteTestSupport.h"

#include "rules/GameBoard.h"
#include "rules/TileChest.h"

TEST_F(ExecuteTest, ANamedPieceOrGridThatIsMissingChangesNothing) {
    Entity* soldier = unit("soldier", 0, 1, 1);
    CandidateAction* gone = prepare(cActionMove, soldier, GridSlot(2, 1));
    gone->mSourceEntity = 999;
    gone->execute();
    CandidateAction* noGrid = prepare(cActionMove, soldier, GridSlot(2, 1));
    noGrid->mTargetGrid = 7;
    noGrid->execute();

    for (const CandidateAction* action : {gone, noGrid}) {
        EXPECT_EQ(action->mPlaybackState, cPlaybackReady);
        EXPECT_TRUE(action->mResults.empty());
        EXPECT_EQ(action->mInitialAssaultDebuff[0], -1);
    }
    EXPECT_EQ(soldier->mSlot, GridSlot(1, 1));
    EXPECT_EQ(mGame->mExecutingAction, nullptr);
}

TEST_F(ExecuteTest, DeployOntoAKnockedOutUnitKillsItFirstAndScoresInTheLocalTurn) {
    Entity* corpse = unit("soldier", 1, 1, 1, cStateKnockedOut);
    Entity* fresh = tile("soldier", 0, 3);
    BannerScene scene;
    gCurrentGame = mGame;
    CandidateAction* deploy = run(cActionDeploy, fresh, GridSlot(1, 1), 1);

    EXPECT_EQ(corpse->mState, cStateDead);
    const ActionResultInfo* killed = deploy->findResult(corpse->mId);
    ASSERT_NE(killed, nullptr);
    EXPECT_TRUE(killed->mKilled);
    EXPECT_EQ(killed->mInitialState, cStateKnockedOut);
    EXPECT_EQ(killed->mFinalState, cStateDead);

    EXPECT_EQ(at(1, 1), fresh);
    EXPECT_EQ(fresh->mState, cStateDeployedToGameBoard);
    const ActionResultInfo* own = deploy->findResult(fresh->mId);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->mInitialState, cStateOnTileRack);
    EXPECT_EQ(own->mFinalSlot, GridSlot(1, 1));
    EXPECT_EQ(own->mScore, 10);
    EXPECT_EQ(player(0)->mScore, 10);
    EXPECT_EQ(deploy->mPlaybackState, cPlaybackExecuted);
    EXPECT_FALSE(deploy->mFailed);
}

TEST_F(ExecuteTest, DeployScoresOnlyWithASceneAGameAndTheScoreMultiplierOfItsSquares) {
    struct Case {
        bool scene;
        bool currentGame;
        bool onMultiplier; // a unit of player 0 stands on the ScoreMultiplier square
        int32_t score;
    };
    for (const Case& c : {Case{false, true, false, 0}, Case{true, false, false, 0},
                          Case{true, true, false, 10}, Case{true, true, true, 20}}) {
        SCOPED_TRACE(c.score);
        board()->setProtoIndex(cPremiumBoard);
        if (c.onMultiplier)
            unit("soldier", 0, 1, 4);
        Entity* fresh = tile("soldier", 0, 2);
        std::unique_ptr<BannerScene> scene(c.scene ? new BannerScene : nullptr);
        gCurrentGame = c.currentGame ? mGame : nullptr;
        CandidateAction* deploy = run(cActionDeploy, fresh, GridSlot(0, 0));
        EXPECT_EQ(deploy->findResult(fresh->mId)->mScore, c.score);
        EXPECT_EQ(player(0)->mScore, c.score);
        TearDown();
        SetUp();
    }
}

TEST_F(ExecuteTest, MoveStompsACorpseAndRecordsTheWayTaken) {
    Entity* runner = unit("soldier", 0, 1, 1);
    Entity* corpse = unit("soldier", 1, 3, 1, cStateKnockedOut);
    CandidateAction* move = run(cActionMove, runner, GridSlot(3, 1));

    EXPECT_EQ(corpse->mState, cStateDead);
    EXPECT_TRUE(move->findResult(corpse->mId)->mKilled);
    EXPECT_EQ(at(3, 1), runner);
    const ActionResultInfo* own = move->findResult(runner->mId);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->mInitialSlot, GridSlot(1, 1));
    EXPECT_EQ(own->mFinalSlot, GridSlot(3, 1));
    EXPECT_EQ(runner->mState, cStateDeployedToGameBoard);
}

TEST_F(ExecuteTest, AnAttackWhoseTargetMovedAwayFailsButTheAttackerIsDeployed) {
    Entity* attacker = unit("soldier", 0, 2, 1, cStateCandidateAttack);
    Entity* target = unit("soldier", 1, 3, 1);
    CandidateAction* attack = prepare(cActionAttack, attacker, GridSlot(3, 1));
    ASSERT_TRUE(board()->placeEntityAt(target->mId, GridSlot(4, 3)));
    attack->execute();

    EXPECT_TRUE(attack->mFailed);
    EXPECT_EQ(attack->mPlaybackState, cPlaybackExecuted);
    EXPECT_EQ(attacker->mState, cStateDeployedToGameBoard);
    EXPECT_EQ(target->mHealth, 1000);
    EXPECT_EQ(mGame->mExecutingAction, nullptr);
}

TEST_F(ExecuteTest, AnAttackHitsWhoeverStandsOnTheSquare) {
    Entity* attacker = unit("soldier", 0, 2, 1);
    Entity* target = unit("soldier", 1, 3, 1);
    CandidateAction* attack = run(cActionAttack, attacker, GridSlot(3, 1));

    EXPECT_FALSE(attack->mFailed);
    EXPECT_EQ(target->mHealth, 900);
    const ActionResultInfo* hit = attack->findResult(target->mId);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->mHealthChange, -100);
    EXPECT_FLOAT_EQ(hit->mFinalHealthFraction, 0.9f);
}

TEST_F(ExecuteTest, AnOngoingAttackerLinksInsteadOfStriking) {
    Entity* tether = unit("tether", 0, 1, 1);
    Entity* target = unit("soldier", 1, 3, 1);
    CandidateAction* attack = run(cActionAttack, tether, GridSlot(3, 1));

    EXPECT_EQ(tether->mOngoingTargetEntityID, target->mId);
    EXPECT_EQ(attack->mLinkSourceEntity, tether->mId);
    EXPECT_TRUE(attack->findResult(tether->mId)->mEstablishedOngoingLink);
    // The link's first strike is the ongoing-effect pass's sub-action.
    ASSERT_EQ(attack->mSubActions.size(), 1u);
    EXPECT_EQ(attack->mSubActions[0]->mActionType, cActionAttack);
    EXPECT_EQ(target->mHealth, 900);
}

TEST_F(ExecuteTest, HealMendsAnAllyAndFailsOnOneAtFullHealth) {
    Entity* medic = unit("medic", 0, 1, 1);
    Entity* hurt = unit("soldier", 0, 2, 1);
    hurt->setHealth(500);
    CandidateAction* heal = run(cActionHeal, medic, GridSlot(2, 1));
    EXPECT_FALSE(heal->mFailed);
    EXPECT_GT(hurt->mHealth, 500);
    EXPECT_GT(heal->findResult(hurt->mId)->mHealthChange, 0);

    Entity* healthy = unit("soldier", 0, 1, 2);
    medic->mState = cStateCandidateAttack;
    CandidateAction* refused = run(cActionHeal, medic, GridSlot(1, 2));
    EXPECT_TRUE(refused->mFailed);
    EXPECT_EQ(healthy->mHealth, 1000);
    EXPECT_EQ(medic->mState, cStateDeployedToGameBoard);
}

TEST_F(ExecuteTest, EquipPutsTheItemOnTheUnitAndOnAnEmptySquareChangesNothing) {
    Entity* wearer = unit("soldier", 0, 1, 1);
    Entity* plate = tile("plate", 0, 0);
    CandidateAction* equip = run(cActionEquip, plate, GridSlot(1, 1));
    EXPECT_FALSE(equip->mFailed);
    EXPECT_EQ(plate->mState, cStateEquipped);
    EXPECT_EQ(plate->mGrid, wearer->mInventory);
    const ActionResultInfo* worn = equip->findResult(wearer->mId);
    ASSERT_NE(worn, nullptr);
    EXPECT_EQ(worn->mEquippedGearProtoID, proto("plate"));
    EXPECT_TRUE(worn->mFinalFlags[ActionResultInfo::cFlagEquipped]);

    Entity* charm = tile("charm", 0, 1);
    CandidateAction* nowhere = run(cActionEquip, charm, GridSlot(4, 4));
    EXPECT_FALSE(nowhere->mFailed);
    EXPECT_EQ(nowhere->mPlaybackState, cPlaybackExecuted);
    EXPECT_EQ(charm->mState, cStateOnTileRack);
    EXPECT_EQ(rack(0)->getEntityIdAt(GridSlot(1, 0)), charm->mId);
    EXPECT_TRUE(nowhere->mResults.empty());
}

TEST_F(ExecuteTest, ReturnPlaceAndUseItemOnlyRunTheFrame) {
    for (const int32_t type : {cActionReturn, cActionPlace, cActionUseItem}) {
        SCOPED_TRACE(type);
        Entity* piece = tile("soldier", 0, 4);
        CandidateAction* action = run(type, piece, GridSlot(4, 0), 1, rack(0));
        EXPECT_EQ(action->mPlaybackState, cPlaybackExecuted);
        EXPECT_FALSE(action->mFailed);
        EXPECT_EQ(piece->mState, cStateOnTileRack);
        EXPECT_EQ(piece->mSlot, GridSlot(4, 0));
        rack(0)->removeEntity(piece->mId);
    }
}

TEST_F(ExecuteTest, AnAllyAbilitySwapsSquaresAndFailsWithoutCharge) {
    Entity* porter = unit("porter", 0, 1, 1);
    Entity* ally = unit("soldier", 0, 2, 1);
    porter->mCharge = 1;
    CandidateAction* swap = run(cActionAllyAbility, porter, GridSlot(2, 1));
    EXPECT_FALSE(swap->mFailed);
    EXPECT_EQ(at(2, 1), porter);
    EXPECT_EQ(at(1, 1), ally);

    porter->mCharge = 0;
    CandidateAction* spent = run(cActionAllyAbility, porter, GridSlot(1, 1));
    EXPECT_TRUE(spent->mFailed);
    EXPECT_EQ(at(2, 1), porter);
}

TEST_F(ExecuteTest, SwapPutsTheTileIntoTheChestsFirstFreeSlotAndShufflesTheChest) {
    TileChest* chest = mGame->mTileChest;
    ASSERT_NE(chest, nullptr);
    const int32_t before = chest->getEntityCount();
    Entity* piece = tile("plate", 0, 5);
    run(cActionSwap, piece, GridSlot(0, 0), 1, chest);

    EXPECT_EQ(piece->mGrid, chest);
    EXPECT_EQ(piece->mState, cStateInTileChest);
    EXPECT_EQ(chest->getEntityCount(), before + 1);
    EXPECT_EQ(rack(0)->getEntityIdAt(GridSlot(5, 0)), -1);
}

TEST_F(ExecuteTest, FreeTeleporterListsAreEmptyUnlessALivingUnitStandsOnATeleporter) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* walker = unit("soldier", 0, 1, 1);
    CandidateAction* idle = run(cActionMove, walker, GridSlot(1, 3));
    EXPECT_TRUE(idle->mInitialFreeTeleporters.empty());
    EXPECT_TRUE(idle->mFinalFreeTeleporters.empty());

    // A knocked-out unit does not hold a Teleporter.
    unit("soldier", 1, 4, 4, cStateKnockedOut);
    Entity* traveller = unit("soldier", 0, 2, 0);
    CandidateAction* leave = run(cActionMove, traveller, GridSlot(3, 0));
    EXPECT_EQ(leave->mInitialFreeTeleporters, std::vector<GridSlot>{GridSlot(4, 4)});
    EXPECT_TRUE(leave->mFinalFreeTeleporters.empty());

    CandidateAction* arrive = run(cActionMove, traveller, GridSlot(2, 0));
    EXPECT_TRUE(arrive->mInitialFreeTeleporters.empty());
    EXPECT_EQ(arrive->mFinalFreeTeleporters, std::vector<GridSlot>{GridSlot(4, 4)});
}

TEST_F(ExecuteTest, VictoryHealthAndAssaultDebuffsAreTakenBeforeAndAfter) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* raider = unit("soldier", 1, 4, 3);
    Entity* crystal = at(0, 2);
    crystal->setHealth(400);
    CandidateAction* move = run(cActionMove, raider, GridSlot(5, 3));

    EXPECT_FLOAT_EQ(move->mInitialVictoryHealthFraction[0], 0.5f);
    EXPECT_FLOAT_EQ(move->mFinalVictoryHealthFraction[1], 1.0f);
    // [0] counts player 1's units on "VictoryDamageAdd" squares.
    EXPECT_EQ(move->mInitialAssaultDebuff[0], 0);
    EXPECT_EQ(move->mFinalAssaultDebuff[0], 1);
    EXPECT_EQ(move->mFinalAssaultDebuff[1], 0);
}

TEST_F(ExecuteTest, UnitsOnVictoryDamageSquaresCountOnlyLivingBoardUnitsOfThePlayer) {
    EXPECT_EQ(mGame->countUnitsOnVictoryDamageSquares(0), 1); // bare layout
    board()->setProtoIndex(cPremiumBoard);
    EXPECT_EQ(mGame->countUnitsOnVictoryDamageSquares(0), 0);
    unit("soldier", 0, 5, 3);
    unit("soldier", 0, 1, 0, cStateKnockedOut);
    unit("soldier", 1, 3, 3);
    EXPECT_EQ(mGame->countUnitsOnVictoryDamageSquares(0), 1);
    EXPECT_EQ(mGame->countUnitsOnVictoryDamageSquares(1), 0);
}

TEST_F(ExecuteTest, EnteringASendTrainSquareSendsATrainDownItsColumn) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* runner = unit("soldier", 0, 1, 1);
    Entity* victim = unit("soldier", 1, 4, 3);
    Entity* bystander = unit("soldier", 0, 4, 1);
    CandidateAction* move = run(cActionMove, runner, GridSlot(3, 1));

    ASSERT_EQ(move->mSubActions.size(), 1u);
    const CandidateAction* train = move->mSubActions[0];
    EXPECT_EQ(train->mActionType, cActionCastPower);
    EXPECT_TRUE(train->mIsSubAction);
    EXPECT_EQ(train->mSourceSlot, GridSlot(3, 1));
    EXPECT_EQ(train->mTargetSlot, GridSlot(4, 2));
    const Entity* engine = entity(train->mSourceEntity);
    EXPECT_EQ(engine->getProto()->mName, "TrainHazard");
    EXPECT_EQ(engine->mOwner, 0);
    EXPECT_EQ(engine->mState, cStateDead);

    // The enemy in the column is hit and pushed on (player 1: one column
    // right); the mover's own side is spared.
    EXPECT_EQ(victim->mHealth, 700);
    EXPECT_EQ(victim->mSlot, GridSlot(5, 3));
    const ActionResultInfo* hit = train->findResult(victim->mId);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->mFinalSlot, GridSlot(5, 3));
    EXPECT_EQ(hit->mFinalState, cStateDeployedToGameBoard);
    EXPECT_EQ(bystander->mHealth, 1000);
    EXPECT_EQ(train->findResult(bystander->mId), nullptr);
}

TEST_F(ExecuteTest, NoTrainForAUnitThatStartedOnTheSquareOrOffTheBoard) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* stayer = unit("soldier", 0, 3, 1);
    unit("soldier", 1, 4, 1);
    CandidateAction* attack = run(cActionAttack, stayer, GridSlot(4, 1));
    EXPECT_FALSE(attack->mFailed);
    EXPECT_TRUE(attack->mSubActions.empty());

    // A rack tile at (3, 1)'s coordinates is not on the board's square.
    Entity* tileOnRack = tile("soldier", 0, 3);
    ActionResultInfo result(tileOnRack->mId, mGame);
    result.mInitialSlot = GridSlot(0, 0);
    CandidateAction* frame = prepare(cActionPlace, tileOnRack, GridSlot(3, 0), 1, rack(0));
    tileOnRack->mSlot = GridSlot(3, 1);
    frame->triggerSlotHazard(&result, GridSlot(3, 1));
    EXPECT_TRUE(frame->mSubActions.empty());
}

TEST_F(ExecuteTest, EndOfTurnBuffsAreConsumedOnlyWithExactlyOneActionPointLeft) {
    struct Case {
        int32_t points;
        int32_t cost;
        bool consumed;
    };
    for (const Case& c :
         {Case{1, 1, true}, Case{2, 1, false}, Case{2, 2, false}, Case{1, 0, false}}) {
        SCOPED_TRACE(testing::Message() << c.points << " points, cost " << c.cost);
        Entity* guard = unit("soldier", 0, 1, 3);
        Entity* watch = carry(guard, "watch");
        Entity* walker = unit("soldier", 0, 1, 1);
        player(0)->mActionPoints = c.points;
        CandidateAction* move = run(cActionMove, walker, GridSlot(2, 1), c.cost);
        EXPECT_EQ(guard->hasEquippedProto(proto("watch")), !c.consumed);
        EXPECT_EQ(move->findResult(guard->mId) != nullptr, c.consumed);
        EXPECT_EQ(watch->mGrid == guard->mInventory, !c.consumed);
        TearDown();
        SetUp();
    }
}

TEST_F(ExecuteTest, AutoAttachComesWithTheTurnsLastActionPoint) {
    Entity* totem = unit("totem", 0, 1, 3);
    Entity* walker = unit("soldier", 0, 1, 1);
    player(0)->mActionPoints = 2;
    CandidateAction* early = run(cActionMove, walker, GridSlot(2, 1));
    EXPECT_TRUE(early->mSubActions.empty());

    player(0)->mActionPoints = 1;
    CandidateAction* last = run(cActionMove, walker, GridSlot(3, 1));
    ASSERT_EQ(last->mSubActions.size(), 1u);
    const CandidateAction* attach = last->mSubActions[0];
    EXPECT_EQ(attach->mActionType, cActionEquip);
    EXPECT_EQ(attach->mActionPointCost, 0);
    EXPECT_TRUE(attach->mIsSubAction);
    EXPECT_TRUE(totem->hasEquippedProto(proto("blessing")));
    EXPECT_EQ(entity(attach->mSourceEntity)->mCreatorEntityID, totem->mId);

    // Carrying it already, the totem gets no second one.
    CandidateAction* again = run(cActionMove, walker, GridSlot(4, 1));
    EXPECT_TRUE(again->mSubActions.empty());
}

TEST_F(ExecuteTest, OngoingSubActionsComeInBoardSlotOrder) {
    Entity* tether = unit("tether", 0, 2, 4);
    Entity* target = unit("soldier", 1, 4, 4);
    tether->mOngoingTargetEntityID = target->mId;
    Entity* totem = unit("totem", 0, 1, 3);
    Entity* walker = unit("soldier", 0, 1, 1);
    player(0)->mActionPoints = 1;
    CandidateAction* last = run(cActionMove, walker, GridSlot(2, 1));

    ASSERT_EQ(last->mSubActions.size(), 2u);
    EXPECT_EQ(last->mSubActions[0]->mActionType, cActionEquip);
    EXPECT_EQ(last->mSubActions[0]->mTargetSlot, totem->mSlot);
    EXPECT_EQ(last->mSubActions[1]->mActionType, cActionAttack);
    EXPECT_EQ(last->mSubActions[1]->mSourceEntity, tether->mId);
}

TEST_F(ExecuteTest, SubActionsGetTheirFinalStatesOnlyFromTheParent) {
    Entity* tether = unit("tether", 0, 1, 1);
    Entity* target = unit("soldier", 1, 3, 1);
    tether->mOngoingTargetEntityID = target->mId;

    // Executed alone, a sub-action leaves its records' final halves open.
    auto* alone = new CandidateAction(mGame, 0);
    mActions.push_back(alone);
    ASSERT_TRUE(alone->initFromEntity(target, tether->mId, cActionAttack));
    alone->mIsSubAction = true;
    alone->execute();
    ASSERT_NE(alone->findResult(target->mId), nullptr);
    EXPECT_EQ(alone->findResult(target->mId)->mFinalState, -1);
    EXPECT_EQ(target->mHealth, 900);

    // A parent's ongoing-effect pass strikes again; the parent fills the
    // sub-action's final halves after its own.
    Entity* walker = unit("soldier", 0, 1, 4);
    CandidateAction* move = run(cActionMove, walker, GridSlot(2, 4));
    ASSERT_EQ(move->mSubActions.size(), 1u);
    const ActionResultInfo* struck = move->mSubActions[0]->findResult(target->mId);
    ASSERT_NE(struck, nullptr);
    EXPECT_EQ(struck->mFinalState, cStateDeployedToGameBoard);
    EXPECT_FLOAT_EQ(struck->mFinalHealthFraction, 0.8f);
    EXPECT_EQ(target->mHealth, 800);
}

TEST_F(ExecuteTest, AddSubActionReleasesASubActionThatFailed) {
    Entity* attacker = unit("soldier", 0, 1, 1);
    CandidateAction* parent = prepare(cActionMove, attacker, GridSlot(1, 2));
    auto* failing = new CandidateAction(mGame, 0);
    ASSERT_TRUE(failing->init(attacker->mId, cActionAttack, GridSlot(4, 4), board()));
    failing->mIsSubAction = true;
    failing->retain(); // the test's own hold, to watch the count
    parent->addSubAction(failing);
    EXPECT_TRUE(failing->mFailed);
    EXPECT_TRUE(parent->mSubActions.empty());
    EXPECT_EQ(failing->retainCount(), 1u);
    failing->release();
}

TEST_F(ExecuteTest, LinksThatWentOutOfRangeBreakAfterTheAction) {
    Entity* tether = unit("tether", 0, 1, 1);
    Entity* target = unit("soldier", 1, 3, 1);
    tether->mOngoingTargetEntityID = target->mId;
    CandidateAction* away = run(cActionMove, target, GridSlot(5, 1));
    EXPECT_EQ(tether->mOngoingTargetEntityID, -1);
    const ActionResultInfo* broken = away->findResult(tether->mId);
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->mBrokeOngoingLink);
    EXPECT_EQ(broken->mInitialOngoingTarget, target->mId);
    EXPECT_TRUE(away->mSubActions.empty());
}

TEST_F(ExecuteTest, ExecutionIsDeterministicForOneSeedAndOneDrop) {
    // Two games from the same seed; the same scenario and drops in each.
    struct Outcome {
        std::vector<std::vector<int32_t>> records;
        std::vector<std::vector<int32_t>> entities;
        std::vector<int32_t> chest;
        int32_t score = 0;
    };
    const auto play = [&]() {
        board()->setProtoIndex(cPremiumBoard);
        gCurrentGame = mGame;
        BannerScene scene;
        unit("soldier", 1, 3, 2);
        unit("soldier", 1, 4, 2);
        unit("soldier", 1, 5, 2);
        Entity* runner = unit("soldier", 0, 1, 1);
        Entity* gust = tile("gust", 0, 0);
        Entity* extra = tile("plate", 0, 1);
        std::vector<CandidateAction*> actions = {
            run(cActionCastPower, gust, GridSlot(4, 2)), run(cActionMove, runner, GridSlot(3, 1)),
            run(cActionSwap, extra, GridSlot(0, 0), 1, mGame->mTileChest)};
        Outcome out;
        for (const CandidateAction* action : actions)
            for (const CandidateAction* level :
                 {action, action->mSubActions.empty() ? action : action->mSubActions[0]})
                for (const ActionResultInfo* r : level->mResults)
                    out.records.push_back({r->mEntityID, r->mInitialState, r->mFinalState,
                                           r->mInitialSlot.x, r->mFinalSlot.x, r->mFinalSlot.y,
                                           r->mHealthChange, r->mScore, r->mKilled ? 1 : 0});
        for (const Entity* e : mGame->mEntities)
            out.entities.push_back(
                {e->mProtoId, e->mOwner, e->mState, e->mHealth, e->mSlot.x, e->mSlot.y});
        out.chest = mGame->mTileChest->getSlots();
        out.score = player(0)->mScore;
        return out;
    };
    const Outcome first = play();
    TearDown();
    SetUp();
    const Outcome second = play();
    EXPECT_EQ(first.records, second.records);
    EXPECT_EQ(first.entities, second.entities);
    EXPECT_EQ(first.chest, second.chest);
    EXPECT_EQ(first.score, second.score);
    EXPECT_GT(first.score, 0);
}

TEST_F(ExecuteTest, AProtoNameThatResolvesToNothingTakesNoItem) {
    // "purge" takes off a proto the content does not have.
    Entity* soldier = unit("soldier", 0, 1, 1);
    const Entity* plate = carry(soldier, "plate");
    const Entity* purge = tile("purge", 0, 0);
    ASSERT_TRUE(mGame->dropEntity(purge->mId, cGridGameBoard, soldier->mSlot));
    EXPECT_TRUE(soldier->hasEquippedProto(proto("purge")));
    EXPECT_EQ(plate->mGrid, soldier->mInventory);

    // A spotter user's hit takes one "spottingBuff" off its target; this
    // content has none.
    Entity* sniper = unit("sniper", 0, 2, 3);
    Entity* enemy = unit("soldier", 1, 3, 3);
    const Entity* charm = carry(enemy, "charm");
    ASSERT_TRUE(mGame->dropEntity(sniper->mId, cGridGameBoard, enemy->mSlot));
    EXPECT_EQ(enemy->mHealth, 900);
    EXPECT_EQ(charm->mGrid, enemy->mInventory);
}
