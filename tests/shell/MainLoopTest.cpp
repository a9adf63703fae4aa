#include "ShellTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/MainLoop.h"
#include "shell/PageHost.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScene.h"
#include "rules/GamesList.h"
#include "scene/sound/SoundPlayback.h"
#include "service/BSecureStorage.h"

#include <GLES/gl.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// The application started on a clock stepped by hand, with a small view of
// its own and an empty scene running.
class MainLoopTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AppDelegate& app = appDelegate();
        app.setClock([this] { return mNow; });
        ASSERT_TRUE(app.runStart(nullptr, 64, 48));
        cocos2d::CCDirector::sharedDirector()->runWithScene(cocos2d::CCScene::node());
        setPageHost(&mPage);
        page().attachView(app.view(), 64, 48);
        gAppRunning = true;
        clearShellCalls();
    }

    void TearDown() override {
        setPageHost(nullptr);
        setBeforeSwapHandler({});
        ShellTest::TearDown();
    }

    RecordingPageHost& page() { return mPage; }

    // One pass after moving the clock on.
    std::vector<std::string> pass(double advance) {
        mNow += advance;
        clearShellCalls();
        runFrameTick();
        return shellCalls();
    }

    double mNow = 100.0;
    RecordingPageHost mPage;
};

const std::vector<std::string> cPerPass = {"platformCallbacks", "audioUpdate", "seam:bridgeUpdate",
                                           "page:doWork"};

std::vector<std::string> withPerPass(std::vector<std::string> frame) {
    frame.insert(frame.end(), cPerPass.begin(), cPerPass.end());
    return frame;
}

} // namespace

TEST_F(MainLoopTest, APassDrawsOnlyDueFramesAndTicksOnlyWithTheGameView) {
    struct Case {
        double advance;
        bool gameView;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0.001, false, cPerPass},
        {1.0 / 60.0, false, withPerPass({"frame", "page:drawPage", "swapBuffers"})},
        {0.001, true, cPerPass},
        {1.0 / 60.0, true, withPerPass({"frame", "page:drawPage", "runTick", "swapBuffers"})},
        {0.5, true, withPerPass({"frame", "page:drawPage", "runTick", "swapBuffers"})},
    };
    for (const Case& c : cases) {
        page().setGameViewShown(c.gameView);
        EXPECT_EQ(pass(c.advance), c.calls) << c.advance << " " << c.gameView;
    }
}

TEST_F(MainLoopTest, AWorkerWaitingForTheGameLockGetsItWithinAFrame) {
    std::atomic<bool> locked{false};
    std::thread worker;
    page().setDrawHandler([&] {
        // The frame holds the lock now; the worker asks for it.
        worker = std::thread([&] {
            boost::recursive_mutex::scoped_lock lock(gameDataMutex());
            locked = true;
        });
    });
    bool lockedDuringWork = false;
    page().setWorkHandler([&] {
        for (int i = 0; i < 200 && !locked; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        lockedDuringWork = locked;
    });
    pass(1.0);
    worker.join();
    EXPECT_TRUE(lockedDuringWork) << "the lock is free once the frame is drawn";
}

TEST_F(MainLoopTest, ThePageDrawnUnderTheSceneSurvivesTheTick) {
    page().setGameViewShown(true);
    std::array<uint8_t, 4> pixel{};
    setBeforeSwapHandler(
        [&] { glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data()); });
    pass(1.0);
    // The recording page's background (0.10, 0.11, 0.16).
    EXPECT_NEAR(pixel[0], 26, 2);
    EXPECT_NEAR(pixel[1], 28, 2);
    EXPECT_NEAR(pixel[2], 41, 2);
}

TEST_F(MainLoopTest, LosingTheFocusMutesAndCapsTheFrameRate) {
    struct Case {
        const char* cap; // the option's text, null when unset
        double interval;
    };
    const Case cases[] = {{nullptr, 1.0 / 10.0}, {"30", 1.0 / 30.0}};
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    BConfig& config = BConfig::instance();
    config.parseLine("Sound", nullptr);
    for (const Case& c : cases) {
        if (c.cap != nullptr)
            config.parseLine(std::string("BackgroundFPSCap ") + c.cap, nullptr);
        gSoundsEnabled = true;
        onAppDeactivated();
        EXPECT_FALSE(gSoundsEnabled);
        EXPECT_DOUBLE_EQ(director->getAnimationInterval(), c.interval) << (c.cap ? c.cap : "");

        gAppMinimized = true;
        onAppActivated();
        EXPECT_FALSE(gSoundsEnabled) << "activation while minimised changes nothing";
        EXPECT_DOUBLE_EQ(director->getAnimationInterval(), c.interval);

        gAppMinimized = false;
        onAppActivated();
        EXPECT_TRUE(gSoundsEnabled);
        EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 1.0 / 60.0);
    }
}

TEST_F(MainLoopTest, FocusAndCloseEventsReachTheShell) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    handleWindowEvent(event);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    handleWindowEvent(event);
    const std::vector<std::string> calls = shellCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "onAppDeactivated");
    EXPECT_EQ(calls[1], "quitApplication");
    EXPECT_FALSE(gAppRunning);
}

// The shell keeps minimising and the close request to itself; focus changes
// are both the shell's and the page's; input goes to the page host.
TEST_F(MainLoopTest, WindowEventsReachThePageHostUnlessTheShellKeepsThem) {
    struct Case {
        uint32_t type;
        uint8_t windowEvent;
        bool reachesPage;
    };
    const Case cases[] = {
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST, true},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED, true},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED, false},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED, false},
        {SDL_MOUSEMOTION, 0, true},
        {SDL_KEYDOWN, 0, true},
        {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, false},
    };
    for (const Case& c : cases) {
        const size_t before = page().events().size();
        SDL_Event event{};
        event.type = c.type;
        event.window.event = c.windowEvent;
        handleWindowEvent(event);
        EXPECT_EQ(page().events().size(), before + (c.reachesPage ? 1 : 0))
            << c.type << " " << int(c.windowEvent);
    }
    gAppMinimized = false;
}

TEST_F(MainLoopTest, QuitSavesTheStoreAndStopsTheLoop) {
    ASSERT_TRUE(secureStorage().open());
    secureStorage().setValue("QuitTest", "1");
    quitApplication();
    EXPECT_FALSE(gAppRunning);
    EXPECT_EQ(shellCalls(),
              (std::vector<std::string>{"quitApplication", "saveSecureStorage",
                                        "page:parentWindowWillClose", "page:quitMessageLoop",
                                        "seam:removeTrayIcon"}));
    EXPECT_TRUE(std::filesystem::exists(secureStorage().filePath()));
}
