#include "shell/AppDelegate.h"

#include "shell/ShellState.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCGLRenderer.h"

using namespace cocos2d;

TarnwickEGLView::~TarnwickEGLView() = default;

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate() = default;

bool AppDelegate::adoptView(std::unique_ptr<TarnwickEGLView> view, bool created) {
    if (!created)
        return false;
    // The view covers the whole window at its origin: the director's window
    // is the main window's client area and the board scene places itself on
    // the board's rectangle, so a shifted view would move the board twice.
    mView = std::move(view);
    return true;
}

bool AppDelegate::initInstance() {
    mView = std::make_unique<TarnwickEGLView>();
    if (mView->Create("Tarnwick", 768, 1024))
        return true;
    mView.reset();
    return false;
}

bool AppDelegate::createViewAsChild(void* parentWindow, int width, int height) {
    recordShellCall("createViewAsChild");
    auto view = std::make_unique<TarnwickEGLView>();
    const bool created = view->CreateAsChild(parentWindow, width, height);
    return adoptView(std::move(view), created);
}

bool AppDelegate::createViewWithWindow(void* window, int width, int height) {
    auto view = std::make_unique<TarnwickEGLView>();
    const bool created = view->CreateWithWindow(window, width, height);
    return adoptView(std::move(view), created);
}

bool AppDelegate::applicationDidFinishLaunching() {
    recordShellCall("applicationDidFinishLaunching");
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(CCEGLView::sharedOpenGLView());
    if (BConfig::instance().isSetById(cOptShowFPS))
        director->setDisplayFPS(true);
    director->setAnimationInterval(1.0 / 60.0);
    if (auto* renderer = dynamic_cast<CCGLRenderer*>(director->getRenderer()))
        renderer->setClearsFrame(false);
    return true;
}

void AppDelegate::applicationDidEnterBackground() {
    CocosDenshion::SimpleAudioEngine::sharedEngine()->pauseBackgroundMusic();
}

void AppDelegate::applicationWillEnterForeground() {
    CocosDenshion::SimpleAudioEngine::sharedEngine()->resumeBackgroundMusic();
}

void AppDelegate::destroyView() {
    CCDirector::sharedDirector()->setOpenGLView(nullptr);
    mView.reset();
}

AppDelegate& appDelegate() {
    static AppDelegate delegate;
    return delegate;
}
