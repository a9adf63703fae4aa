#include "EntityViewTestSupport.h"
#include "FakeGamesList.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/HealthBar.h"

#include "content/settings/ProtoCiv.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"

#include <string>

using namespace cocos2d;

namespace {

class GameSceneRefreshTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        SettingsManager::instance().mActionPointsPerTurn = 3;
        writeSolidPng("UI/Health-MainBar.png", 40, 6, {0, 255, 0, 255});
        mHud = enter(); // built with three gems
        testing::internal::CaptureStdout();
        mHud->setGame(mGame);
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        mHud->setGame(nullptr);
        EntityViewTest::TearDown();
    }

    // Makes mGame an online game of Ada (local, player 0) and Bram.
    GameRecord& online(int32_t turnOf) {
        mGame->mFlags &= ~cGameLocal;
        mGame->mGameID = 9;
        GameRecord& record = mGames.add(9, {"Ada", "Bram"});
        record.mCurrentTurnPlayer = turnOf == 0 ? "Ada" : "Bram";
        return record;
    }

    bool hasNotice(const std::string& text) const {
        CCMutableArray<CCNode*>* children = mHud->getChildren();
        for (size_t i = 0; children != nullptr && i < children->count(); ++i)
            if (auto* label = dynamic_cast<CCLabelTTF*>(children->getObjectAtIndex(i)))
                if (text == label->getString())
                    return true;
        return false;
    }

    FakeGamesList mGames;
    GameScene* mHud = nullptr;
};

} // namespace

TEST_F(GameSceneRefreshTest, TheTurnButtonsFollowTheTurnAndTheGamesWaiting) {
    struct Case {
        const char* name;
        bool local;
        int32_t turnOf;
        bool actions;
        bool over;
        int32_t waiting;
        bool submit, submitEnabled, next, rematch, pulse;
    };
    const Case cases[] = {
        {"local turn, actions, no points", true, 0, true, false, 0, true, true, false, false, true},
        {"opponent's turn, a game waiting", false, 1, false, false, 1, false, true, true, false,
         false},
        // Next Game shown by the case before goes with the last waiting game.
        {"opponent's turn, none waiting", false, 1, false, false, 0, true, false, false, false,
         false},
        {"game over", false, 0, false, true, 0, true, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mGames.mRecords.clear();
        mGame->mFlags |= cGameLocal;
        if (!c.local)
            online(c.turnOf);
        mGames.mWaiting = c.waiting;
        mGame->mFlags =
            c.actions ? (mGame->mFlags | cGameHasActions) : (mGame->mFlags & ~cGameHasActions);
        mGame->mGameOver = c.over;
        mGame->getPlayer(0)->mActionPoints = 0;
        mHud->mSubmitButton->setEnabled(true);
        mHud->refreshTurnButtons();
        EXPECT_EQ(mHud->mSubmitButton->getIsVisible(), c.submit);
        EXPECT_EQ(!mHud->mSubmitButton->mDisabled, c.submitEnabled);
        EXPECT_EQ(mHud->mNextGameButton->getIsVisible(), c.next);
        EXPECT_EQ(mHud->mRematchButton->getIsVisible(), c.rematch);
        run(0.5f);
        EXPECT_EQ(mHud->mSubmitOverlay->getIsVisible(), c.pulse);
        if (c.pulse) {
            EXPECT_NEAR(mHud->mSubmitOverlay->getOpacity(), 255, 10);
            run(0.5f);
            EXPECT_NEAR(mHud->mSubmitOverlay->getOpacity(), 127, 10);
        }
        if (c.rematch) {
            EXPECT_FALSE(mHud->mRematchOverlay->getIsVisible());
            run(2.6f);
            EXPECT_TRUE(mHud->mRematchOverlay->getIsVisible()) << "the overlay after 3 s";
        }
    }
}

TEST_F(GameSceneRefreshTest, ATutorialThatHidSubmitKeepsTheButtonsUntouched) {
    mGame->mFlags |= cGameHasActions;
    mHud->mSubmitButton->setIsVisible(false);
    mHud->mHighlightSubmit = false;
    mHud->refreshTurnButtons();
    EXPECT_FALSE(mHud->mSubmitButton->getIsVisible());
}

TEST_F(GameSceneRefreshTest, GemsAppearInTurnAndEveryGemAboveTheCountShrinks) {
    ASSERT_EQ(mHud->mActionPointGems.size(), 3u);
    for (CCSprite* gem : mHud->mActionPointGems)
        gem->setIsVisible(false);
    mGame->getPlayer(0)->mActionPoints = 2;
    mHud->refreshActionPoints();
    run(0.05f);
    EXPECT_TRUE(mHud->mActionPointGems[0]->getIsVisible());
    EXPECT_FALSE(mHud->mActionPointGems[1]->getIsVisible()) << "the second 0.15 s later";
    run(0.15f);
    EXPECT_TRUE(mHud->mActionPointGems[1]->getIsVisible());
    EXPECT_FALSE(mHud->mActionPointGems[2]->getIsVisible());
    run(0.5f);

    mGame->getPlayer(0)->mActionPoints = 1;
    mHud->refreshActionPoints();
    EXPECT_EQ(mHud->mActionPointGems[0]->numberOfRunningActions(), 0u);
    EXPECT_EQ(mHud->mActionPointGems[1]->numberOfRunningActions(), 1u);
    EXPECT_EQ(mHud->mActionPointGems[2]->numberOfRunningActions(), 1u) << "hidden ones too";
    run(0.5f);
    EXPECT_FALSE(mHud->mActionPointGems[1]->getIsVisible());
}

TEST_F(GameSceneRefreshTest, AReplayHidesTheRackAndChestUntilTheTurnStarts) {
    Player* current = mGame->getCurrentPlayer();
    mHud->hideTurnControls();
    EXPECT_TRUE(current->mTileRack->isViewHidden());
    EXPECT_TRUE(mGame->mTileChest->isViewHidden());
    EXPECT_FALSE(mGame->getPlayer(1)->mTileRack->isViewHidden());
    EXPECT_TRUE(mHud->mReplayBar->getIsVisible());
    EXPECT_FALSE(mHud->mSubmitButton->getIsVisible());
    mHud->onTurnStarted();
    EXPECT_FALSE(current->mTileRack->isViewHidden());
    EXPECT_FALSE(mGame->mTileChest->isViewHidden());
    EXPECT_FALSE(mHud->mReplayBar->getIsVisible());
}

TEST_F(GameSceneRefreshTest, TheBonusNoticeShowsOnlyWhenPointsExceedTheTurns) {
    const std::string notice = "Bonus Action for going second!";
    mGame->getCurrentPlayer()->mActionPoints = 3;
    mHud->onTurnStarted();
    EXPECT_FALSE(hasNotice(notice));
    mGame->getCurrentPlayer()->mActionPoints = 4;
    mHud->onTurnStarted();
    EXPECT_TRUE(hasNotice(notice));
    run(3.5f);
    EXPECT_FALSE(hasNotice(notice)) << "it leaves after its run";
}

TEST_F(GameSceneRefreshTest, NoVictoryUnitsLeaveTheBarAtZero) {
    mHud->mLocalHealthBar->setPercentage(60.0f, false, 0.0f);
    mHud->refreshPlayerHealth();
    ASSERT_NE(mHud->mLocalHealthBar->getBar(), nullptr);
    EXPECT_EQ(mHud->mLocalHealthBar->getBar()->getPercentage(), 0.0f);
}

TEST_F(GameSceneRefreshTest, MarkingTheChatReadZeroesOnlyTheLocalCount) {
    GameRecord& record = online(0);
    record.mPlayers[0]->mNewChatCount = 3;
    record.mPlayers[1]->mNewChatCount = 2;
    mHud->markChatRead();
    EXPECT_EQ(record.mPlayers[0]->mNewChatCount, 0);
    EXPECT_EQ(record.mPlayers[1]->mNewChatCount, 2);
}

TEST_F(GameSceneRefreshTest, HighlightsRevealControlsByTheirExactNames) {
    mGame->mFlags |= cGameHasActions;
    EXPECT_TRUE(mHud->unhighlightControl("SubmitButton"));
    EXPECT_FALSE(mHud->mSubmitButton->getIsVisible());
    EXPECT_FALSE(mHud->highlightControl("submitbutton"));
    EXPECT_FALSE(mHud->mSubmitButton->getIsVisible()) << "names are case-sensitive";
    EXPECT_TRUE(mHud->highlightControl("SubmitButton"));
    EXPECT_TRUE(mHud->mHighlightSubmit);
    EXPECT_TRUE(mHud->mSubmitButton->getIsVisible()) << "the refresh decides Submit";
    EXPECT_FALSE(mHud->mSubmitButton->mDisabled);

    EXPECT_TRUE(mHud->unhighlightControl("PlayerBanner"));
    EXPECT_FALSE(mHud->mLocalNameLabel->getIsVisible());
    EXPECT_FALSE(mHud->mVsBadge->getIsVisible());
    EXPECT_TRUE(mHud->highlightControl("PlayerBanner"));
    EXPECT_TRUE(mHud->mOpponentHealthLabel->getIsVisible());

    EXPECT_EQ(mHud->getControlPosition("SubmitButton"), mHud->mSubmitButton->getPosition());
    EXPECT_EQ(mHud->getControlPosition("HelpButton"), CCPoint(0, 0)) << "never built";
    EXPECT_EQ(mHud->getControlPosition("Nothing"), CCPoint(0, 0));
}

TEST_F(GameSceneRefreshTest, TheChestHighlightOpensItAndItsEndClosesIt) {
    TileChest* chest = mGame->mTileChest;
    EXPECT_FALSE(mHud->highlightControl("tilechest")) << "refused";
    EXPECT_FALSE(mHud->unhighlightControl("TileChest"));
    EXPECT_TRUE(chest->isViewHidden());
    EXPECT_TRUE(chest->isLocked());
    EXPECT_FALSE(mHud->highlightControl("TileChest"));
    EXPECT_FALSE(chest->isViewHidden());
    EXPECT_FALSE(chest->isLocked());
}

TEST_F(GameSceneRefreshTest, DraggingOverUnitsMovesTheHighlightAndReplacesTheTooltip) {
    writeSolidPng("HelpTooltip_BG.png", 100, 60, {40, 40, 40, 255});
    const float w = director()->getWinSize().width;
    EntityView* first = link(make("knight", 0, GridSlot(1, 1)), CCPoint(100, 300));
    EntityView* second = link(make("knight", 1, GridSlot(3, 1)), CCPoint(w - 20, 300));
    EntityView* low = link(make("knight", 1, GridSlot(5, 1)), CCPoint(w - 20, 10));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(low, nullptr);

    mHud->updateDrag(0, 0, first, true);
    EXPECT_TRUE(first->isAuraShown(19));
    CCNode* tooltip = mHud->mDragTooltip;
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(tooltip->getPosition(), CCPoint(115, 285));
    mHud->updateDrag(0, 0, first, true);
    EXPECT_EQ(mHud->mDragTooltip, tooltip) << "the same unit keeps its tooltip";

    mHud->updateDrag(0, 0, second, true);
    EXPECT_FALSE(first->isAuraShown(19));
    EXPECT_TRUE(second->isAuraShown(19));
    ASSERT_NE(mHud->mDragTooltip, nullptr);
    EXPECT_NE(mHud->mDragTooltip, tooltip);
    const float sw = mHud->mDragTooltip->getContentSize().width;
    EXPECT_EQ(mHud->mDragTooltip->getPosition().x, w - sw) << "no room right: against the edge";

    mHud->updateDrag(0, 0, low, true);
    ASSERT_NE(mHud->mDragTooltip, nullptr);
    const CCSize size = mHud->mDragTooltip->getContentSize();
    EXPECT_EQ(mHud->mDragTooltip->getPosition(), CCPoint(w - 20 - size.width - 15, size.height))
        << "near the bottom: opens left, its top at its height";

    mHud->updateDrag(0, 0, nullptr, true);
    EXPECT_EQ(mHud->mDragTooltip, nullptr) << "over empty board it closes";
    EXPECT_FALSE(low->isAuraShown(19));

    mGame->mFlags |= cGameReplaying;
    mHud->updateDrag(0, 0, first, true);
    EXPECT_FALSE(first->isAuraShown(19));
    EXPECT_EQ(mHud->mDragTooltip, nullptr) << "nothing during a replay";
    mGame->mFlags &= ~cGameReplaying;
}

TEST_F(GameSceneRefreshTest, OnlyAnOnlineCrossoverPlayerWithAClassAvatarGetsTheFlag) {
    auto civ = std::make_unique<ProtoCiv>(40);
    civ->mName = "kx4a";
    SettingsManager::instance().mCivs.push_back(std::move(civ));
    mGame->getPlayer(0)->mCivId = 40;
    GameRecord& record = online(0);
    record.mPlayers[0]->mAvatar = "UI/Avatars/KX4_Engineer.png";
    record.mPlayers[1]->mAvatar = "UI/Avatars/KX4_Engineer.png"; // another civ
    struct Case {
        int32_t puzzle;
        bool flag;
    };
    for (const Case& c : {Case{-1, true}, Case{0, false}}) {
        mGame->mPuzzleCategory = c.puzzle;
        mGame->mPuzzleIndex = c.puzzle;
        GameScene* scene = enter();
        testing::internal::CaptureStdout();
        scene->setGame(mGame);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(scene->mClassAvatar[0], c.flag) << c.puzzle;
        EXPECT_FALSE(scene->mClassAvatar[1]);
        EXPECT_EQ(printed.find("Avatar: UI/Avatars/KX4_Engineer.png, match found: yes\n") !=
                      std::string::npos,
                  c.flag);
        scene->setGame(nullptr);
    }
}
