#include "SoundTestSupport.h"

#include "platform/engine/CCNode.h"

using cocos2d::CCPoint;

namespace {

class SoundPlaybackTest : public SoundTest {
protected:
    // The pan a panned play at x gives to the recording back end.
    std::string panAt(float x) {
        int32_t id = -1;
        EXPECT_TRUE(playSoundEffectPanned("sound/p.wav", CCPoint(x, 10), &id, false));
        const Calls calls = take();
        return calls.size() == 2 ? calls[1] : "?";
    }
};

} // namespace

TEST_F(SoundPlaybackTest, PanSpansTheGameScenesWidth) {
    cocos2d::CCNode* scene = cocos2d::CCNode::node();
    scene->retain();
    scene->setContentSize(cocos2d::CCSize(960, 640));
    setSoundSceneNode(scene);
    EXPECT_EQ(panAt(0), "setEffectPan 1 -0.5");
    EXPECT_EQ(panAt(480), "setEffectPan 2 0");
    EXPECT_EQ(panAt(960), "setEffectPan 3 0.5");

    setSoundSceneNode(nullptr); // half-width 240
    EXPECT_EQ(panAt(0), "setEffectPan 4 -0.5");
    EXPECT_EQ(panAt(360), "setEffectPan 5 0.25");

    BConfig::instance().setFloatById(cOptSoundPanFactor, 1.0f);
    setSoundSceneNode(scene);
    EXPECT_EQ(panAt(0), "setEffectPan 6 -1");
    EXPECT_FLOAT_EQ(soundPanForPosition(CCPoint(720, 0)), 0.5f);
    setSoundSceneNode(nullptr);
    scene->release();
}

TEST_F(SoundPlaybackTest, GatesStopFilesBeforeTheyPlay) {
    int32_t id = -1;
    EXPECT_FALSE(playSoundFile("", &id, false));
    gSoundsEnabled = false;
    EXPECT_FALSE(playSoundEffect("sound/a.wav", &id, false));
    EXPECT_FALSE(playSoundEffectPanned("sound/a.wav", CCPoint(1, 1), &id, false));
    gSoundsEnabled = true;
    BConfig::instance().unsetById(cOptSound);
    EXPECT_FALSE(playSoundFilePanned("sound/a.wav", CCPoint(1, 1), &id, false));
    stopSoundEffect(1); // not while "Sound" is unset
    EXPECT_EQ(id, -1);
    EXPECT_TRUE(take().empty());

    BConfig::instance().defineById(cOptSound);
    playSoundEffectSimple("sound/a.wav");
    stopSoundEffect(1);
    stopSoundEffect(-1);
    EXPECT_EQ(take(), (Calls{"playEffect 1 sound/a.wav loop=0", "stopEffect 1"}));
}

TEST_F(SoundPlaybackTest, TitleMusicNeedsMusicAndSound) {
    playTitleMusic();
    BConfig::instance().defineById(cOptMusic);
    gSoundsEnabled = false;
    playTitleMusic();
    gSoundsEnabled = true;
    playTitleMusic();
    EXPECT_EQ(take(), (Calls{"playMusic sound/Mx_Title_Theme_v4.mp3 loop=1"}));
    BConfig::instance().unsetById(cOptMusic);
}

TEST_F(SoundPlaybackTest, ToggleSoundFlipsTheSwitchAndStoresIt) {
    EXPECT_FALSE(toggleSound());
    EXPECT_FALSE(gSoundsEnabled);
    EXPECT_EQ(builtInPreferenceStore().values().at("SoundsEnabled"), "false");
    EXPECT_EQ(take(), (Calls{"setEffectsVolume 0", "pauseMusic", "setMusicVolume 0"}));
    EXPECT_TRUE(toggleSound());
    EXPECT_TRUE(gSoundsEnabled);
    EXPECT_EQ(builtInPreferenceStore().values().at("SoundsEnabled"), "true");
    EXPECT_EQ(take(), (Calls{"setEffectsVolume 1", "resumeMusic", "setMusicVolume 1"}));
}

TEST_F(SoundPlaybackTest, LoadSoundSettingAppliesTheStoredChoice) {
    BConfig::instance().unsetById(cOptSound);
    loadSoundSetting(); // nothing stored: sound on
    EXPECT_TRUE(gSoundsEnabled);
    EXPECT_TRUE(isSoundEnabled());

    builtInPreferenceStore().setValue("SoundsEnabled", "no");
    loadSoundSetting();
    EXPECT_FALSE(gSoundsEnabled);
    EXPECT_FALSE(isSoundEnabled());
    EXPECT_EQ(builtInPreferenceStore().values().at("SoundsEnabled"), "false");
}

TEST_F(SoundPlaybackTest, MuteSilencesAndResumeRestoresOnlyWhileSoundIsSet) {
    int32_t id = -1;
    ASSERT_TRUE(playSoundFile("sound/loop.wav", &id, true));
    const auto effect = static_cast<unsigned int>(id);
    audio()->fadeEffectVolume(effect, 0.2f, 2.0f);
    ASSERT_EQ(audio()->runningFadeCount(), 1u);
    take();
    muteAudio();
    EXPECT_FALSE(gSoundsEnabled);
    EXPECT_TRUE(isSoundEnabled()); // the option keeps its state
    EXPECT_EQ(take(), (Calls{"setEffectsVolume 0", "pauseMusic", "setMusicVolume 0"}));
    EXPECT_EQ(audio()->runningFadeCount(), 0u);
    mNow += 1.0;
    audio()->update();
    EXPECT_FLOAT_EQ(audio()->getEffectVolume(effect), 1.0f); // the fade stopped

    BConfig::instance().unsetById(cOptSound);
    resumeAudio();
    EXPECT_FALSE(gSoundsEnabled);
    EXPECT_TRUE(take().empty());
    BConfig::instance().defineById(cOptSound);
    resumeAudio();
    EXPECT_TRUE(gSoundsEnabled);
    EXPECT_EQ(take(), (Calls{"setEffectsVolume 1", "resumeMusic", "setMusicVolume 1"}));
}
