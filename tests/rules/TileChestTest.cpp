#include "GameSetupTestSupport.h"

#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/PuzzleCategory.h"

namespace {

class TileChestTest : public GameSetupTest {
protected:
    // A chest of the fixture's game, owned by owner, filled.
    TileChest& filledChest(int32_t owner) {
        mChest = std::make_unique<TileChest>(owner, mGame);
        mChest->setSize(1, 1);
        TileChest::fill(mChest.get());
        return *mChest;
    }
    void TearDown() override {
        mChest.reset();
        GameSetupTest::TearDown();
    }

    std::unique_ptr<TileChest> mChest;
};

} // namespace

TEST_F(TileChestTest, FillTakesEntriesLastToFirstSoTheFirstEntryIsDrawnFirst) {
    mGame->mPlayers[1]->mCivId = 1;
    const TileChest& chest = filledChest(1);
    // Red: councilKnight x1, archer x2; the last entry goes in first.
    EXPECT_EQ(protosIn(chest), (std::vector<int32_t>{cArcher, cArcher, cCouncilKnight}));
    EXPECT_EQ(chest.getEntityCount(), 3);
    for (int32_t i = 0; i < chest.getSlotCount(); ++i) {
        const Entity* tile = chest.getEntityAtIndex(i);
        EXPECT_EQ(tile->mOwner, -1) << "tiles in a chest belong to nobody";
        EXPECT_EQ(tile->mState, cStateInTileChest);
        EXPECT_EQ(tile->mGrid, &chest);
    }
    EXPECT_EQ(chest.getName(), "\"Chest\"");
    EXPECT_EQ(chest.getGridType(), cGridTileChest);
    EXPECT_TRUE(chest.isFlagSet(cGridLinear));
    EXPECT_TRUE(chest.isFlagSet(cGridHidden));
}

TEST_F(TileChestTest, RecordsOfARandomEntryKeepTheirOrderWithinTheEntry) {
    SettingsManager::instance().mCivs.clear();
    addCiv(0, "blue", R"(<tileAllocation randomize="false"><tile name="crystal">1</tile>
        <random choose="3"><tile name="knight">1</tile><tile name="archer">2</tile>
        <tile name="sword">1</tile></random></tileAllocation>)");
    // The shared chest (owner -1) fills from civ 0.
    EXPECT_EQ(protosIn(filledChest(-1)),
              (std::vector<int32_t>{cKnight, cArcher, cArcher, cSword, cCrystal}));
}

TEST_F(TileChestTest, ARandomEntryDrawsFromTheCosmeticGeneratorOnly) {
    SettingsManager::instance().mCivs.clear();
    addCiv(0, "blue", R"(<tileAllocation randomize="false"><random choose="1">
        <tile name="knight">1</tile><tile name="archer">1</tile><tile name="sword">1</tile>
        </random></tileAllocation>)");
    RNG fresh;
    fresh.seed(5);
    const uint32_t firstWord = fresh.randInt();
    std::vector<int32_t> firsts;
    for (int round = 0; round < 2; ++round) {
        gRng.seed(77);
        mGame->mRng.seed(5);
        firsts.push_back(protosIn(filledChest(-1)).at(0));
        EXPECT_EQ(mGame->mRng.randInt(), firstWord)
            << "filling without a shuffle leaves the game's generator alone";
    }
    EXPECT_EQ(firsts[0], firsts[1]);
}

TEST_F(TileChestTest, RandomizedFillShufflesWithTheGamesGenerator) {
    SettingsManager::instance().mCivs.clear();
    addCiv(0, "blue", R"(<tileAllocation><tile name="knight">3</tile>
        <tile name="archer">3</tile><tile name="sword">3</tile></tileAllocation>)");
    mGame->mRng.seed(11);
    const std::vector<int32_t> first = protosIn(filledChest(-1));
    mGame->mRng.seed(11);
    EXPECT_EQ(protosIn(filledChest(-1)), first);
    std::vector<int32_t> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int32_t>{0, 0, 0, 1, 1, 1, 3, 3, 3}));
    EXPECT_NE(first, (std::vector<int32_t>{3, 3, 3, 1, 1, 1, 0, 0, 0}));
}

TEST_F(TileChestTest, WithoutAnAllocationTheChestStaysEmpty) {
    SettingsManager& settings = SettingsManager::instance();
    const struct {
        const char* what;
        int32_t owner;
        int32_t ownerCiv;
        int32_t puzzleCategory;
        int32_t puzzleIndex;
    } cases[] = {
        {"a civ without an allocation", 0, 2, -1, -1},
        {"an unknown civ", 0, 9, -1, -1},
        {"an owner that is no player", 5, 0, -1, -1},
        {"a puzzle category out of range", -1, 0, 3, 0},
        {"a puzzle index out of range", -1, 0, 0, 4},
        {"a puzzle without an allocation", -1, 0, 0, 1},
    };
    addCiv(2, "bare", nullptr);
    auto category = std::make_unique<PuzzleCategory>();
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("withTiles"));
    category->mPuzzles.back()->mTileAllocation =
        makeAllocation(R"(<tileAllocation><tile name="knight">1</tile></tileAllocation>)");
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("bare"));
    settings.mPuzzleCategories.push_back(std::move(category));
    for (const auto& c : cases) {
        mGame->mPlayers[0]->mCivId = c.ownerCiv;
        mGame->mPuzzleCategory = c.puzzleCategory;
        mGame->mPuzzleIndex = c.puzzleIndex;
        EXPECT_EQ(filledChest(c.owner).getEntityCount(), 0) << c.what;
    }
    // A puzzle's own tiles win over the owner's civ.
    mGame->mPuzzleIndex = 0;
    mGame->mPuzzleCategory = 0;
    EXPECT_EQ(protosIn(filledChest(0)), (std::vector<int32_t>{cKnight}));
    EXPECT_TRUE(mGame->mEntities.size() == 1u) << "failed fills made no entities";
}

TEST_F(TileChestTest, TakeTileFiltersByKindAndExclusionAndSwitchesToTheCiv) {
    mGame->mFlags = 0; // civ variants apply outside local games
    mGame->mPlayers[0]->mCivId = 0;
    TileChest& chest = filledChest(0); // blue: archer, sword, knight, knight (last drawn first)
    ASSERT_EQ(protosIn(chest), (std::vector<int32_t>{cArcher, cSword, cKnight, cKnight}));
    const int32_t archer = chest.getEntityIdAtIndex(0);
    const int32_t sword = chest.getEntityIdAtIndex(1);
    const int32_t knight1 = chest.getEntityIdAtIndex(2);
    const int32_t knight2 = chest.getEntityIdAtIndex(3);

    EXPECT_EQ(chest.takeTile(0, -1, {}), knight2) << "the highest occupied slot";
    EXPECT_EQ(chest.takeTile(0, cEntityGear, {}), sword);
    EXPECT_EQ(chest.takeTile(0, cEntityUnit, {knight2}), knight1);
    EXPECT_EQ(chest.takeTile(0, cEntityUnit, {knight1, knight2}), archer);
    EXPECT_EQ(chest.takeTile(0, cEntityPower, {}), -1);
    EXPECT_EQ(chest.takeTile(0, -1, {archer, sword, knight1, knight2}), -1);
    EXPECT_EQ(chest.getEntityCount(), 4) << "taking only picks; the caller moves the tile";

    // The civ is no filter: the tile found turns into red's knight.
    EXPECT_EQ(chest.takeTile(1, cEntityUnit, {}), knight2);
    EXPECT_EQ(entity(knight2)->mProtoId, cCouncilKnight);
    EXPECT_EQ(entity(knight2)->mState, cStateInTileChest);

    chest.removeEntity(knight2);
    chest.removeEntity(knight1);
    EXPECT_EQ(chest.takeTile(0, -1, {}), sword) << "empty slots are skipped";
    TileChest empty(-1, mGame);
    EXPECT_EQ(empty.takeTile(0, -1, {}), -1);
}

TEST_F(TileChestTest, ArrivingTilesTakeTheStateOfTheirGrid) {
    TileChest& chest = filledChest(-1);
    TileRack rack(0, mGame);
    rack.setSize(4, 1);
    EXPECT_EQ(rack.getName(), "\"Tilerack\"");
    EXPECT_EQ(rack.getGridType(), cGridTileRack);
    const int32_t id = chest.getEntityIdAtIndex(chest.getSlotCount() - 1);
    ASSERT_TRUE(chest.moveEntityToFirstFree(id, &rack));
    EXPECT_EQ(entity(id)->mState, cStateOnTileRack);
    EXPECT_EQ(rack.getEntityIdAt(GridSlot(0, 0)), id);
    ASSERT_TRUE(rack.moveEntityToFirstFree(id, &chest));
    EXPECT_EQ(entity(id)->mState, cStateInTileChest);
    EXPECT_FALSE(chest.moveEntityToFirstFree(id, nullptr));
}

TEST_F(TileChestTest, RackTilesDrawAboveTheBoardRows) {
    TileRack rack(0, mGame);
    rack.setSize(4, 1);
    EXPECT_EQ(rack.zOrderForCoords(GridSlot(0, 0)), 120);
    EntityGrid plain(0, mGame);
    plain.setSize(4, 1);
    EXPECT_EQ(plain.zOrderForCoords(GridSlot(0, 0)), 20);
}
