#include "rules/AchievementStats.h"

#include "rules/AchievementTable.h"

#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamUserStats.h"

#include <cstdio>

SteamUserStats* platformUserStats() {
    SteamUserStats* stats = SteamClient::userStats();
    return stats != nullptr && stats->hasCurrentStats() ? stats : nullptr;
}

int32_t getAchievementStatValue(int32_t id) {
    const AchievementRow* row = findAchievementRow(id);
    const SteamUserStats* stats = platformUserStats();
    int32_t value = 0;
    if (row != nullptr && stats != nullptr && !row->mStatName.empty())
        stats->getStat(row->mStatName, value);
    return value;
}

bool isAchievementUnlocked(int32_t id) {
    const AchievementRow* row = findAchievementRow(id);
    const SteamUserStats* stats = platformUserStats();
    bool achieved = false;
    return row != nullptr && stats != nullptr && stats->getAchievement(row->mApiName, achieved) &&
           achieved;
}

void setAchievementStat(int32_t id, int32_t value) {
    SteamUserStats* stats = platformUserStats();
    if (stats == nullptr) {
        std::printf("Warning: Not logged into steam.\n");
        return;
    }
    const AchievementRow* row = findAchievementRow(id);
    if (row == nullptr || row->mApiName.empty())
        return;
    // The stat is read back before it is set: "greater than it" compares
    // with the value the platform held.
    const int32_t previous = getAchievementStatValue(id);
    if (!row->mStatName.empty())
        stats->setStat(row->mStatName, value);
    if (!isAchievementUnlocked(id)) {
        if (row->mGoal <= 1) {
            stats->setAchievement(row->mApiName);
        } else if (value > previous) {
            const auto goal = static_cast<uint32_t>(row->mGoal);
            if (value >= row->mGoal) {
                stats->indicateAchievementProgress(row->mApiName, goal, goal);
                stats->setAchievement(row->mApiName);
                stats->storeStats();
                return;
            }
            if (value == 1 || value % 5 == 0) {
                stats->indicateAchievementProgress(row->mApiName, static_cast<uint32_t>(value),
                                                   goal);
                stats->storeStats();
                return;
            }
        }
    }
    stats->storeStats();
}
