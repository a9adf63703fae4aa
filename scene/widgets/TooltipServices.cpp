#include "scene/widgets/TooltipServices.h"

#include "rules/GameSceneInterface.h"
#include "rules/TooltipProtocol.h"
#include "scene/widgets/TooltipLayer.h"
#include "scene/widgets/TooltipManager.h"

#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"

using namespace cocos2d;

namespace {

// The game scene's node, or null outside a game.
CCNode* sceneNode() {
    return gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr;
}

} // namespace

void TooltipServices::addTooltipTarget(TooltipProtocol* target) {
    gTooltipManager.addTarget(target);
}

void TooltipServices::removeTooltipTarget(TooltipProtocol* target) {
    gTooltipManager.removeTarget(target);
}

void TooltipServices::showTooltip(TooltipProtocol* target) {
    CCNode* scene = sceneNode();
    if (target == nullptr || scene == nullptr)
        return;
    scene->addChild(new TooltipLayer(target, true), cPopupZOrder);
}

void TooltipServices::showTooltipIndicator(TooltipProtocol* target) {
    CCNode* scene = sceneNode();
    if (target == nullptr || scene == nullptr || target->mTooltipIndicator != nullptr)
        return;
    CCTexture2D* texture = gTooltipManager.indicatorTexture(target->mTooltipKind);
    if (texture == nullptr)
        return;
    CCSprite* indicator = CCSprite::spriteWithTexture(texture);
    indicator->retain();
    indicator->setScale(0.75f);
    indicator->setOpacity(0);
    indicator->setIsVisible(false);
    scene->addChild(indicator, TooltipManager::cIndicatorZOrder);
    target->mTooltipIndicator = indicator;
}

void TooltipServices::hideTooltipIndicator(TooltipProtocol* target) {
    if (target == nullptr)
        return;
    if (sceneNode() != nullptr && target->mTooltipIndicator != nullptr) {
        target->mTooltipIndicator->removeFromParentAndCleanup(true);
        ccSafeRelease(target->mTooltipIndicator);
    }
    gTooltipManager.removeTarget(target);
}

std::vector<TooltipProtocol*> TooltipServices::tooltipTargets() {
    return gTooltipManager.targets();
}
