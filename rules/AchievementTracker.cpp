#include "rules/AchievementTracker.h"

#include "rules/AchievementStats.h"
#include "rules/AchievementTable.h"

#include "platform/steam/SteamUserStats.h"

#include <algorithm>
#include <cstdio>

namespace AchievementTracker {
namespace {

struct TrackerState {
    int32_t scope = 0;
    bool flushEnabled = false;
    std::vector<Record> pending;
    std::vector<Record> queue;
    std::vector<Counter> counters;
};

TrackerState& state() {
    static TrackerState tracker;
    return tracker;
}

void flushIfEnabled() {
    if (state().flushEnabled)
        flushQueue();
}

} // namespace

void setPendingValue(int32_t id, int32_t value) {
    std::vector<Record>& pending = state().pending;
    const auto found =
        std::find_if(pending.begin(), pending.end(), [id](const Record& r) { return r.mId == id; });
    if (found != pending.end())
        found->mValue = value;
    else
        pending.push_back({state().scope, id, value});
}

void commitPending() {
    TrackerState& tracker = state();
    for (const Record& record : tracker.pending) {
        tracker.queue.push_back({tracker.scope, record.mId, record.mValue});
        flushIfEnabled();
    }
    popScope(true);
}

void pushScope() {
    ++state().scope;
}

void popScope(bool clearAll) {
    TrackerState& tracker = state();
    if (clearAll) {
        tracker.pending.clear();
        tracker.counters.clear();
        tracker.scope = -1;
        return;
    }
    const int32_t scope = --tracker.scope;
    while (!tracker.pending.empty() && tracker.pending.back().mScope == scope)
        tracker.pending.pop_back();
    std::vector<Counter>& counters = tracker.counters;
    for (size_t i = counters.size(); i-- > 0;) {
        Counter& counter = counters[i];
        if (counter.mScope == scope) {
            counters.erase(counters.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        while (!counter.mIncrementScopes.empty() && counter.mIncrementScopes.back() == scope) {
            --counter.mCount;
            counter.mIncrementScopes.pop_back();
        }
    }
}

int32_t findCounter(int32_t id, int32_t key, int32_t subKey) {
    const std::vector<Counter>& counters = state().counters;
    for (size_t i = 0; i < counters.size(); ++i) {
        const Counter& c = counters[i];
        if (c.mId == id && (key < 0 || c.mKey == key) && (subKey < 0 || c.mSubKey == subKey))
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t findOrAddCounter(int32_t id, int32_t key, int32_t subKey) {
    const int32_t found = findCounter(id, key, subKey);
    if (found >= 0)
        return found;
    std::vector<Counter>& counters = state().counters;
    counters.push_back({state().scope, id, key, subKey, 0, {}});
    return static_cast<int32_t>(counters.size()) - 1;
}

void incrementCounter(int32_t id, int32_t key, int32_t subKey) {
    Counter& counter = state().counters[static_cast<size_t>(findOrAddCounter(id, key, subKey))];
    ++counter.mCount;
    counter.mIncrementScopes.push_back(state().scope);
}

void countToward(int32_t id, int32_t key, int32_t goal) {
    incrementCounter(id, key, -1);
    if (getCounter(id, key) >= goal)
        setPendingValue(id, 0);
}

int32_t getCounter(int32_t id, int32_t key) {
    const int32_t found = findCounter(id, key, -1);
    return found >= 0 ? state().counters[static_cast<size_t>(found)].mCount : 0;
}

int32_t countCounters(int32_t id, int32_t key) {
    const std::vector<Counter>& counters = state().counters;
    return static_cast<int32_t>(
        std::count_if(counters.begin(), counters.end(),
                      [&](const Counter& c) { return c.mId == id && (key < 0 || c.mKey == key); }));
}

int32_t getProgress(int32_t id) {
    const AchievementRow* row = findAchievementRow(id);
    const bool hasStat = row != nullptr && row->mId == id && !row->mStatName.empty();
    if (!hasStat)
        std::printf("Warning: Requesting progress for an achievement with no associated stat. Are "
                    "you sure this is a progressive achievement?\n");
    for (const Record& record : state().pending)
        if (record.mId == id)
            return record.mValue;
    if (!hasStat)
        return 0;
    SteamUserStats* stats = platformUserStats();
    if (stats == nullptr) {
        std::printf("Warning: Not logged into steam.\n");
        return 0;
    }
    int32_t value = 0;
    stats->getStat(row->mStatName, value);
    return value;
}

void queueValue(int32_t id, int32_t value) {
    state().queue.push_back({state().scope, id, value});
    flushIfEnabled();
}

void incrementProgress(int32_t id) {
    queueValue(id, getProgress(id) + 1);
}

void flushQueue() {
    std::vector<Record>& queue = state().queue;
    if (queue.empty())
        return;
    SteamUserStats* stats = platformUserStats();
    if (stats == nullptr) {
        // Nothing can be delivered now: the records wait for the next flush.
        std::printf("Warning: Not logged into steam.\n");
        return;
    }
    std::vector<Record> records;
    records.swap(queue);
    for (const Record& record : records) {
        if (record.mId == cResetAllStats)
            stats->resetAllStats(true);
        else if (record.mId != cIgnoredRecord)
            setAchievementStat(record.mId, record.mValue);
    }
}

void reset() {
    TrackerState& tracker = state();
    tracker.pending.clear();
    tracker.queue.clear();
    tracker.counters.clear();
    tracker.scope = 0;
}

void setFlushEnabled(bool enabled) {
    state().flushEnabled = enabled;
}

bool isFlushEnabled() {
    return state().flushEnabled;
}

int32_t currentScope() {
    return state().scope;
}

const std::vector<Record>& pendingRecords() {
    return state().pending;
}

const std::vector<Record>& queuedRecords() {
    return state().queue;
}

const std::vector<Counter>& counters() {
    return state().counters;
}

} // namespace AchievementTracker
