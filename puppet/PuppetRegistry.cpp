#include "puppet/PuppetRegistry.h"

#include "puppet/PuppetAnim.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"

namespace {

// Loads an object into store under name, once: from element when given, else
// from "data/<name>.<extension>". The index, or -1 when the file cannot be
// read, holds no element or the object refuses it.
template <class Object, class NameMap, class Load>
int32_t loadOnce(std::vector<std::unique_ptr<Object>>& store, NameMap& names, std::string_view name,
                 std::string_view extension, const XmlNode* element, Load load) {
    if (const auto found = names.find(name); found != names.end())
        return found->second;
    std::string key(name); // name may view bytes that the nested loads move

    std::unique_ptr<XMLHelper> holder; // on the heap: its parse pool is large, loads nest
    if (!element) {
        holder = std::make_unique<XMLHelper>();
        XmlNode* root = nullptr;
        if (!loadXmlFile(name, root, *holder, extension) || !root)
            return -1;
        element = root;
    }
    auto object = std::make_unique<Object>();
    if (!load(*object, element))
        return -1;
    // Nested loads may have grown the store meanwhile: the index is taken now.
    const auto index = static_cast<int32_t>(store.size());
    store.push_back(std::move(object));
    names.emplace(std::move(key), index);
    return index;
}

template <class Object>
const Object* at(const std::vector<std::unique_ptr<Object>>& store, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= store.size())
        return nullptr;
    return store[static_cast<size_t>(index)].get();
}

} // namespace

PuppetRegistry::~PuppetRegistry() {
    clearStores();
}

PuppetRegistry& PuppetRegistry::instance() {
    static PuppetRegistry registry;
    return registry;
}

int32_t PuppetRegistry::loadPuppet(std::string_view name) {
    PuppetRegistry& registry = instance();
    return loadOnce(registry.mPuppets, registry.mPuppetNames, name, "Puppet", nullptr,
                    [](PuppetDefinition& puppet, const XmlNode* root) { return puppet.load(root); });
}

int32_t PuppetRegistry::loadAttachment(std::string_view name, const XmlNode* element) {
    PuppetRegistry& registry = instance();
    return loadOnce(registry.mAttachments, registry.mAttachmentNames, name, "PuppetAttachment",
                    element, [](PuppetAttachment& attachment, const XmlNode* root) {
                        return attachment.load(root);
                    });
}

int32_t PuppetRegistry::loadAnim(std::string_view name) {
    PuppetRegistry& registry = instance();
    return loadOnce(registry.mAnims, registry.mAnimNames, name, "PuppetAnim", nullptr,
                    [](PuppetAnim& anim, const XmlNode* root) { return anim.loadNodes(root); });
}

bool PuppetRegistry::loadAttachmentsFile(std::string_view name) {
    const auto holder = std::make_unique<XMLHelper>();
    XmlNode* root = nullptr;
    if (!loadXmlFile(name, root, *holder, "xml") || !root)
        return false;
    std::string attachmentName;
    for (const XmlNode* child = root->first_node(); child; child = child->next_sibling())
        if (xmlNameEquals(child, "Attachment") && xmlAttrString(child, "name", attachmentName))
            loadAttachment(attachmentName, child);
    return true;
}

int32_t PuppetRegistry::intern(NameMap& names, std::string_view name) {
    if (const auto found = names.find(name); found != names.end())
        return found->second;
    const auto next = static_cast<int32_t>(names.size());
    return names.emplace(std::string(name), next).first->second;
}

int32_t PuppetRegistry::boneIndex(std::string_view name) {
    return intern(instance().mBoneNames, name);
}

int32_t PuppetRegistry::categoryIndex(std::string_view name) {
    return intern(instance().mCategoryNames, name);
}

const PuppetDefinition* PuppetRegistry::getPuppet(int32_t index) {
    return at(instance().mPuppets, index);
}

const PuppetAttachment* PuppetRegistry::getAttachment(int32_t index) {
    return at(instance().mAttachments, index);
}

const PuppetAnim* PuppetRegistry::getAnim(int32_t index) {
    return at(instance().mAnims, index);
}

int32_t PuppetRegistry::puppetCount() {
    return static_cast<int32_t>(instance().mPuppets.size());
}

int32_t PuppetRegistry::attachmentCount() {
    return static_cast<int32_t>(instance().mAttachments.size());
}

int32_t PuppetRegistry::animCount() {
    return static_cast<int32_t>(instance().mAnims.size());
}

std::string PuppetRegistry::nameOf(const NameMap& names, int32_t index) {
    for (const auto& [name, stored] : names)
        if (stored == index)
            return name;
    return {};
}

std::string PuppetRegistry::attachmentName(int32_t index) {
    return nameOf(instance().mAttachmentNames, index);
}

std::string PuppetRegistry::animName(int32_t index) {
    return nameOf(instance().mAnimNames, index);
}

std::string PuppetRegistry::boneName(int32_t id) {
    return nameOf(instance().mBoneNames, id);
}

std::string PuppetRegistry::categoryName(int32_t id) {
    return nameOf(instance().mCategoryNames, id);
}

void PuppetRegistry::clear() {
    instance().clearStores();
}

void PuppetRegistry::clearStores() {
    mPuppets.clear();
    mAttachments.clear();
    mAnims.clear();
    mPuppetNames.clear();
    mAttachmentNames.clear();
    mAnimNames.clear();
    mBoneNames.clear();
    mCategoryNames.clear();
}
