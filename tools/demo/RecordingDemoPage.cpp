#include "DemoPage.h"

#include "shell/PageHost.h"

#include "platform/browser/BridgeDispatcher.h"
#include "platform/engine/CCApplication.h"

#include <nlohmann/json.hpp>

#include <algorithm>

std::optional<bool> RecordingDemoPage::loggedIn() {
    if (!mLoaded) {
        cocos2d::CCApplication* app = cocos2d::CCApplication::sharedApplication();
        if (app == nullptr || !app->isStarted())
            return std::nullopt;
        for (const char* function : {"prepLaunch", "autoLogin", "closeSplashScreen"})
            answerBridgeCall(function, "[]");
        mLoaded = true;
    }
    const auto& ran = mHost.statements();
    return std::find(ran.begin(), ran.end(), "loginSuccess();") != ran.end();
}

bool RecordingDemoPage::submitLogin(const std::string& user, const std::string& password) {
    answerBridgeCall("loginButton", nlohmann::json::array({user, password}).dump());
    return true;
}
