#include "shell/Matchmaking.h"

#include "shell/GameCreation.h"
#include "shell/GameOpening.h"
#include "shell/PageHost.h"

#include "service/ServiceWorkers.h"
#include "service/WebService.h"

namespace {

// The service's codes.
constexpr int32_t cMatched = 1;
constexpr int32_t cFailed = 2;
constexpr int32_t cNotLoggedIn = 3;

} // namespace

void matchmakeThreadProc(CocosV8Handler* handler, WebService& service) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    std::string team = handler != nullptr ? handler->mMatchmakeTeam : std::string();
    resolveRandomTeam(team);
    int64_t gameId = 0;
    // Without a civ to draw there is nothing to ask for.
    const int32_t code = team == cRandomTeamName ? cFailed : service.matchmake(team, gameId);
    if (handler == nullptr)
        return;
    handler->mMatchmakeResult = code;
    handler->mMatchmakeGameID = gameId;
    handler->mMatchmakeDone = true;
}

bool startMatchmakeWorker(CocosV8Handler& handler) {
    CocosV8Handler* target = &handler;
    return handler.workers().start(
        [target](const std::atomic<bool>&) { matchmakeThreadProc(target, target->service()); });
}

void updateMatchmaking(CocosV8Handler& handler, uint32_t passTime) {
    // Elapsed times are differences on the wrapping 32-bit clock.
    if (handler.mMatchmakeRequested &&
        uint32_t(passTime - handler.mLastMatchmakeTime) > cMatchmakeInterval) {
        {
            // The cosmetic generator is drawn on the main thread only, so
            // the worker finds a civ name.
            boost::recursive_mutex::scoped_lock lock(gameDataMutex());
            resolveRandomTeam(handler.mMatchmakeTeam);
        }
        startMatchmakeWorker(handler);
        handler.mMatchmakeRequested = false;
        handler.mLastMatchmakeTime = passTime;
    }
    if (!handler.mMatchmakeDone)
        return;
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    handler.mMatchmakeDone = false;
    requestMatchmakingResult(handler);
}

std::string matchmakingText(int32_t code) {
    switch (code) {
    case 0:
        return "locAlert('You are now waiting for an opponent.');";
    case cNotLoggedIn:
        return {};
    case 4:
        return "locAlert('You are already waiting for a random opponent.');";
    default:
        return "locAlert('Failed to queue you for matchmaking.  Please try again later.');";
    }
}

void requestMatchmakingResult(CocosV8Handler& handler) {
    const int32_t code = handler.mMatchmakeResult;
    if (code != cMatched) {
        const std::string text = matchmakingText(code);
        if (!text.empty())
            runInPage(text);
        return;
    }
    startNewGameFromRecord(handler.service(), &handler, handler.mMatchmakeGameID, true);
    runInPage("navigateTo('GamesList'); addCreateEntry(); $('#GameBoard').show(); "
              "cef.uiapp.showGameView();  ");
}

BridgeResult bridgeMatchmake(CocosV8Handler& handler, const BridgeArguments& arguments) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    handler.mMatchmakeTeam = arguments.text(0);
    handler.mMatchmakeRequested = true;
    return std::nullopt;
}
