#pragma once

// A particle system drawn as one textured, rotated quad per particle.

#include "platform/render/CCParticleSystem.h"

namespace cocos2d {

class CCParticleSystemQuad : public CCParticleSystem {
public:
    // An autoreleased system of the file (see CCParticleSystem).
    static CCParticleSystemQuad* particleWithFile(const std::string& file);
    // The particles' quads in pixels of the node's space.
    std::vector<ccV3F_C4B_T2F_Quad> buildQuads();
    void draw() override;
};

} // namespace cocos2d
