#pragma once

// The director: the one owner of the running scene, the frame, the
// scheduler, the action manager, the touch and keypad dispatchers and the
// window's geometry.
//
// tick(dt) runs one frame: a scene change asked for since the last frame
// takes effect, the scheduler runs (updates, actions, selectors) unless the
// director is paused, the renderer draws the running scene, and the
// autorelease pool drains. Tests step it by hand; the program steps it from
// CCApplication::runTick on the real clock.
//
// Scenes: runWithScene starts the first one; replaceScene swaps the top of
// the stack (the old scene exits and is cleaned up); pushScene keeps the old
// scene on the stack, exited; popScene returns to the one below. Popping
// the only scene exits it and leaves the director running with no scene,
// ready for a later runWithScene. Changes apply at the start of the next
// frame. end() purges the director at the next frame.

#include "platform/engine/CCGeometry.h"
#include "platform/engine/CCObject.h"

#include <memory>
#include <vector>

namespace cocos2d {

class CCActionManager;
class CCEGLView;
class CCKeypadDispatcher;
class CCRenderer;
class CCScene;
class CCScheduler;
class CCTouchDispatcher;

class CCDirector {
public:
    // The director, made on first use (again after a purge).
    static CCDirector* sharedDirector();
    // True when a director exists.
    static bool hasSharedDirector();

    CCDirector(const CCDirector&) = delete;
    CCDirector& operator=(const CCDirector&) = delete;

    // One frame of dt seconds.
    void tick(ccTime dt);
    // Exits and drops every scene, every registration, action and schedule,
    // drains the pool and destroys the director. Never from inside tick:
    // use end() there.
    void purgeDirector();
    // Purges the director at the start of the next frame.
    void end();
    // While paused, frames draw but the scheduler holds; the running scene
    // hears onPause and onResume.
    void pause();
    void resume();
    bool isPaused() const { return mPaused; }

    void runWithScene(CCScene* scene);
    void replaceScene(CCScene* scene);
    void pushScene(CCScene* scene);
    void popScene();
    CCScene* getRunningScene() const { return mRunningScene; }

    // The board view was shown or hidden: the running scene's hooks.
    void viewWillAppear(bool animated);
    void viewDidAppear(bool animated);
    void viewWillDisappear(bool animated);
    void viewDidDisappear(bool animated);

    // The window in pixels. getWinSize gives the scene's window in points
    // (pixels divided by the content scale factor): the board's rectangle of
    // the application's scene dimensions when it has one, else the whole view.
    void setWinSizeInPixels(const CCSize& size) { mWinSizeInPixels = size; }
    CCSize getWinSizeInPixels() const { return mWinSizeInPixels; }
    CCSize getWinSize() const;
    void setContentScaleFactor(float scale);
    float getContentScaleFactor() const { return mContentScaleFactor; }
    // Whether "-hd" image files are used.
    void setIsHighDefinition(bool on) { mHighDefinition = on; }
    bool getIsHighDefinition() const { return mHighDefinition; }
    void setDisplayFPS(bool on) { mDisplayFPS = on; }
    bool isDisplayFPS() const { return mDisplayFPS; }

    // View coordinates (points, y downwards) to GL (y upwards) and back.
    CCPoint convertToGL(const CCPoint& viewPoint) const;
    CCPoint convertToUI(const CCPoint& glPoint) const;
    // A view point in the running scene's own coordinates.
    CCPoint convertToScene(const CCPoint& viewPoint) const;

    // Seconds between frames (1/60 by default).
    void setAnimationInterval(double interval) { mAnimationInterval = interval; }
    double getAnimationInterval() const { return mAnimationInterval; }
    unsigned int getTotalFrames() const { return mTotalFrames; }

    CCScheduler* getScheduler() const { return mScheduler; }
    CCActionManager* getActionManager() const { return mActionManager; }
    CCTouchDispatcher* getTouchDispatcher() const { return mTouchDispatcher; }
    CCKeypadDispatcher* getKeypadDispatcher() const { return mKeypadDispatcher; }
    // Null restores the null renderer.
    void setRenderer(std::unique_ptr<CCRenderer> renderer);
    CCRenderer* getRenderer() const { return mRenderer.get(); }
    // Draws into the view from now on: the window takes the view's size and
    // the view's renderer replaces the current one; null goes back to the
    // null renderer. Defined by the render library, which owns the view.
    void setOpenGLView(CCEGLView* view);
    CCEGLView* getOpenGLView() const { return mOpenGLView; }

private:
    // The whole view in points, the space of touches and of the scene's parent.
    CCSize viewSize() const;
    CCDirector();
    ~CCDirector();

    void applySceneChange();
    void dropScenes();

    CCScheduler* mScheduler;
    CCActionManager* mActionManager;
    CCTouchDispatcher* mTouchDispatcher;
    CCKeypadDispatcher* mKeypadDispatcher;
    std::unique_ptr<CCRenderer> mRenderer;
    CCEGLView* mOpenGLView = nullptr; // not owned

    std::vector<CCScene*> mScenes;    // the stack, each retained; the top runs
    CCScene* mRunningScene = nullptr; // retained
    bool mSceneChangePending = false;
    bool mPurgeNextFrame = false;
    bool mPaused = false;

    CCSize mWinSizeInPixels;
    float mContentScaleFactor = 1.0f;
    bool mHighDefinition = false;
    bool mDisplayFPS = false;
    double mAnimationInterval = 1.0 / 60.0;
    unsigned int mTotalFrames = 0;
};

} // namespace cocos2d
