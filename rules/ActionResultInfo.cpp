#include "rules/ActionResultInfo.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"

#include "content/protos/AuraType.h"
#include "content/protos/Database.h"

namespace {

// What either half of a record holds, read from the live entity.
struct EntitySnapshot {
    int32_t state = -1;
    float healthFraction = 0.0f;
    FlagBits auraFlags;
    int32_t upgradeBase = 0;
    GridSlot slot;
    bool bloodrage = false;
    int32_t puppetUpgradeLevel = 0;
    int32_t charge = 0;
};

void setAura(FlagBits& flags, int32_t aura) {
    if (aura >= 0 && aura < ActionResultInfo::cAuraFlagCount)
        flags[static_cast<size_t>(aura)] = true;
}

// The auras shown on the entity: knocked out, those of its items and, on
// the board, its own; every aura item that upgrades the puppet and an
// equipped bloodrage buff each count one upgrade level.
EntitySnapshot snapshotOf(const Entity& entity) {
    EntitySnapshot snap;
    snap.state = entity.mState;
    snap.healthFraction = entity.getHealthFraction();
    snap.auraFlags.assign(ActionResultInfo::cAuraFlagCount, false);
    snap.auraFlags[cAuraKnockedOut] = entity.mState == cStateKnockedOut;
    int32_t upgrades = 0;
    if (const EntityGrid* items = entity.mInventory) {
        for (int32_t i = 0; i < items->getSlotCount(); ++i) {
            const Entity* item = items->getEntityAtIndex(i);
            const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
            if (proto == nullptr || !proto->mBuffInfo || proto->mBuffInfo->mAuraType == -1)
                continue;
            setAura(snap.auraFlags, proto->mBuffInfo->mAuraType);
            if (proto->mBuffInfo->mUpgradesPuppet)
                ++upgrades;
        }
    }
    const ProtoEntity* own = entity.getProto();
    if (entity.mState == cStateDeployedToGameBoard && own != nullptr && own->mBuffInfo)
        setAura(snap.auraFlags, own->mBuffInfo->mAuraType);
    snap.upgradeBase = entity.mPuppetUpgradeLevel;
    snap.slot = entity.mSlot;
    snap.bloodrage = entity.hasBloodrageBuff();
    if (snap.bloodrage)
        ++upgrades;
    snap.puppetUpgradeLevel = snap.upgradeBase + upgrades;
    snap.charge = entity.mCharge;
    return snap;
}

const Entity* entityOf(const Game* game, int32_t id) {
    return game != nullptr ? game->getEntity(id) : nullptr;
}

} // namespace

ActionResultInfo::ActionResultInfo(int32_t entityID, const Game* game)
    : mEntityID(entityID), mInitialAuraFlags(cAuraFlagCount), mFinalAuraFlags(cAuraFlagCount),
      mInitialFlags(cFlagCount), mFinalFlags(cFlagCount) {
    // Without a game (a record being read) there is nothing to capture.
    if (game != nullptr)
        captureInitialState(game);
}

ActionResultInfo::~ActionResultInfo() = default;

void ActionResultInfo::captureInitialState(const Game* game) {
    store(entityOf(game, mEntityID),
          Half{mInitialState, mInitialHealthFraction, mInitialAuraFlags, mInitialUpgradeBase,
               mInitialSlot, mInitialFlags, mInitialPuppetUpgradeLevel, mInitialCharge});
}

void ActionResultInfo::captureFinalState(const Game* game) {
    store(entityOf(game, mEntityID),
          Half{mFinalState, mFinalHealthFraction, mFinalAuraFlags, mFinalUpgradeBase, mFinalSlot,
               mFinalFlags, mFinalPuppetUpgradeLevel, mFinalCharge});
}

void ActionResultInfo::store(const Entity* entity, Half half) {
    if (entity == nullptr)
        return;
    EntitySnapshot snap = snapshotOf(*entity);
    half.state = snap.state;
    half.healthFraction = snap.healthFraction;
    half.auraFlags = std::move(snap.auraFlags);
    half.upgradeBase = snap.upgradeBase;
    half.slot = snap.slot;
    // Bit 1 belongs to the equip rule and is kept.
    half.flags.resize(cFlagCount, false);
    half.flags[cFlagBloodrage] = snap.bloodrage;
    half.puppetUpgradeLevel = snap.puppetUpgradeLevel;
    half.charge = snap.charge;
}
