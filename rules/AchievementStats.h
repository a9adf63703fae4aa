#pragma once

// The platform side of achievements: setting an achievement's stat, which
// unlocks the achievement or shows its progress as the achievement table
// says, and reading it back.

#include <cstdint>

class SteamUserStats;

// The signed-in user's statistics once the platform has delivered them;
// null before (or without a signed-in user).
SteamUserStats* platformUserStats();

// Sets the stat of achievement id to value, unlocks the achievement at its
// goal and shows progress at 1 and every multiple of 5, then stores.
void setAchievementStat(int32_t id, int32_t value);
// The value of the achievement's stat; 0 when it has none or it cannot be read.
int32_t getAchievementStatValue(int32_t id);
// Whether the platform reports the achievement unlocked.
bool isAchievementUnlocked(int32_t id);
