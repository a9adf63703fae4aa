#include "platform/audio/RecordingAudioBackend.h"

#include <cstdio>

namespace CocosDenshion {

namespace {

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

} // namespace

void RecordingAudioBackend::preloadEffect(const std::string& path) {
    note("preloadEffect " + path);
}

void RecordingAudioBackend::unloadEffect(const std::string& path) {
    note("unloadEffect " + path);
}

void RecordingAudioBackend::playEffect(unsigned int id, const std::string& path, bool loop) {
    note("playEffect " + std::to_string(id) + " " + path + " loop=" + (loop ? "1" : "0"));
    mPlaying.insert(id);
}

void RecordingAudioBackend::stopEffect(unsigned int id) {
    note("stopEffect " + std::to_string(id));
    mPlaying.erase(id);
}

bool RecordingAudioBackend::isEffectPlaying(unsigned int id) {
    return mPlaying.count(id) != 0;
}

void RecordingAudioBackend::setEffectVolume(unsigned int id, float volume) {
    note("setEffectVolume " + std::to_string(id) + " " + number(volume));
}

void RecordingAudioBackend::setEffectPitch(unsigned int id, float pitch) {
    note("setEffectPitch " + std::to_string(id) + " " + number(pitch));
}

void RecordingAudioBackend::setEffectPan(unsigned int id, float pan) {
    note("setEffectPan " + std::to_string(id) + " " + number(pan));
}

void RecordingAudioBackend::setEffectsVolume(float volume) {
    note("setEffectsVolume " + number(volume));
}

void RecordingAudioBackend::preloadMusic(const std::string& path) {
    note("preloadMusic " + path);
}

void RecordingAudioBackend::playMusic(const std::string& path, bool loop) {
    note("playMusic " + path + " loop=" + (loop ? "1" : "0"));
    mMusicPlaying = true;
    mMusicPaused = false;
}

void RecordingAudioBackend::stopMusic(bool releaseData) {
    note(std::string("stopMusic release=") + (releaseData ? "1" : "0"));
    mMusicPlaying = false;
}

void RecordingAudioBackend::pauseMusic() {
    note("pauseMusic");
    mMusicPaused = true;
}

void RecordingAudioBackend::resumeMusic() {
    note("resumeMusic");
    mMusicPaused = false;
}

void RecordingAudioBackend::rewindMusic() {
    note("rewindMusic");
}

bool RecordingAudioBackend::isMusicPlaying() {
    return mMusicPlaying && !mMusicPaused;
}

void RecordingAudioBackend::setMusicVolume(float volume) {
    note("setMusicVolume " + number(volume));
}

} // namespace CocosDenshion
