#pragma once

// The one-time load of the game data, asked for by the menu page when its
// login page is ready (prepLaunch), and the filling of that page.

#include <string>

// The game server's base address: $TARNWICK_SERVER_URL when set and not
// empty, else the loopback server "http://127.0.0.1:8787/". The news and
// the other two bases are the same server.
std::string serverBaseUrl();

// The first call of the run loads the game data (initGame) and fills the
// login page; later calls do nothing.
void prepLaunch();
// The login page's statements after the load: the panels and background of
// the layout mode, the localised texts, the stored user name and password
// (escaped), the first-time flag and, with "ShowBuildVersion", the build
// version.
void fillLoginPage(int layoutMode);
// The page's panels placed for a layout mode.
void positionPageElements(int layoutMode);
// initGameSystems and postInitGame; after a failed load the "Fatal Error"
// box with the localised "Game Data Corrupt" text, then the quit.
void initGame();
// Every loader in order; a failing one prints its line and sets
// gGameInitFailed, and the later ones still run.
void initGameSystems();
// The frame-rate display, the service's base addresses, the device id and
// the reset of the achievements ("ResetAchievements").
void postInitGame();
// True for a first-time player ("ForceFirstTimeUser", or no stored
// "EverPlayedGame" and no finished game in the list; such a game stores it).
bool checkEverPlayedGame();
// The statement that sets the page's background image for a layout mode;
// empty for mode 0.
std::string backgroundStatement(int layoutMode);
