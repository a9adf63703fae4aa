#pragma once

// What plays the sound behind SimpleAudioEngine. Effects are named by the
// ids the engine hands out; volumes are 0..1 (an effect's own volume and
// the effects volume multiply), pitch a rate factor (1 unchanged), pan
// -1 (left) .. 1 (right). Calls for an effect that has ended do nothing.

#include <string>

namespace CocosDenshion {

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    virtual void preloadEffect(const std::string& path) = 0;
    virtual void unloadEffect(const std::string& path) = 0;
    virtual void playEffect(unsigned int id, const std::string& path, bool loop) = 0;
    virtual void stopEffect(unsigned int id) = 0;
    virtual bool isEffectPlaying(unsigned int id) = 0;
    virtual void setEffectVolume(unsigned int id, float volume) = 0;
    virtual void setEffectPitch(unsigned int id, float pitch) = 0;
    virtual void setEffectPan(unsigned int id, float pan) = 0;
    virtual void setEffectsVolume(float volume) = 0;

    virtual void preloadMusic(const std::string& path) = 0;
    virtual void playMusic(const std::string& path, bool loop) = 0;
    virtual void stopMusic(bool releaseData) = 0;
    virtual void pauseMusic() = 0;
    virtual void resumeMusic() = 0;
    virtual void rewindMusic() = 0;
    virtual bool isMusicPlaying() = 0;
    virtual void setMusicVolume(float volume) = 0;

    // Housekeeping once per pass of the main loop.
    virtual void update() {}
};

} // namespace CocosDenshion
