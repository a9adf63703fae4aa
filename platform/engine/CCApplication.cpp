#include "platform/engine/CCApplication.h"

#include "platform/engine/CCDirector.h"

#include <algorithm>
#include <chrono>

namespace cocos2d {

namespace {

CCApplication* gSharedApplication = nullptr;

struct SceneDims {
    int boardX = 0;
    int boardY = 0;
    int boardWidth = 0;
    int boardHeight = 0;
    int windowWidth = 0;
    int windowHeight = 0;
};

SceneDims gSceneDims;

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

CCApplication::CCApplication() : mClock(steadySeconds) {
    gSharedApplication = this;
}

CCApplication::~CCApplication() {
    if (gSharedApplication == this)
        gSharedApplication = nullptr;
}

CCApplication* CCApplication::sharedApplication() {
    return gSharedApplication;
}

bool CCApplication::initInstance() {
    return true;
}

bool CCApplication::createViewAsChild(void*, int, int) {
    return true;
}

bool CCApplication::createViewWithWindow(void*, int, int) {
    return true;
}

bool CCApplication::applicationDidFinishLaunching() {
    return true;
}

void CCApplication::applicationDidEnterBackground() {}

void CCApplication::applicationWillEnterForeground() {}

void CCApplication::setSceneDims(int boardX, int boardY, int boardWidth, int boardHeight,
                                 int windowWidth, int windowHeight) {
    gSceneDims = SceneDims{boardX, boardY, boardWidth, boardHeight, windowWidth, windowHeight};
}

void CCApplication::getSceneDims(int& boardX, int& boardY, int& boardWidth, int& boardHeight,
                                 int& windowWidth, int& windowHeight) {
    boardX = gSceneDims.boardX;
    boardY = gSceneDims.boardY;
    boardWidth = gSceneDims.boardWidth;
    boardHeight = gSceneDims.boardHeight;
    windowWidth = gSceneDims.windowWidth;
    windowHeight = gSceneDims.windowHeight;
}

bool CCApplication::runStart(void* parentWindow, int width, int height) {
    if (!createViewAsChild(parentWindow, width, height))
        return false;
    CCDirector::sharedDirector()->setWinSizeInPixels(CCSize(float(width), float(height)));
    mLastFrame = mLastTick = mClock();
    mStarted = true;
    return applicationDidFinishLaunching();
}

bool CCApplication::checkRunTick() {
    if (!mStarted)
        return false;
    const double now = mClock();
    if (now - mLastFrame < CCDirector::sharedDirector()->getAnimationInterval())
        return false;
    mLastFrame = now;
    return true;
}

void CCApplication::runTick() {
    const double now = mClock();
    const double dt = std::max(0.0, now - mLastTick);
    mLastTick = now;
    CCDirector::sharedDirector()->tick(ccTime(dt));
}

void CCApplication::setClock(std::function<double()> clock) {
    mClock = clock ? std::move(clock) : std::function<double()>(steadySeconds);
    mLastFrame = mLastTick = mClock();
}

} // namespace cocos2d
