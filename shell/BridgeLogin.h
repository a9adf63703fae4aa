#pragma once

// The bridge functions of the login page and the account forms, and the
// login completion they share. All run on the main thread inside the page's
// call; their requests block it.

#include "shell/CocosV8Handler.h"

// Binds the signed-in platform user to the account (a failure is only
// printed), then tells the page "loginSuccess();".
void completeBridgeLogin(CocosV8Handler& handler);

BridgeResult bridgeLoginButton(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeLogoutButton(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeAutoLogin(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeIsLoggedIn(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetCurrentUserNickname(CocosV8Handler& handler,
                                          const BridgeArguments& arguments);
BridgeResult bridgePrepLaunch(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeResetPassword(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCreateAccount(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSetPassword(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSetNotFirstGame(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCloseSplashScreen(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeCheckServerVersion(CocosV8Handler& handler, const BridgeArguments& arguments);
