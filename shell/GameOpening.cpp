#include "shell/GameOpening.h"

#include "shell/AppDelegate.h"
#include "shell/CocosV8Handler.h"
#include "shell/GamesPageHooks.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/ShellState.h"
#include "shell/TeamSelect.h"

#include "content/LocalizedStrings.h"
#include "content/settings/SettingsManager.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"
#include "platform/render/CCEGLView.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "scene/GameScene.h"
#include "service/WebService.h"

#include <cstdio>
#include <string>

int64_t gOpenGameID = 0;

namespace {

// The shell's reference to the game it opened last (the current game unless
// another part of the program replaced it since).
Game* gOpenedGame = nullptr;

void showTimeOut() {
    runInPage("locAlert('ProgressHUDTimeout'); navigateTo('Home');");
}

cocos2d::CCNode* shownSceneNode() {
    return gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr;
}

int32_t civIdOf(const PlayerRecord* player) {
    int32_t civId = -1;
    if (player != nullptr)
        SettingsManager::instance().civIDForName(player->mCivName, civId);
    return civId;
}

} // namespace

void gotoGame(WebService& service, CocosV8Handler* handler, int64_t gameId, bool followedUp) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    GameRecord* record = service.findGame(gameId);
    if (record == nullptr || record->mStateData == nullptr) {
        service.getGameState(gameId);
        record = service.findGame(gameId);
        if (record == nullptr) {
            showTimeOut();
            return;
        }
        if (record->mStateData == nullptr) {
            if (record->mWasMatchmade != 1) {
                showTimeOut();
                return;
            }
            startNewGameFromRecord(service, handler, gameId, false);
            record = service.findGame(gameId);
            if (record == nullptr)
                return;
        }
        if (record->mTurnCount == -1)
            return;
    }
    const std::string nickname = service.nickname();
    const int32_t local = record->findPlayerIndex(nickname);
    if (local < 0)
        return;
    if (record->getPlayer(local)->mCivName.empty()) {
        const PlayerRecord* opponent = record->getOpponent();
        if (opponent != nullptr && opponent->mSubstatus == cSubstatusResigned) {
            std::string notice;
            formatLocalized(notice, "%@ resigned!", opponent->mName);
            runInPage("locAlert('" + escapedForPage(notice) +
                      "');  hideBoardElements(); $('#GamesListScreen').show();");
        } else {
            showTeamSelectForGame(service, gameId);
        }
        return;
    }
    const uint32_t start = shellMilliseconds();
    if (!gGameInitFailed)
        openGameScene(service, handler, gameId, followedUp);
    std::printf("gotoGame in %0.3f sec\n", double(uint32_t(shellMilliseconds() - start)) / 1000.0);
}

void startNewGameFromRecord(WebService& service, CocosV8Handler* handler, int64_t gameId,
                            bool open) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    Game* game = new Game();
    // The id's low 32 bits seed the game (a negative seed asks for an
    // automatic one).
    game->init(static_cast<int32_t>(static_cast<uint32_t>(gameId)));
    GameRecord* record = service.findGame(gameId);
    const std::string nickname = service.nickname();
    const int32_t local = record != nullptr ? record->findPlayerIndex(nickname) : -1;
    const int32_t other = record != nullptr ? record->findOtherPlayerIndex(nickname) : -1;
    // Without both players there is nothing to build.
    if (local < 0 || other < 0) {
        game->release();
        return;
    }
    for (const int32_t index : {local, other})
        game->setUpFirstState(index, civIdOf(record->getPlayer(index)));
    const std::vector<uint8_t> blob = game->saveToBuffer();
    record->setState(blob.data(), static_cast<int32_t>(blob.size()));
    if (open && !gGameInitFailed)
        openGameScene(service, handler, gameId, false);
    game->release();
}

void openGameScene(WebService& service, CocosV8Handler* handler, int64_t gameId, bool followedUp) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    const GameRecord* record = service.findGame(gameId);
    if (record == nullptr || record->mStateData == nullptr)
        return;
    const int32_t local = record->findPlayerIndex(service.nickname());
    if (local < 0)
        return;
    Game* const previousCurrent = gCurrentGame;
    const int64_t previousId = gOpenGameID;
    gOpenGameID = gameId;

    Game* game = new Game();
    if (followedUp)
        game->mFlags |= cGameEndShown;
    else
        game->mFlags &= uint8_t(~cGameEndShown);
    game->mCurrentPlayer = local;
    gCurrentGame = game;
    Game::clearNewRackTiles();
    if (!game->loadFromBuffer(record->mStateData.get(), record->mStateSize, gameId, true)) {
        // The previous game stays current and on screen.
        game->release();
        gCurrentGame = previousCurrent;
        gOpenGameID = previousId;
        showTimeOut();
        return;
    }
    if (cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView())
        view->makeCurrent();
    cocos2d::CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(game);
    game->skipReplay();
    if (cocos2d::CCNode* node = shownSceneNode())
        node->unscheduleAllSelectors();

    appDelegate().mGameId = gameId;
    service.gameOnScreenChanged(gameId);
    holdOpenedGame(game);

    if (gGameScene != nullptr) {
        cocos2d::CCNode* node = shownSceneNode();
        std::printf("gamescene was not nulled out yet (retainCount=%d) - gGameScene:%p  "
                    "gGameScene->mGame:%p\n",
                    node != nullptr ? int(node->retainCount()) : 0, static_cast<void*>(gGameScene),
                    static_cast<void*>(gGameScene->getGame()));
        gGameScene = nullptr;
    }
    cocos2d::CCScene* scene = GameScene::sceneWithGame();
    if (scene != nullptr) {
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        if (director->getRunningScene() != nullptr)
            director->replaceScene(scene);
        else
            director->runWithScene(scene);
    }
    if (cocos2d::CCNode* node = shownSceneNode()) {
        node->onViewWillAppear(false);
        node->onViewDidAppear(false);
    }
    if (handler != nullptr) {
        gamesPageHooks().prepChat(*handler, gameId, false);
        handler->mCurrentGameID = gameId;
        handler->mForceChatRefresh = true;
    }
    cocos2d::CCScheduler::sharedScheduler()->setTimeScale(1.0f);
    runInPage("showCurrentGameEntryByGameID('" + std::to_string(gameId) + "'); ");
}

void holdOpenedGame(Game* game) {
    if (game == gOpenedGame)
        return;
    if (gOpenedGame != nullptr)
        gOpenedGame->release();
    gOpenedGame = game;
}

void releaseOpenedGame() {
    if (gOpenedGame == nullptr)
        return;
    if (gCurrentGame == gOpenedGame)
        gCurrentGame = nullptr;
    gOpenedGame->release();
    gOpenedGame = nullptr;
}

bool popGameScene() {
    recordShellCall("popGameScene");
    if (cocos2d::CCDirector::hasSharedDirector()) {
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        if (director->getRunningScene() != nullptr)
            director->popScene();
    }
    if (cocos2d::CCNode* node = shownSceneNode()) {
        node->onViewWillDisappear(false);
        node->onViewDidDisappear(false);
    }
    return true;
}

void showTeamSelectForGame(WebService& service, int64_t gameId) {
    showTeamSelectAgainstOpponentOf(service, gameId, gameId);
}
