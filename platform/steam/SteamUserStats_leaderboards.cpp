#include "platform/steam/SteamUserStats.h"

#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "platform/steam/SteamTextFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

std::filesystem::path leaderboardsFile() {
    return SteamClient::userDataFolder() / SteamUserStats::cLeaderboardFileName;
}

// Whether score a ranks above b on a board of that sort method.
bool ranksAbove(int sortMethod, int32_t a, int32_t b) {
    return sortMethod == SteamUserStats::cSortDescending ? a > b : a < b;
}

// The stats of the signed-in user when a call completes (null once the user
// signed out).
SteamUserStats* currentStats() {
    return SteamClient::userStats();
}

} // namespace

void SteamUserStats::loadLeaderboards() {
    if (mLeaderboardsLoaded)
        return;
    mLeaderboardsLoaded = true;
    const std::filesystem::path path = leaderboardsFile();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return;
    readSteamRecords(path, [this](const std::string& kind, std::istringstream& words) {
        std::string name, first, second, extra;
        words >> name >> first >> second >> extra;
        if (name.empty() || !extra.empty())
            return false;
        int sortMethod = 0, displayType = 0;
        if (kind == "board" && parseSteamNumber(first, sortMethod) &&
            parseSteamNumber(second, displayType)) {
            findOrCreate(name, sortMethod, displayType);
            return true;
        }
        uint64_t user = 0;
        int32_t score = 0;
        if (kind != "entry" || !parseSteamNumber(first, user) || user == 0 ||
            !parseSteamNumber(second, score))
            return false;
        Leaderboard* found = leaderboard(findOrCreate(name, cSortDescending, cDisplayNumeric));
        // A user listed twice keeps the first.
        if (std::none_of(found->mScores.begin(), found->mScores.end(),
                         [user](const auto& entry) { return entry.first == user; }))
            found->mScores.emplace_back(user, score);
        return true;
    });
    for (Leaderboard& board : mLeaderboards)
        std::stable_sort(board.mScores.begin(), board.mScores.end(),
                         [&board](const auto& a, const auto& b) {
                             return ranksAbove(board.mSortMethod, a.second, b.second);
                         });
}

bool SteamUserStats::saveLeaderboards() const {
    const std::filesystem::path path = leaderboardsFile();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::trunc);
    file << "# leaderboards of the platform stand-in\n";
    for (const Leaderboard& board : mLeaderboards) {
        file << "board " << board.mName << ' ' << board.mSortMethod << ' ' << board.mDisplayType
             << '\n';
        for (const auto& [user, score] : board.mScores)
            file << "entry " << board.mName << ' ' << user << ' ' << score << '\n';
    }
    file.flush();
    if (!file)
        std::printf("failed to write %s\n", path.string().c_str());
    return static_cast<bool>(file);
}

SteamUserStats::Leaderboard* SteamUserStats::leaderboard(uint64_t board) {
    loadLeaderboards();
    if (board == 0 || board > mLeaderboards.size())
        return nullptr;
    return &mLeaderboards[board - 1];
}

uint64_t SteamUserStats::findOrCreate(std::string_view name, int sortMethod, int displayType) {
    const auto found =
        std::find_if(mLeaderboards.begin(), mLeaderboards.end(),
                     [name](const Leaderboard& board) { return board.mName == name; });
    if (found != mLeaderboards.end())
        return static_cast<uint64_t>(found - mLeaderboards.begin()) + 1;
    Leaderboard board;
    board.mName = name;
    board.mSortMethod = sortMethod;
    board.mDisplayType = displayType;
    mLeaderboards.push_back(std::move(board));
    return mLeaderboards.size();
}

SteamAPICall SteamUserStats::findOrCreateLeaderboard(std::string_view name, int sortMethod,
                                                     int displayType) {
    return SteamCalls::startWith<LeaderboardFindResult>(
        [name = std::string(name), sortMethod, displayType] {
            LeaderboardFindResult record;
            SteamUserStats* stats = currentStats();
            if (stats == nullptr || name.empty() || name.find_first_of(" \t\r\n") != name.npos)
                return record;
            stats->loadLeaderboards();
            const size_t before = stats->mLeaderboards.size();
            record.mLeaderboard = stats->findOrCreate(name, sortMethod, displayType);
            record.mFound = true;
            if (stats->mLeaderboards.size() != before)
                stats->saveLeaderboards();
            return record;
        });
}

std::string SteamUserStats::getLeaderboardName(uint64_t board) const {
    if (board == 0 || board > mLeaderboards.size())
        return {};
    return mLeaderboards[board - 1].mName;
}

LeaderboardScoreUploaded SteamUserStats::upload(uint64_t board, int method, int32_t score) {
    LeaderboardScoreUploaded record;
    Leaderboard* found = leaderboard(board);
    const uint64_t self = SteamClient::accountId();
    if (found == nullptr || self == 0)
        return record;
    auto& scores = found->mScores;
    const auto own = std::find_if(scores.begin(), scores.end(),
                                  [self](const auto& entry) { return entry.first == self; });
    record.mSuccess = true;
    record.mLeaderboard = board;
    record.mScore = score;
    if (own != scores.end()) {
        record.mGlobalRankPrevious = static_cast<int32_t>(own - scores.begin()) + 1;
        if (method == cUploadKeepBest && !ranksAbove(found->mSortMethod, score, own->second)) {
            record.mGlobalRankNew = record.mGlobalRankPrevious;
            return record;
        }
        record.mScoreChanged = own->second != score;
        scores.erase(own);
    } else {
        record.mScoreChanged = true;
    }
    record.mGlobalRankNew = insertScore(*found, self, score);
    saveLeaderboards();
    return record;
}

SteamAPICall SteamUserStats::uploadLeaderboardScore(uint64_t board, int method, int32_t score) {
    return SteamCalls::startWith<LeaderboardScoreUploaded>([board, method, score] {
        SteamUserStats* stats = currentStats();
        return stats != nullptr ? stats->upload(board, method, score) : LeaderboardScoreUploaded{};
    });
}

int32_t SteamUserStats::insertScore(Leaderboard& board, uint64_t user, int32_t score) {
    // After every entry ranking above or level with it.
    auto& scores = board.mScores;
    const auto place = std::find_if(scores.begin(), scores.end(), [&](const auto& entry) {
        return ranksAbove(board.mSortMethod, score, entry.second);
    });
    const auto rank = static_cast<int32_t>(place - scores.begin()) + 1;
    scores.insert(place, {user, score});
    return rank;
}

uint64_t SteamUserStats::keepDownload(std::vector<LeaderboardEntry> entries) {
    // Only the latest downloads are kept.
    constexpr uint64_t cKept = 16;
    mDownloads[++mLastDownload] = std::move(entries);
    if (mLastDownload > cKept)
        mDownloads.erase(mDownloads.begin(), mDownloads.lower_bound(mLastDownload - cKept + 1));
    return mLastDownload;
}

SteamAPICall SteamUserStats::downloadLeaderboardEntries(uint64_t board, int request, int32_t first,
                                                        int32_t last) {
    return SteamCalls::startWith<LeaderboardScoresDownloaded>([board, request, first, last] {
        LeaderboardScoresDownloaded record;
        SteamUserStats* stats = currentStats();
        const Leaderboard* found = stats != nullptr ? stats->leaderboard(board) : nullptr;
        if (found == nullptr)
            return record;
        const uint64_t self = SteamClient::accountId();
        const SteamFriends* friends = SteamClient::friends();
        std::vector<LeaderboardEntry> listed;
        for (size_t i = 0; i < found->mScores.size(); ++i) {
            const auto& [user, score] = found->mScores[i];
            if (request == cRequestFriends && user != self &&
                (friends == nullptr || !friends->isFriend(user)))
                continue;
            listed.push_back({user, static_cast<int32_t>(i) + 1, score});
        }
        // The range, from 1, of what the request lists.
        std::vector<LeaderboardEntry> entries;
        for (size_t i = 0; i < listed.size(); ++i) {
            const auto position = static_cast<int64_t>(i) + 1;
            if (position >= first && position <= last)
                entries.push_back(listed[i]);
        }
        record.mLeaderboard = board;
        record.mEntryCount = static_cast<int32_t>(entries.size());
        record.mEntries = stats->keepDownload(std::move(entries));
        return record;
    });
}

SteamAPICall
SteamUserStats::downloadLeaderboardEntriesForUsers(uint64_t board,
                                                   const std::vector<uint64_t>& users) {
    return SteamCalls::startWith<LeaderboardScoresDownloaded>([board, users] {
        LeaderboardScoresDownloaded record;
        SteamUserStats* stats = currentStats();
        const Leaderboard* found = stats != nullptr ? stats->leaderboard(board) : nullptr;
        if (found == nullptr)
            return record;
        std::vector<LeaderboardEntry> entries;
        for (size_t i = 0; i < found->mScores.size(); ++i) {
            const auto& [user, score] = found->mScores[i];
            if (std::find(users.begin(), users.end(), user) != users.end())
                entries.push_back({user, static_cast<int32_t>(i) + 1, score});
        }
        record.mLeaderboard = board;
        record.mEntryCount = static_cast<int32_t>(entries.size());
        record.mEntries = stats->keepDownload(std::move(entries));
        return record;
    });
}

bool SteamUserStats::getDownloadedLeaderboardEntry(uint64_t entries, int32_t index,
                                                   LeaderboardEntry& out) const {
    const auto found = mDownloads.find(entries);
    if (found == mDownloads.end() || index < 0 ||
        static_cast<size_t>(index) >= found->second.size())
        return false;
    out = found->second[static_cast<size_t>(index)];
    return true;
}

void SteamUserStats::setLeaderboardScore(std::string_view board, uint64_t user, int32_t score) {
    loadLeaderboards();
    Leaderboard* found = leaderboard(findOrCreate(board, cSortDescending, cDisplayNumeric));
    auto& scores = found->mScores;
    std::erase_if(scores, [user](const auto& entry) { return entry.first == user; });
    insertScore(*found, user, score);
    saveLeaderboards();
}
