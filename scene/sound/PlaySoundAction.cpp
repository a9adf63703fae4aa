#include "scene/sound/PlaySoundAction.h"

#include "scene/sound/SoundPlayback.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCActionCopy.h"

PlaySoundAction* PlaySoundAction::actionWithFile(const std::string& fileName, float volume,
                                                 float pitch) {
    auto* action = new PlaySoundAction();
    action->mFileName = fileName;
    action->mVolume = volume;
    action->mPitch = pitch;
    action->autorelease();
    return action;
}

PlaySoundAction* PlaySoundAction::actionWithFilePositioned(const std::string& fileName,
                                                           const cocos2d::CCPoint& position,
                                                           float volume, float pitch) {
    PlaySoundAction* action = actionWithFile(fileName, volume, pitch);
    action->mPositioned = true;
    action->mPosition = position;
    return action;
}

cocos2d::CCObject* PlaySoundAction::copyWithZone(cocos2d::CCZone* zone) {
    std::unique_ptr<cocos2d::CCZone> ownZone;
    PlaySoundAction* copy = cocos2d::ccCopyTarget<PlaySoundAction>(zone, ownZone);
    CCActionInstant::copyWithZone(zone);
    copy->mFileName = mFileName;
    copy->mPositioned = mPositioned;
    copy->mPosition = mPosition;
    copy->mPitch = mPitch;
    copy->mVolume = mVolume;
    return copy;
}

PlaySoundAction::~PlaySoundAction() = default;

void PlaySoundAction::startWithTarget(cocos2d::CCNode* target) {
    CCAction::startWithTarget(target);
    int32_t id = -1;
    const bool played = mPositioned ? playSoundEffectPanned(mFileName, mPosition, &id, false)
                                    : playSoundEffect(mFileName, &id, false);
    // A rate-limited set reports true without starting anything.
    if (!played || id < 0)
        return;
    auto* engine = CocosDenshion::SimpleAudioEngine::sharedEngine();
    engine->setEffectPitch(static_cast<unsigned int>(id), mPitch);
    engine->setEffectVolume(static_cast<unsigned int>(id), mVolume);
}
