#include "shell/Leaderboards.h"

#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/ShellState.h"

#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "platform/steam/SteamUserStats.h"
#include "rules/AchievementStats.h"
#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/SceneServices.h"
#include "service/WebService.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>

const std::array<const char*, cLeaderboardCount> kLeaderboardNames = {
    "WINS_OVERALL", "WINS_COUNCIL", "WINS_DARKELVES", "WINS_DWARVES", "WINS_TRIBE", "WINS_KX4"};

const std::array<std::array<int32_t, 2>, cLeaderboardCount> kBoardAchievements = {{
    {cAchievementWin25, cAchievementWin100},
    {cAchievementCouncilWin, cAchievementCouncilWin50},
    {cAchievementDarkElvesWin, cAchievementDarkElvesWin50},
    {cAchievementDwarvesWin, cAchievementDwarvesWin50},
    {cAchievementTribeWin, cAchievementTribeWin50},
    {cAchievementKxFourWin, cAchievementKxFourWin50},
}};

bool gAllBoardsFound = false;

namespace {

// The civ each board 1 to 5 counts (compared ignoring case).
constexpr const char* cBoardCivs[cLeaderboardCount] = {"",        "humans", "darkelves",
                                                       "dwarves", "orcs",   "kx4a"};

// Built before the main function: the callback is registered from the start.
SteamUserStatsLoaded gStatsLoaded;
SteamLeaderboardHelper gHelper;

void print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

bool validBoard(int32_t board) {
    return board >= 0 && board < cLeaderboardCount;
}

} // namespace

SteamUserStatsLoaded::SteamUserStatsLoaded()
    : mCallback([this](const UserStatsReceived& record) { onUserStatsReceived(record); }) {}

void SteamUserStatsLoaded::onUserStatsReceived(const UserStatsReceived& record) {
    if (record.mResult != cSteamResultOK) {
        std::printf("Steam RequestStats - failed, Result: %d.\n", record.mResult);
        std::fflush(stdout);
        return;
    }
    std::printf("Steam RequestStats - Succeeded, Result: %d.\n", record.mResult);
    std::fflush(stdout);
    AchievementTracker::setFlushEnabled(true);
    AchievementTracker::flushQueue();
}

SteamLeaderboardHelper& steamLeaderboardHelper() {
    return gHelper;
}

SteamUserStatsLoaded& steamUserStatsLoaded() {
    return gStatsLoaded;
}

int32_t leaderboardIndexByName(const char* name) {
    if (name == nullptr)
        return -1;
    for (int32_t board = 0; board < cLeaderboardCount; ++board)
        if (std::strcmp(kLeaderboardNames[board], name) == 0)
            return board;
    return -1;
}

void SteamLeaderboardHelper::findLeaderboards() {
    for (int32_t board = 0; board < cLeaderboardCount; ++board)
        findLeaderboard(board);
}

void SteamLeaderboardHelper::findLeaderboard(int32_t board) {
    SteamUserStats* stats = SteamClient::userStats();
    if (stats == nullptr || !validBoard(board))
        return;
    mFindResults[board].set(stats->findOrCreateLeaderboard(kLeaderboardNames[board],
                                                           SteamUserStats::cSortDescending,
                                                           SteamUserStats::cDisplayNumeric),
                            [this](const LeaderboardFindResult& record, bool ioFailure) {
                                onFindResult(record, ioFailure);
                            });
}

void SteamLeaderboardHelper::onFindResult(const LeaderboardFindResult& record, bool ioFailure) {
    SteamUserStats* stats = SteamClient::userStats();
    if (!record.mFound || ioFailure || stats == nullptr) {
        print("Warning: Steam Find Leaderboard Error.\n");
        return;
    }
    const std::string name = stats->getLeaderboardName(record.mLeaderboard);
    const int32_t board = leaderboardIndexByName(name.c_str());
    if (board < 0)
        return;
    print("Steam Leaderboard found: '" + name + "'\n");
    mBoards[board] = record.mLeaderboard;
    const bool allFound =
        std::all_of(mBoards.begin(), mBoards.end(), [](uint64_t handle) { return handle != 0; });
    if (allFound && !gAllBoardsFound) {
        gAllBoardsFound = true;
        sceneServices().updateCivLeaderboards();
    }
}

bool SteamLeaderboardHelper::uploadScore(int32_t board, int32_t score) {
    SteamUserStats* stats = SteamClient::userStats();
    if (stats == nullptr || !validBoard(board))
        return false;
    if (mBoards[board] == 0) {
        findLeaderboard(board);
        return false;
    }
    mUploadResults[board].set(
        stats->uploadLeaderboardScore(mBoards[board], SteamUserStats::cUploadForceUpdate, score),
        [this](const LeaderboardScoreUploaded& record, bool ioFailure) {
            onScoreUploaded(record, ioFailure);
        });
    return true;
}

void SteamLeaderboardHelper::onScoreUploaded(const LeaderboardScoreUploaded& record,
                                             bool ioFailure) {
    SteamUserStats* stats = SteamClient::userStats();
    if (!record.mSuccess || ioFailure || stats == nullptr) {
        print("Warning: Steam UploadScore Error.\n");
        return;
    }
    std::printf("Uploaded Leaderboard: Score:%d, PrevRank:%d, NewRank:%d on '%s'.\n", record.mScore,
                record.mGlobalRankPrevious, record.mGlobalRankNew,
                stats->getLeaderboardName(record.mLeaderboard).c_str());
    std::fflush(stdout);
}

uint64_t SteamLeaderboardHelper::boardHandle(int32_t board) const {
    return validBoard(board) ? mBoards[board] : 0;
}

int32_t SteamLeaderboardHelper::boardOfHandle(uint64_t handle) const {
    if (handle == 0)
        return -1;
    const auto found = std::find(mBoards.begin(), mBoards.end(), handle);
    return found == mBoards.end() ? -1 : static_cast<int32_t>(found - mBoards.begin());
}

void SteamLeaderboardHelper::showLeaderboard(int32_t board, int32_t slotCount, bool friendsOnly) {
    mEntries = 0;
    mEntryCount = 0;
    mSelfEntry = 0;
    SteamUserStats* stats = SteamClient::userStats();
    if (stats == nullptr || !validBoard(board))
        return;
    if (mBoards[board] == 0) {
        findLeaderboard(board);
        return;
    }
    mEntriesResult.set(stats->downloadLeaderboardEntries(mBoards[board],
                                                         friendsOnly
                                                             ? SteamUserStats::cRequestFriends
                                                             : SteamUserStats::cRequestGlobal,
                                                         1, slotCount),
                       [this](const LeaderboardScoresDownloaded& record, bool ioFailure) {
                           onScoresDownloaded(record, ioFailure);
                       });
    mSelfResult.set(
        stats->downloadLeaderboardEntriesForUsers(mBoards[board], {SteamClient::accountId()}),
        [this](const LeaderboardScoresDownloaded& record, bool ioFailure) {
            onSelfScoreDownloaded(record, ioFailure);
        });
    runInPage("createLeaderBoardSlots(" +
              std::to_string(friendsOnly ? mFriendsSlotCount : slotCount) + ");");
}

void SteamLeaderboardHelper::onScoresDownloaded(const LeaderboardScoresDownloaded& record,
                                                bool ioFailure) {
    if (ioFailure) {
        print("Warning: Steam DownloadScores Error.\n");
        return;
    }
    if (boardOfHandle(record.mLeaderboard) < 0) {
        print("Warning: Steam Downloaded Score for unknown leaderboard.\n");
        return;
    }
    mEntries = record.mEntries;
    mEntryCount = record.mEntryCount;
    if (mSelfEntry != 0)
        fillSlots();
}

void SteamLeaderboardHelper::onSelfScoreDownloaded(const LeaderboardScoresDownloaded& record,
                                                   bool ioFailure) {
    if (ioFailure) {
        print("Warning: Steam DownloadSelfScore Error.\n");
        return;
    }
    if (boardOfHandle(record.mLeaderboard) < 0) {
        print("Warning: Steam Downloaded SelfScore for unknown leaderboard.\n");
        return;
    }
    mSelfEntry = record.mEntries;
    if (mEntries != 0)
        fillSlots();
}

void SteamLeaderboardHelper::fillSlots() {
    SteamUserStats* stats = SteamClient::userStats();
    SteamFriends* friends = SteamClient::friends();
    if (stats == nullptr || friends == nullptr)
        return;
    const int32_t count = std::max(mEntryCount, 0);
    runInPage("createLeaderBoardSlots(" + std::to_string(count) + ");");
    mFriendsSlotCount = mFriendsSlotCount == 0 ? count : std::min(mFriendsSlotCount, count);
    const uint64_t self = SteamClient::accountId();
    bool selfSeen = false;
    for (int32_t i = 0; i < count; ++i) {
        SteamUserStats::LeaderboardEntry entry;
        bool isSelf = false;
        // The last slot shows the user's own entry when the user is not
        // among the listed ones; a user without an entry leaves the listed
        // one there.
        if (i == count - 1 && !selfSeen &&
            stats->getDownloadedLeaderboardEntry(mSelfEntry, 0, entry)) {
            isSelf = true;
        } else {
            if (!stats->getDownloadedLeaderboardEntry(mEntries, i, entry))
                continue;
            isSelf = entry.mUserId == self;
            selfSeen = selfSeen || isSelf;
        }
        const std::string name = escapedForPage(friends->getFriendPersonaName(entry.mUserId));
        runInPage("fillLeaderboardSlot(" + std::to_string(i) + "," +
                  std::to_string(entry.mGlobalRank) + ",\"" + name + "\"," +
                  std::to_string(entry.mScore) + ", " + (isSelf ? "1" : "0") + ");");
    }
}

void SteamLeaderboardHelper::reset() {
    for (auto& slot : mFindResults)
        slot.cancel();
    for (auto& slot : mUploadResults)
        slot.cancel();
    mEntriesResult.cancel();
    mSelfResult.cancel();
    mBoards.fill(0);
    mEntries = 0;
    mEntryCount = 0;
    mSelfEntry = 0;
    mFriendsSlotCount = 0;
    gAllBoardsFound = false;
}

void setLeaderboardStat(int32_t board, int64_t wins) {
    if (!validBoard(board))
        return;
    const auto value = static_cast<int32_t>(wins);
    if (wins > 0) {
        setAchievementStat(kBoardAchievements[board][0], value);
        setAchievementStat(kBoardAchievements[board][1], value);
    } else {
        SteamUserStats* stats = platformUserStats();
        if (stats == nullptr) {
            print("Warning: Not logged into steam.\n");
            return;
        }
        const AchievementRow* row = findAchievementRow(kBoardAchievements[board][0]);
        stats->setStat(row->mStatName, value);
        stats->storeStats();
    }
    steamLeaderboardHelper().uploadScore(board, value);
}

void updateCivLeaderboards(WebService& service) {
    if (SteamClient::userStats() == nullptr || !service.isLoggedIn())
        return;
    std::vector<int64_t> wins;
    if (service.getMyWinStatsByCiv(wins) != 0)
        return;
    const SettingsManager& settings = SettingsManager::instance();
    int64_t total = 0;
    for (size_t i = 0; i < wins.size(); ++i) {
        total += wins[i];
        const std::string name = i < settings.mCivs.size() ? settings.mCivs[i]->mName : "";
        const auto* board =
            std::find_if(std::begin(cBoardCivs) + 1, std::end(cBoardCivs),
                         [&name](const char* civ) { return strcasecmp(civ, name.c_str()) == 0; });
        if (board == std::end(cBoardCivs)) {
            print("WARNING: no leaderboard defined for " + name + "\n");
            continue;
        }
        setLeaderboardStat(static_cast<int32_t>(board - std::begin(cBoardCivs)), wins[i]);
    }
    // The overall board: with no wins its stat is set without the
    // achievements.
    setLeaderboardStat(0, total);
}

void showLeaderboard(int32_t board, int32_t slotCount, bool friendsOnly) {
    steamLeaderboardHelper().showLeaderboard(board, slotCount, friendsOnly);
}

void requestStatsAndFindLeaderboards() {
    recordShellCall("requestStatsAndFindLeaderboards");
    SteamUserStats* stats = SteamClient::userStats();
    if (stats == nullptr)
        return;
    stats->requestCurrentStats();
    steamLeaderboardHelper().findLeaderboards();
}

BridgeResult bridgeShowLeaderboard(CocosV8Handler&, const BridgeArguments& arguments) {
    constexpr const char* cTeams[cLeaderboardCount] = {"total",   "humans", "darkelves",
                                                       "dwarves", "orcs",   "kx4a"};
    const std::string team = arguments.text(0);
    const auto* found = std::find(std::begin(cTeams), std::end(cTeams), team);
    if (found == std::end(cTeams)) {
        print("WARNING: no leaderboard defined for " + team + ".\n");
        return std::nullopt;
    }
    showLeaderboard(static_cast<int32_t>(found - std::begin(cTeams)), arguments.integer(1),
                    arguments.boolean(2));
    return std::nullopt;
}
