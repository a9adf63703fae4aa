#include "shell/BridgeSettingsRows.h"

#include "shell/BridgeUpdate.h"
#include "shell/LayoutModes.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"
#include "service/ServiceWorkers.h"
#include "service/WebService.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <thread>

extern char** environ;

namespace {

LinkOpener gOpener;

void logLine(const std::string& line) {
    std::fprintf(stderr, "bridge: %s\n", line.c_str());
}

// Starts the desktop's opener on the address; the child is reaped by a
// detached thread so no zombie is left behind.
void openWithXdgOpen(const std::string& address) {
    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ);
    if (failed != 0) {
        logLine("xdg-open could not be started");
        return;
    }
    std::thread([child] {
        int status = 0;
        waitpid(child, &status, 0);
    }).detach();
}

BridgeResult optionValue(int option) {
    return nlohmann::json(BConfig::instance().isSetById(option));
}

} // namespace

void setLinkOpener(LinkOpener opener) {
    gOpener = std::move(opener);
}

bool isOpenableLink(std::string_view address) {
    if (!address.starts_with("http://") && !address.starts_with("https://"))
        return false;
    return std::none_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

BridgeResult bridgeAreSoundsEnabled(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(isSoundEnabled());
}

BridgeResult bridgeToggleSound(CocosV8Handler&, const BridgeArguments&) {
    toggleSound();
    return std::nullopt;
}

BridgeResult bridgePlaySound(CocosV8Handler&, const BridgeArguments& arguments) {
    playSoundEffectSimple(arguments.text(0));
    return std::nullopt;
}

BridgeResult bridgeCheckPref(CocosV8Handler&, const BridgeArguments& arguments) {
    bool value = false;
    if (!prefGetBool(arguments.text(0), value))
        return std::nullopt;
    return nlohmann::json(value);
}

BridgeResult bridgeTogglePref(CocosV8Handler&, const BridgeArguments& arguments) {
    togglePref(arguments.text(0));
    return std::nullopt;
}

BridgeResult bridgeFormatByPrefValue(CocosV8Handler&, const BridgeArguments& arguments) {
    int32_t value = arguments.integer(2);
    prefGetInt(arguments.text(1), value);
    std::string text;
    formatLocalized(text, arguments.text(0), value);
    return nlohmann::json(text);
}

BridgeResult bridgeCyclePrefValue(CocosV8Handler&, const BridgeArguments& arguments) {
    const std::string key = arguments.text(0);
    int32_t value = arguments.integer(3);
    prefGetInt(key, value);
    // Widened so that the largest stored value wraps instead of overflowing.
    const int64_t next = int64_t{value} + 1;
    prefSetInt(next > arguments.integer(2) ? arguments.integer(1) : static_cast<int32_t>(next),
               key);
    return std::nullopt;
}

BridgeResult bridgeGetLayoutMode(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(GameScene::layoutMode());
}

BridgeResult bridgeAllowLayoutSetting(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(chooseLayoutMode(false) == 2);
}

BridgeResult bridgeGetUseSmallMOTD(CocosV8Handler&, const BridgeArguments&) {
    return optionValue(cOptUseSmallMOTD);
}

BridgeResult bridgeGetUseSmallTeamDetails(CocosV8Handler&, const BridgeArguments&) {
    return optionValue(cOptUseSmallTeamDetails);
}

BridgeResult bridgeGetUseSmallLoginForm(CocosV8Handler&, const BridgeArguments&) {
    return optionValue(cOptUseSmallLoginForm);
}

BridgeResult bridgeGetSmallGameDetailText(CocosV8Handler&, const BridgeArguments&) {
    return optionValue(cOptUseSmallGameDetailText);
}

BridgeResult bridgeGetUseWideColorText(CocosV8Handler&, const BridgeArguments&) {
    return optionValue(cOptUseWideColorText);
}

BridgeResult bridgeLocString(CocosV8Handler&, const BridgeArguments& arguments) {
    return nlohmann::json(localizedString(arguments.text(0)));
}

BridgeResult bridgeDisplayError(CocosV8Handler&, const BridgeArguments& arguments) {
    showErrorPopup(localizedString(arguments.text(0)));
    return std::nullopt;
}

BridgeResult bridgeGetNewsURL(CocosV8Handler& handler, const BridgeArguments&) {
    return nlohmann::json(handler.service().getNewsUrl());
}

BridgeResult bridgeGetGameGuideURL(CocosV8Handler& handler, const BridgeArguments&) {
    return nlohmann::json(handler.service().getGameGuideUrl());
}

BridgeResult bridgeMarkNewsRead(CocosV8Handler& handler, const BridgeArguments&) {
    WebService* service = &handler.service();
    prefSetInt(service->mNewsKey.load(), "HighestNewsRead");
    handler.workers().start(
        [service](const std::atomic<bool>&) { resetUnreadNewsCount(*service); });
    return std::nullopt;
}

BridgeResult bridgeGetNumUnreadNewsItems(CocosV8Handler& handler, const BridgeArguments&) {
    WebService* service = &handler.service();
    // The worker outlives the wait when the request is slow; the promise it
    // keeps is shared so its signal never dangles.
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> waited = ended->get_future();
    const bool started = handler.workers().start([service, ended](const std::atomic<bool>&) {
        newsThreadProc(*service);
        ended->set_value();
    });
    if (started)
        waited.wait_for(std::chrono::milliseconds(cNewsWaitMs));
    return nlohmann::json(service->mNewsDiff.load());
}

BridgeResult bridgeGetTwitterText(CocosV8Handler& handler, const BridgeArguments&) {
    std::string text;
    formatLocalized(text, "SteamTwitterText", handler.service().mNickname);
    return nlohmann::json(text);
}

BridgeResult bridgeOpenExternalLink(CocosV8Handler&, const BridgeArguments& arguments) {
    const std::string address = arguments.text(0);
    // The page's text is opened only as a web address, never as a file or
    // a program.
    if (!isOpenableLink(address)) {
        logLine("openExternalLink refused an address that is not http or https");
        return std::nullopt;
    }
    if (gOpener)
        gOpener(address);
    else
        openWithXdgOpen(address);
    return std::nullopt;
}

BridgeResult bridgeShowSteamOverlay(CocosV8Handler&, const BridgeArguments& arguments) {
    if (SteamFriends* friends = SteamClient::friends())
        friends->activateGameOverlay(arguments.text(0));
    return std::nullopt;
}

BridgeResult bridgeSetKeyboardFocus(CocosV8Handler&, const BridgeArguments& arguments) {
    setPageFocusElement(arguments.text(0));
    return std::nullopt;
}

BridgeResult bridgePrintf(CocosV8Handler&, const BridgeArguments& arguments) {
    const std::string message = arguments.text(0);
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fflush(stderr);
    return std::nullopt;
}

BridgeResult bridgeViewSource(CocosV8Handler&, const BridgeArguments&) {
    // An off-screen page has no source window: the page hands its current
    // HTML back through printf, which writes it to the log.
    runInPage("cef.uiapp.printf(document.documentElement.outerHTML + \"\\n\");");
    return std::nullopt;
}

BridgeResult bridgeTestPopup(CocosV8Handler&, const BridgeArguments&) {
    return std::nullopt;
}
