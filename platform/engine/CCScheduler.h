#pragma once

// Calls objects back as time passes. Each frame, tick(dt) first multiplies
// dt by the process-wide time scale, then calls the per-frame updates in
// ascending priority (among equal priorities in the order they were
// scheduled; the action manager runs first), then the scheduled selectors.
//
// A selector fires when the time since its last call reaches its interval
// (0: every frame) and receives that time. Any CCObject may be a target; the
// scheduler holds a reference to it while it has callbacks for it and
// autoreleases it when it lets go. Callbacks may schedule and unschedule
// anything, themselves included: what is scheduled during a frame starts in
// the next one, what is unscheduled is not called again.

#include "platform/engine/CCObject.h"

#include <climits>
#include <memory>
#include <unordered_map>
#include <vector>

namespace cocos2d {

inline constexpr int kCCPrioritySystem = INT_MIN;

class CCScheduler : public CCObject {
public:
    // The director's scheduler.
    static CCScheduler* sharedScheduler();

    CCScheduler() = default;
    ~CCScheduler() override;

    // One frame of dt unscaled seconds.
    void tick(ccTime dt);
    // Multiplies the time of every update, selector and action (1 by default;
    // below 1 is slow motion).
    void setTimeScale(float scale) { mTimeScale = scale; }
    float getTimeScale() const { return mTimeScale; }

    // Schedules the selector on the target, or changes the interval of one
    // already scheduled. paused only matters for a target without callbacks.
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, ccTime interval, bool paused);
    void unscheduleSelector(SEL_SCHEDULE selector, CCObject* target);
    // Calls target->update(dt) every frame; lower priorities first.
    void scheduleUpdateForTarget(CCObject* target, int priority, bool paused);
    void unscheduleUpdateForTarget(CCObject* target);
    // The selectors and the update of the target.
    void unscheduleAllSelectorsForTarget(CCObject* target);
    void unscheduleAllSelectors();
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    bool isTargetPaused(CCObject* target) const;
    bool isSelectorScheduled(SEL_SCHEDULE selector, CCObject* target) const;

private:
    struct UpdateEntry {
        CCObject* target = nullptr;
        int priority = 0;
        bool paused = false;
        bool dead = false;
    };
    struct Timer {
        SEL_SCHEDULE selector = nullptr;
        ccTime interval = 0.0f;
        ccTime elapsed = 0.0f;
        bool dead = false;
        bool fresh = false; // scheduled during this frame
    };
    struct TimerTarget {
        CCObject* target = nullptr;
        std::vector<Timer> timers;
        bool paused = false;
        bool dead = false;
    };

    void runUpdates(ccTime dt);
    void runTimers(ccTime dt);
    void insertUpdate(std::unique_ptr<UpdateEntry> entry);
    void killTimerTarget(TimerTarget* record);
    void tidy();

    std::vector<std::unique_ptr<UpdateEntry>> mUpdates; // sorted by priority
    std::vector<std::unique_ptr<UpdateEntry>> mNewUpdates;
    std::unordered_map<CCObject*, UpdateEntry*> mUpdateIndex;
    std::vector<std::unique_ptr<TimerTarget>> mTimerTargets;
    std::unordered_map<CCObject*, TimerTarget*> mTimerIndex;
    float mTimeScale = 1.0f;
    bool mTicking = false;
};

} // namespace cocos2d
