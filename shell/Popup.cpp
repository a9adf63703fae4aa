#include "shell/Popup.h"

#include "shell/ArtSize.h"
#include "shell/MainLoop.h"
#include "shell/ShellState.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "platform/engine/CCApplication.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCRenderer.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "scene/GameScene.h"
#include "scene/sound/SoundPlayback.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdio>

std::string gPopupText;
bool gPopupShown = false;
bool gCloseButtonHot = false;
bool gOkButtonPressed = false;

namespace {

using namespace cocos2d;

bool gMessageBoxUp = false;
bool gProgressHudUp = false;
PopupGeometry gGeometry;
// The popup's text as it was when the popup came up.
std::string gMessageText;
std::string gHudText;
// The key states the hook tracks.
bool gTabDown = false;
bool gLeftShiftDown = false;
bool gRightShiftDown = false;
// Whether the main window has the keyboard focus, by its focus events.
bool gWindowFocused = true;

bool inside(const LayoutRect& rect, int x, int y) {
    return x >= rect.x && x <= rect.x + rect.width && y >= rect.y && y <= rect.y + rect.height;
}

// The part of rect inside bounds.
LayoutRect clipped(const LayoutRect& rect, const LayoutRect& bounds) {
    const int left = std::max(rect.x, bounds.x);
    const int top = std::max(rect.y, bounds.y);
    const int right = std::min(rect.x + rect.width, bounds.x + bounds.width);
    const int bottom = std::min(rect.y + rect.height, bounds.y + bounds.height);
    if (right <= left || bottom <= top)
        return LayoutRect{};
    return LayoutRect{left, top, right - left, bottom - top};
}

void createPopup(bool messageBox) {
    gPopupShown = true;
    const ArtSize background = artPixelSize(cPopupBackgroundArt);
    const ArtSize ok = artPixelSize(cPopupOkArt);
    const ArtSize close = artPixelSize(cPopupCloseArt);
    gGeometry = popupGeometry(GameScene::layoutMode(), background.width, background.height,
                              ok.width, ok.height, close.width, close.height);
    if (messageBox) {
        gMessageBoxUp = true;
        gMessageText = gPopupText;
    } else {
        gProgressHudUp = true;
        gHudText = gPopupText;
    }
    gCloseButtonHot = false;
    gOkButtonPressed = false;
    gTabDown = gLeftShiftDown = gRightShiftDown = false;
}

// The overlay goes without sound; the message box stays.
void dropProgressHud() {
    gPopupShown = false;
    gProgressHudUp = false;
}

// Window pixels to the director's points (y up from the window's bottom).
CCPoint toPoints(float x, float y, float windowHeight, float scale) {
    return CCPoint(x / scale, (windowHeight - y) / scale);
}

// A label of the header font, word-wrapped and centred in width pixels,
// black with its light copy 2 pixels right and up, centred on (x, y)
// (window pixels).
void addShadowedText(CCNode* parent, const std::string& text, float pixels, float width, float x,
                     float y, float windowHeight, float scale) {
    const ccColor3B colors[2] = {ccColor3B{0, 0, 0}, ccColor3B{240, 240, 240}};
    for (int copy = 0; copy < 2; ++copy) {
        CCLabelTTF* label =
            CCLabelTTF::labelWithString(text.c_str(), CCSize(width / scale, 0.0f),
                                        CCTextAlignmentCenter, getHeaderFontName(), pixels / scale);
        if (label == nullptr)
            return;
        label->setColor(colors[copy]);
        label->setAnchorPoint(CCPoint(0.5f, 0.5f));
        label->setPosition(toPoints(x + 2.0f * copy, y - 2.0f * copy, windowHeight, scale));
        parent->addChild(label);
    }
}

// A sprite of the art with its top-left corner at rect's (window pixels);
// missing art draws nothing.
void addArt(CCNode* parent, const char* art, const LayoutRect& rect, float windowHeight,
            float scale) {
    CCSprite* sprite = CCSprite::spriteWithFile(art);
    if (sprite == nullptr)
        return;
    sprite->setAnchorPoint(CCPoint(0.0f, 1.0f));
    sprite->setPosition(toPoints(float(rect.x), float(rect.y), windowHeight, scale));
    parent->addChild(sprite);
}

void drawPopup(bool withButtons, const std::string& text) {
    CCDirector* director = CCDirector::sharedDirector();
    CCRenderer* renderer = director != nullptr ? director->getRenderer() : nullptr;
    if (renderer == nullptr)
        return;
    int boardX = 0, boardY = 0, boardWidth = 0, boardHeight = 0, windowWidth = 0, windowHeight = 0;
    CCApplication::getSceneDims(boardX, boardY, boardWidth, boardHeight, windowWidth, windowHeight);
    const float scale = std::max(1.0f, director->getContentScaleFactor());
    const float height = float(windowHeight);
    const PopupGeometry& g = gGeometry;
    CCScene* layer = CCScene::node();
    addArt(layer, cPopupBackgroundArt, g.window, height, scale);
    // The text's band: (13, H/2 - h/2 - 23) to (W - 17, H/2 + h/2 - 23).
    const float textWidth = float(g.window.width - 30);
    addShadowedText(layer, text, 40.0f, textWidth, float(g.window.x + 13) + textWidth / 2.0f,
                    float(g.window.y) + float(g.window.height) / 2.0f - 23.0f, height, scale);
    if (withButtons) {
        addArt(layer, gOkButtonPressed ? cPopupOkPressedArt : cPopupOkArt, g.ok, height, scale);
        addShadowedText(layer, localizedString("OK"), 30.0f, float(g.ok.width),
                        float(g.ok.x + 2) + float(g.ok.width) / 2.0f,
                        float(g.ok.y) + float(g.ok.height) / 2.0f, height, scale);
        // The close button overhangs the top right corner; the window clips it.
        const ArtSize close = artPixelSize(cPopupCloseArt);
        const LayoutRect full{g.window.x + g.window.width - close.width + 7, g.window.y - 10,
                              close.width, close.height};
        CCScene* overhang = CCScene::node();
        addArt(overhang, gCloseButtonHot ? cPopupCloseHotArt : cPopupCloseArt, full, height, scale);
        renderer->drawScene(layer);
        glEnable(GL_SCISSOR_TEST);
        glScissor(g.window.x, windowHeight - g.window.y - g.window.height, g.window.width,
                  g.window.height);
        renderer->drawScene(overhang);
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    renderer->drawScene(layer);
}

} // namespace

PopupGeometry popupGeometry(int mode, int width, int height, int okWidth, int okHeight,
                            int closeWidth, int closeHeight) {
    PopupGeometry g;
    LayoutRect board;
    if (!layoutBoardRect(mode, board))
        return g;
    g.window = LayoutRect{board.x + (board.width - width) / 2,
                          board.y + (board.height - height) / 2, width, height};
    g.ok = LayoutRect{g.window.x + width - okWidth - 15, g.window.y + height - okHeight - 13,
                      okWidth, okHeight};
    g.close = clipped(
        LayoutRect{g.window.x + width - closeWidth + 7, g.window.y - 10, closeWidth, closeHeight},
        g.window);
    return g;
}

const PopupGeometry& currentPopupGeometry() {
    return gGeometry;
}

bool messageBoxShown() {
    return gMessageBoxUp;
}

bool progressHudShown() {
    return gProgressHudUp;
}

void showErrorPopup() {
    closePopup();
    recordShellCall("showErrorPopup");
    std::printf("Popup: %s\n", gPopupText.c_str());
    std::fflush(stdout);
    createPopup(true);
}

void showErrorPopup(const std::string& text) {
    gPopupText = text;
    showErrorPopup();
}

void closePopup() {
    gPopupShown = false;
    if (gMessageBoxUp)
        recordShellCall("closePopup");
    gMessageBoxUp = false;
    gCloseButtonHot = false;
    gOkButtonPressed = false;
    playSoundEffect(cPopupButtonSound, nullptr, false);
}

bool popupKeyboardHook(const SDL_KeyboardEvent& key) {
    if (gAppMinimized || !gWindowFocused)
        return true;
    const bool down = key.type == SDL_KEYDOWN;
    switch (key.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_ESCAPE:
        if (down && key.repeat == 0)
            closePopup();
        break;
    case SDLK_F4:
        if (down && (key.keysym.mod & KMOD_ALT) != 0) {
            closePopup();
            quitApplication();
        }
        break;
    case SDLK_TAB:
        gTabDown = down;
        break;
    case SDLK_LSHIFT:
        gLeftShiftDown = down;
        break;
    case SDLK_RSHIFT:
        gRightShiftDown = down;
        break;
    default:
        break;
    }
    return !(gTabDown && (gLeftShiftDown || gRightShiftDown));
}

bool handlePopupEvent(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        gWindowFocused = true;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        gWindowFocused = false;
    if (!gMessageBoxUp && !gProgressHudUp)
        return false;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        popupKeyboardHook(event.key);
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
            gCloseButtonHot = false;
            gOkButtonPressed = false;
        }
        return false;
    case SDL_MOUSEMOTION:
        if (gMessageBoxUp) {
            const bool over = inside(gGeometry.window, event.motion.x, event.motion.y);
            gCloseButtonHot = over && inside(gGeometry.close, event.motion.x, event.motion.y);
            // Leaving the box is the mouse's leave: the pressed OK button lets go.
            if (!over)
                gOkButtonPressed = false;
        }
        return true;
    case SDL_MOUSEBUTTONDOWN:
        if (gMessageBoxUp && event.button.button == SDL_BUTTON_LEFT &&
            inside(gGeometry.window, event.button.x, event.button.y) &&
            inside(gGeometry.ok, event.button.x, event.button.y))
            gOkButtonPressed = true;
        return true;
    case SDL_MOUSEBUTTONUP:
        if (gMessageBoxUp && event.button.button == SDL_BUTTON_LEFT) {
            gOkButtonPressed = false;
            const int x = event.button.x;
            const int y = event.button.y;
            if (inside(gGeometry.window, x, y) &&
                (inside(gGeometry.ok, x, y) || inside(gGeometry.close, x, y)))
                closePopup();
        }
        return true;
    case SDL_MOUSEWHEEL:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
    case SDL_FINGERMOTION:
        return true;
    default:
        return false;
    }
}

void paintPopups() {
    if (gMessageBoxUp)
        drawPopup(true, gMessageText);
    if (gProgressHudUp)
        drawPopup(false, gHudText);
}

void runWithProgressHUD(const std::string& text, const std::function<int()>& job,
                        const std::function<void(int)>& completion) {
    const auto run = [&] {
        if (job) {
            const int result = job();
            if (completion)
                completion(result);
        }
    };
    if (BConfig::instance().isSet("useProgressHUD"))
        runUnderProgressHUD(text, run);
    else
        run();
}

void runUnderProgressHUD(const std::string& text, const std::function<void()>& job) {
    recordShellCall("progressHUD:show");
    gPopupText = text;
    dropProgressHud();
    createPopup(false);
    runFrameTick(true);
    if (job)
        job();
    recordShellCall("progressHUD:hide");
    dropProgressHud();
}

void resetPopups() {
    gPopupShown = false;
    gMessageBoxUp = false;
    gProgressHudUp = false;
    gCloseButtonHot = false;
    gOkButtonPressed = false;
    gTabDown = gLeftShiftDown = gRightShiftDown = false;
    gGeometry = PopupGeometry{};
    gWindowFocused = true;
}
