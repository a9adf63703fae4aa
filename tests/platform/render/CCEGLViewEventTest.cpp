#include "RenderTest.h"

#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCEGLView.h"

#include <SDL2/SDL.h>

#include <vector>

using namespace cocos2d;

namespace {

struct BackCounter : CCKeypadDelegate {
    void keyBackClicked() override { ++backs; }
    int backs = 0;
};

// Notes whether each raw pointer move came with the button down.
struct RawMoveProbe : CCTargetedTouchDelegate {
    bool ccTouchBegan(CCTouch*, CCEvent*) override { return true; }
    void ccRawMove(float, float, bool buttonDown) override { downs.push_back(buttonDown); }
    std::vector<bool> downs;
};

class EGLViewEventTest : public RenderTest {};

// One event handed over by the owner of SDL's queue, as pollEvents does.
TEST_F(EGLViewEventTest, OneEventAtATimeClosesOnQuitTurnsEscapeIntoBackOtherKeysToTheHandler) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("events", 32, 32));
    BackCounter counter;
    director()->getKeypadDispatcher()->addDelegate(&counter);

    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_ESCAPE;
    std::vector<int> keys;
    view.setKeyHandler([&keys](int key) { keys.push_back(key); });
    EXPECT_TRUE(view.handleEvent(event));
    EXPECT_EQ(counter.backs, 1);
    for (SDL_Keycode key : {SDLK_F1, SDLK_n}) {
        event.key.keysym.sym = key;
        EXPECT_TRUE(view.handleEvent(event));
    }
    EXPECT_EQ(keys, (std::vector<int>{SDLK_F1, SDLK_n})) << "Escape stays Back only";
    EXPECT_EQ(counter.backs, 1);

    event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_FALSE(view.handleEvent(event));
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_TRUE(view.handleEvent(event));
    event = {};
    event.type = SDL_QUIT;
    EXPECT_FALSE(view.handleEvent(event));
    director()->getKeypadDispatcher()->removeDelegate(&counter);
}

TEST_F(EGLViewEventTest, PointerMovesAndTheReleaseGoOutRawWithTheButtonUpOrDown) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("moves", 32, 32));
    RawMoveProbe probe;
    director()->getTouchDispatcher()->addTargetedDelegate(&probe, 0, false);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 5;
    motion.motion.y = 6;
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.x = 5;
    press.button.y = 6;
    SDL_Event release = press;
    release.type = SDL_MOUSEBUTTONUP;
    for (const SDL_Event& event : {motion, press, motion, release, motion})
        EXPECT_TRUE(view.handleEvent(event));
    // The release reports the button up at once, before the next move.
    EXPECT_EQ(probe.downs, (std::vector<bool>{false, true, false, false}));
    director()->getTouchDispatcher()->removeDelegate(&probe);
}

} // namespace
