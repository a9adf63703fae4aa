#pragma once

// GL ES 1.1 drawing helpers of the nodes, called from their draw() while the
// GL renderer walks the tree. The renderer's state between draws: 2-D
// texturing on, the vertex, colour and texture-coordinate arrays on, texture
// environment modulate, blending on with (ONE, ONE_MINUS_SRC_ALPHA) for
// premultiplied colours. Coordinates are pixels of the node's space.
//
// Quads are batched: each is turned into frame coordinates on the CPU (the
// GL matrices stay at identity) and appended to the pending vertex array;
// consecutive quads that share texture, blend function and colour mode go
// out in one draw call, and any change flushes first, so quads still reach
// the frame in the order they were given. A sprite's tint needs no state of
// its own: tinted and plain quads share one texture-combiner set-up (see
// CCDrawing.cpp), so a run of sprites of one texture is one call whether or
// not they are tinted.

#include "platform/engine/CCAffineTransform.h"
#include "platform/engine/ccTypes.h"

#include <cstddef>

namespace cocos2d {

class CCTexture2D;

// Premultiplies a colour by an opacity.
ccColor4B ccPremultiplied(const ccColor3B& color, uint8_t opacity);

// What the drawing of a frame cost so far: draw calls issued and changes of
// the texture mode (plain, tint combiner, untextured fill).
struct ccDrawStats {
    unsigned drawCalls = 0;
    unsigned modeSwitches = 0;
};

// Frame bracket, called by the renderer once the default state is in place:
// beginning takes over the view's projection (width x height pixels, origin
// bottom-left) and resets the statistics; ending flushes what is pending.
void ccBeginDrawFrame(float width, float height);
void ccEndDrawFrame();
// The statistics of the frame being drawn or last drawn.
ccDrawStats ccGetDrawStats();

// The transform of the node about to draw, relative to its parent (its
// translation in points, scaled by the content scale factor), and its end.
void ccPushNodeTransform(const CCAffineTransform& nodeToParent, float contentScale);
void ccPopNodeTransform();
// Draws what is pending.
void ccFlushQuads();
// Forgets the GL objects the drawing made for itself; called when their
// context goes.
void ccForgetDrawingObjects();

// A node that draws with GL calls of its own does so between these two.
// Beginning draws what is pending, leaves the batcher's texture modes for
// the default state on texture unit 0 and loads the node's frame transform
// (projection and modelview, in pixels) into GL. Ending puts identity
// matrices back, unit 0's texture environment to modulate and the blend
// function to its default, and forgets the texture last bound, so the
// quads after it set up their own state. The node restores any other state
// it changed.
void ccBeginCustomDraw();
void ccEndCustomDraw();

// Draws quads (corners top-left, bottom-left, top-right, bottom-right) with
// the texture (none: colour only) through the blend function.
void ccDrawQuads(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad* quads, size_t count,
                 const ccBlendFunc& blend);
// Draws a sprite's quad, then adds tint x the texture's alpha x opacity to
// what lies under it. A black tint (or opacity 0) adds nothing.
void ccDrawTintedQuad(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad& quad,
                      const ccBlendFunc& blend, const ccColor3B& tint, uint8_t opacity);
// Fills a rectangle of the node's pixels with a colour (as glColor4f takes
// it) through the blend function, at once.
void ccFillQuad(float x0, float y0, float x1, float y1, const ccColor4F& color,
                const ccBlendFunc& blend);

} // namespace cocos2d
