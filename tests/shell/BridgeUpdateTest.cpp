// The bridge's per-frame update on a stepped 32-bit clock, and the page's
// workers against the loopback server.

#include "BridgeTestSupport.h"

#include "shell/BridgeUpdate.h"
#include "shell/GamesPageHooks.h"

#include "service/ListNotifications.h"
#include "service/ServiceWorkers.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

using namespace std::chrono_literals;

namespace {

class BridgeUpdateTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setShellMillisecondClock([this] { return mNow; });
        mHandler->setWorkers(mWorkers);
        mClient.setNickname("alice");
        mClient.mLoggedIn = true;
        gAppRunning = true;
    }
    void TearDown() override {
        mWorkers.quit();
        setListNotificationHook({});
        setShellMillisecondClock({});
        resetGamesPageHooks();
        BridgeTest::TearDown();
    }

    // One update after moving the clock on (wrapping).
    void pass(uint32_t advance = 0) {
        mNow += advance;
        mHandler->update();
    }
    // The statements run since the last call.
    std::vector<std::string> newStatements() {
        std::vector<std::string> out(statements().begin() + ptrdiff_t(mSeen), statements().end());
        mSeen = statements().size();
        return out;
    }
    size_t count(const std::string& call) const {
        const std::vector<std::string> calls = shellCalls();
        return size_t(std::count(calls.begin(), calls.end(), call));
    }

    // A listed game of alice against bob; alice to move when aliceToMove.
    void listGame(int64_t id, bool aliceToMove) {
        mClient.insertGame(aliceAgainstBob(id, aliceToMove));
    }

    uint32_t mNow = 1000000;
    size_t mSeen = 0;
    ServiceWorkers mWorkers;
};

const std::string cOpening = "showCurrentGameEntryByGameID('42'); ";

} // namespace

TEST_F(BridgeUpdateTest, LoggedOutNothingRunsAndAPendingOpeningRunsOnTheFirstPassAfterLogin) {
    mClient.mLoggedIn = false;
    mHandler->mCurrentGameID = 9;
    mHandler->mRebuildGamesList = true;
    call("selectGame", {"42", false});
    for (int i = 0; i < 3; ++i)
        pass(100000);
    EXPECT_TRUE(newStatements().empty());
    EXPECT_EQ(count("rebuildGamesList") + count("refreshChat(9, false)"), 0u);
    EXPECT_EQ(mHandler->mLastGamesListPollTime, 0u);
    EXPECT_EQ(mHandler->mGameToOpen, 42);

    mClient.mLoggedIn = true;
    pass(1);
    const std::vector<std::string> ran = newStatements();
    ASSERT_FALSE(ran.empty());
    EXPECT_EQ(ran.front(), cOpening);
    EXPECT_EQ(mHandler->mGameToOpen, 0);
    EXPECT_EQ(mHandler->mLastGamesListPollTime, mNow);
    EXPECT_EQ(count("rebuildGamesList"), 1u);
}

TEST_F(BridgeUpdateTest, OpeningsComeAtLeast2000msAfterThePreviousOneFinished) {
    // The opening itself takes 5 s (the clock moves while its frame is drawn).
    uint32_t openingTime = 0;
    mPage.setDrawHandler([&] { mNow += openingTime; });
    struct Case {
        uint32_t advance; // after the previous opening finished
        uint32_t openingTime;
        int64_t current; // the game on screen
        std::vector<std::string> expected;
    };
    const std::vector<std::string> marked{"showCurrentGameEntryByGameID('7');"};
    const Case cases[] = {
        {100000, 5000, 0, {cOpening}}, // opens, finishing 5 s later
        {1000, 0, 7, marked},          // 1 s after: dropped, the game on screen marked again
        {2000, 0, 0, {}},              // 2000 ms after: dropped, nothing on screen
        {2001, 0, 0, {cOpening}},      // 2001 ms after: opens
        {2000, 0, 0, {}},              // a failed opening counts too
    };
    for (const Case& c : cases) {
        mHandler->mCurrentGameID = c.current;
        call("selectGame", {"42", false});
        newStatements();
        openingTime = c.openingTime;
        const uint32_t finished = mHandler->mLastGameOpenTime;
        mNow = finished + c.advance;
        pass();
        std::vector<std::string> ran = newStatements();
        if (!ran.empty() && ran.front() == cOpening)
            ran.resize(1);
        EXPECT_EQ(ran, c.expected) << c.advance;
        EXPECT_EQ(mHandler->mGameToOpen, 0);
        if (!c.expected.empty() && c.expected.front() == cOpening) {
            EXPECT_EQ(mHandler->mLastGameOpenTime, mNow) << "taken after the opening";
        }
    }
}

TEST_F(BridgeUpdateTest, AnOpeningShowsItsLoadingFrameBeforeTheGameAndThenDropsIt) {
    struct Case {
        bool overlay;
        int64_t current;
        std::vector<std::string> calls;
        std::string second; // the statement after the entry's
    };
    const Case cases[] = {
        {true,
         0,
         {"page:showLoadingScreen", "page:drawPage", "page:drawLoadingScreen",
          "page:releaseLoadingScreen"},
         "$('#GameBoard').show(); cef.uiapp.showGameView();  "},
        {false, 7, {"page:drawPage"}, "hideBoardOverlays();"},
    };
    for (const Case& c : cases) {
        mHandler->mCurrentGameID = c.current;
        call("selectGame", {"42", c.overlay});
        newStatements();
        clearShellCalls();
        pass(100000);
        std::vector<std::string> calls;
        for (const std::string& made : shellCalls())
            if (made.rfind("page:", 0) == 0 && made != "page:runStatement")
                calls.push_back(made);
        EXPECT_EQ(calls, c.calls) << c.overlay;
        const std::vector<std::string> ran = newStatements();
        ASSERT_GE(ran.size(), 2u);
        EXPECT_EQ(ran[0], cOpening);
        EXPECT_EQ(ran[1], c.second);
    }
}

TEST_F(BridgeUpdateTest, PollIntervalsByIdleTierListAndRequestOnTheWrappingClock) {
    struct Case {
        int idleTier;
        bool enabled;
        bool requested;
        uint32_t interval;
    };
    const Case cases[] = {
        {0, true, false, 30000},   {1, true, false, 60000},   {2, true, false, 120000},
        {3, true, false, 240000},  {0, false, false, 60000},  {1, false, false, 120000},
        {2, false, false, 240000}, {3, false, false, 480000}, {3, false, true, 1000},
    };
    script(Endpoint::GetGameList, {200, "<Games/>"});
    for (const uint32_t start : {1000000u, 0xFFFFFFFFu - 500u}) {
        for (const Case& c : cases) {
            mPage.setIdleTier(c.idleTier);
            mHandler->mGamesListEnabled = c.enabled;
            if (c.requested)
                call("manualRequestGamesList");
            mNow = start;
            mHandler->mLastGamesListPollTime = start;
            pass(c.interval);
            EXPECT_EQ(mHandler->mLastGamesListPollTime, start) << c.interval;
            EXPECT_EQ(mHandler->mGamesListRequested, c.requested);
            pass(1);
            EXPECT_EQ(mHandler->mLastGamesListPollTime, uint32_t(start + c.interval + 1))
                << c.interval << " from " << start;
            EXPECT_FALSE(mHandler->mGamesListRequested);
        }
    }
}

TEST_F(BridgeUpdateTest, ChatRefreshesAtMostEvery2000msAndOnlyWithACurrentGame) {
    struct Case {
        int64_t current;
        bool force;
        uint32_t advance;
        std::string refresh; // empty: none
    };
    const Case cases[] = {
        {0, false, 100000, ""}, {5, true, 1, "refreshChat(5, true)"},
        {5, false, 2000, ""},   {5, false, 1, "refreshChat(5, false)"},
        {0, false, 5000, ""},
    };
    for (const Case& c : cases) {
        mHandler->mCurrentGameID = c.current;
        if (c.force)
            mHandler->mForceChatRefresh = true;
        clearShellCalls();
        pass(c.advance);
        std::vector<std::string> refreshes;
        for (const std::string& made : shellCalls())
            if (made.rfind("refreshChat", 0) == 0)
                refreshes.push_back(made);
        EXPECT_EQ(refreshes, c.refresh.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{c.refresh})
            << c.advance;
        EXPECT_FALSE(mHandler->mForceChatRefresh && !c.refresh.empty());
    }
}

TEST_F(BridgeUpdateTest, TheShownGameIsProtectedDuringTheFetchOnlyOnItsPlayersTurn) {
    struct Case {
        int64_t current;
        int64_t protectedDuringFetch;
    };
    const Case cases[] = {{5, 5}, {6, 0}, {8, 0}, {0, 0}};
    std::atomic<int64_t> seen{-1};
    setListNotificationHook([&](const std::string&) { seen = mClient.mProtectedGameId.load(); });
    for (const Case& c : cases) {
        mClient.clearGames(0);
        listGame(5, true);
        listGame(6, false);
        script(Endpoint::GetGameList, {200, "<Games/>"});
        mHandler->mCurrentGameID = c.current;
        seen = -1;
        gamesListThreadProc(mHandler.get(), mClient);
        EXPECT_EQ(seen, c.protectedDuringFetch) << c.current;
        EXPECT_EQ(mClient.mProtectedGameId, 0) << c.current;
    }
}

TEST_F(BridgeUpdateTest, ListFetchesNeverOverlapAndQuittingStopsAndWaitsForWorkers) {
    for (int i = 0; i < 2; ++i)
        script(Endpoint::GetGameList, {200, "<Games/>", 400ms});
    ASSERT_TRUE(startGamesListWorker(*mHandler));
    ASSERT_TRUE(startGamesListWorker(*mHandler));
    ASSERT_TRUE(mServer.waitForRequests(1, 5s));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(mServer.requests().size(), 1u) << "the second fetch waits for the first";
    ASSERT_TRUE(mServer.waitForRequests(2, 5s));

    // Quitting waits for the running worker; none starts afterwards.
    mWorkers.quit();
    EXPECT_EQ(mWorkers.runningCount(), 0u);
    EXPECT_FALSE(startGamesListWorker(*mHandler));
    // A worker that begins once the program quits returns at once.
    gAppRunning = false;
    gamesListThreadProc(mHandler.get(), mClient);
    gAppRunning = true;
    EXPECT_EQ(mServer.requests().size(), 2u);
}
