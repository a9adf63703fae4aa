#pragma once

// The signed-in user's statistics of the platform stand-in: integer stats and
// unlocked achievements by name, held in memory.
//
// requestCurrentStats reads them from the file "userstats.txt" in the user's
// data folder (a missing file means a new user), storeStats writes them back.
// The file is text, one record a line: "stat <name> <value>" or
// "achievement <name>"; "#" starts a comment line. A malformed line is
// reported on standard output and skipped. Names are single words: an empty
// name or one holding white space is refused. Main thread only.

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class SteamUserStats {
public:
    // One progress notice the platform would show ("3 of 5").
    struct ProgressNotice {
        std::string mName;
        uint32_t mCurrent = 0;
        uint32_t mMaximum = 0;
    };

    static constexpr const char* cFileName = "userstats.txt";

    // The file the statistics live in.
    static std::filesystem::path statsFile();

    // Loads the stored statistics, replacing those in memory. False when the
    // file exists but cannot be read.
    bool requestCurrentStats();
    // True once statistics were loaded (requestCurrentStats succeeded).
    bool hasCurrentStats() const { return mReceived; }

    // The stat of that name; false, with out untouched, when it was never set.
    bool getStat(std::string_view name, int32_t& out) const;
    bool setStat(std::string_view name, int32_t value);
    // Whether the achievement of that name is unlocked.
    bool getAchievement(std::string_view name, bool& achieved) const;
    // Unlocks it.
    bool setAchievement(std::string_view name);
    // Shows "current of maximum" for the achievement (kept in progressNotices).
    bool indicateAchievementProgress(std::string_view name, uint32_t current, uint32_t maximum);
    // Writes the statistics to the file; false when it cannot be written.
    bool storeStats();
    // Forgets every stat (and every achievement when asked), then stores.
    bool resetAllStats(bool achievementsToo);

    const std::map<std::string, int32_t, std::less<>>& stats() const { return mStats; }
    const std::set<std::string, std::less<>>& achievements() const { return mAchievements; }
    const std::vector<ProgressNotice>& progressNotices() const { return mNotices; }

private:
    std::map<std::string, int32_t, std::less<>> mStats;
    std::set<std::string, std::less<>> mAchievements;
    std::vector<ProgressNotice> mNotices;
    bool mReceived = false;
};
