// The off-screen page under a real X display (run under xvfb-run): one web
// view for the whole program, a small page of our own served from a
// temporary folder, the board drawn by the engine into an offscreen SDL
// window over the page's snapshot.

#include "platform/browser/OffscreenPage.h"
#include "platform/browser/BridgeDispatcher.h"
#include "platform/browser/ClientOSRHandler.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCGLRenderer.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCTextureCache.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

using namespace cocos2d;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
// The board's rectangle in the window (x, y from the top-left).
constexpr int kBoardX = 100, kBoardY = 70, kBoardWidth = 80, kBoardHeight = 60;
constexpr uint8_t kPageColor[3] = {200, 40, 90};    // the page's background image
constexpr uint8_t kSceneColor[3] = {30, 160, 70};   // the board scene's layer
constexpr uint8_t kLoadingColor[3] = {60, 70, 200}; // the loading screen's image

const char* kPage = R"HTML(<!DOCTYPE html>
<html><head><style>
html, body { margin: 0; width: 100%; height: 100%; overflow: hidden; }
body { background: url(tarnwick://data/Background.png) repeat; }
#go { position: absolute; left: 10px; top: 10px; width: 60px; height: 30px; }
#field { position: absolute; left: 10px; top: 60px; width: 80px; height: 20px; }
</style></head><body>
<button id="go" onclick="window.clicked = (window.clicked || 0) + 1">Go</button>
<input id="field" type="text">
</body></html>
)HTML";

class OffscreenPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // No session bus: with a display set, D-Bus would try to start one
        // through X and keep what it allocated for that.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        sOldFolder = std::filesystem::current_path();
        sFolder = std::filesystem::path(::testing::TempDir()) / ("offscreen-page-" + std::to_string(getpid()));
        std::filesystem::remove_all(sFolder);
        std::filesystem::create_directories(sFolder / "html");
        std::filesystem::create_directories(sFolder / "data");
        std::ofstream(sFolder / "html/Test.html") << kPage;
        writeSolidPng("data/Background.png", kPageColor);
        writeSolidPng("html/UI/LoadingScreen_Full.png", kLoadingColor);
        std::filesystem::current_path(sFolder);

        ASSERT_TRUE(OffscreenPage::initToolkit()) << "needs an X display (xvfb-run -a)";
        sHandler = new ClientOSRHandler();
        sPage = new OffscreenPage(kWidth, kHeight);
        sHandler->setPage(sPage);
        sPage->setPaintHandler([](const uint8_t* argb, int width, int height, int stride) {
            ++sPaints;
            sLastPaintWidth = width;
            sLastPaintTaken = sHandler->takePaint(argb, width, height, stride);
        });
        sPage->loadInterfacePage(sFolder.string(), "Test.html");
    }
    static void TearDownTestSuite() {
        delete sPage;
        sPage = nullptr;
        delete sHandler;
        sHandler = nullptr;
        setBridgeDispatcher({});
        CCTextureCache::purgeSharedTextureCache();
        std::filesystem::current_path(sOldFolder);
        std::filesystem::remove_all(sFolder);
    }

    static void writeSolidPng(const std::string& name, const uint8_t* color) {
        std::vector<uint8_t> pixels(16 * 16 * 4, 255);
        for (size_t i = 0; i < pixels.size(); i += 4)
            std::copy_n(color, 3, pixels.begin() + ptrdiff_t(i));
        CCImage image;
        std::filesystem::create_directories((sFolder / name).parent_path());
        ASSERT_TRUE(image.initWithRawData(std::move(pixels), 16, 16, false));
        ASSERT_TRUE(image.saveToFile((sFolder / name).string()));
    }

    // The window's pixels as drawn so far; at(x, y) from the top-left.
    struct Frame {
        std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(kWidth) * kHeight * 4);
        const uint8_t* at(int x, int y) const {
            return &pixels[(size_t(kHeight - 1 - y) * kWidth + x) * 4]; // GL rows from the bottom
        }
    };
    static Frame readFrame(CCEGLView& view) {
        Frame frame;
        EXPECT_TRUE(view.makeCurrent());
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
        return frame;
    }

    // Pumps the page until the condition holds (false after 10 s).
    static bool pumpUntil(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            sPage->pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    static void waitForLoad() {
        ASSERT_TRUE(pumpUntil([] { return !sPage->isLoading(); }));
    }
    // Waits for two more snapshots, so that the page's latest state is in.
    static void waitForPaints() {
        const int target = sPaints + 2;
        ASSERT_TRUE(pumpUntil([target] { return sPaints >= target; }));
    }

    // The text of a JavaScript expression's value.
    static std::string evaluate(const std::string& expression) {
        std::optional<std::string> result;
        sPage->evaluate(expression, [&result](const std::string& text) { result = text; });
        EXPECT_TRUE(pumpUntil([&] { return result.has_value(); })) << expression;
        return result.value_or("");
    }

    static void handle(SDL_Event event) { sHandler->handleEvent(event); }
    static void click(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
        handle(event);
        event.type = SDL_MOUSEBUTTONUP;
        handle(event);
    }

    static inline std::filesystem::path sOldFolder;
    static inline std::filesystem::path sFolder;
    static inline ClientOSRHandler* sHandler = nullptr;
    static inline OffscreenPage* sPage = nullptr;
    static inline int sPaints = 0;
    static inline bool sLastPaintTaken = false;
    static inline int sLastPaintWidth = 0;
};

void expectColor(const uint8_t* pixel, const uint8_t* want, const char* where) {
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(pixel[i], want[i], 2) << where << " channel " << i;
}

TEST_F(OffscreenPageTest, ThePageLiesUnderTheBoardInOneFrame) {
    waitForLoad();
    SDL_Window* window = SDL_CreateWindow("page test", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    {
        CCEGLView view;
        ASSERT_TRUE(view.CreateWithWindow(window, kBoardWidth, kBoardHeight));
        view.translate(kBoardX, kBoardY);
        CCDirector* director = CCDirector::sharedDirector();
        director->setContentScaleFactor(1.0f);
        director->setOpenGLView(&view);
        static_cast<CCGLRenderer*>(director->getRenderer())->setClearsFrame(false);
        CCScene* scene = CCScene::node();
        scene->addChild(CCLayerColor::layerWithColor(
            ccc4(kSceneColor[0], kSceneColor[1], kSceneColor[2], 255)));
        director->runWithScene(scene);

        sHandler->setPageGLView(&view);
        sHandler->createBrowserTexture(kWidth, kHeight);
        waitForPaints();
        EXPECT_TRUE(sLastPaintTaken);

        sHandler->drawBrowserOverlay();
        director->tick(0);
        const Frame frame = readFrame(view);
        expectColor(frame.at(150, 20), kPageColor, "page, above the board");
        expectColor(frame.at(20, 140), kPageColor, "page, left of the board");
        expectColor(frame.at(kBoardX + 5, kBoardY + 5), kSceneColor, "board");
        expectColor(frame.at(kBoardX + kBoardWidth - 2, kBoardY + kBoardHeight - 2), kSceneColor,
                    "board's far corner");

        // A game opening: the loading screen over the board's rectangle.
        CCFileUtils::setResourcePath((sFolder / "data/").string());
        sHandler->setLoadingOverlayShown(true);
        sHandler->showLoadingScreen("Loading...", "Tarnwick Serif",
                                    PageRect{kBoardX, kBoardY, kBoardWidth, kBoardHeight}, 2);
        sHandler->drawBrowserOverlay();
        sHandler->drawLoadingScreen();
        const Frame loading = readFrame(view);
        expectColor(loading.at(kBoardX + 40, kBoardY + 50), kLoadingColor, "loading screen");
        expectColor(loading.at(150, 20), kPageColor, "page beside the loading screen");
        sHandler->setLoadingOverlayShown(false);
        sHandler->releaseLoadingScreen();
        CCFileUtils::setResourcePath("");

        sHandler->setPageGLView(nullptr);
        director->purgeDirector();
    }
    SDL_DestroyWindow(window);
}

TEST_F(OffscreenPageTest, ASnapshotOfAnotherSizeIsSkipped) {
    waitForLoad();
    sHandler->createBrowserTexture(kWidth, kHeight);
    sPage->setViewSize(kWidth + 10, kHeight);
    ASSERT_TRUE(pumpUntil([] { return sLastPaintWidth == kWidth + 10; }));
    EXPECT_FALSE(sLastPaintTaken);
    sPage->setViewSize(kWidth, kHeight);
    ASSERT_TRUE(pumpUntil([] { return sLastPaintWidth == kWidth; }));
    EXPECT_TRUE(sLastPaintTaken);
}

TEST_F(OffscreenPageTest, AClickRunsTheButtonsHandlerAndTypedTextReachesTheInput) {
    waitForLoad();
    waitForPaints(); // laid out
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    handle(focus);
    click(40, 25);
    EXPECT_TRUE(pumpUntil([] { return evaluate("String(window.clicked)") == "1"; }));

    click(50, 70);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "hé!");
    handle(text);
    EXPECT_TRUE(pumpUntil([] {
        return evaluate("document.getElementById('field').value") == "hé!";
    })) << evaluate("document.getElementById('field').value");
}

TEST_F(OffscreenPageTest, AStatementFromAWorkerThreadRunsAtTheNextPump) {
    waitForLoad();
    std::thread worker([] { runPageStatement("window.fromWorker = 7;"); });
    worker.join();
    EXPECT_TRUE(pumpUntil([] { return evaluate("String(window.fromWorker)") == "7"; }));
}

TEST_F(OffscreenPageTest, TheCallRoadAnswersSynchronously) {
    waitForLoad();
    setBridgeDispatcher([](const std::string& function,
                           const nlohmann::json& arguments) -> std::optional<nlohmann::json> {
        if (function != "anything")
            return std::nullopt;
        return nlohmann::json{{"got", arguments}};
    });
    EXPECT_EQ(evaluate("JSON.stringify(cef.uiapp.anything(1, 'x'))"), R"({"got":[1,"x"]})");
    EXPECT_EQ(evaluate("typeof cef.uiapp.somethingElse()"), "undefined");
}

} // namespace
