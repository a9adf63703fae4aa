#include "shell/MainLoop.h"

#include "shell/AppDelegate.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"
#include "shell/ShellState.h"
#include "shell/Tray.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/steam/SteamClient.h"
#include "rules/GamesList.h"
#include "scene/sound/SoundPlayback.h"
#include "service/BSecureStorage.h"

namespace {

std::function<void()> gBeforeSwap;

void pumpWindowEvents() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
        handleWindowEvent(event);
}

} // namespace

void setBeforeSwapHandler(std::function<void()> handler) {
    gBeforeSwap = std::move(handler);
}

void runFrameTick(bool frameDue) {
    PageHost* host = pageHost();
    cocos2d::CCApplication* app = cocos2d::CCApplication::sharedApplication();
    if (app != nullptr && app->isStarted() && (app->checkRunTick() || frameDue)) {
        boost::recursive_mutex::scoped_lock lock(gameDataMutex());
        recordShellCall("frame");
        if (host != nullptr)
            host->drawPage();
        if (host != nullptr && host->gameViewShown()) {
            recordShellCall("runTick");
            app->runTick();
        }
        paintPopups();
        if (gBeforeSwap)
            gBeforeSwap();
        if (cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView()) {
            recordShellCall("swapBuffers");
            view->swapBuffers();
        }
    }
    recordShellCall("platformCallbacks");
    SteamClient::runCallbacks();
    recordShellCall("audioUpdate");
    CocosDenshion::SimpleAudioEngine::sharedEngine()->update();
    shellSeams().bridgeUpdate();
    if (host != nullptr)
        host->doWork();
    pumpWindowEvents();
}

void quitApplication() {
    recordShellCall("quitApplication");
    CocosDenshion::SimpleAudioEngine::end();
    recordShellCall("saveSecureStorage");
    secureStorage().save();
    if (PageHost* host = pageHost()) {
        host->parentWindowWillClose();
        host->quitMessageLoop();
    }
    shellSeams().removeTrayIcon();
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    gAppRunning = false;
}

void onAppDeactivated() {
    recordShellCall("onAppDeactivated");
    muteAudio();
    int32_t fps = 10;
    BConfig::instance().getInt(cOptBackgroundFPSCap, fps);
    if (fps <= 0)
        fps = 10;
    cocos2d::CCDirector::sharedDirector()->setAnimationInterval(1.0 / double(fps));
}

void onAppActivated() {
    if (gAppMinimized)
        return;
    recordShellCall("onAppActivated");
    resumeAudio();
    cocos2d::CCDirector::sharedDirector()->setAnimationInterval(1.0 / 60.0);
}

void handleWindowEvent(const SDL_Event& event) {
    // A popup that is up takes the window's input.
    if (handlePopupEvent(event))
        return;
    if (event.type == SDL_QUIT) {
        if (gAppRunning)
            quitApplication();
        return;
    }
    if (event.type == SDL_WINDOWEVENT) {
        switch (event.window.event) {
        // Focus changes also reach the page (its focus and capture).
        case SDL_WINDOWEVENT_FOCUS_LOST:
            onAppDeactivated();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            onAppActivated();
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            onMainWindowMinimized();
            return;
        case SDL_WINDOWEVENT_HIDDEN:
            gAppMinimized = true;
            return;
        case SDL_WINDOWEVENT_RESTORED:
            onMainWindowRestored();
            return;
        case SDL_WINDOWEVENT_SHOWN:
            gAppMinimized = false;
            return;
        case SDL_WINDOWEVENT_CLOSE:
            quitApplication();
            return;
        default:
            break;
        }
    }
    if (PageHost* host = pageHost())
        host->handleEvent(event);
}
