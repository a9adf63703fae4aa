#include "puppet/PuppetRegistry.h"

#include "content/XMLHelper.h"

PuppetRegistry& PuppetRegistry::instance() {
    static PuppetRegistry registry;
    return registry;
}

int32_t PuppetRegistry::loadPuppet(std::string_view name) {
    PuppetRegistry& registry = instance();
    const std::string key(name);
    if (const auto found = registry.mPuppetNames.find(key); found != registry.mPuppetNames.end())
        return found->second;

    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadXmlFile(name, root, holder, "Puppet") || !root)
        return -1;

    const auto index = static_cast<int32_t>(registry.mPuppets.size());
    registry.mPuppets.push_back(key);
    registry.mPuppetNames.emplace(key, index);
    return index;
}

int32_t PuppetRegistry::categoryIndex(std::string_view name) {
    auto& names = instance().mCategoryNames;
    const auto next = static_cast<int32_t>(names.size());
    return names.try_emplace(std::string(name), next).first->second;
}

int32_t PuppetRegistry::puppetCount() {
    return static_cast<int32_t>(instance().mPuppets.size());
}

void PuppetRegistry::clear() {
    PuppetRegistry& registry = instance();
    registry.mPuppets.clear();
    registry.mPuppetNames.clear();
    registry.mCategoryNames.clear();
}
