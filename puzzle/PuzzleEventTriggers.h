#pragma once

// The triggers that fire on every call of one event: the script's start,
// a unit picked up (of a proto, or any), a refused drop, a stomp, an undo and
// a submitted turn.

#include "puzzle/PuzzleScriptTrigger.h"

class PuzzleStartTrigger : public PuzzleScriptTrigger {
public:
    void onStart() override;
};

class PuzzleSelectTrigger : public PuzzleScriptTrigger {
public:
    // The results, then "protoName" (empty: any entity).
    bool load(const PuzzleScriptNode* node) override;
    void onUnitSelected(Entity* entity) override;

private:
    std::string mProtoName;
};

class PuzzleDeselectTrigger : public PuzzleScriptTrigger {
public:
    void onUnitDeselected() override;
};

class PuzzleStompTrigger : public PuzzleScriptTrigger {
public:
    void onStomp(Entity* entity) override;
};

class PuzzleUndoTrigger : public PuzzleScriptTrigger {
public:
    void onUndo(bool wholeTurn) override;
};

class PuzzleSubmitTrigger : public PuzzleScriptTrigger {
public:
    void onSubmit() override;
};
