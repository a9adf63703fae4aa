#pragma once

// The real page host: the menu page in the off-screen WebKitGTK page
// (platform/browser), drawn under the board, with its client's input rules.
//
// initialize starts the toolkit (false without a display); the first unit
// of work makes the page at the layout's window size and loads the
// interface page "html/GameLayoutLarge.html" of the base folder. Each
// further unit is one unit of GLib work, the statements queued from worker
// threads, and the game's GL context made current again. Statements run on
// the main thread at once; from other threads they wait for the next unit.
// Every window event goes to the page and, while the game view shows, to
// the engine's view as well. The page's client (the game view flag, the
// loading screen, the idle measure) is ClientOSRHandler::instance().

#include "shell/PageHost.h"

#include <functional>
#include <memory>
#include <string>

class ClientOSRHandler;
class OffscreenPage;

class BrowserPageHost : public PageHost {
public:
    // folder: where html/ and data/ lie (the scheme's files are relative to
    // the current folder, which must be this one).
    explicit BrowserPageHost(std::string folder);
    ~BrowserPageHost() override;

    bool initialize() override;
    bool clientExists() const override;
    void doWork() override;
    void attachView(cocos2d::CCEGLView* view, int width, int height) override;
    void drawPage() override;
    bool gameViewShown() const override;
    void setGameViewShown(bool shown) override;
    void showLoadingScreen() override;
    void drawLoadingScreen() override;
    void releaseLoadingScreen() override;
    int idleTier() override;
    void runStatement(const std::string& statement) override;
    void handleEvent(const SDL_Event& event) override;
    void parentWindowWillClose() override;
    void quitMessageLoop() override;
    void shutdown() override;

    // Called after each unit of work (the test driver's own page calls).
    void setWorkHandler(std::function<void()> handler) { mWorkHandler = std::move(handler); }
    // Whether the page finished loading and a snapshot of it was taken.
    bool pageShown() const;
    // Snapshots taken into the page texture so far.
    int paintCount() const { return mPaints; }
    // Evaluates an expression in the page; done gets its value as text at
    // a later unit of work (never without a page).
    void evaluate(const std::string& expression, std::function<void(const std::string&)> done);

private:
    std::string mFolder;
    std::unique_ptr<ClientOSRHandler> mClient;
    std::unique_ptr<OffscreenPage> mPage;
    std::function<void()> mWorkHandler;
    int mPaints = 0;
    bool mPageClosed = false;
};
