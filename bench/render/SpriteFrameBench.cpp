// One frame of sprites drawn by the OpenGL ES 1.1 renderer into an
// offscreen 960 x 640 view (Mesa's software rasteriser here): the tick,
// the tree walk, the draw calls and glFinish, so the figure includes the
// rasterising. Sprites are 32 x 32 points at content scale 2, rotated and
// spread over the window, at 200, 2,000 and 20,000 sprites, none or half of
// them tinted (the second argument). The floor beside them draws the same
// quads, already in frame coordinates, in one call: the rasterising alone.
// Counters: draw calls and texture-mode switches per frame.

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"

#include <GLES/gl.h>
#include <GLES/glext.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 640;

CCTexture2D* makeTexture() {
    std::vector<uint8_t> pixels(64 * 64 * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = uint8_t(i % 251);
        pixels[i + 1] = 120;
        pixels[i + 2] = 200;
        pixels[i + 3] = (i / 4) % 64 < 48 ? 255 : 0;
    }
    auto* texture = new CCTexture2D();
    texture->initWithData(pixels, 64, 64, 2.0f);
    return texture;
}

// The offscreen view, the texture and a scene of count sprites.
class SpriteFrame {
public:
    SpriteFrame(int count, bool halfTinted) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        CCDirector* director = CCDirector::sharedDirector();
        director->setContentScaleFactor(2.0f);
        mReady = mView.Create("bench", kWidth, kHeight);
        if (!mReady)
            return;
        director->setOpenGLView(&mView);
        mTexture = makeTexture();
        CCScene* scene = CCScene::node();
        CCLayer* layer = CCLayer::node();
        scene->addChild(layer);
        for (int i = 0; i < count; ++i) {
            CCSprite* sprite = CCSprite::spriteWithTexture(mTexture);
            sprite->setPosition(CCPoint(float((i * 37) % 480), float((i * 53) % 320)));
            sprite->setRotation(float(i % 360));
            sprite->setOpacity(uint8_t(128 + i % 128));
            if (halfTinted && i % 2)
                sprite->setTintColor(ccc3(60, 0, 0));
            layer->addChild(sprite, i % 5);
            mSprites.push_back(sprite);
        }
        director->runWithScene(scene);
        director->tick(0);
    }
    ~SpriteFrame() {
        CCDirector::sharedDirector()->purgeDirector();
        if (mTexture)
            mTexture->release();
    }
    bool ready() const { return mReady; }
    const std::vector<CCSprite*>& sprites() const { return mSprites; }

private:
    CCEGLView mView;
    CCTexture2D* mTexture = nullptr;
    std::vector<CCSprite*> mSprites;
    bool mReady = false;
};

void BM_FrameOfSprites(benchmark::State& state) {
    const int count = int(state.range(0));
    SpriteFrame frame(count, state.range(1) != 0);
    if (!frame.ready()) {
        state.SkipWithError("no GL view");
        return;
    }
    CCDirector* director = CCDirector::sharedDirector();
    for (auto _ : state) {
        director->tick(1.0f / 60.0f);
        glFinish();
    }
    const ccDrawStats stats = ccGetDrawStats();
    state.counters["sprites"] = count;
    state.counters["drawCalls"] = stats.drawCalls;
    state.counters["modeSwitches"] = stats.modeSwitches;
}

// The same sprites' quads in frame pixels, drawn in one call with the
// texture bound: what any drawing of the frame must pay at least.
void BM_FrameOfSpritesFloor(benchmark::State& state) {
    const int count = int(state.range(0));
    SpriteFrame frame(count, false);
    if (!frame.ready()) {
        state.SkipWithError("no GL view");
        return;
    }
    std::vector<ccV3F_C4B_T2F> vertices;
    for (CCSprite* sprite : frame.sprites()) {
        CCAffineTransform t = sprite->nodeToParentTransform();
        t.tx *= 2.0f;
        t.ty *= 2.0f;
        const ccV3F_C4B_T2F_Quad& quad = sprite->getQuad();
        for (ccV3F_C4B_T2F v : {quad.tl, quad.bl, quad.tr, quad.br}) {
            const CCPoint p = CCPointApplyAffineTransform(CCPoint(v.vertices.x, v.vertices.y), t);
            v.vertices = ccVertex3F{p.x, p.y, 0};
            vertices.push_back(v);
        }
    }
    std::vector<GLuint> indices;
    for (GLuint first = 0; first < vertices.size(); first += 4)
        for (GLuint corner : {0u, 1u, 2u, 2u, 1u, 3u})
            indices.push_back(first + corner);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, kWidth, 0, kHeight, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, frame.sprites().front()->getTexture()->getName());
    const auto* base = reinterpret_cast<const char*>(vertices.data());
    constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
        glFinish();
    }
    state.counters["sprites"] = count;
    state.counters["drawCalls"] = 1;
}

// Floor first, then none tinted, then half tinted, at each size.
void sizes(benchmark::internal::Benchmark* b, bool tinting) {
    for (int count : {200, 2000, 20000}) {
        if (tinting)
            b->Args({count, 0})->Args({count, 1});
        else
            b->Args({count});
    }
}

BENCHMARK(BM_FrameOfSpritesFloor)
    ->Apply([](auto* b) { sizes(b, false); }) -> Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameOfSprites)
    ->Apply([](auto* b) { sizes(b, true); }) -> ArgNames({"sprites", "halfTinted"})
        -> Unit(benchmark::kMillisecond);

} // namespace
