// The requests that need the game's content: settling a finished game with
// the service (and the won game's statistics from its real state) and the
// wins per civ, over the self-play content of tests/fixtures/rules/selfplay
// (civs "humans" and "orcs").

#include "../rules/ActionsTestSupport.h"
#include "LoopbackTestSupport.h"

#include "service/GameRecordReader.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/SelfPlay.h"

namespace {

const std::string cSelfPlayFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/selfplay";

class FollowUpTest : public ActionsGameTest, protected LoopbackClient {
protected:
    FollowUpTest() : ActionsGameTest(cSelfPlayFixture) {}

    void SetUp() override {
        ActionsGameTest::SetUp();
        startLoopback();
        mClient.setNickname("alice");
        AchievementTracker::reset();
    }
    void TearDown() override {
        AchievementTracker::reset();
        ActionsGameTest::TearDown();
    }

    // Lists game 9 of alice (local, first) and bob with their status and
    // substatus.
    void listGame(int32_t aliceStatus, int32_t aliceSubstatus, int32_t bobSubstatus) {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = 9;
        for (const char* name : {"alice", "bob"}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            player->mStatus = cGameInactive;
            player->mSubstatus = bobSubstatus;
            player->mIsLocal = player->mName == "alice";
            if (player->mIsLocal) {
                player->mStatus = aliceStatus;
                player->mSubstatus = aliceSubstatus;
            }
            record->mPlayers.push_back(std::move(player));
        }
        mClient.insertGame(std::move(record));
    }

    // The replies of a status update and the fetch that follows it; the
    // fetched game carries state when it is not empty.
    void scriptSettling(const std::string& update, const std::string& state) {
        script(Endpoint::UpdatePlayerStatus, {200, update});
        script(Endpoint::GetGameList, {200, "<Games hash='h'/>"});
        script(Endpoint::GetGameState,
               {200, "<Game id='9' current_turn_player='bob'><players>"
                     "<p name='alice' status='inactive' substatus='won' civ_name='humans'/>"
                     "<p name='bob' status='inactive' substatus='resigned' civ_name='orcs'/>"
                     "</players>" +
                         (state.empty() ? "" : "<state>" + encodeBase64(state) + "</state>") +
                         "</Game>"});
    }

    std::vector<std::string> paths() {
        std::vector<std::string> sent;
        for (const ReceivedRequest& request : mServer.requests())
            sent.push_back(request.path);
        return sent;
    }

    static std::vector<int32_t> queuedIds() {
        std::vector<int32_t> ids;
        for (const AchievementTracker::Record& queued : AchievementTracker::queuedRecords())
            ids.push_back(queued.mId);
        return ids;
    }

    // The last blob of a self-played game that someone won.
    static std::string wonGameBlob() {
        // Self-play sets its new game up before it installs its own games
        // list: meanwhile the game asks the client's list, under its lock.
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        for (int32_t seed = 1; seed < 50; ++seed) {
            SelfPlayOptions options;
            options.mSeed = seed;
            options.mCivs = {0, 1};
            options.mMaxTurns = 40;
            const SelfPlayResult result = SelfPlay(options).run();
            if (result.mWinner >= 0)
                return std::string(result.mFinalBlob.begin(), result.mFinalBlob.end());
        }
        return {};
    }
};

const std::vector<std::string> cSettled = {"/Game/updatePlayerStatus", "/Game/getGameList",
                                           "/Game/getGameState"};

} // namespace

TEST_F(FollowUpTest, ALossNotSeenIsSettledAsLostAndFetched) {
    listGame(cGameInactive, cSubstatusLostNotSeen, cSubstatusWon);
    scriptSettling("<Success/>", "");
    EXPECT_TRUE(mClient.followUpGameStatus(9));
    EXPECT_EQ(paths(), cSettled);
    const ReceivedRequest update = mServer.requests()[0];
    EXPECT_EQ(*update.field("status"), "inactive");
    EXPECT_EQ(*update.field("substatus"), "lost");
    EXPECT_TRUE(queuedIds().empty());
}

TEST_F(FollowUpTest, AResignationIsSettledAsWonWithTheStatisticsOfTheRealGame) {
    const std::string blob = wonGameBlob();
    ASSERT_FALSE(blob.empty());
    listGame(cGameActive, cSubstatusNone, cSubstatusResigned);
    scriptSettling("<Success/>", blob);
    EXPECT_TRUE(mClient.followUpGameStatus(9));
    EXPECT_EQ(paths(), cSettled);
    EXPECT_EQ(*mServer.requests()[0].field("substatus"), "won");
    const std::vector<int32_t> ids = queuedIds();
    ASSERT_GE(ids.size(), 4u);
    EXPECT_EQ(ids[0], cAchievementWin25);
    EXPECT_EQ(ids[1], cAchievementWin100);
    // The fetched record's civ for the local player.
    EXPECT_NE(std::find(ids.begin(), ids.end(), cAchievementCouncilWin), ids.end());
}

TEST_F(FollowUpTest, ARefusedUpdateOrAStateThatDoesNotLoadRecordsNothing) {
    const struct {
        const char* name;
        const char* update;
        std::string state;
        std::vector<std::string> paths;
    } cases[] = {
        {"refused",
         "<Error>Busy</Error>",
         wonGameBlob(),
         {"/Game/updatePlayerStatus", "/Game/getGameState"}},
        {"damaged state", "<Success/>", "not a game", cSettled},
        {"no state", "<Success/>", "", cSettled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = mServer.requests().size();
        mClient.clearGames(0);
        listGame(cGameActive, cSubstatusNone, cSubstatusResigned);
        scriptSettling(c.update, c.state);
        EXPECT_TRUE(mClient.followUpGameStatus(9));
        const std::vector<std::string> sent = paths();
        EXPECT_EQ(
            std::vector<std::string>(sent.begin() + static_cast<ptrdiff_t>(before), sent.end()),
            c.paths);
        EXPECT_TRUE(queuedIds().empty());
    }
}

TEST_F(FollowUpTest, OtherGamesAreLeftAlone) {
    EXPECT_FALSE(mClient.followUpGameStatus(9));
    listGame(cGameActive, cSubstatusNone, cSubstatusNone);
    EXPECT_FALSE(mClient.followUpGameStatus(9));
    mClient.clearGames(0);
    // A resignation seen after the local player left the game.
    listGame(cGameInactive, cSubstatusNone, cSubstatusResigned);
    EXPECT_FALSE(mClient.followUpGameStatus(9));
    EXPECT_TRUE(mServer.requests().empty());
}

TEST_F(FollowUpTest, WinsAreMatchedToCivsIgnoringCaseAndUnknownCivsSkipped) {
    std::vector<int64_t> wins = {5, 5, 5, 5};
    script(Endpoint::GetMyWinStatsByCiv,
           {200, "<player><stats><civ name='ORCS' wins='7'/><civ name='elves' wins='3'/>"
                 "<other name='humans' wins='9'/><civ name='Humans' wins='4'/></stats>"
                 "<more><civ name='orcs' wins='1'/></more></player>"});
    EXPECT_EQ(mClient.getMyWinStatsByCiv(wins), 0);
    EXPECT_EQ(wins, (std::vector<int64_t>{4, 7}));

    script(Endpoint::GetMyWinStatsByCiv, {200, "<player/>"});
    EXPECT_EQ(mClient.getMyWinStatsByCiv(wins), 0);
    EXPECT_EQ(wins, (std::vector<int64_t>{0, 0}));

    script(Endpoint::GetMyWinStatsByCiv,
           {200, "<player><stats><civ name='orcs'/></stats></player>"});
    EXPECT_EQ(mClient.getMyWinStatsByCiv(wins), 0);
    EXPECT_EQ(wins, (std::vector<int64_t>{0, 0}));

    wins = {3};
    script(Endpoint::GetMyWinStatsByCiv, {200, "<Error>NotLoggedIn</Error>"});
    EXPECT_EQ(mClient.getMyWinStatsByCiv(wins), 1);
    EXPECT_EQ(wins, (std::vector<int64_t>{0, 0}));
}
