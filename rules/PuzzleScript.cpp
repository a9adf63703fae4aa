#include "rules/PuzzleScript.h"

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
