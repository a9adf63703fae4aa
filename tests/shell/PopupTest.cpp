#include "ShellTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/DesktopShellServices.h"
#include "shell/MainLoop.h"
#include "shell/PageHost.h"
#include "shell/Popup.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCTextureCache.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"

#include <GLES/gl.h>

#include <algorithm>
#include <array>

namespace {

using CocosDenshion::RecordingAudioBackend;
using CocosDenshion::SimpleAudioEngine;

// The large layout's window (1434 x 990) with its board at (395, 14), the
// sample art, a running empty scene, sound on over a recording back end.
class PopupTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        GameScene::setLayoutMode(2);
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_SOURCE_DIR "/data/");
        cocos2d::CCApplication::setSceneDims(395, 14, 1024, 768, 1434, 990);
        cocos2d::CCDirector::sharedDirector()->setIsHighDefinition(true);
        cocos2d::CCDirector::sharedDirector()->setContentScaleFactor(2.0f);
        AppDelegate& app = appDelegate();
        app.setClock([this] { return mNow; });
        ASSERT_TRUE(app.runStart(nullptr, 1434, 990));
        cocos2d::CCDirector::sharedDirector()->runWithScene(cocos2d::CCScene::node());
        setPageHost(&mPage);
        mPage.attachView(app.view(), 1434, 990);
        auto backend = std::make_unique<RecordingAudioBackend>();
        mAudio = backend.get();
        SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
        BConfig::instance().defineById(cOptSound);
        gSoundsEnabled = true;
        // The view's own window reports itself (hidden, shown) on the first
        // pass; a quit left over from an earlier test goes.
        runFrameTick(true);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        gAppRunning = true;
        gAppMinimized = false;
        resetPopups();
        clearShellCalls();
    }

    void TearDown() override {
        resetPopups();
        BConfig::instance().unset("useProgressHUD");
        setPageHost(nullptr);
        setBeforeSwapHandler({});
        setShellServices(nullptr);
        SimpleAudioEngine::end();
        // The textures belong to this test's view.
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        ShellTest::TearDown();
    }

    int buttonSounds() const {
        return int(std::count_if(mAudio->calls().begin(), mAudio->calls().end(),
                                 [](const std::string& call) {
                                     return call.starts_with("playEffect") &&
                                            call.find(cPopupButtonSound) != std::string::npos;
                                 }));
    }

    double mNow = 100.0;
    RecordingPageHost mPage;
    RecordingAudioBackend* mAudio = nullptr;
};

SDL_Event mouse(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
    }
    return event;
}

SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event window(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    return event;
}

} // namespace

TEST_F(PopupTest, ThePopupIsCentredOverTheBoardWithItsButtonsAtItsCorners) {
    struct Case {
        int mode;
        PopupGeometry expected;
    };
    // Background 601 x 401, OK 180 x 72, close 48 x 48: halves round down,
    // the close button keeps only its part inside the popup.
    const Case cases[] = {
        {2, {{606, 197, 601, 401}, {1012, 513, 180, 72}, {1166, 197, 41, 38}}},
        {1, {{492, 133, 601, 401}, {898, 449, 180, 72}, {1052, 133, 41, 38}}},
        {7, {}},
    };
    for (const Case& c : cases) {
        const PopupGeometry g = popupGeometry(c.mode, 601, 401, 180, 72, 48, 48);
        EXPECT_EQ(g.window, c.expected.window) << c.mode;
        EXPECT_EQ(g.ok, c.expected.ok) << c.mode;
        EXPECT_EQ(g.close, c.expected.close) << c.mode;
    }
    // The sample art: a 600 x 400 box.
    showErrorPopup("Sample");
    EXPECT_EQ(currentPopupGeometry().window, (LayoutRect{607, 198, 600, 400}));
}

TEST_F(PopupTest, TheMessageBoxClosesByItsButtonsAndKeys) {
    showErrorPopup("probe");
    const PopupGeometry g = currentPopupGeometry();
    const int okX = g.ok.x + g.ok.width / 2, okY = g.ok.y + g.ok.height / 2;
    const int closeX = g.close.x + g.close.width / 2, closeY = g.close.y + g.close.height / 2;
    const int textX = g.window.x + 40, textY = g.window.y + 40;
    const int outX = 20, outY = 20;
    struct Case {
        const char* what;
        std::vector<SDL_Event> events;
        bool closes;
    };
    const Case cases[] = {
        {"press and release on OK",
         {mouse(SDL_MOUSEBUTTONDOWN, okX, okY), mouse(SDL_MOUSEBUTTONUP, okX, okY)},
         true},
        {"press on OK, release on the text",
         {mouse(SDL_MOUSEBUTTONDOWN, okX, okY), mouse(SDL_MOUSEBUTTONUP, textX, textY)},
         false},
        {"press on OK, release outside the box",
         {mouse(SDL_MOUSEBUTTONDOWN, okX, okY), mouse(SDL_MOUSEBUTTONUP, outX, outY)},
         false},
        {"press on OK, release on close",
         {mouse(SDL_MOUSEBUTTONDOWN, okX, okY), mouse(SDL_MOUSEBUTTONUP, closeX, closeY)},
         true},
        {"click on close",
         {mouse(SDL_MOUSEBUTTONDOWN, closeX, closeY), mouse(SDL_MOUSEBUTTONUP, closeX, closeY)},
         true},
        {"click on the overhang outside the box",
         {mouse(SDL_MOUSEBUTTONDOWN, closeX, g.window.y - 4),
          mouse(SDL_MOUSEBUTTONUP, closeX, g.window.y - 4)},
         false},
        {"Return down", {key(SDL_KEYDOWN, SDLK_RETURN)}, true},
        {"Escape down", {key(SDL_KEYDOWN, SDLK_ESCAPE)}, true},
        {"Return up", {key(SDL_KEYUP, SDLK_RETURN)}, false},
        {"Escape up", {key(SDL_KEYUP, SDLK_ESCAPE)}, false},
        {"Return without focus",
         {window(SDL_WINDOWEVENT_FOCUS_LOST), key(SDL_KEYDOWN, SDLK_RETURN)},
         false},
        {"Return with focus back",
         {window(SDL_WINDOWEVENT_FOCUS_LOST), window(SDL_WINDOWEVENT_FOCUS_GAINED),
          key(SDL_KEYDOWN, SDLK_RETURN)},
         true},
        {"F4 alone", {key(SDL_KEYDOWN, SDLK_F4)}, false},
    };
    for (const Case& c : cases) {
        showErrorPopup("probe");
        handleWindowEvent(window(SDL_WINDOWEVENT_FOCUS_GAINED));
        for (const SDL_Event& event : c.events)
            handleWindowEvent(event);
        EXPECT_EQ(!messageBoxShown(), c.closes) << c.what;
        EXPECT_EQ(!gPopupShown, c.closes) << c.what;
    }
    EXPECT_TRUE(gAppRunning);
}

TEST_F(PopupTest, TheHoverAndPressFlagsFollowTheMouse) {
    showErrorPopup("probe");
    const PopupGeometry g = currentPopupGeometry();
    handleWindowEvent(mouse(SDL_MOUSEMOTION, g.close.x, g.close.y + g.close.height));
    EXPECT_TRUE(gCloseButtonHot) << "edges are inside";
    handleWindowEvent(mouse(SDL_MOUSEMOTION, g.window.x + 5, g.window.y + 5));
    EXPECT_FALSE(gCloseButtonHot);
    handleWindowEvent(mouse(SDL_MOUSEBUTTONDOWN, g.ok.x + 1, g.ok.y + 1));
    EXPECT_TRUE(gOkButtonPressed);
    handleWindowEvent(window(SDL_WINDOWEVENT_LEAVE));
    EXPECT_FALSE(gOkButtonPressed);
    EXPECT_TRUE(messageBoxShown());
}

TEST_F(PopupTest, AltF4ClosesAndQuits) {
    showErrorPopup("probe");
    handleWindowEvent(key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT));
    EXPECT_FALSE(messageBoxShown());
    EXPECT_FALSE(gAppRunning);
}

TEST_F(PopupTest, ShiftTabIsSwallowedAndTabAlonePasses) {
    for (bool hud : {false, true}) {
        if (hud)
            BConfig::instance().define("useProgressHUD");
        bool tabAlone = false;
        bool shiftTab = true;
        const auto probe = [&] {
            tabAlone = popupKeyboardHook(key(SDL_KEYDOWN, SDLK_TAB).key);
            popupKeyboardHook(key(SDL_KEYUP, SDLK_TAB).key);
            popupKeyboardHook(key(SDL_KEYDOWN, SDLK_RSHIFT).key);
            shiftTab = popupKeyboardHook(key(SDL_KEYDOWN, SDLK_TAB).key);
            popupKeyboardHook(key(SDL_KEYUP, SDLK_TAB).key);
            popupKeyboardHook(key(SDL_KEYUP, SDLK_RSHIFT).key);
        };
        if (hud) {
            runWithProgressHUD("Waiting",
                               [&] {
                                   probe();
                                   // Return does nothing to the overlay.
                                   handleWindowEvent(key(SDL_KEYDOWN, SDLK_RETURN));
                                   EXPECT_TRUE(progressHudShown());
                                   return 0;
                               },
                               {});
        } else {
            showErrorPopup("probe");
            probe();
        }
        EXPECT_FALSE(gAppMinimized);
        EXPECT_TRUE(tabAlone) << hud;
        EXPECT_FALSE(shiftTab) << hud;
    }
}

TEST_F(PopupTest, ASecondPopupReplacesTheFirstWithTheButtonSound) {
    showErrorPopup("first");
    const int before = buttonSounds();
    showErrorPopup("second");
    EXPECT_EQ(buttonSounds(), before + 1);
    EXPECT_TRUE(messageBoxShown());
    EXPECT_EQ(gPopupText, "second");
    closePopup();
    EXPECT_EQ(buttonSounds(), before + 2);
}

TEST_F(PopupTest, TheJobRunnerDrawsOneFrameBeforeTheJobOnlyWithTheOverlay) {
    DesktopShellServices services;
    setShellServices(&services);
    for (bool hud : {false, true}) {
        if (hud)
            BConfig::instance().define("useProgressHUD");
        clearShellCalls();
        int jobs = 0;
        int completions = 0;
        int result = -1;
        size_t framesBeforeJob = 0;
        bool overlayDuringJob = false;
        shellServices().runWithProgressHUD(
            [&] {
                ++jobs;
                const std::vector<std::string> calls = shellCalls();
                framesBeforeJob = size_t(std::count(calls.begin(), calls.end(), "frame"));
                overlayDuringJob = progressHudShown();
                return 7;
            },
            "Submitting...",
            [&](int code) {
                ++completions;
                result = code;
            });
        EXPECT_EQ(jobs, 1) << hud;
        EXPECT_EQ(completions, 1) << hud;
        EXPECT_EQ(result, 7) << hud;
        EXPECT_EQ(framesBeforeJob, hud ? 1u : 0u) << hud;
        EXPECT_EQ(overlayDuringJob, hud) << hud;
        EXPECT_FALSE(progressHudShown()) << hud;
        EXPECT_FALSE(gPopupShown) << hud;
    }
}

TEST_F(PopupTest, TheMessageBoxIsDrawnOverTheBoardAndTheMenus) {
    // Pixels at known points of the window (top-down), read before the swap.
    std::array<std::array<uint8_t, 4>, 4> pixels{};
    const std::array<std::pair<int, int>, 4> points = {{
        {620, 560},  // inside the box, away from the text: its dark fill
        {1030, 549}, // the OK button left of its label: green
        {500, 700},  // the board beside the box: the page's board colour
        {1190, 229}, // the close button below its cross: red
    }};
    setBeforeSwapHandler([&] {
        for (size_t i = 0; i < points.size(); ++i)
            glReadPixels(points[i].first, 990 - 1 - points[i].second, 1, 1, GL_RGBA,
                         GL_UNSIGNED_BYTE, pixels[i].data());
    });
    for (bool gameView : {true, false}) {
        mPage.setGameViewShown(gameView);
        showErrorPopup("Sample");
        runFrameTick(true);
        EXPECT_NEAR(pixels[0][0], 44, 3) << gameView;
        EXPECT_NEAR(pixels[0][2], 66, 3) << gameView;
        EXPECT_GT(pixels[1][1], 140) << gameView;
        EXPECT_LT(pixels[1][0], 110) << gameView;
        EXPECT_NEAR(pixels[2][1], 92, 4) << "board green " << gameView;
        EXPECT_GT(pixels[3][0], 150) << gameView;
        EXPECT_LT(pixels[3][1], 80) << gameView;
    }
}
