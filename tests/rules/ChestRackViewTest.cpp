#include "BoardViewTestSupport.h"

#include "rules/CocosTileChestLink.h"
#include "rules/CocosTileRackLink.h"
#include "rules/Player.h"
#include "rules/TileRack.h"

#include "content/settings/ProtoCiv.h"

#include "platform/render/CCLabelTTF.h"

#include <string>

using cocos2d::CCNode;
using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

// The chest and rack views over the sample art, with the civs "humans" (0)
// and "kx4a" (1).
class ChestRackViewTest : public BoardViewTest {
protected:
    void SetUp() override {
        BoardViewTest::SetUp();
        SettingsManager& settings = SettingsManager::instance();
        for (const char* name : {"humans", "kx4a"}) {
            auto civ = std::make_unique<ProtoCiv>(static_cast<int32_t>(settings.mCivs.size()));
            civ->mName = name;
            settings.mCivs.push_back(std::move(civ));
        }
        mGame->mTileChest = new TileChest(-1, mGame);
        mGame->mTileChest->setSize(1, 1);
        for (int i = 0; i < 5; ++i)
            mGame->mTileChest->addEntity(make("knight", -1));
        mRack = new TileRack(0, mGame);
        mRack->setSize(6, 1);
        mGame->mPlayers[0]->mTileRack = mRack;
    }
    void TearDown() override {
        gCurrentGame = nullptr;
        BoardViewTest::TearDown();
    }

    CocosTileChestLink* chestView() const {
        return dynamic_cast<CocosTileChestLink*>(mGame->mTileChest->getLink());
    }
    CocosTileRackLink* rackView() const {
        return dynamic_cast<CocosTileRackLink*>(mRack->getLink());
    }
    std::string counter() const { return chestView()->getCountLabel()->getString(); }

    TileRack* mRack = nullptr;
};

} // namespace

TEST_F(ChestRackViewTest, TheArtFollowsTheCurrentPlayersCiv) {
    showScene();
    const struct {
        const char* what;
        bool currentGame;
        int32_t civ;
        const char* door;
        const char* rack;
    } cases[] = {
        {"no current game", false, 1, "Effects/Door01", "TileRack.png"},
        {"humans", true, 0, "Effects/Door01", "TileRack.png"},
        {"kx4a", true, 1, "Effects/DoorKX401", "TileRackKX4.png"},
    };
    for (const auto& c : cases) {
        gCurrentGame = c.currentGame ? mGame : nullptr;
        mGame->mPlayers[0]->mCivId = c.civ;
        ASSERT_TRUE(mGame->mTileChest->linkAt(CCPoint(25, 25))) << c.what;
        ASSERT_TRUE(mRack->linkAt(CCPoint(488, 21))) << c.what;
        PuppetInstance* door = chestView()->getDoor();
        EXPECT_EQ(door->getPuppetIndex(), PuppetRegistry::loadPuppet(c.door)) << c.what;
        cocos2d::CCSprite* rack = rackView()->getSprite();
        cocos2d::CCSprite* expected = cocos2d::CCSprite::spriteWithFile(c.rack);
        EXPECT_EQ(rack->getTexture(), expected->getTexture()) << c.what;
    }
}

TEST_F(ChestRackViewTest, TheChestDoorCarriesTheCounterAndTheTooltip) {
    showScene();
    ASSERT_TRUE(mGame->mTileChest->linkAt(CCPoint(25, 25)));
    CocosTileChestLink* view = chestView();
    EXPECT_EQ(view->getCellSize(), CCSize(46, 55));
    EXPECT_EQ(view->getPosition(), CCPoint(3, -7));
    PuppetInstance* door = view->getDoor();
    EXPECT_EQ(door->getParent(), mScene->mNode);
    EXPECT_EQ(door->getZOrder(), 200);
    EXPECT_EQ(door->getPosition(), CCPoint(25, 25));
    EXPECT_EQ(door->getCurrentState(), 0);
    cocos2d::CCLabelTTF* label = view->getCountLabel();
    EXPECT_EQ(label->getParent(), door);
    EXPECT_EQ(label->getZOrder(), 200);
    EXPECT_EQ(label->getPosition(), CCPoint(-5, -15));
    EXPECT_EQ(label->getColor(), cocos2d::ccc3(25, 25, 25));
    EXPECT_EQ(counter(), "5");
    EXPECT_EQ(view->mTooltipKind, 1);
    EXPECT_EQ(view->getTooltipPosition(), CCPoint(18, 13));
    EXPECT_EQ(mServices->mTargets, std::vector<TooltipProtocol*>{view});

    CCNode* layer = CCNode::node();
    layer->setContentSize(CCSize(300, 200));
    view->buildTooltip(layer);
    EXPECT_EQ(layer->getChildrenCount(), 4u) << "portrait, title, separator, text";
}

TEST_F(ChestRackViewTest, TheCounterFollowsTakesAndSwaps) {
    showScene();
    ASSERT_TRUE(mGame->mTileChest->linkAt(CCPoint(25, 25)));
    const int32_t taken = mGame->mTileChest->takeTile(0, -1, {});
    ASSERT_TRUE(mGame->mTileChest->moveEntityToFirstFree(taken, mRack));
    EXPECT_EQ(counter(), "4");
    // A swap puts a rack tile back into the chest.
    ASSERT_TRUE(mRack->moveEntityToFirstFree(taken, mGame->mTileChest));
    EXPECT_EQ(counter(), "5");
}

TEST_F(ChestRackViewTest, TheRackLiesUnderItsGridAndHidesItsTiles) {
    showScene();
    ASSERT_TRUE(mRack->linkAt(CCPoint(488, 21)));
    CocosTileRackLink* view = rackView();
    cocos2d::CCSprite* sprite = view->getSprite();
    EXPECT_EQ(sprite->getZOrder(), 5);
    EXPECT_EQ(sprite->getPosition(), CCPoint(488, 21));
    const CCSize art = sprite->getContentSize();
    ASSERT_GT(art.width, 0);
    EXPECT_EQ(view->getPosition(), CCPoint(488 - art.width / 2, 21 - art.height / 2));
    EXPECT_EQ(view->getCellSize(), CCSize(49, 42));

    std::vector<CCNode*> tiles;
    for (int i = 0; i < 2; ++i) {
        Entity* tile = entity(make("knight"));
        ASSERT_TRUE(mRack->addEntity(tile->mId));
        ASSERT_TRUE(tile->linkAt(mRack->pointForCoords(tile->mSlot, true)));
        tiles.push_back(tile->getEntityLink()->getMainNode());
    }
    view->setTilesVisible(false);
    for (CCNode* tile : tiles)
        EXPECT_FALSE(tile->getIsVisible());
    view->setTilesVisible(true);
    for (CCNode* tile : tiles)
        EXPECT_TRUE(tile->getIsVisible());
    mRack->unlink();
    EXPECT_EQ(sprite->getParent(), nullptr);
    EXPECT_EQ(sprite->retainCount(), 1u) << "only its pending autorelease";
}
