#pragma once

// The engine's OpenGL view: an SDL window (its own, or one the program
// hands over) with an OpenGL ES 1.1 context. With SDL_VIDEODRIVER=offscreen
// it renders without any display server. The last view created is the
// shared one until it is destroyed.
//
// The view's size is in pixels; translate shifts where the scene is drawn
// inside the window (y downwards, as window coordinates run), so a view
// created inside a larger window can sit over the board's rectangle.
//
// Input: pollEvents (or handleEvent, one event at a time) turns the left
// mouse button into touch 0 (began, moved, ended) and other mouse moves into
// raw moves of the director's touch dispatcher, in view points; Escape
// becomes the keypad's Back; other pressed keys go to the key handler. The GL
// driver, once loaded, stays loaded for the life of the process.

#include "platform/engine/CCGeometry.h"

#include <functional>
#include <string>

struct SDL_Window;
union SDL_Event;

namespace cocos2d {

class CCImage;
class CCTouch;

class CCEGLView {
public:
    CCEGLView();
    virtual ~CCEGLView();
    CCEGLView(const CCEGLView&) = delete;
    CCEGLView& operator=(const CCEGLView&) = delete;

    // A top-level window of its own with that title and pixel size.
    bool Create(const char* title, int width, int height);
    // A view of that size inside the parent window (an SDL_Window*); with
    // no parent, a window of its own.
    bool CreateAsChild(void* parentWindow, int width, int height);
    // A view of that size in the given SDL window, which must allow OpenGL.
    bool CreateWithWindow(void* window, int width, int height);

    // The most recently created live view, or null.
    static CCEGLView* sharedOpenGLView();

    bool isOpenGLReady() const { return mContext != nullptr; }
    bool makeCurrent();
    void swapBuffers();
    // Moves the view to (x, y) of its window, in pixels from the top-left.
    void translate(int x, int y);
    int getTranslateX() const { return mTranslateX; }
    int getTranslateY() const { return mTranslateY; }
    // The view's size in pixels.
    CCSize getFrameSize() const { return CCSize(float(mWidth), float(mHeight)); }
    SDL_Window* getWindow() const { return mWindow; }
    // Sets the GL viewport to the view's place in its window.
    void applyViewport();

    // Handles the pending window events; false once the window was asked
    // to close.
    bool pollEvents();
    // Handles one event taken from SDL's queue by its owner (touches, raw
    // moves, Back); false when it asks the window to close.
    bool handleEvent(const SDL_Event& event);
    // Takes the SDL key code of each pressed key but Escape (repeats
    // included); none by default.
    using KeyHandler = std::function<void(int key)>;
    void setKeyHandler(KeyHandler handler) { mKeyHandler = std::move(handler); }

    // The view's pixels as drawn so far (read before swapBuffers).
    bool readPixels(CCImage& image);
    // readPixels written as a PNG file.
    bool saveScreenshot(const std::string& path);

private:
    bool createContext(SDL_Window* window, bool ownsWindow, int width, int height);
    void destroy();
    void dispatchTouch(int phase, int x, int y);
    // A raw pointer move at window pixel (x, y), in points of the scene.
    void dispatchRawMove(int x, int y, bool buttonDown);

    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr;  // SDL_GLContext
    CCTouch* mTouch = nullptr; // the mouse's touch while the button is down
    KeyHandler mKeyHandler;
    int mWidth = 0;
    int mHeight = 0;
    int mTranslateX = 0;
    int mTranslateY = 0;
    bool mOwnsWindow = false;
};

} // namespace cocos2d
