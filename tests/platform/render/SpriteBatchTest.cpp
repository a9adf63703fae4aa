#include "RenderTest.h"

#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCParticleSystemQuad.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"

#include <GLES/gl.h>

using namespace cocos2d;

namespace {

// The scene drawn sprite by sprite (one draw call per quad, as the renderer
// drew before it batched) is kept as a reference image; batching must give
// the same pixels. TARNWICK_WRITE_REFERENCE=1 rewrites it.
const std::string kReference =
    std::string(TARNWICK_FIXTURES_DIR) + "/platform/render/batched-scene.png";

class SpriteBatchTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        ASSERT_TRUE(mView.Create("batch test", 240, 160));
        director()->setContentScaleFactor(2.0f);
        director()->setOpenGLView(&mView);
    }

    void writeTextures() {
        // No variance in the particles: a system's random sequence depends on
        // how many systems the process made before.
        // Soft-edged stripes and a ring with a see-through hole: both with
        // partial alpha, so that blending and the tint's alpha weighting show.
        writePng("Stripes.png", 32, 32, [](int x, int y) {
            const auto a = uint8_t(x < 4 || x > 27 ? 60 * (x % 4) : 255);
            return Rgba{uint8_t(x * 8), uint8_t((y / 4) % 2 ? 200 : 40), uint8_t(255 - y * 8), a};
        });
        writePng("Ring.png", 24, 24, [](int x, int y) {
            const int d = (x - 12) * (x - 12) + (y - 12) * (y - 12);
            const auto a = uint8_t(d < 36 ? 0 : d < 144 ? 255 : 0);
            return Rgba{250, uint8_t(10 * x), 30, a};
        });
        writeSolidPng("Dot.png", 8, 8, {255, 255, 255, 200});
        writeText("Burst.plist", "<plist version=\"1.0\"><dict>"
                                 "<key>maxParticles</key><integer>12</integer>"
                                 "<key>duration</key><real>1</real>"
                                 "<key>particleLifespan</key><real>2</real>"
                                 "<key>speed</key><real>30</real><key>angle</key><real>60</real>"
                                 "<key>startParticleSize</key><real>10</real>"
                                 "<key>rotationStart</key><real>30</real>"
                                 "<key>startColorRed</key><real>0.2</real>"
                                 "<key>startColorGreen</key><real>0.9</real>"
                                 "<key>startColorAlpha</key><real>0.8</real>"
                                 "<key>textureFileName</key><string>Dot.png</string>"
                                 "</dict></plist>");
    }

    // Sprites of two textures interleaved, tinted and plain, rotated,
    // scaled, flipped and faded, some nested, with a colour layer, an
    // additive sprite, a bar, particles and a label among them.
    CCScene* buildScene() {
        writeTextures();
        CCScene* scene = CCScene::node();
        scene->addChild(CCLayerColor::layerWithColor(ccc4(20, 30, 60, 255)), -1);
        for (int i = 0; i < 40; ++i) {
            CCSprite* sprite = CCSprite::spriteWithFile(i % 2 ? "Ring.png" : "Stripes.png");
            sprite->setPosition(CCPoint(float(8 + (i * 23) % 110), float(8 + (i * 17) % 66)));
            sprite->setRotation(float(i * 29 % 360));
            sprite->setScale(0.6f + float(i % 4) * 0.25f);
            sprite->setOpacity(uint8_t(255 - (i % 5) * 40));
            sprite->setFlipX(i % 7 == 0);
            if (i % 6 == 5)
                sprite->setColor(ccc3(255, 160, 90));
            if (i % 3 != 0)
                sprite->setTintColor(ccc3(uint8_t(40 + i * 5), uint8_t(i * 3), 90));
            if (i % 8 == 4) {
                CCSprite* child = CCSprite::spriteWithFile("Ring.png");
                child->setPosition(CCPoint(20, 4));
                child->setRotation(-40);
                child->setTintColor(ccc3(0, 120, 0));
                sprite->addChild(child, i % 16 == 4 ? -1 : 1);
            }
            if (i == 13)
                sprite->setBlendFunc(ccBlendFunc{GL_SRC_ALPHA, GL_ONE});
            if (i == 20)
                scene->addChild(
                    CCLayerColor::layerWithColorWidthHeight(ccc4(200, 0, 90, 120), 40, 30), i % 3);
            scene->addChild(sprite, i % 3);
        }
        CCProgressTimer* bar = CCProgressTimer::progressWithFile("Stripes.png");
        bar->setType(kCCProgressTimerTypeHorizontalBarLR);
        bar->setPercentage(60);
        bar->setPosition(CCPoint(100, 60));
        scene->addChild(bar, 1);
        CCParticleSystemQuad* burst = CCParticleSystemQuad::particleWithFile("Burst.plist");
        burst->setPosition(CCPoint(60, 40));
        scene->addChild(burst, 1);
        CCLabelTTF* label = CCLabelTTF::labelWithString("Tarn 42", "Tarnwick Sans", 14);
        label->setPosition(CCPoint(30, 70));
        label->setRotation(10);
        scene->addChild(label, 2);
        return scene;
    }

    CCImage drawFrame(CCScene* scene) {
        director()->runWithScene(scene);
        for (int i = 0; i < 4; ++i)
            director()->tick(0.1f);
        CCImage image;
        EXPECT_TRUE(mView.readPixels(image));
        return image;
    }

    CCEGLView mView;
};

} // namespace

TEST_F(SpriteBatchTest, ABatchedSceneDrawsTheSamePixelsAsQuadByQuad) {
    const CCImage image = drawFrame(buildScene());
    if (std::getenv("TARNWICK_WRITE_REFERENCE")) {
        ASSERT_TRUE(image.saveToFile(kReference));
    }
    CCImage reference;
    ASSERT_TRUE(reference.initWithImageFile(kReference));
    ASSERT_EQ(reference.getWidth(), image.getWidth());
    ASSERT_EQ(reference.getHeight(), image.getHeight());
    const std::vector<uint8_t>& want = reference.getData();
    const std::vector<uint8_t>& got = image.getData();
    size_t differing = 0;
    size_t first = want.size();
    for (size_t i = 0; i < want.size(); ++i) {
        if (want[i] != got[i]) {
            ++differing;
            first = std::min(first, i);
        }
    }
    EXPECT_EQ(differing, 0u) << "first differing byte " << first << " (pixel " << first / 4 << ")";
    if (differing)
        image.saveToFile(::testing::TempDir() + "/batched-scene-got.png");
}

TEST_F(SpriteBatchTest, RunsOfOneTextureAreOneDrawCallTintedOrNot) {
    writeSolidPng("A.png", 8, 8, {255, 0, 0, 255});
    writeSolidPng("B.png", 8, 8, {0, 0, 255, 255});
    struct Case {
        const char* textures; // one sprite per letter, in drawing order
        const char* tinted;   // 't' where the sprite is tinted
        bool layerInMiddle;
        unsigned drawCalls;
        unsigned modeSwitches;
    };
    const Case cases[] = {
        {"AAAAAA", "......", false, 1, 0},
        {"AAAAAA", ".t.t.t", false, 1, 1}, // the run turns to the tint combiner
        {"ABABAB", "......", false, 6, 0},
        {"ABABAB", "tt....", false, 6, 2}, // tint, then back to plain
        {"AAAAAA", "......", true, 3, 2},  // the fill splits the run
    };
    for (const Case& c : cases) {
        CCScene* scene = CCScene::node();
        const std::string textures = c.textures;
        for (size_t i = 0; i < textures.size(); ++i) {
            if (c.layerInMiddle && i == textures.size() / 2)
                scene->addChild(
                    CCLayerColor::layerWithColorWidthHeight(ccc4(0, 255, 0, 255), 4, 4));
            CCSprite* sprite = CCSprite::spriteWithFile(std::string(1, textures[i]) + ".png");
            sprite->setPosition(CCPoint(float(10 * i), 10));
            sprite->setRotation(float(20 * i));
            if (c.tinted[i] == 't')
                sprite->setTintColor(ccc3(0, 90, 0));
            scene->addChild(sprite);
        }
        if (director()->getRunningScene())
            director()->replaceScene(scene);
        else
            director()->runWithScene(scene);
        director()->tick(0);
        const ccDrawStats stats = ccGetDrawStats();
        EXPECT_EQ(stats.drawCalls, c.drawCalls) << c.textures << " " << c.tinted;
        EXPECT_EQ(stats.modeSwitches, c.modeSwitches) << c.textures << " " << c.tinted;
    }
}

namespace {

// A node drawing a square of one colour with GL calls of its own, 0..size
// in its own pixels.
class GLSquare : public CCNode {
public:
    static GLSquare* node(float size, const ccColor4F& color) {
        auto* square = new GLSquare();
        square->mSize = size;
        square->mColor = color;
        square->autorelease();
        return square;
    }
    void draw() override {
        const ccCustomGLDraw scope;
        const GLfloat corners[8] = {0, mSize, 0, 0, mSize, mSize, mSize, 0};
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glColor4f(mColor.r, mColor.g, mColor.b, mColor.a);
        glBlendFunc(GL_ONE, GL_ZERO);
        glVertexPointer(2, GL_FLOAT, 0, corners);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }

private:
    float mSize = 0;
    ccColor4F mColor{};
};

} // namespace

TEST_F(SpriteBatchTest, ANodesOwnGLDrawingKeepsTheTreesOrderAndTheNodesTransform) {
    writeSolidPng("A.png", 8, 8, {255, 0, 0, 255});
    writeSolidPng("B.png", 8, 8, {0, 0, 255, 255});
    // In the view's pixels (origin bottom-left, scale 2): red over x 32-48,
    // y 32-48; the green square's 20 pixels at (36, 44), turned a quarter
    // clockwise, over x 36-56, y 24-44; blue over x 46-62, y 32-48; red
    // again over x 112-128, batched after the square.
    CCScene* scene = CCScene::node();
    const auto sprite = [&](const char* file, float x) {
        CCSprite* s = CCSprite::spriteWithFile(file);
        s->setPosition(CCPoint(x, 20));
        scene->addChild(s);
    };
    sprite("A.png", 20);
    GLSquare* square = GLSquare::node(20, ccColor4F{0, 1, 0, 1});
    square->setPosition(CCPoint(18, 22));
    square->setRotation(90);
    scene->addChild(square);
    sprite("B.png", 27);
    sprite("A.png", 60);
    director()->runWithScene(scene);
    director()->tick(0);
    EXPECT_EQ(ccGetDrawStats().drawCalls, 3u); // red, blue, red: the square draws itself
    CCImage image;
    ASSERT_TRUE(mView.readPixels(image));
    const auto is = [&](int x, int y, Rgba want) {
        const std::vector<uint8_t>& data = image.getData();
        const size_t at = (size_t(160 - 1 - y) * 240 + size_t(x)) * 4;
        return data[at] == want.r && data[at + 1] == want.g && data[at + 2] == want.b;
    };
    const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};
    const Rgba black{0, 0, 0, 255};
    EXPECT_TRUE(is(34, 46, red));   // red alone
    EXPECT_TRUE(is(40, 38, green)); // the square over red
    EXPECT_TRUE(is(50, 38, blue));  // blue over the square
    EXPECT_TRUE(is(45, 26, green)); // the square alone, where its turn put it
    EXPECT_TRUE(is(50, 55, black)); // where it would be without the turn
    EXPECT_TRUE(is(120, 40, red));  // the last red
}
