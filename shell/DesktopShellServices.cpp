#include "shell/DesktopShellServices.h"

#include "shell/CocosV8Handler.h"
#include "shell/GameOpening.h"
#include "shell/Popup.h"
#include "shell/PuzzleMenus.h"
#include "shell/TeamSelect.h"

#include "service/WebService.h"

void DesktopShellServices::runWithProgressHUD(const std::function<int()>& job,
                                              const std::string& text,
                                              const std::function<void(int)>& completion) {
    ::runWithProgressHUD(text, job, completion);
}

void DesktopShellServices::gotoGame(int64_t gameId, bool followUp) {
    ::gotoGame(webService(), cocosV8Handler(), gameId, followUp);
}

void DesktopShellServices::startNewGameFromRecord(int64_t gameId, bool open) {
    ::startNewGameFromRecord(webService(), cocosV8Handler(), gameId, open);
}

void DesktopShellServices::launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex) {
    ::launchPuzzleScene(categoryIndex, puzzleIndex);
}

void DesktopShellServices::showTeamSelectForOpponent(int64_t gameId) {
    ::showTeamSelectForOpponent(webService(), gameId);
}

void DesktopShellServices::showTeamDetailsFromBoard(int32_t civId) {
    ::showTeamDetailsFromBoard(civId);
}
