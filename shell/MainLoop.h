#pragma once

// The main loop's pass, the orderly quit and the focus procedures.
//
// A pass draws a frame only when the engine says one is due: the page's
// image, the board's tick while the game view shows, the swap, all under
// the game lock and nothing else under it; then, every pass, the platform
// callbacks, the audio update, the bridge's update and one unit of the
// page's work with the window's events. The loop has no wait of its own.

#include <SDL.h>

#include <functional>

// One pass of the main loop (also called by jobs that want a frame drawn);
// frameDue draws the frame whether or not the engine says one is due.
void runFrameTick(bool frameDue = false);
// Called between the frame's drawing and its swap (the test driver's
// screenshot); empty for none.
void setBeforeSwapHandler(std::function<void()> handler);

// The orderly quit: audio ended, the secure store saved, the page told its
// parent window closes and its loop quit, the tray icon removed, a quit
// event posted and the loop told to end after this pass.
void quitApplication();

// Focus lost: audio muted and the frame rate down to "BackgroundFPSCap"
// (10 when unset).
void onAppDeactivated();
// Focus back, unless minimised: audio resumed and 60 frames a second.
void onAppActivated();

// A window event: minimising is the shell's, the close request quits, focus
// changes are the shell's and the page host's, the rest go to the page host
// (which passes them on to the engine's view while the game view shows).
void handleWindowEvent(const SDL_Event& event);
