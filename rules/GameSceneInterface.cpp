#include "rules/GameSceneInterface.h"

GameSceneInterface* gGameScene = nullptr;

GameSceneInterface::~GameSceneInterface() = default;

void GameSceneInterface::hideTurnMarkers() {}
