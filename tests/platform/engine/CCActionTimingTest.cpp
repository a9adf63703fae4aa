#include "EngineTest.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"

using namespace cocos2d;

namespace {

using Events = std::vector<std::string>;

CCCallFuncND* mark(ProbeNode* probe, const char* text) {
    return CCCallFuncND::actionWithTarget(probe, callfuncND_selector(ProbeNode::onCallND),
                                          const_cast<char*>(text));
}

class ActionTimingTest : public EngineTest {};

} // namespace

TEST_F(ActionTimingTest, SequenceRunsEachActionInTurnAndCallbacksFireWhenThePreviousEnds) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(0.5f), mark(probe, "a"),
                                         CCMoveBy::actionWithDuration(0.5f, CCPoint(100, 0)),
                                         mark(probe, "b")));
    struct Step {
        float x;
        Events log;
    };
    const Step steps[] = {{0, {}}, {0, {"a"}}, {50, {"a"}}, {100, {"a", "b"}}, {100, {"a", "b"}}};
    for (const Step& step : steps) {
        tick(0.25f);
        EXPECT_FLOAT_EQ(probe->getPosition().x, step.x);
        EXPECT_EQ(probe->log, step.log);
    }
    EXPECT_EQ(probe->numberOfRunningActions(), 0u);
}

TEST_F(ActionTimingTest, OneLongFrameRunsEveryActionThatEndsWithinIt) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(0.25f), mark(probe, "a"),
                                         CCDelayTime::actionWithDuration(0.25f), mark(probe, "b"),
                                         CCDelayTime::actionWithDuration(0.25f), mark(probe, "c")));
    tick(0.625f);
    EXPECT_EQ(probe->log, (Events{"a", "b"}));
    tick(0.125f);
    EXPECT_EQ(probe->log, (Events{"a", "b", "c"}));
}

TEST_F(ActionTimingTest, SpawnLastsAsLongAsItsLongestAction) {
    ProbeNode* probe = runningProbe();
    CCSpawn* spawn = CCSpawn::actions(
        CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0)),
        CCSequence::actions(CCDelayTime::actionWithDuration(0.25f), mark(probe, "short")));
    EXPECT_FLOAT_EQ(spawn->getDuration(), 1.0f);
    probe->runAction(CCSequence::actions(spawn, mark(probe, "after")));
    tick(0.5f);
    EXPECT_EQ(probe->log, Events{"short"});
    EXPECT_FLOAT_EQ(probe->getPosition().x, 50);
    tick(0.5f);
    EXPECT_EQ(probe->log, (Events{"short", "after"}));
    EXPECT_FLOAT_EQ(probe->getPosition().x, 100);
}

TEST_F(ActionTimingTest, ZeroLengthAndMillisecondActionsCompleteWithinOneFrame) {
    ProbeNode* probe = runningProbe();
    probe->setOpacity(0);
    probe->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(0.0f), CCFadeOut::actionWithDuration(0.0f),
        CCMoveTo::actionWithDuration(0.001f, CCPoint(1000, 1000)),
        CCMoveTo::actionWithDuration(0.001f, CCPoint(5, 5)), CCFadeIn::actionWithDuration(0.001f),
        mark(probe, "done")));
    auto* alone = ProbeNode::node();
    probe->getParent()->addChild(alone);
    alone->runAction(CCMoveTo::actionWithDuration(0.0f, CCPoint(7, 8)));
    tick(1.0f / 60.0f);
    EXPECT_EQ(probe->getPosition(), CCPoint(5, 5));
    EXPECT_EQ(probe->opacity, 255);
    EXPECT_EQ(probe->log, Events{"done"});
    EXPECT_EQ(probe->numberOfRunningActions(), 0u);
    EXPECT_EQ(alone->getPosition(), CCPoint(7, 8));
    EXPECT_EQ(alone->numberOfRunningActions(), 0u);
}

TEST_F(ActionTimingTest, RepeatRunsItsActionTheGivenNumberOfTimes) {
    struct Case {
        unsigned int times;
        int frames;
        size_t calls;
        bool running;
    };
    const Case cases[] = {{3, 4, 3, false}, {1000000, 8, 8, true}, {0, 1, 0, false}};
    for (const Case& c : cases) {
        ProbeNode* probe = runningProbe();
        probe->runAction(CCRepeat::actionWithAction(
            CCSequence::actions(CCDelayTime::actionWithDuration(0.25f), mark(probe, "x")),
            c.times));
        tick(0.25f, c.frames);
        EXPECT_EQ(probe->log.size(), c.calls) << c.times;
        EXPECT_EQ(probe->numberOfRunningActions(), c.running ? 1u : 0u) << c.times;
        director()->purgeDirector();
        SetUp();
    }
}

TEST_F(ActionTimingTest, RepeatForeverRestartsInTheFrameItsActionEnds) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCRepeatForever::actionWithAction(
        CCSequence::actions(CCDelayTime::actionWithDuration(0.25f), mark(probe, "x"))));
    tick(0.125f, 16);
    EXPECT_EQ(probe->log.size(), 8u);
    EXPECT_EQ(probe->numberOfRunningActions(), 1u);
}

TEST_F(ActionTimingTest, TimeScaleSlowsActionsAndSchedules) {
    ProbeNode* probe = runningProbe();
    director()->getScheduler()->setTimeScale(0.5f);
    probe->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0)));
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 25);
    director()->getScheduler()->setTimeScale(1.0f);
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 75);
}

TEST_F(ActionTimingTest, ActionsOfANodeWaitUntilItEntersAndHoldWhileItIsOut) {
    CCLayer* layer = runLayer();
    ProbeNode* probe = ProbeNode::node();
    probe->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0)));
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 0) << "not running yet";
    layer->addChild(probe);
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 50);

    probe->retain();
    layer->removeChild(probe, false); // no cleanup: the action holds
    tick(0.25f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 50);
    layer->addChild(probe);
    probe->release();
    tick(0.25f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 75);
}

TEST_F(ActionTimingTest, StoppingOrRemovingWithCleanupCancelsPendingCallbacks) {
    CCLayer* layer = runLayer();
    ProbeNode* stopped = ProbeNode::node();
    ProbeNode* removed = ProbeNode::node();
    layer->addChild(stopped);
    layer->addChild(removed);
    for (ProbeNode* probe : {stopped, removed})
        probe->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(0.5f),
            CCSequence::actions(mark(probe, "late"), CCDelayTime::actionWithDuration(0.1f))));
    tick(0.25f);
    stopped->stopAllActions();
    removed->removeFromParentAndCleanup(true);
    tick(1.0f);
    EXPECT_TRUE(ProbeNode::events.empty());
    EXPECT_EQ(ProbeNode::destroyed, 1) << "the removed node went with its actions";
    EXPECT_EQ(stopped->numberOfRunningActions(), 0u);
}

TEST_F(ActionTimingTest, ACallbackMayRemoveAndDestroyItsOwnNode) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(0.25f),
        CCCallFunc::actionWithTarget(probe, callfunc_selector(ProbeNode::removeSelf)),
        mark(probe, "never")));
    tick(0.25f);
    EXPECT_EQ(ProbeNode::events, Events{"remove"});
    EXPECT_EQ(ProbeNode::destroyed, 1);
    tick(0.25f);
    EXPECT_EQ(ProbeNode::events, Events{"remove"});
}

TEST_F(ActionTimingTest, ACallbackMayRemoveItsNodeFromInsideANestedSequence) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCSequence::actions(
        CCSequence::actions(
            CCCallFuncN::actionWithTarget(probe, callfuncN_selector(ProbeNode::onCallN)),
            CCCallFunc::actionWithTarget(probe, callfunc_selector(ProbeNode::removeSelf)),
            mark(probe, "never")),
        mark(probe, "never either")));
    tick(0.1f);
    EXPECT_EQ(ProbeNode::events, (Events{"callN self", "remove"}));
    EXPECT_EQ(ProbeNode::destroyed, 1);
}

TEST_F(ActionTimingTest, AnActionStartedDuringAFrameTakesItsFirstStepInTheNext) {
    ProbeNode* probe = runningProbe();
    ProbeNode* other = ProbeNode::node();
    probe->getParent()->addChild(other);
    struct Starter : CCObject {
        ProbeNode* node = nullptr;
        void start() { node->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0))); }
    };
    auto* starter = new Starter();
    starter->node = other;
    probe->runAction(CCCallFunc::actionWithTarget(starter, callfunc_selector(Starter::start)));
    starter->release();
    tick(0.25f);
    EXPECT_FLOAT_EQ(other->getPosition().x, 0);
    tick(0.25f);
    EXPECT_FLOAT_EQ(other->getPosition().x, 25);
}

TEST_F(ActionTimingTest, ASequenceNeverHandsAnActionAProgressBelowZero) {
    // An interval action that keeps the lowest progress it was given.
    class LowestProgress : public CCActionInterval {
    public:
        explicit LowestProgress(float* lowest) : mLowest(lowest) { initWithDuration(0.25f); }
        void update(ccTime progress) override { *mLowest = std::min(*mLowest, progress); }

    private:
        float* mLowest;
    };
    const float delays[] = {0.05f, 0.1f, 0.3f, 0.7f};
    float lowest[] = {1.0f, 1.0f, 1.0f, 1.0f};
    ProbeNode* probe = runningProbe();
    for (size_t i = 0; i < 4; ++i) {
        auto* inner = new LowestProgress(&lowest[i]);
        inner->autorelease();
        probe->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delays[i]), inner));
    }
    tick(1.0f / 60, 90);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_GE(lowest[i], 0.0f) << "after a delay of " << delays[i];
}
