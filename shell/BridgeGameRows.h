#pragma once

// The bridge functions of the games list and the game view: the opening
// requests the update carries out later, the game view's flag, the current
// game and the chat line typed in the page.

#include "shell/CocosV8Handler.h"

#include <string_view>

// The battle sound of selectGame and selectGameDeferred, which plays before
// their count test.
void playOpeningSound(std::string_view function);

BridgeResult bridgeSelectGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSelectGameDeferred(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeReloadGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeManualRequestGamesList(CocosV8Handler& handler,
                                          const BridgeArguments& arguments);
BridgeResult bridgeShowGameView(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeHideGameView(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCloseGameView(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetCurrentGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeEnableGamesList(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeChatTyped(CocosV8Handler& handler, const BridgeArguments& arguments);
