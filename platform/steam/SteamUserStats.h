#pragma once

// The signed-in user's statistics of the platform stand-in: integer stats and
// unlocked achievements by name, held in memory.
//
// requestCurrentStats reads them from the file "userstats.txt" in the user's
// data folder (a missing file means a new user) when the client runs its
// callbacks, and then posts UserStatsReceived; storeStats writes them back.
// The file is text, one record a line: "stat <name> <value>" or
// "achievement <name>"; "#" starts a comment line. A malformed line is
// reported on standard output and skipped. Names are single words: an empty
// name or one holding white space is refused.
//
// The leaderboards live in "leaderboards.txt" beside it: "board <name>
// <sort method> <display type>" and "entry <board name> <user id> <score>"
// lines, written after every change. Their calls complete in
// SteamClient::runCallbacks (SteamCallbacks.h). Main thread only.

#include "platform/steam/SteamCallbacks.h"

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

    // Asks for the stored statistics: when the client runs its callbacks
    // they replace those in memory and UserStatsReceived is posted, with
    // cSteamResultFail when the file exists but cannot be read. Always true.
    bool requestCurrentStats();
    // True once statistics were loaded (a request succeeded).
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

    // Leaderboards. Sort methods: 1 ascending, 2 descending; display types:
    // 1 numeric. A board handle is never 0.
    static constexpr const char* cLeaderboardFileName = "leaderboards.txt";
    static constexpr int cSortDescending = 2;
    static constexpr int cDisplayNumeric = 1;
    static constexpr int cUploadKeepBest = 1;
    static constexpr int cUploadForceUpdate = 2;
    static constexpr int cRequestGlobal = 0;
    static constexpr int cRequestFriends = 2;

    struct LeaderboardEntry {
        bool operator==(const LeaderboardEntry& other) const = default;

        uint64_t mUserId = 0;
        int32_t mGlobalRank = 0; // from 1
        int32_t mScore = 0;
    };

    // Finds the board of that name, made with the sort method and display
    // type when missing: LeaderboardFindResult.
    SteamAPICall findOrCreateLeaderboard(std::string_view name, int sortMethod, int displayType);
    // A board's name; empty for an unknown handle.
    std::string getLeaderboardName(uint64_t board) const;
    // The user's score (force update replaces it, keep best only raises
    // it): LeaderboardScoreUploaded with the previous and new global ranks.
    SteamAPICall uploadLeaderboardScore(uint64_t board, int method, int32_t score);
    // Entries first to last (from 1) of the global order, or of the user and
    // the user's friends: LeaderboardScoresDownloaded.
    SteamAPICall downloadLeaderboardEntries(uint64_t board, int request, int32_t first,
                                            int32_t last);
    // The entries of the given users.
    SteamAPICall downloadLeaderboardEntriesForUsers(uint64_t board,
                                                    const std::vector<uint64_t>& users);
    // Entry index of a download; false when there is none.
    bool getDownloadedLeaderboardEntry(uint64_t entries, int32_t index,
                                       LeaderboardEntry& out) const;
    // Tests and tries: sets a user's score on a board (made when missing).
    void setLeaderboardScore(std::string_view board, uint64_t user, int32_t score);

    const std::map<std::string, int32_t, std::less<>>& stats() const { return mStats; }
    const std::set<std::string, std::less<>>& achievements() const { return mAchievements; }
    const std::vector<ProgressNotice>& progressNotices() const { return mNotices; }

private:
    struct Leaderboard {
        std::string mName;
        int mSortMethod = cSortDescending;
        int mDisplayType = cDisplayNumeric;
        std::vector<std::pair<uint64_t, int32_t>> mScores; // user, score; in rank order
    };

    bool loadStoredStats();
    void loadLeaderboards();
    bool saveLeaderboards() const;
    Leaderboard* leaderboard(uint64_t board);
    uint64_t findOrCreate(std::string_view name, int sortMethod, int displayType);
    LeaderboardScoreUploaded upload(uint64_t board, int method, int32_t score);
    static int32_t insertScore(Leaderboard& board, uint64_t user, int32_t score);
    uint64_t keepDownload(std::vector<LeaderboardEntry> entries);

    std::map<std::string, int32_t, std::less<>> mStats;
    std::set<std::string, std::less<>> mAchievements;
    std::vector<ProgressNotice> mNotices;
    bool mReceived = false;
    bool mLeaderboardsLoaded = false;
    std::vector<Leaderboard> mLeaderboards; // handle: index + 1
    std::map<uint64_t, std::vector<LeaderboardEntry>> mDownloads;
    uint64_t mLastDownload = 0;
};
