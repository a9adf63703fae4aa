#include "RenderTest.h"

#include "platform/engine/CCProgressFromTo.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCParticleSystemQuad.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class ProgressAndParticlesTest : public RenderTest {
protected:
    CCScene* runScene() {
        CCScene* scene = CCScene::node();
        director()->runWithScene(scene);
        director()->tick(0);
        return scene;
    }

    // A burst: 10 particles a second for 0.5 s, each living 1 s.
    std::string burst(float duration = 0.5f) {
        return "<plist version=\"1.0\"><dict>"
               "<key>maxParticles</key><integer>10</integer>"
               "<key>duration</key><real>" +
               std::to_string(duration) +
               "</real>"
               "<key>particleLifespan</key><real>1</real>"
               "<key>speed</key><real>10</real>"
               "<key>startParticleSize</key><real>4</real>"
               "<key>sourcePositionVariancex</key><real>0</real>"
               "<key>startColorRed</key><real>1</real><key>startColorAlpha</key><real>1</real>"
               "<key>textureFileName</key><string>Dot.png</string>"
               "</dict></plist>";
    }
};

} // namespace

TEST_F(ProgressAndParticlesTest, BarsShowTheirPercentageFromTheirEdge) {
    writeSolidPng("Bar.png", 100, 10, {0, 255, 0, 255});
    CCProgressTimer* bar = CCProgressTimer::progressWithFile("Bar.png");
    EXPECT_EQ(bar->getContentSize(), CCSize(100, 10));
    struct Case {
        CCProgressTimerType type;
        float percentage;
        float left, right, bottom, top; // the quad's extent
    };
    const Case cases[] = {
        {kCCProgressTimerTypeHorizontalBarLR, 25, 0, 25, 0, 10},
        {kCCProgressTimerTypeHorizontalBarRL, 25, 75, 100, 0, 10},
        {kCCProgressTimerTypeVerticalBarBT, 50, 0, 100, 0, 5},
        {kCCProgressTimerTypeVerticalBarTB, 50, 0, 100, 5, 10},
        {kCCProgressTimerTypeHorizontalBarLR, 140, 0, 100, 0, 10}, // clamped to 100
    };
    for (const Case& c : cases) {
        bar->setType(c.type);
        bar->setPercentage(c.percentage);
        const ccV3F_C4B_T2F_Quad q = bar->visibleQuad();
        EXPECT_FLOAT_EQ(std::min(q.tl.vertices.x, q.bl.vertices.x), c.left) << c.type;
        EXPECT_FLOAT_EQ(std::max(q.tr.vertices.x, q.br.vertices.x), c.right) << c.type;
        EXPECT_FLOAT_EQ(q.bl.vertices.y, c.bottom) << c.type;
        EXPECT_FLOAT_EQ(q.tl.vertices.y, c.top) << c.type;
    }
    bar->setPercentage(-5);
    EXPECT_FLOAT_EQ(bar->getPercentage(), 0);
    EXPECT_EQ(CCProgressTimer::progressWithTexture(nullptr), nullptr);
}

TEST_F(ProgressAndParticlesTest, ProgressFromToDrivesATimer) {
    writeSolidPng("Bar.png", 100, 10, {0, 255, 0, 255});
    CCScene* scene = runScene();
    CCProgressTimer* bar = CCProgressTimer::progressWithFile("Bar.png");
    bar->setType(kCCProgressTimerTypeHorizontalBarRL);
    scene->addChild(bar);
    bar->runAction(CCProgressFromTo::actionWithDuration(1.0f, 100, 0));
    director()->tick(0.25f);
    EXPECT_NEAR(bar->getPercentage(), 75, 0.01);
    director()->tick(1.0f);
    EXPECT_FLOAT_EQ(bar->getPercentage(), 0);
}

TEST_F(ProgressAndParticlesTest, ASystemEmitsStopsAndRemovesItselfWhenDone) {
    writeText("Effects/Burst.plist", burst());
    writeSolidPng("Effects/Dot.png", 4, 4, {255, 255, 255, 255});
    CCScene* scene = runScene();
    auto* system = new CCParticleSystemQuad();
    ASSERT_TRUE(system->initWithFile("Effects/Burst.plist"));
    system->setIsAutoRemoveOnFinish(true);
    EXPECT_EQ(system->getTexture(),
              CCTextureCache::sharedTextureCache()->textureForKey("Effects/Dot.png"));
    scene->addChild(system, 1000);
    system->release();

    director()->tick(0.31f);
    EXPECT_EQ(system->getParticleCount(), 3u); // 10 a second
    EXPECT_TRUE(system->isActive());
    director()->tick(0.3f); // the half second is over
    EXPECT_FALSE(system->isActive());
    const size_t emitted = system->getParticleCount();
    EXPECT_GE(emitted, 5u);
    director()->tick(0.5f);
    EXPECT_EQ(scene->getChildrenCount(), 1u); // the oldest are still alive
    director()->tick(1.0f);
    EXPECT_EQ(scene->getChildrenCount(), 0u);
}

TEST_F(ProgressAndParticlesTest, AFileThatFailsGivesAnEmptySystemThatRemovesItself) {
    writeText("Effects/Broken.plist", "<plist><dict><key>maxParticles</key>");
    CCScene* scene = runScene();
    for (const char* file : {"Effects/Broken.plist", "Effects/Missing.plist"}) {
        testing::internal::CaptureStdout();
        CCParticleSystemQuad* system = CCParticleSystemQuad::particleWithFile(file);
        EXPECT_NE(testing::internal::GetCapturedStdout().find(file), std::string::npos);
        EXPECT_FALSE(system->isActive());
        scene->addChild(system);
        director()->tick(0.1f);
        EXPECT_EQ(scene->getChildrenCount(), 0u) << file;
    }
}

TEST_F(ProgressAndParticlesTest, FlippingMirrorsTheParticles) {
    writeText("Effects/Burst.plist", burst(-1));
    CCScene* scene = runScene();
    CCParticleSystemQuad* system = CCParticleSystemQuad::particleWithFile("Effects/Burst.plist");
    scene->addChild(system);
    director()->tick(0.15f);
    director()->tick(0.5f);
    ASSERT_FALSE(system->getParticles().empty());
    const float x = system->buildQuads()[0].tl.vertices.x;
    const float right = system->buildQuads()[0].tr.vertices.x;
    system->setFlipX(true);
    EXPECT_FLOAT_EQ(system->buildQuads()[0].tr.vertices.x, -x);
    EXPECT_FLOAT_EQ(system->buildQuads()[0].tl.vertices.x, -right);
}
