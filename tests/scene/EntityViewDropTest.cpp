// Lifting and dropping a dragged tile on the shipped content's board, with
// every grid drawn on the game scene: the pick-up's sounds, chest and ponder
// loop, the snap to a unit under a point off the middle of
// a square, what a drop costs and records, the fly-back of every refused
// drop, a rack rearranged inside a puzzle, and the large layout's moved scene.

#include "ShippedGameTestSupport.h"

#include "scene/EntityView.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"
#include "rules/AnimStateIds.h"
#include "rules/CocosEntityGridLink.h"
#include "rules/CocosTileChestLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/TileRack.h"

#include "platform/engine/CCApplication.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// Counts the selections and deselections the drags report.
class CountingPuzzleScript : public PuzzleScript {
public:
    void onUnitSelected(Entity*) override { ++mSelected; }
    void onUnitDeselected() override { ++mDeselected; }
    int mSelected = 0;
    int mDeselected = 0;
};

class EntityViewDropTest : public ShippedGameTest {
protected:
    void TearDown() override {
        if (mBoardScene != nullptr)
            mBoardScene->mPuzzleScript = nullptr;
        ShippedGameTest::TearDown();
    }

    // A new entity of that proto on a square of a grid in a state.
    Entity* put(const char* name, int32_t owner, EntityGrid* grid, GridSlot slot, int32_t state) {
        Entity* made = make(name, owner);
        if (made == nullptr)
            return nullptr;
        EXPECT_TRUE(grid->addEntityAt(made->mId, slot)) << name;
        made->mState = state;
        return made;
    }
    Entity* onBoard(const char* name, int32_t owner, GridSlot slot) {
        return put(name, owner, mGame->mGameBoard, slot, cStateDeployedToGameBoard);
    }
    Entity* onRack(const char* name, int32_t x) {
        return put(name, 0, rack(), GridSlot(x, 0), cStateOnTileRack);
    }
    TileRack* rack() const { return mGame->mPlayers[0]->mTileRack; }
    // Every grid and entity drawn on the scene.
    void show() { ASSERT_TRUE(mGame->linkAt(CCPoint(0, 0), false)); }
    static EntityView* viewOf(const Entity* entity) {
        return dynamic_cast<EntityView*>(entity->getEntityLink());
    }
    static CCSize cellOf(const EntityGrid& grid) {
        const auto* view = dynamic_cast<const CocosEntityGridLink*>(grid.getLink());
        return view != nullptr ? view->getCellSize() : CCSize(0, 0);
    }
    // The view point of a scene point.
    static CCPoint inView(const CCPoint& scene) {
        return director()->convertToUI(director()->getRunningScene()->convertToWorldSpace(scene));
    }
    // A drag of the entity's tile by the game's touch handling, from its
    // node to a scene point.
    void drag(const Entity* entity, const CCPoint& to) {
        const CCPoint from = inView(entity->getEntityLink()->getMainNode()->getPosition());
        auto* touch = new CCTouch(0, from.x, from.y);
        mTouches.push_back(touch);
        ASSERT_TRUE(mGame->ccTouchBegan(touch, nullptr));
        const CCPoint end = inView(to);
        touch->setTouchInfo(0, end.x, end.y);
        mGame->ccTouchMoved(touch, nullptr);
        mGame->ccTouchEnded(touch, nullptr);
    }
    static bool near(const CCPoint& a, const CCPoint& b) {
        return std::fabs(a.x - b.x) < 0.5f && std::fabs(a.y - b.y) < 0.5f;
    }
};

} // namespace

TEST_F(EntityViewDropTest, OffTheMiddleFortyPercentTheUnitUnderThePointTakesTheDrop) {
    // A sprite-drawn tile is hit within the scene's tile extents around its
    // node; one beside the square reaches into it (the sample units stand
    // within their squares: the neighbour leans over the edge, its body
    // (centred about 18 points above its node) over the points tried).
    Entity* unit = onBoard("knight", 0, GridSlot(2, 1));
    Entity* neighbour = onBoard("knight", 0, GridSlot(3, 1));
    Entity* power = onRack("inspiration", 0);
    ASSERT_NE(power, nullptr);
    ASSERT_EQ(power->getProto()->mType, cEntityPower);
    show();
    GameBoard& board = *mGame->mGameBoard;
    const CCSize cell = cellOf(board);
    ASSERT_GT(cell.width, 0.0f);
    const CCPoint centre = board.pointForCoords(GridSlot(2, 1), true);
    neighbour->getEntityLink()->getMainNode()->setPosition(
        CCPoint(centre.x + 0.405f * cell.width * 0.5f, centre.y - 18.0f));
    struct Case {
        float fraction; // of the half square, towards the neighbour
        const Entity* dragged;
        GridSlot expected;
    };
    const Case cases[] = {
        {0.40f, unit, GridSlot(2, 1)},  // inside the middle: the square under the point
        {0.41f, unit, GridSlot(3, 1)},  // outside: the unit whose view holds the point
        {0.41f, power, GridSlot(2, 1)}, // a power never snaps
    };
    for (const Case& row : cases) {
        const CCPoint at(centre.x + row.fraction * cell.width * 0.5f, centre.y);
        ASSERT_TRUE(neighbour->containsPoint(director()->convertToGL(inView(at))))
            << "the neighbour's view reaches the point";
        EXPECT_EQ(viewOf(row.dragged)->findDropSlot(inView(at), board), row.expected)
            << row.fraction;
    }
}

TEST_F(EntityViewDropTest, PointsEqualToTheCostDeployAndOneFewerFliesTheTileBack) {
    struct Case {
        int32_t short_; // action points below the cost
        GridSlot square;
        bool accepted;
    };
    const Case cases[] = {{0, GridSlot(0, 2), true}, {1, GridSlot(1, 2), false}};
    Entity* tiles[] = {onRack("knight", 0), onRack("knight", 1)};
    show();
    for (const Case& row : cases) {
        Entity* tile = tiles[&row - cases];
        const GridSlot square = row.square;
        int32_t cost = 0;
        GridSlot target;
        ASSERT_EQ(tile->classifyDrop(mGame->mGameBoard, square, cost, target), cActionDeploy);
        ASSERT_GT(cost, 0);
        Player& player = *mGame->mPlayers[0];
        player.mActionPoints = cost - row.short_;
        const CCPoint home = rack()->pointForCoords(tile->mSlot, true);
        const CCPoint at = mGame->mGameBoard->pointForCoords(square, true);
        playedSounds();
        const size_t before = mGame->mCommands.size();
        drag(tile, at);
        EXPECT_EQ(mGame->mCommands.size(), before + (row.accepted ? 1u : 0u)) << row.short_;
        EXPECT_EQ(player.mActionPoints, row.accepted ? 0 : cost - row.short_);
        if (row.accepted) {
            ASSERT_EQ(mGame->mCommands.size(), 1u);
            EXPECT_EQ(mGame->mCommands[0]->mGridType, cGridGameBoard);
            EXPECT_EQ(mGame->mCommands[0]->mTarget, square);
            EXPECT_EQ(tile->mGrid, mGame->mGameBoard);
            continue;
        }
        EXPECT_EQ(tile->mGrid, rack());
        const CCNode* node = tile->getEntityLink()->getMainNode();
        run(0.06f);
        EXPECT_FALSE(near(node->getPosition(), home)) << "still flying";
        run(0.08f);
        EXPECT_TRUE(near(node->getPosition(), home));
        const std::vector<std::string> sounds = playedSounds();
        ASSERT_GE(sounds.size(), 3u);
        EXPECT_NE(sounds[sounds.size() - 3].find("UI_Game_CantPlace"), std::string::npos);
        EXPECT_NE(sounds[sounds.size() - 2].find("CannotPlace_Swish"), std::string::npos);
        EXPECT_NE(sounds.back().find("Game_Tile_Land_InRack"), std::string::npos);
    }
}

TEST_F(EntityViewDropTest, EveryRefusedDropFliesTheTileBack) {
    Entity* tile = onRack("knight", 0);
    show();
    const CCPoint home = rack()->pointForCoords(tile->mSlot, true);
    CCNode* node = tile->getEntityLink()->getMainNode();
    struct Case {
        const char* what;
        int32_t kind;
        bool noPlayer;
        const char* printed;
    };
    const Case cases[] = {
        {"refused kind", -1, false, ""},
        {"no current player", cActionDeploy, true, ""},
        {"no target for an item", cActionEquip, false, ""},
        {"an item's use", cActionUseItem, false, "something bad"},
        {"an unknown kind", 42, false, "something bad"},
    };
    for (const Case& row : cases) {
        mGame->mCurrentPlayer = row.noPlayer ? -1 : 0;
        node->setPosition(CCPoint(300, 300)); // where the finger left it
        bool accepted = true;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(tile->performDrop(mGame->mGameBoard, GridSlot(8, 4), row.kind, 0,
                                       GridSlot(8, 4), accepted))
            << row.what;
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(accepted) << row.what;
        if (*row.printed != '\0') {
            EXPECT_EQ(printed, "entity " + std::to_string(tile->mId) + ": something bad\n")
                << row.what;
        }
        run(0.15f);
        EXPECT_TRUE(near(node->getPosition(), home)) << row.what;
    }
    // A release with no player to drop for.
    mGame->mCurrentPlayer = -1;
    node->setPosition(CCPoint(300, 300));
    EXPECT_FALSE(viewOf(tile)->releaseDrag(inView(CCPoint(300, 300))));
    run(0.15f);
    EXPECT_TRUE(near(node->getPosition(), home)) << "released with no player";
    EXPECT_TRUE(mGame->mCommands.empty());
    EXPECT_TRUE(mGame->mActions.empty());
}

TEST_F(EntityViewDropTest, RearrangingTheRackInAPuzzleCostsNothingAndDeselects) {
    CountingPuzzleScript script;
    mBoardScene->mPuzzleScript = &script;
    Entity* tile = onRack("knight", 0);
    show();
    mGame->mPlayers[0]->mActionPoints = 2;
    const GridSlot free(3, 0);
    drag(tile, rack()->pointForCoords(free, true));
    EXPECT_EQ(tile->mSlot, free);
    EXPECT_TRUE(mGame->mCommands.empty());
    EXPECT_TRUE(mGame->mActions.empty());
    EXPECT_EQ(mGame->mPlayers[0]->mActionPoints, 2);
    EXPECT_EQ(script.mSelected, 1);
    EXPECT_EQ(script.mDeselected, 1);
    run(0.15f);
    EXPECT_TRUE(near(tile->getEntityLink()->getMainNode()->getPosition(),
                     rack()->pointForCoords(free, true)));
}

TEST_F(EntityViewDropTest, InTheLargeLayoutATouchPicksARackUnitAndDropsUnderThePointer) {
    director()->setWinSizeInPixels(CCSize(1434, 990));
    CCApplication::setSceneDims(395, 14, 1024, 768, 1434, 990);
    GameScene::setLayoutMode(2);
    // The scene sits where the board program's scene sits.
    mScene->setPosition(CCPoint(395, 990 - 14 - 768));
    Entity* tile = onRack("archer", 0);
    show();
    // Every square's centre goes to the view and back to the square.
    for (EntityGrid* grid :
         {static_cast<EntityGrid*>(mGame->mGameBoard), static_cast<EntityGrid*>(rack())})
        for (int32_t i = 0; i < grid->getSlotCount(); ++i) {
            const GridSlot square = grid->coordsOfIndex(i);
            const CCPoint view = inView(grid->pointForCoords(square, true));
            EXPECT_EQ(grid->coordsForPoint(director()->convertToScene(view)), square);
        }
    mGame->mPlayers[0]->mActionPoints = 5;
    const GridSlot square(0, 2);
    drag(tile, mGame->mGameBoard->pointForCoords(square, true));
    ASSERT_EQ(mGame->mCommands.size(), 1u);
    EXPECT_EQ(mGame->mCommands[0]->mTarget, square);
    EXPECT_EQ(tile->mSlot, square);
    CCApplication::setSceneDims(0, 0, 0, 0, 0, 0);
}

TEST_F(EntityViewDropTest, APickUpSoundsByPlaceAndOnlyABoardUnitPonders) {
    Entity* unit = onBoard("knight", 0, GridSlot(2, 1));
    Entity* tile = onRack("knight", 0);
    show();
    const auto* chest =
        dynamic_cast<const CocosTileChestLink*>(mGame->getGrid(cGridTileChest, -1)->getLink());
    ASSERT_NE(chest, nullptr);
    ASSERT_NE(chest->getDoor(), nullptr);
    struct Case {
        Entity* lifted;
        const char* sound;
        int32_t ponders;
        int32_t doorWhileHeld;
    };
    const Case cases[] = {
        {unit, "Knight_Select", 1, cAnimStateIdle},
        {tile, "Knight_PickUp", 0, cAnimStateAbility},
    };
    for (const Case& row : cases) {
        playedSounds();
        const CCPoint at = inView(row.lifted->getEntityLink()->getMainNode()->getPosition());
        auto* touch = new CCTouch(0, at.x, at.y);
        mTouches.push_back(touch);
        ASSERT_TRUE(viewOf(row.lifted)->ccTouchBegan(touch, nullptr)) << row.sound;
        const std::vector<std::string> sounds = playedSounds();
        EXPECT_TRUE(std::any_of(sounds.begin(), sounds.end(), [&](const std::string& file) {
            return file.find(row.sound) != std::string::npos;
        })) << row.sound;
        EXPECT_EQ(mGame->mPonderCount, row.ponders) << row.sound;
        EXPECT_EQ(chest->getDoor()->getCurrentState(), row.doorWhileHeld) << row.sound;
        viewOf(row.lifted)->ccTouchCancelled(touch, nullptr);
        EXPECT_EQ(row.lifted->mPonderLoopPlaying, 0);
        EXPECT_EQ(chest->getDoor()->getCurrentState(), cAnimStateIdle) << row.sound;
    }
    run(0.6f);
    EXPECT_EQ(mGame->mPonderCount, 0);
}
