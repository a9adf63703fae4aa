// Dragging an entity's view: the pick-up by view kind and state, which
// tiles follow the finger, and the cancel that puts the tile down.

#include "EntityViewTestSupport.h"

#include "rules/AnimStateIds.h"

#include "platform/engine/CCTouch.h"

using namespace cocos2d;

namespace {

// A touch at a scene point (the view's y runs downwards).
CCTouch* touchOver(std::vector<CCTouch*>& kept, const CCPoint& at) {
    const CCPoint view = CCDirector::sharedDirector()->convertToUI(at);
    auto* touch = new CCTouch(0, view.x, view.y);
    kept.push_back(touch);
    return touch;
}

} // namespace

TEST_F(EntityViewTest, APickUpLiftsByViewKindAndState) {
    struct Case {
        const char* proto;
        bool onRack;
        float scale; // after the lift
    };
    const Case cases[] = {
        {"knight", true, 1.0f},  // a rack tile whose puppet has Select: no scaling
        {"archer", true, 1.5f},  // no puppet: scales
        {"knight", false, 1.5f}, // a board unit scales
    };
    int32_t column = 0;
    for (const Case& row : cases) {
        EntityGrid* grid = row.onRack ? static_cast<EntityGrid*>(mGame->mPlayers[0]->mTileRack)
                                      : static_cast<EntityGrid*>(mGame->mGameBoard);
        const GridSlot slot = row.onRack ? GridSlot(column, 0) : GridSlot(column, 1);
        EntityView* tile = view(row.proto, 0, slot, grid,
                                row.onRack ? cStateOnTileRack : cStateDeployedToGameBoard);
        ASSERT_NE(tile, nullptr);
        ASSERT_TRUE(tile->ccTouchBegan(touchOver(mTouches, tile->getPosition()), nullptr))
            << row.proto;
        EXPECT_TRUE(tile->entity()->mDragging);
        run(0.1f);
        EXPECT_FLOAT_EQ(tile->getMainNode()->getScale(), row.scale) << row.proto << row.onRack;
        if (row.onRack) {
            EXPECT_EQ(tile->getMainNode()->getZOrder(), 1000);
        }
        tile->ccTouchCancelled(nullptr, nullptr);
        run(0.1f);
        EXPECT_FLOAT_EQ(tile->getMainNode()->getScale(), 1.0f);
        EXPECT_FALSE(tile->entity()->mDragging);
        ++column;
    }
}

TEST_F(EntityViewTest, ARackTileFollowsTheFingerAndABoardUnitStays) {
    EntityView* rackTile =
        view("archer", 0, GridSlot(0, 0), mGame->mPlayers[0]->mTileRack, cStateOnTileRack);
    EntityView* unit = view("knight", 0, GridSlot(2, 2));
    ASSERT_NE(rackTile, nullptr);
    ASSERT_NE(unit, nullptr);
    const CCPoint unitAt = unit->getPosition();
    for (EntityView* tile : {rackTile, unit}) {
        CCTouch* touch = touchOver(mTouches, tile->getPosition());
        ASSERT_TRUE(tile->ccTouchBegan(touch, nullptr));
        const CCPoint to = CCDirector::sharedDirector()->convertToUI(CCPoint(300.0f, 200.0f));
        touch->setTouchInfo(0, to.x, to.y);
        tile->ccTouchMoved(touch, nullptr);
        tile->ccTouchCancelled(touch, nullptr);
    }
    EXPECT_FLOAT_EQ(rackTile->getPosition().x, 300.0f);
    EXPECT_FLOAT_EQ(rackTile->getPosition().y, 200.0f);
    EXPECT_FALSE(rackTile->isDragging());
    EXPECT_FLOAT_EQ(unit->getPosition().x, unitAt.x);
    EXPECT_FLOAT_EQ(unit->getPosition().y, unitAt.y);
}

TEST_F(EntityViewTest, APuppetWithoutSelectLiftsWithIdleActiveUnlessKnockedOut) {
    struct Case {
        int32_t state;
        int32_t held;     // the puppet's state while held
        int32_t moved;    // after the first move
        int32_t released; // after the cancel
    };
    const Case cases[] = {
        {cStateDeployedToGameBoard, cAnimStateIdleActive, cAnimStateIdleActive, cAnimStateIdleFull},
        {cStateKnockedOut, cAnimStateKnockedOutIdle, cAnimStateKnockedOutIdle,
         cAnimStateKnockedOutIdle},
        {cStateOnTileRack, cAnimStateIdleActive, cAnimStatePickedUp, cAnimStateIdleFull},
    };
    int32_t column = 0;
    for (const Case& row : cases) {
        const bool onRack = row.state == cStateOnTileRack;
        EntityGrid* grid = onRack ? static_cast<EntityGrid*>(mGame->mPlayers[0]->mTileRack)
                                  : static_cast<EntityGrid*>(mGame->mGameBoard);
        EntityView* ogre = view("ogre", 0, GridSlot(column, onRack ? 0 : 1), grid, row.state);
        ASSERT_NE(ogre, nullptr);
        run(0.1f);
        CCTouch* touch = touchOver(mTouches, ogre->getPosition());
        ASSERT_TRUE(ogre->ccTouchBegan(touch, nullptr)) << row.state;
        run(0.1f);
        EXPECT_FLOAT_EQ(ogre->getMainNode()->getScale(), 1.5f) << row.state;
        EXPECT_EQ(ogre->puppet()->getCurrentState(), row.held) << row.state;
        ogre->ccTouchMoved(touch, nullptr);
        run(0.05f);
        EXPECT_EQ(ogre->puppet()->getCurrentState(), row.moved) << row.state;
        ogre->ccTouchCancelled(touch, nullptr);
        run(0.1f);
        EXPECT_EQ(ogre->puppet()->getCurrentState(), row.released) << row.state;
        ++column;
    }
}
