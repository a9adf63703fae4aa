#include "shell/PageHost.h"

#include "shell/LayoutModes.h"
#include "shell/ShellState.h"

#include "platform/render/CCEGLView.h"
#include "scene/GameScene.h"

#include <GLES/gl.h>

namespace {

PageHost* gPageHost = nullptr;

void fillRect(const LayoutRect& rect, int windowHeight, float r, float g, float b) {
    glScissor(rect.x, windowHeight - rect.y - rect.height, rect.width, rect.height);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

PageHost::~PageHost() = default;

PageHost* pageHost() {
    return gPageHost;
}

void setPageHost(PageHost* host) {
    gPageHost = host;
}

void runInPage(const std::string& statement) {
    if (gPageHost != nullptr)
        gPageHost->runStatement(statement);
}

bool RecordingPageHost::initialize() {
    recordShellCall("page:initialize");
    return true;
}

bool RecordingPageHost::clientExists() const {
    return mWork >= mClientAfter;
}

void RecordingPageHost::doWork() {
    recordShellCall("page:doWork");
    ++mWork;
    {
        const std::lock_guard lock(mQueueMutex);
        for (std::string& statement : mQueued)
            mStatements.push_back(std::move(statement));
        mQueued.clear();
    }
    if (mWorkHandler)
        mWorkHandler();
}

void RecordingPageHost::attachView(cocos2d::CCEGLView* view, int width, int height) {
    recordShellCall("page:attachView");
    mView = view;
    mWidth = width;
    mHeight = height;
}

void RecordingPageHost::drawPage() {
    recordShellCall("page:drawPage");
    ++mDraws;
    if (mView != nullptr && mView->makeCurrent()) {
        glViewport(0, 0, mWidth, mHeight);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0.10f, 0.11f, 0.16f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        const int mode = GameScene::layoutMode();
        LayoutRect rect;
        if (layoutNavMenuRect(mode, rect))
            fillRect(rect, mHeight, 0.22f, 0.30f, 0.45f);
        if (layoutBoardRect(mode, rect))
            fillRect(rect, mHeight, 0.18f, 0.36f, 0.22f);
        if (layoutChatRect(mode, rect))
            fillRect(rect, mHeight, 0.40f, 0.34f, 0.22f);
        glDisable(GL_SCISSOR_TEST);
        mView->applyViewport();
    }
    if (mDrawHandler)
        mDrawHandler();
}

void RecordingPageHost::runStatement(const std::string& statement) {
    if (std::this_thread::get_id() != mMainThread) {
        const std::lock_guard lock(mQueueMutex);
        mQueued.push_back(statement);
        return;
    }
    recordShellCall("page:runStatement");
    mStatements.push_back(statement);
}

void RecordingPageHost::handleEvent(const SDL_Event& event) {
    mEvents.push_back(event);
    // Input reaches the board while the game view shows, as with a page.
    if (mGameViewShown && mView != nullptr)
        mView->handleEvent(event);
}

void RecordingPageHost::parentWindowWillClose() {
    recordShellCall("page:parentWindowWillClose");
}

void RecordingPageHost::quitMessageLoop() {
    recordShellCall("page:quitMessageLoop");
}

void RecordingPageHost::shutdown() {
    recordShellCall("page:shutdown");
}
