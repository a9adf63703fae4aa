#pragma once

// What the puzzles ask of the desktop shell when a tutorial or challenge
// leaves the board or changes the page's puzzle menu: popping the game
// scene, the page's login, main menu and challenges pages, and the menu
// entry of a puzzle just completed. The shell installs its own; until then
// each call only prints a "**>" line naming itself. Main thread only.

#include <cstdint>

class PuzzleMenuServices {
public:
    virtual ~PuzzleMenuServices();

    virtual void popGameScene();
    virtual void sendToLogin();
    virtual void sendToMainMenu();
    virtual void navigateToChallenges();
    virtual void updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex);
};

// The services in use: the installed ones, else the built-in ones.
PuzzleMenuServices& puzzleMenuServices();
// Installs services (which must outlive their use); null restores the
// built-in ones.
void setPuzzleMenuServices(PuzzleMenuServices* services);
