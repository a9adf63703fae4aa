#include "puzzle/PuzzleSendTagResult.h"

#include "puzzle/PuzzleScriptNode.h"

#include "rules/GameSceneInterface.h"
#include "rules/PuzzleScript.h"

bool PuzzleSendTagResult::load(const PuzzleResultNode* node) {
    if (!node)
        return false;
    mTagName = attributeText(node->mAttributes, "tagName");
    return true;
}

void PuzzleSendTagResult::execute() {
    if (PuzzleScript* script = gGameScene ? gGameScene->getPuzzleScript() : nullptr)
        script->sendTag(mTagName);
}
