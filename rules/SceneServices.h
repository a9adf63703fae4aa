#pragma once

// The process-wide services of the board scene that the rules call: views of
// entities, tooltips and debug drawing. Sounds play through the sound library
// (scene/sound/SoundPlayback.h), effect groups through puppet/EffectGroup.h.
//
// The board scene implements SceneServices and installs it at start-up.
// Until then (and in the rules' tests, which install recording fakes) the
// built-in services answer as the game does with no scene: no entity view is
// made, tooltips and debug drawing do nothing. Main thread only.

#include "rules/GridSlot.h"

#include "platform/engine/CCGeometry.h"
#include "platform/engine/ccTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
class CCNode;
}

class CocosEntityLink;
class Entity;
class TooltipProtocol;

// The lines and points of a grid's debug outline.
struct GridDebugDrawing {
    cocos2d::ccColor4F mColor;
    float mLineWidth = 1.0f;
    float mPointSize = 1.0f;
    std::vector<cocos2d::CCPoint> mLines; // pairs of end points
    std::vector<cocos2d::CCPoint> mPoints;
};

class SceneServices {
public:
    virtual ~SceneServices();

    // A new view of the entity, owned by the caller; null when none is made.
    virtual CocosEntityLink* createEntityLink(Entity* entity);

    // The tooltip manager's list, and the tooltip and indicator of an object.
    virtual void addTooltipTarget(TooltipProtocol* target);
    virtual void removeTooltipTarget(TooltipProtocol* target);
    virtual void showTooltip(TooltipProtocol* target);
    virtual void showTooltipIndicator(TooltipProtocol* target);
    virtual void hideTooltipIndicator(TooltipProtocol* target);

    // Half the extents of the rectangle in which a tile without a puppet
    // takes touches: the board's half square size plus its margin; 0 x 0
    // with no board layout.
    virtual cocos2d::CCSize tileTouchHalfExtents();

    // Draws a grid's debug outline.
    virtual void drawGridDebug(const GridDebugDrawing& drawing);

    // The shell's layout of the board scene chosen by screen size (2: the
    // large layout); 0 here.
    virtual int32_t layoutMode();

    // The shell's refresh of the platform's per-civ win stats and
    // leaderboard scores; nothing here.
    virtual void updateCivLeaderboards();
    // The tooltip manager's registered targets, in their order; none here.
    virtual std::vector<TooltipProtocol*> tooltipTargets();

    // The animation driver of entity views (Entity::playAnimation and its
    // kin hand over to these); nothing here.
    virtual void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                     const GridSlot& toward, float delay, const GridSlot& end);
    virtual void playEntityAnimationInPlace(Entity* entity, int32_t state, const GridSlot& toward,
                                            float delay);
    virtual void playEntityHitAnimation(Entity* entity, int32_t state, const GridSlot& own,
                                        const GridSlot& toward);
};

// The services in use: the installed ones, else the built-in ones.
SceneServices& sceneServices();
// Installs services (which must outlive their use); null restores the built-in ones.
void setSceneServices(SceneServices* services);
