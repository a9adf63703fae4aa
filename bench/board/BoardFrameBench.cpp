// One frame of the board program's bound sample game (seed 1, the first two
// civs) in its offscreen 1024 x 768 view at content scale 2: the tick of the
// scene with its views and HUD, the draw and glFinish, so the figure includes
// Mesa's software rasterising. The floor beside it is the least any frame of
// that view pays, from the GL library alone: a clear and one textured quad
// over every pixel. Mesa rasterises on threads of its own: the times are
// wall-clock times.

#include "tools/board/BoardApplication.h"
#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCTexture2D.h"

#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kWidth = BoardApplication::cWidth;
constexpr int kHeight = BoardApplication::cHeight;

// The board program started on the sample content, its first frames drawn.
std::unique_ptr<BoardApplication> startBoard() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setBaseFolder(TARNWICK_SOURCE_DIR);
    setupLanguageAndPaths("english");
    loadLocalizableStrings();
    if (!loadGameData())
        return nullptr;
    auto app = std::make_unique<BoardApplication>(1, std::array<int32_t, 2>{0, 3});
    if (!app->runStart(nullptr, kWidth, kHeight))
        return nullptr;
    // The opening's flights and the replay arming settle first.
    for (int frame = 0; frame < 120; ++frame)
        CCDirector::sharedDirector()->tick(1.0f / 60.0f);
    return app;
}

void BM_BoardFrame(benchmark::State& state) {
    const std::unique_ptr<BoardApplication> app = startBoard();
    if (!app) {
        state.SkipWithError("the board did not start");
        return;
    }
    CCDirector* director = CCDirector::sharedDirector();
    for (auto _ : state) {
        director->tick(1.0f / 60.0f);
        glFinish();
    }
}

// A clear and one full-view textured quad: every pixel written once.
void BM_BoardFrameFloor(benchmark::State& state) {
    const std::unique_ptr<BoardApplication> app = startBoard();
    if (!app) {
        state.SkipWithError("the board did not start");
        return;
    }
    std::vector<uint8_t> pixels(64 * 64 * 4, 200);
    auto* texture = new CCTexture2D();
    texture->initWithData(pixels, 64, 64, 1.0f);
    app->view()->makeCurrent();
    app->view()->applyViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, kWidth, 0, kHeight, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glBindTexture(GL_TEXTURE_2D, texture->getName());
    const GLfloat vertices[] = {0, 0, kWidth, 0, 0, kHeight, kWidth, kHeight};
    const GLfloat coords[] = {0, 0, 1, 0, 0, 1, 1, 1};
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glFinish();
    }
    texture->release();
}

BENCHMARK(BM_BoardFrameFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BoardFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
