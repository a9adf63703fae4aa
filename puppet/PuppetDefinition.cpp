#include "puppet/PuppetDefinition.h"

#include "puppet/PuppetRegistry.h"

#include <string>

namespace {

// The element's text as a number, as strtod reads it; 0 when it reads none
// (or one out of range).
float numberText(const XmlNode* element) {
    float value = 0.0f;
    xmlValueFloat(element, value);
    return value;
}

} // namespace

PuppetPartDef::PuppetPartDef() = default;

PuppetPartDef::~PuppetPartDef() = default;

int32_t PuppetPartDef::pickAttachment(const std::vector<int32_t>& activeCategories) const {
    return pickReplacement(mReplacements, activeCategories, mDefaultAttachment);
}

PuppetDefinition::PuppetDefinition() : mParts(cPartSlotCount) {}

PuppetDefinition::~PuppetDefinition() = default;

bool PuppetDefinition::load(const XmlNode* root) {
    for (const XmlNode* child = root->first_node(); child; child = child->next_sibling())
        if (xmlNameEquals(child, "Attachments"))
            loadAttachments(child);

    int32_t partsLoaded = 0;
    for (const XmlNode* child = root->first_node(); child; child = child->next_sibling()) {
        if (xmlNameEquals(child, "Part"))
            loadPart(child, partsLoaded);
        else if (xmlNameEquals(child, "Anim"))
            loadAnim(child);
        else if (xmlNameEquals(child, "SizeX"))
            mSizeX = numberText(child) * 0.5f;
        else if (xmlNameEquals(child, "SizeY"))
            mSizeY = numberText(child) * 0.5f;
        else if (xmlNameEquals(child, "CornerOffsetX"))
            mCornerOffsetX = numberText(child) * 0.5f;
        else if (xmlNameEquals(child, "CornerOffsetY"))
            mCornerOffsetY = numberText(child) * 0.5f;
        else if (xmlNameEquals(child, "ScaleX"))
            mScaleX = numberText(child);
        else if (xmlNameEquals(child, "ScaleY"))
            mScaleY = numberText(child);
    }
    return true;
}

void PuppetDefinition::loadAttachments(const XmlNode* attachments) {
    std::string name;
    for (const XmlNode* child = attachments->first_node(); child; child = child->next_sibling())
        if (xmlNameEquals(child, "Attachment") && xmlAttrString(child, "name", name))
            PuppetRegistry::loadAttachment(name, child);
}

void PuppetDefinition::loadPart(const XmlNode* element, int32_t& partsLoaded) {
    std::string type;
    std::string bone;
    if (!xmlAttrString(element, "type", type) || !xmlAttrString(element, "bone", bone))
        return;
    auto part = std::make_unique<PuppetPartDef>();
    part->mBone = PuppetRegistry::boneIndex(bone);
    std::string attachment;
    if (xmlAttrString(element, "defaultAttachment", attachment) && !attachment.empty())
        part->mDefaultAttachment = PuppetRegistry::loadAttachment(attachment);
    loadReplacements(element, part->mReplacements);
    part->mOrder = partsLoaded++;

    const int32_t slot = puppetPartSlotFromName(type);
    if (slot >= 0)
        mParts[static_cast<size_t>(slot)] = std::move(part); // a later part of the slot wins
    else
        mParts.push_back(std::move(part));
}

void PuppetDefinition::loadAnim(const XmlNode* element) {
    std::string type;
    if (!xmlAttrString(element, "type", type))
        return;
    const int32_t state = animStateFromName(type);
    if (state < 0)
        return;
    auto entry = std::make_unique<PuppetAnimEntry>();
    if (entry->loadTags(element))
        mAnimEntries[static_cast<size_t>(state)] = std::move(entry); // a later entry wins
}

const PuppetAnim* PuppetDefinition::getAnimForState(int32_t state) const {
    if (static_cast<uint32_t>(state) >= static_cast<uint32_t>(cAnimStateCount))
        return nullptr;
    const PuppetAnimEntry* entry = mAnimEntries[static_cast<size_t>(state)].get();
    return entry ? PuppetRegistry::getAnim(entry->mAnim) : nullptr;
}
