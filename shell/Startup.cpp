#include "shell/Startup.h"

#include "shell/AppDelegate.h"
#include "shell/DesktopShellServices.h"
#include "shell/GameOpening.h"
#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/MessageBoxes.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"
#include "shell/PuzzleMenus.h"
#include "shell/ShellSceneServices.h"
#include "shell/ShellState.h"
#include "shell/ShellWindows.h"
#include "shell/SingleInstance.h"
#include "shell/Tray.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "content/StartupOptions.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/steam/SteamClient.h"
#include "puzzle/PuzzleSceneSupport.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "rules/GamesList.h"
#include "rules/SceneServices.h"
#include "scene/GameScene.h"
#include "service/BSecureStorage.h"
#include "service/ServiceWorkers.h"
#include "service/WebService.h"

#include <cstdio>
#include <memory>

namespace {

constexpr uint32_t cPageClientWaitMs = 2000;

// The main window, hidden, at the layout's client size, ready for OpenGL
// ES 1.1.
bool createMainWindow(int width, int height) {
    recordShellCall("createMainWindow");
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("no video: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    const MainWindowPlacement place = mainWindowPlacement(desktopMode(), width, height);
    gMainWindow = SDL_CreateWindow(
        localizedString("Tarnwick").c_str(), place.x, place.y, width, height,
        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | (place.borderless ? SDL_WINDOW_BORDERLESS : 0));
    if (gMainWindow == nullptr) {
        std::printf("the main window failed: %s\n", SDL_GetError());
        return false;
    }
    setWindowIcon(gMainWindow);
    setTrayTip(localizedString("Tarnwick"));
    return true;
}

void showMainWindow() {
    if (gMainWindow != nullptr)
        SDL_ShowWindow(gMainWindow);
}

void shutdown(PageHost& page) {
    recordShellCall("SteamClient::shutdown");
    SteamClient::shutdown();
    page.shutdown();
    recordShellCall("purgeDirector");
    cocos2d::CCDirector::sharedDirector()->purgeDirector();
    releaseOpenedGame();
    appDelegate().destroyView();
    serviceWorkers().quit();
    setPageHost(nullptr);
    if (gMainWindow != nullptr) {
        SDL_DestroyWindow(gMainWindow);
        gMainWindow = nullptr;
    }
}

} // namespace

void waitForPageClient(PageHost& page) {
    const uint32_t start = shellMilliseconds();
    while (!page.clientExists()) {
        if (uint32_t(shellMilliseconds() - start) > cPageClientWaitMs)
            fatalExit("UNKNOWN ERROR CREATING OSR HANDLER");
        page.doWork();
    }
}

void checkDesktopColorDepth() {
    recordShellCall("checkDesktopColorDepth");
    const DesktopMode desktop = desktopMode();
    if (desktop.bytesPerPixel != 4)
        fatalExit(localizedString("32BitDesktopRequired"));
}

void checkScreenResolution() {
    recordShellCall("checkScreenResolution");
    const DesktopMode desktop = desktopMode();
    if (desktop.width < 1280 || desktop.height < 680) {
        std::printf("Warning: %s\n", localizedString("ScreenResTooSmall").c_str());
        std::fflush(stdout);
        showErrorPopup(localizedString("ScreenResTooSmall"));
    }
}

std::filesystem::path shellRootFolder(const ShellOptions& options) {
    return std::filesystem::absolute(options.root.empty() ? std::filesystem::current_path()
                                                          : options.root);
}

int runShell(const ShellOptions& options) {
    const std::filesystem::path root = shellRootFolder(options);
    setBaseFolder(root.string());
    installWindowSeams(root);
    RecordingPageHost recordingHost;
    PageHost& page = options.page != nullptr ? *options.page : recordingHost;
    setPageHost(&page);
    gAppRunning = true;

    recordShellCall("SteamClient::init");
    SteamClient::init();
    if (SteamClient::userStats() != nullptr)
        shellSeams().requestStatsAndLeaderboards();

    recordShellCall("setupLanguageAndPaths");
    setupLanguageAndPaths(SteamClient::currentGameLanguage(), SteamClient::isRunning());
    recordShellCall("loadLocalizableStrings");
    loadLocalizableStrings();

    recordShellCall("isOnlyInstance");
    // Without a runtime folder the lock lives with the user's files, never in
    // the program's own folder.
    if (!isOnlyInstance(instanceLockFolder(SteamClient::userDataFolder())))
        fatalExit(localizedString("OnlyOneInstanceError"));
    std::printf("CONFIGURATION_Final ENABLED.\n");

    recordShellCall("openSecureStorage");
    secureStorage().initCrypto();
    secureStorage().open();
    setPreferenceStore(&secureStorage());
    setGamesList(&webService());
    installPuzzleScriptSupport();
    static ShellSceneServices sceneServices(webService());
    setSceneServices(&sceneServices);
    static DesktopShellServices desktopServices;
    setShellServices(&desktopServices);
    installPuzzleSceneSupport();
    static DesktopPuzzleMenus puzzleMenus;
    setPuzzleMenuServices(&puzzleMenus);

    recordShellCall("chooseLayoutMode");
    chooseLayoutMode(true);
    const int mode = GameScene::layoutMode();

    recordShellCall("setResourcePath");
    cocos2d::CCFileUtils::setResourcePath((root / "data").string() + "/");
    recordShellCall("setContentScaleFactor");
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    director->setIsHighDefinition(true);
    director->setContentScaleFactor(2.0f);

    shellSeams().loadPrivateFonts();
    if (!page.initialize()) {
        std::printf("the page engine failed to start\n");
        return 1;
    }
    shellSeams().registerBridge();

    int windowWidth = 0;
    int windowHeight = 0;
    LayoutRect board;
    layoutWindowSize(mode, windowWidth, windowHeight);
    layoutBoardRect(mode, board);
    // A main window that cannot be made ends the run as a failure.
    if (!createMainWindow(windowWidth, windowHeight))
        return 1;
    if (BConfig::instance().isSet("noSplashScreen"))
        showMainWindow();
    else
        shellSeams().showSplashScreen();

    recordShellCall("waitForPageClient");
    waitForPageClient(page);

    checkDesktopColorDepth();

    recordShellCall("setSceneDims");
    cocos2d::CCApplication::setSceneDims(board.x, board.y, board.width, board.height, windowWidth,
                                         windowHeight);
    recordShellCall("runStart");
    if (!appDelegate().runStart(gMainWindow, windowWidth, windowHeight)) {
        std::printf("the engine's view failed to start\n");
        shutdown(page);
        return 1;
    }
    page.attachView(appDelegate().view(), windowWidth, windowHeight);
    checkScreenResolution();

    recordShellCall("mainLoop");
    while (gAppRunning && page.clientExists())
        runFrameTick();

    shutdown(page);
    // Game data that failed to load end the run as a failure.
    return gGameInitFailed ? 1 : 0;
}
