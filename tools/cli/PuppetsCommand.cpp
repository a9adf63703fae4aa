// tarnwick-cli puppets: loads the shared attachments and every puppet the
// entity protos name (main, "Upgrade" and projectile puppets) plus the board's
// effect puppets, and prints each one's size, parts, animation entries and
// tags; then every attachment with whether its image was found, and every
// animation with its length. Exits 1 when a puppet fails to load or a named
// image is missing.
#include "tools/cli/CliCommand.h"

#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/DataPath.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "puppet/AnimState.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// The board's own puppets: the tile chest's doors and the teleporter flash.
constexpr const char* cEffectPuppets[] = {"Effects/Door01", "Effects/DoorKX401",
                                          "Effects/Teleport01"};

std::string attachmentText(int32_t index) {
    return index < 0 ? std::string("none") : '"' + PuppetRegistry::attachmentName(index) + '"';
}

void printReplacements(const PuppetReplacements& replacements) {
    for (const PuppetReplacement& pair : replacements)
        std::printf(", under \"%s\" %s", PuppetRegistry::categoryName(pair.mCategory).c_str(),
                    attachmentText(pair.mAttachment).c_str());
}

void printTag(const PuppetTag& tag) {
    static constexpr const char* cTypeNames[] = {"OverrideAttachment", "PlaySound",
                                                 "SpawnParticle",      "SpawnEffectGroup",
                                                 "Attack",             "Ability"};
    std::printf("            %.2f %s", tag.mTime, cTypeNames[tag.getType()]);
    switch (tag.getType()) {
    case cTagOverrideAttachment: {
        const auto& override = static_cast<const PuppetTagOverrideAttachment&>(tag);
        const std::string part =
            override.mPartSlot >= 0 ? std::string(cPartSlotNames[override.mPartSlot]) : "?";
        std::printf(" %s shows %s", part.c_str(), attachmentText(override.mAttachment).c_str());
        printReplacements(override.mReplacements);
        if (override.mStopTime >= 0)
            std::printf(" until %.2f", override.mStopTime);
        break;
    }
    case cTagPlaySound: {
        const auto& sound = static_cast<const PuppetTagPlaySound&>(tag);
        std::printf(" \"%s\"%s%s", sound.mFilename.c_str(), sound.mPositional ? ", positional" : "",
                    sound.mLoop ? ", looping" : "");
        break;
    }
    case cTagSpawnParticle:
    case cTagSpawnEffectGroup: {
        const auto& placed = static_cast<const PuppetTagBoneRelative&>(tag);
        if (tag.getType() == cTagSpawnParticle)
            std::printf(" \"%s\"",
                        static_cast<const PuppetTagSpawnParticle&>(tag).mFilename.c_str());
        else
            std::printf(" group %d", static_cast<const PuppetTagSpawnEffectGroup&>(tag).mEffectGroup);
        if (placed.mBone >= 0)
            std::printf(" at bone \"%s\"", PuppetRegistry::boneName(placed.mBone).c_str());
        std::printf(" + (%g, %g)", placed.mOffset.x, placed.mOffset.y);
        break;
    }
    default:
        break;
    }
    std::printf("\n");
}

void printPuppet(const PuppetDefinition& puppet) {
    std::printf("    size %g x %g, corner offset (%g, %g), scale %g x %g\n", puppet.mSizeX,
                puppet.mSizeY, puppet.mCornerOffsetX, puppet.mCornerOffsetY, puppet.mScaleX,
                puppet.mScaleY);
    for (size_t position = 0; position < puppet.mParts.size(); ++position) {
        const PuppetPartDef* part = puppet.mParts[position].get();
        if (!part)
            continue;
        const std::string slot = position < cPartSlotNames.size()
                                     ? std::string(cPartSlotNames[position])
                                     : "extra " + std::to_string(position);
        std::printf("        part %s (order %d) on bone \"%s\": %s", slot.c_str(), part->mOrder,
                    PuppetRegistry::boneName(part->mBone).c_str(),
                    attachmentText(part->mDefaultAttachment).c_str());
        printReplacements(part->mReplacements);
        std::printf("\n");
    }
    for (int32_t state = 0; state < cAnimStateCount; ++state) {
        const PuppetAnimEntry* entry = puppet.mAnimEntries[state].get();
        if (!entry)
            continue;
        std::printf("        anim %s: \"%s\"\n", std::string(cAnimStateNames[state]).c_str(),
                    PuppetRegistry::animName(entry->mAnim).c_str());
        for (const auto& tag : entry->mTags)
            printTag(*tag);
    }
}

// Prints every loaded attachment; returns how many name an image that is
// missing.
int printAttachments() {
    static constexpr const char* cKeyTypeNames[] = {"localized", "dynamic"};
    int missing = 0;
    std::printf("attachments:\n");
    for (int32_t index = 0; index < PuppetRegistry::attachmentCount(); ++index) {
        const PuppetAttachment& attachment = *PuppetRegistry::getAttachment(index);
        std::printf("    %d %s:", index, PuppetRegistry::attachmentName(index).c_str());
        if (!attachment.mTextureName.empty()) {
            const bool found = cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()
                                   ->spriteFrameByName(attachment.mTextureName) ||
                               attachment.getTexture();
            std::printf(" \"%s\" %s", attachment.mTextureName.c_str(),
                        found ? "found" : "MISSING");
            missing += found ? 0 : 1;
            if (!attachment.mColorTextureName.empty())
                std::printf(", colour \"%s\"", attachment.mColorTextureName.c_str());
        }
        if (!attachment.mPuppetName.empty())
            std::printf(" puppet \"%s\"", attachment.mPuppetName.c_str());
        if (const TextStyle* text = attachment.mTextStyle.get())
            std::printf(" text \"%s\" (%s) in \"%s\" %g", text->mKey.c_str(),
                        cKeyTypeNames[text->mKeyType], text->mFontName.c_str(), text->mFontSize);
        if (attachment.mClickMask >= 0)
            std::printf(", click mask %d", attachment.mClickMask);
        std::printf("\n");
    }
    return missing;
}

void printAnims() {
    std::printf("animations:\n");
    for (int32_t index = 0; index < PuppetRegistry::animCount(); ++index) {
        const PuppetAnim& anim = *PuppetRegistry::getAnim(index);
        std::printf("    %d %s: %.2f s, %zu nodes\n", index,
                    PuppetRegistry::animName(index).c_str(), anim.mLength, anim.mNodes.size());
    }
}

} // namespace

int runPuppets(const CliArguments&) {
    int failed = 0;
    cocos2d::CCFileUtils::setResourcePath(resolvePath("data").string());
    if (!PuppetRegistry::loadAttachmentsFile("Attachments")) {
        std::printf("failed to load attachments\n");
        ++failed;
    }
    if (!Database::init()) {
        std::printf("failed to init database\n");
        return 1;
    }
    // The names in order of first mention.
    std::vector<std::string> names;
    std::set<std::string> seen;
    const auto add = [&](const std::string& name) {
        if (!name.empty() && seen.insert(name).second)
            names.push_back(name);
    };
    for (int32_t id = 0; id < Database::protoCount(); ++id) {
        const ProtoEntity* proto = Database::getProto(id);
        add(proto->mPuppetName);
        for (const std::string& upgrade : proto->mUpgradePuppetNames)
            add(upgrade);
        if (proto->mProjectileInfo)
            add(proto->mProjectileInfo->mPuppet);
    }
    for (const char* name : cEffectPuppets)
        add(name);

    for (const std::string& name : names) {
        const int32_t index = PuppetRegistry::loadPuppet(name);
        if (index < 0) {
            std::printf("%s: failed to load\n", name.c_str());
            ++failed;
            continue;
        }
        std::printf("%d %s\n", index, name.c_str());
        printPuppet(*PuppetRegistry::getPuppet(index));
    }
    const int missing = printAttachments();
    printAnims();
    failed += missing;
    std::printf("%zu puppets, %d attachments (missing images: %d), %d animations; %d failures\n",
                names.size(), PuppetRegistry::attachmentCount(), missing,
                PuppetRegistry::animCount(), failed);
    return failed > 0 ? 1 : 0;
}
