#pragma once

// One thing a player does in a turn: a source entity does one kind of
// action (ActionType) to a target square. The game keeps the turn's actions
// in order; rules read which entity acted and how. While the action runs,
// the rules note every entity they change in one ActionResultInfo each.

#include "platform/engine/CCObject.h"

#include <cstdint>
#include <vector>

class ActionResultInfo;
class Game;

class CandidateAction : public cocos2d::CCObject {
public:
    CandidateAction(Game* game, int32_t actionPointCost);
    // Deletes the result records.
    ~CandidateAction() override;

    // The record of that entity, made (with the entity's present state as
    // its initial half) and appended when there is none.
    ActionResultInfo* getOrCreateResult(int32_t entityId);
    // The first record of that entity; null for a negative id or none.
    ActionResultInfo* findResult(int32_t entityId) const;
    // Removes and deletes one record.
    void discardResult(ActionResultInfo* result);

    Game* mGame;
    int32_t mSourceEntity = -1;
    int32_t mActionType = -1;
    // The entity on the target square when the action was set up.
    int32_t mTargetEntity = -1;
    std::vector<ActionResultInfo*> mResults; // owned, in order of first touch
    // The ongoing link this action started.
    int32_t mLinkSourceEntity = -1;
    int32_t mLinkTargetEntity = -1;
    int32_t mActionPointCost;
};
