#pragma once

// The off-screen page: a WebKitGTK web view in a GtkOffscreenWindow of the
// page's size, with a transparent background, file pages allowed to reach
// other files and the "tarnwick://" scheme, console messages and load
// errors kept quiet, and the call road's script at the start of every
// document. The page is drawn by snapshots: the next one is asked for
// whenever the previous one arrived, and each goes to the paint handler.
//
// Everything here runs on the main thread, one unit of GLib work a pass
// (pump), after which the game's GL context is made current again, since
// the toolkit may leave its own current. Page statements from other threads
// are queued (runPageStatement) and run at the next pump.
//
// Needs an X display (under Xvfb in tests); initToolkit says whether one
// could be opened.

#include "platform/browser/PageSink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct _WebKitWebView;
struct _GtkWidget;

class OffscreenPage : public PageSink {
public:
    // A snapshot: cairo ARGB32 pixels (premultiplied), rows top first.
    using PaintHandler =
        std::function<void(const uint8_t* argb, int width, int height, int stride)>;

    // Starts GTK once; false when there is no display.
    static bool initToolkit();

    OffscreenPage(int width, int height);
    ~OffscreenPage() override;
    OffscreenPage(const OffscreenPage&) = delete;
    OffscreenPage& operator=(const OffscreenPage&) = delete;

    // Loads a URL.
    void load(const std::string& url);
    // Loads the folder's "html/" + page by a file URL when a file page can
    // reach the scheme synchronously, else through the scheme.
    void loadInterfacePage(const std::string& folder, const std::string& page);
    bool isLoading() const;
    // Snapshots go here; the first is asked for at once.
    void setPaintHandler(PaintHandler handler);
    // What the page closing itself does (default: an SDL quit event).
    void setCloseHandler(std::function<void()> handler) { mCloseHandler = std::move(handler); }
    // The screen rectangle popups of the page are centred over.
    void setPopupParent(int left, int top, int right, int bottom);

    // One unit of GLib work, the queued statements, then the game's GL
    // context made current again (when one is current to begin with).
    void pump();

    // PageSink: synthesised GDK events to the view; statements.
    void sendMouseMove(int x, int y) override;
    void sendMouseButton(int x, int y, MouseButton button, bool up) override;
    void sendMouseWheel(int x, int y, int delta) override;
    void sendKey(KeyType type, int key, int modifiers) override;
    void sendText(const std::string& text) override;
    void sendFocus(bool focused) override;
    void sendCaptureLost() override;
    void setViewSize(int width, int height) override;
    void runScript(const std::string& statement) override;
    // Evaluates an expression in the page's main frame; done gets its value
    // as text ("error: " and the message when it threw) at a later pump,
    // never once the page is gone.
    void evaluate(const std::string& expression, std::function<void(const std::string&)> done);

    _WebKitWebView* webView() const { return mView; }

    struct Callbacks;

private:
    void requestSnapshot();
    void finishSnapshot(void* surface);

    _WebKitWebView* mView = nullptr;
    _GtkWidget* mWindow = nullptr;
    void* mCancellable = nullptr; // GCancellable of pending snapshots
    PaintHandler mPaintHandler;
    std::function<void()> mCloseHandler;
    bool mSnapshotPending = false;
    int mPopupParent[4] = {0, 0, 0, 0};
    uint32_t mButtonsDown = 0; // GDK modifier bits of held buttons
};

// The off-screen page while it lives, else null.
OffscreenPage* getOSRBrowser();

// Runs a statement in the page: at once on the main thread, else at the
// next pump. With no page the statement is dropped.
void runPageStatement(const std::string& statement);
