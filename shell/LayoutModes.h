#pragma once

// The window's layout modes: the client size of the main window and the
// places of the page's panels for each of the three modes, and the choice of
// a mode by the desktop's size. Mode 0 is never chosen; its rectangles exist
// for completeness.

#include <optional>

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// The desktop as SDL's desktop display mode reports it: pixels and bytes per
// pixel (a depth of 24 uses 4 bytes). All zero when SDL cannot tell.
struct DesktopMode {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
};

// SDL's desktop mode of the first display, or the override when one is set.
DesktopMode desktopMode();
// Replaces what desktopMode answers (tests and the test driver); nullopt
// restores SDL's answer.
void setDesktopModeOverride(std::optional<DesktopMode> mode);

// Mode 1 when the option "forceLayoutMedium" is set or (with apply) the
// stored preference "Vellix_MediumLayout" is true; else 2 on a desktop of at
// least 1434 by 990, else 1. With apply the mode also becomes the board
// scene's layout mode.
int chooseLayoutMode(bool apply);

// The rectangles of a mode; false, writing nothing, for any other mode.
bool layoutWindowSize(int mode, int& width, int& height);
bool layoutBoardRect(int mode, LayoutRect& out);
bool layoutNavMenuRect(int mode, LayoutRect& out);
bool layoutChatRect(int mode, LayoutRect& out);
