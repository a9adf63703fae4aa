#include "shell/GamesPageHooks.h"

#include "shell/ShellState.h"

#include <string>

namespace {

GamesPageHooks recordingHooks() {
    GamesPageHooks hooks;
    hooks.rebuildGamesList = [](CocosV8Handler&) { recordShellCall("rebuildGamesList"); };
    hooks.refreshChat = [](CocosV8Handler&, int64_t gameId, bool force) {
        recordShellCall("refreshChat(" + std::to_string(gameId) + (force ? ", true)" : ", false)"));
    };
    hooks.prepChat = [](CocosV8Handler&, int64_t gameId, bool) {
        recordShellCall("prepChat(" + std::to_string(gameId) + ")");
    };
    return hooks;
}

GamesPageHooks& hookStorage() {
    static GamesPageHooks hooks = recordingHooks();
    return hooks;
}

} // namespace

GamesPageHooks& gamesPageHooks() {
    return hookStorage();
}

void resetGamesPageHooks() {
    hookStorage() = recordingHooks();
}
