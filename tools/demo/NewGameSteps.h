#pragma once

// The new games of a tarnwick-demo run, after its turn, on the real menu
// page and through its document: the games list's "Create a new game", the
// bot's name typed into the form, a team chosen (its details opened and
// closed on the way) and the create button pressed, until the new game
// against the bot opens; an unknown name, which the page answers with its
// notice; then "Find a random opponent" with a team, until the bot is
// paired and that game opens. Prints the longest gap between two frames
// while the matchmaking request ran. Screenshots of the form, the team
// selection, the team details and each new game.

#include "DemoScript.h"

#include <filesystem>

class BrowserPageHost;

void addNewGameSteps(DemoScript& script, BrowserPageHost& page, const std::filesystem::path& shots);
