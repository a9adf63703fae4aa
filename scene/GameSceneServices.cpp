#include "scene/GameSceneServices.h"

#include "scene/EntityView.h"
#include "scene/GameScene.h"

#include "rules/Entity.h"

namespace {

EntityView* viewOf(const Entity* entity) {
    return entity != nullptr ? dynamic_cast<EntityView*>(entity->getEntityLink()) : nullptr;
}

} // namespace

int32_t GameSceneServices::layoutMode() {
    return GameScene::layoutMode();
}

CocosEntityLink* GameSceneServices::createEntityLink(Entity* entity) {
    return entity != nullptr ? new EntityView(entity) : nullptr;
}

void GameSceneServices::playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                            const GridSlot& toward, float delay,
                                            const GridSlot& end) {
    if (EntityView* view = viewOf(entity))
        view->playAnimation(state, own, toward, delay, end);
}

void GameSceneServices::playEntityAnimationInPlace(Entity* entity, int32_t state,
                                                   const GridSlot& toward, float delay) {
    if (EntityView* view = viewOf(entity))
        view->playAnimationInPlace(state, toward, delay);
}

void GameSceneServices::playEntityHitAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                               const GridSlot& toward) {
    if (EntityView* view = viewOf(entity))
        view->playHitAnimation(state, own, toward);
}
