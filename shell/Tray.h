#pragma once

// The tray icon as a model: its menu of the player's waiting games, its tip,
// its icon state and its balloons, the menu's commands and the icon's mouse
// and balloon events. A back end shows the changes; the default one writes
// one log line per change (tests and headless runs). Waiting games are the
// listed games in which it is the local player's turn, oldest first, so the
// last one is the newest. Main thread only.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Menu item ids.
inline constexpr int cTrayOpen = 1025;
inline constexpr int cTrayGames = 1026;
inline constexpr int cTrayExit = 1027;
inline constexpr int cTrayFirstGame = 1028;
inline constexpr int cTrayLastGame = 1034;
inline constexpr int cTrayDivider = 1035;
// The tip keeps at most this many UTF-16 units (its field holds one more
// for the terminator).
inline constexpr size_t cTrayTipUnits = 127;

struct TrayMenuItem {
    int id = 0;
    // The drawn text; empty for a divider and for a game that left the list.
    std::string text;
    // A game item's civ icons: the local player's and the opponent's.
    std::string localCivIcon;
    std::string opponentCivIcon;
    bool isDefault = false;
    bool operator==(const TrayMenuItem&) const = default;
};

// What shows the tray: the icon (waiting or normal), the tip, the balloons
// and the menu.
class TrayBackend {
public:
    virtual ~TrayBackend();
    virtual void setIcon(bool waiting) = 0;
    virtual void setTip(const std::string& tip) = 0;
    // False when the balloon was refused.
    virtual bool showBalloon(const std::string& title, const std::string& text) = 0;
    virtual void showMenu(const std::vector<TrayMenuItem>& items) = 0;
    virtual void remove() = 0;
};

// One log line per change ("Tray: tip Tarnwick"), kept for tests; refuses
// balloons while refuseBalloons is set.
class LoggingTrayBackend : public TrayBackend {
public:
    void setIcon(bool waiting) override;
    void setTip(const std::string& tip) override;
    bool showBalloon(const std::string& title, const std::string& text) override;
    void showMenu(const std::vector<TrayMenuItem>& items) override;
    void remove() override;

    std::vector<std::string> mLines;
    bool refuseBalloons = false;

private:
    void log(const std::string& line);
};

// The back end in use: the installed one, else a process-wide logging one.
TrayBackend& trayBackend();
// Installs a back end (which must outlive its use); null restores the
// logging one.
void setTrayBackend(TrayBackend* backend);

extern bool gTrayHelpShown;
extern bool gTrayDoubleClicked;
extern bool gTrayIconWaiting;
extern bool gBalloonOpensGame;
extern int32_t gLastWaitingCount;
// The menu's game items: item id to game id.
extern std::map<int, int64_t> gTrayMenuGames;

// The tray's icon of a civ (names compared ignoring case): "humans",
// "darkelves", "dwarves", "orcs", "kx4a", any other the neutral one.
std::string civIconBitmap(const std::string& civName);

// The menu: while logged in the games item (default), a divider, the 7
// newest waiting games newest first and, with any, a second divider; then
// Open and Exit. Fills gTrayMenuGames and hands the menu to the back end.
std::vector<TrayMenuItem> buildTrayMenu();
// After each rebuild of the games list: the icon follows whether games
// wait; one more waiting game shows "NewTurnBalloon" with its opponent,
// several "MultipleNewTurnsBalloon" with their number.
void notifyNewTurns();
void setTrayIcon(bool waiting);
// At most cTrayTipUnits UTF-16 units, never splitting a character.
void setTrayTip(const std::string& text);
bool showTrayBalloon(bool opensGame, const std::string& title, const std::string& text);
// Sound back, the main window restored and raised, and the page told to
// open the game.
void openGameFromTray(int64_t gameId);
// A menu item chosen.
void trayMenuCommand(int id);

enum class TrayEvent { MouseMove, LeftDoubleClick, LeftButtonUp, RightButtonDown, BalloonClicked };
void handleTrayEvent(TrayEvent event);

// Flashes the main window when it is minimised or lacks the focus.
void flashWindowIfInactive();
// The main window was minimised: the help balloon (once a run while logged
// in, every time while logged out), sound muted, the window hidden with
// "MinimizeToTray", the minimised flag set.
void onMainWindowMinimized();
// The main window was restored: the flag cleared, the sound setting
// re-applied.
void onMainWindowRestored();
// The tray's state back to the start of a run (tests).
void resetTray();
