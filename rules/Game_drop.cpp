// Game: the road from a drop to a performed action and the turn's record of
// actions and commands.

#include "rules/Game.h"

#include "rules/AchievementTracker.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/GameSceneInterface.h"

bool Game::tryDrop(int32_t entityId, int32_t gridType, const GridSlot& target) {
    Entity* entity = getEntity(entityId);
    if (entity == nullptr)
        return false;
    EntityGrid* grid = getGrid(gridType, entity->mOwner);
    if (grid == nullptr)
        return false;
    bool accepted = false;
    return entity->dropAt(grid, target, accepted) && accepted;
}

bool Game::dropEntity(int32_t entityId, int32_t gridType, const GridSlot& target) {
    if (!tryDrop(entityId, gridType, target))
        return false;
    mCommands.push_back(std::make_unique<ServerGameCommand>(entityId, gridType, target));
    return true;
}

void Game::performAction(CandidateAction* action) {
    if (action == nullptr)
        return;
    const bool firstOfTurn = (mFlags & cGameHasActions) == 0;
    // The first action's undo state is the bottom snapshot, the state the
    // turn started from.
    if (!firstOfTurn)
        pushUndoSnapshot();
    action->execute();
    if (firstOfTurn) {
        // The opponent's recorded turn has been replayed and goes now.
        std::vector<CandidateAction*> previous;
        previous.swap(mActions);
        for (CandidateAction* old : previous)
            if (old != nullptr)
                old->release();
        if (gGameScene != nullptr)
            gGameScene->removeFinishedEffects();
    }
    // Recorded even when it failed: the visuals skip a failed action.
    action->retain();
    mActions.push_back(action);
    // What the action recorded for the platform goes with it on undo.
    AchievementTracker::pushScope();
    mFlags |= cGameHasActions;
    processNextVisual();
}

CandidateAction* Game::findAction(int32_t playbackState) const {
    for (CandidateAction* action : mActions)
        if (action != nullptr)
            if (CandidateAction* found = action->findByPlaybackState(playbackState))
                return found;
    return nullptr;
}

void Game::clearCommands(bool all) {
    for (size_t i = mCommands.size(); i-- > 0;) {
        if (mCommands[i] == nullptr)
            continue;
        // Entries after it are nulls already passed over; they go too.
        mCommands.erase(mCommands.begin() + static_cast<std::ptrdiff_t>(i), mCommands.end());
        if (!all)
            return;
    }
}
