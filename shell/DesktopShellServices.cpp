#include "shell/DesktopShellServices.h"

#include "shell/Popup.h"
#include "shell/PuzzleMenus.h"

void DesktopShellServices::runWithProgressHUD(const std::function<int()>& job,
                                              const std::string& text,
                                              const std::function<void(int)>& completion) {
    ::runWithProgressHUD(text, job, completion);
}

void DesktopShellServices::launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex) {
    ::launchPuzzleScene(categoryIndex, puzzleIndex);
}
