#pragma once

// The statistics and achievements a player earns while building a turn.
//
// Values set during an action stay pending in that action's scope: undoing
// the action (popScope) drops them, submitting the turn (commitPending)
// queues them for the platform. End-of-game results are queued directly.
// The queue goes to the platform's user statistics when flushing is
// enabled (once the platform has delivered the user's statistics); records
// that cannot be delivered stay queued. One tracker for the program, never
// saved with a game; main thread only.

#include <cstdint>
#include <vector>

namespace AchievementTracker {

// Queued ids with a meaning of their own.
inline constexpr int32_t cResetAllStats = -2;
inline constexpr int32_t cIgnoredRecord = -1;

struct Record {
    bool operator==(const Record& other) const = default;

    int32_t mScope;
    int32_t mId;
    int32_t mValue;
};

struct Counter {
    int32_t mScope; // the scope in which the counter was made
    int32_t mId;
    int32_t mKey;
    int32_t mSubKey;
    int32_t mCount;
    std::vector<int32_t> mIncrementScopes; // the scope of each increment
};

// Replaces the pending value of id (keeping its scope) or adds it in the
// current scope.
void setPendingValue(int32_t id, int32_t value);
// Queues every pending value (flushing when enabled), then clears all.
void commitPending();
// One action done: the next records go into the next scope.
void pushScope();
// With clearAll: forgets pending values and counters, scope -1. Otherwise
// leaves the current scope, dropping what was recorded in it.
void popScope(bool clearAll);

// The first counter of id with that key and sub-key (either negative: any);
// -1 when none.
int32_t findCounter(int32_t id, int32_t key, int32_t subKey);
int32_t findOrAddCounter(int32_t id, int32_t key, int32_t subKey);
void incrementCounter(int32_t id, int32_t key, int32_t subKey);
// The count of the first counter of id and key; 0 when none.
int32_t getCounter(int32_t id, int32_t key);
// The number of counters of id (and key, when not negative).
int32_t countCounters(int32_t id, int32_t key);
// Counts one toward id under key; once that count reaches goal the
// achievement is set pending (value 0).
void countToward(int32_t id, int32_t key, int32_t goal);

// The pending value of id, else the platform stat the achievement counts.
int32_t getProgress(int32_t id);
// Queues a value (flushing when enabled).
void queueValue(int32_t id, int32_t value);
// Queues getProgress(id) + 1.
void incrementProgress(int32_t id);
// Delivers the queue to the platform; keeps it while the platform's
// statistics are unavailable.
void flushQueue();
// Forgets every list and the scope depth (at exit).
void reset();

void setFlushEnabled(bool enabled);
bool isFlushEnabled();
int32_t currentScope();
const std::vector<Record>& pendingRecords();
const std::vector<Record>& queuedRecords();
const std::vector<Counter>& counters();

} // namespace AchievementTracker
