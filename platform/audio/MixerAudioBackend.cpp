#include "platform/audio/MixerAudioBackend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace CocosDenshion {

namespace {

constexpr int kChannels = 32;

int mixerVolume(float volume) {
    return int(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}

} // namespace

MixerAudioBackend::MixerAudioBackend() {
    mOpen = openDevice();
    if (!mOpen)
        std::printf("Sound is off: no audio device could be opened.\n");
}

MixerAudioBackend::~MixerAudioBackend() {
    if (!mOpen)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    for (auto& [id, voice] : mVoices) {
        if (voice.resampled)
            Mix_FreeChunk(voice.resampled);
    }
    for (auto& entry : mChunks)
        Mix_FreeChunk(entry.second);
    for (auto& entry : mMusics)
        Mix_FreeMusic(entry.second);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool MixerAudioBackend::openDevice() {
    const auto open = [] {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        return true;
    };
    if (!open()) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        if (!open())
            return false;
    }
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    Mix_AllocateChannels(kChannels);
    mChannelOwner.assign(kChannels, 0);
    Mix_QuerySpec(&mFrequency, &mFormat, &mChannels);
    return true;
}

std::string MixerAudioBackend::driverName() const {
    const char* name = mOpen ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? name : "";
}

Mix_Chunk* MixerAudioBackend::chunkFor(const std::string& path) {
    const auto found = mChunks.find(path);
    if (found != mChunks.end())
        return found->second;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        std::printf("Sound not loaded: %s (%s)\n", path.c_str(), Mix_GetError());
        return nullptr;
    }
    mChunks[path] = chunk;
    return chunk;
}

void MixerAudioBackend::preloadEffect(const std::string& path) {
    if (mOpen)
        chunkFor(path);
}

void MixerAudioBackend::unloadEffect(const std::string& path) {
    const auto found = mChunks.find(path);
    if (found == mChunks.end())
        return;
    for (auto it = mVoices.begin(); it != mVoices.end();) {
        const unsigned int id = it->first;
        ++it;
        if (mVoices[id].chunk == found->second)
            stopEffect(id);
    }
    Mix_FreeChunk(found->second);
    mChunks.erase(found);
}

MixerAudioBackend::Voice* MixerAudioBackend::voiceOf(unsigned int id) {
    const auto found = mVoices.find(id);
    if (found == mVoices.end())
        return nullptr;
    Voice& voice = found->second;
    if (mChannelOwner[size_t(voice.channel)] != id || !Mix_Playing(voice.channel))
        return nullptr;
    return &voice;
}

void MixerAudioBackend::applyVolume(const Voice& voice) {
    Mix_Volume(voice.channel, mixerVolume(voice.volume * mEffectsVolume));
}

void MixerAudioBackend::playEffect(unsigned int id, const std::string& path, bool loop) {
    if (!mOpen)
        return;
    Mix_Chunk* chunk = chunkFor(path);
    if (!chunk)
        return;
    const int channel = Mix_PlayChannel(-1, chunk, loop ? -1 : 0);
    if (channel < 0)
        return;
    if (const unsigned int previous = mChannelOwner[size_t(channel)])
        dropVoice(previous);
    mChannelOwner[size_t(channel)] = id;
    Mix_SetPanning(channel, 255, 255);
    Voice voice;
    voice.channel = channel;
    voice.chunk = chunk;
    voice.startTicks = SDL_GetTicks();
    voice.loop = loop;
    mVoices[id] = voice;
    applyVolume(voice);
}

void MixerAudioBackend::dropVoice(unsigned int id) {
    const auto found = mVoices.find(id);
    if (found == mVoices.end())
        return;
    if (found->second.resampled) {
        if (Mix_GetChunk(found->second.channel) == found->second.resampled)
            Mix_HaltChannel(found->second.channel);
        Mix_FreeChunk(found->second.resampled);
    }
    if (mChannelOwner[size_t(found->second.channel)] == id)
        mChannelOwner[size_t(found->second.channel)] = 0;
    mVoices.erase(found);
}

void MixerAudioBackend::stopEffect(unsigned int id) {
    if (Voice* voice = voiceOf(id))
        Mix_HaltChannel(voice->channel);
    dropVoice(id);
}

bool MixerAudioBackend::isEffectPlaying(unsigned int id) {
    return voiceOf(id) != nullptr;
}

void MixerAudioBackend::setEffectVolume(unsigned int id, float volume) {
    if (Voice* voice = voiceOf(id)) {
        voice->volume = volume;
        applyVolume(*voice);
    }
}

void MixerAudioBackend::setEffectPitch(unsigned int id, float pitch) {
    Voice* voice = voiceOf(id);
    if (!voice || std::fabs(pitch - 1.0f) < 1e-3f || mFormat != AUDIO_S16SYS || mChannels <= 0)
        return;
    // The rest of the sound from where it is now, resampled by the pitch.
    const Mix_Chunk* source = voice->chunk;
    const size_t frameBytes = size_t(mChannels) * 2;
    const size_t frames = source->alen / frameBytes;
    const double elapsed = (SDL_GetTicks() - voice->startTicks) / 1000.0;
    size_t first = voice->loop ? 0 : std::min(frames, size_t(elapsed * mFrequency));
    const size_t outFrames = size_t(double(frames - first) / pitch);
    if (outFrames == 0)
        return;
    auto* samples = static_cast<Uint8*>(SDL_malloc(outFrames * frameBytes));
    if (!samples)
        return;
    const auto* in = reinterpret_cast<const Sint16*>(source->abuf);
    auto* out = reinterpret_cast<Sint16*>(samples);
    for (size_t f = 0; f < outFrames; ++f) {
        const double at = double(first) + double(f) * pitch;
        const size_t i0 = std::min(frames - 1, size_t(at));
        const size_t i1 = std::min(frames - 1, i0 + 1);
        const double t = at - double(i0);
        for (int c = 0; c < mChannels; ++c) {
            const double a = in[i0 * size_t(mChannels) + size_t(c)];
            const double b = in[i1 * size_t(mChannels) + size_t(c)];
            out[f * size_t(mChannels) + size_t(c)] = Sint16(std::lround(a + (b - a) * t));
        }
    }
    Mix_Chunk* resampled = Mix_QuickLoad_RAW(samples, Uint32(outFrames * frameBytes));
    if (!resampled) {
        SDL_free(samples);
        return;
    }
    resampled->allocated = 1; // freed with the chunk
    const int channel = voice->channel;
    Mix_Chunk* old = voice->resampled;
    Mix_PlayChannel(channel, resampled, voice->loop ? -1 : 0);
    if (old)
        Mix_FreeChunk(old);
    voice->resampled = resampled;
    applyVolume(*voice);
}

void MixerAudioBackend::setEffectPan(unsigned int id, float pan) {
    if (Voice* voice = voiceOf(id)) {
        const float p = std::clamp(pan, -1.0f, 1.0f);
        const auto left = Uint8(std::lround(255 * std::min(1.0f, 1.0f - p)));
        const auto right = Uint8(std::lround(255 * std::min(1.0f, 1.0f + p)));
        Mix_SetPanning(voice->channel, left, right);
    }
}

void MixerAudioBackend::setEffectsVolume(float volume) {
    mEffectsVolume = volume;
    for (auto& [id, voice] : mVoices) {
        if (mChannelOwner[size_t(voice.channel)] == id)
            applyVolume(voice);
    }
}

void MixerAudioBackend::preloadMusic(const std::string& path) {
    if (!mOpen || mMusics.count(path))
        return;
    if (Mix_Music* music = Mix_LoadMUS(path.c_str()))
        mMusics[path] = music;
    else
        std::printf("Music not loaded: %s (%s)\n", path.c_str(), Mix_GetError());
}

void MixerAudioBackend::playMusic(const std::string& path, bool loop) {
    if (!mOpen)
        return;
    preloadMusic(path);
    const auto found = mMusics.find(path);
    if (found == mMusics.end())
        return;
    mMusic = found->second;
    Mix_PlayMusic(mMusic, loop ? -1 : 1);
}

void MixerAudioBackend::stopMusic(bool releaseData) {
    if (!mOpen)
        return;
    Mix_HaltMusic();
    if (releaseData) {
        for (auto& entry : mMusics)
            Mix_FreeMusic(entry.second);
        mMusics.clear();
        mMusic = nullptr;
    }
}

void MixerAudioBackend::pauseMusic() {
    if (mOpen)
        Mix_PauseMusic();
}

void MixerAudioBackend::resumeMusic() {
    if (mOpen)
        Mix_ResumeMusic();
}

void MixerAudioBackend::rewindMusic() {
    if (mOpen && mMusic)
        Mix_PlayMusic(mMusic, 1);
}

bool MixerAudioBackend::isMusicPlaying() {
    return mOpen && Mix_PlayingMusic() && !Mix_PausedMusic();
}

void MixerAudioBackend::setMusicVolume(float volume) {
    if (mOpen)
        Mix_VolumeMusic(mixerVolume(volume));
}

void MixerAudioBackend::update() {
    if (!mOpen)
        return;
    // Free the voices whose sound has ended.
    std::vector<unsigned int> ended;
    for (const auto& [id, voice] : mVoices) {
        if (mChannelOwner[size_t(voice.channel)] != id || !Mix_Playing(voice.channel))
            ended.push_back(id);
    }
    for (unsigned int id : ended)
        dropVoice(id);
}

} // namespace CocosDenshion
