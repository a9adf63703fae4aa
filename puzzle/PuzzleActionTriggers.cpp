#include "puzzle/PuzzleActionTriggers.h"

#include "puzzle/PuzzleScriptNode.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Player.h"

#include "content/protos/ProtoFields.h"

#include <limits>

namespace {

// A numeric attribute read as strtol does (no leading digits: 0); fallback
// when absent.
int32_t intAttribute(const PuzzleAttributes& attributes, std::string_view name, int32_t fallback) {
    const auto found = attributes.find(name);
    return found != attributes.end() ? parseIntText(found->second) : fallback;
}

// The kind an action type counts as; -1 for the types no trigger counts
// (return, place, use-item, ally ability, swap).
int32_t kindOfAction(int32_t actionType) {
    switch (actionType) {
    case cActionDeploy:
        return PuzzleAPSpentTrigger::cDeploy;
    case cActionMove:
        return PuzzleAPSpentTrigger::cMove;
    case cActionAttack:
        return PuzzleAPSpentTrigger::cAttack;
    case cActionHeal:
        return PuzzleAPSpentTrigger::cHeal;
    case cActionEquip:
        return PuzzleAPSpentTrigger::cEquip;
    case cActionCastPower:
        return PuzzleAPSpentTrigger::cSpell;
    default:
        return -1;
    }
}

} // namespace

bool PuzzleAPSpentTrigger::load(const PuzzleScriptNode* node) {
    if (!node)
        return false;
    switch (node->mType) {
    case cTriggerUnitDeployed:
        mKinds[cDeploy] = true;
        break;
    case cTriggerUnitMoved:
        mKinds[cMove] = true;
        break;
    case cTriggerUnitAttacked:
        mKinds[cAttack] = true;
        break;
    case cTriggerUnitEquipped:
        mKinds[cEquip] = true;
        break;
    case cTriggerSpell:
        mKinds[cSpell] = true;
        break;
    case cTriggerAP:
        mKinds.fill(true);
        break;
    default:
        break;
    }
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mProtoName = attributeText(node->mAttributes, "protoName");
    mCount = intAttribute(node->mAttributes, "count", -1);
    mResetOnUndo = attributeText(node->mAttributes, "resetOnUndo") != "false";
    return true;
}

void PuzzleAPSpentTrigger::reset() {
    mCounter = 0;
}

void PuzzleAPSpentTrigger::onUnitAction(CandidateAction* action) {
    if (!action)
        return;
    const int32_t kind = kindOfAction(action->mActionType);
    if (kind < 0 || !mKinds[static_cast<size_t>(kind)])
        return;
    const Entity* source = currentGameEntity(action->mSourceEntity);
    if (source && passesProtoFilter(source, mProtoName) && countEvent(mCounter, mCount))
        fire();
}

void PuzzleAPSpentTrigger::onUndo(bool /*wholeTurn*/) {
    if (mResetOnUndo)
        reset();
}

bool PuzzleHealTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mProtoName = attributeText(node->mAttributes, "protoName");
    if (const auto found = node->mAttributes.find("threshold"); found != node->mAttributes.end())
        mThreshold = parseFloatText(found->second);
    mCount = intAttribute(node->mAttributes, "count", -1);
    return true;
}

void PuzzleHealTrigger::reset() {
    mCounter = 0;
}

void PuzzleHealTrigger::onUnitAction(CandidateAction* action) {
    if (!action)
        return;
    for (const ActionResultInfo* record : action->mResults) {
        const Entity* entity = record ? currentGameEntity(record->mEntityID) : nullptr;
        float before = 0.0f;
        float after = 0.0f;
        if (!entity || !recordHitPoints(*record, *entity, before, after))
            continue;
        if (after > before && after >= mThreshold && passesProtoFilter(entity, mProtoName) &&
            countEvent(mCounter, mCount))
            fire();
    }
}

void PuzzleHealTrigger::onUndo(bool /*wholeTurn*/) {
    reset();
}

bool PuzzleAPRemainingTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mArmed = false;
    mTarget = intAttribute(node->mAttributes, "count", std::numeric_limits<int32_t>::min());
    return true;
}

void PuzzleAPRemainingTrigger::reset() {
    mArmed = false;
}

void PuzzleAPRemainingTrigger::onAPRemaining(Player* player) {
    if (player && player->mActionPoints == mTarget)
        mArmed = true;
}

void PuzzleAPRemainingTrigger::onUnitAction(CandidateAction* action) {
    if (!mArmed || !action || !action->mSubActions.empty())
        return;
    mArmed = false;
    fire();
}

void PuzzleAPRemainingTrigger::onUndo(bool /*wholeTurn*/) {
    reset();
}

bool PuzzleKOTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mProtoName = attributeText(node->mAttributes, "protoName");
    mCount = intAttribute(node->mAttributes, "count", -1);
    return true;
}

void PuzzleKOTrigger::reset() {
    mCounter = 0;
}

void PuzzleKOTrigger::onKO(Entity* entity) {
    if (passesProtoFilter(entity, mProtoName) && countEvent(mCounter, mCount))
        fire();
}

void PuzzleKOTrigger::onUndo(bool /*wholeTurn*/) {
    reset();
}
