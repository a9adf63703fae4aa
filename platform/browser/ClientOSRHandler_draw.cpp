#include "platform/browser/ClientOSRHandler.h"

#include "platform/browser/PageSink.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>

using namespace cocos2d;

namespace {

constexpr const char* kLoadingImage = "../html/UI/LoadingScreen_Full.png";

} // namespace

void ClientOSRHandler::releaseDrawing() {
    releaseLoadingScreen();
    if (mPageTexture && mGLView && mGLView->makeCurrent()) {
        const GLuint name = mPageTexture;
        glDeleteTextures(1, &name);
    }
    mPageTexture = 0;
}

void ClientOSRHandler::setPageGLView(CCEGLView* view) {
    mGLView = view;
    mPageQuad = makePageQuad(0, 0, float(mPageWidth), float(mPageHeight), 0, 0, 1, 1);
}

void ClientOSRHandler::createBrowserTexture(int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    mPageWidth = width;
    mPageHeight = height;
    // The quad follows the page's size, so that a texture made after the
    // view was set is not drawn at the old size.
    mPageQuad = makePageQuad(0, 0, float(width), float(height), 0, 0, 1, 1);
    mPaintPending = false;
    if (mGLView && mGLView->makeCurrent()) {
        glViewport(0, 0, width, height);
        glEnable(GL_TEXTURE_2D);
        GLuint name = mPageTexture;
        if (name)
            glDeleteTextures(1, &name);
        glGenTextures(1, &name);
        mPageTexture = name;
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        const std::vector<uint8_t> white(size_t(width) * size_t(height) * 4, 255);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     white.data());
        glDisable(GL_TEXTURE_2D);
    }
    if (mPage)
        mPage->setViewSize(width, height);
}

bool ClientOSRHandler::takePaint(const uint8_t* argb, int width, int height, int stride) {
    if (!argb || width != mPageWidth || height != mPageHeight)
        return false;
    convertBgraToRgbaFlipped(argb, width, height, stride, mViewPixels);
    mPaintPending = true;
    return true;
}

void ClientOSRHandler::beginOverlayState() {
    int width = mPageWidth;
    int height = mPageHeight;
    SDL_GL_GetDrawableSize(mGLView->getWindow(), &width, &height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrthof(0, float(mPageWidth), 0, float(mPageHeight), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void ClientOSRHandler::endOverlayState() {
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void ClientOSRHandler::drawQuad(const PageQuad& quad, unsigned texture) {
    constexpr GLsizei kStride = sizeof(PageVertex);
    const auto* base = reinterpret_cast<const uint8_t*>(quad.data());
    glBindTexture(GL_TEXTURE_2D, texture);
    glVertexPointer(3, GL_FLOAT, kStride, base + offsetof(PageVertex, x));
    glColorPointer(4, GL_UNSIGNED_BYTE, kStride, base + offsetof(PageVertex, r));
    glTexCoordPointer(2, GL_FLOAT, kStride, base + offsetof(PageVertex, u));
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void ClientOSRHandler::drawBrowserOverlay() {
    if (!mGLView || !mPageTexture || !mGLView->makeCurrent())
        return;
    if (mPaintPending) {
        glBindTexture(GL_TEXTURE_2D, mPageTexture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, mPageWidth, mPageHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                        mViewPixels.data());
        mPaintPending = false;
    }
    beginOverlayState();
    drawQuad(mPageQuad, mPageTexture);
    endOverlayState();
    rearmInputToken();
}

void ClientOSRHandler::showLoadingScreen(const std::string& text, const std::string& headerFont,
                                         const PageRect& board, int layoutMode) {
    releaseLoadingScreen();
    mLoadingTexture = CCTextureCache::sharedTextureCache()->addImage(kLoadingImage);
    if (mLoadingTexture)
        mLoadingTexture->retain();
    mLoadingLabel = CCLabelTTF::labelWithString(text.c_str(), CCSize(1024, 64),
                                                static_cast<CCImage::ETextAlign>(2),
                                                headerFont.c_str(), 128, -1);
    if (mLoadingLabel)
        mLoadingLabel->retain();
    mLoadingQuad = loadingImageQuad(board, mPageHeight);
    const CCSize size = mLoadingLabel ? mLoadingLabel->getContentSize() : CCSize();
    mLoadingLabelQuad = ::loadingLabelQuad(board, mPageWidth, mPageHeight, size.width, size.height,
                                           layoutWidthForMode(layoutMode));
}

void ClientOSRHandler::drawLoadingScreen() {
    if (!mGLView || !mLoadingOverlayShown || !mLoadingTexture || !mLoadingLabel ||
        !mLoadingLabel->getTexture() || !mGLView->makeCurrent())
        return;
    beginOverlayState();
    drawQuad(mLoadingQuad, mLoadingTexture->getName());
    drawQuad(mLoadingLabelQuad, mLoadingLabel->getTexture()->getName());
    endOverlayState();
}

void ClientOSRHandler::releaseLoadingScreen() {
    if (mLoadingTexture) {
        CCTextureCache::sharedTextureCache()->removeTexture(mLoadingTexture);
        mLoadingTexture->release();
        mLoadingTexture = nullptr;
    }
    if (mLoadingLabel) {
        mLoadingLabel->release();
        mLoadingLabel = nullptr;
    }
}
