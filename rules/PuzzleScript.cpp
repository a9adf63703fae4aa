#include "rules/PuzzleScript.h"

PuzzleScript::~PuzzleScript() = default;

void PuzzleScript::onAPRemaining(Player* /*player*/) {}
