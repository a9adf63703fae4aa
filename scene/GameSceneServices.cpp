#include "scene/GameSceneServices.h"

#include "scene/EntityView.h"
#include "scene/GameScene.h"

int32_t GameSceneServices::layoutMode() {
    return GameScene::layoutMode();
}

CocosEntityLink* GameSceneServices::createEntityLink(Entity* entity) {
    return entity != nullptr ? new EntityView(entity) : nullptr;
}
