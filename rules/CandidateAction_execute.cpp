#include "rules/CandidateAction.h"

#include "rules/Game.h"

// The frame of an execution: the states, the game's executing-action slot
// and the final halves of the records. The rules of each kind of action
// run inside it.
void CandidateAction::execute() {
    if (mGame == nullptr || mGame->getEntity(mSourceEntity) == nullptr ||
        mGame->getGrid(mSourceGrid, mSourceOwner) == nullptr ||
        mGame->getGrid(mTargetGrid, mTargetOwner) == nullptr)
        return;
    mPlaybackState = cPlaybackExecuting;
    if (!mIsSubAction && mGame->mExecutingAction == nullptr)
        mGame->mExecutingAction = this;
    if (!mIsSubAction) {
        captureFinalStates();
        for (CandidateAction* subAction : mSubActions)
            if (subAction != nullptr)
                subAction->captureFinalStates();
    }
    if (!mIsSubAction && mGame->mExecutingAction == this)
        mGame->mExecutingAction = nullptr;
    mPlaybackState = cPlaybackExecuted;
}
