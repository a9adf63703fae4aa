#include "shell/LayoutModes.h"

#include "content/BConfig.h"
#include "content/Preferences.h"
#include "scene/GameScene.h"

#include <SDL.h>

#include <array>

namespace {

std::optional<DesktopMode> gDesktopOverride;

constexpr int cModeCount = 3;
constexpr std::array<LayoutRect, cModeCount> cWindowSizes = {
    {{0, 0, 800, 600}, {0, 0, 1280, 680}, {0, 0, 1434, 990}}};
constexpr std::array<LayoutRect, cModeCount> cBoardRects = {
    {{315, 14, 480, 320}, {313, 14, 960, 640}, {395, 14, 1024, 768}}};
constexpr std::array<LayoutRect, cModeCount> cNavMenuRects = {
    {{4, 44, 300, 540}, {6, 58, 302, 299}, {14, 54, 370, 922}}};
constexpr std::array<LayoutRect, cModeCount> cChatRects = {
    {{315, 380, 480, 205}, {7, 364, 300, 288}, {395, 795, 1025, 183}}};

bool pick(const std::array<LayoutRect, cModeCount>& table, int mode, LayoutRect& out) {
    if (mode < 0 || mode >= cModeCount)
        return false;
    out = table[size_t(mode)];
    return true;
}

} // namespace

DesktopMode desktopMode() {
    if (gDesktopOverride)
        return *gDesktopOverride;
    DesktopMode result;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return result;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return result;
    result.width = mode.w;
    result.height = mode.h;
    result.bytesPerPixel = int(SDL_BYTESPERPIXEL(mode.format));
    return result;
}

void setDesktopModeOverride(std::optional<DesktopMode> mode) {
    gDesktopOverride = mode;
}

int chooseLayoutMode(bool apply) {
    int mode = 1;
    bool medium = false;
    if (apply)
        prefGetBool("Vellix_MediumLayout", medium);
    if (!BConfig::instance().isSet("forceLayoutMedium") && !medium) {
        const DesktopMode desktop = desktopMode();
        mode = desktop.width >= 1434 && desktop.height >= 990 ? 2 : 1;
    }
    if (apply)
        GameScene::setLayoutMode(mode);
    return mode;
}

bool layoutWindowSize(int mode, int& width, int& height) {
    LayoutRect rect;
    if (!pick(cWindowSizes, mode, rect))
        return false;
    width = rect.width;
    height = rect.height;
    return true;
}

bool layoutBoardRect(int mode, LayoutRect& out) {
    return pick(cBoardRects, mode, out);
}

bool layoutNavMenuRect(int mode, LayoutRect& out) {
    return pick(cNavMenuRects, mode, out);
}

bool layoutChatRect(int mode, LayoutRect& out) {
    return pick(cChatRects, mode, out);
}
