#pragma once

// Helpers shared by the action effects' files.

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameSceneInterface.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <cmath>

namespace effects {

inline constexpr float cDegreesPerRadian = 57.29578f;

// The entity's view node; null without an entity or view.
inline cocos2d::CCNode* viewNode(const Entity* entity) {
    const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    return view != nullptr ? view->getMainNode() : nullptr;
}

// The game's entity of an id; null without one.
inline Entity* entityOf(const Game* game, int32_t id) {
    return game != nullptr ? game->getEntity(id) : nullptr;
}

// -atan2 of a vector, in degrees.
inline float headingOf(const cocos2d::CCPoint& v) {
    return -std::atan2(v.y, v.x) * cDegreesPerRadian;
}

// Sets a node's opacity when it has one.
inline void setOpacity(cocos2d::CCNode* node, uint8_t opacity) {
    if (auto* rgba = dynamic_cast<cocos2d::CCRGBAProtocol*>(node))
        rgba->setOpacity(opacity);
}

// Adds a node to the scene at zOrder and registers it; false without a scene.
inline bool addToScene(cocos2d::CCNode* node, int zOrder) {
    if (node == nullptr || gGameScene == nullptr || gGameScene->getSceneNode() == nullptr)
        return false;
    gGameScene->getSceneNode()->addChild(node, zOrder);
    gGameScene->addEffectNode(node);
    return true;
}

} // namespace effects
