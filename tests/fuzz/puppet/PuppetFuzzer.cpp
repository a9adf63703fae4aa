// Fuzzes a puppet definition file with its tags, read from memory into a
// definition that loads its attachments and animations through the registry
// (from the puppet test fixtures), and every read of the result.

#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

void readAll(const PuppetDefinition& puppet) {
    const std::vector<int32_t> active = {PuppetRegistry::categoryIndex("weapon"),
                                         PuppetRegistry::categoryIndex("Charge")};
    for (const auto& part : puppet.mParts)
        if (part)
            part->pickAttachment(active);
    std::vector<const PuppetTag*> tags;
    for (int32_t state = -1; state <= cAnimStateCount; ++state)
        puppet.getAnimForState(state);
    for (const auto& entry : puppet.mAnimEntries) {
        if (!entry)
            continue;
        for (int32_t type = -1; type <= cTagAbility; ++type)
            entry->getTagsOfType(type, tags);
        entry->collectTagsInWindow(0.0f, 0.5f, tags);
        entry->collectTagsInWindow(0.9f, 0.2f, tags);
        for (const auto& tag : entry->mTags)
            if (tag->getType() == cTagOverrideAttachment)
                static_cast<const PuppetTagOverrideAttachment&>(*tag).pickAttachment(active);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = [] {
        setBaseFolder(TARNWICK_FIXTURES_DIR "/puppet");
        return new XMLHelper(); // 64 KB pool: not on the stack
    }();
    holder->setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    if (holder->parse(root) && root) {
        PuppetDefinition puppet;
        puppet.load(root);
        readAll(puppet);
    }
    PuppetRegistry::clear();
    holder->clear();
    return 0;
}
