#include "scene/GameSceneServices.h"

#include "scene/GameScene.h"

int32_t GameSceneServices::layoutMode() {
    return GameScene::layoutMode();
}
