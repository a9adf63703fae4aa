// One frame of 2,000 sprites drawn by the OpenGL ES 1.1 renderer into an
// offscreen 960 x 640 view (Mesa's software rasteriser here): the tick,
// the tree walk, the draw calls and glFinish, so the figure includes the
// rasterising. Sprites are 32 x 32 points at content scale 2, rotated and
// half of them tinted, spread over the window.

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"

#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kSprites = 2000;

void BM_FrameOfSprites(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    CCDirector* director = CCDirector::sharedDirector();
    director->setContentScaleFactor(2.0f);
    CCEGLView view;
    if (!view.Create("bench", 960, 640)) {
        state.SkipWithError("no GL view");
        return;
    }
    director->setOpenGLView(&view);

    std::vector<uint8_t> pixels(64 * 64 * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = uint8_t(i % 251);
        pixels[i + 1] = 120;
        pixels[i + 2] = 200;
        pixels[i + 3] = (i / 4) % 64 < 48 ? 255 : 0;
    }
    auto* texture = new CCTexture2D();
    texture->initWithData(pixels, 64, 64, 2.0f);

    CCScene* scene = CCScene::node();
    CCLayer* layer = CCLayer::node();
    scene->addChild(layer);
    for (int i = 0; i < kSprites; ++i) {
        CCSprite* sprite = CCSprite::spriteWithTexture(texture);
        sprite->setPosition(CCPoint(float((i * 37) % 480), float((i * 53) % 320)));
        sprite->setRotation(float(i % 360));
        sprite->setOpacity(uint8_t(128 + i % 128));
        if (i % 2)
            sprite->setTintColor(ccc3(60, 0, 0));
        layer->addChild(sprite, i % 5);
    }
    director->runWithScene(scene);
    director->tick(0);
    for (auto _ : state) {
        director->tick(1.0f / 60.0f);
        glFinish();
    }
    state.counters["sprites"] = kSprites;
    director->purgeDirector();
    texture->release();
}

BENCHMARK(BM_FrameOfSprites)->Unit(benchmark::kMillisecond);

} // namespace
