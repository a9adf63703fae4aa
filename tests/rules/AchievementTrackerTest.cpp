#include "rules/AchievementTracker.h"
#include "rules/AchievementStats.h"
#include "rules/AchievementTable.h"

#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamUserStats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace AT = AchievementTracker;

namespace {

// A tracker in the state of a fresh turn (scope 0, nothing recorded, no
// flushing) and a platform stand-in whose files live in a scratch folder.
class TrackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-tracker-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(mFolder);
        SteamClient::setUserDataFolder(mFolder);
        AT::reset();
        AT::popScope(true);
        AT::pushScope();
        AT::setFlushEnabled(false);
    }
    void TearDown() override {
        AT::reset();
        AT::setFlushEnabled(false);
        SteamClient::shutdown();
        SteamClient::setUserDataFolder({});
        std::filesystem::remove_all(mFolder);
    }

    // Signs the user in and delivers the stored statistics.
    SteamUserStats* signIn() {
        SteamClient::init();
        SteamUserStats* stats = SteamClient::userStats();
        EXPECT_TRUE(stats->requestCurrentStats());
        SteamClient::runCallbacks();
        return stats;
    }

    std::string statsFileText() const {
        std::ifstream file(mFolder / "userstats.txt");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path mFolder;
};

using Records = std::vector<AT::Record>;

} // namespace

TEST(AchievementTable, RowsHoldTheirIdsAndTheStatRowsTheirGoals) {
    for (int32_t id = 0; id < cAchievementCount; ++id)
        EXPECT_EQ(kAchievementTable[static_cast<size_t>(id)].mId, id);
    EXPECT_EQ(kAchievementTable[0].mApiName, "USE_UNDO");
    EXPECT_EQ(kAchievementTable[59].mApiName, "KX4_PUZZLES");
    EXPECT_EQ(kAchievementTable[4].mGoal, 100);
    EXPECT_EQ(kAchievementTable[4].mStatName, "TURNS_SUBMITTED");
    EXPECT_EQ(kAchievementTable[53].mStatName, "WINS_KXFOUR");
    EXPECT_EQ(findAchievementRow(60), nullptr);
    EXPECT_EQ(findAchievementRow(-1), nullptr);
    int stats = 0;
    for (const AchievementRow& row : kAchievementTable)
        stats += row.mStatName.empty() ? 0 : 1;
    EXPECT_EQ(stats, 14);
}

TEST_F(TrackerTest, ScopesKeepUndoCommitAndClearWhatWasRecorded) {
    struct Case {
        const char* name;
        std::function<void()> run;
        Records pending;
        Records queued;
        int32_t scope;
    };
    const std::vector<Case> cases = {
        {"set twice in two actions keeps the first scope",
         [] {
             AT::setPendingValue(5, 1);
             AT::pushScope();
             AT::setPendingValue(5, 2);
             AT::pushScope();
             AT::popScope(false);
         },
         {{0, 5, 2}},
         {},
         1},
        {"undo drops what the undone action set",
         [] {
             AT::setPendingValue(7, 0);
             AT::pushScope();
             AT::setPendingValue(8, 3);
             AT::pushScope();
             AT::popScope(false);
         },
         {{0, 7, 0}},
         {},
         1},
        {"commit queues in the current scope and closes the turn",
         [] {
             AT::setPendingValue(3, 4);
             AT::pushScope();
             AT::setPendingValue(9, 0);
             AT::pushScope();
             AT::commitPending();
         },
         {},
         {{2, 3, 4}, {2, 9, 0}},
         -1},
        {"after a commit the next turn records in scope -1",
         [] {
             AT::commitPending();
             AT::setPendingValue(1, 0);
             AT::pushScope();
         },
         {{-1, 1, 0}},
         {},
         0},
        {"leaving without submitting clears everything",
         [] {
             AT::setPendingValue(1, 0);
             AT::incrementCounter(2, 1, 1);
             AT::popScope(true);
         },
         {},
         {},
         -1},
        {"queued values bypass the pending stage; special ids queue too",
         [] {
             AT::queueValue(AT::cResetAllStats, 0);
             AT::pushScope();
             AT::queueValue(AT::cIgnoredRecord, 0);
         },
         {},
         {{0, -2, 0}, {1, -1, 0}},
         1},
    };
    for (const Case& c : cases) {
        SetUp();
        c.run();
        EXPECT_EQ(AT::pendingRecords(), c.pending) << c.name;
        EXPECT_EQ(AT::queuedRecords(), c.queued) << c.name;
        EXPECT_EQ(AT::currentScope(), c.scope) << c.name;
        TearDown();
    }
}

TEST_F(TrackerTest, UndoRemovesNewCountersAndRollsBackIncrementsOfOlderOnes) {
    AT::incrementCounter(1, 10, 1); // first action: the counter is made in scope 0
    AT::pushScope();
    AT::incrementCounter(1, 10, 1); // second action
    AT::incrementCounter(1, 10, 1);
    AT::incrementCounter(2, 3, 4); // made in scope 1
    AT::pushScope();
    EXPECT_EQ(AT::getCounter(1, 10), 3);
    EXPECT_EQ(AT::countCounters(2, -1), 1);

    AT::popScope(false); // undo of the second action
    ASSERT_EQ(AT::counters().size(), 1u);
    EXPECT_EQ(AT::getCounter(1, 10), 1);
    EXPECT_EQ(AT::counters()[0].mIncrementScopes, std::vector<int32_t>{0});
    EXPECT_EQ(AT::countCounters(2, -1), 0);
    AT::popScope(false); // undo of the first
    EXPECT_TRUE(AT::counters().empty());
    EXPECT_EQ(AT::currentScope(), 0);
}

TEST_F(TrackerTest, ResetForgetsTheScopeDepth) {
    AT::pushScope();
    AT::pushScope();
    AT::reset();
    EXPECT_EQ(AT::currentScope(), 0);
}

TEST_F(TrackerTest, CountersMatchKeysAndSubKeysWithNegativesAsWildcards) {
    AT::incrementCounter(6, 1, 100);
    AT::incrementCounter(6, 1, 200);
    AT::incrementCounter(6, 2, 100);
    AT::incrementCounter(7, 1, 100);
    EXPECT_EQ(AT::findCounter(6, 1, 200), 1);
    EXPECT_EQ(AT::findCounter(6, -1, 100), 0);
    EXPECT_EQ(AT::findCounter(6, 2, -1), 2);
    EXPECT_EQ(AT::findCounter(6, 3, -1), -1);
    EXPECT_EQ(AT::findOrAddCounter(6, 3, 5), 4);
    EXPECT_EQ(AT::countCounters(6, -1), 4);
    EXPECT_EQ(AT::countCounters(6, 1), 2);
    EXPECT_EQ(AT::getCounter(6, 3), 0);
    EXPECT_EQ(AT::getCounter(8, 1), 0);
}

TEST_F(TrackerTest, ProgressReadsThePendingValueElseThePlatformStat) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(AT::getProgress(3), 0); // not signed in
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: Not logged into steam.\n");

    SteamUserStats* stats = signIn();
    stats->setStat("TURNS_SUBMITTED", 12);
    EXPECT_EQ(AT::getProgress(4), 12);
    AT::setPendingValue(4, 13);
    EXPECT_EQ(AT::getProgress(4), 13);

    for (const int32_t id : {60, -5, 0}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(AT::getProgress(id), 0) << id;
        EXPECT_NE(testing::internal::GetCapturedStdout().find("no associated stat"),
                  std::string::npos);
    }
    AT::setPendingValue(0, 9); // no stat, but a pending value still answers
    testing::internal::CaptureStdout();
    EXPECT_EQ(AT::getProgress(0), 9);
    testing::internal::GetCapturedStdout();

    AT::incrementProgress(4);
    EXPECT_EQ(AT::queuedRecords(), (Records{{0, 4, 14}}));
}

TEST_F(TrackerTest, AFlushWithoutThePlatformKeepsTheQueue) {
    AT::queueValue(17, 1);
    AT::queueValue(AT::cResetAllStats, 0);
    testing::internal::CaptureStdout();
    AT::flushQueue();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: Not logged into steam.\n");
    EXPECT_EQ(AT::queuedRecords().size(), 2u);
    // Signed in but the statistics not yet delivered: still kept.
    SteamClient::init();
    testing::internal::CaptureStdout();
    AT::flushQueue();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(AT::queuedRecords().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(mFolder / "userstats.txt"));
}

TEST_F(TrackerTest, AFlushDeliversTheQueueToTheStatisticsFile) {
    SteamUserStats* stats = signIn();
    stats->setStat("WINS_OVERALL", 3);
    stats->setAchievement("TAUNT");
    AT::queueValue(AT::cResetAllStats, 0);
    AT::queueValue(AT::cIgnoredRecord, 0);
    AT::queueValue(17, 1);
    AT::queueValue(3, 5);
    testing::internal::CaptureStdout();
    AT::flushQueue();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(AT::queuedRecords().empty());
    EXPECT_EQ(statsFileText(), "# user statistics of the platform stand-in\n"
                               "stat TURNS_SUBMITTED 5\n"
                               "stat WINS_COUNCIL 1\n"
                               "achievement COUNCIL_WIN\n"
                               "achievement SUBMIT_5_TURNS\n");

    // With flushing enabled, a commit delivers at once.
    AT::setFlushEnabled(true);
    AT::setPendingValue(0, 0);
    AT::commitPending();
    EXPECT_TRUE(AT::queuedRecords().empty());
    bool undone = false;
    ASSERT_TRUE(stats->getAchievement("USE_UNDO", undone));
    EXPECT_TRUE(undone);
}

TEST_F(TrackerTest, StatsUnlockAtTheGoalAndShowProgressAtOneAndEveryFifth) {
    SteamUserStats* stats = signIn();
    struct Step {
        int32_t id;
        int32_t value;
        int32_t stat;
        bool unlocked;
        size_t notices;
    };
    const Step steps[] = {
        {4, 1, 1, false, 1},    // 1 of 100
        {4, 3, 3, false, 1},    // no notice
        {4, 2, 2, false, 1},    // not above the stat: stored only
        {4, 10, 10, false, 2},  // 10 of 100
        {4, 100, 100, true, 3}, // unlocked
        {4, 105, 105, true, 3}, // already unlocked: the stat still moves
    };
    for (const Step& step : steps) {
        testing::internal::CaptureStdout();
        setAchievementStat(step.id, step.value);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(getAchievementStatValue(step.id), step.stat) << step.value;
        EXPECT_EQ(isAchievementUnlocked(step.id), step.unlocked) << step.value;
        EXPECT_EQ(stats->progressNotices().size(), step.notices) << step.value;
    }
    setAchievementStat(12, 0); // no stat: unlocks at once
    EXPECT_TRUE(isAchievementUnlocked(12));
    setAchievementStat(60, 1); // no such row: nothing
    EXPECT_EQ(stats->achievements().size(), 2u);
    // Everything was stored: a new session reads it back.
    SteamClient::shutdown();
    SteamUserStats* again = signIn();
    EXPECT_EQ(again->stats().at("TURNS_SUBMITTED"), 105);
    EXPECT_EQ(again->achievements().size(), 2u);
}
