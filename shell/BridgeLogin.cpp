#include "shell/BridgeLogin.h"

#include "shell/GameDataLoad.h"
#include "shell/PageHost.h"
#include "shell/ServerVersionCheck.h"
#include "shell/ShellState.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/steam/SteamClient.h"
#include "service/BSecureStorage.h"
#include "service/ServiceReply.h"
#include "service/WebService.h"

#include <cstdio>
#include <string>

namespace {

void loginFailed(int code) {
    runInPage("loginFailed(" + std::to_string(code) + "); ");
}

void print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

} // namespace

void completeBridgeLogin(CocosV8Handler& handler) {
    const std::string platformId = std::to_string(SteamClient::accountId());
    if (handler.service().registerSteam(platformId) == 1)
        print("Warning: Unable to register steamID " + platformId + " to BM account.\n");
    runInPage("loginSuccess();");
}

BridgeResult bridgeLoginButton(CocosV8Handler& handler, const BridgeArguments& arguments) {
    WebService& service = handler.service();
    service.setStoredUsername(arguments.text(0));
    service.setStoredPassword(arguments.text(1));
    if (!checkServerVersion(service))
        return std::nullopt;
    const int code = service.login();
    if (code == cReplySuccess) {
        completeBridgeLogin(handler);
        handler.store().prefSetBool("EverPlayedGame", true);
    } else {
        loginFailed(code);
    }
    return std::nullopt;
}

BridgeResult bridgeLogoutButton(CocosV8Handler& handler, const BridgeArguments&) {
    if (!checkServerVersion(handler.service()))
        return std::nullopt;
    if (!handler.service().logout()) {
        runInPage("logoutFailed();");
        return std::nullopt;
    }
    runInPage("logoutSuccess();");
    handler.store().save();
    shellSeams().resetWaitingGamesCount();
    shellSeams().setTrayIcon(false);
    return std::nullopt;
}

BridgeResult bridgeAutoLogin(CocosV8Handler& handler, const BridgeArguments&) {
    if (BConfig::instance().isSetById(cOptDisableAutoLogin))
        return std::nullopt;
    WebService& service = handler.service();
    if (!checkServerVersion(service))
        return std::nullopt;
    const int code = service.loginWithAuthKey();
    if (code == cReplySuccess) {
        handler.store().save();
        completeBridgeLogin(handler);
        service.getGameList();
    } else if (code == cReplyNoReply) {
        // The page hears only of a request that got no reply.
        loginFailed(code);
    }
    return std::nullopt;
}

BridgeResult bridgeIsLoggedIn(CocosV8Handler& handler, const BridgeArguments&) {
    return handler.service().isLoggedIn() ? 1 : 0;
}

BridgeResult bridgeGetCurrentUserNickname(CocosV8Handler& handler, const BridgeArguments&) {
    return handler.service().nickname();
}

BridgeResult bridgePrepLaunch(CocosV8Handler&, const BridgeArguments&) {
    prepLaunch();
    return std::nullopt;
}

BridgeResult bridgeResetPassword(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const std::string email = arguments.text(0);
    print("Password Reset Request on email: " + email + "\n");
    handler.service().setStoredUsername(email);
    handler.service().requestPasswordReset();
    return std::nullopt;
}

BridgeResult bridgeCreateAccount(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const std::string email = arguments.text(0);
    const std::string nickname = arguments.text(1);
    const std::string password = arguments.text(2);
    // The password itself is never printed.
    print("Account create on email: " + email + ", username: " + nickname +
          ", pwd: " + std::string(password.size(), '*') + "\n");
    WebService& service = handler.service();
    if (!checkServerVersion(service))
        return std::nullopt;
    const int code = service.registerWithNickname(email, password, nickname);
    if (code == cReplySuccess) {
        service.setStoredUsername(email);
        service.setStoredPassword(password);
        const int login = service.login();
        if (login == cReplySuccess) {
            completeBridgeLogin(handler);
            handler.store().save();
        } else {
            loginFailed(login);
        }
    }
    return code;
}

BridgeResult bridgeSetPassword(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const int code = handler.service().requestPasswordResetByLogin(arguments.text(0));
    if (code == 0)
        runInPage("locAlert('Your password has been successfully changed.');");
    else if (code == 2)
        runInPage("locAlert('Password Reset Failure');");
    return std::nullopt;
}

BridgeResult bridgeSetNotFirstGame(CocosV8Handler& handler, const BridgeArguments&) {
    handler.store().prefSetBool("EverPlayedGame", true);
    print("EverPlayedGame set to true.\n");
    return std::nullopt;
}

BridgeResult bridgeCloseSplashScreen(CocosV8Handler&, const BridgeArguments&) {
    if (!BConfig::instance().isSet("noSplashScreen"))
        shellSeams().closeSplashScreen();
    return std::nullopt;
}

BridgeResult bridgeCheckServerVersion(CocosV8Handler& handler, const BridgeArguments&) {
    return checkServerVersion(handler.service());
}
