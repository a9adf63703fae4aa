// The timed tags of a live puppet's animation.

#include "puppet/PuppetInstance.h"

#include "platform/render/CCParticleSystemQuad.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetTag.h"
#include "scene/sound/SoundPlayback.h"

using namespace cocos2d;

namespace {

// Spawned effects sit above every part.
constexpr int cEffectZOrder = 1000;

} // namespace

void PuppetInstance::fireTags(float from, float to) {
    const PuppetDefinition* definition = getPuppet();
    if (!definition || mCurrentState < 0 || mCurrentState >= cAnimStateCount ||
        !definition->mAnimEntries[mCurrentState])
        return;
    std::vector<const PuppetTag*> tags;
    definition->mAnimEntries[mCurrentState]->collectTagsInWindow(from, to, tags);
    for (const PuppetTag* tag : tags)
        runTag(*tag);
}

void PuppetInstance::runTag(const PuppetTag& tag) {
    switch (tag.getType()) {
    case cTagOverrideAttachment: {
        const auto& override = static_cast<const PuppetTagOverrideAttachment&>(tag);
        mAnimOverrides.push_back(
            addOverride(override.mPartSlot, override.pickAttachment(mCategories)));
        break;
    }
    case cTagPlaySound: {
        const auto& sound = static_cast<const PuppetTagPlaySound&>(tag);
        int32_t id = -1;
        const bool played =
            sound.mPositional
                ? playSoundEffectPanned(sound.mFilename, getPosition(), &id, sound.mLoop)
                : playSoundEffect(sound.mFilename, &id, sound.mLoop);
        // Only an effect that really started has an id to stop later.
        if (sound.mLoop && played && id >= 0)
            mLoopingSounds.push_back(static_cast<uint32_t>(id));
        break;
    }
    case cTagSpawnParticle: {
        const auto& particle = static_cast<const PuppetTagSpawnParticle&>(tag);
        auto* system = new CCParticleSystemQuad();
        system->initWithFile(particle.mFilename);
        system->setIsAutoRemoveOnFinish(true);
        system->setPosition(
            ccpAdd(getBonePosition(-1, particle.mBone, -1.0f, true), particle.mOffset));
        addChild(system, cEffectZOrder);
        system->release();
        break;
    }
    case cTagSpawnEffectGroup: {
        const auto& spawn = static_cast<const PuppetTagSpawnEffectGroup&>(tag);
        if (EffectGroup* group = EffectGroup::get(spawn.mEffectGroup))
            EffectGroup::spawn(group, this,
                               ccpAdd(getBonePosition(-1, spawn.mBone, -1.0f, true), spawn.mOffset),
                               cEffectZOrder, 0.0f, false, ccc3(255, 255, 255));
        break;
    }
    default:
        break;
    }
}
