#include "SoundTestSupport.h"

#include "scene/sound/PlaySoundAction.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSequence.h"

using cocos2d::CCPoint;

namespace {

// Sound tests with a hand-stepped director running a 960-wide scene, which
// the pan spans.
class PlaySoundActionTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        director()->setWinSizeInPixels(cocos2d::CCSize(960, 640));
        cocos2d::CCScene* scene = cocos2d::CCScene::node();
        mLayer = cocos2d::CCLayer::node();
        mLayer->setContentSize(cocos2d::CCSize(960, 640));
        scene->addChild(mLayer);
        director()->runWithScene(scene);
        director()->tick(0);
        setSoundSceneNode(mLayer);
    }
    void TearDown() override {
        setSoundSceneNode(nullptr);
        director()->purgeDirector();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
        SoundTest::TearDown();
    }
    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }

    cocos2d::CCLayer* mLayer = nullptr;
};

} // namespace

TEST_F(PlaySoundActionTest, InASequenceItPlaysWhenTheDelayEnds) {
    mLayer->runAction(cocos2d::CCSequence::actions(
        cocos2d::CCDelayTime::actionWithDuration(0.5f),
        PlaySoundAction::actionWithFile("sound/Late.wav", 0.5f, 1.25f)));
    director()->tick(0.25f);
    director()->tick(0.125f);
    EXPECT_TRUE(take().empty());
    director()->tick(0.125f);
    // Pitch first, then volume.
    EXPECT_EQ(take(), (Calls{"playEffect 1 sound/Late.wav loop=0", "setEffectPitch 1 1.25",
                             "setEffectVolume 1 0.5"}));
}

TEST_F(PlaySoundActionTest, APositionedActionPansByItsPosition) {
    mLayer->runAction(
        PlaySoundAction::actionWithFilePositioned("sound/C.wav", CCPoint(480, 300), 1.0f, 1.0f));
    mLayer->runAction(
        PlaySoundAction::actionWithFilePositioned("sound/L.wav", CCPoint(240, 300), 1.0f, 1.0f));
    EXPECT_EQ(take(),
              (Calls{"playEffect 1 sound/C.wav loop=0", "setEffectPan 1 0", "setEffectPitch 1 1",
                     "setEffectVolume 1 1", "playEffect 2 sound/L.wav loop=0",
                     "setEffectPan 2 -0.25", "setEffectPitch 2 1", "setEffectVolume 2 1"}));
}

TEST_F(PlaySoundActionTest, ACopyKeepsItsSoundAndPosition) {
    PlaySoundAction* original =
        PlaySoundAction::actionWithFilePositioned("Swish", CCPoint(12, 34), 0.5f, 2.0f);
    auto* copy = static_cast<PlaySoundAction*>(original->copy());
    EXPECT_EQ(copy->getFileName(), "Swish");
    EXPECT_TRUE(copy->isPositioned());
    EXPECT_EQ(copy->getPosition(), CCPoint(12, 34));
    EXPECT_FLOAT_EQ(copy->getVolume(), 0.5f);
    EXPECT_FLOAT_EQ(copy->getPitch(), 2.0f);
    EXPECT_FALSE(PlaySoundAction::actionWithFile("x", 1, 1)->isPositioned());
    copy->release();
}

TEST_F(PlaySoundActionTest, NothingStartedLeavesPitchAndVolumeAlone) {
    setFromText("Limited",
                R"(<SoundSet minTimeBetweenPlays="1"><Sound filename="l.wav"/></SoundSet>)");
    mLayer->runAction(PlaySoundAction::actionWithFile("Limited", 0.5f, 2.0f));
    take();
    mLayer->runAction(PlaySoundAction::actionWithFile("Limited", 0.5f, 2.0f)); // rate-limited
    gSoundsEnabled = false;
    mLayer->runAction(PlaySoundAction::actionWithFile("sound/off.wav", 0.5f, 2.0f));
    EXPECT_TRUE(take().empty());
}
