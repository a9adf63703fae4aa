#include "puzzle/PuzzleMenuServices.h"

#include <cstdio>

namespace {

PuzzleMenuServices* gInstalled = nullptr;

} // namespace

PuzzleMenuServices::~PuzzleMenuServices() = default;

// Without a shell the calls only report themselves.
void PuzzleMenuServices::popGameScene() {
    std::printf("**> popGameScene\n");
}

void PuzzleMenuServices::sendToLogin() {
    std::printf("**> sendToLogin\n");
}

void PuzzleMenuServices::sendToMainMenu() {
    std::printf("**> sendToMainMenu\n");
}

void PuzzleMenuServices::navigateToChallenges() {
    std::printf("**> navigateToChallenges\n");
}

void PuzzleMenuServices::updatePuzzleMenuEntry(int32_t categoryIndex, int32_t puzzleIndex) {
    std::printf("**> updatePuzzleMenuEntry %d %d\n", categoryIndex, puzzleIndex);
}

PuzzleMenuServices& puzzleMenuServices() {
    static PuzzleMenuServices builtIn;
    return gInstalled != nullptr ? *gInstalled : builtIn;
}

void setPuzzleMenuServices(PuzzleMenuServices* services) {
    gInstalled = services;
}
