#pragma once

// The program's start-up, main loop and shutdown, shared by tarnwick and
// its test driver tarnwick-demo.

#include <filesystem>

class PageHost;

struct ShellOptions {
    // The folder holding data/ and vellix/; the current folder when empty.
    std::filesystem::path root;
    // The page host; a recording host when null.
    PageHost* page = nullptr;
};

// The options' root made absolute (the current folder when empty).
std::filesystem::path shellRootFolder(const ShellOptions& options);

// Runs start-up in order, the main loop until the quit, then the shutdown;
// the process's exit code (0 after an orderly run, 1 when the main window,
// the view or the game data failed). Fatal problems end the
// process (fatalExit).
int runShell(const ShellOptions& options);

// Does units of the page's work until its client exists; more than 2000 ms
// on the millisecond clock (wrapping) is fatal ("UNKNOWN ERROR CREATING OSR
// HANDLER"). No work when it exists already.
void waitForPageClient(PageHost& page);

// The desktop checks of start-up: not 4 bytes per pixel is fatal
// ("32BitDesktopRequired"); below 1280 by 680 the localised
// "ScreenResTooSmall" is logged and start-up goes on.
void checkDesktopColorDepth();
void checkScreenResolution();
