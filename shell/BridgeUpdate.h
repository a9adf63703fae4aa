#pragma once

// The bridge's per-frame work and the page's workers. The update
// (CocosV8Handler::update) runs on the main thread; the workers run as jobs
// of the handler's ServiceWorkers, so none starts once quitting began and
// quitting waits for the running ones.

#include <boost/thread/recursive_mutex.hpp>

#include <cstdint>
#include <string>

class CocosV8Handler;
class WebService;

// Least time between two game openings and between two chat refreshes.
inline constexpr uint32_t cGameOpenInterval = 2000;
inline constexpr uint32_t cChatRefreshInterval = 2000;
// The poll interval after the page asked for the list, and the base one
// (doubled per idle tier, once more while the list is not enabled).
inline constexpr uint32_t cRequestedPollInterval = 1000;
inline constexpr uint32_t cBasePollInterval = 30000;

// The games-list poll's interval for the handler's request and enabled
// flags and the user's idle tier (0 to 3).
uint32_t gamesListPollInterval(const CocosV8Handler& handler, int idleTier);

// Held by the games-list worker for its whole run, always before the game
// lock, so two fetches never overlap.
boost::recursive_mutex& gamesListFetchLock();

// The games-list poll: returns at once while quitting; otherwise, with the
// fetch lock held, protects the game on screen (when it is the local
// player's turn) across the list's refresh.
void gamesListThreadProc(CocosV8Handler* handler, WebService& service);
// Posts one chat line; the result is not reported.
void sendChatThreadProc(WebService& service, int64_t gameId, const std::string& text);
// Fetches the count of unread news.
void newsThreadProc(WebService& service);

// Start the workers as jobs of the handler's workers; false when quitting.
bool startGamesListWorker(CocosV8Handler& handler);
bool startSendChatWorker(CocosV8Handler& handler, int64_t gameId, std::string text);
bool startNewsWorker(CocosV8Handler& handler);
