#pragma once

// The view of an EntityGrid: the measures of its perspective layout (cell
// size, the width factor of the back row) and the grid's main node. The
// grid's geometry reads its position, size and measures from here; views of
// particular grids (board, rack, chest) derive from it and build their
// nodes.

#include "rules/CocosLink.h"

namespace cocos2d {
class CCNode;
}

class EntityGrid;

class CocosEntityGridLink : public CocosLink {
public:
    explicit CocosEntityGridLink(EntityGrid* owner);

    // Keeps the position; the size becomes the grid's width and height in
    // cells. False without an owner grid.
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;

    // Virtual operations after those of CocosLink, in this order.
    virtual cocos2d::CCSize getCellSize() const;
    // The width factor of the back edge of the grid.
    virtual float getCellScale() const;
    // The offset of the cell lattice; (0, 0) here.
    virtual cocos2d::CCPoint getCellOffset() const;

    // Shows or hides the grid's node and the main nodes of its entities.
    void refreshEntities(bool visible);

    cocos2d::CCNode* getNode() const { return mNode; }

protected:
    cocos2d::CCSize mCellSize;
    float mFarScale = 1.0f;
    cocos2d::CCNode* mNode = nullptr;
};
