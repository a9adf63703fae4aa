#include "puzzle/PuzzleScriptTrigger.h"

#include "puzzle/PuzzleActionTriggers.h"
#include "puzzle/PuzzleEventTriggers.h"
#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleScriptResult.h"
#include "puzzle/PuzzleSectionTrigger.h"
#include "puzzle/PuzzleTagTrigger.h"

#include "rules/ActionResultInfo.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "content/protos/ProtoEntity.h"

#include <cmath>
#include <limits>

namespace {

std::unique_ptr<PuzzleScriptTrigger> newTrigger(int32_t type) {
    switch (type) {
    case cTriggerSection:
        return std::make_unique<PuzzleSectionTrigger>();
    case cTriggerStart:
        return std::make_unique<PuzzleStartTrigger>();
    case cTriggerNamedTag:
        return std::make_unique<PuzzleTagTrigger>();
    case cTriggerMultiTag:
        return std::make_unique<PuzzleMultiTagTrigger>();
    case cTriggerUntilTag:
        return std::make_unique<PuzzleUntilTagTrigger>();
    case cTriggerUnitDeployed:
    case cTriggerUnitMoved:
    case cTriggerUnitAttacked:
    case cTriggerUnitEquipped:
    case cTriggerSpell:
    case cTriggerAP:
        return std::make_unique<PuzzleAPSpentTrigger>();
    case cTriggerUnitHealed:
        return std::make_unique<PuzzleHealTrigger>();
    case cTriggerAPRemaining:
        return std::make_unique<PuzzleAPRemainingTrigger>();
    case cTriggerUnitSelected:
        return std::make_unique<PuzzleSelectTrigger>();
    case cTriggerUnitDeselected:
        return std::make_unique<PuzzleDeselectTrigger>();
    case cTriggerKO:
        return std::make_unique<PuzzleKOTrigger>();
    case cTriggerStomp:
        return std::make_unique<PuzzleStompTrigger>();
    case cTriggerUndo:
        return std::make_unique<PuzzleUndoTrigger>();
    case cTriggerSubmit:
        return std::make_unique<PuzzleSubmitTrigger>();
    default:
        return nullptr;
    }
}

} // namespace

std::unique_ptr<PuzzleScriptTrigger> PuzzleScriptTrigger::create(const PuzzleScriptNode* node) {
    if (!node)
        return nullptr;
    std::unique_ptr<PuzzleScriptTrigger> trigger = newTrigger(node->mType);
    if (!trigger || !trigger->load(node))
        return nullptr;
    return trigger;
}

PuzzleScriptTrigger::PuzzleScriptTrigger() = default;

PuzzleScriptTrigger::~PuzzleScriptTrigger() = default;

bool PuzzleScriptTrigger::load(const PuzzleScriptNode* node) {
    if (!node)
        return false;
    bool loaded = true;
    for (const std::unique_ptr<PuzzleResultNode>& resultNode : node->mResults) {
        if (std::unique_ptr<PuzzleScriptResult> result =
                PuzzleScriptResult::create(resultNode.get()))
            mResults.push_back(std::move(result));
        else
            loaded = false;
    }
    return loaded;
}

void PuzzleScriptTrigger::reset() {
    for (const std::unique_ptr<PuzzleScriptResult>& result : mResults)
        result->reset();
}

void PuzzleScriptTrigger::setSection(const std::string& /*name*/) {}

void PuzzleScriptTrigger::onStart() {}

void PuzzleScriptTrigger::onUnitAction(CandidateAction* /*action*/) {}

void PuzzleScriptTrigger::onKO(Entity* /*entity*/) {}

void PuzzleScriptTrigger::onStomp(Entity* /*entity*/) {}

void PuzzleScriptTrigger::onNamedTag(const std::string& /*tag*/) {}

void PuzzleScriptTrigger::onUnitSelected(Entity* /*entity*/) {}

void PuzzleScriptTrigger::onUnitDeselected() {}

void PuzzleScriptTrigger::onAPRemaining(Player* /*player*/) {}

void PuzzleScriptTrigger::onUndo(bool /*wholeTurn*/) {}

void PuzzleScriptTrigger::onSubmit() {}

void PuzzleScriptTrigger::fire() {
    for (const std::unique_ptr<PuzzleScriptResult>& result : mResults)
        result->execute();
}

bool passesProtoFilter(const Entity* entity, std::string_view protoName) {
    if (!entity)
        return false;
    if (protoName.empty())
        return true;
    const ProtoEntity* proto = entity->getProto();
    return !proto || proto->mName == protoName;
}

bool countEvent(int32_t& counter, int32_t count) {
    if (counter < std::numeric_limits<int32_t>::max())
        ++counter;
    return count == -1 || counter == count;
}

Entity* currentGameEntity(int32_t id) {
    return gCurrentGame ? gCurrentGame->getEntity(id) : nullptr;
}

bool recordHitPoints(const ActionResultInfo& record, const Entity& entity, float& before,
                     float& after) {
    if (record.mInitialHealthFraction == -1.0f || record.mFinalHealthFraction == -1.0f)
        return false;
    // Health is whole hit points; rounding keeps a float fraction from
    // landing just beside a threshold it meets exactly.
    const auto maxHealth = static_cast<float>(entity.getMaxHealth());
    before = std::round(record.mInitialHealthFraction * maxHealth);
    after = std::round(record.mFinalHealthFraction * maxHealth);
    return true;
}
