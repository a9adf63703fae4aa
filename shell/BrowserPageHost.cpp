#include "shell/BrowserPageHost.h"

#include "shell/AppDelegate.h"
#include "shell/CocosV8Handler.h"
#include "shell/LayoutModes.h"
#include "shell/MainLoop.h"
#include "shell/ShellState.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "platform/browser/ClientOSRHandler.h"
#include "platform/browser/OffscreenPage.h"
#include "platform/render/CCEGLView.h"
#include "scene/GameScene.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

const char* const kInterfacePage = "GameLayoutLarge.html";

} // namespace

BrowserPageHost::BrowserPageHost(std::string folder) : mFolder(std::move(folder)) {}

BrowserPageHost::~BrowserPageHost() {
    shutdown();
}

bool BrowserPageHost::initialize() {
    recordShellCall("page:initialize");
    return OffscreenPage::initToolkit();
}

bool BrowserPageHost::clientExists() const {
    return mPage != nullptr && !mPageClosed;
}

void BrowserPageHost::doWork() {
    if (mPage == nullptr && !mPageClosed) {
        // The scheme's files are relative to the current folder.
        std::error_code error;
        std::filesystem::current_path(mFolder, error);
        if (error)
            std::printf("the page folder %s: %s\n", mFolder.c_str(), error.message().c_str());
        int width = 0;
        int height = 0;
        layoutWindowSize(GameScene::layoutMode(), width, height);
        mClient = std::make_unique<ClientOSRHandler>();
        mClient->setFocusElement(pageFocusElement());
        mClient->setAllowRightMouse([] { return BConfig::instance().isSet("allowRightMouse"); });
        mPage = std::make_unique<OffscreenPage>(width, height);
        mClient->setPage(mPage.get());
        // The page closing itself quits as the window's close does.
        mPage->setCloseHandler([] {
            if (gAppRunning)
                quitApplication();
        });
        mPage->loadInterfacePage(mFolder, kInterfacePage);
    } else if (mPage != nullptr) {
        mPage->pump();
    }
    if (mWorkHandler)
        mWorkHandler();
}

void BrowserPageHost::attachView(cocos2d::CCEGLView* view, int width, int height) {
    recordShellCall("page:attachView");
    if (mClient == nullptr || mPage == nullptr)
        return;
    mClient->setViewHandler([view](const SDL_Event& event) { view->handleEvent(event); });
    mClient->setPageGLView(view);
    mClient->createBrowserTexture(width, height);
    mPage->setViewSize(width, height);
    if (SDL_Window* window = view != nullptr ? view->getWindow() : nullptr) {
        int x = 0;
        int y = 0;
        SDL_GetWindowPosition(window, &x, &y);
        mPage->setPopupParent(x, y, x + width, y + height);
    }
    mPage->setPaintHandler([this](const uint8_t* argb, int w, int h, int stride) {
        if (mClient->takePaint(argb, w, h, stride))
            ++mPaints;
    });
}

void BrowserPageHost::drawPage() {
    if (mClient == nullptr)
        return;
    // The loading screen is drawn by the game opening of the bridge's
    // update, not every frame.
    mClient->drawBrowserOverlay();
}

bool BrowserPageHost::gameViewShown() const {
    return mClient != nullptr && mClient->isGameViewShown();
}

void BrowserPageHost::setGameViewShown(bool shown) {
    if (mClient != nullptr)
        mClient->setGameViewShown(shown);
}

void BrowserPageHost::showLoadingScreen() {
    if (mClient == nullptr)
        return;
    LayoutRect board;
    layoutBoardRect(GameScene::layoutMode(), board);
    mClient->setLoadingOverlayShown(true);
    mClient->showLoadingScreen(localizedString("Loading..."), appDelegate().mHeaderFont,
                               PageRect{board.x, board.y, board.width, board.height},
                               GameScene::layoutMode());
}

void BrowserPageHost::drawLoadingScreen() {
    if (mClient != nullptr)
        mClient->drawLoadingScreen();
}

void BrowserPageHost::releaseLoadingScreen() {
    if (mClient == nullptr)
        return;
    mClient->setLoadingOverlayShown(false);
    mClient->releaseLoadingScreen();
}

int BrowserPageHost::idleTier() {
    return mClient != nullptr ? mClient->getIdleTier() : 0;
}

bool BrowserPageHost::pageShown() const {
    return mPage != nullptr && !mPage->isLoading() && mPaints > 0;
}

void BrowserPageHost::evaluate(const std::string& expression,
                               std::function<void(const std::string&)> done) {
    if (mPage != nullptr)
        mPage->evaluate(expression, std::move(done));
}

void BrowserPageHost::runStatement(const std::string& statement) {
    runPageStatement(statement);
}

void BrowserPageHost::handleEvent(const SDL_Event& event) {
    if (mClient != nullptr)
        mClient->handleEvent(event);
}

void BrowserPageHost::parentWindowWillClose() {
    recordShellCall("page:parentWindowWillClose");
    mPageClosed = true;
}

void BrowserPageHost::quitMessageLoop() {
    recordShellCall("page:quitMessageLoop");
}

void BrowserPageHost::shutdown() {
    if (mClient != nullptr)
        mClient->setPageGLView(nullptr);
    mPage.reset();
    mClient.reset();
}
