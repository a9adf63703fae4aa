#pragma once

// What every object that can show a tooltip offers (premium squares, unit
// views). The board scene's tooltip manager keeps the registered objects and
// opens the tooltip of the one nearest a tap; the rules and views reach it
// through SceneServices.

#include "platform/engine/CCGeometry.h"

#include <cstdint>

namespace cocos2d {
class CCNode;
}

class TooltipProtocol {
public:
    // Virtual operations, in this order.
    // Removes and releases the indicator and unregisters the object.
    virtual ~TooltipProtocol();
    // The point the tooltip belongs to.
    virtual cocos2d::CCPoint getTooltipPosition() const = 0;
    // Where the indicator sprite goes: the tooltip position.
    virtual cocos2d::CCPoint getTooltipIndicatorPosition() const;
    // Opens a tooltip layer for this object on the game scene.
    virtual void showTooltip();
    // Fills the tooltip layer; nothing here.
    virtual void buildTooltip(cocos2d::CCNode* layer);
    // True within 20 of the tooltip position in both x and y.
    virtual bool hitTestTooltip(const cocos2d::CCPoint& point) const;

    // Creates the (hidden) indicator sprite of the tooltip kind on the game
    // scene, once; the caller places and reveals it.
    void showTooltipIndicator();
    // Removes the indicator and unregisters the object from the manager.
    void hideTooltipIndicator();

    int32_t mTooltipKind = -1; // -1 none, 0..3 an indicator image; premium squares use 1
    // The indicator sprite, retained; null when none.
    cocos2d::CCNode* mTooltipIndicator = nullptr;
};
