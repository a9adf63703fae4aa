#include "shell/CocosV8Handler.h"

#include "shell/BridgeAppearanceRows.h"
#include "shell/BridgeGameRows.h"
#include "shell/BridgeLogin.h"
#include "shell/BridgePuzzleRows.h"
#include "shell/BridgeSettingsRows.h"
#include "shell/ChatPage.h"
#include "shell/FriendsPage.h"
#include "shell/GameCreation.h"
#include "shell/GamesListPage.h"
#include "shell/GamesPageHooks.h"
#include "shell/Leaderboards.h"
#include "shell/Matchmaking.h"
#include "shell/ShellState.h"
#include "shell/TeamSelect.h"

#include "platform/browser/BridgeDispatcher.h"
#include "platform/browser/ClientOSRHandler.h"
#include "service/BSecureStorage.h"
#include "service/ServiceWorkers.h"
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
    {"manualRequestGamesList", "", 0, bridgeManualRequestGamesList},
    {"hideGameView", "", 0, bridgeHideGameView},
    {"closeGameView", "", 0, bridgeCloseGameView},
    {"showGameView", "", 0, bridgeShowGameView},
    {"selectGame", "gameID, showLoadingOverlay", 2, bridgeSelectGame},
    {"selectGameDeferred", "gameID, showLoadingOverlay", 2, bridgeSelectGameDeferred},
    {"reloadGame", "gameID", 1, bridgeReloadGame},
    {"createGame", "opponentName, myTeam", 2, bridgeCreateGame},
    {"viewSource", "", 0, bridgeViewSource},
    {"testPopup", "", 0, bridgeTestPopup},
    {"setNotFirstGame", "", 0, bridgeSetNotFirstGame},
    {"loginButton", "username, pwd", 2, bridgeLoginButton},
    {"logoutButton", "username, pwd", 2, bridgeLogoutButton},
    {"autoLogin", "", 0, bridgeAutoLogin},
    {"isLoggedIn", "", 0, bridgeIsLoggedIn},
    {"prepLaunch", "", 0, bridgePrepLaunch},
    {"populateTeamSelect", "opponent, gameID, matchmake, rematch", 4, bridgePopulateTeamSelect},
    {"acceptGame", "team, gameID", 2, bridgeAcceptGame},
    {"declineGame", "gameID", 1, bridgeDeclineGame},
    {"matchmake", "team", 1, bridgeMatchmake},
    {"chatTyped", "chatText", 1, bridgeChatTyped},
    {"teamRosterSelection", "teamName", 1, bridgeTeamRosterSelection},
    {"resetPassword", "email", 1, bridgeResetPassword},
    {"createAccount", "email, username, pwd", 3, bridgeCreateAccount},
    {"getLayoutMode", "", 0, bridgeGetLayoutMode},
    {"locString", "rawtext", 1, bridgeLocString},
    {"displayError", "rawtext", 1, bridgeDisplayError},
    {"initPuzzles", "", 0, bridgeInitPuzzles},
    {"getPuzzleTutorialCategory", "", 0, bridgeGetPuzzleTutorialCategory},
    {"getPuzzleChallengeCategory", "", 0, bridgeGetPuzzleChallengeCategory},
    {"requestPuzzleList", "category", 1, bridgeRequestPuzzleList},
    {"launchPuzzle", "category, puzzleIndex", 2, bridgeLaunchPuzzle},
    {"launchFirstTutorial", "", 0, bridgeLaunchFirstTutorial},
    {"populateFriends", "", 0, bridgePopulateFriends},
    {"getColorString", "homeColor, colorIndex", 2, bridgeGetColorString},
    {"getPlayerColor", "homeColor", 1, bridgeGetPlayerColor},
    {"selectPlayerColor", "homeColor, colorIndex", 2, bridgeSelectPlayerColor},
    {"getLocalAvatar", "", 0, bridgeGetLocalAvatar},
    {"getLocalAvatarColor", "", 0, bridgeGetLocalAvatarColor},
    {"addAvatarsForPack", "packID, startIndex", 2, bridgeAddAvatarsForPack},
    {"selectAvatar", "packID, packIndex", 2, bridgeSelectAvatar},
    {"showLeaderboard", "teamName, numSlots, friendsOnly", 3, bridgeShowLeaderboard},
    {"populateTeamDetails", "teamName", 1, bridgePopulateTeamDetails},
    {"getNewsURL", "", 0, bridgeGetNewsURL},
    {"getGameGuideURL", "", 0, bridgeGetGameGuideURL},
    {"areSoundsEnabled", "", 0, bridgeAreSoundsEnabled},
    {"toggleSound", "", 0, bridgeToggleSound},
    {"playSound", "soundFile", 1, bridgePlaySound},
    {"checkPref", "prefName", 1, bridgeCheckPref},
    {"togglePref", "prefName", 1, bridgeTogglePref},
    {"formatByPrefValue", "prefTextFragment, prefName, prefDefault", 3, bridgeFormatByPrefValue},
    {"cyclePrefValue", "prefName, minVal, maxVal, defaultVal", 4, bridgeCyclePrefValue},
    {"setPassword", "newPassword", 1, bridgeSetPassword},
    {"enableGamesList", "enable", 1, bridgeEnableGamesList},
    {"openExternalLink", "linkURL", 1, bridgeOpenExternalLink},
    {"getCurrentUserNickname", "", 0, bridgeGetCurrentUserNickname},
    {"showSteamOverlay", "overlayDialog", 1, bridgeShowSteamOverlay},
    {"getTwitterText", "", 0, bridgeGetTwitterText},
    {"setKeyboardFocus", "elemName", 1, bridgeSetKeyboardFocus},
    {"markNewsRead", "", 0, bridgeMarkNewsRead},
    {"getNumUnreadNewsItems", "", 0, bridgeGetNumUnreadNewsItems},
    {"getAvatarColorize", "", 0, bridgeGetAvatarColorize},
    {"closeSplashScreen", "", 0, bridgeCloseSplashScreen},
    {"printf", "message", 1, bridgePrintf},
    {"allowLayoutSetting", "", 0, bridgeAllowLayoutSetting},
    {"getUseSmallMOTD", "", 0, bridgeGetUseSmallMOTD},
    {"getUseSmallTeamDetails", "", 0, bridgeGetUseSmallTeamDetails},
    {"getUseSmallLoginForm", "", 0, bridgeGetUseSmallLoginForm},
    {"getSmallGameDetailText", "", 0, bridgeGetSmallGameDetailText},
    {"getUseWideColorText", "", 0, bridgeGetUseWideColorText},
    {"getCurrentGame", "", 0, bridgeGetCurrentGame},
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
    : mService(service), mStore(store), mWorkers(&serviceWorkers()) {}

BridgeResult CocosV8Handler::Execute(const std::string& name, const nlohmann::json& arguments) {
    const auto function = std::find_if(std::begin(cFunctions), std::end(cFunctions),
                                       [&](const BridgeFunction& row) { return name == row.name; });
    if (function == std::end(cFunctions)) {
        logBridge("no function named \"" + name + "\"");
        return std::nullopt;
    }
    const BridgeArguments read(arguments);
    playOpeningSound(name);
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
    gamesPageHooks().rebuildGamesList = rebuildGamesList;
    gamesPageHooks().refreshChat = refreshChat;
    gamesPageHooks().prepChat = prepChat;
    shellSeams().bridgeUpdate = [] {
        if (gHandler)
            gHandler->update();
    };
}

void setPageFocusElement(const std::string& elementId) {
    {
        std::lock_guard lock(gFocusMutex);
        gFocusElement = elementId;
    }
    // The bridge calls this on the main thread, where the client lives.
    if (ClientOSRHandler* client = ClientOSRHandler::instance())
        client->setFocusElement(elementId);
}

std::string pageFocusElement() {
    std::lock_guard lock(gFocusMutex);
    return gFocusElement;
}

void resetUnreadNewsCount() {
    resetUnreadNewsCount(webService());
}

void resetUnreadNewsCount(WebService& service) {
    service.mNewsDiff = 0;
}
