#include "content/protos/ProtoEntity.h"

#include "puppet/PuppetRegistry.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<std::string_view, 6> cEntityTypeNames = {
    "unit", "gear", "buff", "power", "projectile", "effect",
};

} // namespace

int32_t entityTypeFromName(std::string_view name) {
    for (size_t i = 0; i < cEntityTypeNames.size(); ++i)
        if (cEntityTypeNames[i] == name)
            return static_cast<int32_t>(i);
    return -1;
}

ProtoEntity::ProtoEntity() = default;

ProtoEntity::~ProtoEntity() = default;

int32_t ProtoEntity::getUpgradePuppetHandle(int32_t i) {
    if (i < 0 || static_cast<size_t>(i) >= mUpgradePuppetHandles.size())
        return -1;
    int32_t& handle = mUpgradePuppetHandles[i];
    if (handle < 0 && static_cast<size_t>(i) < mUpgradePuppetNames.size())
        handle = PuppetRegistry::loadPuppet(mUpgradePuppetNames[i]);
    return handle;
}

bool ProtoEntity::findEffectOverride(int32_t impactType, EffectOverride* out) const {
    if (!out)
        return false;
    for (const EffectOverride& record : mEffectOverrides) {
        if (record.mImpactType == impactType) {
            *out = record;
            return true;
        }
    }
    return false;
}

void ProtoEntity::dump() const {
    std::printf("    ProtoEntity '%s' (id: %d): \"%s\"", mName.c_str(), mId, mDisplayName.c_str());
    if (!mClassName.empty())
        std::printf(", class \"%s\"", mClassName.c_str());
    std::printf(" (art: %s)\n", mArt.c_str());
}
