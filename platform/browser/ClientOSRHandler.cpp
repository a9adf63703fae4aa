#include "platform/browser/ClientOSRHandler.h"

#include "platform/browser/PageSink.h"

#include <SDL2/SDL.h>

namespace {

ClientOSRHandler* gClient = nullptr;

constexpr uint32_t kInputTokenMs = 66;
constexpr int kWheelNotch = 120;

} // namespace

ClientOSRHandler::ClientOSRHandler(Clock clock) : mClock(std::move(clock)) {
    gClient = this;
    mLastInputTime = now();
}

ClientOSRHandler::~ClientOSRHandler() {
    releaseDrawing();
    if (gClient == this)
        gClient = nullptr;
}

ClientOSRHandler* ClientOSRHandler::instance() {
    return gClient;
}

uint32_t ClientOSRHandler::now() const {
    return mClock ? mClock() : SDL_GetTicks();
}

void ClientOSRHandler::noteUserActivity() {
    mLastInputTime = now();
}

int ClientOSRHandler::getIdleTier() {
    const uint32_t elapsed = now() - mLastInputTime;
    mIdleTier = elapsed < 60000 ? 0 : elapsed < 300000 ? 1 : elapsed < 3600000 ? 2 : 3;
    return mIdleTier;
}

void ClientOSRHandler::focusPageElement() {
    if (mGameViewShown && mPage)
        mPage->runScript("$('#" + mFocusElement + "').focus();");
}

void ClientOSRHandler::rearmInputToken() {
    const uint32_t time = now();
    if (time - mLastTokenTime > kInputTokenMs) {
        mLastTokenTime = time;
        mInputToken = true;
    }
}

bool ClientOSRHandler::takeInputToken() {
    const bool armed = mInputToken;
    mInputToken = false;
    return armed;
}

void ClientOSRHandler::handleEvent(const SDL_Event& event) {
    passToPage(event);
    if (mGameViewShown && mViewHandler)
        mViewHandler(event);
}

void ClientOSRHandler::mouseButton(int x, int y, int sdlButton, bool up) {
    const bool right = sdlButton == SDL_BUTTON_RIGHT;
    if (sdlButton != SDL_BUTTON_LEFT && !right)
        return;
    if (right && !(mAllowRightMouse && mAllowRightMouse()))
        return;
    noteUserActivity();
    const PageSink::MouseButton button = right ? PageSink::kRightButton : PageSink::kLeftButton;
    if (!up) {
        if (SDL_GetModState() & KMOD_SHIFT)
            mShiftDragActive = true;
        else if (mPage)
            mPage->sendMouseButton(x, y, button, false);
        focusPageElement();
    } else if (mShiftDragActive) {
        mShiftDragActive = false;
    } else if (mPage) {
        mPage->sendMouseButton(x, y, button, true);
    }
}

void ClientOSRHandler::passToPage(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        mMouseX = event.motion.x;
        mMouseY = event.motion.y;
        if (!mPage)
            return;
        noteUserActivity();
        if (!takeInputToken())
            return;
        mPage->sendMouseMove(event.motion.x, event.motion.y);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        mMouseX = event.button.x;
        mMouseY = event.button.y;
        mouseButton(event.button.x, event.button.y, event.button.button,
                    event.type == SDL_MOUSEBUTTONUP);
        return;
    case SDL_MOUSEWHEEL: {
        noteUserActivity();
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        const int delta = notches * kWheelNotch;
        if (mPage && takeInputToken()) {
            mPage->sendMouseWheel(mMouseX, mMouseY, mWheelDelta + delta);
            mWheelDelta = 0;
            return;
        }
        mWheelDelta += delta;
        return;
    }
    case SDL_WINDOWEVENT:
        if (!mPage)
            return;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            mPage->sendFocus(true);
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            mPage->sendFocus(false);
            if (!mShiftDragActive)
                mPage->sendCaptureLost();
        }
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        noteUserActivity();
        focusPageElement();
        if (mPage)
            mPage->sendKey(event.type == SDL_KEYDOWN ? PageSink::kKeyDown : PageSink::kKeyUp,
                           event.key.keysym.sym, event.key.keysym.mod);
        return;
    case SDL_TEXTINPUT:
        noteUserActivity();
        focusPageElement();
        if (mPage)
            mPage->sendText(event.text.text);
        return;
    default:
        return;
    }
}
