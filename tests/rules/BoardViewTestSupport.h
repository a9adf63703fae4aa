#pragma once

// Helpers of the drawn views' tests: a game scene with a real, running scene
// node on a hand-stepped director (960 x 640, content scale 1), scene
// services that keep the tooltip targets, and the board fixture with a
// plain GameBoard (its own CocosGameBoardLink) over the sample puppets and
// art in data/.

#include "BoardTestSupport.h"
#include "NullGameScene.h"

#include "rules/CocosGameBoardLink.h"
#include "rules/SlotOverlaySprite.h"
#include "rules/TileChest.h"
#include "rules/TooltipProtocol.h"

#include "content/settings/ProtoPremiumTile.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include <algorithm>
#include <memory>
#include <vector>

// The scene of a shown game: its node runs on the director.
class ViewScene : public NullGameScene {
public:
    ViewScene() {
        mNode = cocos2d::CCScene::node();
        mNode->retain();
        cocos2d::CCDirector::sharedDirector()->runWithScene(mNode);
        cocos2d::CCDirector::sharedDirector()->tick(0);
        gGameScene = this;
    }
    ~ViewScene() override {
        gGameScene = nullptr;
        mNode->release();
    }
    cocos2d::CCNode* getSceneNode() override { return mNode; }

    cocos2d::CCScene* mNode;
};

// Scene services that keep the registered tooltip targets in order.
class TooltipRecordingServices : public FakeSceneServices {
public:
    void addTooltipTarget(TooltipProtocol* target) override {
        if (std::find(mTargets.begin(), mTargets.end(), target) == mTargets.end())
            mTargets.push_back(target);
    }
    void removeTooltipTarget(TooltipProtocol* target) override {
        mTargets.erase(std::remove(mTargets.begin(), mTargets.end(), target), mTargets.end());
    }
    std::vector<TooltipProtocol*> tooltipTargets() override { return mTargets; }
    int32_t layoutMode() override { return mLayoutMode; }

    std::vector<TooltipProtocol*> mTargets;
    int32_t mLayoutMode = 0;
};

class BoardViewTest : public BoardRulesTest {
protected:
    void SetUp() override {
        BoardRulesTest::SetUp();
        // A board that makes the drawn view.
        delete mGame->mGameBoard;
        mBoard = nullptr;
        mView = new GameBoard(-1, mGame);
        mGame->mGameBoard = mView;
        mView->setSize(9, 5);
        setBaseFolder(TARNWICK_SOURCE_DIR);
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data");
        PuppetRegistry::loadAttachmentsFile("Attachments");
        director()->setWinSizeInPixels(cocos2d::CCSize(960, 640));
        director()->setContentScaleFactor(1.0f);
        // Art, puppets and tooltips of the sample content for the fixture's kinds.
        SettingsManager& settings = SettingsManager::instance();
        for (const auto& kind : settings.mPremiumTiles) {
            if (kind->mType == cPremiumPower) {
                kind->mGridSlotOverlay = "Board/PremiumPower.png";
                kind->mCrossoverGridSlotOverlay = "Board/PremiumPower_KX4.png";
                kind->mPuppet = "Board/PremiumPower";
                kind->mTooltipPortrait = "Board/PremiumPower_Portrait.png";
                kind->mTooltipTitle = "Power Square";
                kind->mTooltipDescription = "More power.";
            } else if (kind->mType == cPremiumDefense) {
                kind->mGridSlotOverlay = "Board/PremiumDefense.png";
            } else if (kind->mType == cPremiumTeleporter) {
                kind->mGridSlotOverlay = "Board/PremiumTeleporter.png";
                kind->mPuppet = "Board/Teleporter";
            }
        }
    }
    void TearDown() override {
        mScene.reset();
        mServices.reset();
        delete mGame->mGameBoard;
        mGame->mGameBoard = nullptr;
        setBaseFolder({});
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        cocos2d::CCFileUtils::setResourcePath("");
        BoardRulesTest::TearDown();
    }

    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }
    // Scene services and a running game scene.
    void showScene() {
        mServices = std::make_unique<TooltipRecordingServices>();
        mScene = std::make_unique<ViewScene>();
    }
    // A unit standing on the drawn board.
    Entity* standing(const char* name, GridSlot slot) {
        Entity* unit = entity(make(name, 0));
        EXPECT_TRUE(mView->placeEntityAt(unit->mId, slot));
        unit->changeState(cStateDeployedToGameBoard);
        return unit;
    }
    CocosGameBoardLink* view() const { return dynamic_cast<CocosGameBoardLink*>(mView->getLink()); }
    // Runs the director's clock by seconds in small steps.
    static void run(float seconds, float step = 0.005f) {
        for (float left = seconds; left > 1e-6f; left -= step)
            director()->tick(std::min(step, left));
    }

    GameBoard* mView = nullptr;
    std::unique_ptr<TooltipRecordingServices> mServices;
    std::unique_ptr<ViewScene> mScene;
};
