#include "rules/CandidateAction.h"

#include "rules/ActionResultInfo.h"

#include <algorithm>

CandidateAction::CandidateAction(Game* game, int32_t actionPointCost)
    : mGame(game), mActionPointCost(actionPointCost) {}

CandidateAction::~CandidateAction() {
    for (ActionResultInfo* result : mResults)
        delete result;
}

ActionResultInfo* CandidateAction::getOrCreateResult(int32_t entityId) {
    if (ActionResultInfo* found = findResult(entityId))
        return found;
    auto* result = new ActionResultInfo(mGame, entityId);
    mResults.push_back(result);
    return result;
}

ActionResultInfo* CandidateAction::findResult(int32_t entityId) const {
    if (entityId < 0)
        return nullptr;
    const auto found =
        std::find_if(mResults.begin(), mResults.end(), [entityId](const ActionResultInfo* result) {
            return result->mEntityID == entityId;
        });
    return found != mResults.end() ? *found : nullptr;
}

void CandidateAction::discardResult(ActionResultInfo* result) {
    const auto found = std::find(mResults.begin(), mResults.end(), result);
    if (found == mResults.end())
        return;
    mResults.erase(found);
    delete result;
}
