#include "platform/audio/SimpleAudioEngine.h"
#include "platform/audio/MixerAudioBackend.h"
#include "platform/audio/RecordingAudioBackend.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace CocosDenshion;

namespace {

using Calls = std::vector<std::string>;

// The engine over a recording back end and a hand-set clock.
class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<RecordingAudioBackend>();
        mRecord = backend.get();
        engine()->setBackend(std::move(backend));
        engine()->setClock([this] { return mNow; });
    }
    void TearDown() override { SimpleAudioEngine::end(); }

    static SimpleAudioEngine* engine() { return SimpleAudioEngine::sharedEngine(); }
    // The calls since the last look.
    Calls take() {
        Calls calls = mRecord->calls();
        mRecord->clear();
        return calls;
    }

    RecordingAudioBackend* mRecord = nullptr;
    double mNow = 100.0;
};

// A 16-bit mono WAV of a sine tone.
void writeTone(const std::string& path, double seconds) {
    const uint32_t rate = 22050;
    const auto frames = uint32_t(rate * seconds);
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&out](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&out](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + frames * 2);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        u16(uint16_t(int16_t(8000 * std::sin(i * 440.0 * 2 * 3.14159265 / rate))));
}

} // namespace

TEST_F(AudioTest, EffectsGetIdsAndCarryTheirOwnVolumePitchAndPan) {
    const unsigned int first = engine()->playEffect("sound/Hit.wav");
    const unsigned int second = engine()->playEffect("sound/Loop.wav", true);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(second, first + 1);
    engine()->setEffectVolume(second, 0.8f);
    engine()->setEffectPitch(second, 1.2f);
    engine()->setEffectPan(second, -0.5f);
    engine()->setEffectVolume(second, 3.0f); // clamped
    engine()->setEffectPan(second, -7.0f);   // clamped
    engine()->setEffectPitch(second, 0.0f);  // no such pitch: ignored
    engine()->stopEffect(second);
    const Calls want = {
        "playEffect 1 sound/Hit.wav loop=0",
        "playEffect 2 sound/Loop.wav loop=1",
        "setEffectVolume 2 0.8",
        "setEffectPitch 2 1.2",
        "setEffectPan 2 -0.5",
        "setEffectVolume 2 1",
        "setEffectPan 2 -1",
        "stopEffect 2",
    };
    EXPECT_EQ(take(), want);
    EXPECT_TRUE(engine()->isEffectPlaying(first));
    EXPECT_FALSE(engine()->isEffectPlaying(second));
}

TEST_F(AudioTest, MusicPlaysPausesResumesAndStops) {
    engine()->preloadBackgroundMusic("sound/Amb_Field_LP.mp3");
    engine()->playBackgroundMusic("sound/Amb_Field_LP.mp3", true);
    EXPECT_TRUE(engine()->isBackgroundMusicPlaying());
    engine()->pauseBackgroundMusic();
    EXPECT_FALSE(engine()->isBackgroundMusicPlaying());
    engine()->resumeBackgroundMusic();
    engine()->setBackgroundMusicVolume(0.25f);
    engine()->stopBackgroundMusic(false);
    EXPECT_FALSE(engine()->isBackgroundMusicPlaying());
    const Calls want = {
        "preloadMusic sound/Amb_Field_LP.mp3",
        "playMusic sound/Amb_Field_LP.mp3 loop=1",
        "pauseMusic",
        "resumeMusic",
        "setMusicVolume 0.25",
        "stopMusic release=0",
    };
    EXPECT_EQ(take(), want);
    EXPECT_FLOAT_EQ(engine()->getBackgroundMusicVolume(), 0.25f);
}

TEST_F(AudioTest, FadesAdvanceWithUpdateUntilKilledOrReplaced) {
    const unsigned int id = engine()->playEffect("sound/Hum.wav", true);
    take();
    engine()->fadeEffectsVolume(0.0f, 1.0f);
    engine()->fadeBackgroundMusicVolume(0.5f, 2.0f);
    engine()->setEffectVolume(id, 0.8f);
    engine()->fadeEffectVolume(id, 0.4f, 0.5f);
    mNow += 0.25;
    engine()->update();
    EXPECT_EQ(take(), (Calls{"setEffectVolume 1 0.8", "setEffectsVolume 0.75",
                             "setMusicVolume 0.9375", "setEffectVolume 1 0.6"}));
    mNow += 0.5;
    engine()->update();
    EXPECT_EQ(take(),
              (Calls{"setEffectsVolume 0.25", "setMusicVolume 0.8125", "setEffectVolume 1 0.4"}));
    EXPECT_EQ(engine()->runningFadeCount(), 2u); // the effect's fade is done

    // A direct setting ends its own fade only; killActions ends the rest.
    engine()->setEffectsVolume(1.0f);
    mNow += 0.1;
    engine()->update();
    EXPECT_EQ(take(), (Calls{"setEffectsVolume 1", "setMusicVolume 0.7875"}));
    engine()->killActions();
    mNow += 5;
    engine()->update();
    EXPECT_TRUE(take().empty());
    EXPECT_FLOAT_EQ(engine()->getBackgroundMusicVolume(), 0.7875f);
    EXPECT_EQ(engine()->runningFadeCount(), 0u);
}

TEST_F(AudioTest, AFadeOfAnEndedEffectIsForgotten) {
    const unsigned int id = engine()->playEffect("sound/Short.wav");
    engine()->setEffectVolume(id, 0.5f);
    mRecord->finishEffect(id);
    engine()->update();
    EXPECT_FLOAT_EQ(engine()->getEffectVolume(id), 1.0f);
}

TEST(MixerAudioBackendTest, OpensOnTheDummyDriverAndPlaysASoundToItsEnd) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string file = (std::filesystem::path(::testing::TempDir()) / ("tone-" + std::to_string(getpid()) + ".wav")).string();
    writeTone(file, 0.2);
    MixerAudioBackend mixer;
    ASSERT_TRUE(mixer.isOpen());
    EXPECT_EQ(mixer.driverName(), "dummy");
    mixer.playEffect(7, file, false);
    EXPECT_TRUE(mixer.isEffectPlaying(7));
    mixer.setEffectVolume(7, 0.5f);
    mixer.setEffectPan(7, 0.5f);
    mixer.setEffectPitch(7, 1.5f);
    EXPECT_TRUE(mixer.isEffectPlaying(7));
    const auto start = std::chrono::steady_clock::now();
    while (mixer.isEffectPlaying(7) &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        mixer.update();
    }
    EXPECT_FALSE(mixer.isEffectPlaying(7));
    mixer.playEffect(8, file + ".missing", false); // nothing plays, nothing fails
    EXPECT_FALSE(mixer.isEffectPlaying(8));
    std::filesystem::remove(file);
}
