#include "rules/SceneServices.h"

namespace {

SceneServices* gInstalled = nullptr;

} // namespace

SceneServices::~SceneServices() = default;

CocosEntityLink* SceneServices::createEntityLink(Entity* /*entity*/) {
    return nullptr;
}

bool SceneServices::playSoundEffect(const std::string& /*name*/, int32_t* /*effectId*/,
                                    bool /*loop*/) {
    return false;
}

bool SceneServices::playSoundEffectPanned(const std::string& /*name*/,
                                          const cocos2d::CCPoint& /*position*/,
                                          int32_t* /*effectId*/, bool /*loop*/) {
    return false;
}

void SceneServices::stopSoundEffect(int32_t /*effectId*/) {}

int32_t SceneServices::effectGroupIndex(const std::string& /*path*/) {
    return -1;
}

bool SceneServices::spawnEffectGroup(int32_t /*index*/, cocos2d::CCNode* /*parent*/,
                                     const cocos2d::CCPoint& /*position*/, int /*zOrder*/,
                                     float /*delay*/, const cocos2d::ccColor3B& /*color*/) {
    return false;
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

bool playSoundEffect(const std::string& name, int32_t* effectId, bool loop) {
    return sceneServices().playSoundEffect(name, effectId, loop);
}

bool playSoundEffectPanned(const std::string& name, const cocos2d::CCPoint& position,
                           int32_t* effectId, bool loop) {
    return sceneServices().playSoundEffectPanned(name, position, effectId, loop);
}

void stopSoundEffect(int32_t effectId) {
    sceneServices().stopSoundEffect(effectId);
}
