#pragma once

// The shell's own popups, drawn in the main window over the page and, when
// the game view shows, the board: the message box (a text, an OK button and
// a close button) and the progress overlay (a text while a job runs). Both
// sit centred over the board's rectangle at the size of their background
// art; while one is up it takes all of the window's input. Main thread
// only.

#include "shell/LayoutModes.h"

#include <SDL.h>

#include <functional>
#include <string>

// The text both popups show; callers set it before showErrorPopup.
extern std::string gPopupText;
// Set while a popup is up.
extern bool gPopupShown;
extern bool gCloseButtonHot;
extern bool gOkButtonPressed;

// The popups' art (data folder, "-hd" twins at the window's pixels).
inline constexpr const char* cPopupBackgroundArt = "interface/Popup_Background.png";
inline constexpr const char* cPopupOkArt = "interface/Popup_OK.png";
inline constexpr const char* cPopupOkPressedArt = "interface/Popup_OK_Pressed.png";
inline constexpr const char* cPopupCloseArt = "interface/Popup_Close.png";
inline constexpr const char* cPopupCloseHotArt = "interface/Popup_Close_Hot.png";
inline constexpr const char* cPopupButtonSound = "sound/Generic_Push_Button.mp3";

// Where a popup lies, in the main window's client pixels: the popup, and
// its OK and close buttons (the close button overhangs the top right corner
// and only its part inside the popup takes clicks). All empty for none.
struct PopupGeometry {
    LayoutRect window;
    LayoutRect ok;
    LayoutRect close;
};
// The geometry of a popup of that background size over the layout mode's
// board: centred, halves rounded toward zero; the buttons at their art's
// sizes.
PopupGeometry popupGeometry(int mode, int width, int height, int okWidth, int okHeight,
                            int closeWidth, int closeHeight);
// The geometry of the popup that is up (the art's sizes read from the data
// folder; missing art counts as 0 x 0).
const PopupGeometry& currentPopupGeometry();

// Whether the message box or the progress overlay is up.
bool messageBoxShown();
bool progressHudShown();

// Shows gPopupText in the message box, replacing one that is up (which
// closes with the button sound).
void showErrorPopup();
// Sets gPopupText and shows it.
void showErrorPopup(const std::string& text);
// Closes the message box: the popup flags cleared and the button sound
// played (also with no box up).
void closePopup();

// A window event while a popup is up: the popup's mouse and key handling.
// True when the popup took the event (every mouse, key and text event while
// one is up); window events and the quit are never taken.
bool handlePopupEvent(const SDL_Event& event);
// The key rules of a popup: Return and Escape close the message box on key
// down while the main window has focus and is not minimised, Alt+F4 closes
// it and quits; Tab and the Shift keys are tracked. False when the event is
// swallowed (Shift+Tab), true when it passes on.
bool popupKeyboardHook(const SDL_KeyboardEvent& key);

// Draws the popups that are up over the frame (after the board, before the
// swap); nothing without a view.
void paintPopups();

// Runs job and then completion with its result, both on this thread. With
// the option "useProgressHUD" set, the progress overlay shows text while the
// job runs: one frame is drawn before it (the only drawing until it ends)
// and the overlay goes after it.
void runWithProgressHUD(const std::string& text, const std::function<int()>& job,
                        const std::function<void(int)>& completion);

// Shows the progress overlay with text whatever the option says, draws one
// frame, runs job on this thread, then takes the overlay down.
void runUnderProgressHUD(const std::string& text, const std::function<void()>& job);

// Drops both popups without sound (shutdown and tests).
void resetPopups();
