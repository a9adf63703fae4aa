#pragma once

// Lays out and renders the text of a label into straight-alpha RGBA pixels
// (rows from the top) with SDL_ttf: wrapping at the box's width, shrinking
// towards the smallest size until the text fits, alignment in the box, and
// the shadow, outline and fill layers. All sizes are pixels.

#include "platform/engine/CCGeometry.h"
#include "platform/render/CCImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {

struct DropShadowInfo;
struct OutlineFillInfo;

class CCTextRaster {
public:
    struct Style {
        std::string fontName;
        float pixelSize = 12.0f;
        float minPixelSize = -1.0f; // above 0: may shrink down to it to fit the box
        CCSize box;                 // 0 in a direction: as large as the text
        CCImage::ETextAlign alignment = CCImage::kAlignCenter;
        const DropShadowInfo* shadow = nullptr;
        const OutlineFillInfo* outlineFill = nullptr;
    };
    struct Result {
        std::vector<uint8_t> pixels;
        int width = 0;
        int height = 0;
        float pixelSize = 0.0f; // the font size used
    };

    static Result render(const std::string& text, const Style& style);
    // The lines of the text wrapped at a width (0: only at line breaks), for
    // a font size; with each line's width.
    static std::vector<std::string> wrap(const std::string& text, const std::string& fontName,
                                         int pixelSize, int width);
};

} // namespace cocos2d
