#include "scene/ShellServices.h"

#include <cinttypes>
#include <cstdio>

namespace {

ShellServices* gInstalled = nullptr;

} // namespace

ShellServices::~ShellServices() = default;

void ShellServices::runWithProgressHUD(const std::function<int()>& job, const std::string& /*text*/,
                                       const std::function<void(int)>& completion) {
    const int result = job ? job() : 0;
    if (completion)
        completion(result);
}

// Without a shell the navigation only reports itself.
void ShellServices::gotoGame(int64_t gameId, bool followUp) {
    std::printf("**> gotoGame %" PRId64 " %d\n", gameId, followUp ? 1 : 0);
}

void ShellServices::startNewGameFromRecord(int64_t gameId, bool flag) {
    std::printf("**> startNewGameFromRecord %" PRId64 " %d\n", gameId, flag ? 1 : 0);
}

void ShellServices::launchPuzzleScene(int32_t categoryIndex, int32_t puzzleIndex) {
    std::printf("**> launchPuzzleScene %d %d\n", categoryIndex, puzzleIndex);
}

void ShellServices::showTeamSelectForOpponent(int64_t gameId) {
    std::printf("**> showTeamSelectForOpponent %" PRId64 "\n", gameId);
}

void ShellServices::showTeamDetailsFromBoard(int32_t civId) {
    std::printf("**> showTeamDetailsFromBoard %d\n", civId);
}

ShellServices& shellServices() {
    static ShellServices builtIn;
    return gInstalled != nullptr ? *gInstalled : builtIn;
}

void setShellServices(ShellServices* services) {
    gInstalled = services;
}
