#include "platform/engine/CCDirector.h"

#include "platform/engine/CCActionManager.h"
#include "platform/engine/CCApplication.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/engine/CCRenderer.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCTouchDispatcher.h"

#include <algorithm>

namespace cocos2d {

namespace {

CCDirector* gSharedDirector = nullptr;

} // namespace

CCDirector* CCDirector::sharedDirector() {
    if (!gSharedDirector)
        gSharedDirector = new CCDirector();
    return gSharedDirector;
}

bool CCDirector::hasSharedDirector() {
    return gSharedDirector != nullptr;
}

CCDirector::CCDirector()
    : mScheduler(new CCScheduler()), mActionManager(new CCActionManager()),
      mTouchDispatcher(new CCTouchDispatcher()), mKeypadDispatcher(new CCKeypadDispatcher()),
      mRenderer(std::make_unique<CCNullRenderer>()) {
    mScheduler->scheduleUpdateForTarget(mActionManager, kCCPrioritySystem, false);
}

CCDirector::~CCDirector() {
    mScheduler->release();
    mActionManager->release();
    mTouchDispatcher->release();
    mKeypadDispatcher->release();
}

void CCDirector::tick(ccTime dt) {
    if (mPurgeNextFrame) {
        purgeDirector();
        return;
    }
    if (mSceneChangePending)
        applySceneChange();
    if (!mPaused)
        mScheduler->tick(dt);
    mRenderer->drawScene(mRunningScene);
    ++mTotalFrames;
    CCPoolManager::sharedPoolManager()->finalize();
}

void CCDirector::purgeDirector() {
    dropScenes();
    mTouchDispatcher->removeAllDelegates();
    mKeypadDispatcher->removeAllDelegates();
    mActionManager->removeAllActions();
    mScheduler->unscheduleAllSelectors();
    // What was let go of dies now, while the director still exists for the
    // destructors that reach it.
    CCPoolManager::sharedPoolManager()->finalize();
    if (gSharedDirector == this)
        gSharedDirector = nullptr;
    delete this;
    CCPoolManager::sharedPoolManager()->finalize();
}

void CCDirector::dropScenes() {
    CCScene* running = mRunningScene;
    mRunningScene = nullptr;
    std::vector<CCScene*> stack;
    stack.swap(mScenes);
    mSceneChangePending = false;
    if (running) {
        if (running->getIsRunning())
            running->onExit();
        running->cleanup();
        running->release();
    }
    for (CCScene* scene : stack) {
        if (scene != running)
            scene->cleanup();
        scene->release();
    }
}

void CCDirector::end() {
    mPurgeNextFrame = true;
}

void CCDirector::pause() {
    if (mPaused)
        return;
    mPaused = true;
    if (mRunningScene)
        mRunningScene->onPause();
}

void CCDirector::resume() {
    if (!mPaused)
        return;
    mPaused = false;
    if (mRunningScene)
        mRunningScene->onResume();
}

void CCDirector::runWithScene(CCScene* scene) {
    // Only the first scene (or the first after the last was popped).
    if (scene && mScenes.empty())
        pushScene(scene);
}

void CCDirector::replaceScene(CCScene* scene) {
    if (!scene)
        return;
    if (mScenes.empty()) {
        pushScene(scene);
        return;
    }
    scene->retain();
    mScenes.back()->release();
    mScenes.back() = scene;
    mSceneChangePending = true;
}

void CCDirector::pushScene(CCScene* scene) {
    if (!scene)
        return;
    scene->retain();
    mScenes.push_back(scene);
    mSceneChangePending = true;
}

void CCDirector::popScene() {
    if (mScenes.empty())
        return;
    mScenes.back()->release();
    mScenes.pop_back();
    mSceneChangePending = true;
}

void CCDirector::applySceneChange() {
    mSceneChangePending = false;
    CCScene* next = mScenes.empty() ? nullptr : mScenes.back();
    if (next == mRunningScene)
        return;
    CCScene* old = mRunningScene;
    mRunningScene = nullptr;
    if (old) {
        if (old->getIsRunning())
            old->onExit();
        // A scene still on the stack was pushed over and comes back later.
        if (std::find(mScenes.begin(), mScenes.end(), old) == mScenes.end())
            old->cleanup();
        old->release();
    }
    if (next) {
        next->retain();
        mRunningScene = next;
        next->onEnter();
    }
}

void CCDirector::viewWillAppear(bool animated) {
    if (mRunningScene)
        mRunningScene->onViewWillAppear(animated);
}

void CCDirector::viewDidAppear(bool animated) {
    if (mRunningScene)
        mRunningScene->onViewDidAppear(animated);
}

void CCDirector::viewWillDisappear(bool animated) {
    if (mRunningScene)
        mRunningScene->onViewWillDisappear(animated);
}

void CCDirector::viewDidDisappear(bool animated) {
    if (mRunningScene)
        mRunningScene->onViewDidDisappear(animated);
}

CCSize CCDirector::getWinSize() const {
    // The scene lives in the board's rectangle of the window: once the
    // application has the scene dimensions, the scene's window is the board.
    int boardX = 0, boardY = 0, boardWidth = 0, boardHeight = 0, windowWidth = 0, windowHeight = 0;
    CCApplication::getSceneDims(boardX, boardY, boardWidth, boardHeight, windowWidth, windowHeight);
    if (boardWidth > 0 && boardHeight > 0)
        return CCSize(float(boardWidth) / mContentScaleFactor,
                      float(boardHeight) / mContentScaleFactor);
    return viewSize();
}

CCSize CCDirector::viewSize() const {
    return CCSize(mWinSizeInPixels.width / mContentScaleFactor,
                  mWinSizeInPixels.height / mContentScaleFactor);
}

void CCDirector::setContentScaleFactor(float scale) {
    if (scale > 0.0f)
        mContentScaleFactor = scale;
}

CCPoint CCDirector::convertToGL(const CCPoint& viewPoint) const {
    return CCPoint(viewPoint.x, viewSize().height - viewPoint.y);
}

CCPoint CCDirector::convertToUI(const CCPoint& glPoint) const {
    return CCPoint(glPoint.x, viewSize().height - glPoint.y);
}

CCPoint CCDirector::convertToScene(const CCPoint& viewPoint) const {
    const CCPoint gl = convertToGL(viewPoint);
    return mRunningScene ? mRunningScene->convertToNodeSpace(gl) : gl;
}

void CCDirector::setRenderer(std::unique_ptr<CCRenderer> renderer) {
    mRenderer = renderer ? std::move(renderer) : std::make_unique<CCNullRenderer>();
}

} // namespace cocos2d
