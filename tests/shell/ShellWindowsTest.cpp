#include "ShellTestSupport.h"

#include "shell/MessageBoxes.h"
#include "shell/ShellWindows.h"

#include "content/BConfig.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCFontTable.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

class ShellWindowsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data/");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
        gMainWindow = SDL_CreateWindow("main", 100, 50, 1280, 680, SDL_WINDOW_HIDDEN);
        ASSERT_NE(gMainWindow, nullptr);
    }
    void TearDown() override {
        destroySplashWindow();
        SDL_DestroyWindow(gMainWindow);
        gMainWindow = nullptr;
        BConfig::instance().unset("noSplashScreen");
        ShellTest::TearDown();
    }
};

bool shown(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0;
}

} // namespace

TEST(MainWindowPlacementTest, ADesktopOfTheClientSizeGetsABorderlessWindowAtTheCorner) {
    struct Case {
        DesktopMode desktop;
        int width, height;
        MainWindowPlacement expected;
    };
    const Case cases[] = {
        {{1434, 990, 4}, 1434, 990, {0, 0, true}},
        {{1920, 1080, 4}, 1434, 990, {243, 45, false}},
        {{1920, 1081, 4}, 1280, 680, {320, 200, false}},
        {{1280, 681, 4}, 1280, 680, {0, 0, false}},
        {{1000, 600, 4}, 1280, 680, {0, 0, false}}, // never off the corner
    };
    for (const Case& c : cases)
        EXPECT_EQ(mainWindowPlacement(c.desktop, c.width, c.height), c.expected)
            << c.desktop.width << "x" << c.desktop.height;
}

TEST_F(ShellWindowsTest, TheSplashWindowLiesOverTheMainWindowUntilClosed) {
    showSplashScreen();
    SDL_Window* splash = splashWindow();
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(shown(gMainWindow)) << "the page shows it later";
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(splash, &x, &y);
    SDL_GetWindowSize(splash, &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 400);
    EXPECT_EQ(x, 100 + (1280 - 640) / 2);
    EXPECT_EQ(y, 50 + (680 - 400) / 2);
    EXPECT_NE(SDL_GetWindowFlags(splash) & SDL_WINDOW_BORDERLESS, 0u);
    closeSplashScreen();
    EXPECT_EQ(splashWindow(), nullptr);
    EXPECT_TRUE(shown(gMainWindow));
}

TEST_F(ShellWindowsTest, NoSplashScreenShowsTheMainWindowAtOnce) {
    BConfig::instance().define("noSplashScreen");
    showSplashScreen();
    EXPECT_EQ(splashWindow(), nullptr);
    EXPECT_TRUE(shown(gMainWindow));
}

TEST_F(ShellWindowsTest, FatalExitRemovesTheSplashWindow) {
    // A fresh process: a forked one could inherit a lock held by another
    // thread of an earlier test.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            showSplashScreen();
            if (splashWindow() == nullptr)
                std::exit(2);
            // Ends the process here, before the leak check: the windows and
            // their drivers' allocations are left to the exit.
            std::atexit([] {
                std::fprintf(stderr, splashWindow() == nullptr ? "splash gone\n" : "splash up\n");
                std::_Exit(1);
            });
            fatalExit("broken");
        },
        ::testing::ExitedWithCode(1), "ERROR: broken\nsplash gone");
}

TEST_F(ShellWindowsTest, MissingFontsLogOneLineEachAndReadableOnesAreRegistered) {
    const std::filesystem::path folder = mFolder / "fonts";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                               folder / "NanumGothic.ttf");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(loadPrivateFonts(folder), 1);
    const std::string log = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
    EXPECT_NE(log.find("BlambotFXProLightBB.ttf"), std::string::npos) << log;
    EXPECT_EQ(cocos2d::CCFontTable::fileForName("NanumGothic"),
              (folder / "NanumGothic.ttf").string());
}
