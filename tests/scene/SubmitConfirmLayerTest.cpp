#include "widgets/WidgetTestSupport.h"

#include "scene/SubmitConfirmLayer.h"
#include "scene/widgets/Button.h"

#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

class Submitter : public CCObject {
public:
    void onSubmitConfirmed(CCObject* argument) {
        mTaunts.push_back(SubmitConfirmLayer::tauntRequested(argument) ? 1 : 0);
    }
    std::vector<int> mTaunts;
};

class SubmitConfirmLayerTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeSolidPng("UI/Button-290.png", 290, 50, {40, 120, 40, 255});
        writeSolidPng("UI/Button-290-Glow.png", 290, 50, {80, 200, 80, 255});
        writeSolidPng("UI/Button-186.png", 186, 40, {120, 40, 40, 255});
        writeSolidPng("UI/Button-186-Glow.png", 186, 40, {200, 80, 80, 255});
        writeSolidPng("UI/FullScreenFade.png", 8, 8, {0, 0, 0, 160});
        writeSolidPng("UI/SymbolTaunts.png", 24, 24, {200, 70, 50, 255});
    }
    SubmitConfirmLayer* show(const char* message) {
        auto* layer = new SubmitConfirmLayer(
            message, &mSubmitter, menu_selector(Submitter::onSubmitConfirmed), "Submit Turn");
        mLayer->addChild(layer, ConfirmLayer::cZOrder);
        return layer;
    }

    Submitter mSubmitter;
    // The three rows in the 960 x 640 window.
    static constexpr float cOkY = 380;
    static constexpr float cTauntY = 320;
    static constexpr float cCancelY = 260;
};

} // namespace

TEST_F(SubmitConfirmLayerTest, TheRowsSitSixtyApartWithTheSymbolAtTheTauntButtonsLeft) {
    SubmitConfirmLayer* layer = show(nullptr);
    EXPECT_EQ(layer->getOkButton()->getPosition(), CCPoint(480, cOkY));
    EXPECT_EQ(layer->getTauntButton()->getPosition(), CCPoint(480, cTauntY));
    EXPECT_EQ(layer->getCancelButton()->getPosition(), CCPoint(480, cCancelY));
    Button* taunt = layer->getTauntButton();
    ASSERT_NE(taunt->getLabel(), nullptr);
    EXPECT_EQ(std::string(taunt->getLabel()->getString()), "Submit With Taunt");
    EXPECT_EQ(taunt->mSound, SubmitConfirmLayer::cSubmitSound);
    CCNode* symbol = nullptr;
    for (CCNode* child : *taunt->getChildren())
        if (child != taunt->getSprite() && child != taunt->getLabel())
            symbol = child;
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->getPosition(), CCPoint(30 - 290.0f / 2, 0));
    run(0.4f);
    EXPECT_EQ(dynamic_cast<CCRGBAProtocol*>(symbol)->getOpacity(), 255);
}

TEST_F(SubmitConfirmLayerTest, TheTauntButtonComesInWithOk) {
    struct Case {
        const char* message;
        float shownAt;
    };
    for (const Case& c : {Case{nullptr, 0.1f}, Case{"You have unspent action points!", 2.0f}}) {
        SCOPED_TRACE(c.shownAt);
        SubmitConfirmLayer* layer = show(c.message);
        Button* taunt = layer->getTauntButton();
        run(c.shownAt - 0.05f);
        EXPECT_FALSE(taunt->getIsVisible() && taunt->getOpacity() > 0);
        run(0.3f);
        EXPECT_TRUE(taunt->getIsVisible());
        EXPECT_EQ(taunt->getOpacity(), 255);
        EXPECT_EQ(layer->getOkButton()->getOpacity(), 255);
        layer->onCancel();
        run(0.25f);
        EXPECT_EQ(mLayer->getChildrenCount(), 0u);
    }
}

TEST_F(SubmitConfirmLayerTest, EachButtonAnswersOnceWithItsTauntFlag) {
    struct Case {
        float y;
        std::vector<int> taunts;
        const char* sound;
    };
    for (const Case& c : {Case{cTauntY, {1}, SubmitConfirmLayer::cSubmitSound},
                          Case{cOkY, {0}, SubmitConfirmLayer::cSubmitSound},
                          Case{cCancelY, {}, SubmitConfirmLayer::cCancelSound}}) {
        SCOPED_TRACE(c.y);
        mSubmitter.mTaunts.clear();
        SubmitConfirmLayer* layer = show(nullptr);
        run(0.4f);
        playedSounds();
        tap(480, c.y);
        EXPECT_EQ(playedSounds(), std::vector<std::string>{c.sound});
        run(0.1f);
        // A second tap while the layer fades is ignored.
        tap(480, c.y);
        EXPECT_EQ(mSubmitter.mTaunts, c.taunts);
        EXPECT_FALSE(layer->getTauntButton()->getIsVisible() &&
                     layer->getTauntButton()->getOpacity() == 255);
        run(0.15f);
        EXPECT_EQ(mLayer->getChildrenCount(), 0u);
    }
}
