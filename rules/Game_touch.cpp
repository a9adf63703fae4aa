// Game: the touches the game claims as the targeted touch delegate of its
// scene. A touch begins on the nearest draggable entity within 40 units (or
// taps the tile chest); its moves beyond the dead zone and its end go to that
// entity. A touch that ends without moving leaves the entity held (a tap),
// and the next touch acts on it. Phases: 0 idle, 1 began on an entity,
// 2 moved, 3 ended as a tap.

#include "rules/Game.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/GameSceneInterface.h"
#include "rules/SceneServices.h"
#include "rules/TooltipProtocol.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/TimeTexts.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouch.h"

using cocos2d::CCPoint;

namespace {

// Touches and tooltips reach 40 units.
constexpr float cTouchReachSquared = 1600.0f;

float distanceSquared(const CCPoint& a, const CCPoint& b) {
    return cocos2d::ccpLengthSQ(cocos2d::ccpSub(a, b));
}

// Views, grids and tooltip anchors stand in the running scene, which the
// board moves off the window's origin.
CCPoint scenePoint(const cocos2d::CCTouch* touch) {
    return cocos2d::CCDirector::sharedDirector()->convertToScene(touch->locationInView());
}

} // namespace

bool Game::ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) {
    const CCPoint point = scenePoint(touch);
    mTouchStartPoint = point;
    bool claimed = false;
    if (mTapPending == 1 && mTouchPhase == 3 && mTouchEntity != nullptr) {
        // The second touch of a tap acts on the entity held.
        mTapPending = 0;
        claimed = true;
    } else {
        Entity* nearest = nullptr;
        float nearestDistance = cTouchReachSquared;
        for (Entity* target : mTouchTargets) {
            if (target == nullptr || !target->hasLink() || !target->canBeDragged())
                continue;
            const float distance = distanceSquared(target->getViewPosition(), point);
            if (distance < nearestDistance || (nearest == nullptr && distance <= nearestDistance)) {
                nearest = target;
                nearestDistance = distance;
            }
        }
        if (nearest != nullptr && nearest->ccTouchBegan(touch, event)) {
            mTouchEntity = nearest;
            mTouchStartTime = static_cast<float>(currentTimeSeconds());
            claimed = true;
        } else if (!isReplaying()) {
            EntityGrid* chest = getGrid(cGridTileChest, -1);
            if (chest != nullptr && chest->containsPoint(point)) {
                if (gGameScene != nullptr)
                    gGameScene->onTileChestTapped();
                claimed = true;
            }
        }
    }
    if (claimed && gGameScene != nullptr)
        gGameScene->showHealthNumbers();
    if (mTouchEntity != nullptr)
        mTouchPhase = 1;
    return claimed;
}

void Game::ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) {
    float deadZone = 0.0f;
    if (BConfig::instance().getFloat(cOptTouchDragDeadZone, deadZone) &&
        distanceSquared(scenePoint(touch), mTouchStartPoint) <= deadZone * deadZone)
        return;
    mTouchPhase = 2;
    if (mTouchEntity == nullptr)
        return;
    if (mTapPending == 1)
        mTapPending = 0;
    mTouchEntity->ccTouchMoved(touch, event);
}

void Game::ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) {
    if (mTouchPhase == 1) {
        // Never moved: a tap, and the entity stays held for the next touch.
        mTapPending = 1;
        mTouchPhase = 3;
        return;
    }
    mTouchPhase = 0;
    if (gGameScene != nullptr)
        gGameScene->hideHealthNumbers();
    if (mTouchEntity != nullptr)
        mTouchEntity->ccTouchEnded(touch, event);
    mTouchEntity = nullptr;
}

void Game::ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) {
    mTouchPhase = 0;
    if (gGameScene != nullptr)
        gGameScene->hideHealthNumbers();
    if (mTouchEntity != nullptr)
        mTouchEntity->ccTouchCancelled(touch, event);
    mTouchEntity = nullptr;
    mTouchStartTime = 0.0f;
}

void Game::ccRawMove(float x, float y, bool buttonDown) {
    if (!hasLink())
        return;
    const CCPoint point = cocos2d::CCDirector::sharedDirector()->convertToScene(CCPoint(x, y));
    TooltipProtocol* target = findNearestTooltipTarget(point);
    if (gGameScene != nullptr)
        gGameScene->updateDrag(point.x, point.y, target, buttonDown);
}

TooltipProtocol* Game::findNearestTooltipTarget(const CCPoint& point) const {
    // Kind 1 (premium squares) ranks below every other kind.
    constexpr int32_t cLowKind = 1;
    TooltipProtocol* nearest = nullptr;
    float nearestDistance = 0.0f;
    for (TooltipProtocol* target : sceneServices().tooltipTargets()) {
        if (target == nullptr)
            continue;
        const float distance = distanceSquared(target->getTooltipIndicatorPosition(), point);
        if (distance > cTouchReachSquared)
            continue;
        if (nearest != nullptr) {
            const bool low = target->mTooltipKind == cLowKind;
            const bool nearestLow = nearest->mTooltipKind == cLowKind;
            if (low && !nearestLow)
                continue;
            if (low == nearestLow && distance > nearestDistance)
                continue;
        }
        nearest = target;
        nearestDistance = distance;
    }
    return nearest;
}
