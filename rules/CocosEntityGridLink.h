#pragma once

// The view of an EntityGrid: the measures of its perspective layout (cell
// size, the width factor of the back row), the lattice of the cells' corners
// and the grid's main node. The grid's geometry reads its position, size and
// measures from here; views of particular grids (board, rack, chest) derive
// from it and build their nodes on the game scene's node. With no game scene
// a view keeps its measures and builds no node.

#include "rules/CocosLink.h"

#include "platform/engine/ccTypes.h"

#include <array>
#include <vector>

namespace cocos2d {
class CCNode;
}

class EntityGrid;

class CocosEntityGridLink : public CocosLink {
public:
    explicit CocosEntityGridLink(EntityGrid* owner);
    // Frees the lattice; the main node belongs to the derived views.
    ~CocosEntityGridLink() override;

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

    // Builds the lattice of (width + 1) x (height + 1) corners, row line by
    // row line from the front edge: the grid's projected corners moved by the
    // cell offset, in pixels (times the content scale factor), z 0. Empty
    // without an owner grid.
    void buildVertexGrid();
    const std::vector<cocos2d::ccVertex3F>& getVertices() const { return mVertices; }
    // The corners (x, y, z) of slot (x, y), in the order top-left, bottom-left,
    // top-right, bottom-right: the lattice points (row line y + 1, column x),
    // (y, x), (y + 1, x + 1), (y, x + 1). False outside the grid or lattice.
    bool getSlotCorners(int32_t x, int32_t y, std::array<float, 12>& out) const;

protected:
    // The game scene's node, null with no game scene.
    static cocos2d::CCNode* sceneNode();
    // Removes a node this view made from its parent and releases it.
    template <class Node> static void dropNode(Node*& node) {
        removeAndRelease(node);
        node = nullptr;
    }
    template <class Node> static void dropNodes(std::vector<Node*>& nodes) {
        for (Node* node : nodes)
            removeAndRelease(node);
        nodes.clear();
    }
    static void removeAndRelease(cocos2d::CCNode* node);

    std::vector<cocos2d::ccVertex3F> mVertices;
    cocos2d::CCSize mCellSize;
    float mFarScale = 1.0f;
    cocos2d::CCNode* mNode = nullptr;
};
