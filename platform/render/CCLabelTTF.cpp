#include "platform/render/CCLabelTTF.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCTextRaster.h"
#include "platform/render/CCTexture2D.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {

void GradientInfo::addColor(const ccColor4B& color, float pos) {
    const auto at = std::upper_bound(mStops.begin(), mStops.end(), pos,
                                     [](float p, const Stop& stop) { return p < stop.pos; });
    mStops.insert(at, Stop{color, pos});
}

ccColor4B GradientInfo::colorAt(float pos) const {
    if (mStops.empty())
        return ccColor4B{};
    if (pos <= mStops.front().pos)
        return mStops.front().color;
    for (size_t i = 1; i < mStops.size(); ++i) {
        const Stop& a = mStops[i - 1];
        const Stop& b = mStops[i];
        if (pos <= b.pos) {
            const float t = b.pos > a.pos ? (pos - a.pos) / (b.pos - a.pos) : 1.0f;
            const auto mix = [t](uint8_t x, uint8_t y) {
                return uint8_t(std::lround(float(x) + (float(y) - float(x)) * t));
            };
            return ccc4(mix(a.color.r, b.color.r), mix(a.color.g, b.color.g),
                        mix(a.color.b, b.color.b), mix(a.color.a, b.color.a));
        }
    }
    return mStops.back().color;
}

namespace {

CCLabelTTF* makeLabel(const char* text, const CCSize& box, CCImage::ETextAlign alignment,
                      const char* fontName, float fontSize, float secondSize,
                      const DropShadowInfo* shadow, const OutlineFillInfo* outlineFill) {
    auto* label = new CCLabelTTF();
    label->initWithString(text, box, alignment, fontName, fontSize, secondSize, shadow,
                          outlineFill);
    label->autorelease();
    return label;
}

} // namespace

CCImage::ETextAlign CCLabelTTF::alignmentOf(CCTextAlignment alignment) {
    switch (alignment) {
    case CCTextAlignmentLeft:
        return CCImage::kAlignLeft;
    case CCTextAlignmentRight:
        return CCImage::kAlignRight;
    default:
        return CCImage::kAlignCenter;
    }
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const char* fontName, float fontSize) {
    return makeLabel(text, CCSizeZero, CCImage::kAlignCenter, fontName, fontSize, -1, nullptr,
                     nullptr);
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const CCSize& box,
                                        CCTextAlignment alignment, const char* fontName,
                                        float fontSize) {
    return makeLabel(text, box, alignmentOf(alignment), fontName, fontSize, -1, nullptr, nullptr);
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const char* fontName, float fontSize,
                                        const DropShadowInfo* shadow,
                                        const OutlineFillInfo* outlineFill) {
    return makeLabel(text, CCSizeZero, CCImage::kAlignCenter, fontName, fontSize, -1, shadow,
                     outlineFill);
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const char* fontName, float fontSize,
                                        float secondSize, const DropShadowInfo* shadow,
                                        const OutlineFillInfo* outlineFill) {
    return makeLabel(text, CCSizeZero, CCImage::kAlignCenter, fontName, fontSize, secondSize,
                     shadow, outlineFill);
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const CCSize& box,
                                        CCImage::ETextAlign alignment, const char* fontName,
                                        float fontSize, float secondSize,
                                        const DropShadowInfo* shadow,
                                        const OutlineFillInfo* outlineFill) {
    return makeLabel(text, box, alignment, fontName, fontSize, secondSize, shadow, outlineFill);
}

CCLabelTTF* CCLabelTTF::labelWithString(const char* text, const CCSize& box,
                                        CCTextAlignment alignment, const char* fontName,
                                        float fontSize, float secondSize,
                                        const DropShadowInfo* shadow,
                                        const OutlineFillInfo* outlineFill) {
    return makeLabel(text, box, alignmentOf(alignment), fontName, fontSize, secondSize, shadow,
                     outlineFill);
}

CCLabelTTF::~CCLabelTTF() {
    delete mShadow;
    delete mOutlineFill;
}

bool CCLabelTTF::initWithString(const char* text, const CCSize& box, CCImage::ETextAlign alignment,
                                const char* fontName, float fontSize, float secondSize,
                                const DropShadowInfo* shadow, const OutlineFillInfo* outlineFill) {
    if (!CCSprite::init())
        return false;
    mBox = box;
    mAlignment = alignment;
    mFontName = fontName ? fontName : "";
    mFontSize = fontSize;
    mSecondSize = secondSize;
    delete mShadow;
    mShadow = shadow ? new DropShadowInfo(*shadow) : nullptr;
    delete mOutlineFill;
    mOutlineFill = outlineFill ? new OutlineFillInfo(*outlineFill) : nullptr;
    mText = text ? text : "";
    updateTexture();
    return true;
}

void CCLabelTTF::setString(const char* text) {
    const std::string value = text ? text : "";
    if (value == mText && getTexture())
        return;
    mText = value;
    updateTexture();
}

void CCLabelTTF::updateTexture() {
    const float scale =
        CCDirector::hasSharedDirector() ? CCDirector::sharedDirector()->getContentScaleFactor() : 1;
    CCTextRaster::Style style;
    style.fontName = mFontName;
    style.pixelSize = mFontSize * scale;
    style.minPixelSize = mSecondSize > 0 ? mSecondSize * scale : -1.0f;
    style.box = CCSize(mBox.width * scale, mBox.height * scale);
    style.alignment = mAlignment;
    style.shadow = mShadow;
    style.outlineFill = mOutlineFill;
    CCTextRaster::Result raster = CCTextRaster::render(mText, style);
    mDrawnFontSize = raster.pixelSize / scale;

    // The content size comes from the layout even when nothing was drawn.
    const CCSize size(float(raster.width) / scale, float(raster.height) / scale);
    auto* texture = new CCTexture2D();
    if (texture->initWithData(raster.pixels, raster.width, raster.height, scale))
        setTexture(texture);
    else
        setTexture(nullptr);
    texture->release();
    setTextureRect(CCRect(0, 0, size.width, size.height));
}

} // namespace cocos2d
