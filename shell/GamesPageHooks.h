#pragma once

// The games list and chat page's operations that the bridge's update and
// the game opening call: rebuilding the page's games list, refreshing and
// preparing the chat of a game. The program installs the pages' own
// (installBridgeSeams); until then each default only notes its call in the
// shell's record, which the update's tests read.

#include <cstdint>
#include <functional>

class CocosV8Handler;

struct GamesPageHooks {
    // Rebuilds the page's games list (which may move a deferred opening
    // into the handler's mGameToOpen).
    std::function<void(CocosV8Handler& handler)> rebuildGamesList;
    // Fetches and shows the game's chat; force: even without new lines.
    std::function<void(CocosV8Handler& handler, int64_t gameId, bool force)> refreshChat;
    // Readies the chat page for the game just opened.
    std::function<void(CocosV8Handler& handler, int64_t gameId, bool flag)> prepChat;
};

GamesPageHooks& gamesPageHooks();
// Every hook back to its recording default.
void resetGamesPageHooks();
