// The OK button of a confirmation with a message, as drawn offscreen: hidden
// for the first two seconds, fully in once its fade ends at 2.2 s.

#include "../../platform/render/RenderTest.h"

#include "content/BConfig.h"
#include "scene/widgets/ConfirmLayer.h"

#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"
#include "platform/render/CCImage.h"

using namespace cocos2d;

namespace {

class ConfirmLayerRenderTest : public RenderTest {
protected:
    void TearDown() override {
        BConfig::instance().reset();
        RenderTest::TearDown();
    }
    static void run(float seconds) {
        const float dt = 1.0f / 60;
        for (float t = 0; t + dt / 2 < seconds; t += dt)
            director()->tick(dt);
    }
};

} // namespace

TEST_F(ConfirmLayerRenderTest, TheOkButtonOfAMessageIsDrawnOnlyAfterItsDelay) {
    writeSolidPng("UI/Button-290.png", 290, 64, {0, 255, 0, 255});
    writeSolidPng("UI/Button-290-Glow.png", 290, 64, {0, 255, 0, 255});
    writeSolidPng("UI/Button-186.png", 186, 52, {0, 0, 255, 255});
    writeSolidPng("UI/Button-186-Glow.png", 186, 52, {0, 0, 255, 255});
    writeSolidPng("UI/FullScreenFade.png", 8, 8, {0, 0, 0, 255});
    CCEGLView view;
    ASSERT_TRUE(view.Create("confirm", 480, 320));
    director()->setOpenGLView(&view);
    CCScene* scene = CCScene::node();
    scene->addChild(new ConfirmLayer("Unspent!", nullptr, nullptr, "OK", nullptr, nullptr), 10000);
    director()->runWithScene(scene);

    // Left of the label, inside the OK button at (240, 200).
    const int x = 120;
    const int y = 200;
    run(0.5f);
    const Rgba before = viewPixel(view, x, y);
    EXPECT_LT(before.g, 10);
    // Cancel is in by then.
    EXPECT_GT(viewPixel(view, x + 40, 120).b, 245);
    run(1.8f); // 2.3 s
    const Rgba after = viewPixel(view, x, y);
    EXPECT_GT(after.g, 245);
    EXPECT_LT(after.r, 10);
    director()->setOpenGLView(nullptr);
}
