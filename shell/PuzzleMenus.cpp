#include "shell/PuzzleMenus.h"

#include "shell/AppDelegate.h"
#include "shell/CocosV8Handler.h"
#include "shell/GameOpening.h"
#include "shell/GamesListPage.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/ShellState.h"

#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/settings/ProtoPuzzle.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "rules/GamesList.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"
#include "platform/render/CCEGLView.h"

#include <boost/thread/recursive_mutex.hpp>

#include <cstdio>
#include <mutex>
#include <vector>

void sendToLogin() {
    runInPage("loginMagic(\"GamesList\");");
}

void sendToMainMenu() {
    runInPage("navigateTo(\"Home\"); loginMagic(\"GamesList\");");
}

void navigateToChallenges() {
    runInPage("navigateTo(\"Challenges\")");
    if (BConfig::instance().isSetById(cOptSound))
        playTitleMusic();
}

std::string puzzleMenuTitle(const ProtoPuzzle& puzzle) {
    return puzzle.mDisplayName;
}

std::string menuEntryArt(MenuEntryArt art, int32_t layoutMode) {
    if (layoutMode != 1 && layoutMode != 2)
        return {};
    const char* const stem = art == MenuEntryArt::Incomplete  ? "MenuNav-Incomplete"
                             : art == MenuEntryArt::Completed ? "MenuNav-Complete"
                                                              : "MenuNavStar-Complete";
    const std::string size = layoutMode == 1 ? "_Med" : "_Lge";
    return "\"" + std::string(stem) + "-Dn" + size + ".png\", \"" + stem + "-Up" + size +
           ".png\", ";
}

std::string puzzleEntryHandler(int32_t categoryIndex, int32_t puzzleIndex) {
    return "function() { hideBoardElements(); $('#GameBoard').show(); "
           "cef.uiapp.showGameView(); cef.uiapp.launchPuzzle(" +
           std::to_string(categoryIndex) + ", " + std::to_string(puzzleIndex) + "); } );";
}

void updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex) {
    const SettingsManager& settings = SettingsManager::instance();
    const ProtoPuzzle* puzzle = settings.getPuzzle(categoryIndex, puzzleIndex);
    if (categoryIndex < 0 || puzzleIndex < 0 || puzzle == nullptr)
        return;
    const MenuEntryArt art = categoryIndex == settings.mTutorialsCategoryIndex
                                 ? MenuEntryArt::Completed
                                 : MenuEntryArt::CompletedStar;
    runInPage("updateMenuEntryWithArt(\"NavPuzzleButton" + std::to_string(categoryIndex) + "-" +
              std::to_string(puzzleIndex) + "\", \"" + escapedForPage(puzzleMenuTitle(*puzzle)) +
              "\", " + menuEntryArt(art, GameScene::layoutMode()) +
              puzzleEntryHandler(categoryIndex, puzzleIndex));
}

void launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex) {
    SettingsManager& settings = SettingsManager::instance();
    if (categoryIndex < 0 || puzzleIndex < 0 ||
        settings.getPuzzle(categoryIndex, puzzleIndex) == nullptr)
        return;
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    if (cocosV8Handler() != nullptr)
        showCurrentPuzzleEntry(categoryIndex, puzzleIndex);
    if (cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView())
        view->makeCurrent();

    Game* game = new Game();
    game->mFlags |= cGameLocal;
    game->mPuzzleCategory = categoryIndex;
    game->mPuzzleIndex = puzzleIndex;
    if (!game->init(-1)) {
        std::printf("launchPuzzleScene: the puzzle's game cannot be set up\n");
        game->release();
        return;
    }
    int32_t humans = -1;
    settings.civIDForName("humans", humans);
    for (int32_t player = 0; player < 2; ++player)
        game->setUpFirstState(player, humans);
    // Saved and loaded back, as every game on the board is; the game takes
    // no id of the service.
    game->mGameID = 0;
    const std::vector<uint8_t> state = game->saveToBuffer();
    if (!game->loadFromBuffer(state.data(), int32_t(state.size()), -1, true))
        std::printf("launchPuzzleScene: the puzzle's state does not load back\n");
    appDelegate().mGameId = -1;
    gOpenGameID = -1;

    Game* previous = gCurrentGame;
    gCurrentGame = game;
    Game::clearNewRackTiles();
    if (previous != nullptr && previous != game)
        previous->unlink(true);
    // The shell holds the puzzle's game as it holds an opened one, and lets
    // the previous one go.
    holdOpenedGame(game);

    gGameScene = nullptr;
    if (cocos2d::CCScene* scene = GameScene::sceneWithGame()) {
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        if (director->getRunningScene() != nullptr)
            director->replaceScene(scene);
        else
            director->runWithScene(scene);
    }
    if (gGameScene != nullptr) {
        cocos2d::CCNode* node = gGameScene->getSceneNode();
        node->onViewWillAppear(false);
        node->onViewDidAppear(false);
    }
    cocos2d::CCScheduler::sharedScheduler()->setTimeScale(1.0f);
}

void DesktopPuzzleMenus::popGameScene() {
    ::popGameScene();
}

void DesktopPuzzleMenus::sendToLogin() {
    ::sendToLogin();
}

void DesktopPuzzleMenus::sendToMainMenu() {
    ::sendToMainMenu();
}

void DesktopPuzzleMenus::navigateToChallenges() {
    ::navigateToChallenges();
}

void DesktopPuzzleMenus::updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex) {
    ::updatePuzzleMenuEntry(categoryIndex, puzzleIndex);
}
