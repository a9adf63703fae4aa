#pragma once

// The bridge functions of the settings page, the layout choices, localised
// texts, news, external links and the two debugging aids. All run on the
// main thread; markNewsRead and getNumUnreadNewsItems start workers.

#include "shell/CocosV8Handler.h"

#include <functional>
#include <string>
#include <string_view>

// How an external address is opened. The default starts "xdg-open" with the
// address as its one argument (no shell); tests install a recorder.
using LinkOpener = std::function<void(const std::string& address)>;
// Installs opener; an empty one restores the default.
void setLinkOpener(LinkOpener opener);
// Whether the page may have the address opened: it begins "http://" or
// "https://" and holds no control characters.
bool isOpenableLink(std::string_view address);

// The longest getNumUnreadNewsItems waits for its worker, in milliseconds.
inline constexpr int cNewsWaitMs = 500;

BridgeResult bridgeAreSoundsEnabled(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeToggleSound(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgePlaySound(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCheckPref(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeTogglePref(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeFormatByPrefValue(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCyclePrefValue(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetLayoutMode(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeAllowLayoutSetting(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetUseSmallMOTD(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetUseSmallTeamDetails(CocosV8Handler& handler,
                                          const BridgeArguments& arguments);
BridgeResult bridgeGetUseSmallLoginForm(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetSmallGameDetailText(CocosV8Handler& handler,
                                          const BridgeArguments& arguments);
BridgeResult bridgeGetUseWideColorText(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeLocString(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeDisplayError(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetNewsURL(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetGameGuideURL(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeMarkNewsRead(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetNumUnreadNewsItems(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetTwitterText(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeOpenExternalLink(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeShowSteamOverlay(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSetKeyboardFocus(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgePrintf(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeViewSource(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeTestPopup(CocosV8Handler& handler, const BridgeArguments& arguments);
