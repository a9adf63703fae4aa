#pragma once

// GL ES 1.1 drawing helpers of the nodes, called from their draw() while the
// GL renderer walks the tree. The renderer's state between draws: 2-D
// texturing on, the vertex, colour and texture-coordinate arrays on, texture
// environment modulate, blending on with (ONE, ONE_MINUS_SRC_ALPHA) for
// premultiplied colours. Coordinates are pixels of the node's space.

#include "platform/engine/ccTypes.h"

#include <cstddef>

namespace cocos2d {

class CCTexture2D;

// Premultiplies a colour by an opacity.
ccColor4B ccPremultiplied(const ccColor3B& color, uint8_t opacity);

// Draws quads (corners top-left, bottom-left, top-right, bottom-right) with
// the texture (none: colour only) through the blend function.
void ccDrawQuads(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad* quads, size_t count,
                 const ccBlendFunc& blend);
// Adds tint x the texture's alpha x opacity to what lies under the quad:
// the tint pass of sprites. A black tint adds nothing and draws nothing.
void ccDrawTintPass(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad& quad, const ccColor3B& tint,
                    uint8_t opacity);

} // namespace cocos2d
