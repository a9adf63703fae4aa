#include "EngineTest.h"

#include "platform/engine/CCScheduler.h"

using namespace cocos2d;

namespace {

using Events = std::vector<std::string>;

// A model object (not a node) that schedules its own callbacks, as the
// game does.
class Timed : public CCObject {
public:
    ~Timed() override { ProbeNode::events.push_back("destroyed"); }
    void once(ccTime) {
        ProbeNode::events.push_back("once");
        CCScheduler* scheduler = CCScheduler::sharedScheduler();
        scheduler->unscheduleSelector(schedule_selector(Timed::once), this);
        scheduler->scheduleSelector(schedule_selector(Timed::later), this, 1.0f, false);
    }
    void later(ccTime elapsed) {
        ProbeNode::events.push_back("later " + std::to_string(elapsed));
        CCScheduler::sharedScheduler()->unscheduleSelector(schedule_selector(Timed::later), this);
    }
    void every(ccTime) { ProbeNode::events.push_back("every"); }
};

// Records its update under a name.
class Updater : public CCObject {
public:
    explicit Updater(std::string name) : mName(std::move(name)) {}
    void update(ccTime) override { ProbeNode::events.push_back(mName); }
    std::string mName;
};

class SchedulerTest : public EngineTest {
protected:
    CCScheduler* scheduler() { return director()->getScheduler(); }
};

} // namespace

TEST_F(SchedulerTest, UpdatesRunInAscendingPriorityThenInSchedulingOrder) {
    const std::pair<const char*, int> entries[] = {{"b1", 1}, {"a-5", -5}, {"c1", 1}, {"d0", 0}};
    for (const auto& [name, priority] : entries) {
        auto* updater = new Updater(name);
        scheduler()->scheduleUpdateForTarget(updater, priority, false);
        updater->release(); // the scheduler keeps it
    }
    tick(0.1f);
    EXPECT_EQ(ProbeNode::events, (Events{"a-5", "d0", "b1", "c1"}));
}

TEST_F(SchedulerTest, ASelectorMayUnscheduleItselfAndScheduleAnother) {
    auto* timed = new Timed();
    scheduler()->scheduleSelector(schedule_selector(Timed::once), timed, 0.5f, false);
    timed->release(); // kept alive by the scheduler while it has callbacks
    tick(0.25f, 2);
    EXPECT_EQ(ProbeNode::events, Events{"once"});
    tick(0.25f, 3);
    EXPECT_EQ(ProbeNode::events, Events{"once"})
        << "the new schedule counts from the frame after it was made";
    tick(0.25f);
    EXPECT_EQ(ProbeNode::events, (Events{"once", "later 1.000000", "destroyed"}))
        << "released at the end of the frame once nothing is scheduled";
}

TEST_F(SchedulerTest, IntervalsRunInScaledTimeAndPausedTargetsHold) {
    auto* timed = new Timed();
    scheduler()->scheduleSelector(schedule_selector(Timed::every), timed, 0.0f, false);
    scheduler()->scheduleSelector(schedule_selector(Timed::later), timed, 1.0f, false);
    scheduler()->scheduleSelector(schedule_selector(Timed::later), timed, 0.5f, false);
    tick(0.25f);
    EXPECT_EQ(ProbeNode::events, Events{"every"}) << "every frame; one later, interval updated";
    scheduler()->setTimeScale(0.5f);
    tick(0.5f);
    EXPECT_EQ(ProbeNode::events, (Events{"every", "every", "later 0.500000"}));
    scheduler()->pauseTarget(timed);
    EXPECT_TRUE(scheduler()->isTargetPaused(timed));
    tick(0.5f);
    EXPECT_EQ(ProbeNode::events.size(), 3u);
    scheduler()->resumeTarget(timed);
    tick(0.5f);
    EXPECT_EQ(ProbeNode::events.size(), 4u);
    scheduler()->unscheduleAllSelectorsForTarget(timed);
    EXPECT_FALSE(scheduler()->isSelectorScheduled(schedule_selector(Timed::every), timed));
    timed->release();
    tick(0.5f);
    EXPECT_EQ(ProbeNode::events.back(), "destroyed");
}
