#include "puppet/EffectGroup.h"

#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCParticleSystemQuad.h"
#include "puppet/AnimState.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include <cstdlib>
#include <memory>
#include <unordered_map>

using namespace cocos2d;

namespace {

constexpr int32_t cStateAbility = 22;
constexpr int32_t cStatePlay = 30;

struct Registry {
    std::vector<std::unique_ptr<EffectGroup>> mGroups;
    std::unordered_map<std::string, int32_t> mNames;
};

Registry& registry() {
    static Registry theRegistry;
    return theRegistry;
}

// A decimal attribute read with strtod; 0 when missing or unreadable.
float decimalAttribute(const XmlNode* element, const char* name) {
    std::string text;
    if (!xmlAttrString(element, name, text))
        return 0.0f;
    return static_cast<float>(std::strtod(text.c_str(), nullptr));
}

} // namespace

int32_t EffectGroup::load(std::string_view name) {
    Registry& groups = registry();
    const std::string key(name);
    if (const auto found = groups.mNames.find(key); found != groups.mNames.end())
        return found->second;
    XMLHelper holder;
    XmlNode* root = nullptr;
    if (!loadXmlFile(name, root, holder, "EffectGroup") || !root)
        return -1;
    auto group = std::make_unique<EffectGroup>();
    group->parse(root);
    const auto index = static_cast<int32_t>(groups.mGroups.size());
    groups.mGroups.push_back(std::move(group));
    groups.mNames.emplace(key, index);
    return index;
}

EffectGroup* EffectGroup::get(int32_t index) {
    Registry& groups = registry();
    if (index < 0 || index >= static_cast<int32_t>(groups.mGroups.size()))
        return nullptr;
    return groups.mGroups[index].get();
}

bool EffectGroup::parse(const XmlNode* root) {
    for (const XmlNode* child = root->first_node(); child; child = child->next_sibling()) {
        const std::string_view element(child->name(), child->name_size());
        std::string file;
        const bool named = xmlAttrString(child, "Filename", file);
        if (element == "Particle") {
            if (!named)
                continue;
            Entry entry;
            entry.mKind = cParticle;
            entry.mFilename = file;
            entry.mOffset =
                CCPoint(decimalAttribute(child, "OffsetX"), decimalAttribute(child, "OffsetY"));
            mEntries.push_back(std::move(entry));
        } else if (element == "Puppet") {
            Entry entry;
            entry.mKind = cPuppet;
            entry.mPuppet = PuppetRegistry::loadPuppet(file);
            mEntries.push_back(std::move(entry));
        }
    }
    return true;
}

void EffectGroup::spawn(const EffectGroup* group, CCNode* parent, const CCPoint& position,
                        int zOrder, float delay, bool ability, const ccColor3B& colour) {
    if (!group || !parent)
        return;
    for (const Entry& entry : group->mEntries) {
        if (entry.mKind == cParticle) {
            auto* system = new CCParticleSystemQuad();
            system->initWithFile(entry.mFilename);
            system->setIsAutoRemoveOnFinish(true);
            system->setPosition(ccpAdd(position, entry.mOffset));
            system->setFlipX(false);
            parent->addChild(system, zOrder);
            system->release();
            continue;
        }
        PuppetInstance* puppet = PuppetInstance::create(entry.mPuppet, colour);
        parent->addChild(puppet, zOrder);
        puppet->setPosition(position);
        puppet->setIsVisible(false);
        puppet->setFlipX(false);
        puppet->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), CCShow::action(),
            PuppetAnimAction::actionWithAnim(ability ? cStateAbility : cStatePlay, false, 0.0f,
                                             0.0f, -1, 0.0f, nullptr)));
    }
}

void EffectGroup::clearRegistry() {
    Registry& groups = registry();
    for (auto& group : groups.mGroups)
        destroy(group.release());
    groups.mGroups.clear();
    groups.mNames.clear();
}

void EffectGroup::destroy(EffectGroup* group) {
    delete group;
}
