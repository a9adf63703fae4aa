// The shell's test driver: the program's start-up with the menu page when a
// display is there (else the recording page host stands in for it). The
// page's first unit of work asks for the game data (prepLaunch) and shows
// the game view with a new game's board; the driver's switches stop the run
// after a number of frames (counted once the page showed), write the last
// frame as a PNG and pretend another desktop, keep the menus in place of the
// game view, show a message box or make the last frame the progress
// overlay's; --shots DIR logs in as demo through the page's login form
// instead (the README's main job without a display), and with --new-games
// then creates and matchmakes games against the bot through the page.
#include "demo/BrowserDemoPage.h"
#include "demo/DemoGameRoad.h"
#include "demo/DemoScript.h"
#include "demo/LoginSteps.h"
#include "demo/NewGameSteps.h"

#include "shell/BrowserPageHost.h"
#include "shell/CocosV8Handler.h"
#include "shell/GameDataLoad.h"
#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"
#include "shell/ShellState.h"
#include "shell/Startup.h"

#include "content/BConfig.h"
#include "content/settings/SettingsManager.h"
#include "platform/browser/OffscreenPage.h"
#include "platform/engine/CCApplication.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "rules/Game.h"
#include "rules/GamesList.h"
#include "rules/SelfPlay.h"
#include "scene/GameScene.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

using namespace cocos2d;

namespace {

constexpr int cPageWaitFrames = 600;
// The whole road after the login: the list, the board, the turn, the bot.
constexpr uint32_t cRoadTimeoutMs = 300000;

int usage() {
    std::fprintf(stderr, "usage: tarnwick-demo [--root DIR] [--frames N] [--screenshot FILE] "
                         "[--desktop WIDTHxHEIGHTxBITS] [--menu] [--popup TEXT] "
                         "[--progress TEXT] [--shots DIR [--new-games]]\n");
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

// --shots DIR: logs in as "demo" through the menu page's login form,
// writing DIR/login.png before and DIR/logged-in.png after, then plays one
// turn against the bot (DemoGameRoad), a screenshot a step; the real page
// when there is a display, else the recording host standing in for it. 0
// only when the page showed its logged-in screen and the bot's turn came
// back. newGames: then, on the real page, a game against the bot by name and
// one by matchmaking (NewGameSteps).
int runShotsDemo(ShellOptions options, const std::filesystem::path& shots, bool newGames) {
    std::error_code ignored;
    std::filesystem::create_directories(shots, ignored);
    installBridgeSeams();
    RecordingPageHost recordingPage;
    std::unique_ptr<BrowserPageHost> browserPage;
    std::unique_ptr<DemoPage> page;
    if (OffscreenPage::initToolkit()) {
        browserPage = std::make_unique<BrowserPageHost>(shellRootFolder(options).string());
        page = std::make_unique<BrowserDemoPage>(*browserPage);
        options.page = browserPage.get();
    } else {
        page = std::make_unique<RecordingDemoPage>(recordingPage);
        options.page = &recordingPage;
    }
    DemoScript script;
    addLoginSteps(script, *page, shots, "demo", "demo");
    DemoGameRoad road(
        [&shots](const char* name) {
            const std::string path = (shots / name).string();
            if (!saveWindow(path)) {
                std::fprintf(stderr, "could not write %s\n", path.c_str());
                return false;
            }
            std::printf("wrote %s\n", path.c_str());
            return true;
        },
        cRoadTimeoutMs);
    script.add(
        "the turn against the bot",
        [&road] {
            switch (road.step()) {
            case DemoGameRoad::Result::Running:
                return DemoScript::State::Waiting;
            case DemoGameRoad::Result::Done:
                std::printf("played a turn against the bot\n");
                return DemoScript::State::Done;
            case DemoGameRoad::Result::Failed:
                break;
            }
            return DemoScript::State::Failed;
        },
        cRoadTimeoutMs);
    if (newGames && browserPage)
        addNewGameSteps(script, *browserPage, shots);
    setBeforeSwapHandler([&script] { script.frame(); });
    const int code = runShell(options);
    return code != 0 ? code : script.status();
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
    bool newGames = false;
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
        else if (arg == "--new-games")
            newGames = true;
        else if (arg == "--desktop" && hasValue && readDesktop(argv[i + 1], desktop)) {
            setDesktopModeOverride(desktop);
            ++i;
        } else
            return usage();
    }
    if (!shots.empty())
        return runShotsDemo(options, shots, newGames);
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
