#pragma once

// Timed tags: events at a moment of one animation of one puppet, written as
// "Tag" children of a puppet file's "Anim" and owned by that animation entry
// (so two puppets may share an animation with different events). At its Time
// a tag overrides the attachment of a part, plays a sound, spawns a particle
// system or an effect group at a bone, or marks the moment an attack or an
// ability lands. Attribute names are matched exactly, the "Type" value
// without regard to case. Tags never change after loading.

#include "content/XMLHelper.h"
#include "platform/engine/CCGeometry.h"
#include "puppet/PuppetReplacement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

enum PuppetTagType : int32_t {
    cTagOverrideAttachment = 0,
    cTagPlaySound = 1,
    cTagSpawnParticle = 2,
    cTagSpawnEffectGroup = 3,
    cTagAttack = 4,
    cTagAbility = 5,
};

class PuppetTag {
public:
    virtual ~PuppetTag();

    // A new tag of the class named by a "Type" value ("OverrideAttachment",
    // "PlaySound", "SpawnParticle", "SpawnEffectGroup", "Attack", "Ability",
    // any case) with its defaults; null for any other name.
    static std::unique_ptr<PuppetTag> create(std::string_view typeName);

    // Reads the tag's attributes; false when the tag is unusable and is to be
    // dropped (every tag needs a readable "Time").
    virtual bool load(const XmlNode* element);
    virtual int32_t getType() const { return -1; }

    float mTime = -1.0f; // seconds from the start of the animation
};

class PuppetTagOverrideAttachment : public PuppetTag {
public:
    bool load(const XmlNode* element) override;
    int32_t getType() const override { return cTagOverrideAttachment; }

    // The attachment shown for a puppet's active categories: that of the first
    // replacement pair whose category is active, else the tag's "Attachment".
    int32_t pickAttachment(const std::vector<int32_t>& activeCategories) const;

    int32_t mPartSlot = -1;   // puppetPartSlotFromName
    int32_t mAttachment = -1; // PuppetRegistry::loadAttachment
    PuppetReplacements mReplacements;
    float mStopTime = -1.0f; // -1: until the animation ends
};

class PuppetTagPlaySound : public PuppetTag {
public:
    bool load(const XmlNode* element) override;
    int32_t getType() const override { return cTagPlaySound; }

    std::string mFilename;
    bool mPositional = true; // panned by the puppet's position on screen
    bool mLoop = false;
};

// The shared part of tags placed at a bone of the puppet.
class PuppetTagBoneRelative : public PuppetTag {
public:
    bool load(const XmlNode* element) override;

    int32_t mBone = -1; // PuppetRegistry::boneIndex; -1 = the puppet itself
    cocos2d::CCPoint mOffset;
};

class PuppetTagSpawnParticle : public PuppetTagBoneRelative {
public:
    bool load(const XmlNode* element) override;
    int32_t getType() const override { return cTagSpawnParticle; }

    std::string mFilename; // particle system file
};

class PuppetTagSpawnEffectGroup : public PuppetTagBoneRelative {
public:
    bool load(const XmlNode* element) override;
    int32_t getType() const override { return cTagSpawnEffectGroup; }

    // The effect group's registry index (EffectGroup::load); -1 when the
    // group fails to load.
    int32_t mEffectGroup = -1;
};

class PuppetTagAttack : public PuppetTag {
public:
    int32_t getType() const override { return cTagAttack; }
};

class PuppetTagAbility : public PuppetTag {
public:
    int32_t getType() const override { return cTagAbility; }
};
