#include "SteamFolderTest.h"

#include "platform/steam/SteamCallbacks.h"
#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "platform/steam/SteamUserStats.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Entry = SteamUserStats::LeaderboardEntry;

class SteamLeaderboardsTest : public SteamFolderTest {
protected:
    void SetUp() override {
        SteamFolderTest::SetUp();
        SteamClient::init();
        mStats = SteamClient::userStats();
        mSelf = SteamClient::accountId();
    }

    // The board's handle, found (made) through a delivered call.
    uint64_t find(const std::string& name) {
        SteamCallResult<LeaderboardFindResult> slot;
        uint64_t handle = 0;
        slot.set(mStats->findOrCreateLeaderboard(name, SteamUserStats::cSortDescending,
                                                 SteamUserStats::cDisplayNumeric),
                 [&](const LeaderboardFindResult& found, bool) { handle = found.mLeaderboard; });
        SteamClient::runCallbacks();
        return handle;
    }

    std::vector<Entry> download(SteamAPICall call) {
        SteamCallResult<LeaderboardScoresDownloaded> slot;
        std::vector<Entry> entries;
        slot.set(call, [&](const LeaderboardScoresDownloaded& got, bool) {
            for (int32_t i = 0; i < got.mEntryCount; ++i) {
                Entry entry;
                EXPECT_TRUE(mStats->getDownloadedLeaderboardEntry(got.mEntries, i, entry));
                entries.push_back(entry);
            }
        });
        SteamClient::runCallbacks();
        return entries;
    }

    SteamUserStats* mStats = nullptr;
    uint64_t mSelf = 0;
};

} // namespace

TEST_F(SteamLeaderboardsTest, ResultsArriveOnlyInRunCallbacksInCallOrder) {
    std::vector<std::string> order;
    SteamCallResult<LeaderboardFindResult> first, second, again;
    first.set(mStats->findOrCreateLeaderboard("A", 2, 1),
              [&](const LeaderboardFindResult&, bool) { order.push_back("A"); });
    second.set(mStats->findOrCreateLeaderboard("B", 2, 1),
               [&](const LeaderboardFindResult&, bool) { order.push_back("B"); });
    // Setting a slot again drops its earlier call.
    again.set(mStats->findOrCreateLeaderboard("C", 2, 1),
              [&](const LeaderboardFindResult&, bool) { order.push_back("C"); });
    again.set(mStats->findOrCreateLeaderboard("D", 2, 1),
              [&](const LeaderboardFindResult&, bool) { order.push_back("D"); });
    EXPECT_TRUE(order.empty());
    SteamClient::runCallbacks();
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "D"}));
    EXPECT_FALSE(first.isActive());
    SteamClient::runCallbacks();
    EXPECT_EQ(order.size(), 3u);
    // The dropped call still made its board.
    EXPECT_EQ(mStats->getLeaderboardName(3), "C");
}

TEST_F(SteamLeaderboardsTest, StatsArriveAsTheReceivedCallbackAndFailuresSaySo) {
    std::vector<int32_t> results;
    SteamCallback<UserStatsReceived> received(
        [&](const UserStatsReceived& record) { results.push_back(record.mResult); });
    mStats->requestCurrentStats();
    EXPECT_TRUE(results.empty());
    SteamClient::runCallbacks();
    SteamClient::setCallsFail(true);
    mStats->requestCurrentStats();
    SteamClient::runCallbacks();
    EXPECT_EQ(results, (std::vector<int32_t>{cSteamResultOK, cSteamResultFail}));
}

TEST_F(SteamLeaderboardsTest, UploadsRankAndDownloadsListGlobalFriendsAndUsers) {
    SteamFriends* friends = SteamClient::friends();
    friends->setFriends({{11, 1, "bob"}});
    mStats->setLeaderboardScore("WINS", 10, 50); // a stranger
    mStats->setLeaderboardScore("WINS", 11, 30); // a friend
    mStats->setLeaderboardScore("WINS", 12, 20);
    const uint64_t board = find("WINS");
    ASSERT_NE(board, 0u);

    struct Upload {
        int method;
        int32_t score;
        int32_t previous, rank;
        bool changed;
    };
    const Upload uploads[] = {
        {SteamUserStats::cUploadForceUpdate, 25, 0, 3, true},
        {SteamUserStats::cUploadKeepBest, 5, 3, 3, false},    // not better: kept
        {SteamUserStats::cUploadForceUpdate, 30, 3, 3, true}, // level: after the earlier
        {SteamUserStats::cUploadForceUpdate, 60, 3, 1, true},
    };
    for (const Upload& upload : uploads) {
        SteamCallResult<LeaderboardScoreUploaded> slot;
        std::optional<LeaderboardScoreUploaded> got;
        slot.set(mStats->uploadLeaderboardScore(board, upload.method, upload.score),
                 [&](const LeaderboardScoreUploaded& record, bool) { got = record; });
        SteamClient::runCallbacks();
        ASSERT_TRUE(got && got->mSuccess) << upload.score;
        EXPECT_EQ(got->mGlobalRankPrevious, upload.previous) << upload.score;
        EXPECT_EQ(got->mGlobalRankNew, upload.rank) << upload.score;
        EXPECT_EQ(got->mScoreChanged, upload.changed) << upload.score;
    }

    EXPECT_EQ(
        download(mStats->downloadLeaderboardEntries(board, SteamUserStats::cRequestGlobal, 2, 3)),
        (std::vector<Entry>{{10, 2, 50}, {11, 3, 30}}));
    EXPECT_EQ(
        download(mStats->downloadLeaderboardEntries(board, SteamUserStats::cRequestFriends, 1, 10)),
        (std::vector<Entry>{{mSelf, 1, 60}, {11, 3, 30}}));
    EXPECT_EQ(download(mStats->downloadLeaderboardEntriesForUsers(board, {12, 99})),
              (std::vector<Entry>{{12, 4, 20}}));
    Entry none;
    EXPECT_FALSE(mStats->getDownloadedLeaderboardEntry(12345, 0, none));

    // Kept across sessions.
    SteamClient::shutdown();
    SteamClient::init();
    mStats = SteamClient::userStats();
    EXPECT_EQ(download(mStats->downloadLeaderboardEntries(find("WINS"),
                                                          SteamUserStats::cRequestGlobal, 1, 1)),
              (std::vector<Entry>{{mSelf, 1, 60}}));
}

TEST_F(SteamLeaderboardsTest, FailedCallsAndBrokenFilesNeverCrash) {
    SteamClient::setCallsFail(true);
    SteamCallResult<LeaderboardFindResult> slot;
    bool failed = false;
    slot.set(mStats->findOrCreateLeaderboard("WINS", 2, 1),
             [&](const LeaderboardFindResult& found, bool ioFailure) {
                 failed = ioFailure && !found.mFound;
             });
    SteamClient::runCallbacks();
    EXPECT_TRUE(failed);
    SteamClient::setCallsFail(false);
    EXPECT_EQ(find("TWO WORDS"), 0u);
    EXPECT_TRUE(download(mStats->downloadLeaderboardEntries(77, 0, 1, 5)).empty());

    SteamClient::shutdown();
    std::ofstream(mFolder / SteamUserStats::cLeaderboardFileName)
        << "board WINS 2 1\nentry WINS 5 x\nentry WINS 0 3\nboard\nentry WINS 6 9\n";
    SteamClient::init();
    mStats = SteamClient::userStats();
    testing::internal::CaptureStdout();
    const uint64_t board = find("WINS");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("leaderboards.txt:2: skipping malformed line"), std::string::npos);
    EXPECT_EQ(download(mStats->downloadLeaderboardEntries(board, 0, 1, 5)),
              (std::vector<Entry>{{6, 1, 9}}));
}
