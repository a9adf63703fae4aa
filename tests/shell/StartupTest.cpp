#include "ShellTestSupport.h"

#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/PageHost.h"
#include "shell/SingleInstance.h"
#include "shell/Startup.h"

#include "platform/engine/CCApplication.h"
#include "platform/engine/CCDirector.h"
#include "scene/GameScene.h"
#include "service/ServiceWorkers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

using StartupTest = ShellTest;

// Runs the test driver with the environment of this test; its exit code and
// everything it wrote.
int runDemo(const std::string& arguments, std::string& output,
            const std::string& root = TARNWICK_SOURCE_DIR) {
    const std::string command =
        std::string(TARNWICK_DEMO) + " --root '" + root + "' " + arguments + " 2>&1";
    return runCommandLine(command, output);
}

} // namespace

TEST_F(StartupTest, StepsRunInOrderAndTheLoopEndsAfterTheQuittingPass) {
    setDesktopModeOverride(DesktopMode{1600, 1200, 4});
    RecordingPageHost page;
    page.setClientAfterWork(2);
    int passes = 0;
    bool highDefinition = false;
    float scale = 0.0f;
    page.setWorkHandler([&] {
        // Passes of the loop only (the application stays started after an
        // earlier run in this process).
        const std::vector<std::string>& calls = shellCalls();
        if (std::find(calls.begin(), calls.end(), "mainLoop") == calls.end() ||
            cocos2d::CCApplication::sharedApplication() == nullptr ||
            !cocos2d::CCApplication::sharedApplication()->isStarted() || ++passes != 3)
            return;
        highDefinition = cocos2d::CCDirector::sharedDirector()->getIsHighDefinition();
        scale = cocos2d::CCDirector::sharedDirector()->getContentScaleFactor();
        quitApplication();
    });
    std::atomic<bool> workerDone{false};
    serviceWorkers().start([&](const std::atomic<bool>&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        workerDone = true;
    });

    ShellOptions options;
    options.root = TARNWICK_SOURCE_DIR;
    options.page = &page;
    EXPECT_EQ(runShell(options), 0);

    const std::vector<std::string> expected = {
        "SteamClient::init", "seam:requestStatsAndLeaderboards", "setupLanguageAndPaths",
        "loadLocalizableStrings", "isOnlyInstance", "openSecureStorage", "chooseLayoutMode",
        "setResourcePath", "setContentScaleFactor", "loadPrivateFonts", "page:initialize",
        "seam:registerBridge", "createMainWindow", "showSplashScreen", "waitForPageClient",
        "checkDesktopColorDepth", "setSceneDims", "runStart", "createViewAsChild",
        "applicationDidFinishLaunching", "page:attachView", "checkScreenResolution", "mainLoop",
        // The quit, inside the third pass's page work.
        "quitApplication", "saveSecureStorage", "page:parentWindowWillClose",
        "page:quitMessageLoop", "removeTrayIcon",
        // Shutdown.
        "SteamClient::shutdown", "page:shutdown", "purgeDirector"};
    EXPECT_EQ(callsWithoutPasses(), expected);
    EXPECT_EQ(passes, 3) << "no pass after the quitting one";
    EXPECT_EQ(page.workCount(), 2 + 3) << "two units of work while waiting for the client";
    EXPECT_TRUE(workerDone) << "workers are waited for";
    EXPECT_EQ(GameScene::layoutMode(), 2);
    EXPECT_TRUE(highDefinition);
    EXPECT_FLOAT_EQ(scale, 2.0f);
    EXPECT_TRUE(std::filesystem::exists(mFolder / "tarnwick.lock"));
}

TEST_F(StartupTest, ASecondProcessEndsWithTheInstanceError) {
    ASSERT_TRUE(isOnlyInstance(mFolder));
    std::string output;
    EXPECT_NE(runDemo("--frames 2", output), 0);
    EXPECT_NE(output.find("ERROR: Tarnwick is already running."), std::string::npos) << output;
}

TEST_F(StartupTest, DesktopChecks) {
    struct Case {
        const char* desktop;
        bool starts;
        const char* text; // in the output
        bool warned;
    };
    const Case cases[] = {
        {"1600x1200x16", false, "ERROR: Tarnwick needs a desktop with 32-bit colour.", false},
        {"1600x1200x24", true, "", false},
        {"1279x680x32", true, "Warning: Your screen is smaller than 1280 x 680 pixels.", true},
        {"1280x679x32", true, "Warning: Your screen is smaller", true},
        {"1280x680x32", true, "", false},
    };
    for (const Case& c : cases) {
        std::string output;
        const int code = runDemo(std::string("--frames 2 --desktop ") + c.desktop, output);
        EXPECT_EQ(code == 0, c.starts) << c.desktop << "\n" << output;
        EXPECT_NE(output.find(c.text), std::string::npos) << c.desktop << "\n" << output;
        EXPECT_EQ(output.find("Warning: Your screen") != std::string::npos, c.warned) << c.desktop;
    }
}

TEST_F(StartupTest, WaitingForThePageClient) {
    RecordingPageHost ready;
    waitForPageClient(ready);
    EXPECT_EQ(ready.workCount(), 0) << "no wait when the client exists";

    // A clock that wraps past 2^32 during the wait: 2000 ms still count.
    uint32_t now = 0xFFFFFC00u;
    setShellMillisecondClock([&now] { return now += 100; });
    RecordingPageHost slow;
    slow.setClientAfterWork(15);
    waitForPageClient(slow);
    EXPECT_EQ(slow.workCount(), 15);

    RecordingPageHost never;
    never.setClientAfterWork(1000000);
    EXPECT_EXIT(waitForPageClient(never), testing::ExitedWithCode(1),
                "ERROR: UNKNOWN ERROR CREATING OSR HANDLER");
    setShellMillisecondClock({});
}

TEST_F(StartupTest, BrokenGameDataEndTheRunWithTheFatalText) {
    std::string output;
    EXPECT_EQ(runDemo("--frames 100", output, brokenDatabaseContent().string()), 1);
    EXPECT_NE(output.find("failed to init database"), std::string::npos) << output;
    EXPECT_NE(output.find("Fatal Error: Game Data Corrupt. Please delete the app and re-install."),
              std::string::npos)
        << output;
}
