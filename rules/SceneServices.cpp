#include "rules/SceneServices.h"

namespace {

SceneServices* gInstalled = nullptr;

} // namespace

SceneServices::~SceneServices() = default;

CocosEntityLink* SceneServices::createEntityLink(Entity* /*entity*/) {
    return nullptr;
}

void SceneServices::addTooltipTarget(TooltipProtocol* /*target*/) {}
void SceneServices::removeTooltipTarget(TooltipProtocol* /*target*/) {}
void SceneServices::showTooltip(TooltipProtocol* /*target*/) {}
void SceneServices::showTooltipIndicator(TooltipProtocol* /*target*/) {}
void SceneServices::hideTooltipIndicator(TooltipProtocol* /*target*/) {}

cocos2d::CCSize SceneServices::tileTouchHalfExtents() {
    return cocos2d::CCSize(0.0f, 0.0f);
}

void SceneServices::drawGridDebug(const GridDebugDrawing& /*drawing*/) {}

int32_t SceneServices::layoutMode() {
    return 0;
}

void SceneServices::updateCivLeaderboards() {}

std::vector<TooltipProtocol*> SceneServices::tooltipTargets() {
    return {};
}

void SceneServices::playEntityAnimation(Entity* /*entity*/, int32_t /*state*/,
                                        const GridSlot& /*own*/, const GridSlot& /*toward*/,
                                        float /*delay*/, const GridSlot& /*end*/) {}
void SceneServices::playEntityAnimationInPlace(Entity* /*entity*/, int32_t /*state*/,
                                               const GridSlot& /*toward*/, float /*delay*/) {}
void SceneServices::playEntityHitAnimation(Entity* /*entity*/, int32_t /*state*/,
                                           const GridSlot& /*own*/, const GridSlot& /*toward*/) {}

SceneServices& sceneServices() {
    static SceneServices builtIn;
    return gInstalled != nullptr ? *gInstalled : builtIn;
}

void setSceneServices(SceneServices* services) {
    gInstalled = services;
}
