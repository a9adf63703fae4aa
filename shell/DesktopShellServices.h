#pragma once

// The shell's answers to the board scene's requests: its jobs run through
// the shell's job runner (the progress overlay), games open through the
// shell's game opening. Installed by start-up.

#include "scene/ShellServices.h"

class DesktopShellServices : public ShellServices {
public:
    void runWithProgressHUD(const std::function<int()>& job, const std::string& text,
                            const std::function<void(int)>& completion) override;
    void gotoGame(int64_t gameId, bool followUp) override;
    void startNewGameFromRecord(int64_t gameId, bool open) override;
    // The puzzle on the board (PuzzleMenus.h).
    void launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex) override;
    // The team pages (TeamSelect.h).
    void showTeamSelectForOpponent(int64_t gameId) override;
    void showTeamDetailsFromBoard(int32_t civId) override;
};
