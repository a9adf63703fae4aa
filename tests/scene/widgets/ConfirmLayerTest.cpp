#include "WidgetTestSupport.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/ConfirmLayer.h"
#include "scene/widgets/MessageLayer.h"

#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

class Asker : public CCObject {
public:
    void onConfirmed(CCObject* argument) {
        ++mCalls;
        mArgument = argument;
    }
    int mCalls = 0;
    CCObject* mArgument = this;
};

// A ConfirmLayer that reports its destruction.
class WatchedConfirm : public ConfirmLayer {
public:
    WatchedConfirm(const char* message, Asker* asker, bool* destroyed)
        : ConfirmLayer(message, menu_selector(Asker::onConfirmed), asker, "Resign",
                       "sound/Game_Resign.mp3", "sound/Game_Cancel_Submission.mp3"),
          mDestroyed(destroyed) {}
    ~WatchedConfirm() override { *mDestroyed = true; }

private:
    bool* mDestroyed;
};

class ConfirmLayerTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeSolidPng("UI/Button-290.png", 290, 64, {40, 120, 40, 255});
        writeSolidPng("UI/Button-290-Glow.png", 290, 64, {80, 200, 80, 255});
        writeSolidPng("UI/Button-186.png", 186, 52, {120, 40, 40, 255});
        writeSolidPng("UI/Button-186-Glow.png", 186, 52, {200, 80, 80, 255});
        writeSolidPng("UI/FullScreenFade.png", 8, 8, {0, 0, 0, 160});
        mBelow = new CountingDelegate();
        CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(mBelow, 3, true);
    }
    void TearDown() override {
        CCTouchDispatcher::sharedDispatcher()->removeDelegate(mBelow);
        mBelow->release();
        WidgetTest::TearDown();
    }
    // A layer on the game scene at z 10000, as the callers add it.
    WatchedConfirm* show(const char* message) {
        auto* layer = new WatchedConfirm(message, &mAsker, &mDestroyed);
        mLayer->addChild(layer, ConfirmLayer::cZOrder);
        return layer;
    }

    Asker mAsker;
    bool mDestroyed = false;
    CountingDelegate* mBelow = nullptr;
    // Where the buttons sit in the 960 x 640 window.
    static constexpr float cOkY = 360;
    static constexpr float cCancelY = 280;
};

} // namespace

TEST_F(ConfirmLayerTest, ATouchOutsideTheButtonsGoesNowhere) {
    show(nullptr);
    run(0.4f);
    tap(20, 20);
    EXPECT_EQ(mBelow->mBegan, 0);
    EXPECT_EQ(mAsker.mCalls, 0);
    EXPECT_FALSE(mDestroyed);
}

TEST_F(ConfirmLayerTest, WithAMessageOkComesInAfterTwoSecondsUnlessSkipped) {
    struct Case {
        const char* message;
        bool skip;
        float shownAt;
    };
    for (const Case& c :
         {Case{"You have unspent action points!", false, 2.0f},
          Case{"You have unspent action points!", true, 0.1f}, Case{nullptr, false, 0.1f}}) {
        SCOPED_TRACE(testing::Message() << (c.message != nullptr) << c.skip);
        if (c.skip)
            BConfig::instance().defineById(cOptSkipUnspentAPConfirmDelay);
        else
            BConfig::instance().unsetById(cOptSkipUnspentAPConfirmDelay);
        ConfirmLayer* layer = show(c.message);
        Button* ok = layer->getOkButton();
        Button* cancel = layer->getCancelButton();
        EXPECT_EQ(layer->getMessageLabel() != nullptr, c.message != nullptr);
        run(c.shownAt - 0.05f);
        EXPECT_EQ(ok->getIsVisible() && ok->getOpacity() > 0, false);
        run(0.3f);
        EXPECT_TRUE(ok->getIsVisible());
        EXPECT_EQ(ok->getOpacity(), 255);
        EXPECT_FLOAT_EQ(ok->getScale(), 1.0f);
        EXPECT_EQ(cancel->getOpacity(), 255);
        layer->onCancel();
        run(0.25f);
        EXPECT_TRUE(mDestroyed);
        mDestroyed = false;
    }
}

TEST_F(ConfirmLayerTest, CancelNeverCallsBackAndPlaysItsSound) {
    show(nullptr);
    run(0.4f);
    tap(480, cCancelY);
    EXPECT_EQ(mAsker.mCalls, 0);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sound/Game_Cancel_Submission.mp3"});
    run(0.25f);
    EXPECT_TRUE(mDestroyed);
}

TEST_F(ConfirmLayerTest, OkTappedTwiceCallsBackOnceAndTheLayerIsGoneAtPointTwo) {
    ConfirmLayer* layer = show(nullptr);
    run(0.4f);
    tap(480, cOkY);
    EXPECT_EQ(mAsker.mCalls, 1);
    EXPECT_EQ(mAsker.mArgument, nullptr);
    run(0.1f);
    tap(480, cOkY);
    EXPECT_EQ(mAsker.mCalls, 1);
    EXPECT_EQ(mBelow->mBegan, 0);
    run(0.06f);
    EXPECT_EQ(layer->getOkButton()->getOpacity(), 0);
    EXPECT_FALSE(mDestroyed);
    run(0.06f);
    EXPECT_TRUE(mDestroyed);
    tap(480, cOkY);
    EXPECT_EQ(mBelow->mBegan, 1);
}

TEST_F(ConfirmLayerTest, ANullTargetMakesOkOnlyClose) {
    auto* layer = new ConfirmLayer(nullptr, nullptr, nullptr, "OK", nullptr, nullptr);
    mLayer->addChild(layer, ConfirmLayer::cZOrder);
    run(0.4f);
    tap(480, cOkY);
    EXPECT_TRUE(playedSounds().empty());
    run(0.25f);
    EXPECT_EQ(mLayer->getChildrenCount(), 0u);
}

namespace {

class MessageLayerTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeSolidPng("UI/BackSplash-hd.png", 96, 64, {30, 30, 60, 255});
        writeSolidPng("BigNotify.png", 16, 16, {255, 255, 255, 255});
        writeText("BigNotify.fnt", "common lineHeight=16 base=12 scaleW=16 scaleH=16 pages=1\n"
                                   "page id=0 file=\"BigNotify.png\"\n"
                                   "char id=72 x=0 y=0 width=8 height=16 xoffset=0 yoffset=0 "
                                   "xadvance=9 page=0\n"
                                   "char id=105 x=8 y=0 width=4 height=16 xoffset=0 yoffset=0 "
                                   "xadvance=5 page=0\n");
    }
};

} // namespace

TEST_F(MessageLayerTest, ItClosesAPointOneSecondAfterTheFirstTouchEnds) {
    auto* layer = new MessageLayer("Hi");
    mLayer->addChild(layer, 10000);
    EXPECT_EQ(layer->getBlendFunc(), (ccBlendFunc{kCCBlendZero, kCCBlendOne}));
    run(0.2f);
    CCTouch* touch = touchAt(5, 5);
    press(touch);
    run(0.2f);
    EXPECT_EQ(mLayer->getChildrenCount(), 1u);
    lift(touch);
    run(0.05f);
    EXPECT_EQ(mLayer->getChildrenCount(), 1u);
    run(0.1f);
    EXPECT_EQ(mLayer->getChildrenCount(), 0u);
}

TEST_F(MessageLayerTest, OnlyUseTtfPicksTheTrueTypeLabel) {
    auto* bitmap = new MessageLayer("Hi");
    auto* font = dynamic_cast<CCLabelBMFont*>(bitmap->getTextLabel());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->getColor(), ccc3(0, 255, 255));
    EXPECT_EQ(font->getGlyphCount(), 2u);
    EXPECT_EQ(font->getPosition(), CCPoint(480, 320));
    bitmap->release();

    BConfig::instance().defineById(cOptOnlyUseTTF);
    auto* ttf = new MessageLayer("Hi");
    auto* label = dynamic_cast<CCLabelTTF*>(ttf->getTextLabel());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getContentSize(), CCSize(480, 200));
    ttf->release();

    auto* empty = new MessageLayer(nullptr);
    EXPECT_EQ(empty->getTextLabel(), nullptr);
    empty->release();
}
