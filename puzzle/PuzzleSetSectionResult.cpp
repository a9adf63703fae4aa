#include "puzzle/PuzzleSetSectionResult.h"

#include "puzzle/PuzzleScriptNode.h"

#include "rules/GameSceneInterface.h"
#include "rules/GamesList.h"
#include "rules/PuzzleScript.h"

#include "content/BConfig.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"

namespace {

bool hasPlayedBefore() {
    bool everPlayed = false;
    if (!prefGetBool("EverPlayedGame", everPlayed))
        everPlayed = false;
    return everPlayed && !BConfig::instance().isSetById(cOptForceFirstTimeUser);
}

} // namespace

bool PuzzleSetSectionResult::load(const PuzzleResultNode* node) {
    if (!node)
        return false;
    mRequiresLogin = attributeText(node->mAttributes, "requiresLogin") == "true";
    mRequiresPlayedBefore = attributeText(node->mAttributes, "requiresPlayedBefore") == "true";
    mSectionName = attributeText(node->mAttributes, "name");
    return true;
}

void PuzzleSetSectionResult::execute() {
    if (mRequiresLogin && !gamesList().isLoggedIn())
        return;
    if (mRequiresPlayedBefore && !hasPlayedBefore())
        return;
    if (PuzzleScript* script = gGameScene ? gGameScene->getPuzzleScript() : nullptr)
        script->setPendingSection(mSectionName);
}
