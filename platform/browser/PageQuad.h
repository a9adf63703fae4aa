#pragma once

// Quad records of the page overlay and the loading screen: four vertices in
// the order (x, y + h), (x, y), (x + w, y + h), (x + w, y), drawn as one
// triangle strip, in view pixels with y growing upward from the bottom edge.
// Each vertex is 24 bytes: position (z = 0), opaque white colour, texture
// coordinates.

#include <array>
#include <cstdint>

struct PageVertex {
    float x, y, z;
    uint8_t r, g, b, a;
    float u, v;
};
static_assert(sizeof(PageVertex) == 24, "the quad record's stride is 24 bytes");

using PageQuad = std::array<PageVertex, 4>;

// A quad of (x, y, w, h) with texture coordinates given as (left u,
// bottom v, right u, top v).
PageQuad makePageQuad(float x, float y, float w, float h, float leftU, float bottomV, float rightU,
                      float topV);

// A rectangle of the page: left, top, width, height in pixels from the
// page's top-left corner.
struct PageRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The loading screen's image quad: the board rectangle turned upward, the
// image's top three quarters.
PageQuad loadingImageQuad(const PageRect& board, int pageHeight);

// The loading label's quad: its right edge 4 pixels inside the board's right
// edge (for a page as wide as the layout), its top on the board's top.
PageQuad loadingLabelQuad(const PageRect& board, int pageWidth, int pageHeight, float labelWidth,
                          float labelHeight, int layoutWidth);

// The layout's width for layout mode 0, 1 or 2 (800, 1280, 1434).
int layoutWidthForMode(int layoutMode);
