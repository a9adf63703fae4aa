#include "puzzle/PuzzleSceneResults.h"

#include "puzzle/PuzzleDialogManager.h"
#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleScriptRuntime.h"
#include "puzzle/PuzzleScriptTrigger.h"

#include "scene/GameScene.h"

namespace {

GameScene* boardScene() {
    return dynamic_cast<GameScene*>(gGameScene);
}

} // namespace

void PuzzleResetResult::execute() {
    GameScene* scene = boardScene();
    if (scene == nullptr)
        return;
    scene->onActionPointsTapped(true);
    PuzzleScript* script = scene->getPuzzleScript();
    if (script == nullptr)
        return;
    if (auto* runtime = dynamic_cast<PuzzleScriptRuntime*>(script))
        for (const std::unique_ptr<PuzzleScriptTrigger>& trigger : runtime->triggers())
            trigger->reset();
    if (PuzzleDialogManager* dialogs = PuzzleDialogManager::current())
        dialogs->hideAllDialogs();
    script->start();
}

bool PuzzleShowUIResult::load(const PuzzleResultNode* node) {
    if (node == nullptr)
        return false;
    mHide = node->mType == cResultHideUI;
    mName = attributeText(node->mAttributes, "name");
    return true;
}

void PuzzleShowUIResult::execute() {
    GameScene* scene = boardScene();
    if (scene == nullptr)
        return;
    if (mHide)
        scene->unhighlightControl(mName);
    else
        showControl();
}

void PuzzleShowUIResult::showControl() {
    if (GameScene* scene = boardScene())
        scene->highlightControl(mName);
}
