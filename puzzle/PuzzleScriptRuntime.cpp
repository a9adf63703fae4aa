#include "puzzle/PuzzleScriptRuntime.h"

#include "puzzle/PuzzleScriptTrigger.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Game.h"

std::unique_ptr<PuzzleScriptRuntime>
PuzzleScriptRuntime::create(const PuzzleScriptNodeList* nodes) {
    if (!nodes)
        return nullptr;
    auto script = std::make_unique<PuzzleScriptRuntime>();
    for (const PuzzleScriptNode* node : *nodes)
        if (std::unique_ptr<PuzzleScriptTrigger> trigger = PuzzleScriptTrigger::create(node))
            script->mTriggers.push_back(std::move(trigger));
    return script;
}

PuzzleScriptRuntime::PuzzleScriptRuntime() = default;

PuzzleScriptRuntime::~PuzzleScriptRuntime() {
    mTriggers.clear();
    mPendingSection.clear();
}

template <class Event> void PuzzleScriptRuntime::deliver(Event event) {
    for (const std::unique_ptr<PuzzleScriptTrigger>& trigger : mTriggers)
        event(*trigger);
    applyPendingSection();
}

void PuzzleScriptRuntime::applyPendingSection() {
    if (mPendingSection.empty())
        return;
    const std::string name = std::move(mPendingSection);
    mPendingSection.clear();
    for (const std::unique_ptr<PuzzleScriptTrigger>& trigger : mTriggers)
        trigger->setSection(name);
}

void PuzzleScriptRuntime::start() {
    deliver([](PuzzleScriptTrigger& trigger) { trigger.onStart(); });
}

void PuzzleScriptRuntime::sendTag(const std::string& tag) {
    if (mTagNesting == 0)
        mChainedTags = 0;
    else if (mTagNesting >= cMaxTagNesting || mChainedTags >= cMaxChainedTags)
        return;
    else
        ++mChainedTags;
    ++mTagNesting;
    deliver([&tag](PuzzleScriptTrigger& trigger) { trigger.onNamedTag(tag); });
    --mTagNesting;
}

void PuzzleScriptRuntime::onActionPerformed(CandidateAction* action) {
    if (!gCurrentGame || !action)
        return;
    for (const ActionResultInfo* record : action->mResults) {
        Entity* entity = record ? gCurrentGame->getEntity(record->mEntityID) : nullptr;
        if (!entity)
            continue;
        float before = 0.0f;
        float after = 0.0f;
        const bool knockOut =
            recordHitPoints(*record, *entity, before, after) && before > 0.0f && after <= 0.0f;
        const bool stomp = record->mKilled;
        for (const std::unique_ptr<PuzzleScriptTrigger>& trigger : mTriggers) {
            if (knockOut)
                trigger->onKO(entity);
            if (stomp)
                trigger->onStomp(entity);
        }
    }
    deliver([action](PuzzleScriptTrigger& trigger) { trigger.onUnitAction(action); });
}

void PuzzleScriptRuntime::onUnitSelected(Entity* entity) {
    deliver([entity](PuzzleScriptTrigger& trigger) { trigger.onUnitSelected(entity); });
}

void PuzzleScriptRuntime::onUnitDeselected() {
    deliver([](PuzzleScriptTrigger& trigger) { trigger.onUnitDeselected(); });
}

void PuzzleScriptRuntime::onAPRemaining(Player* player) {
    deliver([player](PuzzleScriptTrigger& trigger) { trigger.onAPRemaining(player); });
}

void PuzzleScriptRuntime::onUndo(bool wholeTurn) {
    deliver([wholeTurn](PuzzleScriptTrigger& trigger) { trigger.onUndo(wholeTurn); });
}

void PuzzleScriptRuntime::onSubmit() {
    deliver([](PuzzleScriptTrigger& trigger) { trigger.onSubmit(); });
}

void PuzzleScriptRuntime::setPendingSection(const std::string& name) {
    mPendingSection = name;
}
