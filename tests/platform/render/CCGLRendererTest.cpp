#include "RenderTest.h"

#include "platform/engine/CCLayerColor.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class GLRendererTest : public RenderTest {
protected:
    // Opens a 96 x 64 pixel view, draws the scene once and reads it back.
    CCImage draw(const std::function<void(CCScene*)>& build, float contentScale = 1.0f) {
        CCImage image;
        CCEGLView view;
        EXPECT_TRUE(view.Create("render test", 96, 64));
        director()->setContentScaleFactor(contentScale);
        director()->setOpenGLView(&view);
        EXPECT_EQ(CCEGLView::sharedOpenGLView(), &view);
        EXPECT_EQ(director()->getWinSize(), CCSize(96 / contentScale, 64 / contentScale));
        CCScene* scene = CCScene::node();
        build(scene);
        director()->runWithScene(scene);
        director()->tick(0);
        EXPECT_TRUE(view.readPixels(image));
        view.swapBuffers();
        return image;
    }

    // The pixel at (x, y) in GL coordinates (y upwards).
    static Rgba at(const CCImage& image, int x, int y) {
        const uint8_t* p =
            &image.getData()[(size_t(image.getHeight() - 1 - y) * image.getWidth() + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
    // Colours expected at points of the frame (GL coordinates).
    struct Probe {
        int x;
        int y;
        Rgba want;
    };
    static void expectColors(const CCImage& image, std::initializer_list<Probe> probes) {
        for (const Probe& p : probes) {
            const Rgba got = at(image, p.x, p.y);
            EXPECT_NEAR(got.r, p.want.r, 2) << "at " << p.x << "," << p.y;
            EXPECT_NEAR(got.g, p.want.g, 2) << "at " << p.x << "," << p.y;
            EXPECT_NEAR(got.b, p.want.b, 2) << "at " << p.x << "," << p.y;
        }
    }
};

} // namespace

TEST_F(GLRendererTest, ASceneOfALayerASpriteAndALabelRenders) {
    writeSolidPng("Blue.png", 16, 16, {0, 0, 255, 255});
    writePng("Half.png", 16, 16, [](int x, int) {
        return x < 8 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 0};
    });
    const CCImage image = draw([](CCScene* scene) {
        scene->addChild(CCLayerColor::layerWithColor(ccc4(255, 0, 0, 255)));
        CCSprite* blue = CCSprite::spriteWithFile("Blue.png");
        blue->setPosition(CCPoint(20, 20)); // covers 12..28
        scene->addChild(blue);
        CCSprite* half = CCSprite::spriteWithFile("Half.png");
        half->setAnchorPoint(CCPointZero);
        half->setPosition(CCPoint(40, 4)); // opaque 40..48, clear 48..56
        half->setFlipX(true);              // opaque 48..56 instead
        scene->addChild(half);
        CCLabelTTF* label = CCLabelTTF::labelWithString("WWW", "Tarnwick Sans", 20);
        label->setAnchorPoint(CCPointZero);
        label->setPosition(CCPoint(40, 34));
        scene->addChild(label);
    });
    expectColors(image, {
                            {2, 2, {255, 0, 0, 255}},
                            {90, 60, {255, 0, 0, 255}},
                            {20, 20, {0, 0, 255, 255}},
                            {13, 27, {0, 0, 255, 255}},
                            {10, 20, {255, 0, 0, 255}},
                            {44, 12, {255, 0, 0, 255}},
                            {52, 12, {255, 255, 255, 255}},
                        });
    int white = 0;
    for (int y = 34; y < 60; ++y)
        for (int x = 40; x < 90; ++x)
            white += at(image, x, y).g > 200 ? 1 : 0;
    EXPECT_GT(white, 20); // the label's strokes
}

TEST_F(GLRendererTest, ColourOpacityTintAndLayerBlendsApply) {
    writeSolidPng("White.png", 8, 8, {255, 255, 255, 255});
    writeSolidPng("Grey.png", 8, 8, {100, 100, 100, 255});
    const CCImage image = draw([](CCScene* scene) {
        scene->addChild(CCLayerColor::layerWithColor(ccc4(0, 0, 0, 255)));
        CCSprite* green = CCSprite::spriteWithFile("White.png");
        green->setColor(ccc3(0, 255, 0));
        green->setPosition(CCPoint(10, 10));
        scene->addChild(green);
        CCSprite* faded = CCSprite::spriteWithFile("White.png");
        faded->setOpacity(128);
        faded->setPosition(CCPoint(30, 10));
        scene->addChild(faded);
        CCSprite* tinted = CCSprite::spriteWithFile("Grey.png");
        tinted->setTintColor(ccc3(100, 0, 0));
        tinted->setPosition(CCPoint(50, 10));
        scene->addChild(tinted);
        CCSprite* untinted = CCSprite::spriteWithFile("Grey.png");
        untinted->setTintColor(ccc3(0, 0, 0));
        untinted->setPosition(CCPoint(70, 10));
        scene->addChild(untinted);
        // A layer that blends (ZERO, ONE) leaves the frame as it was.
        CCLayerColor* catcher = CCLayerColor::layerWithColor(ccc4(255, 255, 255, 255));
        catcher->setBlendFunc(ccBlendFunc{kCCBlendZero, kCCBlendOne});
        scene->addChild(catcher);
        CCLayerColor* veil = CCLayerColor::layerWithColorWidthHeight(ccc4(0, 0, 255, 128), 20, 20);
        veil->setPosition(CCPoint(0, 40));
        scene->addChild(veil);
    });
    expectColors(image, {
                            {10, 10, {0, 255, 0, 255}},
                            {30, 10, {128, 128, 128, 255}},
                            {50, 10, {200, 100, 100, 255}},
                            {70, 10, {100, 100, 100, 255}},
                            {10, 50, {0, 0, 128, 255}},
                            {30, 50, {0, 0, 0, 255}},
                        });
}

TEST_F(GLRendererTest, PointsBecomePixelsAtTheContentScale) {
    writeSolidPng("Blue.png", 8, 8, {0, 0, 255, 255});
    const CCImage image = draw(
        [](CCScene* scene) {
            CCSprite* blue = CCSprite::spriteWithFile("Blue.png");
            blue->setAnchorPoint(CCPointZero);
            blue->setPosition(CCPoint(10, 10)); // pixels 20..36
            scene->addChild(blue);
        },
        2.0f);
    expectColors(image, {
                            {21, 21, {0, 0, 255, 255}},
                            {35, 35, {0, 0, 255, 255}},
                            {18, 18, {0, 0, 0, 255}},
                            {38, 38, {0, 0, 0, 255}},
                        });
}

TEST_F(GLRendererTest, ScreenshotsArePngFiles) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("shot", 32, 24));
    director()->setOpenGLView(&view);
    CCScene* scene = CCScene::node();
    scene->addChild(CCLayerColor::layerWithColor(ccc4(0, 200, 0, 255)));
    director()->runWithScene(scene);
    director()->tick(0);
    const std::string file = (mRoot / "shot.png").string();
    ASSERT_TRUE(view.saveScreenshot(file));
    CCImage image;
    ASSERT_TRUE(image.initWithImageFile(file));
    EXPECT_EQ(image.getWidth(), 32);
    EXPECT_EQ(image.getHeight(), 24);
    EXPECT_EQ(image.getData()[1], 200);
}
