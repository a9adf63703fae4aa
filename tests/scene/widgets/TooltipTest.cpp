#include "WidgetTestSupport.h"

#include "rules/Game.h"
#include "rules/TooltipProtocol.h"
#include "scene/widgets/TooltipLayer.h"

#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <cmath>

using namespace cocos2d;

namespace {

// A tooltip object at a point; its panel carries a watched node.
class Tip : public TooltipProtocol {
public:
    Tip(float x, float y, int32_t kind = 0) : mAt(x, y) { mTooltipKind = kind; }
    CCPoint getTooltipPosition() const override { return mAt; }
    void buildTooltip(CCNode* background) override {
        ++mBuilt;
        auto* watched = new WatchedNode(&mPanelGone);
        background->addChild(watched);
        watched->release();
    }
    CCPoint mAt;
    int mBuilt = 0;
    bool mPanelGone = false;
};

class TooltipTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        for (const char* image : {"HelpTooltip_BG.png", "UI_Tooltip.png", "UI_Tooltip2.png",
                                  "UI_Tooltip3.png", "UI_Tooltip4.png"})
            writeSolidPng(image, 16, 16, {200, 200, 200, 255});
    }
    // Registers an object with its indicator, as every implementer does.
    static void add(Tip& tip) {
        tip.showTooltipIndicator();
        gTooltipManager.addTarget(&tip);
    }
    // The pop-up tooltips on the game scene.
    std::vector<TooltipLayer*> popups() const {
        std::vector<TooltipLayer*> found;
        for (CCNode* child : *mLayer->getChildren()) {
            if (auto* layer = dynamic_cast<TooltipLayer*>(child))
                found.push_back(layer);
        }
        return found;
    }
};

} // namespace

TEST_F(TooltipTest, ATapOpensTheNearestObjectWithinFiftyUnits) {
    struct Case {
        float distance;
        bool opens;
        const char* sound;
    };
    for (const Case& c : {Case{50.0f, false, "sound/UI_Game_Tooltip_Hide.mp3"},
                          Case{49.9f, true, "sound/UI_Game_Question_Card_IN.mp3"},
                          Case{0.0f, true, "sound/UI_Game_Question_Card_IN.mp3"}}) {
        SCOPED_TRACE(c.distance);
        Tip tip(300, 200);
        add(tip);
        gTooltipManager.beginTooltipMode();
        tap(300 + c.distance * 0.6f, 200 + c.distance * 0.8f);
        EXPECT_EQ(popups().size(), c.opens ? 1u : 0u);
        EXPECT_EQ(tip.mBuilt, c.opens ? 1 : 0);
        EXPECT_EQ(playedSounds(), std::vector<std::string>{c.sound});
        EXPECT_FALSE(CCTouchDispatcher::sharedDispatcher()->isRegistered(&gTooltipManager));
        for (TooltipLayer* popup : popups())
            popup->close();
        run(0.3f);
        tip.hideTooltipIndicator();
    }
}

TEST_F(TooltipTest, ATieOpensTheFirstRegisteredAndTargetsAreKeptOnce) {
    Tip first(100, 100);
    Tip second(140, 100);
    EXPECT_TRUE(gTooltipManager.addTarget(&first));
    EXPECT_TRUE(gTooltipManager.addTarget(&second));
    EXPECT_FALSE(gTooltipManager.addTarget(&first));
    EXPECT_FALSE(gTooltipManager.addTarget(nullptr));
    EXPECT_FALSE(gTooltipManager.removeTarget(nullptr));
    EXPECT_EQ(mServices.tooltipTargets(), (std::vector<TooltipProtocol*>{&first, &second}));

    gTooltipManager.beginTooltipMode();
    testing::internal::CaptureStdout();
    tap(120, 100);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(popups()[0]->getOwner(), &first);
    EXPECT_EQ(second.mBuilt, 0);
    popups()[0]->close();
    run(0.2f);
    EXPECT_TRUE(first.mPanelGone);
}

TEST_F(TooltipTest, IndicatorTexturesLoadOncePerKind) {
    EXPECT_EQ(gTooltipManager.indicatorTexture(-1), nullptr);
    EXPECT_EQ(gTooltipManager.indicatorTexture(4), nullptr);
    CCTexture2D* texture = gTooltipManager.indicatorTexture(1);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("UI_Tooltip2.png"), texture);
    const uint32_t references = texture->retainCount();
    EXPECT_EQ(gTooltipManager.indicatorTexture(1), texture);
    EXPECT_EQ(texture->retainCount(), references);
}

TEST_F(TooltipTest, IndicatorsComeOnlyForAKindWithAGameScene) {
    Tip unit(100, 100, 2);
    Tip none(100, 100, -1);
    Tip odd(100, 100, 4);
    for (Tip* tip : {&unit, &none, &odd})
        tip->showTooltipIndicator();
    ASSERT_NE(unit.mTooltipIndicator, nullptr);
    EXPECT_EQ(unit.mTooltipIndicator->getParent(), mLayer);
    EXPECT_EQ(unit.mTooltipIndicator->getZOrder(), 2000);
    EXPECT_FALSE(unit.mTooltipIndicator->getIsVisible());
    EXPECT_FLOAT_EQ(unit.mTooltipIndicator->getScale(), 0.75f);
    EXPECT_EQ(none.mTooltipIndicator, nullptr);
    EXPECT_EQ(odd.mTooltipIndicator, nullptr);

    // Without a game scene nothing is made, but unregistering still works.
    mGameScene.reset();
    Tip late(100, 100, 0);
    late.showTooltipIndicator();
    EXPECT_EQ(late.mTooltipIndicator, nullptr);
    gTooltipManager.addTarget(&late);
    late.hideTooltipIndicator();
    EXPECT_TRUE(gTooltipManager.targets().empty());
}

TEST_F(TooltipTest, TheHitSquareIsFortyUnitsWide) {
    const Tip tip(100, 100);
    EXPECT_TRUE(tip.hitTestTooltip(CCPoint(120, 120)));
    EXPECT_TRUE(tip.hitTestTooltip(CCPoint(80, 80)));
    EXPECT_FALSE(tip.hitTestTooltip(CCPoint(120.5f, 100)));
    EXPECT_FALSE(tip.hitTestTooltip(CCPoint(100, 79.5f)));
}

TEST_F(TooltipTest, APopupClosesOnTheFirstTapWhichGoesNoFurtherAndIsFreed) {
    auto* below = new CountingDelegate();
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(below, 0, true);
    Tip tip(300, 200);
    tip.showTooltip();
    run(0.2f);
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(tip.mBuilt, 1);
    // It has settled just above the window's centre.
    EXPECT_EQ(popups()[0]->getBackground()->getPosition(), CCPoint(480, 352));

    tap(10, 10);
    EXPECT_EQ(below->mBegan, 0);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sound/UI_Game_Question_Card_OUT.mp3"});
    run(0.2f);
    EXPECT_TRUE(popups().empty());
    director()->tick(0);
    EXPECT_TRUE(tip.mPanelGone);
    tap(10, 10);
    EXPECT_EQ(below->mBegan, 1);
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(below);
    below->release();
}

TEST_F(TooltipTest, ThePanelFormIsAPlainPanelAtItsTopLeft) {
    Tip tip(300, 200);
    auto* panel = new TooltipLayer(&tip, false);
    mLayer->addChild(panel, 40000);
    EXPECT_EQ(panel->getAnchorPoint(), CCPoint(0, 1));
    EXPECT_EQ(panel->getContentSize(), CCSize(16, 16));
    EXPECT_EQ(panel->getBackground()->getOpacity(), 255);
    EXPECT_FALSE(CCTouchDispatcher::sharedDispatcher()->isRegistered(panel));
    panel->close();
    run(0.15f);
    director()->tick(0);
    EXPECT_TRUE(tip.mPanelGone);
}

TEST_F(TooltipTest, ADestroyedObjectLeavesNoTargetAndNoIndicator) {
    Game game;
    auto tip = std::make_unique<Tip>(100, 100, 0);
    add(*tip);
    CCNode* indicator = tip->mTooltipIndicator;
    ASSERT_NE(indicator, nullptr);
    indicator->retain();
    EXPECT_EQ(game.findNearestTooltipTarget(CCPoint(100, 100)), tip.get());
    tip.reset();
    director()->tick(0);
    EXPECT_TRUE(gTooltipManager.targets().empty());
    EXPECT_EQ(game.findNearestTooltipTarget(CCPoint(100, 100)), nullptr);
    EXPECT_EQ(indicator->getParent(), nullptr);
    EXPECT_EQ(indicator->retainCount(), 1u);
    indicator->release();
}

TEST_F(TooltipTest, TooltipModeRevealsIndicatorsAndEndsAfterOneTap) {
    Tip shown(100, 100, 3);
    Tip bare(600, 400, 3);
    add(shown);
    gTooltipManager.addTarget(&bare); // registered without an indicator
    gTooltipManager.beginTooltipMode();
    CCNode* indicator = shown.mTooltipIndicator;
    EXPECT_TRUE(indicator->getIsVisible());
    EXPECT_EQ(indicator->getPosition(), CCPoint(100, 100));
    run(0.25f);
    EXPECT_EQ(dynamic_cast<CCSprite*>(indicator)->getOpacity(), 255);

    testing::internal::CaptureStdout();
    tap(900, 50);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "  WTF\n");
    run(0.3f);
    EXPECT_FALSE(indicator->getIsVisible());
    EXPECT_TRUE(popups().empty());
    // The mode has ended: the next tap reaches nothing of the manager.
    playedSounds();
    tap(100, 100);
    EXPECT_TRUE(popups().empty());
    EXPECT_TRUE(playedSounds().empty());
    shown.hideTooltipIndicator();
}
