#include "platform/render/CCParticleSystemQuad.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCDrawing.h"

#include <GLES/gl.h>

#include <cmath>
#include <numbers>

namespace cocos2d {

CCParticleSystemQuad* CCParticleSystemQuad::particleWithFile(const std::string& file) {
    auto* system = new CCParticleSystemQuad();
    system->initWithFile(file);
    system->autorelease();
    return system;
}

std::vector<ccV3F_C4B_T2F_Quad> CCParticleSystemQuad::buildQuads() {
    std::vector<ccV3F_C4B_T2F_Quad> quads;
    quads.reserve(mParticles.size());
    const float scale = CCDirector::sharedDirector()->getContentScaleFactor();
    // Premultiplied textures: a source-alpha blend becomes ONE with
    // premultiplied vertex colours, which draws the same.
    const bool premultiply = mBlendFunc.src == GL_ONE || mBlendFunc.src == GL_SRC_ALPHA;
    const CCPoint here = convertToWorldSpace(CCPointZero);
    const float flip = mFlipX ? -1.0f : 1.0f;
    for (const Particle& p : mParticles) {
        // Free particles stay where they were emitted in the world.
        const CCPoint pos(flip * p.pos.x + (p.startPos.x - here.x),
                          p.pos.y + (p.startPos.y - here.y));
        const float half = p.size * scale / 2;
        const float x = pos.x * scale;
        const float y = pos.y * scale;
        const auto channel = [](float value) {
            return uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
        };
        const float k = premultiply ? std::clamp(p.color.a, 0.0f, 1.0f) : 1.0f;
        const ccColor4B color = ccc4(channel(p.color.r * k), channel(p.color.g * k),
                                     channel(p.color.b * k), channel(p.color.a));
        const float angle = -flip * p.rotation * std::numbers::pi_v<float> / 180.0f;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const auto corner = [&](float dx, float dy, float u, float v) {
            return ccV3F_C4B_T2F{{x + dx * c - dy * s, y + dx * s + dy * c, 0}, color, {u, v}};
        };
        quads.push_back(ccV3F_C4B_T2F_Quad{corner(-half, half, 0, 0), corner(-half, -half, 0, 1),
                                           corner(half, half, 1, 0), corner(half, -half, 1, 1)});
    }
    return quads;
}

void CCParticleSystemQuad::draw() {
    if (mParticles.empty())
        return;
    const std::vector<ccV3F_C4B_T2F_Quad> quads = buildQuads();
    ccBlendFunc blend = mBlendFunc;
    if (blend.src == GL_SRC_ALPHA)
        blend.src = GL_ONE;
    ccDrawQuads(mTexture, quads.data(), quads.size(), blend);
}

} // namespace cocos2d
