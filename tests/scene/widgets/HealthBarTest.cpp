#include "WidgetTestSupport.h"

#include "scene/widgets/HealthBar.h"

#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

using namespace cocos2d;

namespace {

class HealthBarTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeSolidPng("UI/Health-MainBar.png", 100, 10, {0, 255, 0, 255});
        writeSolidPng("UI/Health-EffectBar.png", 50, 5, {255, 255, 0, 255});
        writeSolidPng("UI/Health-LowWarning.png", 20, 20, {255, 0, 0, 255});
        writeSolidPng("UI/Health-Background.png", 25, 10, {0, 0, 0, 255});
    }

    // A bar on the running layer, full at first.
    HealthBar* make(bool showAlways) {
        auto* bar = new HealthBar();
        CCTexture2D* texture =
            CCTextureCache::sharedTextureCache()->addImage("UI/Health-MainBar.png");
        EXPECT_TRUE(bar->init(texture, CCPoint(0.5f, 0.5f), kCCProgressTimerTypeHorizontalBarLR));
        bar->mShowAlways = showAlways;
        bar->autorelease();
        mLayer->addChild(bar);
        bar->setPercentage(100, false, 0);
        director()->tick(0); // the warning's hiding ends
        return bar;
    }
    static bool warningPulses(HealthBar* bar) {
        return bar->getLowWarning()->numberOfRunningActions() > 0;
    }
};

} // namespace

TEST_F(HealthBarTest, InitFitsEveryPartToTheBarAndNeedsATexture) {
    HealthBar empty;
    EXPECT_FALSE(empty.init(nullptr, CCPoint(0.5f, 0.5f), 2));
    EXPECT_EQ(empty.getChildrenCount(), 0u);

    HealthBar* bar = make(false);
    CCProgressTimer* main = bar->getBar();
    EXPECT_EQ(main->getType(), kCCProgressTimerTypeHorizontalBarLR);
    struct Part {
        CCNode* node;
        int z;
        float scaleX, scaleY;
    };
    for (const Part& part :
         {Part{bar->getEffectBar(), -1, 2, 2}, Part{bar->getLowWarning(), -2, 5, 0.5f},
          Part{bar->getBackground(), -3, 4, 1}}) {
        EXPECT_EQ(part.node->getParent(), main);
        EXPECT_EQ(part.node->getZOrder(), part.z);
        EXPECT_EQ(part.node->getPosition(), CCPoint(50, 5));
        EXPECT_EQ(part.node->getAnchorPoint(), CCPoint(0.5f, 0.5f));
        EXPECT_FLOAT_EQ(part.node->getScaleX(), part.scaleX);
        EXPECT_FLOAT_EQ(part.node->getScaleY(), part.scaleY);
    }
    EXPECT_EQ(bar->getLowWarning()->getOpacity(), 0);
    bar->setOpacity(40);
    EXPECT_EQ(bar->getOpacity(), 40);
    EXPECT_EQ(main->getOpacity(), 40);
    EXPECT_EQ(bar->asRGBAProtocol(), static_cast<CCRGBAProtocol*>(bar));
}

TEST_F(HealthBarTest, ABannerBarWarnsBelowAQuarter) {
    HealthBar* bar = make(true);
    bar->setPercentage(24.9f, false, 0);
    EXPECT_TRUE(warningPulses(bar));
    EXPECT_EQ(bar->getBar()->getPercentage(), 24.9f);
    run(0.5f);
    const uint8_t midPulse = bar->getLowWarning()->getOpacity();
    EXPECT_GT(midPulse, 0);
    bar->setPercentage(20, false, 0);
    EXPECT_EQ(bar->getLowWarning()->getOpacity(), midPulse) << "a running pulse is not restarted";
    bar->setPercentage(25.0f, false, 0);
    EXPECT_EQ(bar->getLowWarning()->getOpacity(), 0);
    run(0.1f);
    EXPECT_FALSE(bar->getLowWarning()->getIsVisible());
    EXPECT_FALSE(warningPulses(bar));

    HealthBar* unit = make(false);
    unit->setPercentage(5, false, 0);
    run(0.5f);
    EXPECT_EQ(unit->getLowWarning()->getOpacity(), 0) << "unit bars never warn";
    EXPECT_FALSE(unit->getLowWarning()->getIsVisible());
}

TEST_F(HealthBarTest, AnAnimatedChangeJumpsThenTrailsAndAUnitBarHidesAgain) {
    HealthBar* bar = make(false);
    bar->setIsVisible(false);
    bar->setPercentage(40, true, 0.2f);
    run(0.25f);
    EXPECT_TRUE(bar->getIsVisible());
    EXPECT_EQ(bar->getBar()->getPercentage(), 40);
    EXPECT_EQ(bar->getEffectBar()->getPercentage(), 100);
    run(0.4f); // 0.65 s: the trailing bar started 0.05 s ago
    EXPECT_LT(bar->getEffectBar()->getPercentage(), 100);
    EXPECT_GT(bar->getEffectBar()->getPercentage(), 40);
    run(0.2f);
    EXPECT_EQ(bar->getEffectBar()->getPercentage(), 40);

    // A second animated set starts from where the bar is then.
    bar->setPercentage(10, true, 0);
    run(1.0f / 60);
    bar->setPercentage(70, true, 0);
    run(0.05f);
    EXPECT_EQ(bar->getBar()->getPercentage(), 70);
    run(1.2f);
    EXPECT_FALSE(bar->getIsVisible()) << "hidden again 1.2 s later";

    HealthBar* banner = make(true);
    banner->setPercentage(50, true, 0);
    run(1.5f);
    EXPECT_TRUE(banner->getIsVisible());
}
