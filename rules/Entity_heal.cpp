// Entity: healing and ally abilities. A healer mends one ally, an area or a
// chain of allies (each jump healing less), revives knocked-out ones, may
// attach an item to each patient, pays for the healing with its own health
// when it drains, and heals itself when it is bound to its patients. An ally
// ability spends charge to attach an item to an ally and may swap squares
// with it.
//
// A draining healer's budget is what its health above 100 pays for; the
// healing stops once the budget is spent (health moves in steps of 5, so the
// last patient can take it below 0), and no heal is ever negative.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/RulesMath.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The current player's score for a deed of the local player's, when a scene
// shows the game.
void scoreDeed(Game& game, int32_t points) {
    if (gGameScene == nullptr || !game.isLocalTurn())
        return;
    game.addScore(game.mCurrentPlayer, points * game.getScoreMultiplier(game.mCurrentPlayer));
}

} // namespace

void Entity::heal(int32_t targetId, CandidateAction* action) {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    if (mGame == nullptr || info == nullptr)
        return;
    // The automatic heal of a link that does not heal.
    if (mOngoingTargetEntityID >= 0 && proto->mOngoingMultiplier == 0.0f && action != nullptr &&
        action->mIsSubAction)
        return;
    const Entity* target = mGame->getEntity(targetId);
    const int32_t power = getPower(target);
    ActionResultInfo* own = resultIn(action);
    if (own != nullptr) {
        own->mInitialHealthFraction = getHealthFraction();
        own->mPower = power;
    }

    std::vector<int32_t> patients;
    bool chain = false;
    if (proto->mAOERadius >= 1 && target != nullptr && mGrid != nullptr) {
        mGrid->getEntityIdsInRange(patients, target->mSlot, proto->mAOERadius, true,
                                   GridSlot(0, 0));
    } else if (info->mChainRadius >= 1 && info->mChainJumps >= 1 && target != nullptr) {
        collectChain(patients, target, info->mChainJumps);
        chain = true;
    } else if (target != nullptr) {
        patients.push_back(targetId);
    }

    const bool drains = proto->mHealingDrain > 0.0f;
    int32_t budget = 0;
    if (drains) {
        budget = truncateToInt(static_cast<float>(mHealth - 100) / proto->mHealingDrain);
        if (budget < 1)
            return;
    }

    const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get();
    const float roleBonus = getRoleBonus();
    int32_t total = 0;
    int32_t chained = 0;
    bool revivedOrFull = false;
    for (size_t i = 0; i < patients.size(); ++i) {
        if (!canHeal(patients[i], false, false))
            continue;
        Entity* patient = mGame->getEntity(patients[i]);
        ActionResultInfo* record =
            action != nullptr ? action->getOrCreateResult(patient->mId) : nullptr;
        if (proto->mHealAttachProto >= 0)
            attachHealItem(*patient, action);
        const float falloff =
            chain && info->mChainFalloff > 0.0f
                ? static_cast<float>(std::pow(info->mChainFalloff, static_cast<float>(i)))
                : 1.0f;
        int32_t amount =
            std::max(truncateToInt(static_cast<float>(power) * roleBonus * falloff), 0);
        if (drains)
            amount = std::min(amount, budget);
        const bool knockedOut = !patient->isAlive();
        const int32_t gained = knockedOut ? patient->revive(amount, proto->mReviveHPMultiplier)
                                          : patient->addHealth(amount);
        total += gained;
        budget -= gained;
        if (chain && gained > 0)
            ++chained;
        revivedOrFull = revivedOrFull || (knockedOut && gained > 0) ||
                        (gained > 0 && patient->mHealth >= patient->getMaxHealth());
        if (scoring != nullptr && patient->mOwner == mGame->mCurrentPlayer)
            scoreDeed(*mGame, knockedOut ? scoring->mRevive : scoring->mHeal);
        if (record != nullptr) {
            record->mHealthChange = gained;
            record->mChainTarget = chain;
        }
        if (drains && budget <= 0)
            break;
    }

    int32_t ownChange = 0;
    if (drains)
        ownChange += addHealth(-truncateToInt(static_cast<float>(total) * proto->mHealingDrain));
    int32_t bound = 0;
    if (proto->mBindingHeal > 0.0f) {
        bound = addHealth(truncateToInt(static_cast<float>(total) * proto->mBindingHeal));
        ownChange += bound;
    }
    if (own != nullptr)
        own->mHealthChange += ownChange;
    consumeActionBuffs(true);

    if (!mGame->isLocalTurn() || mOwner != mGame->mCurrentPlayer)
        return;
    if (proto->mName == "cleric" && revivedOrFull)
        AchievementTracker::setPendingValue(cAchievementCouncilRezFullyHeal, 0);
    if (proto->mName == "paladin" && bound > 0)
        AchievementTracker::setPendingValue(cAchievementPaladinSelfHeal, 0);
    if (chained >= 3)
        AchievementTracker::setPendingValue(cAchievementShamanChainHeal3, 0);
}

void Entity::attachHealItem(Entity& patient, CandidateAction* action) {
    const int32_t protoId = getProto()->mHealAttachProto;
    const ProtoEntity* item = Database::getProto(protoId);
    if (item == nullptr)
        return;
    if (item->mBuffInfo && item->mBuffInfo->mOnePerCaster && board() != nullptr)
        board()->removeItemFromUnits(protoId, mId, -1);
    giveItem(protoId, patient.mOwner, mId, &patient, action);
    if (!mGame->isLocalTurn() || mOwner != mGame->mCurrentPlayer)
        return;
    if (item->mName == "shield" && patient.isVictoryUnit())
        AchievementTracker::setPendingValue(cAchievementCrystalShield, 0);
    if (item->mName == "kx4-gun")
        AchievementTracker::setPendingValue(cAchievementGunAttachments, 0);
}

bool Entity::useAllyAbility(int32_t targetId, CandidateAction* action) {
    const ProtoEntity* proto = getProto();
    const AllyAbilityInfo* ability = proto != nullptr ? proto->mAllyAbility.get() : nullptr;
    Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (ability == nullptr || action == nullptr || !canUseAllyAbility(targetId) ||
        target == nullptr || ability->mCost > mCharge)
        return false;
    mCharge -= ability->mCost;
    action->getOrCreateResult(mId);
    action->getOrCreateResult(targetId);
    if (ability->mAttachProto >= 0)
        giveItem(ability->mAttachProto, mOwner, mId, target, action);
    if (ability->mSwapWithAlly) {
        const ProtoEntity* targetProto = target->getProto();
        const GridSlot here = mSlot;
        const GridSlot there = target->mSlot;
        if (targetProto == nullptr || !targetProto->mCanTeleportWith || mGrid == nullptr ||
            !mGrid->swapSlots(here, there))
            return false;
    }
    if (const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get())
        scoreDeed(*mGame, scoring->mDamage);
    consumeActionBuffs(false);
    return true;
}
