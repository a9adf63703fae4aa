#include "RenderTest.h"

#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/render/CCEGLView.h"

#include <SDL2/SDL.h>

using namespace cocos2d;

namespace {

struct BackCounter : CCKeypadDelegate {
    void keyBackClicked() override { ++backs; }
    int backs = 0;
};

class EGLViewEventTest : public RenderTest {};

// One event handed over by the owner of SDL's queue, as pollEvents does.
TEST_F(EGLViewEventTest, OneEventAtATimeClosesOnQuitAndTurnsEscapeIntoBack) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("events", 32, 32));
    BackCounter counter;
    director()->getKeypadDispatcher()->addDelegate(&counter);

    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_ESCAPE;
    EXPECT_TRUE(view.handleEvent(event));
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

} // namespace
