#pragma once

// The engine's application delegate: makes the engine's view over the main
// window's client area (the board scene places itself on the board's
// rectangle) and finishes launching the director. One process-wide
// instance.

#include "platform/engine/CCApplication.h"
#include "platform/render/CCEGLView.h"

#include <cstdint>
#include <memory>
#include <string>

// The program's engine view; nothing of its own but the type.
class TarnwickEGLView : public cocos2d::CCEGLView {
public:
    ~TarnwickEGLView() override;
};

class AppDelegate : public cocos2d::CCApplication {
public:
    AppDelegate();
    ~AppDelegate() override;

    // A top-level view titled "Tarnwick", 768 by 1024.
    bool initInstance() override;
    // The view over the parent window's client area.
    bool createViewAsChild(void* parentWindow, int width, int height) override;
    bool createViewWithWindow(void* window, int width, int height) override;
    // The view to the director, its frame-rate display by "ShowFPS", 60
    // frames a second, and no clearing of the frame (the page lies under the
    // board).
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    TarnwickEGLView* view() const { return mView.get(); }
    // Lets go of the view (shutdown).
    void destroyView();

    int64_t mGameId = -1;
    std::string mDetailsFont;
    std::string mHeaderFont;
    std::string mBuildVersion;

private:
    // Keeps a created view.
    bool adoptView(std::unique_ptr<TarnwickEGLView> view, bool created);

    std::unique_ptr<TarnwickEGLView> mView;
};

AppDelegate& appDelegate();
