// Fuzzes the three puppet file formats with one input read as each: a puppet
// definition file with its tags (loading its attachments and animations
// through the registry, from the puppet test fixtures), an attachment with
// its text style, and an animation whose every node is evaluated at times
// inside, outside and beyond its frames.

#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCFileUtils.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"

#include <cstddef>
#include <cstdint>
#include <limits>
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

// Image sprites only: a text attachment's label is the engine's drawing.
void readAll(const PuppetAttachment& attachment) {
    if (!attachment.mTextStyle)
        attachment.createSprite(nullptr);
    attachment.createColorSprite();
    attachment.getTexture();
}

void readAll(const PuppetAnim& anim) {
    constexpr float cInfinity = std::numeric_limits<float>::infinity();
    const float times[] = {-1.0f, 0.0f, 0.004f, 0.5f, anim.mLength, anim.mLength + 1.0f,
                           cInfinity, -cInfinity, std::numeric_limits<float>::quiet_NaN()};
    PuppetKeyframe pose;
    for (int32_t node = -1; node <= static_cast<int32_t>(anim.mNodes.size()); ++node)
        for (float t : times)
            anim.applyAtTime(node, t, pose);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XMLHelper* const holder = [] {
        setBaseFolder(TARNWICK_FIXTURES_DIR "/puppet");
        cocos2d::CCFileUtils::setResourcePath(TARNWICK_FIXTURES_DIR "/puppet/data");
        return new XMLHelper(); // 64 KB pool: not on the stack
    }();
    holder->setText(std::string_view(reinterpret_cast<const char*>(data), size));
    XmlNode* root = nullptr;
    if (holder->parse(root) && root) {
        PuppetDefinition puppet;
        puppet.load(root);
        readAll(puppet);

        PuppetAttachment attachment;
        attachment.load(root);
        readAll(attachment);

        PuppetAnim anim;
        anim.loadNodes(root);
        readAll(anim);
    }
    cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    PuppetRegistry::clear();
    holder->clear();
    return 0;
}
