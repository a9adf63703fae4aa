#pragma once

// The drawing back end behind the director. The director hands it the
// running scene once per frame; the null renderer, the default, draws
// nothing, so the engine runs without a display.
//
// A drawing renderer walks the tree with CCNode::visit, which brackets each
// node with beginNode and endNode (where the renderer applies and drops the
// node's transform); nodes draw in their draw() either through the
// renderer's primitives (fillRect) or, in the render library, through its
// quad batcher (CCGLRenderer.h says how a node issues GL calls of its own).

#include "platform/engine/CCGeometry.h"
#include "platform/engine/ccTypes.h"

namespace cocos2d {

class CCNode;
class CCScene;

class CCRenderer {
public:
    virtual ~CCRenderer() = default;
    // Draws one frame; scene is null when no scene runs.
    virtual void drawScene(CCScene* scene) = 0;
    // Around the drawing of a node and its children.
    virtual void beginNode(CCNode* node);
    virtual void endNode(CCNode* node);
    // Fills a rectangle of the current node's space (points) with a colour
    // (not premultiplied) through the blend function.
    virtual void fillRect(const CCRect& rect, const ccColor4B& color, const ccBlendFunc& blend);
};

class CCNullRenderer : public CCRenderer {
public:
    void drawScene(CCScene* scene) override;
};

} // namespace cocos2d
