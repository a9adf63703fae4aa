#pragma once

// The view of the GameBoard as the board rules see it: the grid view with
// the board's cell measures and the layout's grid offset, plus the slot
// highlights, range arrows and teleporter effects that the board asks for
// while a tile is dragged. Those do nothing here; the drawn board view
// derives from this class and shows them.

#include "rules/CocosEntityGridLink.h"
#include "rules/GridSlot.h"

#include "platform/engine/ccTypes.h"

class Entity;
class GameBoard;

class CocosGameBoardLink : public CocosEntityGridLink {
public:
    // Cells of 52.222 x 50, the back row narrowed by the setting
    // "boardMaxDistanceWidthScale".
    explicit CocosGameBoardLink(GameBoard* owner);

    // The layout's grid offset; (0, 0) without an owner or layout.
    cocos2d::CCPoint getCellOffset() const override;

    // Highlights one slot's overlay in a colour.
    virtual void highlightSlot(const GridSlot& slot, const cocos2d::ccColor3B& color);
    // Hides every slot overlay.
    virtual void hideSlotHighlights();
    // The ranged-attack arrows of a unit, and hiding them.
    virtual void showRangeArrows(const Entity* unit);
    virtual void hideRangeArrows();
    // The effect of a Teleporter square, and hiding every such effect.
    virtual void showTeleporterEffect(const GridSlot& slot, float delay);
    virtual void hideTeleporterEffects();

    // Highlights the rectangle of slots between two corners, inclusive.
    void highlightSlots(const GridSlot& from, const GridSlot& to, const cocos2d::ccColor3B& color);
};
