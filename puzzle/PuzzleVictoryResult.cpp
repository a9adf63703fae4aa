#include "puzzle/PuzzleVictoryResult.h"

#include "puzzle/PuzzleCompleteLayer.h"
#include "puzzle/PuzzleMenuServices.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "puzzle/PuzzleScriptNode.h"

#include "scene/GameScene.h"

#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/settings/SettingsManager.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"

#include "platform/engine/CCDirector.h"

namespace {

// The achievement of a category; -1 for none.
int32_t achievementFor(int32_t category) {
    if (category < 0)
        return -1;
    if (category == SettingsManager::instance().mTutorialsCategoryIndex)
        return cTutorialsAchievement;
    const std::array<int32_t, 4>& civTutorials = tutorialCategoryIndices();
    for (size_t i = 0; i < civTutorials.size(); ++i)
        if (civTutorials[i] == category)
            return cFirstCivTutorialAchievement + int32_t(i);
    return -1;
}

void queueIfCompleted(int32_t category, int32_t achievement) {
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t count = settings.puzzleCount(category);
    for (int32_t index = 0; index < count; ++index)
        if (!settings.isPuzzleCompleted(category, index))
            return;
    AchievementTracker::queueValue(achievement, 0);
}

} // namespace

void awardTutorialAchievement(int32_t category) {
    const int32_t achievement = achievementFor(category);
    if (achievement >= 0)
        queueIfCompleted(category, achievement);
}

bool PuzzleVictoryResult::load(const PuzzleResultNode* node) {
    if (node == nullptr)
        return false;
    mWon = node->mType == cResultVictory;
    mCallToAction = attributeText(node->mAttributes, "callToAction") == "true";
    return true;
}

void PuzzleVictoryResult::execute() {
    Game* game = gCurrentGame;
    auto* scene = dynamic_cast<GameScene*>(gGameScene);
    if (game == nullptr || scene == nullptr)
        return;
    game->forceGameOver();
    scene->refreshTurnButtons();
    game->mFlags |= cGameEndShown;
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t category = game->mPuzzleCategory;
    const int32_t index = game->mPuzzleIndex;
    const bool tutorial = category >= 0 && category == settings.mTutorialsCategoryIndex;
    scene->showEndOfGameSummary(mWon, tutorial);

    PuzzleCompleteLayer* layer = nullptr;
    if (mWon) {
        settings.setPuzzleCompleted(category, index);
        const int32_t count = settings.puzzleCount(category);
        const bool hasNext = index < count - 1;
        const bool isLast = index == count - 1;
        if (hasNext || mCallToAction || isLast)
            layer = PuzzleCompleteLayer::create(
                localizedCString(tutorial ? "Next Tutorial" : "Next Challenge"), true, hasNext,
                mCallToAction, isLast, mCallToAction);
        puzzleMenuServices().updatePuzzleMenuEntry(category, index);
        if (category != -1)
            awardTutorialAchievement(category);
    } else {
        layer = PuzzleCompleteLayer::create(localizedCString("Retry"), false, true, mCallToAction,
                                            false, false);
    }
    if (layer != nullptr)
        scene->addChild(layer, PuzzleCompleteLayer::cZOrder);
    if (mWon)
        prefSetBool(tutorial ? "Vellix_HideNewUserFlow" : "Vellix_MainMenuHideHelpBalloons", true);
}

void PuzzleSendToResult::execute() {
    const Game* game = gCurrentGame;
    if (game == nullptr)
        return;
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t category = game->mPuzzleCategory;
    settings.setPuzzleCompleted(category, game->mPuzzleIndex);
    puzzleMenuServices().updatePuzzleMenuEntry(category, game->mPuzzleIndex);
    if (category >= 0 && category == settings.mTutorialsCategoryIndex)
        queueIfCompleted(category, cTutorialsAchievement);
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    if (director->getRunningScene() != nullptr)
        director->popScene();
    if (auto* scene = dynamic_cast<GameScene*>(gGameScene)) {
        scene->onViewWillDisappear(false);
        scene->onViewDidDisappear(false);
    }
    if (mToLogin)
        puzzleMenuServices().sendToLogin();
    else
        puzzleMenuServices().sendToMainMenu();
}
