#include "rules/ActionResultInfo.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"

#include "content/protos/AuraType.h"
#include "content/protos/ProtoEntity.h"

ActionResultInfo::ActionResultInfo(Game* game, int32_t entityId)
    : mEntityID(entityId), mInitialAuraFlags(cAuraTypeCount, false), mInitialFlags(2, false),
      mFinalFlags(2, false) {
    captureInitialState(game);
}

ActionResultInfo::~ActionResultInfo() = default;

void ActionResultInfo::captureInitialState(Game* game) {
    const Entity* entity = game != nullptr ? game->getEntity(mEntityID) : nullptr;
    if (entity == nullptr)
        return;
    mInitialState = entity->mState;
    const int32_t maxHealth = entity->getMaxHealth();
    mInitialHealthFraction =
        maxHealth > 0 ? static_cast<float>(entity->mHealth) / static_cast<float>(maxHealth) : 0.0f;

    // Auras the entity shows: knocked out, and those of its items.
    mInitialAuraFlags.assign(cAuraTypeCount, false);
    auto setAura = [this](int32_t aura) {
        if (aura >= 0 && aura < cAuraTypeCount)
            mInitialAuraFlags[static_cast<size_t>(aura)] = true;
    };
    if (entity->mState == cStateKnockedOut)
        setAura(cAuraKnockedOut);
    int32_t upgrades = 0;
    const EntityGrid* inventory = entity->mInventory;
    for (int32_t i = 0; inventory != nullptr && i < inventory->getSlotCount(); ++i) {
        const Entity* item = inventory->getEntityAtIndex(i);
        const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
        if (proto == nullptr || !proto->mBuffInfo || proto->mBuffInfo->mAuraType == -1)
            continue;
        setAura(proto->mBuffInfo->mAuraType);
        if (proto->mBuffInfo->mUpgradesPuppet)
            ++upgrades;
    }
    const ProtoEntity* own = entity->getProto();
    if (entity->mState == cStateDeployedToGameBoard && own != nullptr && own->mBuffInfo)
        setAura(own->mBuffInfo->mAuraType);

    mInitialUpgradeBase = entity->mPuppetUpgradeLevel;
    mInitialSlot = entity->mSlot;
    if (entity->hasBloodrageBuff()) {
        mInitialFlags[cFlagBloodrage] = true;
        ++upgrades;
    }
    mInitialPuppetUpgradeLevel = mInitialUpgradeBase + upgrades;
    mInitialCharge = entity->mCharge;
}
