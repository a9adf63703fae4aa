#pragma once

// Colour, blending and vertex value types shared by the engine and the
// renderer. The quad vertex (position, colour, texture coordinate) has the
// 24-byte stride the renderer's vertex arrays rely on.

#include <cstdint>

namespace cocos2d {

struct ccColor3B {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const ccColor3B& other) const = default;
};

struct ccColor4B {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;
    bool operator==(const ccColor4B& other) const = default;
};

struct ccColor4F {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

inline ccColor3B ccc3(uint8_t r, uint8_t g, uint8_t b) {
    return ccColor3B{r, g, b};
}
inline ccColor4B ccc4(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return ccColor4B{r, g, b, a};
}

inline constexpr ccColor3B ccWHITE{255, 255, 255};
inline constexpr ccColor3B ccBLACK{0, 0, 0};

// Blend factors, with the values of their GL namesakes.
inline constexpr uint32_t kCCBlendZero = 0;
inline constexpr uint32_t kCCBlendOne = 1;
inline constexpr uint32_t kCCBlendSrcAlpha = 0x0302;
inline constexpr uint32_t kCCBlendOneMinusSrcAlpha = 0x0303;

struct ccBlendFunc {
    uint32_t src = kCCBlendOne;
    uint32_t dst = kCCBlendOneMinusSrcAlpha;
    bool operator==(const ccBlendFunc& other) const = default;
};

struct ccVertex2F {
    float x = 0.0f;
    float y = 0.0f;
};

struct ccVertex3F {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct ccTex2F {
    float u = 0.0f;
    float v = 0.0f;
};

struct ccV3F_C4B_T2F {
    ccVertex3F vertices;
    ccColor4B colors;
    ccTex2F texCoords;
};

// One sprite quad, corners in the order top-left, bottom-left, top-right,
// bottom-right.
struct ccV3F_C4B_T2F_Quad {
    ccV3F_C4B_T2F tl;
    ccV3F_C4B_T2F bl;
    ccV3F_C4B_T2F tr;
    ccV3F_C4B_T2F br;
};

static_assert(sizeof(ccV3F_C4B_T2F) == 24, "the quad vertex stride is 24 bytes");
static_assert(sizeof(ccV3F_C4B_T2F_Quad) == 96, "a quad is four vertices");

} // namespace cocos2d
