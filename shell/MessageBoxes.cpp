#include "shell/MessageBoxes.h"

#include "shell/ShellState.h"
#include "shell/ShellWindows.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool isHeadless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x == nullptr || *x == '\0') && (wayland == nullptr || *wayland == '\0');
}

void showMessageBox(const std::string& caption, const std::string& text) {
    recordShellCall("messageBox:" + caption);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (!isHeadless())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

void fatalExit(const std::string& text) {
    destroySplashWindow();
    showMessageBox("ERROR", text);
    std::fflush(stdout);
    std::exit(1);
}
