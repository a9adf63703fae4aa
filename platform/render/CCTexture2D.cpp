#include "platform/render/CCTexture2D.h"

#include "platform/render/CCImage.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>

namespace cocos2d {

namespace {

CCTexture2DPixelFormat gDefaultFormat = kCCTexture2DPixelFormat_Default;

} // namespace

CCTexture2D::~CCTexture2D() {
    // Without a current context the name died with it.
    if (mName != 0 && SDL_GL_GetCurrentContext())
        glDeleteTextures(1, &mName);
}

bool CCTexture2D::initWithImage(const CCImage* image, float contentScale) {
    if (!image || image->getData().empty())
        return false;
    return initWithData(image->getData(), image->getWidth(), image->getHeight(), contentScale);
}

bool CCTexture2D::initWithData(const std::vector<uint8_t>& rgba, int width, int height,
                               float contentScale) {
    if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * size_t(height) * 4 ||
        contentScale <= 0.0f)
        return false;
    mPixels.resize(rgba.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned alpha = rgba[i + 3];
        for (size_t c = 0; c < 3; ++c)
            mPixels[i + c] = uint8_t((rgba[i + c] * alpha + 127) / 255);
        mPixels[i + 3] = uint8_t(alpha);
    }
    mPixelsWide = width;
    mPixelsHigh = height;
    mContentScale = contentScale;
    return true;
}

CCSize CCTexture2D::getContentSize() const {
    return CCSize(float(mPixelsWide) / mContentScale, float(mPixelsHigh) / mContentScale);
}

unsigned int CCTexture2D::getName() {
    if (mName != 0 || mPixels.empty())
        return mName;
    glGenTextures(1, &mName);
    glBindTexture(GL_TEXTURE_2D, mName);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // GL's rows run from the bottom; the quads' texture coordinates take
    // that into account (t = 0 is the image's top row).
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, mPixelsWide, mPixelsHigh, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 mPixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    applyFilter();
    mPixels.clear();
    mPixels.shrink_to_fit();
    return mName;
}

void CCTexture2D::setAliasTexParameters() {
    mAlias = true;
    if (mName != 0) {
        glBindTexture(GL_TEXTURE_2D, mName);
        applyFilter();
    }
}

void CCTexture2D::setAntiAliasTexParameters() {
    mAlias = false;
    if (mName != 0) {
        glBindTexture(GL_TEXTURE_2D, mName);
        applyFilter();
    }
}

void CCTexture2D::applyFilter() {
    const GLint filter = mAlias ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

void CCTexture2D::setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format) {
    gDefaultFormat = format;
}

CCTexture2DPixelFormat CCTexture2D::defaultAlphaPixelFormat() {
    return gDefaultFormat;
}

} // namespace cocos2d
