#include "shell/BridgePuzzleRows.h"

#include "shell/GamesListPage.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/PuzzleMenus.h"

#include "content/settings/ProtoPuzzle.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "scene/GameScene.h"

#include <cstdio>
#include <string>

namespace {

bool puzzleOnBoard() {
    return gCurrentGame != nullptr && gCurrentGame->mPuzzleIndex >= 0;
}

} // namespace

void sendPuzzleMenuEntries(int32_t categoryIndex) {
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t mode = GameScene::layoutMode();
    const std::string category = std::to_string(categoryIndex);

    for (int32_t i = 0; i < settings.subcategoryCount(categoryIndex); ++i) {
        const int32_t subIndex = settings.getSubcategory(categoryIndex, i);
        std::string name;
        settings.categoryName(subIndex, name);
        const std::string title = escapedForPage(name);
        const MenuEntryArt art = settings.isCategoryCompleted(subIndex)
                                     ? MenuEntryArt::CompletedStar
                                     : MenuEntryArt::Incomplete;
        runInPage("addMenuEntryWithArt(\"NavCategoryButton" + std::to_string(i) + "\", \"" + title +
                  "\", " + menuEntryArt(art, mode) + "function() { prepareForNewPuzzles(\"" +
                  title + "\"); cef.uiapp.requestPuzzleList(" + std::to_string(subIndex) +
                  "); } );");
    }

    const bool tutorials = categoryIndex == settings.mTutorialsCategoryIndex;
    for (int32_t j = 0; j < settings.puzzleCount(categoryIndex); ++j) {
        const ProtoPuzzle* puzzle = settings.getPuzzle(categoryIndex, j);
        if (puzzle == nullptr)
            continue;
        MenuEntryArt art = MenuEntryArt::Incomplete;
        if (settings.isPuzzleCompleted(categoryIndex, j))
            art = tutorials ? MenuEntryArt::Completed : MenuEntryArt::CompletedStar;
        runInPage("addMenuEntryWithArt(\"NavPuzzleButton" + category + "-" + std::to_string(j) +
                  "\", \"" + escapedForPage(puzzleMenuTitle(*puzzle)) + "\", " +
                  menuEntryArt(art, mode) + puzzleEntryHandler(categoryIndex, j));
    }

    const PageHost* host = pageHost();
    if (gCurrentGame != nullptr && host != nullptr && host->gameViewShown())
        showCurrentPuzzleEntry(gCurrentGame->mPuzzleCategory, gCurrentGame->mPuzzleIndex);
}

BridgeResult bridgeInitPuzzles(CocosV8Handler&, const BridgeArguments&) {
    SettingsManager& settings = SettingsManager::instance();
    // A puzzle on the board runs the script its catalogue entry owns: the
    // catalogue it was started from stays while it runs.
    if (puzzleOnBoard() && !settings.mPuzzleCategories.empty()) {
        std::printf("initPuzzles: a puzzle is on the board; the catalogue stays as loaded\n");
        return std::nullopt;
    }
    settings.loadPuzzleCategories();
    return std::nullopt;
}

BridgeResult bridgeGetPuzzleTutorialCategory(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(SettingsManager::instance().mTutorialsCategoryIndex);
}

BridgeResult bridgeGetPuzzleChallengeCategory(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(SettingsManager::instance().mChallengesCategoryIndex);
}

BridgeResult bridgeRequestPuzzleList(CocosV8Handler&, const BridgeArguments& arguments) {
    sendPuzzleMenuEntries(arguments.integer(0));
    return std::nullopt;
}

BridgeResult bridgeLaunchPuzzle(CocosV8Handler&, const BridgeArguments& arguments) {
    launchPuzzleScene(arguments.integer(0), arguments.integer(1));
    return std::nullopt;
}

BridgeResult bridgeLaunchFirstTutorial(CocosV8Handler&, const BridgeArguments&) {
    launchPuzzleScene(SettingsManager::instance().mTutorialsCategoryIndex, 0);
    return std::nullopt;
}
