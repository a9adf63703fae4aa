// A local game of the shipped content bound to the game scene and drawn
// offscreen: a rack unit dragged by synthetic touches through the touch
// dispatcher onto a free deploy square stands there once the clock has run,
// drawn over the square, with its cost taken from the gems and one command
// in the turn.

#include "ShippedGameTestSupport.h"

#include "../platform/render/RenderTest.h"

#include "rules/CocosEntityLink.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/TileRack.h"

#include "platform/render/CCEGLView.h"
#include "platform/render/CCSprite.h"

#include <cmath>

using namespace cocos2d;

namespace {

using DragEndToEndTest = ShippedGameTest;

} // namespace

TEST_F(DragEndToEndTest, ARackUnitDraggedOntoAFreeDeploySquareStandsThere) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("drag", 960, 640));
    director()->setOpenGLView(&view);
    Entity* knight = make("knight", 0);
    ASSERT_TRUE(mGame->mPlayers[0]->mTileRack->addEntity(knight->mId));
    knight->mState = cStateOnTileRack;
    mGame->mPlayers[0]->mActionPoints = 3;
    testing::internal::CaptureStdout();
    mBoardScene->setGame(mGame);
    testing::internal::GetCapturedStdout();
    run(0.2f, 1.0f / 20);

    const GridSlot square(1, 2);
    int32_t cost = 0;
    GridSlot target;
    ASSERT_EQ(knight->classifyDrop(mGame->mGameBoard, square, cost, target), cActionDeploy);
    const CCPoint to = mGame->mGameBoard->pointForCoords(square, true);
    // The sample knight's blue body stands over its node (its centre about
    // 18 points up), this point left of its letter.
    const int px = static_cast<int>(to.x) - 12;
    const int py = static_cast<int>(to.y) + 18;
    const Rgba empty = viewPixel(view, px, py);
    const CCPoint from = knight->getEntityLink()->getMainNode()->getPosition();
    CCTouch* touch = touchAt(from.x, from.y);
    press(touch);
    for (int step = 1; step <= 4; ++step) {
        const float t = static_cast<float>(step) / 4;
        moveTo(touch, from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t);
        run(1.0f / 30);
    }
    lift(touch);
    run(1.5f, 1.0f / 20);

    const CCPoint at = knight->getEntityLink()->getMainNode()->getPosition();
    EXPECT_LT(std::fabs(at.x - to.x) + std::fabs(at.y - to.y), 1.0f);
    EXPECT_EQ(knight->mSlot, square);
    ASSERT_EQ(mGame->mCommands.size(), 1u);
    EXPECT_EQ(mGame->mCommands[0]->mTarget, square);
    EXPECT_EQ(mGame->mPlayers[0]->mActionPoints, 3 - cost);
    int32_t shown = 0;
    for (const CCSprite* gem : mBoardScene->mActionPointGems)
        shown += gem->getIsVisible() && gem->getScale() > 0.5f ? 1 : 0;
    EXPECT_EQ(shown, 3 - cost);
    auto blue = [](const Rgba& pixel) { return pixel.b > 150 && pixel.b > pixel.r + 80; };
    EXPECT_FALSE(blue(empty)) << "the square before";
    EXPECT_TRUE(blue(viewPixel(view, px, py))) << "the unit drawn over the square";
    mBoardScene->setGame(nullptr);
    director()->setOpenGLView(nullptr);
}
