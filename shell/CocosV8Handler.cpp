#include "shell/CocosV8Handler.h"

#include "shell/BridgeLogin.h"
#include "shell/FriendsPage.h"
#include "shell/GamesListPage.h"
#include "shell/Leaderboards.h"
#include "shell/ShellState.h"

#include "platform/browser/BridgeDispatcher.h"
#include "service/BSecureStorage.h"
#include "service/WebService.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>

namespace {

// In the page's declaration order. Rows whose body is null belong to
// functions not built yet: they yield no value.
constexpr BridgeFunction cFunctions[] = {
    {"manualRequestGamesList", "", 0, nullptr},
    {"hideGameView", "", 0, nullptr},
    {"closeGameView", "", 0, nullptr},
    {"showGameView", "", 0, nullptr},
    {"selectGame", "gameID, showLoadingOverlay", 2, nullptr},
    {"selectGameDeferred", "gameID, showLoadingOverlay", 2, nullptr},
    {"reloadGame", "gameID", 1, nullptr},
    {"createGame", "opponentName, myTeam", 2, nullptr},
    {"viewSource", "", 0, nullptr},
    {"testPopup", "", 0, nullptr},
    {"setNotFirstGame", "", 0, bridgeSetNotFirstGame},
    {"loginButton", "username, pwd", 2, bridgeLoginButton},
    {"logoutButton", "username, pwd", 2, bridgeLogoutButton},
    {"autoLogin", "", 0, bridgeAutoLogin},
    {"isLoggedIn", "", 0, bridgeIsLoggedIn},
    {"prepLaunch", "", 0, bridgePrepLaunch},
    {"populateTeamSelect", "opponent, gameID, matchmake, rematch", 4, nullptr},
    {"acceptGame", "team, gameID", 2, nullptr},
    {"declineGame", "gameID", 1, nullptr},
    {"matchmake", "team", 1, nullptr},
    {"chatTyped", "chatText", 1, nullptr},
    {"teamRosterSelection", "teamName", 1, nullptr},
    {"resetPassword", "email", 1, bridgeResetPassword},
    {"createAccount", "email, username, pwd", 3, bridgeCreateAccount},
    {"getLayoutMode", "", 0, nullptr},
    {"locString", "rawtext", 1, nullptr},
    {"displayError", "rawtext", 1, nullptr},
    {"initPuzzles", "", 0, nullptr},
    {"getPuzzleTutorialCategory", "", 0, nullptr},
    {"getPuzzleChallengeCategory", "", 0, nullptr},
    {"requestPuzzleList", "category", 1, nullptr},
    {"launchPuzzle", "category, puzzleIndex", 2, nullptr},
    {"launchFirstTutorial", "", 0, nullptr},
    {"populateFriends", "", 0, bridgePopulateFriends},
    {"getColorString", "homeColor, colorIndex", 2, nullptr},
    {"getPlayerColor", "homeColor", 1, nullptr},
    {"selectPlayerColor", "homeColor, colorIndex", 2, nullptr},
    {"getLocalAvatar", "", 0, nullptr},
    {"getLocalAvatarColor", "", 0, nullptr},
    {"addAvatarsForPack", "packID, startIndex", 2, nullptr},
    {"selectAvatar", "packID, packIndex", 2, nullptr},
    {"showLeaderboard", "teamName, numSlots, friendsOnly", 3, bridgeShowLeaderboard},
    {"populateTeamDetails", "teamName", 1, nullptr},
    {"getNewsURL", "", 0, nullptr},
    {"getGameGuideURL", "", 0, nullptr},
    {"areSoundsEnabled", "", 0, nullptr},
    {"toggleSound", "", 0, nullptr},
    {"playSound", "soundFile", 1, nullptr},
    {"checkPref", "prefName", 1, nullptr},
    {"togglePref", "prefName", 1, nullptr},
    {"formatByPrefValue", "prefTextFragment, prefName, prefDefault", 3, nullptr},
    {"cyclePrefValue", "prefName, minVal, maxVal, defaultVal", 4, nullptr},
    {"setPassword", "newPassword", 1, bridgeSetPassword},
    {"enableGamesList", "enable", 1, nullptr},
    {"openExternalLink", "linkURL", 1, nullptr},
    {"getCurrentUserNickname", "", 0, bridgeGetCurrentUserNickname},
    {"showSteamOverlay", "overlayDialog", 1, nullptr},
    {"getTwitterText", "", 0, nullptr},
    {"setKeyboardFocus", "elemName", 1, nullptr},
    {"markNewsRead", "", 0, nullptr},
    {"getNumUnreadNewsItems", "", 0, nullptr},
    {"getAvatarColorize", "", 0, nullptr},
    {"closeSplashScreen", "", 0, bridgeCloseSplashScreen},
    {"printf", "message", 1, nullptr},
    {"allowLayoutSetting", "", 0, nullptr},
    {"getUseSmallMOTD", "", 0, nullptr},
    {"getUseSmallTeamDetails", "", 0, nullptr},
    {"getUseSmallLoginForm", "", 0, nullptr},
    {"getSmallGameDetailText", "", 0, nullptr},
    {"getUseWideColorText", "", 0, nullptr},
    {"getCurrentGame", "", 0, nullptr},
    {"steamFriendClicked", "steamID", 1, bridgeSteamFriendClicked},
    {"checkServerVersion", "", 0, bridgeCheckServerVersion},
};

std::unique_ptr<CocosV8Handler> gHandler;
std::mutex gFocusMutex;
std::string gFocusElement;

void logBridge(const std::string& line) {
    std::fprintf(stderr, "bridge: %s\n", line.c_str());
}

} // namespace

std::span<const BridgeFunction> bridgeFunctions() {
    return cFunctions;
}

CocosV8Handler::CocosV8Handler(WebService& service, BSecureStorage& store)
    : mService(service), mStore(store) {}

BridgeResult CocosV8Handler::Execute(const std::string& name, const nlohmann::json& arguments) {
    const auto function = std::find_if(std::begin(cFunctions), std::end(cFunctions),
                                       [&](const BridgeFunction& row) { return name == row.name; });
    if (function == std::end(cFunctions)) {
        logBridge("no function named \"" + name + "\"");
        return std::nullopt;
    }
    const BridgeArguments read(arguments);
    if (function->body == nullptr || read.size() < function->needed)
        return std::nullopt;
    // Nothing is thrown toward the page.
    try {
        return function->body(*this, read);
    } catch (const std::exception& error) {
        logBridge(name + " failed: " + error.what());
    } catch (...) {
        logBridge(name + " failed");
    }
    return std::nullopt;
}

CocosV8Handler* cocosV8Handler() {
    return gHandler.get();
}

void installBridgeDispatcher(CocosV8Handler& handler) {
    setBridgeDispatcher([&handler](const std::string& function, const nlohmann::json& arguments) {
        return handler.Execute(function, arguments);
    });
}

void registerClientUIPlugin() {
    recordShellCall("registerClientUIPlugin");
    if (!gHandler)
        gHandler = std::make_unique<CocosV8Handler>(webService(), secureStorage());
    installBridgeDispatcher(*gHandler);
}

void installBridgeSeams() {
    shellSeams().registerBridge = registerClientUIPlugin;
    shellSeams().requestStatsAndLeaderboards = requestStatsAndFindLeaderboards;
    installGamesListHooks();
}

void setPageFocusElement(const std::string& elementId) {
    std::lock_guard lock(gFocusMutex);
    gFocusElement = elementId;
}

std::string pageFocusElement() {
    std::lock_guard lock(gFocusMutex);
    return gFocusElement;
}

void resetUnreadNewsCount() {
    webService().mNewsDiff = 0;
}
