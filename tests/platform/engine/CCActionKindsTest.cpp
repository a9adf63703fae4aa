#include "EngineTest.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCAnimate.h"
#include "platform/engine/CCProgressFromTo.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"

#include <functional>

using namespace cocos2d;

namespace {

class ActionKindsTest : public EngineTest {};

// Shows sprite frames, as a sprite does.
class FrameNode : public CCNode, public CCDisplayFrameProtocol {
public:
    ~FrameNode() override { ccSafeRelease(mFrame); }
    void setDisplayFrame(CCSpriteFrame* frame) override {
        frame->retain();
        ccSafeRelease(mFrame);
        mFrame = frame;
        ++changes;
    }
    bool isFrameDisplayed(CCSpriteFrame* frame) override { return frame == mFrame; }
    CCSpriteFrame* displayedFrame() override { return mFrame; }

    CCSpriteFrame* mFrame = nullptr;
    int changes = 0;
};

// An action of the program's own: it copies its base fields through the base.
class CountingAction : public CCActionInterval {
public:
    CCObject* copyWithZone(CCZone* zone) override {
        std::unique_ptr<CCZone> ownZone;
        CountingAction* copy = ccCopyTarget<CountingAction>(zone, ownZone);
        CCActionInterval::copyWithZone(zone);
        copy->mCount = mCount;
        return copy;
    }
    int mCount = 0;
};

} // namespace

TEST_F(ActionKindsTest, EasingKeepsTheEndpointsAndReshapesTheMiddle) {
    using Make = std::function<CCActionInterval*(CCActionInterval*)>;
    struct Case {
        const char* name;
        Make make;
        float atQuarter; // x after a quarter of the time, of 100
    };
    const Case cases[] = {
        {"in 2", [](CCActionInterval* a) { return CCEaseIn::actionWithAction(a, 2.0f); }, 6.25f},
        {"out 2", [](CCActionInterval* a) { return CCEaseOut::actionWithAction(a, 2.0f); }, 50},
        {"in-out 2", [](CCActionInterval* a) { return CCEaseInOut::actionWithAction(a, 2.0f); },
         12.5f},
        {"sine in", [](CCActionInterval* a) { return CCEaseSineIn::actionWithAction(a); },
         7.612047f},
        {"sine in-out", [](CCActionInterval* a) { return CCEaseSineInOut::actionWithAction(a); },
         14.644661f},
        {"exponential out",
         [](CCActionInterval* a) { return CCEaseExponentialOut::actionWithAction(a); }, 82.32233f},
        {"elastic out",
         [](CCActionInterval* a) { return CCEaseElasticOut::actionWithAction(a, 0.3f); },
         91.16117f},
    };
    for (const Case& c : cases) {
        ProbeNode* probe = runningProbe();
        probe->runAction(c.make(CCMoveTo::actionWithDuration(1.0f, CCPoint(100, 0))));
        tick(0.0f);
        EXPECT_FLOAT_EQ(probe->getPosition().x, 0) << c.name;
        tick(0.25f);
        EXPECT_NEAR(probe->getPosition().x, c.atQuarter, 1e-3) << c.name;
        tick(0.75f);
        EXPECT_FLOAT_EQ(probe->getPosition().x, 100) << c.name;
        director()->purgeDirector();
        SetUp();
    }
}

TEST_F(ActionKindsTest, JumpsRiseToTheirHeightAndLandOnTheLine) {
    struct Case {
        int jumps;
        float time;
        CCPoint at;
    };
    const Case cases[] = {{1, 0.25f, {25, 37.5f}},
                          {1, 0.5f, {50, 50}},
                          {1, 1.0f, {100, 0}},
                          {2, 0.25f, {25, 50}},
                          {2, 0.5f, {50, 0}}};
    for (const Case& c : cases) {
        ProbeNode* probe = runningProbe();
        probe->runAction(CCJumpBy::actionWithDuration(1.0f, CCPoint(100, 0), 50, c.jumps));
        tick(c.time);
        EXPECT_NEAR(probe->getPosition().x, c.at.x, 1e-3) << c.jumps << " " << c.time;
        EXPECT_NEAR(probe->getPosition().y, c.at.y, 1e-3) << c.jumps << " " << c.time;
        director()->purgeDirector();
        SetUp();
    }
    ProbeNode* probe = runningProbe();
    probe->setPosition(CCPoint(10, 10));
    probe->runAction(CCJumpTo::actionWithDuration(1.0f, CCPoint(30, 50), 20, 1));
    tick(0.5f);
    EXPECT_NEAR(probe->getPosition().y, 50, 1e-3) << "half way up the line plus the height";
    tick(0.5f);
    EXPECT_EQ(probe->getPosition(), CCPoint(30, 50));
}

TEST_F(ActionKindsTest, MovesScalesAndRotationsInterpolateFromWhereTheNodeIs) {
    ProbeNode* probe = runningProbe();
    probe->setPosition(CCPoint(10, 10));
    probe->setRotation(350);
    probe->setScale(2);
    probe->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(10, -10)));
    probe->runAction(CCRotateTo::actionWithDuration(1.0f, 10)); // the short way, through 360
    probe->runAction(CCScaleBy::actionWithDuration(1.0f, 2.0f, -1.0f));
    tick(0.5f);
    EXPECT_EQ(probe->getPosition(), CCPoint(15, 5));
    EXPECT_FLOAT_EQ(probe->getRotation(), 360);
    EXPECT_FLOAT_EQ(probe->getScaleX(), 3);
    EXPECT_FLOAT_EQ(probe->getScaleY(), 0);
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getScaleY(), -2) << "a negative scale mirrors";
    probe->runAction(CCSequence::actions(CCRotateBy::actionWithDuration(1.0f, 720),
                                         CCScaleTo::actionWithDuration(0.5f, 1.0f)));
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getRotation(), 370 + 360);
    tick(1.0f);
    EXPECT_FLOAT_EQ(probe->getScaleX(), 1);
    EXPECT_FLOAT_EQ(probe->getScaleY(), 1);
}

TEST_F(ActionKindsTest, ColourActionsWorkThroughTheRGBAInterface) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCFadeTo::actionWithDuration(1.0f, 55));
    probe->runAction(CCTintTo::actionWithDuration(1.0f, 255, 0, 0));
    tick(0.5f);
    EXPECT_EQ(probe->opacity, 155);
    EXPECT_EQ(probe->color, ccc3(255, 127, 127));
    probe->runAction(CCSequence::actions(CCFadeOut::actionWithDuration(0.5f),
                                         CCFadeIn::actionWithDuration(0.5f)));
    tick(0.75f);
    EXPECT_EQ(probe->opacity, 127) << "fade in from 0 whatever the opacity";

    CCNode* plain = CCNode::node();
    probe->getParent()->addChild(plain);
    plain->runAction(CCFadeIn::actionWithDuration(0.1f)); // nothing to fade; harmless
    plain->runAction(CCHide::action());
    tick(0.25f);
    EXPECT_FALSE(plain->getIsVisible());
    EXPECT_EQ(plain->numberOfRunningActions(), 0u);
}

TEST_F(ActionKindsTest, ProgressAndAnimationDriveTheirInterfaces) {
    ProbeNode* bar = runningProbe();
    bar->runAction(CCProgressFromTo::actionWithDuration(1.0f, 20, 60));
    tick(0.25f);
    EXPECT_FLOAT_EQ(bar->percentage, 30);

    auto* sprite = new FrameNode();
    bar->getParent()->addChild(sprite);
    sprite->release();
    CCSpriteFrame* original = CCSpriteFrame::frameWithRect(CCRect(0, 0, 8, 8));
    sprite->setDisplayFrame(original);
    CCAnimation* animation = CCAnimation::animation();
    animation->retain(); // used across frames
    for (int i = 0; i < 4; ++i)
        animation->addFrame(CCSpriteFrame::frameWithRect(CCRect(8.0f * i, 0, 8, 8)));
    animation->setDelay(0.25f);
    sprite->runAction(CCAnimate::actionWithAnimation(animation, true));
    tick(0.5f);
    EXPECT_EQ(sprite->mFrame, animation->getFrames()->getObjectAtIndex(2));
    tick(0.5f);
    EXPECT_EQ(sprite->mFrame, original) << "the first frame comes back";

    sprite->runAction(CCAnimate::actionWithDuration(2.0f, animation, false));
    tick(2.0f);
    EXPECT_EQ(sprite->mFrame, animation->getFrames()->getObjectAtIndex(3));
    animation->release();
}

TEST_F(ActionKindsTest, CopiesCarryTheBaseFieldsAndFreshInnerActions) {
    auto* own = new CountingAction();
    own->initWithDuration(0.75f);
    own->setTag(7);
    own->mCount = 3;
    auto* ownCopy = static_cast<CountingAction*>(own->copy());
    EXPECT_NE(ownCopy, own);
    EXPECT_FLOAT_EQ(ownCopy->getDuration(), 0.75f);
    EXPECT_EQ(ownCopy->getTag(), 7);
    EXPECT_EQ(ownCopy->mCount, 3);
    own->release();
    ownCopy->release();

    ProbeNode* first = runningProbe();
    ProbeNode* second = ProbeNode::node();
    first->getParent()->addChild(second);
    CCSequence* sequence = CCSequence::actions(
        CCMoveBy::actionWithDuration(0.5f, CCPoint(10, 0)),
        CCEaseOut::actionWithAction(CCMoveBy::actionWithDuration(0.5f, CCPoint(0, 10)), 2.0f));
    CCRepeat* repeat = CCRepeat::actionWithAction(sequence, 2);
    auto* repeatCopy = static_cast<CCRepeat*>(repeat->copy());
    EXPECT_FLOAT_EQ(repeatCopy->getDuration(), 2.0f);
    first->runAction(repeat);
    second->runAction(repeatCopy);
    repeatCopy->release();
    tick(0.5f, 4);
    EXPECT_EQ(first->getPosition(), CCPoint(20, 20));
    EXPECT_EQ(second->getPosition(), CCPoint(20, 20)) << "the copy ran on its own inner actions";
}
