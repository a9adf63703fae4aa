// The platform stats and leaderboards as the shell drives them, against the
// platform stand-in (its files in the test's folder) and the loopback
// server; the page's statements run in JavaScriptCore where their texts
// matter.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/Leaderboards.h"
#include "shell/MainLoop.h"
#include "shell/ShellSceneServices.h"

#include "content/settings/SettingsManager.h"
#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "platform/steam/SteamUserStats.h"
#include "rules/AchievementStats.h"
#include "rules/AchievementTracker.h"
#include "rules/SceneServices.h"

#include <optional>

namespace AT = AchievementTracker;

namespace {

// The program's services, counting the refreshes of the boards.
struct CountingServices : ShellSceneServices {
    using ShellSceneServices::ShellSceneServices;
    void updateCivLeaderboards() override {
        ++mUpdates;
        ShellSceneServices::updateCivLeaderboards();
    }
    int mUpdates = 0;
};

class LeaderboardsTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        AT::reset();
        AT::setFlushEnabled(false);
        steamLeaderboardHelper().reset();
        ASSERT_TRUE(SteamClient::init());
        mStats = SteamClient::userStats();
        mSelf = SteamClient::accountId();
        setSceneServices(&mServices);
        mSavedCivs.swap(SettingsManager::instance().mCivs);
        for (const char* name : {"humans", "orcs", "elves", "KX4A"}) {
            auto civ = std::make_unique<ProtoCiv>(
                static_cast<int32_t>(SettingsManager::instance().mCivs.size()));
            civ->mName = name;
            SettingsManager::instance().mCivs.push_back(std::move(civ));
        }
    }
    void TearDown() override {
        SettingsManager::instance().mCivs.swap(mSavedCivs);
        setSceneServices(nullptr);
        steamLeaderboardHelper().reset();
        AT::reset();
        AT::setFlushEnabled(false);
        SteamClient::setCallsFail(false);
        SteamClient::shutdown();
        BridgeTest::TearDown();
    }

    // Start-up's request through the program's seam, delivered by a pass
    // of the main loop.
    std::string startUp() {
        installBridgeSeams();
        testing::internal::CaptureStdout();
        shellSeams().requestStatsAndLeaderboards();
        runFrameTick(false);
        return testing::internal::GetCapturedStdout();
    }

    // The board's entries in rank order: (user, score).
    std::vector<std::pair<uint64_t, int32_t>> board(int32_t index) {
        std::vector<std::pair<uint64_t, int32_t>> entries;
        SteamCallResult<LeaderboardScoresDownloaded> slot;
        slot.set(mStats->downloadLeaderboardEntries(steamLeaderboardHelper().boardHandle(index),
                                                    SteamUserStats::cRequestGlobal, 1, 100),
                 [&](const LeaderboardScoresDownloaded& got, bool) {
                     SteamUserStats::LeaderboardEntry entry;
                     for (int32_t i = 0;
                          mStats->getDownloadedLeaderboardEntry(got.mEntries, i, entry); ++i)
                         entries.emplace_back(entry.mUserId, entry.mScore);
                 });
        SteamClient::runCallbacks();
        return entries;
    }

    std::vector<std::string> statementsSince(size_t before) const {
        return {statements().begin() + static_cast<ptrdiff_t>(before), statements().end()};
    }

    CountingServices mServices{mClient};
    std::vector<std::unique_ptr<ProtoCiv>> mSavedCivs;
    SteamUserStats* mStats = nullptr;
    uint64_t mSelf = 0;
};

} // namespace

TEST_F(LeaderboardsTest, ReceivedStatsLetTheTrackerFlushAndAFailureKeepsTheQueue) {
    SteamClient::setCallsFail(true);
    AT::queueValue(17, 1);
    std::string printed = startUp();
    EXPECT_NE(printed.find("Steam RequestStats - failed, Result: 2.\n"), std::string::npos);
    EXPECT_NE(printed.find("Warning: Steam Find Leaderboard Error.\n"), std::string::npos);
    EXPECT_FALSE(AT::isFlushEnabled());
    EXPECT_EQ(AT::queuedRecords().size(), 1u);

    SteamClient::setCallsFail(false);
    mStats->requestCurrentStats();
    EXPECT_EQ(AT::queuedRecords().size(), 1u) << "nothing arrives before runCallbacks";
    testing::internal::CaptureStdout();
    SteamClient::runCallbacks();
    printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Steam RequestStats - Succeeded, Result: 1.\n"), std::string::npos);
    EXPECT_TRUE(AT::isFlushEnabled());
    EXPECT_TRUE(AT::queuedRecords().empty());
    EXPECT_TRUE(isAchievementUnlocked(17));
}

TEST_F(LeaderboardsTest, TheSixthFoundBoardRefreshesOnceAndAnEarlyScoreIsDropped) {
    EXPECT_FALSE(steamLeaderboardHelper().uploadScore(2, 9)) << "not found yet";
    const std::string printed = startUp();
    EXPECT_NE(printed.find("Steam Leaderboard found: 'WINS_KX4'\n"), std::string::npos);
    EXPECT_TRUE(gAllBoardsFound);
    EXPECT_EQ(mServices.mUpdates, 1);
    EXPECT_TRUE(board(2).empty()) << "the early score was dropped";
    steamLeaderboardHelper().findLeaderboards();
    SteamClient::runCallbacks();
    EXPECT_EQ(mServices.mUpdates, 1);

    testing::internal::CaptureStdout();
    EXPECT_TRUE(steamLeaderboardHelper().uploadScore(2, 9));
    SteamClient::runCallbacks();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Uploaded Leaderboard: Score:9, PrevRank:0, NewRank:1 on 'WINS_DARKELVES'.\n");
}

TEST_F(LeaderboardsTest, WinsPerCivGoToTheirBoardsAndTheTotalToTheOverallOne) {
    startUp();
    mClient.mLoggedIn = true;
    script(Endpoint::GetMyWinStatsByCiv,
           {200, "<player><civs><civ name='humans' wins='3'/><civ name='orcs' wins='2'/>"
                 "<civ name='elves' wins='4'/><civ name='KX4A' wins='0'/></civs></player>"});
    testing::internal::CaptureStdout();
    updateCivLeaderboards(mClient);
    SteamClient::runCallbacks();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("WARNING: no leaderboard defined for elves\n"), std::string::npos);
    using Board = std::vector<std::pair<uint64_t, int32_t>>;
    EXPECT_EQ(board(0), (Board{{mSelf, 9}})) << "the civ without a board still counts";
    EXPECT_EQ(board(1), (Board{{mSelf, 3}}));
    EXPECT_EQ(board(4), (Board{{mSelf, 2}}));
    EXPECT_EQ(board(5), (Board{{mSelf, 0}}));
    EXPECT_TRUE(board(2).empty());
    EXPECT_EQ(getAchievementStatValue(17), 3);
    EXPECT_TRUE(isAchievementUnlocked(17));
    EXPECT_EQ(getAchievementStatValue(30), 9);

    // No wins at all: the overall stat is 0 and 0 is uploaded, the
    // achievements untouched.
    script(Endpoint::GetMyWinStatsByCiv, {200, "<player/>"});
    updateCivLeaderboards(mClient);
    SteamClient::runCallbacks();
    EXPECT_EQ(board(0), (Board{{mSelf, 0}}));
    EXPECT_EQ(getAchievementStatValue(30), 0);
    EXPECT_FALSE(isAchievementUnlocked(30));

    // Logged out: nothing is asked.
    mClient.mLoggedIn = false;
    const size_t requests = mServer.requests().size();
    updateCivLeaderboards(mClient);
    EXPECT_EQ(mServer.requests().size(), requests);
}

TEST_F(LeaderboardsTest, ALoginReachesTheRefreshThroughTheScenesHook) {
    startUp();
    ASSERT_EQ(mServices.mUpdates, 1);
    ASSERT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 0);
    EXPECT_EQ(mServices.mUpdates, 2);
    EXPECT_TRUE(requested(Endpoint::GetMyWinStatsByCiv));
}

TEST_F(LeaderboardsTest, SlotsAreFilledWhenBothDownloadsAreIn) {
    const struct {
        const char* name;
        std::optional<int32_t> ownScore;
        bool friendsOnly;
        std::vector<std::string> statements; // after createLeaderBoardSlots(N)
    } cases[] = {
        {"the user below the listed ones takes the last slot",
         5,
         false,
         {"createLeaderBoardSlots(3);", "fillLeaderboardSlot(0,1,\"ann\",50, 0);",
          "fillLeaderboardSlot(1,2,\"ben\",40, 0);", "fillLeaderboardSlot(2,4,\"me\",5, 1);"}},
        {"a user without an entry leaves the listed one",
         std::nullopt,
         false,
         {"createLeaderBoardSlots(3);", "fillLeaderboardSlot(0,1,\"ann\",50, 0);",
          "fillLeaderboardSlot(1,2,\"ben\",40, 0);", "fillLeaderboardSlot(2,3,\"cid\",30, 0);"}},
        {"a listed user is marked where listed",
         45,
         false,
         {"createLeaderBoardSlots(3);", "fillLeaderboardSlot(0,1,\"ann\",50, 0);",
          "fillLeaderboardSlot(1,2,\"me\",45, 1);", "fillLeaderboardSlot(2,3,\"ben\",40, 0);"}},
        {"friends only",
         5,
         true,
         {"createLeaderBoardSlots(2);", "fillLeaderboardSlot(0,1,\"ann\",50, 0);",
          "fillLeaderboardSlot(1,4,\"me\",5, 1);"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(mFolder / "tarnwick" / SteamUserStats::cLeaderboardFileName);
        SteamClient::shutdown();
        SteamClient::init();
        mStats = SteamClient::userStats();
        SteamClient::friends()->setFriends({{10, 1, "ann"}});
        SteamClient::friends()->setUserName(11, "ben");
        SteamClient::friends()->setUserName(12, "cid");
        SteamClient::friends()->setPersonaName("me");
        mStats->setLeaderboardScore("WINS_TRIBE", 10, 50);
        mStats->setLeaderboardScore("WINS_TRIBE", 11, 40);
        mStats->setLeaderboardScore("WINS_TRIBE", 12, 30);
        if (c.ownScore)
            mStats->setLeaderboardScore("WINS_TRIBE", mSelf, *c.ownScore);
        steamLeaderboardHelper().reset();
        startUp();
        const size_t before = statements().size();
        ASSERT_EQ(call("showLeaderboard", {"orcs", 3, c.friendsOnly}), std::nullopt);
        // The friends-only board of a fresh run first gets no slots.
        EXPECT_EQ(statementsSince(before),
                  std::vector<std::string>{c.friendsOnly ? "createLeaderBoardSlots(0);"
                                                         : "createLeaderBoardSlots(3);"});
        SteamClient::runCallbacks();
        std::vector<std::string> expected = c.statements;
        expected.insert(expected.begin(), statementsSince(before).front());
        EXPECT_EQ(statementsSince(before), expected);
    }
}

TEST_F(LeaderboardsTest, FailedOrForeignDownloadsChangeNoSlotsAndTheSecondFills) {
    mStats->setLeaderboardScore("WINS_OVERALL", 10, 50);
    startUp();
    const uint64_t handle = steamLeaderboardHelper().boardHandle(0);
    // The two records, taken from the stand-in.
    std::optional<LeaderboardScoresDownloaded> entries, own;
    SteamCallResult<LeaderboardScoresDownloaded> first, second;
    first.set(mStats->downloadLeaderboardEntries(handle, SteamUserStats::cRequestGlobal, 1, 5),
              [&](const LeaderboardScoresDownloaded& got, bool) { entries = got; });
    second.set(mStats->downloadLeaderboardEntriesForUsers(handle, {mSelf}),
               [&](const LeaderboardScoresDownloaded& got, bool) { own = got; });
    SteamClient::runCallbacks();
    ASSERT_TRUE(entries && own);

    SteamLeaderboardHelper& helper = steamLeaderboardHelper();
    LeaderboardScoresDownloaded foreign = *entries;
    foreign.mLeaderboard = 999;
    const size_t before = statements().size();
    testing::internal::CaptureStdout();
    helper.onSelfScoreDownloaded(*own, true);
    helper.onSelfScoreDownloaded(foreign, false);
    helper.onScoresDownloaded(*entries, true);
    helper.onScoresDownloaded(foreign, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Warning: Steam DownloadSelfScore Error.\n"
              "Warning: Steam Downloaded SelfScore for unknown leaderboard.\n"
              "Warning: Steam DownloadScores Error.\n"
              "Warning: Steam Downloaded Score for unknown leaderboard.\n");
    EXPECT_EQ(statements().size(), before);
    // The own entry arriving first waits for the entries.
    helper.onSelfScoreDownloaded(*own, false);
    EXPECT_EQ(statements().size(), before);
    helper.onScoresDownloaded(*entries, false);
    EXPECT_EQ(statementsSince(before),
              (std::vector<std::string>{"createLeaderBoardSlots(1);",
                                        "fillLeaderboardSlot(0,1,\"[unknown]\",50, 0);"}));
}

TEST_F(LeaderboardsTest, APersonaNameWithQuotesAndABackslashArrivesIntact) {
    const std::string name = "say \"hi\" \\o/ 'x'";
    SteamClient::friends()->setPersonaName(name);
    mStats->setLeaderboardScore("WINS_OVERALL", mSelf, 7);
    startUp();
    const size_t before = statements().size();
    call("showLeaderboard", {"total", 1, false});
    SteamClient::runCallbacks();
    PageScript page;
    ASSERT_TRUE(page.run("var createLeaderBoardSlots = keep, fillLeaderboardSlot = keep;"));
    for (const std::string& statement : statementsSince(before))
        ASSERT_TRUE(page.run(statement)) << statement;
    EXPECT_EQ(page.text("JSON.stringify(received)"),
              nlohmann::json::array({1, 1, 0, 1, name, 7, 1}).dump());
}

TEST_F(LeaderboardsTest, TheBridgeMapsTeamNamesExactly) {
    startUp();
    const size_t before = statements().size();
    testing::internal::CaptureStdout();
    call("showLeaderboard", {"Total", 5, false});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING: no leaderboard defined for Total.\n");
    EXPECT_EQ(statements().size(), before);
    call("showLeaderboard", {"kx4a", 5, false});
    EXPECT_EQ(statementsSince(before), std::vector<std::string>{"createLeaderBoardSlots(5);"});
    // Not signed in to the platform: nothing happens.
    SteamClient::shutdown();
    call("showLeaderboard", {"kx4a", 5, false});
    EXPECT_EQ(statements().size(), before + 1);
}
