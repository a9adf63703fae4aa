#pragma once

// The platform's stats and leaderboards as the shell drives them: the
// stats-received callback that lets the achievement tracker flush, the six
// win boards (one overall, one per civ) with the achievement pair whose stat
// each board counts, the uploads of the player's wins, and the page's
// leaderboard view. Platform results arrive inside
// SteamClient::runCallbacks, which the main loop calls every pass. Main
// thread only.

#include "shell/CocosV8Handler.h"

#include "platform/steam/SteamCallbacks.h"

#include <array>
#include <cstdint>

class WebService;

inline constexpr int32_t cLeaderboardCount = 6;
// Boards 0 to 5; board 5's stat is "WINS_KXFOUR".
extern const std::array<const char*, cLeaderboardCount> kLeaderboardNames;
// The achievements whose stat each board counts.
extern const std::array<std::array<int32_t, 2>, cLeaderboardCount> kBoardAchievements;
// Set once all six boards were found.
extern bool gAllBoardsFound;

// Answers the platform's stats-received callback for as long as it lives
// (one for the program).
class SteamUserStatsLoaded {
public:
    SteamUserStatsLoaded();
    // Success lets the tracker flush and flushes its queue at once; a
    // failure leaves it disabled.
    void onUserStatsReceived(const UserStatsReceived& record);

private:
    SteamCallback<UserStatsReceived> mCallback;
};

class SteamLeaderboardHelper {
public:
    // Start-up: starts finding all six boards.
    void findLeaderboards();
    void findLeaderboard(int32_t board);
    // Uploads the user's score (force update); a board not found yet is
    // looked for again and the score dropped (false).
    bool uploadScore(int32_t board, int32_t score);
    // Asks for slotCount entries of the board (the user's friends only, or
    // everyone) and the user's own entry; the page gets empty slots at
    // once and is filled when both downloads are in.
    void showLeaderboard(int32_t board, int32_t slotCount, bool friendsOnly);
    // Fills the page's slots from the two downloads.
    void fillSlots();

    void onFindResult(const LeaderboardFindResult& record, bool ioFailure);
    void onScoreUploaded(const LeaderboardScoreUploaded& record, bool ioFailure);
    void onScoresDownloaded(const LeaderboardScoresDownloaded& record, bool ioFailure);
    void onSelfScoreDownloaded(const LeaderboardScoresDownloaded& record, bool ioFailure);

    // A board's handle; 0 while not found.
    uint64_t boardHandle(int32_t board) const;
    // Tests: forgets handles, downloads and pending calls, and clears
    // gAllBoardsFound.
    void reset();

    // The slot count of the last filled board (0 at start).
    int32_t mFriendsSlotCount = 0;

private:
    int32_t boardOfHandle(uint64_t handle) const;

    std::array<SteamCallResult<LeaderboardFindResult>, cLeaderboardCount> mFindResults;
    std::array<SteamCallResult<LeaderboardScoreUploaded>, cLeaderboardCount> mUploadResults;
    SteamCallResult<LeaderboardScoresDownloaded> mEntriesResult;
    SteamCallResult<LeaderboardScoresDownloaded> mSelfResult;
    std::array<uint64_t, cLeaderboardCount> mBoards{};
    uint64_t mEntries = 0;
    int32_t mEntryCount = 0;
    uint64_t mSelfEntry = 0;
};

// The program's helper and callback owner.
SteamLeaderboardHelper& steamLeaderboardHelper();
SteamUserStatsLoaded& steamUserStatsLoaded();

// The board of a name (exact), or -1.
int32_t leaderboardIndexByName(const char* name);
// Sets the board's achievement pair to wins and uploads them.
void setLeaderboardStat(int32_t board, int64_t wins);
// Asks the service for the player's wins per civ and puts them on the
// boards, with their total on "WINS_OVERALL". Needs a platform user and a
// logged-in client.
void updateCivLeaderboards(WebService& service);
// The page asks for a board.
void showLeaderboard(int32_t board, int32_t slotCount, bool friendsOnly);
// Start-up: asks for the user's stats, then finds the boards.
void requestStatsAndFindLeaderboards();

// The bridge's showLeaderboard(teamName, numSlots, friendsOnly).
BridgeResult bridgeShowLeaderboard(CocosV8Handler& handler, const BridgeArguments& arguments);
