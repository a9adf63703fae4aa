#pragma once

// The beam drawn between a unit and the target of its ongoing link: the
// sprite's image scrolled along its length (repeating once per unit of
// horizontal scale instead of stretching), multiplied by a mask stretched
// once over the whole beam, and tinted with the owner's team colour
// (premultiplied by the opacity). Made with new, then initWithFile with the
// beam image; the creator sets mSpeed and mColor. It scrolls at update
// priority 1 from its creation; it draws only under the GL renderer, with
// two texture units and the fixed-function combiner. Main thread only.

#include "platform/render/CCSprite.h"

#include <array>

class HealingBeamSprite : public cocos2d::CCSprite {
public:
    HealingBeamSprite() = default;
    ~HealingBeamSprite() override;

    // The unit quad, the mask and the scroll; the sprite's own init does not run.
    bool init() override;
    void update(cocos2d::ccTime dt) override;
    void draw() override;

    float getScroll() const { return mScroll; }
    cocos2d::CCTexture2D* getMaskTexture() const { return mMaskTexture; }

    static constexpr const char* cMaskImage = "Effects/Textures/MedicHealFX_Mask01.png";

private:
    // x, y, z, then s, t of each texture unit.
    struct Vertex {
        float x, y, z;
        float s0, t0;
        float s1, t1;
    };

    float mScroll = 0.0f;
    cocos2d::CCTexture2D* mMaskTexture = nullptr; // retained

public:
    float mSpeed = 0.0f; // texture widths per second
    cocos2d::ccColor3B mColor = cocos2d::ccc3(255, 255, 255);

private:
    std::array<Vertex, 4> mVertices{};
};
