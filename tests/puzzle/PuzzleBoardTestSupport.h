#pragma once

// The fixture of the puzzles on the board: the entity view tests' running
// GameScene and local game, the puzzle support installed, the art of the
// bubbles, arrows and completion layer written, a catalogue of categories
// made from inline scripts, and recording shell and menu services.

#include "../scene/EntityViewTestSupport.h"

#include "puzzle/PuzzleCompleteLayer.h"
#include "puzzle/PuzzleDialogManager.h"
#include "puzzle/PuzzleMenuServices.h"
#include "puzzle/PuzzleSceneSupport.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleScriptResult.h"

#include "scene/ShellServices.h"

#include "content/Preferences.h"
#include "content/settings/ProtoPuzzle.h"
#include "content/settings/PuzzleCategory.h"
#include "rules/AchievementTracker.h"
#include "rules/PuzzleScript.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Logs each menu and launch call as "<name>" or "<name> <category> <index>".
class RecordingPuzzleMenus : public PuzzleMenuServices, public ShellServices {
public:
    void popGameScene() override { mLog.push_back("popGameScene"); }
    void sendToLogin() override { mLog.push_back("sendToLogin"); }
    void sendToMainMenu() override { mLog.push_back("sendToMainMenu"); }
    void navigateToChallenges() override { mLog.push_back("navigateToChallenges"); }
    void updatePuzzleMenuEntry(int32_t category, int32_t index) override {
        mLog.push_back("updatePuzzleMenuEntry " + std::to_string(category) + " " +
                       std::to_string(index));
    }
    void launchPuzzleScene(int32_t category, int32_t index) override {
        mLog.push_back("launchPuzzleScene " + std::to_string(category) + " " +
                       std::to_string(index));
    }
    std::vector<std::string> mLog;
};

class PuzzleBoardTest : public EntityViewTest {
protected:
    static constexpr float cBubbleWidth = 200;
    static constexpr float cBubbleHeight = 100;

    void SetUp() override {
        EntityViewTest::SetUp();
        writeSolidPng(PuzzleDialogManager::cDarkeningImage, 16, 16, {0, 0, 0, 160});
        writeSolidPng("TutorialBubble01.png", int(cBubbleWidth), int(cBubbleHeight),
                      {255, 255, 255, 255});
        writeSolidPng("UI/Tutorial_RedX.png", 16, 16, {255, 0, 0, 255});
        writeSolidPng("TutorialArrow01.png", 40, 20, {255, 255, 0, 255});
        for (const char* button :
             {"UI/Button-290.png", "UI/Button-290-Glow.png", "UI/Button-186.png",
              "UI/Button-186-Glow.png", "UI/FullScreenFade.png"})
            writeSolidPng(button, 60, 20, {90, 90, 90, 255});
        installPuzzleScriptSupport();
        installPuzzleSceneSupport();
        setPuzzleMenuServices(&mMenus);
        setShellServices(&mMenus);
        builtInPreferenceStore().clear();
        AchievementTracker::reset();
    }
    void TearDown() override {
        mBoardScene->setGame(nullptr);
        SettingsManager::instance().clearPuzzleCategories();
        setPuzzleScriptFactory(nullptr);
        GameScene::setDialogManagerFactory(nullptr);
        setPuzzleMenuServices(nullptr);
        setShellServices(nullptr);
        builtInPreferenceStore().clear();
        AchievementTracker::reset();
        EntityViewTest::TearDown();
    }

    // Appends a category of puzzles, one for each script text (the inner
    // elements of "script"); its index. The category named "Tutorials" is
    // the tutorials category.
    int32_t addCategory(std::string_view name, const std::vector<std::string>& scripts) {
        SettingsManager& settings = SettingsManager::instance();
        auto category = std::make_unique<PuzzleCategory>();
        category->mName = name;
        for (const std::string& script : scripts) {
            auto puzzle = std::make_unique<ProtoPuzzle>(std::string(name) + "_" +
                                                        std::to_string(category->mPuzzles.size()));
            puzzle->mScript = std::make_unique<PuzzleScriptNodeList>();
            XMLHelper text;
            text.setText("<script>" + script + "</script>");
            XmlNode* root = nullptr;
            EXPECT_TRUE(text.parse(root) && loadPuzzleScriptNodes(root, *puzzle->mScript))
                << script;
            category->mPuzzles.push_back(std::move(puzzle));
        }
        settings.mPuzzleCategories.push_back(std::move(category));
        settings.mTutorialsCategoryIndex = settings.categoryIndexForName("Tutorials");
        settings.mChallengesCategoryIndex = settings.categoryIndexForName("Challenges");
        cacheTutorialCategoryIndices();
        return int32_t(settings.mPuzzleCategories.size()) - 1;
    }

    // Binds the scene to the game as that puzzle (its script starts).
    void play(int32_t category, int32_t index) {
        mGame->mPuzzleCategory = category;
        mGame->mPuzzleIndex = index;
        mBoardScene->setGame(mGame);
    }

    PuzzleDialogManager* dialogs() const { return PuzzleDialogManager::current(); }

    // A result built from one result element, as a script builds it.
    static std::unique_ptr<PuzzleScriptResult> result(std::string_view element) {
        XMLHelper text;
        text.setText(element);
        XmlNode* root = nullptr;
        PuzzleResultNode node;
        if (!text.parse(root) || !node.load(root))
            return nullptr;
        return PuzzleScriptResult::create(&node);
    }

    // The completion layer on the scene; null when none.
    PuzzleCompleteLayer* completeLayer() const {
        const auto* children = mBoardScene->getChildren();
        for (size_t i = 0; children != nullptr && i < children->count(); ++i)
            if (auto* layer = dynamic_cast<PuzzleCompleteLayer*>(children->getObjectAtIndex(i)))
                return layer;
        return nullptr;
    }

    RecordingPuzzleMenus mMenus;
};
