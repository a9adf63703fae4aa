#include "puppet/PuppetAnimEntry.h"

#include "puppet/PuppetRegistry.h"

#include <string>

PuppetAnimEntry::PuppetAnimEntry() = default;

PuppetAnimEntry::~PuppetAnimEntry() = default;

bool PuppetAnimEntry::loadTags(const XmlNode* element) {
    std::string name;
    if (!xmlAttrString(element, "name", name))
        return false;
    mAnim = PuppetRegistry::loadAnim(name);
    if (mAnim < 0)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (!xmlNameEquals(child, "Tag"))
            continue;
        std::string type;
        xmlAttrString(child, "Type", type);
        std::unique_ptr<PuppetTag> tag = PuppetTag::create(type);
        if (tag && tag->load(child))
            mTags.push_back(std::move(tag));
    }
    return true;
}

void PuppetAnimEntry::getTagsOfType(int32_t type, std::vector<const PuppetTag*>& out) const {
    for (const auto& tag : mTags)
        if (tag->getType() == type)
            out.push_back(tag.get());
}

void PuppetAnimEntry::collectTagsInWindow(float from, float to,
                                          std::vector<const PuppetTag*>& out) const {
    for (const auto& tag : mTags) {
        const float time = tag->mTime;
        const bool inWindow =
            from <= to ? from <= time && time < to : time >= from || time < to;
        if (inWindow)
            out.push_back(tag.get());
    }
}
