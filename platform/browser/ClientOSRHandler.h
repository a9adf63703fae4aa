#pragma once

// The client of the off-screen page: the page's texture and its drawing
// under the board, the loading screen of a game opening, the user's idle
// measure, and the input rules by which SDL's events reach the page and the
// board's view.
//
// Input (handleEvent): mouse moves and wheel events reach the page at most
// once per arming of the input token, which drawBrowserOverlay arms when
// more than 66 ms passed since the last arming; wheel movement in between
// is summed and moves are dropped. A left press with Shift held starts a
// drag the page never sees (nor its release, nor a capture change); right
// buttons reach the page only while allowRightMouse says so. Clicks, keys,
// text and focus changes are never held back. While the game view is shown
// every event also goes to the view handler, whether the page got it or not.
//
// Frame order: drawBrowserOverlay (whole window, page texture), then the
// board drawn over it without clearing, then the swap.

#include "platform/browser/PagePixels.h"
#include "platform/browser/PageQuad.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

union SDL_Event;

namespace cocos2d {
class CCEGLView;
class CCLabelTTF;
class CCTexture2D;
} // namespace cocos2d

class PageSink;

class ClientOSRHandler {
public:
    using Clock = std::function<uint32_t()>;

    // clock: the millisecond clock (default SDL's).
    explicit ClientOSRHandler(Clock clock = {});
    ~ClientOSRHandler();
    ClientOSRHandler(const ClientOSRHandler&) = delete;
    ClientOSRHandler& operator=(const ClientOSRHandler&) = delete;

    // The one off-screen client while it lives, else null.
    static ClientOSRHandler* instance();

    // The page that input goes to; null: none (nothing is passed).
    void setPage(PageSink* page) { mPage = page; }
    // Where events go while the game view is shown (the view's own event
    // handling, CCEGLView::handleEvent).
    void setViewHandler(std::function<void(const SDL_Event&)> handler) {
        mViewHandler = std::move(handler);
    }
    // Asked on every right-button press and release.
    void setAllowRightMouse(std::function<bool()> allow) { mAllowRightMouse = std::move(allow); }

    // One SDL event of the shell's queue.
    void handleEvent(const SDL_Event& event);

    void setGameViewShown(bool shown) { mGameViewShown = shown; }
    bool isGameViewShown() const { return mGameViewShown; }
    void setLoadingOverlayShown(bool shown) { mLoadingOverlayShown = shown; }
    bool isLoadingOverlayShown() const { return mLoadingOverlayShown; }
    void setFocusElement(const std::string& id) { mFocusElement = id; }

    // mLastInputTime = now.
    void noteUserActivity();
    // 0 under a minute of idleness, 1 under 5 minutes, 2 under an hour, 3.
    int getIdleTier();
    // While the game view shows: focuses mFocusElement in the page.
    void focusPageElement();
    // Arms the input token when more than 66 ms passed since the last
    // arming (the end of drawBrowserOverlay).
    void rearmInputToken();

    // --- Drawing (needs a view; nothing is drawn or uploaded before) ---
    // Keeps the view and builds the page quad of the page size.
    void setPageGLView(cocos2d::CCEGLView* view);
    // (Re)creates the page texture of that size, white.
    void createBrowserTexture(int width, int height);
    // Takes a snapshot of the page (cairo ARGB32 data); one of another size
    // than the texture is skipped (false). Uploaded at the next draw.
    bool takePaint(const uint8_t* argb, int width, int height, int stride);
    // Draws the page over the whole window, then re-arms the input token.
    void drawBrowserOverlay();
    // Builds the loading screen: image "../html/UI/LoadingScreen_Full.png"
    // of the resource root and the text in the header font, placed by the
    // board rectangle (page pixels from the top-left) and the layout mode.
    void showLoadingScreen(const std::string& text, const std::string& headerFont,
                           const PageRect& board, int layoutMode);
    // Draws the loading screen while mLoadingOverlayShown.
    void drawLoadingScreen();
    // Drops the loading screen's texture (also from the texture cache) and label.
    void releaseLoadingScreen();

    int pageWidth() const { return mPageWidth; }
    int pageHeight() const { return mPageHeight; }
    unsigned pageTexture() const { return mPageTexture; }
    const PageQuad& pageQuad() const { return mPageQuad; }
    const PageQuad& loadingQuad() const { return mLoadingQuad; }
    const PageQuad& loadingLabelQuad() const { return mLoadingLabelQuad; }

private:
    uint32_t now() const;
    bool takeInputToken();
    void passToPage(const SDL_Event& event);
    void releaseDrawing();
    void mouseButton(int x, int y, int sdlButton, bool up);
    void beginOverlayState();
    void endOverlayState();
    void drawQuad(const PageQuad& quad, unsigned texture);

    Clock mClock;
    PageSink* mPage = nullptr;
    std::function<void(const SDL_Event&)> mViewHandler;
    std::function<bool()> mAllowRightMouse;

    bool mGameViewShown = false;
    bool mLoadingOverlayShown = false;
    bool mInputToken = false;
    int mWheelDelta = 0;
    bool mShiftDragActive = false;
    uint32_t mLastTokenTime = 0;
    uint32_t mLastInputTime = 0;
    int mIdleTier = 0;
    int mMouseX = 0;
    int mMouseY = 0;
    std::string mFocusElement;

    cocos2d::CCEGLView* mGLView = nullptr;
    int mPageWidth = -1;
    int mPageHeight = -1;
    unsigned mPageTexture = 0; // 0: none yet
    PageQuad mPageQuad{};
    PageQuad mLoadingQuad{};
    PageQuad mLoadingLabelQuad{};
    std::vector<uint8_t> mViewPixels;
    bool mPaintPending = false;
    cocos2d::CCTexture2D* mLoadingTexture = nullptr;
    cocos2d::CCLabelTTF* mLoadingLabel = nullptr;
};
