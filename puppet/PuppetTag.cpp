#include "puppet/PuppetTag.h"

#include "puppet/AnimState.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetRegistry.h"
#include "rules/core/NameTable.h"

#include <array>

namespace {

// The factory names, in the order they are tried.
constexpr std::array<std::string_view, 6> cTagTypeNames = {
    "OverrideAttachment", "PlaySound", "SpawnParticle", "SpawnEffectGroup", "Attack", "Ability",
};

} // namespace

PuppetTag::~PuppetTag() = default;

std::unique_ptr<PuppetTag> PuppetTag::create(std::string_view typeName) {
    switch (findNameNoCase(cTagTypeNames, typeName)) {
    case cTagOverrideAttachment:
        return std::make_unique<PuppetTagOverrideAttachment>();
    case cTagPlaySound:
        return std::make_unique<PuppetTagPlaySound>();
    case cTagSpawnParticle:
        return std::make_unique<PuppetTagSpawnParticle>();
    case cTagSpawnEffectGroup:
        return std::make_unique<PuppetTagSpawnEffectGroup>();
    case cTagAttack:
        return std::make_unique<PuppetTagAttack>();
    case cTagAbility:
        return std::make_unique<PuppetTagAbility>();
    default:
        return nullptr;
    }
}

bool PuppetTag::load(const XmlNode* element) {
    return xmlAttrFloat(element, "Time", mTime);
}

bool PuppetTagOverrideAttachment::load(const XmlNode* element) {
    if (!PuppetTag::load(element))
        return false;
    mStopTime = -1.0f;
    xmlAttrFloat(element, "StopTime", mStopTime);
    std::string part;
    std::string attachment;
    if (!xmlAttrString(element, "Part", part) || part.empty() ||
        !xmlAttrString(element, "Attachment", attachment) || attachment.empty())
        return false;
    mPartSlot = puppetPartSlotFromName(part);
    mAttachment = PuppetRegistry::loadAttachment(attachment);
    loadReplacements(element, mReplacements);
    return true;
}

int32_t PuppetTagOverrideAttachment::pickAttachment(
    const std::vector<int32_t>& activeCategories) const {
    return pickReplacement(mReplacements, activeCategories, mAttachment);
}

bool PuppetTagPlaySound::load(const XmlNode* element) {
    if (!PuppetTag::load(element) || !xmlAttrString(element, "Filename", mFilename) ||
        mFilename.empty())
        return false;
    xmlAttrBool(element, "positional", mPositional);
    xmlAttrBool(element, "loop", mLoop);
    return true;
}

bool PuppetTagBoneRelative::load(const XmlNode* element) {
    if (!PuppetTag::load(element))
        return false;
    mBone = -1;
    std::string bone;
    if (xmlAttrString(element, "Bone", bone) && !bone.empty())
        mBone = PuppetRegistry::boneIndex(bone);
    mOffset = {};
    xmlAttrFloat(element, "OffsetX", mOffset.x);
    xmlAttrFloat(element, "OffsetY", mOffset.y);
    return true;
}

bool PuppetTagSpawnParticle::load(const XmlNode* element) {
    return PuppetTagBoneRelative::load(element) &&
           xmlAttrString(element, "Filename", mFilename) && !mFilename.empty();
}

bool PuppetTagSpawnEffectGroup::load(const XmlNode* element) {
    std::string group;
    if (!PuppetTagBoneRelative::load(element) || !xmlAttrString(element, "Filename", group) ||
        group.empty())
        return false;
    mEffectGroup = EffectGroup::load(group);
    return true;
}
