#pragma once

// A text label drawn with a TrueType font: the text is laid out, rendered
// into a texture at the content scale factor and shown as a sprite.
//
// Without a box the content size is the measured text (with room for the
// outline and the shadow); with a box it is the box, the text wrapped at its
// width and placed by the alignment. The second size, when above 0, is the
// smallest font size the text may shrink to so that it fits its box; 0 or
// below keeps the size. Shadow and outline values are in texture pixels:
// the shadow's offset (positive y drops it downwards), alpha (0..1),
// brightness (0 black .. 1 white) and blur radius; the outline's colour and
// width; the fill colour, or a gradient from the top (position 0) to the
// bottom (1) of each line when it has stops.

#include "platform/render/CCImage.h"
#include "platform/render/CCSprite.h"

#include <string>
#include <vector>

namespace cocos2d {

enum CCTextAlignment {
    CCTextAlignmentLeft = 0,
    CCTextAlignmentCenter,
    CCTextAlignmentRight,
};

struct DropShadowInfo {
    DropShadowInfo(float offsetX, float offsetY, float alpha, float brightness, float blur)
        : offsetX(offsetX), offsetY(offsetY), alpha(alpha), brightness(brightness), blur(blur) {}
    float offsetX;
    float offsetY;
    float alpha;
    float brightness;
    float blur;
};

class GradientInfo {
public:
    struct Stop {
        ccColor4B color;
        float pos;
    };
    // Adds a colour stop at a position 0..1 (kept in position order).
    void addColor(const ccColor4B& color, float pos);
    const std::vector<Stop>& getStops() const { return mStops; }
    // The colour at a position; meaningless without stops.
    ccColor4B colorAt(float pos) const;

private:
    std::vector<Stop> mStops;
};

struct OutlineFillInfo {
    OutlineFillInfo(const ccColor4B& outlineColor, float outlineWidth, const ccColor4B& fillColor)
        : outlineColor(outlineColor), outlineWidth(outlineWidth), fillColor(fillColor) {}
    ccColor4B outlineColor;
    float outlineWidth;
    ccColor4B fillColor;
    GradientInfo gradient;
};

class CCLabelTTF : public CCSprite {
public:
    static CCLabelTTF* labelWithString(const char* text, const char* fontName, float fontSize);
    static CCLabelTTF* labelWithString(const char* text, const CCSize& box,
                                       CCTextAlignment alignment, const char* fontName,
                                       float fontSize);
    // The short factory with shadow and outline (null: none).
    static CCLabelTTF* labelWithString(const char* text, const char* fontName, float fontSize,
                                       const DropShadowInfo* shadow,
                                       const OutlineFillInfo* outlineFill = nullptr);
    static CCLabelTTF* labelWithString(const char* text, const char* fontName, float fontSize,
                                       float secondSize, const DropShadowInfo* shadow = nullptr,
                                       const OutlineFillInfo* outlineFill = nullptr);
    static CCLabelTTF* labelWithString(const char* text, const CCSize& box,
                                       CCImage::ETextAlign alignment, const char* fontName,
                                       float fontSize, float secondSize,
                                       const DropShadowInfo* shadow = nullptr,
                                       const OutlineFillInfo* outlineFill = nullptr);
    static CCLabelTTF* labelWithString(const char* text, const CCSize& box,
                                       CCTextAlignment alignment, const char* fontName,
                                       float fontSize, float secondSize,
                                       const DropShadowInfo* shadow = nullptr,
                                       const OutlineFillInfo* outlineFill = nullptr);
    ~CCLabelTTF() override;

    bool initWithString(const char* text, const CCSize& box, CCImage::ETextAlign alignment,
                        const char* fontName, float fontSize, float secondSize,
                        const DropShadowInfo* shadow, const OutlineFillInfo* outlineFill);

    // Lays the text out again when it changed.
    virtual void setString(const char* text);
    const char* getString() const { return mText.c_str(); }
    const std::string& getFontName() const { return mFontName; }
    float getFontSize() const { return mFontSize; }
    // The size the text was drawn at after shrinking to its box.
    float getDrawnFontSize() const { return mDrawnFontSize; }
    CCImage::ETextAlign getAlignment() const { return mAlignment; }

    // The horizontal alignment word as a box alignment (vertically centred).
    static CCImage::ETextAlign alignmentOf(CCTextAlignment alignment);

private:
    void updateTexture();

    std::string mText;
    std::string mFontName;
    CCSize mBox;
    CCImage::ETextAlign mAlignment = CCImage::kAlignCenter;
    float mFontSize = 0.0f;
    float mSecondSize = -1.0f;
    float mDrawnFontSize = 0.0f;
    DropShadowInfo* mShadow = nullptr;       // owned copy
    OutlineFillInfo* mOutlineFill = nullptr; // owned copy
};

} // namespace cocos2d
