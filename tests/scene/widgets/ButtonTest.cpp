#include "WidgetTestSupport.h"

#include "content/settings/PlayerColor.h"
#include "scene/widgets/Button.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

using namespace cocos2d;

namespace {

// The callbacks' target: counts taps and holds, and notes how many sounds
// had played when the tap came.
class Receiver : public CCObject {
public:
    void onTap() {
        ++mTaps;
        mSoundsAtTap = int(mAudio->calls().size());
    }
    void onHold() { ++mHolds; }
    int mTaps = 0;
    int mHolds = 0;
    int mSoundsAtTap = -1;
    CocosDenshion::RecordingAudioBackend* mAudio = nullptr;
};

class ButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeSolidPng("UI/B.png", 100, 40, {0, 0, 200, 255});
        writeSolidPng("UI/B_Off.png", 100, 40, {90, 90, 90, 255});
        writeSolidPng("UI/B_On.png", 100, 40, {0, 0, 255, 255});
        writeSolidPng("UI/B_Color.png", 100, 40, {255, 255, 255, 255});
        writeSolidPng("UI_Tooltip4.png", 8, 8, {255, 255, 0, 255});
        mReceiver.mAudio = mAudio;
    }

    // A button at (200, 100) on the scene, its tap and hold on the receiver.
    Button* make(bool hold = false) {
        auto* button =
            new Button("UI/B.png", "UI/B_Off.png", "UI/B_On.png", CCPoint(200, 100), "Go", "", 14);
        button->mTapTarget = &mReceiver;
        button->mTapSelector = callfunc_selector(Receiver::onTap);
        if (hold) {
            button->mHoldTarget = &mReceiver;
            button->mHoldSelector = callfunc_selector(Receiver::onHold);
        }
        button->mSound = "sound/Click.mp3";
        mLayer->addChild(button);
        button->release();
        return button;
    }
    static CCTexture2D* texture(const char* file) {
        return CCTextureCache::sharedTextureCache()->addImage(file);
    }

    Receiver mReceiver;
};

} // namespace

TEST_F(ButtonTest, ALabelIsMadeOnlyForText) {
    Button* button = make();
    ASSERT_NE(button->getLabel(), nullptr);
    EXPECT_EQ(button->getLabel()->getContentSize(), CCSize(96, 36));
    EXPECT_EQ(button->getLabel()->getColor(), ccBLACK);
    auto* plain = new Button(CCPoint(10, 10));
    EXPECT_EQ(plain->getLabel(), nullptr);
    EXPECT_TRUE(plain->mScaleOnPress);
    plain->release();
    EXPECT_EQ(make()->getOpacity(), 255);
}

TEST_F(ButtonTest, ADisabledButtonRefusesAndTheTouchGoesOn) {
    auto* below = new CountingDelegate();
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(below, 5, true);
    Button* button = make();
    button->setEnabled(false);
    EXPECT_EQ(button->getSprite()->getTexture(), texture("UI/B_Off.png"));
    tap(200, 100);
    EXPECT_EQ(below->mBegan, 1);
    EXPECT_EQ(mReceiver.mTaps, 0);
    button->setEnabled(true);
    EXPECT_EQ(button->getSprite()->getTexture(), texture("UI/B.png"));
    tap(200, 100);
    EXPECT_EQ(below->mBegan, 1);
    EXPECT_EQ(mReceiver.mTaps, 1);
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(below);
    below->release();
}

TEST_F(ButtonTest, SlidingOffAndBackTogglesTheLookAndAReleaseOutsideDoesNothing) {
    Button* button = make();
    CCTouch* touch = touchAt(200, 100);
    press(touch);
    EXPECT_TRUE(button->isPressedLook());
    EXPECT_EQ(button->getSprite()->getTexture(), texture("UI/B_On.png"));
    moveTo(touch, 400, 100);
    EXPECT_FALSE(button->isPressedLook());
    EXPECT_EQ(button->getSprite()->getTexture(), texture("UI/B.png"));
    moveTo(touch, 210, 110);
    EXPECT_TRUE(button->isPressedLook());
    moveTo(touch, 400, 100);
    lift(touch);
    EXPECT_EQ(mReceiver.mTaps, 0);
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_FALSE(button->isTracking());
}

TEST_F(ButtonTest, AReleaseInsidePlaysTheSoundThenTaps) {
    Button* button = make();
    tap(230, 110);
    EXPECT_EQ(mReceiver.mTaps, 1);
    EXPECT_EQ(mReceiver.mSoundsAtTap, 1);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sound/Click.mp3"});
    EXPECT_EQ(button->getSprite()->getTexture(), texture("UI/B.png"));
}

TEST_F(ButtonTest, AHoldFiresOnceAndTheReleaseThenOnlySounds) {
    make(true);
    CCTouch* touch = touchAt(200, 100);
    press(touch);
    run(0.55f);
    EXPECT_EQ(mReceiver.mHolds, 0);
    run(2.0f);
    EXPECT_EQ(mReceiver.mHolds, 1);
    lift(touch);
    EXPECT_EQ(mReceiver.mTaps, 0);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sound/Click.mp3"});
}

TEST_F(ButtonTest, AQuickRepressWaitsTheWholeHoldAgain) {
    make(true);
    CCTouch* touch = touchAt(200, 100);
    press(touch);
    run(0.3f);
    lift(touch);
    EXPECT_EQ(mReceiver.mTaps, 1);
    run(0.1f);
    press(touch); // at 0.4 s
    run(0.45f);   // 0.85 s: past the first press's 0.6 s
    EXPECT_EQ(mReceiver.mHolds, 0);
    run(0.2f); // 1.05 s: past the second press's 0.6 s
    EXPECT_EQ(mReceiver.mHolds, 1);
    lift(touch);
    EXPECT_EQ(mReceiver.mTaps, 1);
}

TEST_F(ButtonTest, TheHitScaleShrinksTheTouchArea) {
    struct Case {
        float scale;
        float fraction; // of the width, off the centre
        bool hits;
    };
    for (const Case& c : {Case{1.0f, 0.49f, true}, Case{1.0f, 0.51f, false},
                          Case{0.5f, 0.24f, true}, Case{0.5f, 0.26f, false}}) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.fraction);
        Button* button = make();
        button->mHitScale = c.scale;
        const int taps = mReceiver.mTaps;
        tap(200 + 100 * c.fraction, 100);
        EXPECT_EQ(mReceiver.mTaps - taps, c.hits ? 1 : 0);
        button->removeFromParentAndCleanup(true);
    }
}

TEST_F(ButtonTest, AQuickReleaseInScaleModePopsToFullSizeThenBack) {
    auto* button = new Button(CCPoint(200, 100));
    button->setImage("UI/B.png");
    mLayer->addChild(button);
    button->release();
    CCTouch* touch = touchAt(200, 100);
    press(touch);
    lift(touch); // before the 0.01 s press ran
    float largest = 0;
    for (int i = 0; i < 10; ++i) {
        director()->tick(0.002f);
        largest = std::max(largest, button->getScaleX());
    }
    EXPECT_FLOAT_EQ(largest, 1.5f);
    run(0.1f);
    EXPECT_FLOAT_EQ(button->getScaleX(), 1.0f);
}

TEST_F(ButtonTest, TheColourLayerSurvivesImageSwaps) {
    Button* button = make();
    const PlayerColor red{"Red", 200, 0, 0};
    button->applyColorOverlay(&red);
    ASSERT_EQ(button->getSprite()->getChildrenCount(), 1u);
    button->showPressed();
    ASSERT_EQ(button->getSprite()->getChildrenCount(), 1u);
    auto* layer = dynamic_cast<CCSprite*>(button->getSprite()->getChildren()->getObjectAtIndex(0));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getTexture(), texture("UI/B_Color.png"));
    EXPECT_EQ(layer->getColor(), ccc3(200, 0, 0));
    EXPECT_EQ(layer->getPosition(), CCPoint(50, 20));
}

TEST_F(ButtonTest, OpacityReachesEveryChild) {
    Button* button = make();
    button->setOpacity(40);
    EXPECT_EQ(button->getOpacity(), 40);
    EXPECT_EQ(button->getSprite()->getOpacity(), 40);
    EXPECT_EQ(button->getLabel()->getOpacity(), 40);
    button->setColor(ccc3(1, 2, 3));
    EXPECT_EQ(button->getColor(), ccWHITE);
}

TEST_F(ButtonTest, TheHelpPanelHasFivePartsOnlyWithAnImage) {
    writeSolidPng("HelpTooltip_BG.png", 300, 180, {20, 20, 20, 255});
    writeSolidPng("Icon.png", 64, 64, {255, 0, 0, 255});
    Button* button = make();
    CCSprite* background = CCSprite::spriteWithFile("HelpTooltip_BG.png");
    button->buildTooltip(background);
    EXPECT_EQ(background->getChildrenCount(), 0u);

    button->setTooltip("Icon.png", "Submit Turn", "Tap this when you are ready.");
    EXPECT_EQ(button->mTooltipKind, 3);
    EXPECT_NE(button->mTooltipIndicator, nullptr);
    EXPECT_EQ(gTooltipManager.targets(), std::vector<TooltipProtocol*>{button});
    button->buildTooltip(background);
    ASSERT_EQ(background->getChildrenCount(), 5u);
    auto* help = dynamic_cast<CCLabelTTF*>(background->getChildren()->getObjectAtIndex(4));
    ASSERT_NE(help, nullptr);
    EXPECT_STREQ(help->getString(), "Tap this when you are ready.");
    EXPECT_EQ(help->getPosition(), CCPoint(15, 110));
    auto* kind = dynamic_cast<CCLabelTTF*>(background->getChildren()->getObjectAtIndex(2));
    ASSERT_NE(kind, nullptr);
    EXPECT_STREQ(kind->getString(), "Button");

    // A button that goes takes its indicator and its registration along.
    CCNode* indicator = button->mTooltipIndicator;
    indicator->retain();
    button->removeFromParentAndCleanup(true);
    director()->tick(0);
    EXPECT_TRUE(gTooltipManager.targets().empty());
    EXPECT_EQ(indicator->getParent(), nullptr);
    EXPECT_EQ(indicator->retainCount(), 1u);
    indicator->release();
}
