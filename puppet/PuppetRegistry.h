#pragma once

// The one process-wide store of loaded puppet content. Every puppet
// definition, attachment and animation is loaded once, by file name, and is
// from then on addressed by its integer index (-1 none). Bone names and
// replacement-category names are interned into dense ids (0, 1, 2, ... in
// order of first use) that definitions, tags and instances compare instead of
// strings. Names are matched exactly.
//
// A failed load is not remembered: the next call for that name reads the file
// again. Loading a puppet loads the attachments and animations it names
// through the same registry, so indices may be assigned in nested order.
// Indices stay valid until clear(), which tests call between cases and which
// runs at process exit. Main thread only.

#include "content/XMLHelper.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class PuppetAnim;
class PuppetAttachment;
class PuppetDefinition;

class PuppetRegistry {
public:
    ~PuppetRegistry();

    // Loads "data/<name>.Puppet" the first time and returns its index; the
    // same name gives the same index without reading the file again. -1 when
    // the file cannot be read or parsed or holds no element.
    static int32_t loadPuppet(std::string_view name);
    // The attachment of that name: from element when one is given (an
    // "Attachment" of the attachments file or of a puppet's "Attachments"),
    // else from "data/<name>.PuppetAttachment". -1 as loadPuppet.
    static int32_t loadAttachment(std::string_view name, const XmlNode* element = nullptr);
    // Loads "data/<name>.PuppetAnim" the first time; -1 as loadPuppet.
    static int32_t loadAnim(std::string_view name);
    // Registers every named "Attachment" child of "data/<name>.xml" under its
    // "name"; unnamed and failing ones are skipped. False when the file cannot
    // be read or parsed or holds no element. Game-data load calls it with
    // "Attachments" before any puppet is loaded.
    static bool loadAttachmentsFile(std::string_view name);

    // The id of a bone or replacement-category name; an unseen name gets the
    // next id.
    static int32_t boneIndex(std::string_view name);
    static int32_t categoryIndex(std::string_view name);

    // The loaded objects by index; null when the index is out of range.
    static const PuppetDefinition* getPuppet(int32_t index);
    static const PuppetAttachment* getAttachment(int32_t index);
    static const PuppetAnim* getAnim(int32_t index);
    static int32_t puppetCount();
    static int32_t attachmentCount();
    static int32_t animCount();

    // The name an index or id was loaded or interned under; empty when none.
    // For listings, not for per-frame use.
    static std::string attachmentName(int32_t index);
    static std::string animName(int32_t index);
    static std::string boneName(int32_t id);
    static std::string categoryName(int32_t id);

    // Deletes every definition, attachment and animation and forgets every
    // name, bone and category.
    static void clear();

private:
    // Found by a string_view without making a string of it.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    using NameMap = std::unordered_map<std::string, int32_t, NameHash, std::equal_to<>>;

    PuppetRegistry() = default;
    static PuppetRegistry& instance();
    static int32_t intern(NameMap& names, std::string_view name);
    static std::string nameOf(const NameMap& names, int32_t index);
    void clearStores();

    std::vector<std::unique_ptr<PuppetDefinition>> mPuppets; // index = load order
    NameMap mPuppetNames;
    std::vector<std::unique_ptr<PuppetAttachment>> mAttachments;
    NameMap mAttachmentNames;
    std::vector<std::unique_ptr<PuppetAnim>> mAnims;
    NameMap mAnimNames;
    NameMap mBoneNames;
    NameMap mCategoryNames;
};
