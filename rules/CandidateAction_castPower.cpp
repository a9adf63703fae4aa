// CandidateAction: casting a power. The power leaves its grid and hits every
// entity within its radius of the target square: an own-side respawn sends
// units back to the rack at full health; otherwise enemies (and, with
// friendly fire, allies) take damage with splash falloff, or, knocked out,
// are vaporized or stomped. Knockback pushes the hit entities one column
// away from the target column, damage scores, part of the damage to
// non-victory units may go to the caster's allies, and the power dies.
// Victory units here are those whose proto says so.

#include "rules/CandidateAction.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/RulesMath.h"

#include "content/protos/ProtoAttackInfo.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// The entities the cast being executed touched (its knockback reads them)
// and the allies that share its transferred health. Each is filled and read
// within one cast; casts never nest.
std::vector<int32_t> gTouchedIds;
std::vector<int32_t> gAllyIds;

bool isVictoryProto(const Entity* entity) {
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    return proto != nullptr && proto->mVictoryUnit;
}

// The id of the first equipped item of that proto; -1 when none.
int32_t firstItemOfProto(const Entity& unit, int32_t protoId) {
    const EntityGrid* items = unit.mInventory;
    for (int32_t i = 0; items != nullptr && i < items->getSlotCount(); ++i) {
        const Entity* item = items->getEntityAtIndex(i);
        if (item != nullptr && item->mProtoId == protoId)
            return item->mId;
    }
    return -1;
}

} // namespace

void CandidateAction::executeCastPower(Entity& power, EntityGrid& sourceGrid,
                                       EntityGrid& targetGrid, int32_t scoreMultiplier) {
    sourceGrid.removeEntity(power.mId);
    const ProtoEntity* proto = power.getProto();
    static const ProtoAttackInfo cNoAttack;
    const ProtoAttackInfo& attack =
        proto != nullptr && proto->mAttackInfo ? *proto->mAttackInfo : cNoAttack;
    Entity* target = mGame->getEntity(mTargetEntity);

    int32_t radius = proto != nullptr ? proto->mAOERadius : 0;
    if (attack.mAOEOnlyAgainstCrystals && !isVictoryProto(target))
        radius = 0;
    std::vector<int32_t> affected;
    if (proto != nullptr)
        targetGrid.getEntityIdsInRange(affected, mTargetSlot, radius, false,
                                       GridSlot(proto->mBonusRangeX, proto->mBonusRangeY));
    gTouchedIds.clear();

    const bool respawn = proto != nullptr && proto->mCanRevive && proto->mRespawnRevive;
    int32_t totalDamage = 0;
    int32_t nonVictoryDamage = 0;
    for (const int32_t id : affected) {
        Entity* hit = mGame->getEntity(id);
        if (hit == nullptr || proto == nullptr)
            continue;
        const bool ownSide = hit->mOwner == power.mOwner;
        if (respawn) {
            if (!ownSide && !attack.mAOEFriendlyFire)
                continue;
            ActionResultInfo* result = getOrCreateResult(id);
            const int32_t gear = hit->getFirstGearProto();
            hit->resetEquipment();
            result->mDestroyedGearProtoID = gear;
            if (const ProtoEntity* hitProto = hit->getProto())
                hit->setHealth(hitProto->mHitPoints);
            EntityGrid* rack = mGame->getGrid(cGridTileRack, hit->mOwner);
            if (hit->mGrid != nullptr && rack != nullptr)
                hit->mGrid->moveEntityToFirstFree(id, rack);
            result->mFinalSlot = hit->mSlot;
            continue;
        }
        if (ownSide && !attack.mAOEFriendlyFire)
            continue;
        ActionResultInfo* result = getOrCreateResult(id);
        int32_t dealt = 0;
        if (hit->mState == cStateKnockedOut) {
            if ((proto->mVaporize || (proto->mAutoStomp && hit == target)) &&
                power.isStompable(id)) {
                hit->kill(false, power.mId);
                result->mKilled = true;
            }
        } else {
            const bool victoryHit =
                attack.mAOEOnlyAgainstCrystals ? isVictoryProto(target) : isVictoryProto(hit);
            const int32_t victory =
                victoryHit ? mGame->getVictoryDamageModifier(mGame->mCurrentPlayer) : 0;
            float falloff = power.getAoeFactor(mTargetSlot, hit->mSlot);
            // Splash reduction lowers the area damage as it does an attack's.
            const float reduction = hit->getSplashReduction();
            if (radius > 0 && reduction > 0.0f)
                falloff *= 1.0f - reduction;
            int32_t damage = truncateToInt(static_cast<float>(proto->mPower) * falloff);
            // Friendly fire in one's own turn leaves a unit at least 100.
            if (hit->mOwner == mGame->mCurrentPlayer && mGame->isLocalTurn())
                damage = std::max(0, std::min(damage, hit->mHealth - 100));
            dealt = hit->takeDamage(damage, proto->mDamageType,
                                    truncateToInt(static_cast<float>(victory) * falloff));
            totalDamage += dealt;
            if (!isVictoryProto(hit))
                nonVictoryDamage += dealt;
            const ProtoEntity* hitProto = hit->getProto();
            if (hit->mState == cStateKnockedOut &&
                ((hitProto != nullptr && hitProto->mDiesOnKnockOut) || proto->mAutoStomp)) {
                hit->kill(false, power.mId);
                result->mKilled = true;
            }
            if (dealt > 0 && !attack.mDestroyInventoryClass.empty() && hit == target) {
                const int32_t gear = target->findEquippedByClass(attack.mDestroyInventoryClass);
                const int32_t item = gear >= 0 ? firstItemOfProto(*target, gear) : -1;
                if (item >= 0 && target->removeEquippedItem(item))
                    result->mDestroyedGearProtoID = gear;
            }
        }
        gTouchedIds.push_back(id);
        result->mFinalSlot = hit->mSlot;
        result->mHealthChange = -dealt;
    }

    if (attack.mKnockback > 0)
        resolveTrainPushes();

    int32_t score = 0;
    const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get();
    Player* current = mGame->getCurrentPlayer();
    if (totalDamage > 0 && gGameScene != nullptr && scoring != nullptr && gCurrentGame != nullptr &&
        mGame->isLocalTurn() && current != nullptr) {
        score = scoring->mDamage * scoreMultiplier;
        current->mScore += score;
        mGame->refreshBannerText(0);
        mGame->refreshBannerText(1);
    }
    getOrCreateResult(power.mId)->mScore = score;

    if (proto != nullptr && proto->mTransferToAllies > 0.0f && nonVictoryDamage > 0) {
        const int32_t pool =
            truncateToInt(static_cast<float>(nonVictoryDamage) * proto->mTransferToAllies);
        gAllyIds.clear();
        for (int32_t i = 0; i < targetGrid.getSlotCount(); ++i) {
            const Entity* ally = targetGrid.getEntityAtIndex(i);
            if (ally != nullptr && ally->mOwner == power.mOwner && !isVictoryProto(ally))
                gAllyIds.push_back(ally->mId);
        }
        // Each ally's share: pool / (allies + 3), to the nearest 5.
        const auto allies = static_cast<int32_t>(gAllyIds.size());
        const int32_t share = roundToFive(static_cast<double>(pool / (allies + 3)));
        for (const int32_t id : gAllyIds) {
            Entity* ally = mGame->getEntity(id);
            ActionResultInfo* result = getOrCreateResult(id);
            if (proto->mSoulLeech) {
                ally->mMaxHealthBonus += share;
                result->mMaxHealthChanged = true;
            }
            result->mHealthChange = ally->mState == cStateKnockedOut
                                        ? ally->revive(share, proto->mReviveHPMultiplier)
                                        : ally->addHealth(share);
        }
    }

    CocosEntityLink* view = power.getEntityLink();
    if (power.mState != cStateDead) {
        if (view != nullptr)
            view->hideTooltipIndicator();
        power.changeState(cStateDead);
    }
    if (view != nullptr)
        if (cocos2d::CCRGBAProtocol* colored = cocos2d::ccRGBAProtocolOf(view->getMainNode()))
            colored->setOpacity(0);
}

void CandidateAction::resolveTrainPushes() {
    Entity* attacker = mGame->getEntity(mSourceEntity);
    if (attacker == nullptr)
        return;
    std::vector<int32_t> ids = gTouchedIds;
    const int32_t targetX = mTargetSlot.x;
    const auto columnsAway = [&](int32_t id) {
        const Entity* entity = mGame->getEntity(id);
        return entity != nullptr ? std::abs(entity->mSlot.x - targetX) : -1;
    };
    // Farthest column first; only a strictly farther one takes the place.
    for (size_t i = 0; i < ids.size(); ++i) {
        size_t farthest = i;
        for (size_t j = i + 1; j < ids.size(); ++j)
            if (columnsAway(ids[j]) > columnsAway(ids[farthest]))
                farthest = j;
        std::swap(ids[i], ids[farthest]);
    }
    for (const int32_t id : ids) {
        Entity* pushed = mGame->getEntity(id);
        if (pushed == nullptr)
            continue;
        const int32_t x = pushed->mSlot.x;
        const int32_t lastColumn = pushed->mGrid != nullptr ? pushed->mGrid->getWidth() - 1 : 0;
        int32_t direction = 0;
        if (x != targetX)
            direction = x < targetX ? -1 : 1;
        else if (x == 0)
            direction = 1;
        else if (x == lastColumn)
            direction = -1;
        else
            direction = pushed->mOwner == 0 ? -1 : 1;
        attacker->applyKnockback(pushed, pushed, GridSlot(direction, 0), false);
        getOrCreateResult(id)->mFinalSlot = pushed->mSlot;
    }
}
