// The healing beam: its scroll, and as drawn offscreen over a grey ground,
// invisible at opacity 0 and in the team colour at 255, with the sprites
// drawn after it unharmed.

#include "../../platform/render/RenderTest.h"

#include "scene/widgets/HealingBeamSprite.h"

#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class HealingBeamTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        writeSolidPng("Beam.png", 16, 16, {255, 255, 255, 255});
        writeSolidPng(HealingBeamSprite::cMaskImage, 16, 16, {255, 255, 255, 255});
        writeSolidPng("Ground.png", 64, 64, {100, 100, 100, 255});
        writeSolidPng("After.png", 8, 8, {0, 255, 0, 255});
    }
    static HealingBeamSprite* beam(uint8_t opacity) {
        auto* beam = new HealingBeamSprite();
        EXPECT_TRUE(beam->initWithFile("Beam.png"));
        beam->autorelease();
        beam->mSpeed = 0.75f;
        beam->mColor = ccc3(255, 0, 0);
        beam->setAnchorPoint(CCPoint(0, 0));
        beam->setPosition(CCPoint(16, 16));
        beam->setOpacity(opacity);
        return beam;
    }
    static Rgba viewPixel(CCEGLView& view, int x, int y) {
        CCImage image;
        EXPECT_TRUE(view.readPixels(image));
        const uint8_t* p =
            &image.getData()[(size_t(image.getHeight() - 1 - y) * image.getWidth() + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
};

} // namespace

TEST_F(HealingBeamTest, TheBeamScrollsBySpeedEverySecond) {
    CCScene* scene = CCScene::node();
    HealingBeamSprite* sprite = beam(255);
    scene->addChild(sprite);
    director()->runWithScene(scene);
    EXPECT_NE(sprite->getMaskTexture(), nullptr);
    for (int i = 0; i < 60; ++i)
        director()->tick(1.0f / 60);
    EXPECT_NEAR(sprite->getScroll(), -0.75f, 1e-4f);
}

TEST_F(HealingBeamTest, OpacityZeroDrawsNothingAndFullOpacityShowsTheTeamColour) {
    CCEGLView view;
    ASSERT_TRUE(view.Create("beam", 64, 64));
    director()->setOpenGLView(&view);
    CCScene* scene = CCScene::node();
    CCSprite* ground = CCSprite::spriteWithFile("Ground.png");
    ground->setPosition(CCPoint(32, 32));
    scene->addChild(ground);
    HealingBeamSprite* sprite = beam(0);
    scene->addChild(sprite);
    CCSprite* after = CCSprite::spriteWithFile("After.png");
    after->setPosition(CCPoint(52, 52));
    scene->addChild(after);
    director()->runWithScene(scene);
    for (uint8_t opacity : {uint8_t(0), uint8_t(255)}) {
        SCOPED_TRACE(int(opacity));
        sprite->setOpacity(opacity);
        director()->tick(1.0f / 60);
        const Rgba inside = viewPixel(view, 24, 24);
        if (opacity == 0) {
            EXPECT_NEAR(inside.r, 100, 2);
            EXPECT_NEAR(inside.g, 100, 2);
            EXPECT_NEAR(inside.b, 100, 2);
        } else {
            EXPECT_GT(inside.r, 250);
            EXPECT_LT(inside.g, 5);
            EXPECT_LT(inside.b, 5);
        }
        EXPECT_NEAR(viewPixel(view, 8, 8).r, 100, 2) << "outside the beam";
        const Rgba green = viewPixel(view, 52, 52);
        EXPECT_LT(green.r, 5) << "the sprite drawn after the beam";
        EXPECT_GT(green.g, 250);
    }
    director()->setOpenGLView(nullptr);
}
