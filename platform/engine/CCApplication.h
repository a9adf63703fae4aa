#pragma once

// The application: the program subclasses it (its delegate) and the shell
// drives it. runStart creates the view and finishes launching; the main loop
// then asks checkRunTick whether a frame is due (one per animation interval
// of the director) and, when it is, calls runTick, which steps the director
// by the time passed since the previous runTick on the application's clock.
//
// The scene dimensions are the board's rectangle and the window's size in
// window pixels, y downwards, as the shell hands them over; the game scene
// reads them back to place itself.

#include <functional>

namespace cocos2d {

class CCApplication {
public:
    CCApplication();
    virtual ~CCApplication();
    CCApplication(const CCApplication&) = delete;
    CCApplication& operator=(const CCApplication&) = delete;

    // The most recently constructed application still alive, or null.
    static CCApplication* sharedApplication();

    // Virtual operations, in this order; each answers true by default.
    virtual bool initInstance();
    virtual bool createViewAsChild(void* parentWindow, int width, int height);
    virtual bool createViewWithWindow(void* window, int width, int height);
    virtual bool applicationDidFinishLaunching();
    virtual void applicationDidEnterBackground();
    virtual void applicationWillEnterForeground();

    static void setSceneDims(int boardX, int boardY, int boardWidth, int boardHeight,
                             int windowWidth, int windowHeight);
    static void getSceneDims(int& boardX, int& boardY, int& boardWidth, int& boardHeight,
                             int& windowWidth, int& windowHeight);

    // Creates the view inside the parent window, sizes the director's window
    // in pixels, starts the clock and finishes launching; false when
    // creating the view or launching fails.
    bool runStart(void* parentWindow, int width, int height);
    // True when a frame is due; the frame counts as begun.
    bool checkRunTick();
    // One frame of the director.
    void runTick();
    bool isStarted() const { return mStarted; }

    // The clock in seconds from any fixed origin; a steady clock unless
    // replaced (tests step one by hand).
    void setClock(std::function<double()> clock);

private:
    std::function<double()> mClock;
    double mLastFrame = 0.0; // when the last due frame began
    double mLastTick = 0.0;  // when runTick last ran
    bool mStarted = false;
};

} // namespace cocos2d
