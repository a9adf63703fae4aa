#include "BoardTestSupport.h"

namespace {

using Slots = std::set<std::pair<int32_t, int32_t>>;

class BoardHighlightTest : public BoardRulesTest {
protected:
    void SetUp() override {
        BoardRulesTest::SetUp();
        mServices = std::make_unique<RecordingSceneServices>();
    }
    void TearDown() override {
        BoardRulesTest::TearDown();
        mServices.reset();
    }
    // Links the board (and the views of the units on it).
    RecordingBoardLink* linkBoard() {
        EXPECT_TRUE(mBoard->linkAt(cocos2d::CCPoint(0, 0)));
        return mBoard->view();
    }
    // A tile on player 0's rack.
    Entity* rackTile(const char* name) {
        Entity* tile = entity(make(name));
        tile->mState = cStateOnTileRack;
        return tile;
    }
    static RecordingEntityLink* viewOf(const Entity* unit) {
        return dynamic_cast<RecordingEntityLink*>(unit->getEntityLink());
    }
    static Slots wholeBoard() {
        Slots all;
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 9; ++x)
                all.insert({x, y});
        return all;
    }

    std::unique_ptr<RecordingSceneServices> mServices;
};

} // namespace

TEST_F(BoardHighlightTest, WithoutABoardViewNothingIsHighlighted) {
    Entity* tile = rackTile("meteor");
    testing::internal::CaptureStdout();
    mBoard->showSlotHighlight(tile->mId);
    mBoard->clearSlotHighlights(tile->mId);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(mBoard->hasLink());
    linkBoard();
    mBoard->showSlotHighlight(999); // no such entity
    EXPECT_TRUE(mBoard->view()->mHighlighted.empty());
}

TEST_F(BoardHighlightTest, DeployKindsOfRackTiles) {
    struct Row {
        const char* what;
        const char* tile;
        int32_t currentPlayer;
        Slots expected;
    };
    const Row rows[] = {
        {"deploy zone", "knight", 0, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}}},
        {"the mirrored deploy zone", "knight", 1, {{8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {7, 2}}},
        // Gear needs canEquip: the allies without a weapon; not the foe, not
        // the armed ally.
        {"gear on units that may carry it", "sword", 0, {{1, 1}, {3, 2}}},
        {"an ally power on allies", "blessing", 0, {{3, 2}, {4, 2}, {1, 1}}},
        {"the whole board", "meteor", 0, wholeBoard()},
        // Next to player 0's crystal at (1, 1), free squares only.
        {"remote deploy", "outpost", 0, {{1, 0}, {0, 1}, {2, 1}, {1, 2}}},
    };
    for (const Row& row : rows) {
        reset();
        mGame->mCurrentPlayer = row.currentPlayer;
        unitAt("crystal", 0, GridSlot(1, 1));
        mGame->getPlayer(0)->mVictoryUnitIds.push_back(0);
        unitAt("knight", 0, GridSlot(3, 2));
        equipNew(unitAt("knight", 0, GridSlot(4, 2)), "axe");
        unitAt("knight", 1, GridSlot(6, 2));
        RecordingBoardLink* view = linkBoard();
        Entity* tile = rackTile(row.tile);
        tile->mOwner = row.currentPlayer == 1 ? 1 : 0;
        mBoard->showSlotHighlight(tile->mId);
        EXPECT_EQ(view->mHighlighted, row.expected) << row.what;
    }
}

TEST_F(BoardHighlightTest, AnUnknownDeployKindHighlightsTheWholeBoard) {
    RecordingBoardLink* view = linkBoard();
    Entity* tile = rackTile("oddity");
    testing::internal::CaptureStdout();
    mBoard->showSlotHighlight(tile->mId);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "UNIMPLEMENTED DEPLOY TYPE\n");
    EXPECT_EQ(view->mHighlighted, wholeBoard());
}

TEST_F(BoardHighlightTest, ATileThatDeploysOntoAStateMarksThoseUnits) {
    Entity* fallen = unitAt("knight", 0, GridSlot(4, 4));
    fallen->setHealth(0);
    Entity* standing = unitAt("knight", 0, GridSlot(4, 3));
    RecordingBoardLink* view = linkBoard();
    mBoard->showSlotHighlight(rackTile("totem")->mId);
    EXPECT_TRUE(view->mHighlighted.count({4, 4}));
    EXPECT_FALSE(view->mHighlighted.count({4, 3}));
    EXPECT_TRUE(view->mHighlighted.count({0, 0})); // the zone as well
    EXPECT_EQ(viewOf(fallen)->mMarker, 0);
    EXPECT_EQ(viewOf(standing)->mMarker, -2);

    // A respawning unit highlights as a rack tile does; another knocked-out
    // unit highlights nothing.
    mBoard->clearSlotHighlights(fallen->mId);
    Entity* revenant = unitAt("revenant", 0, GridSlot(2, 4));
    revenant->setHealth(0);
    mBoard->showSlotHighlight(fallen->mId);
    EXPECT_TRUE(view->mHighlighted.empty());
    mBoard->showSlotHighlight(revenant->mId);
    EXPECT_TRUE(view->mHighlighted.count({0, 2}));
}

TEST_F(BoardHighlightTest, AUnitOnTheBoardShowsItsMovesTeleportersAndArrows) {
    Entity* knight = unitAt("knight", 0, GridSlot(3, 1)); // movement 2
    unitAt("knight", 1, GridSlot(3, 2));                  // blocks its square
    RecordingBoardLink* view = linkBoard();
    mBoard->showSlotHighlight(knight->mId);
    const Slots reach = {{3, 0}, {2, 0}, {4, 0}, {1, 1}, {2, 1},
                         {4, 1}, {5, 1}, {2, 2}, {4, 2}, {3, 3}};
    EXPECT_EQ(view->mHighlighted, reach);
    EXPECT_EQ(view->mTeleporters, Slots({{3, 0}}));
    EXPECT_EQ(view->mArrowsFor, knight->mId);

    mBoard->clearSlotHighlights(knight->mId);
    EXPECT_TRUE(view->mHighlighted.empty());
    EXPECT_TRUE(view->mTeleporters.empty());
    EXPECT_EQ(view->mArrowsFor, -1);
    EXPECT_EQ(viewOf(knight)->mMarker, CocosEntityLink::cHideTargetMarker);

    // Equipped items and tiles in the chest highlight nothing.
    const int32_t sword = equipNew(knight, "sword");
    mBoard->showSlotHighlight(sword);
    EXPECT_TRUE(view->mHighlighted.empty());
}

TEST_F(BoardHighlightTest, OverlaysFollowTheTouch) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    const int32_t sword = equipNew(knight, "sword");
    linkBoard();
    mBoard->showEntityOverlays();
    EXPECT_TRUE(viewOf(knight)->mHealthBarShown);
    EXPECT_EQ(viewOf(knight)->mSprites, std::vector<int32_t>{sword});
    mBoard->hideEntityOverlays();
    EXPECT_FALSE(viewOf(knight)->mHealthBarShown);
    EXPECT_TRUE(viewOf(knight)->mSprites.empty());

    // Aura overlays of the items a unit made.
    const int32_t ward = make("ward");
    entity(ward)->mCreatorEntityID = 42;
    knight->equip(ward, nullptr);
    mBoard->setAurasSelected(true, 7);
    EXPECT_FALSE(viewOf(knight)->mAuraSelected);
    mBoard->setAurasSelected(true, 42);
    EXPECT_TRUE(viewOf(knight)->mAuraSelected);
    EXPECT_EQ(viewOf(knight)->mSelectedAura, 7) << "the item's aura, Shields";
    mBoard->clearSlotHighlights(42);
    EXPECT_FALSE(viewOf(knight)->mAuraSelected);
}
