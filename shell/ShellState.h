#pragma once

// The shell's process-wide state and its call record. Start-up, the frame
// tick, the quit and the game-data load note each step they take in the
// record while recording is on (tests turn it on; the program leaves it
// off, as the main loop would grow it without end).

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct SDL_Window;

// The main loop runs while it is set; quitApplication clears it.
extern std::atomic<bool> gAppRunning;
// Set while the main window is minimised or hidden.
extern bool gAppMinimized;
// The main window (the engine's view lives in it); null before start-up
// made it and after shutdown.
extern SDL_Window* gMainWindow;
// Set by the first prepLaunch of the run.
extern bool gPrepLaunchDone;

void setShellCallRecording(bool on);
void recordShellCall(std::string_view name);
std::vector<std::string> shellCalls();
void clearShellCalls();

// The 32-bit millisecond clock (wrapping), SDL's ticks unless replaced.
uint32_t shellMilliseconds();
// Replaces the clock (tests step one by hand); empty restores SDL's.
void setShellMillisecondClock(std::function<uint32_t()> clock);

// Steps whose work lies with other parts of the program. Each default notes
// its name in the record and does nothing else; the parts that do the work
// install their own.
struct ShellSeams {
    // Start-up: the platform's stats request and leaderboard look-ups.
    std::function<void()> requestStatsAndLeaderboards;
    // Start-up: the interface's private fonts.
    std::function<void()> loadPrivateFonts;
    // Start-up: the page's native call road (bridge functions).
    std::function<void()> registerBridge;
    // Start-up: the splash window, which the page closes later. With no
    // splash window yet, the default shows the main window at once.
    std::function<void()> showSplashScreen;
    // Every pass: the bridge's per-frame update.
    std::function<void()> bridgeUpdate;
    // Quit: the tray icon's removal.
    std::function<void()> removeTrayIcon;
    // prepLaunch: the build version text shown on the login page.
    std::function<std::string()> buildVersionText;
    // The page's closeSplashScreen: the splash window goes, the main window
    // shows and repaints. With no splash window yet, the default shows the
    // main window.
    std::function<void()> closeSplashScreen;
    // The tray's icon: the new-turn one (true) or the normal one.
    std::function<void(bool newTurn)> setTrayIcon;
    // Logout: the new-turn notice forgets its count of waiting games.
    std::function<void()> resetWaitingGamesCount;
    // Puzzles: leaving the board for the page.
    std::function<void()> popGameScene;
    // A puzzle took the board: the on-screen game's id is -1 (no game of
    // the service).
    std::function<void()> forgetOpenGameId;
};
ShellSeams& shellSeams();
// Every seam back to its recording default.
void resetShellSeams();
