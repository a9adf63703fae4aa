#pragma once

// The bridge functions of the tutorial and challenge menus: the catalogue's
// load, its two top categories, a category's menu entries sent to the page,
// and starting a puzzle on the board. Main thread only.

#include "shell/CocosV8Handler.h"

#include <cstdint>

// The page's menu entries of a category: one per sub-category, then one
// per puzzle, each with the art of its completion for the layout mode;
// then the puzzle on the board is marked when the game view shows.
void sendPuzzleMenuEntries(int32_t categoryIndex);

BridgeResult bridgeInitPuzzles(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetPuzzleTutorialCategory(CocosV8Handler& handler,
                                             const BridgeArguments& arguments);
BridgeResult bridgeGetPuzzleChallengeCategory(CocosV8Handler& handler,
                                              const BridgeArguments& arguments);
BridgeResult bridgeRequestPuzzleList(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeLaunchPuzzle(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeLaunchFirstTutorial(CocosV8Handler& handler, const BridgeArguments& arguments);
