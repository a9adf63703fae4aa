// Relinking every view of a mid-game board of the shipped content, as the
// scene does on every reload: nothing is left behind (the leak checker of
// the sanitizer build sees every node), no touch or tooltip target names a
// view that went, and a drag tooltip of a unit goes with its view.

#include "SampleSceneTestSupport.h"

#include "scene/EntityView.h"
#include "scene/widgets/TooltipManager.h"

#include "content/protos/Database.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/TileRack.h"

#include "platform/engine/CCFileUtils.h"

#include <algorithm>
#include <filesystem>
#include <set>

using namespace cocos2d;

namespace {

class EntityViewRelinkTest : public SampleSceneTest {
protected:
    void SetUp() override {
        SampleSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        mGame = new Game();
        ASSERT_TRUE(mGame->init(11));
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        gCurrentGame = mGame;
        // Both sides with units out, one knocked out, a witch linked to a
        // unit, a weapon carried, tiles in the rack.
        struct Piece {
            const char* name;
            int32_t owner;
            GridSlot slot;
            int32_t state;
        };
        const Piece pieces[] = {
            {"knight", 0, GridSlot(2, 1), cStateDeployedToGameBoard},
            {"archer", 0, GridSlot(1, 2), cStateDeployedToGameBoard},
            {"cleric", 0, GridSlot(2, 3), cStateDeployedToGameBoard},
            {"knight", 0, GridSlot(0, 4), cStateKnockedOut},
            {"warrior", 1, GridSlot(4, 1), cStateDeployedToGameBoard},
            {"witch", 1, GridSlot(5, 3), cStateDeployedToGameBoard},
            {"warrior", 1, GridSlot(3, 4), cStateKnockedOut},
        };
        for (const Piece& piece : pieces) {
            Entity* unit = make(piece.name, piece.owner);
            ASSERT_TRUE(mGame->mGameBoard->addEntityAt(unit->mId, piece.slot)) << piece.name;
            unit->mState = piece.state;
        }
        Entity* witch = mGame->getEntity(mGame->mGameBoard->getEntityIdAt(GridSlot(5, 3)));
        witch->mOngoingTargetEntityID = mGame->mGameBoard->getEntityIdAt(GridSlot(4, 1));
        Entity* knight = mGame->getEntity(mGame->mGameBoard->getEntityIdAt(GridSlot(2, 1)));
        Entity* weapon = make("weapon", 0);
        knight->mInventory->addEntity(weapon->mId);
        weapon->mState = cStateEquipped;
        for (const char* name : {"knight", "weapon", "cleric"}) {
            Entity* tile = make(name, 0);
            ASSERT_TRUE(mGame->getGrid(cGridTileRack, 0)->addEntity(tile->mId));
            tile->mState = cStateOnTileRack;
        }
    }
    Entity* make(const char* name, int32_t owner) {
        Entity* made =
            mGame->getEntity(mGame->createEntity(Database::getProtoIdByName(name), owner));
        EXPECT_NE(made, nullptr) << name;
        return made;
    }
    // The views of the game's entities now.
    std::set<const TooltipProtocol*> entityViews() const {
        std::set<const TooltipProtocol*> views;
        for (const Entity* entity : mGame->mEntities)
            if (const auto* view = dynamic_cast<const EntityView*>(entity->getEntityLink()))
                views.insert(view);
        return views;
    }
};

} // namespace

TEST_F(EntityViewRelinkTest, RelinkingEveryViewLeavesNothingBehind) {
    ASSERT_TRUE(mGame->linkAt(CCPoint(0, 0), false));
    const size_t children = mBoardScene->getChildrenCount();
    for (int round = 0; round < 3; ++round) {
        // A drag tooltip open over the knight.
        Entity* knight = mGame->getEntity(mGame->mGameBoard->getEntityIdAt(GridSlot(2, 1)));
        mBoardScene->mDragTooltipEntity = knight;
        mBoardScene->mDragTooltip = CCNode::node();
        mBoardScene->mDragTooltip->retain();
        mBoardScene->addChild(mBoardScene->mDragTooltip);

        mGame->unlink(false);
        EXPECT_TRUE(mGame->mTouchTargets.empty());
        EXPECT_TRUE(gTooltipManager.targets().empty() ||
                    std::none_of(gTooltipManager.targets().begin(), gTooltipManager.targets().end(),
                                 [](const TooltipProtocol* target) {
                                     return dynamic_cast<const EntityView*>(target) != nullptr;
                                 }));
        EXPECT_EQ(mBoardScene->mDragTooltipEntity, nullptr);
        EXPECT_EQ(mBoardScene->mDragTooltip, nullptr);
        run(0.1f);

        ASSERT_TRUE(mGame->linkAt(CCPoint(0, 0), false));
        run(0.1f);
        EXPECT_EQ(mBoardScene->getChildrenCount(), children) << "round " << round;
        // Every touch and tooltip target is a live view of this game.
        const std::set<const TooltipProtocol*> views = entityViews();
        for (const TooltipProtocol* target : gTooltipManager.targets()) {
            const bool entityView = dynamic_cast<const EntityView*>(target) != nullptr;
            EXPECT_TRUE(!entityView || views.count(target) == 1) << "round " << round;
        }
        for (const Entity* entity : mGame->mTouchTargets) {
            EXPECT_TRUE(entity->hasLink());
            EXPECT_TRUE(entity->canBeDragged());
        }
        EXPECT_FALSE(mGame->mTouchTargets.empty());
    }
    // The linked witch's beams stand on the scene and go with its view.
    Entity* witch = mGame->getEntity(mGame->mGameBoard->getEntityIdAt(GridSlot(5, 3)));
    const auto* witchView = dynamic_cast<const EntityView*>(witch->getEntityLink());
    ASSERT_NE(witchView, nullptr);
    EXPECT_NE(witchView->getLinkBeam(), nullptr);
    mGame->unlink(false);
}
