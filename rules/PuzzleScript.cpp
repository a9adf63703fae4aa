#include "rules/PuzzleScript.h"

#include <utility>

PuzzleScript::~PuzzleScript() = default;

void PuzzleScript::start() {}

void PuzzleScript::sendTag(const std::string& /*tag*/) {}

void PuzzleScript::onActionPerformed(CandidateAction* /*action*/) {}

void PuzzleScript::onUnitSelected(Entity* /*entity*/) {}

void PuzzleScript::onUnitDeselected() {}

void PuzzleScript::onAPRemaining(Player* /*player*/) {}

void PuzzleScript::onUndo(bool /*wholeTurn*/) {}

void PuzzleScript::onSubmit() {}

void PuzzleScript::setPendingSection(const std::string& /*name*/) {}

namespace {
PuzzleScriptFactory& scriptFactory() {
    static PuzzleScriptFactory factory;
    return factory;
}
} // namespace

void setPuzzleScriptFactory(PuzzleScriptFactory factory) {
    scriptFactory() = std::move(factory);
}

PuzzleScript* createPuzzleScript(const ProtoPuzzle& puzzle) {
    return scriptFactory() ? scriptFactory()(puzzle) : nullptr;
}
