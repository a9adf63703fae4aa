#include "platform/browser/ClientOSRHandler.h"
#include "platform/browser/PageSink.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes each call as one line of text.
class RecordingPage : public PageSink {
public:
    void sendMouseMove(int x, int y) override { add("move " + xy(x, y)); }
    void sendMouseButton(int x, int y, MouseButton button, bool up) override {
        add(std::string(up ? "up " : "down ") + std::to_string(button) + " " + xy(x, y));
    }
    void sendMouseWheel(int x, int y, int delta) override {
        add("wheel " + std::to_string(delta) + " " + xy(x, y));
    }
    void sendKey(KeyType type, int key, int) override {
        add("key " + std::to_string(type) + " " + std::to_string(key));
    }
    void sendText(const std::string& text) override { add("text " + text); }
    void sendFocus(bool focused) override { add(focused ? "focus" : "blur"); }
    void sendCaptureLost() override { add("capture-lost"); }
    void setViewSize(int width, int height) override { add("size " + xy(width, height)); }
    void runScript(const std::string& statement) override { add("run " + statement); }

    std::vector<std::string> calls;

private:
    static std::string xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void add(std::string call) { calls.push_back(std::move(call)); }
};

SDL_Event motion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event button(Uint8 which, bool up, int x = 5, int y = 6) {
    SDL_Event event{};
    event.type = up ? SDL_MOUSEBUTTONUP : SDL_MOUSEBUTTONDOWN;
    event.button.button = which;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event wheel(int notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return event;
}

SDL_Event focusLost() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    return event;
}

// A hand-stepped clock, a recording page and a recording view.
class ClientOSRHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetModState(KMOD_NONE);
        mHandler.setPage(&mPage);
        mHandler.setViewHandler(
            [this](const SDL_Event& event) { mViewEvents.push_back(event.type); });
    }
    void TearDown() override { SDL_SetModState(KMOD_NONE); }

    uint32_t mNow = 1000;
    ClientOSRHandler mHandler{[this] { return mNow; }};
    RecordingPage mPage;
    std::vector<uint32_t> mViewEvents;
};

TEST_F(ClientOSRHandlerTest, OneMovePerTokenAndNoneBeforeTheFirstDrawing) {
    mHandler.handleEvent(motion(1, 1));
    mHandler.rearmInputToken(); // 1000 ms after the clock's start: armed
    mHandler.handleEvent(motion(2, 2));
    mHandler.handleEvent(motion(3, 3));
    mNow += 66;
    mHandler.rearmInputToken(); // not more than 66 ms later: not armed
    mHandler.handleEvent(motion(4, 4));
    mNow += 1;
    mHandler.rearmInputToken();
    mHandler.handleEvent(motion(5, 5));
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"move 2,2", "move 5,5"}));
}

TEST_F(ClientOSRHandlerTest, WheelNotchesHeldBackAreSummedIntoTheNextEvent) {
    mHandler.handleEvent(motion(30, 40));
    for (int i = 0; i < 3; ++i)
        mHandler.handleEvent(wheel(1));
    EXPECT_TRUE(mPage.calls.empty());
    mHandler.rearmInputToken();
    mHandler.handleEvent(wheel(1));
    mHandler.handleEvent(wheel(-1)); // token spent: held back again
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"wheel 480 30,40"}));
}

TEST_F(ClientOSRHandlerTest, ShiftDragAndItsCaptureChangeReachNothing) {
    SDL_SetModState(KMOD_LSHIFT);
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, false));
    SDL_SetModState(KMOD_NONE);
    mHandler.handleEvent(focusLost());
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, true));
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"blur"}));

    mPage.calls.clear();
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, false));
    mHandler.handleEvent(focusLost());
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, true));
    EXPECT_EQ(mPage.calls,
              (std::vector<std::string>{"down 0 5,6", "blur", "capture-lost", "up 0 5,6"}));
}

TEST_F(ClientOSRHandlerTest, RightButtonReachesThePageOnlyWithTheOption) {
    bool allow = false;
    mHandler.setAllowRightMouse([&] { return allow; });
    mHandler.handleEvent(button(SDL_BUTTON_RIGHT, false));
    mHandler.handleEvent(button(SDL_BUTTON_RIGHT, true));
    EXPECT_TRUE(mPage.calls.empty());
    allow = true;
    mHandler.handleEvent(button(SDL_BUTTON_RIGHT, false));
    mHandler.handleEvent(button(SDL_BUTTON_RIGHT, true));
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"down 2 5,6", "up 2 5,6"}));
}

TEST_F(ClientOSRHandlerTest, TheViewGetsEveryEventWhileTheGameViewShowsAndNoneOtherwise) {
    const SDL_Event events[] = {motion(1, 1), button(SDL_BUTTON_RIGHT, false),
                                button(SDL_BUTTON_RIGHT, true), wheel(1)};
    for (const SDL_Event& event : events)
        mHandler.handleEvent(event);
    EXPECT_TRUE(mViewEvents.empty());

    mHandler.setGameViewShown(true);
    SDL_SetModState(KMOD_LSHIFT);
    for (const SDL_Event& event : events)
        mHandler.handleEvent(event);
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, false));
    EXPECT_EQ(mViewEvents,
              (std::vector<uint32_t>{SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
                                     SDL_MOUSEWHEEL, SDL_MOUSEBUTTONDOWN}));
}

TEST_F(ClientOSRHandlerTest, KeysAndClicksFocusTheElementOnlyWhileTheGameViewShows) {
    mHandler.setFocusElement("ChatInput");
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_RETURN;
    mHandler.handleEvent(key);
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"key 1 13"}));

    mPage.calls.clear();
    mHandler.setGameViewShown(true);
    mHandler.handleEvent(key);
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, false));
    EXPECT_EQ(mPage.calls,
              (std::vector<std::string>{"run $('#ChatInput').focus();", "key 1 13", "down 0 5,6",
                                        "run $('#ChatInput').focus();"}));
}

TEST_F(ClientOSRHandlerTest, IdleTiersByTheTimeSinceTheLastInput) {
    mHandler.noteUserActivity();
    const std::pair<uint32_t, int> tiers[] = {{59999, 0},  {60000, 1},   {299999, 1},
                                              {300000, 2}, {3599999, 2}, {3600000, 3}};
    const uint32_t start = mNow;
    for (const auto& [elapsed, tier] : tiers) {
        mNow = start + elapsed;
        EXPECT_EQ(mHandler.getIdleTier(), tier) << elapsed;
    }
    mHandler.handleEvent(button(SDL_BUTTON_LEFT, false));
    EXPECT_EQ(mHandler.getIdleTier(), 0);
}

TEST_F(ClientOSRHandlerTest, WithoutAPageNothingIsPassedAndTheTokenIsKept) {
    mHandler.setPage(nullptr);
    mHandler.rearmInputToken();
    mHandler.handleEvent(motion(1, 1));
    mHandler.setPage(&mPage);
    mHandler.handleEvent(motion(2, 2));
    EXPECT_EQ(mPage.calls, (std::vector<std::string>{"move 2,2"}));
}

} // namespace
