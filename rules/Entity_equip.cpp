// Entity: equipping a unit with gear or a buff. The item moves into the
// unit's equipment grid; raised max health comes with matching health; a
// buff also heals (or revives), charges and shields at once, attaches items
// to the unit and its ongoing target, takes named items off, and a one-shot
// ("Use") buff is consumed at once.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/RulesMath.h"

#include "content/protos/Database.h"

#include <cstdio>
#include <vector>

namespace {

// Items that attach items to linked units may chain; data could make the
// chain endless, so it stops at this depth.
constexpr int32_t cMaxLinkedAttachDepth = 8;
int32_t gLinkedAttachDepth = 0;

} // namespace

bool Entity::giveItem(int32_t protoId, int32_t owner, int32_t creatorId, Entity* target,
                      CandidateAction* action) const {
    if (mGame == nullptr || target == nullptr)
        return false;
    const int32_t itemId = mGame->createEntity(protoId, owner);
    if (itemId < 0)
        return false;
    mGame->getEntity(itemId)->mCreatorEntityID = creatorId;
    if (target->equip(itemId, action))
        return true;
    // A refused item never comes into play; it leaves the game's table
    // rather than lingering there, and in every saved game, on no grid.
    mGame->discardNewestEntity(itemId);
    return false;
}

void Entity::attachToLinkedUnits(const Entity* buffItem, CandidateAction* action) {
    if (gLinkedAttachDepth >= cMaxLinkedAttachDepth) {
        std::printf("WARNING: linked equipment nested too deeply, not attached\n");
        return;
    }
    buffItem->getProto()->mBuffInfo->collectLinkedAttachProtos(mProtoId);
    const std::vector<int32_t> protos = BuffInfo::linkedAttachProtos();
    Entity* target = mGame->getEntity(mOngoingTargetEntityID);
    ++gLinkedAttachDepth;
    for (const int32_t protoId : protos) {
        giveItem(protoId, mOwner, buffItem->mId, this, action);
        if (target != nullptr)
            giveItem(protoId, mOwner, buffItem->mId, target, action);
    }
    --gLinkedAttachDepth;
}

bool Entity::equip(int32_t itemId, CandidateAction* action) {
    Entity* item = mGame != nullptr ? mGame->getEntity(itemId) : nullptr;
    if (item == nullptr || !item->canEquip(this))
        return false;
    const ProtoEntity* itemProto = item->getProto();
    const ProtoEntity* proto = getProto();
    ActionResultInfo* result = resultIn(action);

    if (itemProto->mReplaceEquip)
        for (const Entity* held : items())
            if (held != item && held->mProtoId == item->mProtoId) {
                removeEquippedItem(held->mId);
                break;
            }

    const int32_t healthBefore = mHealth;
    const int32_t maxHealthBefore = getMaxHealth();
    const bool stored = item->mGrid != nullptr
                            ? item->mGrid->moveEntityToFirstFree(itemId, mInventory)
                            : mInventory->addEntity(itemId);
    if (!stored)
        return false; // a full equipment grid takes nothing

    if (const BuffInfo* buff = itemProto->mBuffInfo.get()) {
        float maxHealth = static_cast<float>(proto->mHitPoints);
        buff->applyStatEffects(cBuffModifyStat, cStatMaxHitpoints, maxHealth, 1.0f);
        const int32_t raised = truncateToInt(maxHealth);
        if (raised > proto->mHitPoints)
            addHealth(raised - proto->mHitPoints);
    }
    if (const BuffInfo* buff = itemProto->mBuffInfo.get();
        buff && itemProto->mType == cEntityBuff) {
        float healed = static_cast<float>(mHealth);
        buff->applyStatEffects(cBuffHeal, cStatHitpoints, healed, 1.0f);
        const int32_t gain = truncateToInt(healed) - mHealth;
        if (isAlive())
            addHealth(gain);
        else
            revive(gain, itemProto->mReviveHPMultiplier);

        float charge = static_cast<float>(mCharge);
        buff->applyStatEffects(cBuffHeal, cStatCharge, charge, 1.0f);
        mCharge = truncateToInt(charge);

        // Shields the buff adds are worked out on the unit's whole shield
        // total; only the gain is kept as the unit's own shields, so shields
        // that other items give are not counted twice.
        const int32_t total = getShields();
        float shields = static_cast<float>(total);
        buff->applyStatEffects(cBuffAddShields, cStatShields, shields, 1.0f);
        mShields = clampToInt(static_cast<double>(mShields) + truncateToInt(shields) - total);

        if (buff->hasEffectOfType(cBuffAttachProtoToLinkedUnits) && mOngoingTargetEntityID >= 0)
            attachToLinkedUnits(item, action);
        if (buff->hasEffectOfType(cBuffUnequipProto)) {
            buff->collectUnequipProtos();
            const std::vector<int32_t> protos = BuffInfo::unequipProtos();
            // A proto name that resolved to nothing matches no item (a
            // negative id would mean "any" to the removal).
            for (const int32_t protoId : protos)
                if (protoId >= 0)
                    removeEquippedItemMatching(protoId, -1, false);
        }
        if (buff->mConsumeType == cConsumeUse)
            removeEquippedItem(itemId);
    }

    if (item->mState != cStateEquipped && item->mState != cStateDead) {
        if (CocosEntityLink* view = item->getEntityLink())
            view->hideTooltipIndicator();
        item->changeState(cStateEquipped);
    }
    mGame->removeTouchTarget(item);

    if (result != nullptr) {
        result->mHealthChange = mHealth - healthBefore;
        result->mMaxHealthChanged = getMaxHealth() > maxHealthBefore;
        result->mFinalFlags[ActionResultInfo::cFlagEquipped] = true;
        result->mEquippedGearProtoID = item->mProtoId;
    }

    // The local player's knight with weapon, armor and resist helm.
    if (proto->mName == "knight" && mOwner == mGame->mCurrentPlayer && mGame->isLocalTurn() &&
        hasEquippedProto(Database::getProtoIdByName("weapon")) &&
        hasEquippedProto(Database::getProtoIdByName("armor")) &&
        hasEquippedProto(Database::getProtoIdByName("resistHelm")))
        AchievementTracker::setPendingValue(cAchievementFullyEquipKnight, 0);
    return true;
}
