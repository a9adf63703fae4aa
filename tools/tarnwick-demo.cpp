// The shell's test driver: the program's start-up with the menu page when a
// display is there (else the recording page host stands in for it). The
// page's first unit of work asks for the game data (prepLaunch) and shows
// the game view with a new game's board; the driver's switches stop the run
// after a number of frames (counted once the page showed), write the last
// frame as a PNG and pretend another desktop, keep the menus in place of the
// game view, show a message box or make the last frame the progress
// overlay's; --shots DIR logs in as demo through the page's native calls
// instead (the README's main job without a display).
#include "shell/BrowserPageHost.h"
#include "shell/CocosV8Handler.h"
#include "shell/GameDataLoad.h"
#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"
#include "shell/ShellState.h"
#include "shell/Startup.h"

#include "DemoGameRoad.h"
#include "content/BConfig.h"
#include "content/settings/SettingsManager.h"
#include "platform/browser/OffscreenPage.h"
#include "platform/engine/CCApplication.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "rules/Game.h"
#include "rules/GamesList.h"
#include "rules/SelfPlay.h"
#include "scene/GameScene.h"

#include "platform/browser/BridgeDispatcher.h"

#include <GLES/gl.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int cPageWaitFrames = 600;
// The whole road after the login: the list, the board, the turn, the bot.
constexpr uint32_t cRoadTimeoutMs = 300000;

int usage() {
    std::fprintf(stderr, "usage: tarnwick-demo [--root DIR] [--frames N] [--screenshot FILE] "
                         "[--desktop WIDTHxHEIGHTxBITS] [--menu] [--popup TEXT] "
                         "[--progress TEXT] [--shots DIR]\n");
    return 2;
}

bool readNumber(std::string_view text, int& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && out >= 0 && end == text.data() + text.size();
}

// "1279x680x32": the desktop's size and colour depth (24 and 32 bits take 4
// bytes a pixel).
bool readDesktop(std::string_view text, DesktopMode& out) {
    const size_t first = text.find('x');
    const size_t second = text.find('x', first + 1);
    int bits = 0;
    if (first == std::string_view::npos || second == std::string_view::npos ||
        !readNumber(text.substr(0, first), out.width) ||
        !readNumber(text.substr(first + 1, second - first - 1), out.height) ||
        !readNumber(text.substr(second + 1), bits))
        return false;
    out.bytesPerPixel = bits > 16 ? 4 : (bits + 7) / 8;
    return true;
}

// The whole window's pixels as drawn so far, as a PNG.
bool saveWindow(const std::string& path) {
    int board[4];
    int width = 0;
    int height = 0;
    CCApplication::getSceneDims(board[0], board[1], board[2], board[3], width, height);
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    glViewport(0, 0, width, height);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> rows(pixels.size());
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) // GL rows run from the bottom
        std::copy(pixels.begin() + ptrdiff_t(size_t(y) * row),
                  pixels.begin() + ptrdiff_t(size_t(y + 1) * row),
                  rows.begin() + ptrdiff_t(size_t(height - 1 - y) * row));
    for (size_t i = 3; i < rows.size(); i += 4)
        rows[i] = 255;
    CCImage image;
    return image.initWithRawData(std::move(rows), width, height, false) && image.saveToFile(path);
}

// What the menu page does once loaded: asks for the game data, then opens
// a new game's board in the game view.
void openDemoGame(const std::function<void(bool)>& setGameViewShown, bool gameView) {
    prepLaunch();
    if (!gAppRunning)
        return;
    // Setting up and binding the game read the games list, which wants the
    // game lock.
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    const auto& civs = SettingsManager::instance().mCivs;
    Game* game = new Game();
    if (civs.size() < 2 || !SelfPlay::setUpNewGame(*game, 7, {civs[0]->mId, civs[1]->mId})) {
        std::fprintf(stderr, "no demo game\n");
        game->release();
        return;
    }
    gCurrentGame = game;
    CCDirector::sharedDirector()->runWithScene(GameScene::sceneWithGame());
    game->release();
    setGameViewShown(gameView);
}

// --shots DIR: logs in as "demo" through the page's native calls (the
// recording host stands in for the page: it calls what the login page calls
// on load, then what its form's button calls), writing DIR/login.png before
// and DIR/logged-in.png after; then plays one turn against the bot
// (DemoGameRoad). 0 only when the page was told loginSuccess and the bot's
// turn came back.
int runLoginDemo(ShellOptions options, const std::filesystem::path& shots) {
    std::error_code ignored;
    std::filesystem::create_directories(shots, ignored);
    installBridgeSeams();
    RecordingPageHost page;
    options.page = &page;
    const auto loggedIn = [&page] {
        const auto& ran = page.statements();
        return std::find(ran.begin(), ran.end(), "loginSuccess();") != ran.end();
    };
    enum class Step { Load, LoginShot, Form, LoggedInShot, Road, Done } step = Step::Load;
    int drawn = 0;
    int status = 0;
    page.setWorkHandler([&] {
        if (step != Step::Load || !CCApplication::sharedApplication()->isStarted())
            return;
        for (const char* function : {"prepLaunch", "autoLogin", "closeSplashScreen"})
            answerBridgeCall(function, "[]");
        step = Step::LoginShot;
    });
    const auto shoot = [&](const char* name) {
        const std::string path = (shots / name).string();
        if (saveWindow(path)) {
            std::printf("wrote %s\n", path.c_str());
            return true;
        }
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        status = 1;
        return false;
    };
    DemoGameRoad road(shoot, cRoadTimeoutMs);
    setBeforeSwapHandler([&] {
        if (step == Step::Road) {
            road.step();
            return;
        }
        if (step == Step::Load || ++drawn < 10)
            return;
        drawn = 0;
        if (step == Step::LoginShot) {
            shoot("login.png");
            // A stored key may have logged in already.
            if (loggedIn())
                std::printf("logged in by the stored key\n");
            else
                answerBridgeCall("loginButton", "[\"demo\",\"demo\"]");
            step = Step::LoggedInShot;
        } else if (step == Step::LoggedInShot) {
            shoot("logged-in.png");
            step = loggedIn() ? Step::Road : Step::Done;
            if (step == Step::Done)
                quitApplication();
        }
    });
    const int code = runShell(options);
    if (code != 0)
        return code;
    if (!loggedIn()) {
        std::fprintf(stderr, "tarnwick-demo: the page was not told loginSuccess\n");
        return 1;
    }
    std::printf("logged in as demo\n");
    if (road.result() != DemoGameRoad::Result::Done) {
        std::fprintf(stderr, "tarnwick-demo: the turn against the bot did not come back\n");
        return 1;
    }
    std::printf("played a turn against the bot\n");
    return status;
}

} // namespace

int main(int argc, char** argv) {
    ShellOptions options;
    int frames = 0;
    std::string screenshot;
    bool gameView = true;
    std::string popup;
    std::string progress;
    std::filesystem::path shots;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        DesktopMode desktop;
        if (arg == "--root" && hasValue)
            options.root = argv[++i];
        else if (arg == "--frames" && hasValue && readNumber(argv[i + 1], frames))
            ++i;
        else if (arg == "--screenshot" && hasValue)
            screenshot = argv[++i];
        else if (arg == "--menu")
            gameView = false;
        else if (arg == "--popup" && hasValue)
            popup = argv[++i];
        else if (arg == "--progress" && hasValue)
            progress = argv[++i];
        else if (arg == "--shots" && hasValue)
            shots = argv[++i];
        else if (arg == "--desktop" && hasValue && readDesktop(argv[i + 1], desktop)) {
            setDesktopModeOverride(desktop);
            ++i;
        } else
            return usage();
    }
    if (!shots.empty())
        return runLoginDemo(options, shots);
    // With no display a screenshot renders offscreen; with one the window
    // goes to it, whose size picks the layout (SDL_VIDEODRIVER, when set,
    // still holds).
    const bool display = OffscreenPage::initToolkit();
    if (!screenshot.empty() && !display)
        setenv("SDL_VIDEODRIVER", "offscreen", 0);

    RecordingPageHost recordingPage;
    std::unique_ptr<BrowserPageHost> browserPage;
    if (display)
        browserPage = std::make_unique<BrowserPageHost>(shellRootFolder(options).string());
    options.page = browserPage ? static_cast<PageHost*>(browserPage.get()) : &recordingPage;
    bool opened = false;
    int status = 0;
    int drawn = 0;
    int waited = 0;
    // The page asks for the game data once loaded.
    const std::function<void()> onWork = [&] {
        CCApplication* app = CCApplication::sharedApplication();
        if (!opened && app != nullptr && app->isStarted() &&
            (!browserPage || browserPage->pageShown())) {
            opened = true;
            openDemoGame(
                [&](bool shown) {
                    if (browserPage)
                        browserPage->setGameViewShown(shown);
                    else
                        recordingPage.setGameViewShown(shown);
                },
                gameView);
            if (!popup.empty())
                showErrorPopup(popup);
        }
        // The last frame is the one the job runner draws before its job.
        if (!progress.empty() && frames > 0 && drawn == frames - 1) {
            BConfig::instance().define("useProgressHUD");
            runWithProgressHUD(progress, [] { return 0; }, {});
        }
    };
    recordingPage.setWorkHandler(onWork);
    if (browserPage)
        browserPage->setWorkHandler(onWork);
    setBeforeSwapHandler([&] {
        // Frames count once the page loaded and showed (at most 600 frames
        // of waiting).
        if (browserPage && !browserPage->pageShown() && ++waited < cPageWaitFrames)
            return;
        if (frames == 0 || ++drawn < frames)
            return;
        if (browserPage && !browserPage->pageShown()) {
            std::fprintf(stderr, "the menu page did not show\n");
            status = 1;
        }
        if (!screenshot.empty()) {
            if (saveWindow(screenshot)) {
                std::printf("wrote %s\n", screenshot.c_str());
            } else {
                std::fprintf(stderr, "could not write %s\n", screenshot.c_str());
                status = 1;
            }
        }
        quitApplication();
    });
    const int code = runShell(options);
    return code != 0 ? code : status;
}
