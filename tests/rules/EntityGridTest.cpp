#include "RulesTestSupport.h"

#include <algorithm>

namespace {

class EntityGridTest : public RulesTest {
protected:
    // Ids of n knights of player 0.
    std::vector<int32_t> knights(int n) {
        std::vector<int32_t> ids;
        for (int i = 0; i < n; ++i)
            ids.push_back(create(cKnight));
        return ids;
    }
};

// A grid whose placement rule refuses every square (as the board's movement
// rule may, after the general test passed).
class RefusingGrid : public EntityGrid {
public:
    using EntityGrid::EntityGrid;
    bool canPlaceEntityAt(int32_t, const GridSlot&) override { return mAccepts; }
    bool mAccepts = true;
};

// A grid that logs its hooks.
class HookedGrid : public EntityGrid {
public:
    using EntityGrid::EntityGrid;
    void onEntityAdded(int32_t id, EntityGrid*) override {
        log.push_back("added " + std::to_string(id));
    }
    void onEntityRemoved(int32_t id, EntityGrid* target) override {
        log.push_back("removed " + std::to_string(id));
        EntityGrid::onEntityRemoved(id, target);
    }
    void onEntityPlaced(int32_t id, const GridSlot&) override {
        log.push_back("placed " + std::to_string(id));
    }
    std::vector<std::string> log;
};

} // namespace

TEST_F(EntityGridTest, SetSizeMakesEmptySlots) {
    EntityGrid grid(-1, mGame);
    EXPECT_EQ(grid.getName(), "defaultGrid");
    EXPECT_EQ(grid.getGridType(), -1);
    EXPECT_TRUE(grid.setSize(9, 5));
    EXPECT_EQ(grid.getSlotCount(), 45);
    EXPECT_EQ(grid.getEntityCount(), 0);
    EXPECT_TRUE(std::all_of(grid.getSlots().begin(), grid.getSlots().end(),
                            [](int32_t id) { return id == -1; }));
}

TEST_F(EntityGridTest, AddingFillsTheFirstFreeSlotAndRecordsTheSquare) {
    EntityGrid grid(-1, mGame);
    grid.setSize(3, 2);
    const std::vector<int32_t> ids = knights(3);
    ASSERT_TRUE(grid.addEntityAt(ids[0], GridSlot(0, 0)));
    ASSERT_TRUE(grid.addEntity(ids[1]));
    EXPECT_EQ(entity(ids[1])->mGrid, &grid);
    EXPECT_EQ(entity(ids[1])->mSlot, GridSlot(1, 0));
    ASSERT_TRUE(grid.addEntityAt(ids[2], GridSlot(2, 1)));
    EXPECT_EQ(grid.getEntityIdAt(GridSlot(2, 1)), ids[2]);
    EXPECT_EQ(grid.getEntityAtIndex(5), entity(ids[2]));
    GridSlot found;
    EXPECT_EQ(grid.findEntityCoords(found, ids[2]), GridSlot(2, 1));
    EXPECT_EQ(found, GridSlot(2, 1));
    EXPECT_EQ(grid.getEntityCount(), 3);

    // Refusals: an occupied or outside square, an unknown id, a repeat.
    const int32_t extra = create(cArcher);
    EXPECT_FALSE(grid.addEntityAt(extra, GridSlot(0, 0)));
    EXPECT_FALSE(grid.addEntityAt(extra, GridSlot(3, 0)));
    EXPECT_FALSE(grid.addEntity(99));
    EXPECT_FALSE(grid.addUniqueEntity(ids[0]));
    EXPECT_EQ(grid.getEntityIdAt(GridSlot(-1, 0)), -1);
    EXPECT_EQ(grid.getEntityAtIndex(6), nullptr);
    EXPECT_EQ(grid.findEntityCoords(found, extra), GridSlot(-1, -1));
}

TEST_F(EntityGridTest, RemovalEmptiesTheSlotButLeavesTheEntitysRecord) {
    EntityGrid grid(-1, mGame);
    grid.setSize(2, 1);
    const int32_t id = create(cKnight);
    grid.addEntityAt(id, GridSlot(1, 0));
    EXPECT_TRUE(grid.removeEntity(id));
    EXPECT_EQ(grid.getEntityCount(), 0);
    EXPECT_EQ(grid.getEntityIdAtIndex(1), -1);
    EXPECT_EQ(entity(id)->mGrid, &grid);
    EXPECT_EQ(entity(id)->mSlot, GridSlot(1, 0));
    EXPECT_FALSE(grid.removeEntity(id));
    // An empty slot stays empty and does not lower the count below the truth.
    EXPECT_TRUE(grid.removeEntityAtIndex(0));
    EXPECT_EQ(grid.getEntityCount(), 0);
    EXPECT_FALSE(grid.removeEntityAtIndex(2));
}

TEST_F(EntityGridTest, ALinearGridGrowsByOneSlotWhenFull) {
    EntityGrid grid(-1, mGame);
    grid.setFlag(cGridLinear, true);
    grid.setSize(1, 1);
    const std::vector<int32_t> ids = knights(3);
    for (int32_t id : ids)
        ASSERT_TRUE(grid.addEntity(id));
    EXPECT_EQ(grid.getSlotCount(), 3);
    EXPECT_EQ(grid.getWidth(), 1);
    EXPECT_EQ(grid.getHeight(), 1);
    EXPECT_EQ(entity(ids[2])->mSlot, GridSlot(0, 2));
    EXPECT_EQ(grid.getEntityIdAt(GridSlot(0, 2)), ids[2]);
    EXPECT_TRUE(grid.hasRoomFor(100));
    GridSlot free;
    ASSERT_TRUE(grid.getFirstFreeCoords(free));
    EXPECT_EQ(free, GridSlot(0, 3));
}

TEST_F(EntityGridTest, PlacementTestsLockRoomSquareAndOccupant) {
    EntityGrid grid(-1, mGame);
    grid.setSize(2, 1);
    const std::vector<int32_t> ids = knights(3);
    grid.addEntity(ids[0]);
    EXPECT_TRUE(grid.canPlaceEntityAt(ids[0], GridSlot(0, 0)));  // its own square
    EXPECT_FALSE(grid.canPlaceEntityAt(ids[1], GridSlot(0, 0))); // taken
    EXPECT_TRUE(grid.canPlaceEntityAt(ids[1], GridSlot(1, 0)));
    EXPECT_FALSE(grid.canPlaceEntityAt(ids[1], GridSlot(2, 0)));
    grid.setLocked(true);
    EXPECT_FALSE(grid.canPlaceEntityAt(ids[1], GridSlot(1, 0)));
    grid.setLocked(false);
    grid.addEntity(ids[1]);
    // Full: not even the square the entity already holds.
    EXPECT_FALSE(grid.canPlaceEntityAt(ids[0], GridSlot(0, 0)));
    EXPECT_FALSE(grid.addEntities({ids[2]}));
}

TEST_F(EntityGridTest, AddEntitiesKeepsThoseAddedBeforeAFailure) {
    EntityGrid grid(-1, mGame);
    grid.setSize(3, 1);
    const std::vector<int32_t> ids = knights(2);
    EXPECT_FALSE(grid.addEntities({ids[0], 42, ids[1]}));
    EXPECT_EQ(grid.getEntityCount(), 1);
    EXPECT_EQ(grid.getEntityIdAtIndex(0), ids[0]);
}

TEST_F(EntityGridTest, MovingAndSwappingKeepTheEntitiesRecordsInStep) {
    HookedGrid rack(0, mGame);
    HookedGrid board(-1, mGame);
    rack.setSize(3, 1);
    board.setSize(3, 3);
    const std::vector<int32_t> ids = knights(2);
    rack.addEntity(ids[0]);
    rack.addEntity(ids[1]);
    mGame->mTurnCount = 7;

    ASSERT_TRUE(rack.moveEntityTo(ids[0], &board, GridSlot(1, 2)));
    EXPECT_EQ(entity(ids[0])->mGrid, &board);
    EXPECT_EQ(entity(ids[0])->mSlot, GridSlot(1, 2));
    EXPECT_EQ(entity(ids[0])->mLastGridChangeTurn, 7);
    EXPECT_EQ(rack.getEntityCount(), 1);
    EXPECT_EQ(rack.log, std::vector<std::string>{"removed 0"});
    EXPECT_EQ(board.log, std::vector<std::string>{"added 0"});

    ASSERT_TRUE(rack.moveEntityToFirstFree(ids[1], &board));
    EXPECT_EQ(entity(ids[1])->mSlot, GridSlot(0, 0));

    ASSERT_TRUE(board.swapSlots(GridSlot(0, 0), GridSlot(1, 2)));
    EXPECT_EQ(entity(ids[1])->mSlot, GridSlot(1, 2));
    EXPECT_EQ(entity(ids[0])->mSlot, GridSlot(0, 0));
    ASSERT_TRUE(board.swapSlots(GridSlot(0, 0), GridSlot(2, 2))); // into an empty square
    EXPECT_EQ(entity(ids[0])->mSlot, GridSlot(2, 2));
    EXPECT_EQ(board.getEntityIdAt(GridSlot(0, 0)), -1);
    EXPECT_FALSE(board.swapSlots(GridSlot(0, 0), GridSlot(3, 0)));
    EXPECT_EQ(board.getEntityCount(), 2);
}

TEST_F(EntityGridTest, AMoveTheTargetRefusesLeavesTheEntityWhereItWas) {
    EntityGrid rack(0, mGame);
    RefusingGrid board(-1, mGame);
    rack.setSize(2, 1);
    board.setSize(2, 2);
    const int32_t id = create(cKnight);
    rack.addEntityAt(id, GridSlot(1, 0));
    board.mAccepts = false;
    EXPECT_FALSE(rack.moveEntityTo(id, &board, GridSlot(0, 0)));
    EXPECT_FALSE(rack.moveEntityTo(id, nullptr, GridSlot(0, 0)));
    // The placement rule says yes, but the square is taken: the add fails.
    board.mAccepts = true;
    board.addEntityAt(create(cArcher), GridSlot(0, 0));
    EXPECT_FALSE(rack.moveEntityTo(id, &board, GridSlot(0, 0)));
    EXPECT_EQ(rack.getEntityIdAt(GridSlot(1, 0)), id);
    EXPECT_EQ(entity(id)->mGrid, &rack);
    EXPECT_EQ(entity(id)->mSlot, GridSlot(1, 0));
}

TEST_F(EntityGridTest, PlacingWithinAGridMovesOrPutsBackAndReportsTheOutcome) {
    HookedGrid board(-1, mGame);
    board.setSize(3, 1);
    const std::vector<int32_t> ids = knights(2);
    board.addEntityAt(ids[0], GridSlot(0, 0));
    board.addEntityAt(ids[1], GridSlot(2, 0));

    EXPECT_TRUE(board.placeEntityAt(ids[0], GridSlot(1, 0)));
    EXPECT_EQ(entity(ids[0])->mSlot, GridSlot(1, 0));
    EXPECT_TRUE(board.placeEntityAt(ids[0], GridSlot(1, 0))); // already there
    // The square is taken: the entity stays on its own square.
    EXPECT_FALSE(board.placeEntityAt(ids[0], GridSlot(2, 0)));
    EXPECT_EQ(board.getEntityIdAt(GridSlot(1, 0)), ids[0]);
    EXPECT_EQ(entity(ids[0])->mSlot, GridSlot(1, 0));
    EXPECT_EQ(board.getEntityCount(), 2);
    EXPECT_EQ(board.log, (std::vector<std::string>{"placed 0", "placed 0"}));
}

TEST_F(EntityGridTest, PlacingFromAnotherGridOrFromNowhereReportsTheRealResult) {
    EntityGrid rack(0, mGame);
    RefusingGrid board(-1, mGame);
    rack.setSize(2, 1);
    board.setSize(2, 2);
    const int32_t onRack = create(cKnight);
    const int32_t loose = create(cArcher);
    rack.addEntity(onRack);

    board.mAccepts = false;
    EXPECT_FALSE(board.placeEntityAt(onRack, GridSlot(1, 1)));
    EXPECT_EQ(entity(onRack)->mGrid, &rack);
    board.mAccepts = true;
    EXPECT_TRUE(board.placeEntityAt(onRack, GridSlot(1, 1)));
    EXPECT_EQ(entity(onRack)->mGrid, &board);
    EXPECT_EQ(rack.getEntityCount(), 0);

    EXPECT_FALSE(board.placeEntityAt(loose, GridSlot(1, 1))); // taken
    EXPECT_TRUE(board.placeEntityAt(loose, GridSlot(0, 1)));
    EXPECT_FALSE(board.placeEntityAt(77, GridSlot(0, 0)));
}

TEST_F(EntityGridTest, RangeQueriesWithAndWithoutTheDiamondRule) {
    EntityGrid board(-1, mGame);
    board.setSize(5, 5);
    // Every square holds an entity; ids follow x + y * 5.
    for (int i = 0; i < 25; ++i)
        board.addEntity(create(cKnight));

    struct Case {
        GridSlot centre;
        int32_t radius;
        bool diamond;
        GridSlot extent;
        std::vector<int32_t> ids;
    };
    const std::vector<Case> cases = {
        {{2, 2}, 1, true, {0, 0}, {7, 11, 12, 13, 17}},
        {{2, 2}, 1, false, {0, 0}, {6, 7, 8, 11, 12, 13, 16, 17, 18}},
        {{0, 0}, 1, false, {0, 0}, {0, 1, 5, 6}}, // clipped at the corner
        {{2, 2}, 0, false, {1, 0}, {11, 12, 13}}, // the extent widens a row
        {{2, 2}, 0, true, {1, 0}, {12}},          // but the diamond keeps radius 0
        {{2, 2}, 0, false, {0, 1}, {7, 12, 17}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> out{99};
        EXPECT_EQ(board.getEntityIdsInRange(out, c.centre, c.radius, c.diamond, c.extent),
                  static_cast<int32_t>(c.ids.size()));
        EXPECT_EQ(out, c.ids);
    }
    std::vector<int32_t> untouched{99};
    EXPECT_EQ(board.getEntityIdsInRange(untouched, GridSlot(2, 2), -1, true, GridSlot(0, 0)), 0);
    EXPECT_EQ(untouched, std::vector<int32_t>{99});
}

TEST_F(EntityGridTest, LineQueriesWalkInOrderAndSkipTheEndsUnlessAsked) {
    EntityGrid board(-1, mGame);
    board.setSize(5, 5);
    for (int i = 0; i < 25; ++i)
        board.addEntity(create(cKnight));
    auto line = [&](GridSlot from, GridSlot to, bool ends) {
        std::vector<int32_t> out;
        board.getEntityIdsOnLine(out, from, to, ends);
        return out;
    };
    // Vertical, written downward: walked from the lower y.
    EXPECT_EQ(line({2, 4}, {2, 1}, true), (std::vector<int32_t>{7, 12, 17, 22}));
    EXPECT_EQ(line({2, 4}, {2, 1}, false), (std::vector<int32_t>{12, 17}));
    // Horizontal, written right to left: walked from the lower x.
    EXPECT_EQ(line({4, 0}, {0, 0}, false), (std::vector<int32_t>{1, 2, 3}));
    // Diagonal: the row steps once the error reaches one half.
    EXPECT_EQ(line({0, 0}, {4, 4}, true), (std::vector<int32_t>{0, 6, 12, 18, 24}));
    EXPECT_EQ(line({0, 0}, {4, 2}, true), (std::vector<int32_t>{0, 6, 7, 13, 14}));
}

TEST_F(EntityGridTest, ShuffleOrderIsFixedForAFixedSeed) {
    auto shuffled = [&](uint32_t seed) {
        EntityGrid chest(-1, mGame);
        chest.setFlag(cGridLinear, true);
        chest.setSize(1, 1);
        while (mGame->mEntities.size() < 8)
            create(cKnight);
        for (int32_t id = 0; id < 8; ++id)
            chest.addEntity(id);
        mGame->mRng.seed(seed);
        EntityGrid::shuffle(&chest);
        for (int32_t i = 0; i < chest.getSlotCount(); ++i)
            EXPECT_EQ(entity(chest.getEntityIdAtIndex(i))->mSlot, GridSlot(0, i));
        return chest.getSlots();
    };
    const std::vector<int32_t> first = shuffled(4357);
    EXPECT_EQ(shuffled(4357), first);
    // Our own golden order for seed 4357.
    EXPECT_EQ(first, (std::vector<int32_t>{1, 2, 0, 7, 5, 6, 3, 4}));
    EXPECT_NE(shuffled(1), first);
}

TEST_F(EntityGridTest, CountLivingCountsUnitsThatKeepTheirPlayerInTheGame) {
    EntityGrid board(-1, mGame);
    board.setSize(3, 2);
    const int32_t knight = create(cKnight, 0);
    const int32_t downed = create(cArcher, 0);
    const int32_t theirs = create(cKnight, 1);
    const int32_t sword = create(cSword, 0);
    for (int32_t id : {knight, downed, theirs, sword})
        board.addEntity(id);
    entity(downed)->mState = cStateKnockedOut;

    int32_t count = 0;
    EXPECT_TRUE(EntityGrid::countLiving(&board, 0, &count));
    EXPECT_EQ(count, 1);
    count = 0;
    EXPECT_TRUE(EntityGrid::countLiving(&board, -1, &count));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(EntityGrid::countLiving(&board, 1, nullptr));
    entity(theirs)->mState = cStateDead;
    EXPECT_FALSE(EntityGrid::countLiving(&board, 1, nullptr));
}

TEST_F(EntityGridTest, ZOrderAndClamping) {
    EntityGrid board(-1, mGame);
    board.setSize(9, 5);
    EXPECT_EQ(board.zOrderForCoords(GridSlot(0, 0)), 60);
    EXPECT_EQ(board.zOrderForCoords(GridSlot(3, 4)), 20);
    GridSlot slot(-3, 7);
    board.clampCoords(slot);
    EXPECT_EQ(slot, GridSlot(0, 4));
}
