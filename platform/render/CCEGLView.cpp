#include "platform/render/CCEGLView.h"

#include "platform/render/CCDrawing.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/engine/CCSet.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCImage.h"

#include <GLES/gl.h>
#include <SDL2/SDL.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdio>
#include <vector>

namespace cocos2d {

namespace {

CCEGLView* gSharedView = nullptr;

enum TouchPhase { kBegan, kMoved, kEnded };

#ifdef __GLIBC__
constexpr int kKeptHeapTop = 64 << 20;
#endif

// Video and the GL driver start once and stay: unloading Mesa between
// views costs time and orphans its allocations.
bool startVideo() {
    static bool started = false;
    if (started)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("Video failed to start: %s\n", SDL_GetError());
        return false;
    }
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
        std::printf("OpenGL failed to load: %s\n", SDL_GetError());
        return false;
    }
#ifdef __GLIBC__
    // The software driver allocates its vertex buffers for each draw and
    // frees them after; were the heap's top handed back to the system each
    // time, every frame would fault those pages in again.
    mallopt(M_TRIM_THRESHOLD, kKeptHeapTop);
#endif
    started = true;
    return true;
}

void requestES11() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

} // namespace

CCEGLView::CCEGLView() = default;

CCEGLView::~CCEGLView() {
    destroy();
}

CCEGLView* CCEGLView::sharedOpenGLView() {
    return gSharedView;
}

bool CCEGLView::Create(const char* title, int width, int height) {
    if (width <= 0 || height <= 0 || !startVideo())
        return false;
    requestES11();
    SDL_Window* window =
        SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                         height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) {
        std::printf("Window failed to open: %s\n", SDL_GetError());
        return false;
    }
    return createContext(window, true, width, height);
}

bool CCEGLView::CreateAsChild(void* parentWindow, int width, int height) {
    if (!parentWindow)
        return Create("", width, height);
    return CreateWithWindow(parentWindow, width, height);
}

bool CCEGLView::CreateWithWindow(void* window, int width, int height) {
    if (!window || width <= 0 || height <= 0 || !startVideo())
        return false;
    requestES11();
    return createContext(static_cast<SDL_Window*>(window), false, width, height);
}

bool CCEGLView::createContext(SDL_Window* window, bool ownsWindow, int width, int height) {
    destroy();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        std::printf("OpenGL ES 1.1 context failed: %s\n", SDL_GetError());
        if (ownsWindow)
            SDL_DestroyWindow(window);
        return false;
    }
    mWindow = window;
    mOwnsWindow = ownsWindow;
    mContext = context;
    mWidth = width;
    mHeight = height;
    mTranslateX = mTranslateY = 0;
    gSharedView = this;
    return true;
}

void CCEGLView::destroy() {
    if (gSharedView == this)
        gSharedView = nullptr;
    if (CCDirector::hasSharedDirector() && CCDirector::sharedDirector()->getOpenGLView() == this)
        CCDirector::sharedDirector()->setOpenGLView(nullptr);
    ccSafeRelease(mTouch);
    if (mContext) {
        ccForgetDrawingObjects(); // they go with the context
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
        mContext = nullptr;
    }
    if (mWindow && mOwnsWindow)
        SDL_DestroyWindow(mWindow);
    mWindow = nullptr;
}

bool CCEGLView::makeCurrent() {
    return mContext && SDL_GL_MakeCurrent(mWindow, static_cast<SDL_GLContext>(mContext)) == 0;
}

void CCEGLView::swapBuffers() {
    if (mContext)
        SDL_GL_SwapWindow(mWindow);
}

void CCEGLView::translate(int x, int y) {
    mTranslateX = x;
    mTranslateY = y;
}

void CCEGLView::applyViewport() {
    int windowWidth = mWidth;
    int windowHeight = mHeight;
    if (mWindow)
        SDL_GL_GetDrawableSize(mWindow, &windowWidth, &windowHeight);
    glViewport(mTranslateX, windowHeight - mTranslateY - mHeight, mWidth, mHeight);
}

bool CCEGLView::pollEvents() {
    bool open = true;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        open = handleEvent(event) && open;
    return open;
}

bool CCEGLView::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return false;
    case SDL_WINDOWEVENT:
        return event.window.event != SDL_WINDOWEVENT_CLOSE;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT)
            dispatchTouch(kBegan, event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && mTouch) {
            dispatchTouch(kEnded, event.button.x, event.button.y);
            // The release is a raw move with the button up where it happened,
            // so what follows a drag (the drag tooltip) ends with it rather
            // than at the pointer's next move.
            dispatchRawMove(event.button.x, event.button.y, false);
        }
        break;
    case SDL_MOUSEMOTION:
        // The raw move goes out with the button down too: a drag follows it.
        if (mTouch)
            dispatchTouch(kMoved, event.motion.x, event.motion.y);
        dispatchRawMove(event.motion.x, event.motion.y, mTouch != nullptr);
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym != SDLK_ESCAPE) {
            if (mKeyHandler)
                mKeyHandler(int(event.key.keysym.sym));
        } else if (CCDirector::hasSharedDirector()) {
            CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKeypadMSG(
                kTypeBackClicked);
        }
        break;
    default:
        break;
    }
    return true;
}

void CCEGLView::dispatchRawMove(int x, int y, bool buttonDown) {
    if (!CCDirector::hasSharedDirector())
        return;
    const float scale = CCDirector::sharedDirector()->getContentScaleFactor();
    CCDirector::sharedDirector()->getTouchDispatcher()->rawMove(
        float(x - mTranslateX) / scale, float(y - mTranslateY) / scale, buttonDown);
}

void CCEGLView::dispatchTouch(int phase, int x, int y) {
    if (!CCDirector::hasSharedDirector() || (phase != kBegan && !mTouch))
        return;
    CCDirector* director = CCDirector::sharedDirector();
    const float scale = director->getContentScaleFactor();
    const float px = float(x - mTranslateX) / scale;
    const float py = float(y - mTranslateY) / scale;
    if (phase == kBegan) {
        ccSafeRelease(mTouch);
        mTouch = new CCTouch(0, px, py);
    } else {
        mTouch->setTouchInfo(0, px, py);
    }
    CCTouch* touch = mTouch;
    touch->retain();
    CCSet touches;
    touches.addObject(touch);
    CCTouchDispatcher* dispatcher = director->getTouchDispatcher();
    if (phase == kBegan)
        dispatcher->touchesBegan(&touches, nullptr);
    else if (phase == kMoved)
        dispatcher->touchesMoved(&touches, nullptr);
    else {
        dispatcher->touchesEnded(&touches, nullptr);
        ccSafeRelease(mTouch);
    }
    touch->release();
}

bool CCEGLView::readPixels(CCImage& image) {
    if (!makeCurrent())
        return false;
    int windowWidth = mWidth;
    int windowHeight = mHeight;
    SDL_GL_GetDrawableSize(mWindow, &windowWidth, &windowHeight);
    std::vector<uint8_t> pixels(size_t(mWidth) * size_t(mHeight) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(mTranslateX, windowHeight - mTranslateY - mHeight, mWidth, mHeight, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels.data());
    // GL rows run from the bottom; images from the top. The view is opaque.
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    std::vector<uint8_t> flipped(pixels.size());
    const size_t row = size_t(mWidth) * 4;
    for (int y = 0; y < mHeight; ++y)
        std::copy_n(pixels.begin() + ptrdiff_t(size_t(y) * row), row,
                    flipped.begin() + ptrdiff_t(size_t(mHeight - 1 - y) * row));
    return image.initWithRawData(std::move(flipped), mWidth, mHeight, false);
}

bool CCEGLView::saveScreenshot(const std::string& path) {
    CCImage image;
    return readPixels(image) && image.saveToFile(path);
}

} // namespace cocos2d
