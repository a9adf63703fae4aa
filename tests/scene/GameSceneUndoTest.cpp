#include "SceneTestSupport.h"

#include "scene/widgets/Button.h"

#include "content/Preferences.h"
#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"

#include <string>
#include <vector>

namespace {

// A game that records the undo and replay calls the scene makes.
class UndoGame : public Game {
public:
    void undo(bool wholeTurn) override { mCalls.push_back(wholeTurn ? "turn" : "one"); }
    bool isReplaying() const override { return mReplaying; }
    void skipReplay() override { mCalls.push_back("skip"); }
    bool canUndo() const override { return mCanUndo; }

    std::vector<std::string> mCalls;
    bool mReplaying = false;
    bool mCanUndo = true;
};

class GameSceneUndoTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        writeSolidPng("ActionPoints_MetalBG.png", 56, 56, {130, 135, 145, 255});
        for (const char* image : {"UI_FFButton.png", "UI_FFButton_Pressed.png"})
            writeSolidPng(image, 40, 40, {200, 200, 200, 255});
        mScene = enter();
        ASSERT_NE(mScene, nullptr);
        mGame = new UndoGame();
        mScene->setGame(mGame);
        AchievementTracker::reset();
    }
    void TearDown() override {
        AchievementTracker::reset();
        builtInPreferenceStore().clear();
        mScene->setGame(nullptr);
        mGame->release();
        SceneTest::TearDown();
    }

    GameScene* mScene = nullptr;
    UndoGame* mGame = nullptr;
};

} // namespace

TEST_F(GameSceneUndoTest, TapAndHoldUndoByThePreferenceAndTheGame) {
    struct Case {
        const char* what;
        bool partialUndo;
        int32_t puzzle; // -1: an online game
        bool replaying;
        uint8_t flags;
        bool over;
        std::vector<std::string> calls; // after a tap, then a hold
    };
    const Case cases[] = {
        {"partial undo", true, -1, false, 0, false, {"one", "turn"}},
        {"off", false, -1, false, 0, false, {"turn", "turn"}},
        {"puzzle", true, 2, false, 0, false, {"turn", "turn"}},
        {"replay", true, -1, true, 0, false, {"skip", "skip"}},
        {"finished turn", true, -1, false, cGameTurnFinished, false, {}},
        {"game over", true, -1, false, 0, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prefSetBool("Vellix_PartialUndo", c.partialUndo);
        mGame->mPuzzleCategory = c.puzzle;
        mGame->mPuzzleIndex = c.puzzle;
        mGame->mReplaying = c.replaying;
        mGame->mFlags = c.flags;
        mGame->mGameOver = c.over;
        mGame->mCalls.clear();
        mScene->onActionPointsTap();
        mScene->onActionPointsHeld();
        EXPECT_EQ(mGame->mCalls, c.calls);
    }
    mGame->mCanUndo = false;
    mGame->mGameOver = false;
    mGame->mCalls.clear();
    mScene->onActionPointsTap();
    EXPECT_TRUE(mGame->mCalls.empty());
}

TEST_F(GameSceneUndoTest, AnUndoPopsItsScopeAndMarksUseUndo) {
    prefSetBool("Vellix_PartialUndo", true);
    // Two actions, each closing its scope.
    AchievementTracker::setPendingValue(cAchievementKnockoutEnemy, 0);
    AchievementTracker::pushScope();
    AchievementTracker::setPendingValue(cAchievementKnockout3, 0);
    AchievementTracker::pushScope();
    mScene->onActionPointsTap();
    std::vector<int32_t> pending;
    for (const auto& record : AchievementTracker::pendingRecords())
        pending.push_back(record.mId);
    EXPECT_EQ(pending, (std::vector<int32_t>{cAchievementKnockoutEnemy, cAchievementUseUndo}));
    mScene->onActionPointsHeld();
    pending.clear();
    for (const auto& record : AchievementTracker::pendingRecords())
        pending.push_back(record.mId);
    EXPECT_EQ(pending, std::vector<int32_t>{cAchievementUseUndo});
}

TEST_F(GameSceneUndoTest, TheActionPointsButtonUndoesOnATapAndResetsOnAHold) {
    prefSetBool("Vellix_PartialUndo", true);
    tap(75, 26);
    EXPECT_EQ(mGame->mCalls, std::vector<std::string>{"one"});
    cocos2d::CCTouch* touch = touchAt(75, 26);
    press(touch);
    run(Button::cHoldTime + 0.1f);
    lift(touch);
    EXPECT_EQ(mGame->mCalls, (std::vector<std::string>{"one", "turn"}));
}

TEST_F(GameSceneUndoTest, TheFastForwardButtonSkipsAReplay) {
    mGame->mReplaying = true;
    mScene->mActionPointsButton->setIsVisible(false);
    mScene->mReplaySkipButton->setIsVisible(true);
    tap(76, 26);
    EXPECT_EQ(mGame->mCalls, std::vector<std::string>{"skip"});
}
