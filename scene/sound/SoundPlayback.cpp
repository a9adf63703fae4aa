#include "scene/sound/SoundPlayback.h"

#include "scene/sound/SoundSet.h"

#include "content/BConfig.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCNode.h"

bool gSoundsEnabled = true;

namespace {

constexpr const char* cSoundsEnabledKey = "SoundsEnabled";
constexpr const char* cTitleMusic = "sound/Mx_Title_Theme_v4.mp3";
constexpr float cDefaultHalfWidth = 240.0f;

cocos2d::CCNode* gSceneNode = nullptr;

CocosDenshion::SimpleAudioEngine* audio() {
    return CocosDenshion::SimpleAudioEngine::sharedEngine();
}

bool optionSet(int32_t id) {
    return BConfig::instance().isSetById(id);
}

bool canPlayFile(const std::string& file) {
    return gSoundsEnabled && !file.empty() && optionSet(cOptSound);
}

// Starts the file and writes its id.
void startFile(const std::string& file, int32_t* effectId, bool loop) {
    const unsigned int id = audio()->playEffect(file.c_str(), loop);
    if (effectId != nullptr)
        *effectId = static_cast<int32_t>(id);
}

} // namespace

bool playSoundEffect(const std::string& name, int32_t* effectId, bool loop) {
    if (!gSoundsEnabled)
        return false;
    const int32_t set = SoundSet::find(name);
    if (set >= 0)
        return SoundSet::play(set, effectId);
    return playSoundFile(name, effectId, loop);
}

bool playSoundEffectPanned(const std::string& name, const cocos2d::CCPoint& position,
                           int32_t* effectId, bool loop) {
    if (!gSoundsEnabled)
        return false;
    const int32_t set = SoundSet::find(name);
    if (set >= 0)
        return SoundSet::playPanned(set, effectId, position);
    return playSoundFilePanned(name, position, effectId, loop);
}

void playSoundEffectSimple(const std::string& name) {
    int32_t scratch = -1;
    playSoundEffect(name, &scratch, false);
}

bool playSoundFile(const std::string& file, int32_t* effectId, bool loop) {
    if (!canPlayFile(file))
        return false;
    startFile(file, effectId, loop);
    return true;
}

bool playSoundFilePanned(const std::string& file, const cocos2d::CCPoint& position,
                         int32_t* effectId, bool loop) {
    if (!canPlayFile(file))
        return false;
    int32_t id = -1;
    startFile(file, &id, loop);
    audio()->setEffectPan(static_cast<unsigned int>(id), soundPanForPosition(position));
    if (effectId != nullptr)
        *effectId = id;
    return true;
}

void stopSoundEffect(int32_t effectId) {
    if (effectId >= 0 && optionSet(cOptSound))
        audio()->stopEffect(static_cast<unsigned int>(effectId));
}

void playTitleMusic() {
    if (gSoundsEnabled && optionSet(cOptMusic) && optionSet(cOptSound))
        audio()->playBackgroundMusic(cTitleMusic, true);
}

float soundPanForPosition(const cocos2d::CCPoint& position) {
    float halfWidth = cDefaultHalfWidth;
    // A scene not yet sized spans the default width rather than dividing by 0.
    if (gSceneNode != nullptr && gSceneNode->getContentSize().width > 0.0f)
        halfWidth = gSceneNode->getContentSize().width * 0.5f;
    float factor = 0.5f;
    BConfig::instance().getFloat(cOptSoundPanFactor, factor);
    return (position.x - halfWidth) / halfWidth * factor;
}

void setSoundSceneNode(cocos2d::CCNode* node) {
    gSceneNode = node;
}

bool isSoundEnabled() {
    return optionSet(cOptSound);
}

void setSoundEnabled(bool on) {
    if (on) {
        BConfig::instance().defineById(cOptSound);
        resumeAudio();
    } else {
        BConfig::instance().unsetById(cOptSound);
        muteAudio();
    }
    prefSetBool(cSoundsEnabledKey, isSoundEnabled());
}

bool toggleSound() {
    setSoundEnabled(!isSoundEnabled());
    return isSoundEnabled();
}

void loadSoundSetting() {
    prefGetBool(cSoundsEnabledKey, gSoundsEnabled);
    setSoundEnabled(gSoundsEnabled);
}

void muteAudio() {
    gSoundsEnabled = false;
    audio()->setEffectsVolume(0.0f);
    audio()->pauseBackgroundMusic();
    audio()->setBackgroundMusicVolume(0.0f);
    audio()->killActions();
}

void resumeAudio() {
    if (!optionSet(cOptSound))
        return;
    gSoundsEnabled = true;
    audio()->setEffectsVolume(1.0f);
    audio()->resumeBackgroundMusic();
    audio()->setBackgroundMusicVolume(1.0f);
}
