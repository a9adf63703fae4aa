#pragma once

// The puzzles and the page's menus: leaving the board for the games list,
// the main menu or the challenges, refreshing a completed puzzle's button
// in the puzzle menu, and starting a puzzle on the board. The page is
// reached by statements run in it (runInPage); nothing waits for them.
// Main thread only.

#include "puzzle/PuzzleMenuServices.h"

#include <cstdint>
#include <string>

class ProtoPuzzle;

// "loginMagic("GamesList");"
void sendToLogin();
// "navigateTo("Home"); loginMagic("GamesList");"
void sendToMainMenu();
// "navigateTo("Challenges")", then the title music when the option "Sound"
// is set.
void navigateToChallenges();
// The puzzle's button "NavPuzzleButton<category>-<index>" in its completed
// look (the star art for categories other than the tutorials; no art in
// layout mode 0), pressed to launch the puzzle; nothing for a puzzle
// outside the catalogue.
void updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex);
// The look of a menu entry of the puzzle menus.
enum class MenuEntryArt { Incomplete, Completed, CompletedStar };
// The entry's art text for the layout mode: its pressed and released
// images, each in double quotes and followed by ", "; empty in layout
// mode 0.
std::string menuEntryArt(MenuEntryArt art, int32_t layoutMode);
// The page handler of a puzzle's entry: the board shows and the puzzle
// starts.
std::string puzzleEntryHandler(int32_t categoryIndex, int32_t puzzleIndex);
// The puzzle's title in the menu: its display name.
std::string puzzleMenuTitle(const ProtoPuzzle& puzzle);
// Starts the puzzle on the board: a new local game of two "humans" players
// with their first states, saved and loaded back (record id 0, no service
// id), replacing the current game and the running scene; nothing for a
// puzzle outside the catalogue.
void launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex);

// The puzzles' menu services of the desktop: the calls above, and leaving
// the board through the shell's seam.
class DesktopPuzzleMenus : public PuzzleMenuServices {
public:
    void popGameScene() override;
    void sendToLogin() override;
    void sendToMainMenu() override;
    void navigateToChallenges() override;
    void updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex) override;
};
