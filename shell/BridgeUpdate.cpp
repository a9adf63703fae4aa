#include "shell/BridgeUpdate.h"

#include "shell/CocosV8Handler.h"
#include "shell/GameOpening.h"
#include "shell/GamesPageHooks.h"
#include "shell/Matchmaking.h"
#include "shell/PageHost.h"
#include "shell/ShellState.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "rules/GamesList.h"
#include "service/ServiceWorkers.h"
#include "service/WebService.h"

#include <mutex>

namespace {

// Draws the frame that stays on screen while the opening blocks the main
// thread: the page, the loading screen when asked for, swapped at once.
void showOpeningFrame(CocosV8Handler& handler, int64_t gameId) {
    PageHost* host = pageHost();
    if (handler.mShowLoadingOverlay && host != nullptr)
        host->showLoadingScreen();
    if (host != nullptr)
        host->drawPage();
    runInPage("showCurrentGameEntryByGameID('" + std::to_string(gameId) + "'); ");
    if (handler.mCurrentGameID == 0)
        runInPage("$('#GameBoard').show(); cef.uiapp.showGameView();  ");
    else if (cocos2d::CCDirector::hasSharedDirector())
        cocos2d::CCDirector::sharedDirector()->viewDidAppear(false);
    runInPage("hideBoardOverlays();");
    if (handler.mShowLoadingOverlay && host != nullptr)
        host->drawLoadingScreen();
    if (cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView()) {
        recordShellCall("swapBuffers");
        view->swapBuffers();
    }
}

void openPendingGame(CocosV8Handler& handler, uint32_t passTime) {
    const int64_t gameId = handler.mGameToOpen;
    // Elapsed times are differences on the wrapping 32-bit clock.
    if (uint32_t(passTime - handler.mLastGameOpenTime) <= cGameOpenInterval) {
        if (handler.mCurrentGameID != 0)
            runInPage("showCurrentGameEntryByGameID('" + std::to_string(handler.mCurrentGameID) +
                      "');");
        handler.mGameToOpen = 0;
        return;
    }
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    showOpeningFrame(handler, gameId);
    const bool followedUp = handler.service().followUpGameStatus(gameId);
    gotoGame(handler.service(), &handler, gameId, followedUp);
    // A failed opening counts too: the next one waits from here.
    handler.mLastGameOpenTime = shellMilliseconds();
    handler.mGameToOpen = 0;
    if (handler.mShowLoadingOverlay)
        if (PageHost* host = pageHost())
            host->releaseLoadingScreen();
}

} // namespace

uint32_t gamesListPollInterval(const CocosV8Handler& handler, int idleTier) {
    if (handler.mGamesListRequested)
        return cRequestedPollInterval;
    const int doublings = std::clamp(idleTier, 0, 3) + (handler.mGamesListEnabled ? 0 : 1);
    return cBasePollInterval << doublings;
}

void CocosV8Handler::update() {
    // Logged out, every request waits.
    if (!mService.isLoggedIn())
        return;
    const uint32_t passTime = shellMilliseconds();
    if (mGameToOpen != 0)
        openPendingGame(*this, passTime);

    PageHost* host = pageHost();
    const int idleTier = host != nullptr ? host->idleTier() : 0;
    if (uint32_t(passTime - mLastGamesListPollTime) > gamesListPollInterval(*this, idleTier)) {
        mLastGamesListPollTime = passTime;
        mGamesListRequested = false;
        startGamesListWorker(*this);
    }

    updateMatchmaking(*this, passTime);

    if (mCurrentGameID != 0 && uint32_t(passTime - mLastChatRefreshTime) > cChatRefreshInterval) {
        gamesPageHooks().refreshChat(*this, mCurrentGameID, mForceChatRefresh);
        mForceChatRefresh = false;
        mLastChatRefreshTime = passTime;
    }

    if (mRebuildGamesList.exchange(false))
        gamesPageHooks().rebuildGamesList(*this);
}

boost::recursive_mutex& gamesListFetchLock() {
    static boost::recursive_mutex lock;
    return lock;
}

void gamesListThreadProc(CocosV8Handler* handler, WebService& service) {
    if (!gAppRunning)
        return;
    boost::recursive_mutex::scoped_lock fetch(gamesListFetchLock());
    const int64_t shown = handler != nullptr ? handler->mCurrentGameID.load() : 0;
    if (shown != 0) {
        // The record is looked up and read under one hold of the game lock:
        // a refresh on the main thread may replace it otherwise.
        const std::string nickname = service.nickname();
        const bool myTurn = service.withGame(shown, [&](const GameRecord* record) {
            return record != nullptr && record->getLocalPlayerGameState(nickname) == cMyTurn;
        });
        if (myTurn)
            service.mProtectedGameId = shown;
    }
    service.getGameList();
    if (shown != 0)
        service.mProtectedGameId = 0;
}

void sendChatThreadProc(WebService& service, int64_t gameId, const std::string& text) {
    service.addGameChat(gameId, text);
}

void newsThreadProc(WebService& service) {
    service.getNews();
}

bool startGamesListWorker(CocosV8Handler& handler) {
    CocosV8Handler* target = &handler;
    return handler.workers().start(
        [target](const std::atomic<bool>&) { gamesListThreadProc(target, target->service()); });
}

bool startSendChatWorker(CocosV8Handler& handler, int64_t gameId, std::string text) {
    WebService* service = &handler.service();
    return handler.workers().start(
        [service, gameId, text = std::move(text)](const std::atomic<bool>&) {
            sendChatThreadProc(*service, gameId, text);
        });
}

bool startNewsWorker(CocosV8Handler& handler) {
    WebService* service = &handler.service();
    return handler.workers().start(
        [service](const std::atomic<bool>&) { newsThreadProc(*service); });
}
