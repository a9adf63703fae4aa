#include "rules/CandidateAction.h"

CandidateAction::CandidateAction(Game* game, int32_t actionPointCost)
    : mGame(game), mActionPointCost(actionPointCost) {}
