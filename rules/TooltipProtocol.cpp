#include "rules/TooltipProtocol.h"

#include "rules/SceneServices.h"

#include "platform/engine/CCNode.h"

#include <cmath>

TooltipProtocol::~TooltipProtocol() {
    if (mTooltipIndicator != nullptr) {
        mTooltipIndicator->removeFromParentAndCleanup(true);
        cocos2d::ccSafeRelease(mTooltipIndicator);
    }
    sceneServices().removeTooltipTarget(this);
}

cocos2d::CCPoint TooltipProtocol::getTooltipIndicatorPosition() const {
    return getTooltipPosition();
}

void TooltipProtocol::showTooltip() {
    sceneServices().showTooltip(this);
}

void TooltipProtocol::buildTooltip(cocos2d::CCNode* /*layer*/) {}

bool TooltipProtocol::hitTestTooltip(const cocos2d::CCPoint& point) const {
    const cocos2d::CCPoint anchor = getTooltipPosition();
    return std::fabs(point.x - anchor.x) <= 20.0f && std::fabs(point.y - anchor.y) <= 20.0f;
}

void TooltipProtocol::showTooltipIndicator() {
    sceneServices().showTooltipIndicator(this);
}

void TooltipProtocol::hideTooltipIndicator() {
    sceneServices().hideTooltipIndicator(this);
}
