#include "puzzle/PuzzleEventTriggers.h"

#include "puzzle/PuzzleScriptNode.h"

void PuzzleStartTrigger::onStart() {
    fire();
}

bool PuzzleSelectTrigger::load(const PuzzleScriptNode* node) {
    if (!PuzzleScriptTrigger::load(node))
        return false;
    mProtoName = attributeText(node->mAttributes, "protoName");
    return true;
}

void PuzzleSelectTrigger::onUnitSelected(Entity* entity) {
    if (passesProtoFilter(entity, mProtoName))
        fire();
}

void PuzzleDeselectTrigger::onUnitDeselected() {
    fire();
}

void PuzzleStompTrigger::onStomp(Entity* /*entity*/) {
    fire();
}

void PuzzleUndoTrigger::onUndo(bool /*wholeTurn*/) {
    fire();
}

void PuzzleSubmitTrigger::onSubmit() {
    fire();
}
