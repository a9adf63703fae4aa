#pragma once

// The OpenGL ES 1.1 renderer: draws the running scene into a view with the
// fixed-function pipeline. Each frame: make the view's context current, set
// its viewport, clear (unless told not to, when something else drew under
// the scene first), project the view's pixels (origin bottom-left), set the
// default state (see CCDrawing.h) and visit the scene. Nodes are placed in
// pixels: their transforms run in points and their translations are scaled
// by the content scale factor.
//
// Nodes draw through the quad batcher of CCDrawing.h, which holds quads back
// and keeps GL's matrices at identity. The rule for any draw() override that
// issues GL calls of its own: make them inside a ccCustomGLDraw scope, which
// flushes the batch first (the node's drawing lands after everything drawn
// before it in the tree), gives the node its transform in GL's matrices and
// restores the batcher's state afterwards.

#include "platform/engine/CCRenderer.h"

namespace cocos2d {

class CCEGLView;

class CCGLRenderer : public CCRenderer {
public:
    explicit CCGLRenderer(CCEGLView* view) : mView(view) {}

    void drawScene(CCScene* scene) override;
    void beginNode(CCNode* node) override;
    void endNode(CCNode* node) override;
    void fillRect(const CCRect& rect, const ccColor4B& color, const ccBlendFunc& blend) override;

    void setClearColor(const ccColor4F& color) { mClearColor = color; }
    void setClearsFrame(bool clears) { mClearsFrame = clears; }
    CCEGLView* getView() const { return mView; }

    // Puts the default drawing state in place.
    static void applyDefaultState();

private:
    CCEGLView* mView;
    ccColor4F mClearColor{0, 0, 0, 1};
    bool mClearsFrame = true;
    float mScale = 1.0f; // content scale factor of the frame being drawn
};

} // namespace cocos2d
