#pragma once

// Matchmaking: the page's request waits in the handler for the per-frame
// update, which starts the worker at most every 2000 ms (a sooner request
// is kept, not dropped); the worker asks the service under the game lock
// and leaves its result for the update to report on a later frame.

#include "shell/CocosV8Handler.h"

#include <cstdint>
#include <string>

class WebService;

// Least time between two matchmaking starts.
inline constexpr uint32_t cMatchmakeInterval = 2000;

// The worker's body: holds the game lock for its whole run, turns the team
// "random" into a drawn civ (the request fails as code 2 without one), asks
// the service and stores the code, the game id and the done flag.
void matchmakeThreadProc(CocosV8Handler* handler, WebService& service);
// Starts it as a job of the handler's workers; false when quitting.
bool startMatchmakeWorker(CocosV8Handler& handler);
// The update's two steps at the pass time: start a pending request once the
// interval has passed (the team "random" drawn here, on the main thread),
// then report a finished one under the game lock.
void updateMatchmaking(CocosV8Handler& handler, uint32_t passTime);
// Tells the page how the request ended; a matched game gets its first state
// and opens. Called with the game lock held.
void requestMatchmakingResult(CocosV8Handler& handler);
// The page's text for a matchmaking code other than 1; empty for 3.
std::string matchmakingText(int32_t code);

// The bridge's matchmake(team).
BridgeResult bridgeMatchmake(CocosV8Handler& handler, const BridgeArguments& arguments);
