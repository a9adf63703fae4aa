#include "rules/CandidateAction.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"

#include "platform/engine/CCNode.h"

#include <algorithm>

CandidateAction::CandidateAction(Game* game, int32_t actionPointCost)
    : mGame(game), mActionPointCost(actionPointCost) {}

CandidateAction::~CandidateAction() {
    for (ActionResultInfo* result : mResults)
        delete result;
    for (CandidateAction* subAction : mSubActions)
        if (subAction != nullptr)
            subAction->release();
    if (mVisualNode != nullptr) {
        mVisualNode->removeFromParentAndCleanup(true);
        mVisualNode->release();
    }
}

bool CandidateAction::init(int32_t sourceEntity, int32_t actionType, const GridSlot& targetSlot,
                           EntityGrid* targetGrid) {
    mSourceEntity = sourceEntity;
    const Entity* source = mGame != nullptr ? mGame->getEntity(sourceEntity) : nullptr;
    if (source == nullptr)
        return false;
    mActionType = actionType;
    if (targetGrid == nullptr)
        return false;
    mTargetGrid = targetGrid->getGridType();
    mTargetOwner = targetGrid->getOwner();
    mTargetSlot = targetSlot;
    mTargetEntity = targetGrid->getEntityIdAt(targetSlot);
    // A freshly made entity lies on no grid: it starts where it is aimed.
    if (source->mGrid != nullptr) {
        mSourceGrid = source->mGrid->getGridType();
        mSourceOwner = source->mGrid->getOwner();
        mSourceSlot = source->mSlot;
    } else {
        mSourceGrid = mTargetGrid;
        mSourceOwner = mTargetOwner;
        mSourceSlot = mTargetSlot;
    }
    mInitialState = source->mState;
    if (const Entity* target = mGame->getEntity(mTargetEntity))
        mTargetInitialState = target->mState;
    mPlaybackState = cPlaybackReady;
    return true;
}

bool CandidateAction::initFromEntity(Entity* target, int32_t sourceEntity, int32_t actionType) {
    if (target == nullptr)
        return false;
    return init(sourceEntity, actionType, target->mSlot, target->mGrid);
}

ActionResultInfo* CandidateAction::getOrCreateResult(int32_t entityID) {
    if (entityID < 0)
        return nullptr;
    if (ActionResultInfo* found = findResult(entityID))
        return found;
    auto* result = new ActionResultInfo(entityID, mGame);
    mResults.push_back(result);
    return result;
}

ActionResultInfo* CandidateAction::findResult(int32_t entityID) const {
    if (entityID < 0)
        return nullptr;
    for (ActionResultInfo* result : mResults)
        if (result->mEntityID == entityID)
            return result;
    return nullptr;
}

void CandidateAction::discardResult(ActionResultInfo* result) {
    const auto found = std::find(mResults.begin(), mResults.end(), result);
    if (found == mResults.end())
        return;
    mResults.erase(found);
    delete result;
}

void CandidateAction::captureFinalStates() {
    for (ActionResultInfo* result : mResults)
        result->captureFinalState(mGame);
}

bool CandidateAction::isDone() const {
    if (mPlaybackState != cPlaybackDone)
        return false;
    for (const CandidateAction* subAction : mSubActions)
        if (subAction != nullptr && !subAction->isDone())
            return false;
    return true;
}

CandidateAction* CandidateAction::findByPlaybackState(int32_t state) {
    if (mPlaybackState == state)
        return this;
    for (CandidateAction* subAction : mSubActions)
        if (subAction != nullptr)
            if (CandidateAction* found = subAction->findByPlaybackState(state))
                return found;
    return nullptr;
}

void CandidateAction::addSubAction(CandidateAction* subAction) {
    if (subAction == nullptr)
        return;
    subAction->execute();
    if (subAction->mFailed)
        subAction->release();
    else
        mSubActions.push_back(subAction);
}
