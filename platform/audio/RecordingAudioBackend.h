#pragma once

// A back end that plays nothing and writes down every call with its
// arguments, one line each ("playEffect 3 sound/Hit.wav loop=0",
// "setEffectVolume 3 0.5"), for tests. Effects count as playing from
// playEffect until stopEffect or finishEffect; music from playMusic until
// stopMusic, and not while paused.

#include "platform/audio/AudioBackend.h"

#include <set>
#include <string>
#include <vector>

namespace CocosDenshion {

class RecordingAudioBackend : public AudioBackend {
public:
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

    // The effect reached its end.
    void finishEffect(unsigned int id) { mPlaying.erase(id); }
    const std::vector<std::string>& calls() const { return mCalls; }
    void clear() { mCalls.clear(); }

private:
    void note(const std::string& line) { mCalls.push_back(line); }

    std::vector<std::string> mCalls;
    std::set<unsigned int> mPlaying;
    bool mMusicPlaying = false;
    bool mMusicPaused = false;
};

} // namespace CocosDenshion
