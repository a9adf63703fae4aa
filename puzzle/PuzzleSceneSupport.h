#pragma once

// What the game scene needs of the puzzles when it binds a tutorial or
// challenge: the running script made from the puzzle's script nodes
// (PuzzleScriptRuntime) and the dialog layer (PuzzleDialogManager),
// installed through the scene's two factories. Programs that show puzzles
// install it once at start-up (idempotent).

void installPuzzleSceneSupport();
