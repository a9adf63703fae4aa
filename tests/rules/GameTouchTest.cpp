// The game's touches: the nearest draggable target within 40 units, the tap
// state machine, the dead zone, the tile chest during a replay, and the
// nearest tooltip target.

#include "GameSetupTestSupport.h"

#include "rules/TooltipProtocol.h"

#include "content/BConfig.h"

#include "platform/engine/CCScene.h"
#include "platform/engine/CCTouch.h"

#include <string>
#include <vector>

namespace {

using cocos2d::CCEvent;
using cocos2d::CCTouch;

// A view whose touch delegate logs the touches it gets and takes them.
class TouchLink : public FakeEntityLink {
public:
    class Probe : public cocos2d::CCTargetedTouchDelegate {
    public:
        bool ccTouchBegan(CCTouch*, CCEvent*) override {
            mCalls.push_back("began");
            return mAccept;
        }
        void ccTouchMoved(CCTouch*, CCEvent*) override { mCalls.push_back("moved"); }
        void ccTouchEnded(CCTouch*, CCEvent*) override { mCalls.push_back("ended"); }
        void ccTouchCancelled(CCTouch*, CCEvent*) override { mCalls.push_back("cancelled"); }
        bool mAccept = true;
        std::vector<std::string> mCalls;
    };

    explicit TouchLink(Entity* owner) : FakeEntityLink(owner) {}
    cocos2d::CCTargetedTouchDelegate* getTouchDelegate() override { return &mProbe; }
    Probe mProbe;
};

class TouchServices : public FakeSceneServices {
public:
    CocosEntityLink* createEntityLink(Entity* entity) override { return new TouchLink(entity); }
    std::vector<TooltipProtocol*> tooltipTargets() override { return mTooltips; }
    std::vector<TooltipProtocol*> mTooltips;
};

class Tip : public TooltipProtocol {
public:
    Tip(float x, float y, int32_t kind) : mAt(x, y) { mTooltipKind = kind; }
    cocos2d::CCPoint getTooltipPosition() const override { return mAt; }
    cocos2d::CCPoint mAt;
};

class GameTouchTest : public RulesTest {
protected:
    void TearDown() override {
        for (CCTouch* touch : mTouches)
            touch->release();
        BConfig::instance().reset();
        RulesTest::TearDown();
    }

    // A knight of player 0 on the rack, its view at (x, y), offered touches.
    Entity* target(float x, float y) {
        Entity* knight = entity(create(cKnight));
        knight->mState = cStateOnTileRack;
        EXPECT_TRUE(knight->linkAt(CCPoint(x, y)));
        mGame->addTouchTarget(knight);
        return knight;
    }
    static TouchLink::Probe& probe(const Entity* knight) {
        return dynamic_cast<TouchLink*>(knight->getEntityLink())->mProbe;
    }
    // A touch at a GL point.
    CCTouch* touchAt(float x, float y) {
        const CCPoint view = cocos2d::CCDirector::sharedDirector()->convertToUI(CCPoint(x, y));
        auto* touch = new CCTouch(0, view.x, view.y);
        mTouches.push_back(touch);
        return touch;
    }
    void moveTo(CCTouch* touch, float x, float y) {
        const CCPoint view = cocos2d::CCDirector::sharedDirector()->convertToUI(CCPoint(x, y));
        touch->setTouchInfo(0, view.x, view.y);
    }

    TouchServices mServices;
    RecordingScene mScene;
    std::vector<CCTouch*> mTouches;
};

TEST_F(GameTouchTest, TheNearestTargetWithin40UnitsTakesTheTouch) {
    Entity* far = target(100.0f, 100.0f);
    Entity* near = target(130.0f, 100.0f);
    EXPECT_TRUE(mGame->ccTouchBegan(touchAt(118.0f, 100.0f), nullptr));
    EXPECT_EQ(mGame->mTouchEntity, near);
    EXPECT_EQ(mGame->mTouchPhase, 1);
    EXPECT_TRUE(probe(far).mCalls.empty());
    EXPECT_EQ(probe(near).mCalls, std::vector<std::string>{"began"});
}

TEST_F(GameTouchTest, ReachEndsAt40UnitsAndTiesGoToTheFirstTarget) {
    Entity* first = target(100.0f, 100.0f);
    target(180.0f, 100.0f);
    EXPECT_FALSE(mGame->ccTouchBegan(touchAt(100.0f, 140.01f), nullptr));
    EXPECT_EQ(mGame->mTouchEntity, nullptr);
    EXPECT_TRUE(mGame->ccTouchBegan(touchAt(100.0f, 140.0f), nullptr));
    EXPECT_EQ(mGame->mTouchEntity, first);
    mGame->ccTouchCancelled(mTouches.back(), nullptr);
    EXPECT_TRUE(mGame->ccTouchBegan(touchAt(140.0f, 100.0f), nullptr));
    EXPECT_EQ(mGame->mTouchEntity, first);
}

TEST_F(GameTouchTest, TargetsThatCannotBeDraggedAreSkipped) {
    Entity* theirs = target(100.0f, 100.0f);
    theirs->mOwner = 1;
    Entity* refusing = target(110.0f, 100.0f);
    probe(refusing).mAccept = false;
    EXPECT_FALSE(mGame->ccTouchBegan(touchAt(100.0f, 100.0f), nullptr));
    EXPECT_TRUE(probe(theirs).mCalls.empty());
    EXPECT_EQ(mGame->mTouchEntity, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 0);
}

TEST_F(GameTouchTest, ATouchThatEndsUnmovedIsATapAndTheNextTouchIsClaimed) {
    Entity* knight = target(100.0f, 100.0f);
    CCTouch* tap = touchAt(100.0f, 100.0f);
    ASSERT_TRUE(mGame->ccTouchBegan(tap, nullptr));
    mGame->ccTouchEnded(tap, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 3);
    EXPECT_EQ(mGame->mTapPending, 1);
    EXPECT_EQ(mGame->mTouchEntity, knight);

    // Far from every target, the second touch still acts on the knight.
    CCTouch* drop = touchAt(300.0f, 50.0f);
    EXPECT_TRUE(mGame->ccTouchBegan(drop, nullptr));
    EXPECT_EQ(mGame->mTapPending, 0);
    EXPECT_EQ(mGame->mTouchPhase, 1);
    moveTo(drop, 310.0f, 50.0f);
    mGame->ccTouchMoved(drop, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 2);
    mGame->ccTouchEnded(drop, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 0);
    EXPECT_EQ(mGame->mTouchEntity, nullptr);
    EXPECT_EQ(probe(knight).mCalls, (std::vector<std::string>{"began", "moved", "ended"}));
}

TEST_F(GameTouchTest, MovesInsideTheDeadZoneAreIgnored) {
    BConfig::instance().setFloatById(cOptTouchDragDeadZone, 10.0f);
    Entity* knight = target(100.0f, 100.0f);
    CCTouch* touch = touchAt(100.0f, 100.0f);
    ASSERT_TRUE(mGame->ccTouchBegan(touch, nullptr));
    moveTo(touch, 106.0f, 108.0f); // 10 units away
    mGame->ccTouchMoved(touch, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 1);
    moveTo(touch, 106.0f, 108.5f);
    mGame->ccTouchMoved(touch, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 2);
    EXPECT_EQ(probe(knight).mCalls, (std::vector<std::string>{"began", "moved"}));
}

TEST_F(GameTouchTest, CancelEndsTheGestureFromAnyPhase) {
    Entity* knight = target(100.0f, 100.0f);
    CCTouch* touch = touchAt(100.0f, 100.0f);
    ASSERT_TRUE(mGame->ccTouchBegan(touch, nullptr));
    mGame->ccTouchCancelled(touch, nullptr);
    EXPECT_EQ(mGame->mTouchPhase, 0);
    EXPECT_EQ(mGame->mTouchEntity, nullptr);
    EXPECT_EQ(mGame->mTouchStartTime, 0.0f);
    EXPECT_EQ(probe(knight).mCalls, (std::vector<std::string>{"began", "cancelled"}));
}

TEST_F(GameTouchTest, DuringAReplayAMissedTouchIsNotClaimed) {
    mGame->mFlags |= cGameReplaying;
    target(100.0f, 100.0f);
    EXPECT_FALSE(mGame->ccTouchBegan(touchAt(100.0f, 100.0f), nullptr));
}

TEST_F(GameTouchTest, TouchesAreTakenInTheMovedScenesCoordinates) {
    // The large layout moves the board scene to (395, 14) in the window.
    cocos2d::CCScene* board = cocos2d::CCScene::node();
    board->setPosition(CCPoint(395.0f, 14.0f));
    cocos2d::CCDirector::sharedDirector()->runWithScene(board);
    cocos2d::CCDirector::sharedDirector()->tick(0.0f);
    Entity* knight = target(100.0f, 100.0f);
    EXPECT_FALSE(mGame->ccTouchBegan(touchAt(100.0f, 100.0f), nullptr));
    EXPECT_TRUE(mGame->ccTouchBegan(touchAt(495.0f, 114.0f), nullptr));
    EXPECT_EQ(mGame->mTouchEntity, knight);
}

TEST_F(GameTouchTest, TheNearestTooltipTargetRanksKindOneLast) {
    Tip square(100.0f, 100.0f, 1);
    Tip unitTip(130.0f, 100.0f, 0);
    Tip twin(130.0f, 100.0f, 0);
    Tip far(300.0f, 100.0f, 0);
    mServices.mTooltips = {nullptr, &square, &far};
    EXPECT_EQ(mGame->findNearestTooltipTarget(CCPoint(101.0f, 100.0f)), &square);
    mServices.mTooltips = {&unitTip, &square, &twin};
    // Another kind wins over kind 1 whatever the distances; the later one on a tie.
    EXPECT_EQ(mGame->findNearestTooltipTarget(CCPoint(101.0f, 100.0f)), &twin);
    EXPECT_EQ(mGame->findNearestTooltipTarget(CCPoint(200.0f, 100.0f)), nullptr);
}

} // namespace
