#include "platform/render/CCDrawing.h"

#include "platform/render/CCTexture2D.h"

#include <GLES/gl.h>

#include <vector>

namespace cocos2d {

namespace {

constexpr ccBlendFunc kDefaultBlend{};

void bindTexture(CCTexture2D* texture) {
    glBindTexture(GL_TEXTURE_2D, texture ? texture->getName() : 0);
}

void pointArraysAt(const ccV3F_C4B_T2F* vertices) {
    const auto* base = reinterpret_cast<const char*>(vertices);
    constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
}

} // namespace

ccColor4B ccPremultiplied(const ccColor3B& color, uint8_t opacity) {
    const auto scale = [opacity](uint8_t c) { return uint8_t((c * opacity + 127) / 255); };
    return ccc4(scale(color.r), scale(color.g), scale(color.b), opacity);
}

void ccDrawQuads(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad* quads, size_t count,
                 const ccBlendFunc& blend) {
    if (count == 0)
        return;
    bindTexture(texture);
    const bool ownBlend = !(blend == kDefaultBlend);
    if (ownBlend)
        glBlendFunc(blend.src, blend.dst);
    if (count == 1) {
        pointArraysAt(&quads->tl);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    } else {
        // Two triangles per quad, sharing the quads' vertices.
        std::vector<GLushort> indices;
        indices.reserve(count * 6);
        for (size_t i = 0; i < count; ++i) {
            const auto first = GLushort(i * 4);
            for (int corner : {0, 1, 2, 2, 1, 3})
                indices.push_back(GLushort(first + corner));
        }
        pointArraysAt(&quads->tl);
        glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    }
    if (ownBlend)
        glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
}

void ccDrawTintPass(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad& quad, const ccColor3B& tint,
                    uint8_t opacity) {
    if (tint == ccBLACK || opacity == 0)
        return;
    ccV3F_C4B_T2F_Quad tinted = quad;
    ccColor4B color = ccPremultiplied(tint, opacity);
    color.a = 0;
    for (ccV3F_C4B_T2F* v : {&tinted.tl, &tinted.bl, &tinted.tr, &tinted.br})
        v->colors = color;
    bindTexture(texture);
    // rgb = tint x texture alpha, alpha = 0: added, it leaves the alpha alone.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    glBlendFunc(GL_ONE, GL_ONE);
    pointArraysAt(&tinted.tl);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

} // namespace cocos2d
