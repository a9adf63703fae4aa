#pragma once

// The SDL2_mixer back end. It opens the sound device on construction; when
// there is none it retries with SDL's dummy driver, and when that fails too
// it stays closed and every call does nothing. Effects play on mixer
// channels (chunks cached by path); pitch is played by switching the
// channel to a resampled copy of the rest of the sound.

#include "platform/audio/AudioBackend.h"

#include <map>
#include <string>
#include <vector>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace CocosDenshion {

class MixerAudioBackend : public AudioBackend {
public:
    MixerAudioBackend();
    ~MixerAudioBackend() override;

    bool isOpen() const { return mOpen; }
    // The SDL audio driver in use ("dummy" without a sound device).
    std::string driverName() const;

    void preloadEffect(const std::string& path) override;
    void unloadEffect(const std::string& path) override;
    void playEffect(unsigned int id, const std::string& path, bool loop) override;
    void stopEffect(unsigned int id) override;
    bool isEffectPlaying(unsigned int id) override;
    void setEffectVolume(unsigned int id, float volume) override;
    void setEffectPitch(unsigned int id, float pitch) override;
    void setEffectPan(unsigned int id, float pan) override;
    void setEffectsVolume(float volume) override;
    void preloadMusic(const std::string& path) override;
    void playMusic(const std::string& path, bool loop) override;
    void stopMusic(bool releaseData) override;
    void pauseMusic() override;
    void resumeMusic() override;
    void rewindMusic() override;
    bool isMusicPlaying() override;
    void setMusicVolume(float volume) override;
    void update() override;

private:
    struct Voice {
        int channel = -1;
        Mix_Chunk* chunk = nullptr;     // what the channel plays
        Mix_Chunk* resampled = nullptr; // owned, when pitched
        float volume = 1.0f;
        unsigned int startTicks = 0;
        bool loop = false;
    };

    bool openDevice();
    Mix_Chunk* chunkFor(const std::string& path);
    // The voice of a playing effect, or null.
    Voice* voiceOf(unsigned int id);
    void applyVolume(const Voice& voice);
    void dropVoice(unsigned int id);

    std::map<std::string, Mix_Chunk*> mChunks;
    std::map<std::string, Mix_Music*> mMusics;
    std::map<unsigned int, Voice> mVoices;
    std::vector<unsigned int> mChannelOwner; // effect id per channel, 0 free
    Mix_Music* mMusic = nullptr;
    float mEffectsVolume = 1.0f;
    int mFrequency = 0;
    int mChannels = 0;
    unsigned short mFormat = 0;
    bool mOpen = false;
};

} // namespace CocosDenshion
