// How a puzzle ends: "victory" and "defeat" with the completion layer's
// buttons by case, the achievements of finished tutorial categories, the
// layer's handlers, and the results that leave the board for the page.

#include "PuzzleBoardTestSupport.h"

#include "scene/widgets/Button.h"

#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

// The button's label text; "" for no button.
std::string labelOf(const Button* button) {
    return button != nullptr && button->getLabel() != nullptr ? button->getLabel()->getString()
                                                              : "";
}

class PuzzleEndingTest : public PuzzleBoardTest {
protected:
    // A category of count puzzles without scripts of their own.
    int32_t category(std::string_view name, int32_t count) {
        return addCategory(name, std::vector<std::string>(size_t(count), ""));
    }
    void end(std::string_view element, int32_t category, int32_t index) {
        play(category, index);
        auto ending = result(element);
        ASSERT_NE(ending, nullptr) << element;
        ending->execute();
    }
    static bool pref(std::string_view key) {
        bool value = false;
        return prefGetBool(key, value) && value;
    }
    // Back to a game in play with no catalogue, preferences or records.
    void nextCase() {
        if (PuzzleCompleteLayer* layer = completeLayer())
            layer->removeFromParentAndCleanup(true);
        mBoardScene->setGame(nullptr);
        mGame->mGameOver = false;
        mGame->mFlags &= uint8_t(~cGameEndShown);
        SettingsManager::instance().clearPuzzleCategories();
        builtInPreferenceStore().clear();
        AchievementTracker::reset();
        mMenus.mLog.clear();
    }
};

} // namespace

TEST_F(PuzzleEndingTest, VictoryAndDefeatOfferTheirButtonsByCase) {
    struct Case {
        const char* element;
        const char* category;
        int32_t count;
        int32_t index;
        const char* continueLabel; // "" none
        bool next;                 // continue loads the next puzzle, else the same
        const char* second;        // "" none
        bool toMainMenu;           // the second button's page
    };
    const Case cases[] = {
        {"<defeat/>", "Tutorials", 3, 1, "Retry", false, "", false},
        {R"(<defeat callToAction="true"/>)", "Tutorials", 3, 1, "Retry", false, "Back", true},
        {R"(<defeat callToAction="true"/>)", "Challenges", 3, 1, "Retry", false, "Back", false},
        {R"(<defeat callToAction="yes"/>)", "Challenges", 3, 2, "Retry", false, "", false},
        {"<victory/>", "Tutorials", 3, 1, "Next Tutorial", true, "", false},
        {"<victory/>", "Challenges", 3, 0, "Next Challenge", true, "", false},
        {R"(<victory callToAction="true"/>)", "Challenges", 3, 1, "Next Challenge", true, "Back",
         true},
        {"<victory/>", "Tutorials", 3, 2, "", false, "Continue", true},
        {"<victory/>", "Challenges", 3, 2, "", false, "Continue", false},
        {R"(<victory callToAction="true"/>)", "Challenges", 3, 2, "", false, "Continue", true},
        {"<victory/>", "Meet the Tribe", 1, 0, "", false, "Continue", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + c.category + " " + std::to_string(c.index));
        end(c.element, category(c.category, c.count), c.index);
        PuzzleCompleteLayer* layer = completeLayer();
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->getZOrder(), 10001);
        EXPECT_EQ(layer->getCancelButton(), nullptr);
        EXPECT_EQ(labelOf(layer->getOkButton()), c.continueLabel);
        if (Button* ok = layer->getOkButton()) {
            EXPECT_EQ(ok->mTapSelector, c.next ? callfunc_selector(PuzzleCompleteLayer::onNext)
                                               : callfunc_selector(PuzzleCompleteLayer::onRetry));
        }
        EXPECT_EQ(labelOf(layer->getSecondButton()), c.second);
        if (Button* second = layer->getSecondButton()) {
            EXPECT_EQ(second->mTapSelector,
                      c.toMainMenu ? callfunc_selector(PuzzleCompleteLayer::onMainMenu)
                                   : callfunc_selector(PuzzleCompleteLayer::onChallenges));
        }
        EXPECT_TRUE(mGame->mGameOver);
        EXPECT_NE(mGame->mFlags & cGameEndShown, 0);
        nextCase();
    }
}

TEST_F(PuzzleEndingTest, AWinIsStoredAndEarnsTheAchievementOfAFinishedCategory) {
    struct Case {
        const char* category;
        bool othersDone;
        int32_t achievement; // -1 none
        const char* preference;
    };
    const Case cases[] = {
        {"Tutorials", false, -1, "Vellix_HideNewUserFlow"},
        {"Tutorials", true, 54, "Vellix_HideNewUserFlow"},
        {"Meet the Council", true, 55, "Vellix_MainMenuHideHelpBalloons"},
        {"Meet the Dark Elves", true, 56, "Vellix_MainMenuHideHelpBalloons"},
        {"Meet the Dwarves", true, 57, "Vellix_MainMenuHideHelpBalloons"},
        {"Meet the Tribe", true, 58, "Vellix_MainMenuHideHelpBalloons"},
        {"Meet the Tribe", false, -1, "Vellix_MainMenuHideHelpBalloons"},
        {"Challenges", true, -1, "Vellix_MainMenuHideHelpBalloons"},
    };
    const SettingsManager& settings = SettingsManager::instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.category) + (c.othersDone ? " others done" : ""));
        const int32_t index = category(c.category, 3);
        if (c.othersDone) {
            settings.setPuzzleCompleted(index, 0);
            settings.setPuzzleCompleted(index, 2);
        }
        end("<victory/>", index, 1);
        EXPECT_TRUE(settings.isPuzzleCompleted(index, 1));
        std::vector<AchievementTracker::Record> expected;
        if (c.achievement >= 0)
            expected.push_back({AchievementTracker::currentScope(), c.achievement, 0});
        EXPECT_EQ(AchievementTracker::queuedRecords(), expected);
        EXPECT_TRUE(pref(c.preference));
        EXPECT_EQ(mMenus.mLog, std::vector<std::string>{"updatePuzzleMenuEntry " +
                                                        std::to_string(index) + " 1"});
        nextCase();
    }
}

TEST_F(PuzzleEndingTest, AWinOutsideTheCatalogueIsStoredButEarnsNothing) {
    end("<victory/>", -1, 0);
    EXPECT_TRUE(AchievementTracker::queuedRecords().empty());
    // No category: no layer, but the game ends and the entry is told.
    EXPECT_EQ(completeLayer(), nullptr);
    EXPECT_TRUE(mGame->mGameOver);
    EXPECT_EQ(mMenus.mLog, std::vector<std::string>{"updatePuzzleMenuEntry -1 0"});
    // A defeat never stores the puzzle.
    const int32_t tutorials = category("Tutorials", 2);
    mGame->mGameOver = false;
    end("<defeat/>", tutorials, 0);
    EXPECT_FALSE(SettingsManager::instance().isPuzzleCompleted(tutorials, 0));
}

TEST_F(PuzzleEndingTest, TheLayersHandlersLoadOrLeaveByTheTable) {
    struct Case {
        const char* element;
        const char* category;
        int32_t index;
        bool pressSecond;
        std::vector<std::string> log; // after the win's menu entry
    };
    const Case cases[] = {
        {"<victory/>", "Tutorials", 0, false, {"launchPuzzleScene 0 1"}},
        {"<defeat/>", "Challenges", 2, false, {"launchPuzzleScene 0 2"}},
        {R"(<victory callToAction="true"/>)",
         "Challenges",
         1,
         true,
         {"popGameScene", "sendToMainMenu"}},
        {"<victory/>", "Tutorials", 2, true, {"popGameScene", "sendToMainMenu"}},
        {"<victory/>", "Challenges", 2, true, {"popGameScene", "navigateToChallenges"}},
        {R"(<defeat callToAction="true"/>)",
         "Challenges",
         0,
         true,
         {"popGameScene", "navigateToChallenges"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + c.category + " " + std::to_string(c.index));
        end(c.element, category(c.category, 3), c.index);
        mMenus.mLog.clear();
        PuzzleCompleteLayer* layer = completeLayer();
        ASSERT_NE(layer, nullptr);
        Button* button = c.pressSecond ? layer->getSecondButton() : layer->getOkButton();
        ASSERT_NE(button, nullptr);
        run(0.5f); // the buttons come in
        tap(button->getPosition().x, button->getPosition().y);
        run(0.5f); // a dismissed layer goes
        EXPECT_EQ(mMenus.mLog, c.log);
        EXPECT_EQ(completeLayer() == nullptr, !c.pressSecond);
        nextCase();
    }
}

TEST_F(PuzzleEndingTest, NextOnTheLastPuzzleOnlyDismisses) {
    end(R"(<victory/>)", category("Tutorials", 2), 1);
    mMenus.mLog.clear();
    PuzzleCompleteLayer* layer = completeLayer();
    ASSERT_NE(layer, nullptr);
    layer->onNext();
    run(0.5f);
    EXPECT_EQ(completeLayer(), nullptr);
    EXPECT_TRUE(mMenus.mLog.empty());
}

TEST_F(PuzzleEndingTest, LeavingForThePageMarksThePuzzleCompleted) {
    const SettingsManager& settings = SettingsManager::instance();
    for (const bool toLogin : {false, true}) {
        SCOPED_TRACE(toLogin ? "login" : "main menu");
        const int32_t tutorials = category("Tutorials", 2);
        settings.setPuzzleCompleted(tutorials, 0);
        mScene->retain(); // the pop drops the director's reference
        end(toLogin ? "<sendToLogin/>" : "<sendToMainMenu/>", tutorials, 1);
        EXPECT_TRUE(settings.isPuzzleCompleted(tutorials, 1));
        EXPECT_EQ(mMenus.mLog,
                  (std::vector<std::string>{"updatePuzzleMenuEntry 0 1",
                                            toLogin ? "sendToLogin" : "sendToMainMenu"}));
        EXPECT_EQ(
            AchievementTracker::queuedRecords(),
            (std::vector<AchievementTracker::Record>{{AchievementTracker::currentScope(), 54, 0}}));
        EXPECT_FALSE(mGame->mGameOver);
        director()->tick(0); // the pop leaves no scene
        EXPECT_EQ(director()->getRunningScene(), nullptr);
        director()->runWithScene(mScene);
        director()->tick(0);
        mScene->release();
        nextCase();
    }
}
