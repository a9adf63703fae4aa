// Game: undo of one action or of the whole turn, by reloading a game-state
// blob from the undo stack.

#include "rules/Game.h"

void Game::pushUndoSnapshot() {
    auto snapshot = std::make_unique<GameSnapshot>();
    snapshot->mBuffer = saveToBuffer();
    undoStack().push_back(std::move(snapshot));
}

void Game::undo(bool wholeTurn) {
    std::vector<std::unique_ptr<GameSnapshot>>& stack = undoStack();
    if (stack.empty() || stack.back() == nullptr)
        return;
    if (wholeTurn)
        stack.resize(1);
    const std::vector<uint8_t>& snapshot = stack.back()->mBuffer;
    // The reload releases the actions still playing or executing (an undo
    // while an attack's visuals run); their pointers go first.
    mPlayingAction = nullptr;
    mExecutingAction = nullptr;
    // A game without views (a headless one) gets none.
    const bool linked = hasLink();
    unlink(false);
    // Only the bottom snapshot, the state as received, has not had the
    // turn-start score.
    mSkipTurnStartScore = stack.size() > 1;
    const bool loaded =
        loadFromBuffer(snapshot.data(), static_cast<int32_t>(snapshot.size()), mGameID, false);
    mSkipTurnStartScore = false;
    // A failed load leaves the game as it was (it loads into a scratch
    // game first), so its views come back either way.
    if (linked)
        linkAt(cocos2d::CCPoint(0.0f, 0.0f), false);
    if (!loaded)
        return;
    if (stack.size() > 1) {
        stack.pop_back();
        mFlags |= cGameHasActions;
    }
    clearCommands(wholeTurn);
}
