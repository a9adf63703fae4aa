#include "tools/scenefakes/HeadlessSceneServices.h"

#include "tools/scenefakes/HeadlessEntityView.h"

HeadlessSceneServices::HeadlessSceneServices() {
    setSceneServices(this);
}

HeadlessSceneServices::~HeadlessSceneServices() {
    if (&sceneServices() == this)
        setSceneServices(nullptr);
}

CocosEntityLink* HeadlessSceneServices::createEntityLink(Entity* entity) {
    return new HeadlessEntityView(entity);
}

void HeadlessSceneServices::playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                                const GridSlot& toward, float delay,
                                                const GridSlot& end) {
    mAnimations.push_back({Animation::cPlay, entity, state, own, toward, delay, end});
}

void HeadlessSceneServices::playEntityAnimationInPlace(Entity* entity, int32_t state,
                                                       const GridSlot& toward, float delay) {
    mAnimations.push_back({Animation::cInPlace, entity, state, GridSlot(), toward, delay, {}});
}

void HeadlessSceneServices::playEntityHitAnimation(Entity* entity, int32_t state,
                                                   const GridSlot& own, const GridSlot& toward) {
    mAnimations.push_back({Animation::cHit, entity, state, own, toward, 0.0f, {}});
}
