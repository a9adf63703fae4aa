#include "RulesTestSupport.h"

#include <cmath>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

class GridGeometryTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        cocos2d::CCDirector::sharedDirector()->setWinSizeInPixels(CCSize(480, 320));
    }
};

} // namespace

TEST_F(GridGeometryTest, AGridWithoutAViewMapsNoPoint) {
    EntityGrid grid(-1, mGame);
    grid.setSize(9, 5);
    EXPECT_EQ(grid.coordsForPoint(CCPoint(0, 0)), GridSlot(-1, -1));
    EXPECT_FALSE(grid.containsPoint(CCPoint(0, 0)));
    EXPECT_EQ(grid.snapPoint(CCPoint(3, 4)), CCPoint(3, 4));
    EXPECT_EQ(grid.pointForCoords(GridSlot(-1, -1), true), CCPoint(0, 123));
}

TEST_F(GridGeometryTest, PointsAndSquaresRoundTripWithAndWithoutPerspective) {
    for (const float farScale : {1.0f, 0.8f}) {
        MeasuredGrid grid(mGame, CCSize(50, 40), farScale);
        grid.setSize(9, 5);
        ASSERT_TRUE(grid.linkAt(CCPoint(100, 60)));
        EXPECT_EQ(grid.getViewSize(), CCSize(450, 200));
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 9; ++x) {
                const CCPoint centre = grid.pointForCoords(GridSlot(x, y), true);
                EXPECT_EQ(grid.coordsForPoint(centre), GridSlot(x, y)) << x << "," << y;
                EXPECT_EQ(grid.snapPoint(CCPoint(centre.x + 3, centre.y - 2)), centre);
            }
        }
    }
}

TEST_F(GridGeometryTest, RowsShrinkTowardTheBackAndTheBackNarrows) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 0.8f);
    grid.setSize(9, 5);
    grid.linkAt(CCPoint(100, 60));
    // Row centres: 20 + 40 n - 1.4 n^2 above the front edge.
    for (int32_t n = 0; n < 5; ++n)
        EXPECT_FLOAT_EQ(grid.pointForCoords(GridSlot(0, n), false).y,
                        60.0f + 20.0f + 40.0f * n - 1.4f * n * n);
    // Row 0 is 40 high, row 1 37.2: dy 40 is still row 0, 77.2 still row 1.
    EXPECT_EQ(grid.coordsForPoint(CCPoint(330, 100)).y, 0);
    EXPECT_EQ(grid.coordsForPoint(CCPoint(330, 137.1f)).y, 1);
    EXPECT_EQ(grid.coordsForPoint(CCPoint(330, 137.3f)).y, 2);
    EXPECT_EQ(grid.coordsForPoint(CCPoint(330, 59)), GridSlot(-1, -1));
    // The back row's centres are pulled toward the middle column.
    const CCPoint front = grid.pointForCoords(GridSlot(0, 0), true);
    const CCPoint back = grid.pointForCoords(GridSlot(0, 4), true);
    EXPECT_GT(back.x, front.x);
    EXPECT_FLOAT_EQ(grid.pointForCoords(GridSlot(4, 4), true).x, 100.0f + 225.0f);
}

TEST_F(GridGeometryTest, APointJustLeftOfTheFirstColumnIsOutside) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 1.0f);
    grid.setSize(3, 1);
    grid.linkAt(CCPoint(100, 60));
    EXPECT_EQ(grid.coordsForPoint(CCPoint(100, 70)), GridSlot(0, 0));
    EXPECT_EQ(grid.coordsForPoint(CCPoint(99, 70)), GridSlot(-1, -1));
    EXPECT_EQ(grid.coordsForPoint(CCPoint(250, 70)), GridSlot(-1, -1));
    grid.setLocked(true);
    EXPECT_FALSE(grid.containsPoint(CCPoint(120, 70)));
    EXPECT_FALSE(grid.placeEntityAtPoint(create(cKnight), CCPoint(120, 70)));
}

TEST_F(GridGeometryTest, PlacingAtAPointUsesItsSquare) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 1.0f);
    grid.setSize(3, 2);
    grid.linkAt(CCPoint(0, 0));
    const int32_t id = create(cKnight);
    EXPECT_TRUE(grid.canPlaceEntityAtPoint(id, CCPoint(120, 50)));
    EXPECT_TRUE(grid.placeEntityAtPoint(id, CCPoint(120, 50)));
    EXPECT_EQ(entity(id)->mSlot, GridSlot(2, 1));
    EXPECT_FALSE(grid.placeEntityAtPoint(id, CCPoint(-5, 50)));
}

TEST_F(GridGeometryTest, LinkingShowsTheEntitiesAtTheirSquaresInRowOrder) {
    FakeSceneServices services;
    auto* layer = cocos2d::CCNode::node();
    MeasuredGrid grid(mGame, CCSize(50, 40), 0.8f);
    grid.setSize(3, 3);
    const int32_t front = create(cKnight);
    const int32_t back = create(cArcher);
    grid.addEntityAt(front, GridSlot(1, 0));
    grid.addEntityAt(back, GridSlot(1, 2));
    ASSERT_TRUE(grid.linkAt(CCPoint(10, 20)));
    for (const int32_t id : {front, back}) {
        cocos2d::CCNode* node = entity(id)->getEntityLink()->getMainNode();
        EXPECT_EQ(node->getPosition(), grid.pointForCoords(entity(id)->mSlot, true));
        EXPECT_TRUE(node->getIsVisible());
        layer->addChild(node);
        entity(id)->refreshView();
    }
    EXPECT_EQ(entity(front)->getEntityLink()->getMainNode()->getZOrder(), 40);
    EXPECT_EQ(entity(back)->getEntityLink()->getMainNode()->getZOrder(), 20);

    // Hidden views: linked, but invisible.
    grid.setViewHidden(true);
    grid.linkAt(CCPoint(10, 20));
    EXPECT_FALSE(entity(front)->getEntityLink()->getMainNode()->getIsVisible());
    grid.unlink();
    EXPECT_FALSE(entity(front)->hasLink());
    EXPECT_FALSE(grid.hasLink());
}

TEST_F(GridGeometryTest, LeavingAHiddenGridBringsTheViewAndEnteringOneDropsIt) {
    FakeSceneServices services;
    MeasuredGrid board(mGame, CCSize(50, 40), 1.0f);
    MeasuredGrid graveyard(mGame, CCSize(50, 40), 1.0f);
    board.setSize(2, 1);
    graveyard.setFlag(cGridHidden, true);
    graveyard.setFlag(cGridLinear, true);
    graveyard.setSize(1, 1);
    const int32_t id = create(cKnight);
    graveyard.addEntity(id);
    ASSERT_TRUE(graveyard.linkAt(CCPoint(300, 5)));
    ASSERT_TRUE(board.linkAt(CCPoint(0, 0)));
    EXPECT_FALSE(entity(id)->hasLink()); // hidden grids link no entity

    ASSERT_TRUE(graveyard.moveEntityTo(id, &board, GridSlot(1, 0)));
    ASSERT_TRUE(entity(id)->hasLink());
    EXPECT_EQ(entity(id)->getViewPosition(), CCPoint(300, 5));
    ASSERT_TRUE(board.moveEntityTo(id, &graveyard, GridSlot(0, 0)));
    EXPECT_FALSE(entity(id)->hasLink());
}

TEST_F(GridGeometryTest, TheNearestEntityWinsAndATieGoesToTheLowerSlot) {
    FakeSceneServices services;
    services.mHalfExtents = CCSize(200, 200);
    MeasuredGrid rack(mGame, CCSize(50, 40), 1.0f);
    rack.setSize(3, 1);
    const int32_t left = create(cKnight);
    const int32_t right = create(cArcher);
    rack.addEntityAt(left, GridSlot(0, 0));
    rack.addEntityAt(right, GridSlot(2, 0));
    ASSERT_TRUE(rack.linkAt(CCPoint(0, 0)));
    // The middle square's centre (75, 20) in view coordinates (y down).
    const CCPoint middle(75, 320 - 20);
    EXPECT_EQ(rack.findNearestEntity(middle, nullptr), entity(left));
    EXPECT_EQ(rack.findNearestEntity(middle, entity(left)), entity(right));
    EXPECT_EQ(rack.findNearestEntity(CCPoint(120, 300), nullptr), entity(right));
    // Out of every entity's touch rectangle: nobody.
    services.mHalfExtents = CCSize(10, 10);
    EXPECT_EQ(rack.findNearestEntity(middle, nullptr), nullptr);
    rack.unlink();
}
