#include "BoardTestSupport.h"

namespace {

class GameBoardTest : public BoardRulesTest {
protected:
    // A board like Game::init's, set up from a seeded generator.
    bool setUpSeeded(uint32_t seed) {
        mGame->mRng.seed(seed);
        return mBoard->setUp();
    }
    // proto, owner, slot and health of every entity of the game.
    std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> snapshot() const {
        std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> all;
        for (const Entity* e : mGame->mEntities)
            all.emplace_back(e->mProtoId, e->mOwner, e->mSlot.x, e->mSlot.y, e->mHealth);
        return all;
    }
};

} // namespace

TEST_F(GameBoardTest, IsTheGameBoardGrid) {
    EXPECT_EQ(mBoard->getGridType(), cGridGameBoard);
    EXPECT_EQ(mBoard->getName(), "\"Game board\"");
    EXPECT_EQ(mBoard->getOwner(), -1);
    EXPECT_EQ(mBoard->getProtoIndex(), 0);
}

TEST_F(GameBoardTest, SetUpPlacesTheLayoutsPieces) {
    testing::internal::CaptureStdout();
    ASSERT_TRUE(setUpSeeded(2)); // draws layout 0
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(mBoard->getProtoIndex(), 0);
    EXPECT_EQ(mBoard->getWidth(), 9);
    EXPECT_EQ(mBoard->getHeight(), 5);
    // The unknown "mystery" takes no id and the second knight finds its
    // square taken: both are skipped with a warning.
    EXPECT_NE(output.find("WARNING: unknown preplaced entity mystery"), std::string::npos);
    EXPECT_NE(output.find("does not fit at (7, 3)"), std::string::npos);
    using Row = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;
    const std::vector<Row> expected = {
        {proto("crystal"), 0, 1, 1, 800},
        {proto("crystal"), 1, 7, 1, 265}, // truncate(800 x 0.33) = 264, to 265
        {proto("knight"), 1, 7, 3, 500},
        {proto("knight"), 0, -1, -1, 500},
    };
    EXPECT_EQ(snapshot(), expected);
    EXPECT_EQ(mGame->getPlayer(0)->mVictoryUnitIds, std::vector<int32_t>{0});
    EXPECT_EQ(mGame->getPlayer(1)->mVictoryUnitIds, std::vector<int32_t>{1});
    for (int32_t id : {0, 1, 2})
        EXPECT_EQ(entity(id)->mState, cStateDeployedToGameBoard);
}

TEST_F(GameBoardTest, SetUpIsDeterministicForASeedAndLocalGamesDrawNothing) {
    ASSERT_TRUE(setUpSeeded(1));
    EXPECT_EQ(mBoard->getProtoIndex(), 1);
    const auto first = snapshot();
    reset();
    ASSERT_TRUE(setUpSeeded(1));
    EXPECT_EQ(snapshot(), first);

    reset();
    mGame->mFlags |= cGameLocal;
    mGame->mRng.seed(5);
    RNG untouched;
    untouched.seed(5);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(mBoard->setUp()); // index -1 wraps to the last layout
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(mBoard->getProtoIndex(), -1);
    EXPECT_EQ(mGame->mRng.randInt(), untouched.randInt());
}

TEST_F(GameBoardTest, APuzzleBoardWinsWhateverTheIndex) {
    auto puzzle = std::make_unique<ProtoPuzzle>("trial");
    puzzle->mBoard = std::make_unique<ProtoGameBoard>();
    ProtoGameBoard* puzzleBoard = puzzle->mBoard.get();
    auto category = std::make_unique<PuzzleCategory>();
    category->mPuzzles.push_back(std::move(puzzle));
    SettingsManager::instance().mPuzzleCategories.push_back(std::move(category));

    mGame->mPuzzleCategory = 0;
    mGame->mPuzzleIndex = 0;
    EXPECT_EQ(mBoard->getProtoGameBoard(), puzzleBoard);
    mGame->mPuzzleIndex = 1;
    EXPECT_EQ(mBoard->getProtoGameBoard(), nullptr);
    EXPECT_FALSE(mBoard->setUp());
    EXPECT_FALSE(mBoard->isInDeployZone(0, GridSlot(0, 0)));
    EXPECT_EQ(mBoard->getCrystalSpikesBonus(0), 0.0f);
    mGame->mPuzzleCategory = -1;
    mGame->mPuzzleIndex = 0;
    EXPECT_EQ(mBoard->getProtoGameBoard(), nullptr);
}

TEST_F(GameBoardTest, PlacementFollowsTheEntitysState) {
    struct Row {
        const char* what;
        const char* name;
        int32_t state;
        GridSlot slot;
        bool allowed;
    };
    const Row rows[] = {
        {"rack tile in its deploy zone", "knight", cStateOnTileRack, {0, 4}, true},
        {"rack tile outside its deploy zone", "knight", cStateOnTileRack, {4, 4}, false},
        {"rack tile that deploys onto a state", "totem", cStateOnTileRack, {4, 4}, true},
        {"deployed unit within its movement", "knight", cStateDeployedToGameBoard, {2, 2}, true},
        {"deployed unit beyond its movement", "knight", cStateDeployedToGameBoard, {4, 3}, false},
        {"candidate deployment", "knight", cStateCandidateDeployment, {2, 2}, false},
        {"candidate movement", "knight", cStateCandidateMovement, {2, 2}, false},
        {"candidate attack", "knight", cStateCandidateAttack, {2, 2}, false},
        {"knocked out, anywhere free", "knight", cStateKnockedOut, {8, 4}, true},
        {"in the chest", "knight", cStateInTileChest, {2, 2}, false},
        {"candidate equip", "knight", cStateCandidateEquip, {2, 2}, false},
        {"equipped", "sword", cStateEquipped, {2, 2}, false},
        {"moving", "knight", cStateMoving, {2, 2}, false},
        {"dead", "knight", cStateDead, {2, 2}, false},
        {"an occupied square", "knight", cStateKnockedOut, {1, 1}, false},
        {"a square off the board", "knight", cStateKnockedOut, {9, 0}, false},
    };
    for (const Row& row : rows) {
        reset();
        unitAt("crystal", 0, GridSlot(1, 1));
        Entity* piece = entity(make(row.name));
        if (row.state == cStateDeployedToGameBoard) {
            ASSERT_TRUE(mBoard->placeEntityAt(piece->mId, GridSlot(2, 1)));
        }
        piece->mState = row.state;
        EXPECT_EQ(mBoard->canPlaceEntityAt(piece->mId, row.slot), row.allowed) << row.what;
    }
    EXPECT_FALSE(mBoard->canPlaceEntityAt(999, GridSlot(0, 0)));
}

TEST_F(GameBoardTest, TheSecondPlayersDeployZoneIsTheMirrorImage) {
    for (int32_t y = 0; y < 5; ++y) {
        EXPECT_TRUE(mBoard->isInDeployZone(0, GridSlot(0, y)));
        EXPECT_TRUE(mBoard->isInDeployZone(1, GridSlot(8, y)));
        EXPECT_FALSE(mBoard->isInDeployZone(1, GridSlot(0, y)));
        EXPECT_EQ(mBoard->isInDeployZone(1, GridSlot(7, y)),
                  mBoard->isInDeployZone(0, GridSlot(1, y)))
            << y;
    }
    EXPECT_TRUE(mBoard->isInDeployZone(1, GridSlot(7, 2)));
    mBoard->setProtoIndex(1); // a layout without a zone
    EXPECT_FALSE(mBoard->isInDeployZone(0, GridSlot(0, 0)));
}

TEST_F(GameBoardTest, ArrivingOnTheBoardDeploys) {
    EntityGrid rack(0, mGame);
    rack.setSize(6, 1);
    Entity* knight = entity(make("knight"));
    ASSERT_TRUE(rack.addEntity(knight->mId));
    knight->mState = cStateOnTileRack;
    ASSERT_TRUE(mBoard->placeEntityAt(knight->mId, GridSlot(0, 3)));
    EXPECT_EQ(knight->mState, cStateDeployedToGameBoard);
    EXPECT_EQ(knight->mGrid, mBoard);
    // Refused outside the deploy zone; the tile stays on its rack.
    Entity* archer = entity(make("knight"));
    ASSERT_TRUE(rack.addEntity(archer->mId));
    archer->mState = cStateOnTileRack;
    EXPECT_FALSE(mBoard->placeEntityAt(archer->mId, GridSlot(5, 3)));
    EXPECT_EQ(archer->mGrid, &rack);
}

TEST_F(GameBoardTest, CrystalSpikesCountOnlyThePlayersStandingUnits) {
    unitAt("crystal", 0, GridSlot(2, 1)); // premium bonus 2.0: 20
    unitAt("knight", 0, GridSlot(2, 3));  // 10
    unitAt("knight", 1, GridSlot(6, 1));  // the other player's
    EXPECT_FLOAT_EQ(mBoard->getCrystalSpikesBonus(0), 0.3f);
    EXPECT_FLOAT_EQ(mBoard->getCrystalSpikesBonus(1), 0.1f);
    entity(1)->mState = cStateKnockedOut;
    EXPECT_FLOAT_EQ(mBoard->getCrystalSpikesBonus(0), 0.2f);
    entity(0)->mState = cStateDead;
    EXPECT_FLOAT_EQ(mBoard->getCrystalSpikesBonus(0), 0.0f);
    mBoard->setProtoIndex(1); // no premium squares
    EXPECT_EQ(mBoard->getCrystalSpikesBonus(1), 0.0f);
}

TEST_F(GameBoardTest, ItemRemovalRecordsOnlyTheUnitsItChanged) {
    Entity* caster = unitAt("knight", 1, GridSlot(8, 0));
    Entity* cursed = unitAt("knight", 0, GridSlot(0, 0));
    Entity* sundered = unitAt("knight", 0, GridSlot(0, 1));
    Entity* clean = unitAt("knight", 0, GridSlot(0, 2));
    const int32_t curse = make("curse", 1);
    const int32_t sunder = make("sunder", 1);
    entity(curse)->mCreatorEntityID = caster->mId;
    entity(sunder)->mCreatorEntityID = caster->mId;
    cursed->equip(curse, nullptr);
    sundered->equip(sunder, nullptr);

    EXPECT_FALSE(mBoard->removeItemsOfKind(caster->mId)); // no executing action
    EXPECT_TRUE(carries(cursed, curse));
    CandidateAction* current = executing(cActionAttack, -1);
    EXPECT_TRUE(mBoard->removeItemsOfKind(caster->mId));
    EXPECT_FALSE(carries(cursed, curse));
    EXPECT_TRUE(carries(sundered, sunder)); // does not die with its caster
    ASSERT_EQ(current->mResults.size(), 1u);
    EXPECT_EQ(current->mResults[0]->mEntityID, cursed->mId);
    EXPECT_EQ(current->mResults[0]->mDestroyedGearProtoID, proto("curse"));
    EXPECT_EQ(current->findResult(clean->mId), nullptr);

    // By proto and player: player 1's units only.
    EXPECT_FALSE(mBoard->removeItemFromUnits(proto("sunder"), -1, 1));
    EXPECT_TRUE(mBoard->removeItemFromUnits(proto("sunder"), caster->mId, 0));
    EXPECT_FALSE(carries(sundered, sunder));
    EXPECT_FALSE(mBoard->removeItemFromUnits(-1, -1, -1));
}

TEST_F(GameBoardTest, KnockingOutACasterStripsTheItemsThatDieWithIt) {
    Entity* caster = unitAt("knight", 1, GridSlot(8, 0));
    Entity* cursed = unitAt("knight", 0, GridSlot(0, 0));
    const int32_t curse = make("curse", 1);
    entity(curse)->mCreatorEntityID = caster->mId;
    cursed->equip(curse, nullptr);
    executing(cActionAttack, cursed->mId);
    caster->setHealth(0);
    EXPECT_EQ(caster->mState, cStateKnockedOut);
    EXPECT_FALSE(carries(cursed, curse));
    EXPECT_EQ(entity(curse)->mState, cStateDead);
}

TEST_F(GameBoardTest, EndOfTurnBuffsAreConsumedAcrossTheBoard) {
    Entity* mine = unitAt("knight", 0, GridSlot(0, 0));
    Entity* theirs = unitAt("knight", 1, GridSlot(8, 0));
    const int32_t rage = equipNew(mine, "bloodrageBuff");
    const int32_t theirRage = equipNew(theirs, "bloodrageBuff", 1);
    CandidateAction* current = executing(cActionMove, mine->mId);
    EXPECT_TRUE(mBoard->consumeEndOfTurnBuffs(0));
    EXPECT_FALSE(carries(mine, rage));
    EXPECT_TRUE(carries(theirs, theirRage));
    EXPECT_EQ(current->mResults.size(), 1u);
    EXPECT_FALSE(mBoard->consumeEndOfTurnBuffs(0));
}

TEST_F(GameBoardTest, RespawningUnitsComeBackBare) {
    Entity* revenant = unitAt("revenant", 0, GridSlot(3, 3));
    equipNew(revenant, "vigor");
    revenant->setHealth(0);
    ASSERT_EQ(revenant->mState, cStateKnockedOut);
    EXPECT_TRUE(revenant->placeOnGrid(mBoard, GridSlot(0, 0)));
    EXPECT_EQ(revenant->mInventory->getEntityCount(), 0);
    EXPECT_EQ(revenant->mHealth, 400);
    EXPECT_EQ(revenant->mState, cStateKnockedOut); // the caller sets it
    EXPECT_FALSE(revenant->placeOnGrid(nullptr, GridSlot(0, 0)));

    Entity* knight = unitAt("knight", 0, GridSlot(1, 3));
    CandidateAction* move = action(cActionMove, knight->mId);
    EXPECT_TRUE(knight->moveTo(GridSlot(2, 3), move));
    ASSERT_NE(move->findResult(knight->mId), nullptr);
    EXPECT_EQ(move->findResult(knight->mId)->mInitialSlot, GridSlot(1, 3));
    EXPECT_EQ(move->findResult(knight->mId)->mFinalHealthFraction, 1.0f);
    EXPECT_FALSE(knight->moveTo(GridSlot(9, 9), move));
}
