#pragma once

// The audio engine: sound effects by file, each play with its own id and
// its own volume, pitch and pan; one background music track; the effects
// and music volumes; volume fades advanced by update(), which the main loop
// calls on every pass; killActions cancels the running fades where they
// stand. Setting a volume directly cancels the fade of that volume.
//
// File names are relative to the engine's resource root. The back end is
// SDL2_mixer unless one is set (tests set a recording one); without a
// sound device the mixer falls back to SDL's dummy driver, and failing
// that runs silent: every call still succeeds and effects get ids.

#include "platform/audio/AudioBackend.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace CocosDenshion {

class SimpleAudioEngine {
public:
    static SimpleAudioEngine* sharedEngine();
    // Stops everything, closes the back end and destroys the engine.
    static void end();

    // Replaces the back end (the old one closes).
    void setBackend(std::unique_ptr<AudioBackend> backend);
    AudioBackend* getBackend();
    // The clock fades run on, in seconds (a steady clock by default).
    void setClock(std::function<double()> clock);

    // Advances the fades to the clock's time.
    void update();
    // Cancels every running fade; volumes keep their current values.
    void killActions();

    void preloadBackgroundMusic(const char* path);
    void playBackgroundMusic(const char* path, bool loop = false);
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    void rewindBackgroundMusic();
    bool isBackgroundMusicPlaying();
    float getBackgroundMusicVolume() const { return mMusicVolume; }
    void setBackgroundMusicVolume(float volume);
    void fadeBackgroundMusicVolume(float volume, float seconds);

    float getEffectsVolume() const { return mEffectsVolume; }
    void setEffectsVolume(float volume);
    void fadeEffectsVolume(float volume, float seconds);
    // Plays the effect; its id (never 0).
    unsigned int playEffect(const char* path, bool loop = false);
    void stopEffect(unsigned int id);
    bool isEffectPlaying(unsigned int id);
    void preloadEffect(const char* path);
    void unloadEffect(const char* path);
    // Volume 0..1, pitch a rate factor above 0, pan -1..1 of a playing effect.
    void setEffectVolume(unsigned int id, float volume);
    void setEffectPitch(unsigned int id, float pitch);
    void setEffectPan(unsigned int id, float pan);
    void fadeEffectVolume(unsigned int id, float volume, float seconds);
    // The effect's own volume as last set or faded; 1 when never set.
    float getEffectVolume(unsigned int id) const;

    size_t runningFadeCount() const { return mFades.size(); }

private:
    enum class FadeTarget { Music, Effects, Effect };
    struct Fade {
        FadeTarget target;
        unsigned int id;
        float from;
        float to;
        double start;
        float seconds;
    };

    SimpleAudioEngine();
    ~SimpleAudioEngine();

    void startFade(FadeTarget target, unsigned int id, float from, float to, float seconds);
    void cancelFade(FadeTarget target, unsigned int id);
    void apply(FadeTarget target, unsigned int id, float volume);

    std::unique_ptr<AudioBackend> mBackend;
    std::function<double()> mClock;
    std::vector<Fade> mFades;
    std::vector<std::pair<unsigned int, float>> mEffectVolumes; // playing effects' own volumes
    float mEffectsVolume = 1.0f;
    float mMusicVolume = 1.0f;
    unsigned int mNextId = 1;
};

} // namespace CocosDenshion
