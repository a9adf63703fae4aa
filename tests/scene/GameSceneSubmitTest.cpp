#include "EntityViewTestSupport.h"

#include "scene/PlayerCardLayer.h"
#include "scene/ShellServices.h"
#include "scene/SubmitConfirmLayer.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/MessageLayer.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/ServerTurn.h"

#include "platform/render/CCLabelTTF.h"

#include <gmock/gmock.h>

#include <algorithm>

using namespace cocos2d;

namespace {

constexpr int64_t cGameId = 77;
constexpr int64_t cLastTurn = 1700000000;

int64_t gNow = 0;
int64_t testClock() {
    return gNow;
}

// One record of "alice" (local, to move) and "bob"; the requests are
// recorded and answer mResult.
class RequestList : public GamesList {
public:
    RequestList() {
        mRecord.mGameID = cGameId;
        mRecord.mLastTurnTime = cLastTurn;
        for (const char* name : {"alice", "bob"}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            player->mStatus = cGameActive;
            player->mIsLocal = mRecord.mPlayers.empty();
            mRecord.mPlayers.push_back(std::move(player));
        }
        setGamesList(this);
    }
    ~RequestList() override { setGamesList(nullptr); }
    GameRecord* findGame(int64_t gameId) override {
        if (gameId == mNext.mGameID)
            return &mNext;
        return gameId == mRecord.mGameID ? &mRecord : nullptr;
    }
    std::string getNickname() const override { return "alice"; }
    int submitTurn(int64_t gameId, const uint8_t* state, int32_t stateSize, int32_t& tauntRequest,
                   int32_t turnCount, int32_t status, int32_t substatus) override {
        mCalls.push_back({"state", gameId, std::vector<uint8_t>(state, state + stateSize),
                          tauntRequest, turnCount, status, substatus});
        return mResult;
    }
    int submitServerTurn(int64_t gameId, const ServerTurn& turn, int32_t status,
                         int32_t substatus) override {
        mCalls.push_back({"turn", gameId, {}, turn.mTaunt, turn.mTurn, status, substatus});
        mTurn.mBuildNumber = turn.mBuildNumber;
        mTurn.mPlayer = turn.mPlayer;
        mTurn.mComplete = turn.mComplete;
        mCommandCount = turn.mCommands.size();
        return mResult;
    }
    int32_t serverTimeOffset() const override { return mOffset; }
    void setStoredUsername(std::string_view value) override {
        mLog.push_back("user " + std::string(value));
    }
    void setStoredPassword(std::string_view value) override {
        mLog.push_back("password " + std::string(value));
    }
    int login() override {
        mLog.push_back("login");
        return 0;
    }
    int getGameState(int64_t gameId) override {
        mLog.push_back("state " + std::to_string(gameId));
        return 0;
    }
    int updatePlayerStatus(int64_t gameId, int32_t status, int32_t substatus) override {
        mLog.push_back("status " + std::to_string(gameId) + " " + std::to_string(status) + " " +
                       std::to_string(substatus));
        return mResult;
    }
    int32_t countGamesInState(LocalGameState state) override {
        return state == cMyTurn ? mMyTurn : state == cOpponentsTurn ? mTheirTurn : 0;
    }
    GameRecord* findNthGameInState(int32_t n, LocalGameState state) override {
        return n == 0 && state == cMyTurn && mMyTurn > 0 ? &mNext : nullptr;
    }
    bool followUpGameStatus(int64_t gameId) override {
        mLog.push_back("follow " + std::to_string(gameId));
        return true;
    }
    std::vector<std::string> mLog;
    GameRecord mNext;
    int32_t mMyTurn = 0;
    int32_t mTheirTurn = 0;

    struct Call {
        std::string form;
        int64_t gameId;
        std::vector<uint8_t> state;
        int32_t taunt;
        int32_t turnCount;
        int32_t status;
        int32_t substatus;
    };
    GameRecord mRecord;
    std::vector<Call> mCalls;
    ServerTurn mTurn;
    size_t mCommandCount = 0;
    int mResult = 0;
    int32_t mOffset = 0;
};

class GameSceneSubmitTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
        mGame->mGameID = cGameId;
        mBoardScene->setGame(mGame);
        // No winner unless a test asks for the health pool: neither side
        // has victory units.
        SettingsManager::instance().mUseVictoryHealthPool = false;
        GameScene::setClock(testClock);
        AchievementTracker::reset();
    }
    void TearDown() override {
        GameScene::setClock(nullptr);
        AchievementTracker::reset();
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        EntityViewTest::TearDown();
    }

    template <class T> std::vector<T*> childrenOf() const {
        std::vector<T*> found;
        for (CCNode* child : *mBoardScene->getChildren())
            if (auto* typed = dynamic_cast<T*>(child))
                found.push_back(typed);
        return found;
    }
    // The ids the completion queued.
    static std::vector<int32_t> queuedIds() {
        std::vector<int32_t> ids;
        for (const auto& record : AchievementTracker::queuedRecords())
            ids.push_back(record.mId);
        return ids;
    }
    static bool queued(int32_t id) {
        const std::vector<int32_t> ids = queuedIds();
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    RequestList mList;
};

} // namespace

TEST_F(GameSceneSubmitTest, UnspentActionPointsWarnInTheSubmitQuestion) {
    for (int32_t points : {0, 1}) {
        SCOPED_TRACE(points);
        mGame->mPlayers[0]->mActionPoints = points;
        mBoardScene->onSubmitButton();
        const auto layers = childrenOf<SubmitConfirmLayer>();
        ASSERT_EQ(layers.size(), 1u);
        EXPECT_EQ(layers[0]->getMessageLabel() != nullptr, points > 0);
        EXPECT_EQ(std::string(layers[0]->getOkButton()->getLabel()->getString()), "Submit Turn");
        layers[0]->removeFromParentAndCleanup(true);
    }
    // With the pool and no victory units left to the other side, the
    // current player has won: a plain question, no taunt.
    SettingsManager::instance().mUseVictoryHealthPool = true;
    ASSERT_EQ(mGame->getWinner(nullptr), 0);
    mBoardScene->onSubmitButton();
    ASSERT_EQ(childrenOf<ConfirmLayer>().size(), 1u);
    EXPECT_TRUE(childrenOf<SubmitConfirmLayer>().empty());
    EXPECT_EQ(std::string(childrenOf<ConfirmLayer>()[0]->getOkButton()->getLabel()->getString()),
              "Submit Victory!");
    childrenOf<ConfirmLayer>()[0]->removeFromParentAndCleanup(true);
    // A local game asks nothing.
    mGame->mFlags |= cGameLocal;
    mBoardScene->onSubmitButton();
    EXPECT_TRUE(childrenOf<ConfirmLayer>().empty());
}

TEST_F(GameSceneSubmitTest, TheRequestFormFollowsSubmitTurnVersion) {
    struct Case {
        int32_t version; // 0: unset
        const char* form;
    };
    for (const Case& c : {Case{0, "state"}, Case{2, "state"}, Case{3, "turn"}}) {
        SCOPED_TRACE(c.version);
        if (c.version > 0)
            BConfig::instance().setIntById(cOptSubmitTurnVersion, c.version);
        mGame->mFlags &= static_cast<uint8_t>(~cGameTurnFinished);
        mList.mCalls.clear();
        const int32_t turn = mGame->mTurnCount;
        mBoardScene->onSubmitConfirmed(nullptr);
        ASSERT_EQ(mList.mCalls.size(), 1u);
        const RequestList::Call& call = mList.mCalls[0];
        EXPECT_EQ(call.form, c.form);
        EXPECT_EQ(call.gameId, cGameId);
        EXPECT_EQ(call.turnCount, turn + 1);
        EXPECT_EQ(call.taunt, 0);
        // No winner: no change of status.
        EXPECT_EQ(call.status, -1);
        EXPECT_EQ(call.substatus, -1);
        if (call.form == std::string("state")) {
            Game* loaded = new Game();
            EXPECT_TRUE(loaded->loadFromBuffer(
                call.state.data(), static_cast<int32_t>(call.state.size()), cGameId, false));
            EXPECT_EQ(loaded->mTurnCount, mGame->mTurnCount);
            EXPECT_EQ(loaded->mPlayers.size(), 2u);
            loaded->release();
        } else {
            EXPECT_EQ(mList.mTurn.mBuildNumber, 1039u);
            EXPECT_EQ(mList.mTurn.mPlayer, 0);
            EXPECT_EQ(mList.mCommandCount, mGame->mCommands.size());
        }
    }
}

TEST_F(GameSceneSubmitTest, TheWinnersSubmitEndsTheGameAsWon) {
    SettingsManager::instance().mUseVictoryHealthPool = true;
    mBoardScene->onSubmitConfirmed(nullptr);
    ASSERT_EQ(mList.mCalls.size(), 1u);
    EXPECT_EQ(mList.mCalls[0].status, cGameInactive);
    EXPECT_EQ(mList.mCalls[0].substatus, cSubstatusWon);
}

TEST_F(GameSceneSubmitTest, AFailedSubmitWarnsKeepsTheTurnFinishedAndCanBeSentAgain) {
    mList.mResult = 2;
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    EXPECT_NE(mGame->mFlags & cGameTurnFinished, 0);
    EXPECT_TRUE(AchievementTracker::queuedRecords().empty());
    const int32_t turn = mGame->mTurnCount;
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_EQ(mList.mCalls.size(), 2u);
    EXPECT_EQ(mGame->mTurnCount, turn) << "the turn is finished once";
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 2u);
}

TEST_F(GameSceneSubmitTest, WithoutAServiceTheSubmitFails) {
    setGamesList(nullptr);
    mGame->mGameID = -1;
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    EXPECT_NE(mGame->mFlags & cGameTurnFinished, 0);
    setGamesList(&mList);
}

TEST_F(GameSceneSubmitTest, ASubmittedTurnCountsTowardTheTimeToMoveOnlyAfterTheSecondTurn) {
    struct Case {
        int64_t elapsed;
        int32_t turnCount; // before the submit
        bool threeMinutes;
        bool oneDay;
    };
    for (const Case& c :
         {Case{179, 2, true, false}, Case{180, 2, false, false}, Case{86400, 2, false, false},
          Case{86401, 2, false, true}, Case{10, 1, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.elapsed << " " << c.turnCount);
        AchievementTracker::reset();
        mGame->mFlags &= static_cast<uint8_t>(~cGameTurnFinished);
        mGame->mTurnCount = c.turnCount;
        mList.mOffset = 5;
        gNow = cLastTurn + c.elapsed - mList.mOffset;
        mBoardScene->onSubmitConfirmed(nullptr);
        EXPECT_EQ(queued(cAchievementMoveIn3Min), c.threeMinutes);
        EXPECT_EQ(queued(cAchievementMoveIn1Day), c.oneDay);
        EXPECT_TRUE(queued(cAchievementSubmit5Turns));
        EXPECT_TRUE(queued(cAchievementSubmit100Turns));
        EXPECT_FALSE(queued(cAchievementTaunt));
        // Progress 0 after the reset: pending 1.
        for (const auto& record : AchievementTracker::queuedRecords()) {
            if (record.mId == cAchievementSubmit5Turns) {
                EXPECT_EQ(record.mValue, 1);
            }
        }
    }
}

TEST_F(GameSceneSubmitTest, WithLoginOtherUserPWTheSubmitterBecomesTheOpponent) {
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_TRUE(mList.mLog.empty());
    BConfig::instance().setStringById(cOptLoginOtherUserPW, "secret");
    mGame->mFlags &= static_cast<uint8_t>(~cGameTurnFinished);
    testing::internal::CaptureStdout();
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_THAT(testing::internal::GetCapturedStdout(), testing::HasSubstr("**> gotoGame 77 0\n"));
    EXPECT_EQ(mList.mLog,
              (std::vector<std::string>{"user bob", "password secret", "login", "state 77"}));
}

TEST_F(GameSceneSubmitTest, AResignationEndsTheGameAndAFailureOnlyWarns) {
    mList.mResult = 2;
    mBoardScene->onResignConfirmed(nullptr);
    EXPECT_EQ(mList.mLog, std::vector<std::string>{"status 77 2 4"});
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    EXPECT_FALSE(mGame->mGameOver);
    mList.mResult = 0;
    mBoardScene->onResignConfirmed(nullptr);
    EXPECT_TRUE(mGame->mGameOver);
    EXPECT_NE(mGame->mFlags & cGameEndShown, 0);
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr);
    EXPECT_TRUE(mBoardScene->mEndEffectPuppet->getIsVisible());
    EXPECT_EQ(mBoardScene->mEndEffectPuppet->getPuppetIndex(),
              PuppetRegistry::loadPuppet("Effects/Defeated01"));
}

TEST_F(GameSceneSubmitTest, TheWinningSubmitBuildsTheVictoryAndShowsItOnSuccess) {
    SettingsManager::instance().mUseVictoryHealthPool = true;
    PlayerRecord& alice = *mList.mRecord.mPlayers[0];
    alice.mStatus = cGameInactive;
    alice.mSubstatus = cSubstatusWon;
    mList.mResult = 2;
    mBoardScene->onSubmitConfirmed(nullptr);
    ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr) << "built on confirmation";
    EXPECT_FALSE(mBoardScene->mEndEffectPuppet->getIsVisible()) << "shown only on success";
    EXPECT_EQ(mGame->mFlags & cGameEndShown, 0);
    mList.mResult = 0;
    mBoardScene->onSubmitConfirmed(nullptr);
    EXPECT_TRUE(mBoardScene->mEndEffectPuppet->getIsVisible());
    EXPECT_EQ(mBoardScene->mEndEffectPuppet->getPuppetIndex(),
              PuppetRegistry::loadPuppet("Effects/Victory01"));
    EXPECT_NE(mGame->mFlags & cGameEndShown, 0);
}

TEST_F(GameSceneSubmitTest, TheChestHintShowsOutsideReplays) {
    mBoardScene->onTileChestTapped();
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    mGame->mReplaying = true;
    mBoardScene->onTileChestTapped();
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
}

TEST_F(GameSceneSubmitTest, PlayerCardsAreThoseOfTheRecordsPlayers) {
    struct Case {
        int32_t current;
        int64_t gameId;
        std::vector<std::string> opened;
    };
    for (const Case& c : {Case{0, cGameId, {"alice", "bob"}}, Case{1, cGameId, {"bob", "alice"}},
                          Case{0, 5, {}}}) {
        mGame->mCurrentPlayer = c.current;
        mGame->mGameID = c.gameId;
        mBoardScene->showPlayerCard();
        mBoardScene->showOpponentPlayerCard();
        std::vector<std::string> opened;
        for (PlayerCardLayer* card : childrenOf<PlayerCardLayer>()) {
            opened.push_back(card->getPlayerName());
            mBoardScene->removeChild(card, true);
        }
        EXPECT_EQ(opened, c.opened) << c.current << " " << c.gameId;
    }
    mGame->mCurrentPlayer = 0;
    mGame->mGameID = cGameId;
}

TEST_F(GameSceneSubmitTest, DeleteSendsTheLocalPlayersOwnSubstatus) {
    struct Case {
        const char* what;
        bool firstLocal;
        bool secondLocal;
        int32_t current;
        const char* sent;
    };
    mList.mRecord.mPlayers[0]->mSubstatus = cSubstatusWon;
    mList.mRecord.mPlayers[1]->mSubstatus = cSubstatusLost;
    for (const Case& c : {Case{"ours, their turn", true, false, 1, "status 77 3 2"},
                          Case{"second seat", false, true, 0, "status 77 3 3"},
                          Case{"no local flag", false, false, 1, "status 77 3 3"},
                          Case{"no entry", false, false, 5, "status 77 3 -1"}}) {
        SCOPED_TRACE(c.what);
        mList.mRecord.mPlayers[0]->mIsLocal = c.firstLocal;
        mList.mRecord.mPlayers[1]->mIsLocal = c.secondLocal;
        mGame->mCurrentPlayer = c.current;
        mList.mLog.clear();
        mBoardScene->onDeleteConfirmed(nullptr);
        EXPECT_EQ(mList.mLog, std::vector<std::string>{c.sent});
    }
    mGame->mCurrentPlayer = 0;
    mList.mResult = 2;
    mBoardScene->onDeleteConfirmed(nullptr);
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 1u);
    // Without the record the job fails before any request.
    mGame->mGameID = 5;
    mList.mLog.clear();
    mBoardScene->onDeleteConfirmed(nullptr);
    EXPECT_TRUE(mList.mLog.empty());
    EXPECT_EQ(childrenOf<MessageLayer>().size(), 2u);
    mGame->mGameID = cGameId;
}

TEST_F(GameSceneSubmitTest, BackAsksOnlyWithActionsInOnesOwnRunningTurn) {
    struct Case {
        const char* what;
        uint8_t flags;
        const char* turnPlayer;
        bool over;
        bool asks;
    };
    for (const Case& c : {Case{"own turn with actions", cGameHasActions, "alice", false, true},
                          Case{"no actions", 0, "alice", false, false},
                          Case{"their turn", cGameHasActions, "bob", false, false},
                          Case{"game over", cGameHasActions, "alice", true, false},
                          Case{"local game", cGameHasActions | cGameLocal, "bob", false, true}}) {
        SCOPED_TRACE(c.what);
        mGame->mFlags = c.flags;
        mGame->mGameOver = c.over;
        mList.mRecord.mCurrentTurnPlayer = c.turnPlayer;
        mBoardScene->onBackButton();
        const auto asked = childrenOf<ConfirmLayer>();
        EXPECT_EQ(asked.size(), c.asks ? 1u : 0u);
        for (ConfirmLayer* layer : asked)
            layer->removeFromParentAndCleanup(true);
    }
}

TEST_F(GameSceneSubmitTest, TheNextPuzzleLaunchesAfterItsJob) {
    struct Shell : ShellServices {
        void runWithProgressHUD(const std::function<int()>& job, const std::string& text,
                                const std::function<void(int)>& completion) override {
            log.push_back("job " + text);
            ShellServices::runWithProgressHUD(job, text, completion);
        }
        void launchPuzzleScene(int32_t category, int32_t index) override {
            log.push_back("puzzle " + std::to_string(category) + " " + std::to_string(index));
        }
        std::vector<std::string> log;
    } shell;
    setShellServices(&shell);
    mBoardScene->loadNextPuzzle(1, 3);
    mBoardScene->loadNextPuzzle(-1, 3);
    setShellServices(nullptr);
    EXPECT_EQ(shell.log, (std::vector<std::string>{"job Loading Game...", "puzzle 1 3",
                                                   "job Loading Game..."}));
    EXPECT_EQ(mBoardScene->mPendingPuzzle, (std::array<int32_t, 2>{-1, -1}));
}

namespace {

// A shell that records the navigation asked of it.
struct NavigationShell : ShellServices {
    NavigationShell() { setShellServices(this); }
    ~NavigationShell() override { setShellServices(nullptr); }
    void gotoGame(int64_t gameId, bool followUp) override {
        log.push_back("goto " + std::to_string(gameId) + (followUp ? " followed" : ""));
    }
    void startNewGameFromRecord(int64_t gameId, bool) override {
        log.push_back("new " + std::to_string(gameId));
    }
    void showTeamSelectForOpponent(int64_t gameId) override {
        log.push_back("rematch " + std::to_string(gameId));
    }
    std::vector<std::string> log;
};

} // namespace

TEST_F(GameSceneSubmitTest, RematchOpensBelowFortyRunningGames) {
    NavigationShell shell;
    mList.mMyTurn = 20;
    mList.mTheirTurn = 19;
    mBoardScene->onRematchButton();
    mList.mTheirTurn = 20;
    mBoardScene->onRematchButton();
    EXPECT_EQ(shell.log, std::vector<std::string>{"rematch 77"});
}

TEST_F(GameSceneSubmitTest, NextGameOpensAtOnceWithItsStateElseAfterTheJob) {
    struct Case {
        const char* what;
        bool hasState;
        int32_t matchmade;
        std::vector<std::string> shell;
    };
    const uint8_t state[] = {1, 2};
    for (const Case& c :
         {Case{"listed state", true, 0, {"goto 90 followed"}},
          Case{"fetched", false, 0, {"goto 90 followed"}},
          Case{"matchmade without state", false, 1, {"new 90", "goto 90 followed"}}}) {
        SCOPED_TRACE(c.what);
        NavigationShell shell;
        mList.mNext.mGameID = 90;
        mList.mNext.mStateData.reset();
        if (c.hasState)
            mList.mNext.setState(state, 2);
        mList.mNext.mWasMatchmade = c.matchmade;
        mList.mMyTurn = 1;
        mList.mLog.clear();
        mBoardScene->onNextGameButton();
        EXPECT_EQ(shell.log, c.shell);
        EXPECT_EQ(mList.mLog.front(), "follow 90");
        EXPECT_EQ(mList.mLog.size(), c.hasState ? 1u : 2u) << "the fetch";
        EXPECT_EQ(mBoardScene->mNextGameId, -1);
    }
    NavigationShell shell;
    mList.mMyTurn = 0;
    mBoardScene->onNextGameButton();
    EXPECT_TRUE(shell.log.empty());
}
