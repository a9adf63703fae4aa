#include "RulesTestSupport.h"

#include <array>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

class GridLatticeTest : public RulesTest {
protected:
    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }
};

// The lattice vertex at (row line, column) of a 9-wide grid.
cocos2d::ccVertex3F at(const CocosEntityGridLink& view, int line, int column) {
    return view.getVertices()[static_cast<size_t>(line) * 10 + static_cast<size_t>(column)];
}

} // namespace

TEST_F(GridLatticeTest, SlotCornersAreTheLatticePointsAroundTheSlot) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 0.8f);
    grid.setSize(9, 5);
    ASSERT_TRUE(grid.linkAt(CCPoint(100, 60)));
    auto& view = dynamic_cast<CocosEntityGridLink&>(*grid.getLink());
    view.buildVertexGrid();
    ASSERT_EQ(view.getVertices().size(), 60u);

    std::array<float, 12> corners{};
    ASSERT_TRUE(view.getSlotCorners(8, 4, corners));
    const cocos2d::ccVertex3F expected[4] = {at(view, 5, 8), at(view, 4, 8), at(view, 5, 9),
                                             at(view, 4, 9)};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(corners[i * 3], expected[i].x) << i;
        EXPECT_EQ(corners[i * 3 + 1], expected[i].y) << i;
        EXPECT_EQ(corners[i * 3 + 2], 0.0f) << i;
    }
    // The back corners are pulled in toward the middle.
    EXPECT_GT(at(view, 5, 0).x, at(view, 0, 0).x);
    EXPECT_LT(at(view, 5, 9).x, at(view, 0, 9).x);
    // Each slot's centre lies between its corners.
    ASSERT_TRUE(view.getSlotCorners(3, 2, corners));
    const CCPoint centre = grid.pointForCoords(GridSlot(3, 2), true);
    EXPECT_GT(centre.x, corners[3]);
    EXPECT_LT(centre.x, corners[9]);
    EXPECT_GT(centre.y, corners[4]);
    EXPECT_LT(centre.y, corners[1]);

    for (const auto& [x, y] : {std::pair{-1, 0}, {9, 0}, {0, -1}, {0, 5}})
        EXPECT_FALSE(view.getSlotCorners(x, y, corners)) << x << "," << y;
}

TEST_F(GridLatticeTest, WithoutNarrowingTheLatticeIsARectangleOfShrinkingRows) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 1.0f);
    grid.setSize(9, 5);
    ASSERT_TRUE(grid.linkAt(CCPoint(100, 60)));
    auto& view = dynamic_cast<CocosEntityGridLink&>(*grid.getLink());
    view.buildVertexGrid();
    const float rowLines[6] = {60.0f, 100.0f, 137.2f, 171.6f, 203.2f, 232.0f};
    for (int line = 0; line <= 5; ++line) {
        for (int column = 0; column <= 9; ++column) {
            EXPECT_FLOAT_EQ(at(view, line, column).x, 100.0f + 50.0f * column);
            EXPECT_FLOAT_EQ(at(view, line, column).y, rowLines[line]);
        }
    }
}

TEST_F(GridLatticeTest, TheContentScaleScalesEveryVertex) {
    MeasuredGrid grid(mGame, CCSize(50, 40), 0.8f);
    grid.setSize(9, 5);
    ASSERT_TRUE(grid.linkAt(CCPoint(100, 60)));
    auto& view = dynamic_cast<CocosEntityGridLink&>(*grid.getLink());
    director()->setContentScaleFactor(1.0f);
    view.buildVertexGrid();
    const std::vector<cocos2d::ccVertex3F> single = view.getVertices();
    director()->setContentScaleFactor(2.0f);
    view.buildVertexGrid();
    ASSERT_EQ(view.getVertices().size(), single.size());
    for (size_t i = 0; i < single.size(); ++i) {
        EXPECT_FLOAT_EQ(view.getVertices()[i].x, 2.0f * single[i].x) << i;
        EXPECT_FLOAT_EQ(view.getVertices()[i].y, 2.0f * single[i].y) << i;
    }
    director()->setContentScaleFactor(1.0f);
}

TEST_F(GridLatticeTest, AViewWithoutItsGridHasNoLattice) {
    CocosEntityGridLink view(nullptr);
    view.buildVertexGrid();
    std::array<float, 12> corners{};
    EXPECT_TRUE(view.getVertices().empty());
    EXPECT_FALSE(view.getSlotCorners(0, 0, corners));
}
