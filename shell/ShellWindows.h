#pragma once

// The shell's windows besides the popups: the main window's placement and
// icon, the splash window, the private fonts, and the window steps the
// start-up and the quit take through the shell's seams.

#include "shell/LayoutModes.h"

#include <filesystem>
#include <string>
#include <vector>

struct SDL_Window;

// Where the main window goes on the desktop: borderless at (0, 0) when the
// client size equals the desktop's, else centred (never above or left of
// the desktop's corner).
struct MainWindowPlacement {
    int x = 0;
    int y = 0;
    bool borderless = false;
    bool operator==(const MainWindowPlacement&) const = default;
};
MainWindowPlacement mainWindowPlacement(const DesktopMode& desktop, int width, int height);
// The program's icon on a window; missing art leaves the window's own.
void setWindowIcon(SDL_Window* window);

// The splash window: the splash image in a borderless window centred over
// the main window, kept on top unless "DevSplash"; none with
// "noSplashScreen", when the main window shows at once.
void showSplashScreen();
// Destroys the splash window and shows the main window (the page calls it
// once loaded).
void closeSplashScreen();
// Destroys the splash window only (fatalExit).
void destroySplashWindow();
// The splash window, or null.
SDL_Window* splashWindow();

// The interface's private fonts, by file name, looked for in folder.
const std::vector<std::string>& privateFontFiles();
// Registers each readable font file under its name (the file's stem) for
// the engine's labels; a missing one keeps the stand-in font and logs one
// line. Answers how many were registered.
int loadPrivateFonts(const std::filesystem::path& folder);

// Fills the shell's seams for fonts, the splash window and the tray icon's
// removal.
void installWindowSeams(const std::filesystem::path& root);
