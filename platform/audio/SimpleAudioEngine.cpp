#include "platform/audio/SimpleAudioEngine.h"

#include "platform/audio/MixerAudioBackend.h"
#include "platform/engine/CCFileUtils.h"

#include <algorithm>
#include <chrono>

namespace CocosDenshion {

namespace {

SimpleAudioEngine* gSharedEngine = nullptr;

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string fullPath(const char* path) {
    return cocos2d::CCFileUtils::fullPathFromRelativePath(path ? path : "");
}

float unit(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace

SimpleAudioEngine* SimpleAudioEngine::sharedEngine() {
    if (!gSharedEngine)
        gSharedEngine = new SimpleAudioEngine();
    return gSharedEngine;
}

void SimpleAudioEngine::end() {
    delete gSharedEngine;
    gSharedEngine = nullptr;
}

SimpleAudioEngine::SimpleAudioEngine() : mClock(steadySeconds) {}

SimpleAudioEngine::~SimpleAudioEngine() {
    if (mBackend)
        mBackend->stopMusic(true);
}

void SimpleAudioEngine::setBackend(std::unique_ptr<AudioBackend> backend) {
    mBackend = std::move(backend);
    mFades.clear();
    mEffectVolumes.clear();
}

AudioBackend* SimpleAudioEngine::getBackend() {
    if (!mBackend)
        mBackend = std::make_unique<MixerAudioBackend>();
    return mBackend.get();
}

void SimpleAudioEngine::setClock(std::function<double()> clock) {
    mClock = clock ? std::move(clock) : std::function<double()>(steadySeconds);
}

void SimpleAudioEngine::update() {
    const double now = mClock();
    std::vector<Fade> running;
    running.swap(mFades);
    for (const Fade& fade : running) {
        const float t = fade.seconds > 0 ? float((now - fade.start) / fade.seconds) : 1.0f;
        const float done = std::clamp(t, 0.0f, 1.0f);
        apply(fade.target, fade.id, fade.from + (fade.to - fade.from) * done);
        if (done < 1.0f)
            mFades.push_back(fade);
    }
    getBackend()->update();
    // Forget the volumes of effects that have ended.
    std::erase_if(mEffectVolumes,
                  [this](const auto& entry) { return !mBackend->isEffectPlaying(entry.first); });
}

void SimpleAudioEngine::killActions() {
    mFades.clear();
}

void SimpleAudioEngine::startFade(FadeTarget target, unsigned int id, float from, float to,
                                  float seconds) {
    cancelFade(target, id);
    mFades.push_back(Fade{target, id, from, unit(to), mClock(), std::max(0.0f, seconds)});
}

void SimpleAudioEngine::cancelFade(FadeTarget target, unsigned int id) {
    std::erase_if(mFades, [&](const Fade& f) { return f.target == target && f.id == id; });
}

void SimpleAudioEngine::apply(FadeTarget target, unsigned int id, float volume) {
    switch (target) {
    case FadeTarget::Music:
        mMusicVolume = volume;
        getBackend()->setMusicVolume(volume);
        break;
    case FadeTarget::Effects:
        mEffectsVolume = volume;
        getBackend()->setEffectsVolume(volume);
        break;
    case FadeTarget::Effect: {
        auto found = std::find_if(mEffectVolumes.begin(), mEffectVolumes.end(),
                                  [id](const auto& entry) { return entry.first == id; });
        if (found == mEffectVolumes.end())
            mEffectVolumes.emplace_back(id, volume);
        else
            found->second = volume;
        getBackend()->setEffectVolume(id, volume);
        break;
    }
    }
}

void SimpleAudioEngine::preloadBackgroundMusic(const char* path) {
    getBackend()->preloadMusic(fullPath(path));
}

void SimpleAudioEngine::playBackgroundMusic(const char* path, bool loop) {
    getBackend()->playMusic(fullPath(path), loop);
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    getBackend()->stopMusic(releaseData);
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    getBackend()->pauseMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic() {
    getBackend()->resumeMusic();
}

void SimpleAudioEngine::rewindBackgroundMusic() {
    getBackend()->rewindMusic();
}

bool SimpleAudioEngine::isBackgroundMusicPlaying() {
    return getBackend()->isMusicPlaying();
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
    cancelFade(FadeTarget::Music, 0);
    apply(FadeTarget::Music, 0, unit(volume));
}

void SimpleAudioEngine::fadeBackgroundMusicVolume(float volume, float seconds) {
    startFade(FadeTarget::Music, 0, mMusicVolume, volume, seconds);
}

void SimpleAudioEngine::setEffectsVolume(float volume) {
    cancelFade(FadeTarget::Effects, 0);
    apply(FadeTarget::Effects, 0, unit(volume));
}

void SimpleAudioEngine::fadeEffectsVolume(float volume, float seconds) {
    startFade(FadeTarget::Effects, 0, mEffectsVolume, volume, seconds);
}

unsigned int SimpleAudioEngine::playEffect(const char* path, bool loop) {
    const unsigned int id = mNextId++;
    if (mNextId == 0)
        mNextId = 1;
    getBackend()->playEffect(id, fullPath(path), loop);
    return id;
}

void SimpleAudioEngine::stopEffect(unsigned int id) {
    cancelFade(FadeTarget::Effect, id);
    getBackend()->stopEffect(id);
}

bool SimpleAudioEngine::isEffectPlaying(unsigned int id) {
    return getBackend()->isEffectPlaying(id);
}

void SimpleAudioEngine::preloadEffect(const char* path) {
    getBackend()->preloadEffect(fullPath(path));
}

void SimpleAudioEngine::unloadEffect(const char* path) {
    getBackend()->unloadEffect(fullPath(path));
}

void SimpleAudioEngine::setEffectVolume(unsigned int id, float volume) {
    cancelFade(FadeTarget::Effect, id);
    apply(FadeTarget::Effect, id, unit(volume));
}

void SimpleAudioEngine::setEffectPitch(unsigned int id, float pitch) {
    if (pitch > 0)
        getBackend()->setEffectPitch(id, pitch);
}

void SimpleAudioEngine::setEffectPan(unsigned int id, float pan) {
    getBackend()->setEffectPan(id, std::clamp(pan, -1.0f, 1.0f));
}

void SimpleAudioEngine::fadeEffectVolume(unsigned int id, float volume, float seconds) {
    startFade(FadeTarget::Effect, id, getEffectVolume(id), volume, seconds);
}

float SimpleAudioEngine::getEffectVolume(unsigned int id) const {
    for (const auto& [effect, volume] : mEffectVolumes) {
        if (effect == id)
            return volume;
    }
    return 1.0f;
}

} // namespace CocosDenshion
