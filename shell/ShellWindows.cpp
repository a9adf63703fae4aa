#include "shell/ShellWindows.h"

#include "shell/ArtSize.h"
#include "shell/ShellState.h"
#include "shell/Tray.h"

#include "content/BConfig.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCFontTable.h"
#include "platform/render/CCImage.h"

#include <SDL.h>

#include <cstdio>
#include <fstream>

namespace {

SDL_Window* gSplashWindow = nullptr;

constexpr const char* cAppIconArt = "interface/AppIcon.png";
constexpr const char* cSplashArt = "interface/Splash.png";

// An image of the data folder ("-hd" twin first) as an RGBA surface over
// image's pixels; null when it cannot be read.
SDL_Surface* loadSurface(const std::string& art, cocos2d::CCImage& image) {
    std::string hd = art;
    hd.insert(hd.rfind('.'), "-hd");
    if (!image.initWithImageFile(cocos2d::CCFileUtils::fullPathFromRelativePath(hd)) &&
        !image.initWithImageFile(cocos2d::CCFileUtils::fullPathFromRelativePath(art)))
        return nullptr;
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(image.getData().data()),
                                              image.getWidth(), image.getHeight(), 32,
                                              image.getWidth() * 4, SDL_PIXELFORMAT_ABGR8888);
}

void showMainWindowNow() {
    if (gMainWindow != nullptr)
        SDL_ShowWindow(gMainWindow);
}

} // namespace

MainWindowPlacement mainWindowPlacement(const DesktopMode& desktop, int width, int height) {
    if (desktop.width == width && desktop.height == height)
        return MainWindowPlacement{0, 0, true};
    return MainWindowPlacement{std::max(0, (desktop.width - width) / 2),
                               std::max(0, (desktop.height - height) / 2), false};
}

void setWindowIcon(SDL_Window* window) {
    if (window == nullptr)
        return;
    cocos2d::CCImage image;
    if (SDL_Surface* icon = loadSurface(cAppIconArt, image)) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

void showSplashScreen() {
    recordShellCall("showSplashScreen");
    if (BConfig::instance().isSet("noSplashScreen") || gMainWindow == nullptr) {
        showMainWindowNow();
        return;
    }
    cocos2d::CCImage image;
    SDL_Surface* picture = loadSurface(cSplashArt, image);
    if (picture == nullptr) {
        // No splash art: the main window shows at once.
        std::printf("no splash image: %s\n", cSplashArt);
        showMainWindowNow();
        return;
    }
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(gMainWindow, &x, &y);
    SDL_GetWindowSize(gMainWindow, &width, &height);
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
    if (!BConfig::instance().isSet("DevSplash"))
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    gSplashWindow = SDL_CreateWindow("Tarnwick", x + (width - picture->w) / 2,
                                     y + (height - picture->h) / 2, picture->w, picture->h, flags);
    if (gSplashWindow == nullptr) {
        SDL_FreeSurface(picture);
        showMainWindowNow();
        return;
    }
    // A plain software surface: the splash is one blit, and a renderer
    // behind the surface would load a second GL driver for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Surface* surface = SDL_GetWindowSurface(gSplashWindow)) {
        SDL_BlitSurface(picture, nullptr, surface, nullptr);
        SDL_UpdateWindowSurface(gSplashWindow);
    }
    SDL_FreeSurface(picture);
}

void destroySplashWindow() {
    if (gSplashWindow == nullptr)
        return;
    recordShellCall("destroySplashWindow");
    SDL_DestroyWindow(gSplashWindow);
    gSplashWindow = nullptr;
}

void closeSplashScreen() {
    destroySplashWindow();
    showMainWindowNow();
}

SDL_Window* splashWindow() {
    return gSplashWindow;
}

const std::vector<std::string>& privateFontFiles() {
    static const std::vector<std::string> files = {"BlambotFXProHeavyLowerCapsBB.ttf",
                                                   "BlambotFXProLightBB.ttf", "NanumGothic.ttf",
                                                   "NanumGothicBold.ttf"};
    return files;
}

int loadPrivateFonts(const std::filesystem::path& folder) {
    recordShellCall("loadPrivateFonts");
    int registered = 0;
    for (const std::string& name : privateFontFiles()) {
        const std::filesystem::path file = folder / name;
        if (!std::ifstream(file, std::ios::binary).good()) {
            std::printf("font %s not found: the stand-in font draws it\n", name.c_str());
            continue;
        }
        cocos2d::CCFontTable::setFileForName(file.stem().string(), file.string());
        ++registered;
    }
    std::fflush(stdout);
    return registered;
}

void installWindowSeams(const std::filesystem::path& root) {
    ShellSeams& seams = shellSeams();
    seams.loadPrivateFonts = [root] { loadPrivateFonts(root); };
    seams.showSplashScreen = [] { showSplashScreen(); };
    seams.removeTrayIcon = [] {
        recordShellCall("removeTrayIcon");
        trayBackend().remove();
    };
}
