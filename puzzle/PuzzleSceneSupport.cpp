#include "puzzle/PuzzleSceneSupport.h"

#include "puzzle/PuzzleDialogManager.h"
#include "puzzle/PuzzleScriptRuntime.h"

#include "content/settings/ProtoPuzzle.h"
#include "scene/GameScene.h"

void installPuzzleSceneSupport() {
    setPuzzleScriptFactory([](const ProtoPuzzle& puzzle) -> PuzzleScript* {
        return PuzzleScriptRuntime::create(puzzle.mScript.get()).release();
    });
    GameScene::setDialogManagerFactory(
        []() -> cocos2d::CCNode* { return PuzzleDialogManager::node(); });
}
