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

SceneServices& sceneServices() {
    static SceneServices builtIn;
    return gInstalled != nullptr ? *gInstalled : builtIn;
}

void setSceneServices(SceneServices* services) {
    gInstalled = services;
}
