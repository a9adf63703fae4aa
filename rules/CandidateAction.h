#pragma once

// One thing a player does in a turn: a source entity does one kind of
// action (ActionType) to a target square. The game keeps the turn's actions
// in order; rules read which entity acted and how.

#include "platform/engine/CCObject.h"

#include <cstdint>

class Game;

class CandidateAction : public cocos2d::CCObject {
public:
    CandidateAction(Game* game, int32_t actionPointCost);

    Game* mGame;
    int32_t mSourceEntity = -1;
    int32_t mActionType = -1;
    int32_t mActionPointCost;
};
