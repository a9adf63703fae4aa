// Entity: ongoing links. An entity whose proto has an "Ongoing" part keeps
// attacking or healing one linked target; the link starts with an attack or
// heal action, carries buffs over to the target, and breaks by range, when
// either end is down, or by the proto's stop rules.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"

#include <vector>

namespace {

// Sets the link and its records, and copies the entity's buffs that begin
// with a link onto the target.
void establishLink(Entity& source, Entity& target, CandidateAction* action) {
    source.mOngoingTargetEntityID = target.mId;
    std::vector<int32_t> copied;
    const EntityGrid* inventory = source.mInventory;
    for (int32_t i = 0; inventory != nullptr && i < inventory->getSlotCount(); ++i) {
        const Entity* item = inventory->getEntityAtIndex(i);
        const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
        if (proto != nullptr && proto->mType == cEntityBuff && proto->mBuffInfo &&
            proto->mBuffInfo->mEquipWithOngoingBegin)
            copied.push_back(item->mProtoId);
    }
    for (const int32_t protoId : copied) {
        const int32_t copy = source.mGame->createEntity(protoId, source.mOwner);
        if (copy < 0)
            continue;
        source.mGame->getEntity(copy)->mCreatorEntityID = source.mId;
        if (!target.equip(copy, action))
            source.mGame->discardNewestEntity(copy); // refused: not kept in play
    }
    if (action == nullptr)
        return;
    ActionResultInfo* result = action->getOrCreateResult(source.mId);
    result->mFinalOngoingTarget = target.mId;
    result->mEstablishedOngoingLink = true;
    action->mLinkSourceEntity = source.mId;
    action->mLinkTargetEntity = target.mId;
}

} // namespace

bool Entity::startOngoingAttack(int32_t targetId, CandidateAction* action) {
    const ProtoEntity* proto = getProto();
    Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (proto == nullptr || !proto->mOngoingAttack || target == nullptr)
        return false;
    if (mOngoingTargetEntityID >= 0)
        breakOngoingLink(action);
    if (ActionResultInfo* result = resultIn(action))
        result->mInitialOngoingTarget = mOngoingTargetEntityID;
    establishLink(*this, *target, action);
    return true;
}

void Entity::startOngoingHeal(int32_t targetId, CandidateAction* action) {
    const ProtoEntity* proto = getProto();
    Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (proto == nullptr || !proto->mOngoingHeal || target == nullptr)
        return;
    // A link that hands out an item at full health waits for full health.
    const int32_t fullHealthItem = proto->mLinkedFullHealthAttachProto;
    if (fullHealthItem >= 0 && target->mHealth < target->getMaxHealth())
        return;
    const int32_t previous = mOngoingTargetEntityID;
    if (previous >= 0)
        breakOngoingLink(action);
    if (ActionResultInfo* result = resultIn(action))
        result->mInitialOngoingTarget = previous;
    establishLink(*this, *target, action);
    if (fullHealthItem >= 0 && target->mHealth >= target->getMaxHealth())
        giveItem(fullHealthItem, target->mOwner, mId, target, action);

    const ProtoEntity* targetProto = target->getProto();
    if (proto->mName == "kx4a-mirelle" && targetProto != nullptr &&
        targetProto->mName == "kx4a-gorvan")
        AchievementTracker::setPendingValue(cAchievementMirelleLinksGorvan, 0);
}

void Entity::updateOngoingLink(CandidateAction* action) {
    for (Entity* item : items())
        item->updateOngoingLink(action);
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || mGame == nullptr || (!proto->mOngoingAttack && !proto->mOngoingHeal) ||
        mOngoingTargetEntityID < 0)
        return;
    const int32_t linked = mOngoingTargetEntityID;
    Entity* target = mGame->getEntity(linked);
    bool breaks = target == nullptr || !isAlive() || !target->isAlive() ||
                  distanceTo(linked, true) > proto->mOngoingRange;
    // The source's own later actions, as its stop rules say.
    const bool ownLaterAction =
        action != nullptr && action->mSourceEntity == mId &&
        !(action->mLinkSourceEntity == mId && action->mLinkTargetEntity == linked);
    if (!breaks && ownLaterAction) {
        const int32_t type = action->mActionType;
        const bool spared = proto->mDontStopOnLinkTarget && action->mTargetEntity == linked;
        breaks =
            (proto->mStopOnAttack && (type == cActionAttack || type == cActionHeal) && !spared) ||
            (proto->mStopOnMove && type == cActionMove);
    }
    if (!breaks)
        return;
    if (target != nullptr && proto->mLinkedFullHealthAttachProto >= 0)
        target->removeEquippedItemMatching(proto->mLinkedFullHealthAttachProto, -1, false);
    breakOngoingLink(action);
}

void Entity::breakOngoingLink(CandidateAction* action) {
    const int32_t linked = mOngoingTargetEntityID;
    if (linked < 0)
        return;
    if (Entity* target = mGame != nullptr ? mGame->getEntity(linked) : nullptr) {
        // Buffs that end with the link leave the target.
        std::vector<int32_t> ending;
        for (const Entity* item : target->items()) {
            const ProtoEntity* proto = item->getProto();
            if (proto != nullptr && proto->mType == cEntityBuff && proto->mBuffInfo &&
                proto->mBuffInfo->mUnequipWithOngoingEnd)
                ending.push_back(item->mProtoId);
        }
        for (const int32_t protoId : ending)
            target->removeEquippedItemMatching(protoId, mId, false);
    }
    if (ActionResultInfo* result = resultIn(action)) {
        result->mInitialOngoingTarget = linked;
        result->mFinalOngoingTarget = -1;
        result->mBrokeOngoingLink = true;
    }
    mOngoingTargetEntityID = -1;
}

namespace {

// Executes a sub-action of cost 0 by source aimed at target's square (an
// item is equipped on it, a linked target attacked or healed) and hands it
// to the action, which drops it when it fails.
void addOngoingSubAction(CandidateAction& action, Entity& target, int32_t source, int32_t type) {
    auto* subAction = new CandidateAction(action.mGame, 0);
    if (!subAction->initFromEntity(&target, source, type)) {
        subAction->release();
        return;
    }
    subAction->mIsSubAction = true;
    action.addSubAction(subAction);
}

} // namespace

void Entity::applyOngoingEffects(CandidateAction* action) {
    for (Entity* item : items())
        item->applyOngoingEffects(action);
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || mGame == nullptr || action == nullptr)
        return;

    // Auto-attach: the item comes when the turn's last action point is
    // spent, by this side ("endOfMyTurn") or the other ("endOfOpponentTurn").
    const Entity* actor = mGame->getEntity(action->mSourceEntity);
    const Player* spender = actor != nullptr ? actor->getOwner() : nullptr;
    const int32_t attachProto = proto->mAutoAttachProto;
    if (attachProto >= 0 && spender != nullptr) {
        const bool turnMatches = actor->mOwner == mOwner ? proto->mAutoAttachAtEndOfMyTurn
                                                         : proto->mAutoAttachAtEndOfOpponentTurn;
        if (turnMatches && spender->mActionPoints == 1 && action->mActionPointCost == 1 &&
            !hasEquippedProto(attachProto) && isAlive()) {
            const int32_t item = mGame->createEntity(attachProto, mOwner);
            if (item >= 0) {
                mGame->getEntity(item)->mCreatorEntityID = mId;
                addOngoingSubAction(*action, *this, item, cActionEquip);
            }
        }
    }

    // The link keeps attacking an enemy or healing an ally.
    Entity* linked = mGame->getEntity(mOngoingTargetEntityID);
    if (linked == nullptr)
        return;
    if (proto->mOngoingAttack && linked->mOwner != mOwner)
        addOngoingSubAction(*action, *linked, mId, cActionAttack);
    else if (proto->mOngoingHeal && linked->mOwner == mOwner)
        addOngoingSubAction(*action, *linked, mId, cActionHeal);
}
