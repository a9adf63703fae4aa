#include "platform/engine/CCScheduler.h"

#include "platform/engine/CCDirector.h"

#include <algorithm>

namespace cocos2d {

CCScheduler* CCScheduler::sharedScheduler() {
    return CCDirector::sharedDirector()->getScheduler();
}

CCScheduler::~CCScheduler() {
    unscheduleAllSelectors();
}

void CCScheduler::tick(ccTime dt) {
    dt *= mTimeScale;
    mTicking = true;
    runUpdates(dt);
    runTimers(dt);
    mTicking = false;
    tidy();
}

void CCScheduler::runUpdates(ccTime dt) {
    // Entries scheduled meanwhile wait in mNewUpdates, so indices hold.
    for (size_t i = 0; i < mUpdates.size(); ++i) {
        UpdateEntry* entry = mUpdates[i].get();
        if (entry->dead || entry->paused)
            continue;
        CCObject* target = entry->target;
        target->retain();
        target->update(dt);
        target->release();
    }
}

void CCScheduler::runTimers(ccTime dt) {
    const size_t count = mTimerTargets.size();
    for (size_t i = 0; i < count; ++i) {
        TimerTarget* record = mTimerTargets[i].get();
        if (record->dead || record->paused)
            continue;
        CCObject* target = record->target;
        target->retain();
        // A callback may append timers (reallocating the list): index only.
        for (size_t j = 0; j < record->timers.size(); ++j) {
            Timer& timer = record->timers[j];
            if (timer.dead || timer.fresh)
                continue;
            timer.elapsed += dt;
            if (timer.elapsed < timer.interval)
                continue;
            const ccTime elapsed = timer.elapsed;
            const SEL_SCHEDULE selector = timer.selector;
            timer.elapsed = 0.0f;
            (target->*selector)(elapsed);
            if (record->dead || record->paused)
                break;
        }
        target->release();
    }
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, ccTime interval,
                                   bool paused) {
    if (!selector || !target)
        return;
    TimerTarget* record = nullptr;
    if (auto found = mTimerIndex.find(target); found != mTimerIndex.end()) {
        record = found->second;
        for (Timer& timer : record->timers) {
            if (timer.selector == selector && !timer.dead) {
                timer.interval = interval;
                return;
            }
        }
    } else {
        auto created = std::make_unique<TimerTarget>();
        record = created.get();
        record->target = target;
        record->paused = paused;
        target->retain();
        mTimerTargets.push_back(std::move(created));
        mTimerIndex[target] = record;
    }
    Timer timer;
    timer.selector = selector;
    timer.interval = interval;
    timer.fresh = mTicking;
    record->timers.push_back(timer);
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE selector, CCObject* target) {
    auto found = mTimerIndex.find(target);
    if (found == mTimerIndex.end())
        return;
    TimerTarget* record = found->second;
    for (Timer& timer : record->timers) {
        if (timer.selector == selector)
            timer.dead = true;
    }
    if (!mTicking)
        std::erase_if(record->timers, [](const Timer& t) { return t.dead; });
    if (std::all_of(record->timers.begin(), record->timers.end(),
                    [](const Timer& t) { return t.dead; }))
        killTimerTarget(record);
}

void CCScheduler::killTimerTarget(TimerTarget* record) {
    record->dead = true;
    record->timers.clear();
    mTimerIndex.erase(record->target);
    record->target->autorelease();
}

void CCScheduler::scheduleUpdateForTarget(CCObject* target, int priority, bool paused) {
    if (!target || mUpdateIndex.count(target))
        return;
    auto entry = std::make_unique<UpdateEntry>();
    entry->target = target;
    entry->priority = priority;
    entry->paused = paused;
    target->retain();
    mUpdateIndex[target] = entry.get();
    if (mTicking)
        mNewUpdates.push_back(std::move(entry));
    else
        insertUpdate(std::move(entry));
}

void CCScheduler::insertUpdate(std::unique_ptr<UpdateEntry> entry) {
    auto place = std::upper_bound(
        mUpdates.begin(), mUpdates.end(), entry->priority,
        [](int priority, const std::unique_ptr<UpdateEntry>& e) { return priority < e->priority; });
    mUpdates.insert(place, std::move(entry));
}

void CCScheduler::unscheduleUpdateForTarget(CCObject* target) {
    auto found = mUpdateIndex.find(target);
    if (found == mUpdateIndex.end())
        return;
    found->second->dead = true;
    mUpdateIndex.erase(found);
    target->autorelease();
    // The dead entry leaves the list at the end of the next frame.
}

void CCScheduler::unscheduleAllSelectorsForTarget(CCObject* target) {
    if (auto found = mTimerIndex.find(target); found != mTimerIndex.end())
        killTimerTarget(found->second);
    unscheduleUpdateForTarget(target);
}

void CCScheduler::unscheduleAllSelectors() {
    std::vector<CCObject*> targets;
    for (const auto& [target, record] : mTimerIndex)
        targets.push_back(target);
    for (const auto& [target, entry] : mUpdateIndex)
        targets.push_back(target);
    for (CCObject* target : targets)
        unscheduleAllSelectorsForTarget(target);
}

void CCScheduler::pauseTarget(CCObject* target) {
    if (auto found = mTimerIndex.find(target); found != mTimerIndex.end())
        found->second->paused = true;
    if (auto found = mUpdateIndex.find(target); found != mUpdateIndex.end())
        found->second->paused = true;
}

void CCScheduler::resumeTarget(CCObject* target) {
    if (auto found = mTimerIndex.find(target); found != mTimerIndex.end())
        found->second->paused = false;
    if (auto found = mUpdateIndex.find(target); found != mUpdateIndex.end())
        found->second->paused = false;
}

bool CCScheduler::isTargetPaused(CCObject* target) const {
    if (auto found = mTimerIndex.find(target); found != mTimerIndex.end())
        return found->second->paused;
    if (auto found = mUpdateIndex.find(target); found != mUpdateIndex.end())
        return found->second->paused;
    return false;
}

bool CCScheduler::isSelectorScheduled(SEL_SCHEDULE selector, CCObject* target) const {
    auto found = mTimerIndex.find(target);
    if (found == mTimerIndex.end())
        return false;
    return std::any_of(found->second->timers.begin(), found->second->timers.end(),
                       [selector](const Timer& t) { return t.selector == selector && !t.dead; });
}

void CCScheduler::tidy() {
    std::erase_if(mUpdates, [](const std::unique_ptr<UpdateEntry>& e) { return e->dead; });
    std::vector<std::unique_ptr<UpdateEntry>> fresh;
    fresh.swap(mNewUpdates);
    for (auto& entry : fresh) {
        if (!entry->dead)
            insertUpdate(std::move(entry));
    }
    for (const auto& record : mTimerTargets) {
        std::erase_if(record->timers, [](const Timer& t) { return t.dead; });
        for (Timer& timer : record->timers)
            timer.fresh = false;
    }
    std::erase_if(mTimerTargets, [](const std::unique_ptr<TimerTarget>& r) { return r->dead; });
}

} // namespace cocos2d
