#pragma once

// A texture: an image's pixels, premultiplied by alpha, waiting in memory
// until the first draw uploads them to GL (so textures exist without a
// display, for tests and loading before the view). Sizes: the pixel size of
// the image and the content size in points, the pixel size divided by the
// texture's content scale (the director's content scale factor for an "-hd"
// file, else 1).

#include "platform/engine/CCGeometry.h"
#include "platform/engine/CCObject.h"

#include <cstdint>
#include <vector>

namespace cocos2d {

class CCImage;

// Pixel formats of new textures; textures are kept and drawn as RGBA8888.
enum CCTexture2DPixelFormat {
    kCCTexture2DPixelFormat_Automatic = 0,
    kCCTexture2DPixelFormat_RGBA8888 = 1,
    kCCTexture2DPixelFormat_RGB888,
    kCCTexture2DPixelFormat_RGB565,
    kCCTexture2DPixelFormat_A8,
    kCCTexture2DPixelFormat_I8,
    kCCTexture2DPixelFormat_AI88,
    kCCTexture2DPixelFormat_RGBA4444,
    kCCTexture2DPixelFormat_RGB5A1,
    kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888,
};

class CCTexture2D : public CCObject {
public:
    CCTexture2D() = default;
    ~CCTexture2D() override;

    // Takes the image's pixels; contentScale is the pixels per point.
    bool initWithImage(const CCImage* image, float contentScale = 1.0f);
    // Takes straight-alpha RGBA pixels (rows from the top).
    bool initWithData(const std::vector<uint8_t>& rgba, int width, int height,
                      float contentScale = 1.0f);

    int getPixelsWide() const { return mPixelsWide; }
    int getPixelsHigh() const { return mPixelsHigh; }
    CCSize getContentSizeInPixels() const { return CCSize(float(mPixelsWide), float(mPixelsHigh)); }
    CCSize getContentSize() const;
    float getContentScale() const { return mContentScale; }
    bool getHasPremultipliedAlpha() const { return true; }
    // The premultiplied pixels while not yet uploaded.
    const std::vector<uint8_t>& getPixels() const { return mPixels; }

    // The GL texture name, uploading the pixels first when needed; needs a
    // current GL context. 0 for an empty texture.
    unsigned int getName();
    bool isUploaded() const { return mName != 0; }
    // Nearest (alias) or linear (the default) sampling.
    void setAliasTexParameters();
    void setAntiAliasTexParameters();

    static void setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format);
    static CCTexture2DPixelFormat defaultAlphaPixelFormat();

private:
    void applyFilter();

    std::vector<uint8_t> mPixels;
    int mPixelsWide = 0;
    int mPixelsHigh = 0;
    float mContentScale = 1.0f;
    unsigned int mName = 0;
    bool mAlias = false;
};

} // namespace cocos2d
