#pragma once

// The page host: what the shell asks of the menu page's browser. The real
// host runs the off-screen WebKitGTK page (platform/browser); the recording
// host stands in for it with no browser at all, drawing the layout's panels
// as plain colour and keeping every statement sent to the page.

#include <SDL.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cocos2d {
class CCEGLView;
}

class PageHost {
public:
    virtual ~PageHost();

    // Start-up: the browser engine's set-up; false when it cannot start.
    virtual bool initialize() = 0;
    // Whether the page's off-screen client exists yet.
    virtual bool clientExists() const = 0;
    // One unit of the browser's work (page calls into native code run here).
    virtual void doWork() = 0;
    // Start-up: the engine's view to draw the page into, and the page
    // texture of the window's client size.
    virtual void attachView(cocos2d::CCEGLView* view, int width, int height) = 0;
    // The frame: the page's image over the whole window, before the board.
    virtual void drawPage() = 0;
    // Whether the page shows the game view (the board ticks and takes input).
    virtual bool gameViewShown() const = 0;
    // Runs a statement in the page's main frame; nothing waits for it.
    virtual void runStatement(const std::string& statement) = 0;
    // A window event the shell does not handle itself.
    virtual void handleEvent(const SDL_Event& event) = 0;
    // Quit: the page's parent window is about to close; the message loop
    // ends.
    virtual void parentWindowWillClose() = 0;
    virtual void quitMessageLoop() = 0;
    // Shutdown of the browser engine.
    virtual void shutdown() = 0;
};

// The installed host, or null.
PageHost* pageHost();
void setPageHost(PageHost* host);
// Runs a statement in the installed host's page; dropped without a host.
void runInPage(const std::string& statement);

// A host with no browser: every call is noted in the shell's record, every
// statement kept, the page drawn as the layout's panels in flat colours over
// a dark background, and window events passed to the engine's view while
// the game view shows. As with the real page, statements from threads other
// than the one that made the host wait for its next unit of work.
class RecordingPageHost : public PageHost {
public:
    bool initialize() override;
    bool clientExists() const override;
    void doWork() override;
    void attachView(cocos2d::CCEGLView* view, int width, int height) override;
    void drawPage() override;
    bool gameViewShown() const override { return mGameViewShown; }
    void runStatement(const std::string& statement) override;
    void handleEvent(const SDL_Event& event) override;
    void parentWindowWillClose() override;
    void quitMessageLoop() override;
    void shutdown() override;

    void setGameViewShown(bool shown) { mGameViewShown = shown; }
    // The client comes into being after that many units of work (0: at
    // once).
    void setClientAfterWork(int units) { mClientAfter = units; }
    // Called within each unit of work (a page's bridge calls, in tests).
    void setWorkHandler(std::function<void()> handler) { mWorkHandler = std::move(handler); }
    // Called after each drawPage.
    void setDrawHandler(std::function<void()> handler) { mDrawHandler = std::move(handler); }
    const std::vector<std::string>& statements() const { return mStatements; }
    // Every window event handed to the host.
    const std::vector<SDL_Event>& events() const { return mEvents; }
    int drawCount() const { return mDraws; }
    int workCount() const { return mWork; }

private:
    std::vector<std::string> mStatements;
    std::thread::id mMainThread = std::this_thread::get_id();
    std::mutex mQueueMutex;
    std::vector<std::string> mQueued; // from other threads
    std::vector<SDL_Event> mEvents;
    std::function<void()> mWorkHandler;
    std::function<void()> mDrawHandler;
    cocos2d::CCEGLView* mView = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mClientAfter = 0;
    int mWork = 0;
    int mDraws = 0;
    bool mGameViewShown = false;
};
