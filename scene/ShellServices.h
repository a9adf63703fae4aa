#pragma once

// What the board scene asks of the desktop shell: running a service job
// behind the progress window, and the page's navigation (open a game, start
// a game from its record, start a puzzle, the rematch and team pages). The
// shell installs its own; until then the built-in one runs each job and its
// completion at once on the calling thread, and each navigation call only
// prints a "**>" line naming itself. Main thread only.

#include <cstdint>
#include <functional>
#include <string>

class ShellServices {
public:
    virtual ~ShellServices();

    // Runs job, then completion with its result (0 success), both on the
    // calling thread and within the call; the shell shows text in its
    // progress window meanwhile (when the option "useProgressHUD" is set).
    virtual void runWithProgressHUD(const std::function<int()>& job, const std::string& text,
                                    const std::function<void(int)>& completion);
    // Opens the game gameId and its scene; followUp: the service settled
    // the game just before.
    virtual void gotoGame(int64_t gameId, bool followUp);
    // Builds and stores the first state of a game that has none, then opens it.
    virtual void startNewGameFromRecord(int64_t gameId, bool flag);
    virtual void launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex);
    // The civ selection for a rematch against that game's opponent.
    virtual void showTeamSelectForOpponent(int64_t gameId);
    // The team details of a civ, with a way back to the board.
    virtual void showTeamDetailsFromBoard(int32_t civId);
};

// The services in use: the installed ones, else the built-in ones.
ShellServices& shellServices();
// Installs services (which must outlive their use); null restores the
// built-in ones.
void setShellServices(ShellServices* services);
