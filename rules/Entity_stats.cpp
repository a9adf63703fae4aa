// Entity: the stat getters every rule reads. A stat starts from the proto's
// value and goes through the unit's items (gear and buffs with a BuffInfo,
// in equipment-grid order), the auras of nearby allies on the board and the
// premium square under the unit, as each getter lists; the running value is
// truncated after each item and each aura.

#include "rules/Entity.h"

#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/RulesMath.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/ProtoGameBoard.h"

#include <algorithm>
#include <vector>

namespace {

// Calls visit(buff) for each item of the grid that carries stat effects.
// The slots' ids are read in place: an empty slot costs no look-up.
template <class Visit> void forEachStatItem(const EntityGrid* inventory, Visit visit) {
    const Game* game = inventory != nullptr ? inventory->getGame() : nullptr;
    if (game == nullptr)
        return;
    for (const int32_t id : inventory->getSlots()) {
        const Entity* item = id >= 0 ? game->getEntity(id) : nullptr;
        const ProtoEntity* proto = item != nullptr ? item->getProto() : nullptr;
        if (proto != nullptr && (proto->mType == cEntityGear || proto->mType == cEntityBuff) &&
            proto->mBuffInfo)
            visit(*proto->mBuffInfo);
    }
}

// The value through every item's effects of that stat, never truncated.
float applyUntruncated(const EntityGrid* inventory, int32_t stat, float value) {
    forEachStatItem(inventory, [&](const BuffInfo& buff) {
        buff.applyStatEffects(cBuffModifyStat, stat, value, 1.0f);
    });
    return value;
}

// A percentage as a fraction, at most 1.0.
float percentFraction(int32_t percent) {
    return std::min(static_cast<float>(percent) * 0.01f, 1.0f);
}

} // namespace

void Entity::applyPremiumBonus(int32_t type, int32_t& value) const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || !isOnBoard())
        return;
    const ProtoGameBoard* layout = board()->getProtoGameBoard();
    if (layout != nullptr && !layout->mPremiumTiles->mEntries.empty())
        layout->mPremiumTiles->applyBonusAt(mSlot.x, mSlot.y, type, value, proto->mPremiumBonus);
}

int32_t Entity::applyItemEffects(int32_t stat, int32_t value) const {
    forEachStatItem(mInventory, [&](const BuffInfo& buff) {
        float running = static_cast<float>(value);
        buff.applyStatEffects(cBuffModifyStat, stat, running, 1.0f);
        value = truncateToInt(running);
    });
    return value;
}

void Entity::applyAuraEffects(int32_t stat, int32_t& value) const {
    const GameBoard* gameBoard = board();
    if (!isOnBoard())
        return;
    for (int32_t i = 0; i < gameBoard->getSlotCount(); ++i) {
        const Entity* ally = gameBoard->getEntityAtIndex(i);
        const ProtoEntity* proto = ally != nullptr ? ally->getProto() : nullptr;
        if (proto == nullptr || ally == this || ally->mOwner != mOwner || !ally->isAlive() ||
            !proto->mBuffInfo || distanceTo(ally->mId, false) > proto->mBuffInfo->mRange)
            continue;
        float running = static_cast<float>(value);
        proto->mBuffInfo->applyStatEffects(cBuffModifyStat, stat, running, 1.0f);
        value = truncateToInt(running);
    }
}

int32_t Entity::getPower(const Entity* target) const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return 0;
    int32_t power = proto->mPower + 50 * mPuppetUpgradeLevel;
    applyPremiumBonus(cPremiumPower, power);
    const bool victoryTarget = target != nullptr && target->isVictoryUnit();
    forEachStatItem(mInventory, [&](const BuffInfo& buff) {
        float running = static_cast<float>(power);
        buff.applyStatEffects(cBuffModifyStat, cStatPower, running, 1.0f);
        if (!victoryTarget)
            buff.applyStatEffects(cBuffModifyStat, cStatNonVictoryDamage, running, 1.0f);
        power = truncateToInt(running);
    });
    applyAuraEffects(cStatPower, power);

    // The attack's own boosts work on the untruncated value, which is then
    // brought to a multiple of 5.
    float boosted = static_cast<float>(power);
    if (const ProtoAttackInfo* attack = proto->mAttackInfo.get()) {
        const float fraction = getHealthFraction();
        if (fraction < attack->mEnrageThreshold)
            boosted *= attack->mEnragePowerBoost;
        if (attack->mMultiTargetBonusDamage != 0) {
            // Whirlwinds hit harder for each living enemy beyond the first.
            std::vector<int32_t> targets;
            collectAttackTargets(-1, targets, nullptr);
            const auto enemies = std::count_if(targets.begin(), targets.end(), [&](int32_t id) {
                const Entity* hit = mGame->getEntity(id);
                return hit != nullptr && hit->mOwner != mOwner && hit->isAlive();
            });
            if (enemies > 1)
                boosted += static_cast<float>(attack->mMultiTargetBonusDamage) *
                           static_cast<float>(enemies - 1);
        }
        if (attack->mDamagePowerScaling > 0.0f)
            boosted *= 1.0f + (1.0f - fraction) * (attack->mDamagePowerScaling - 1.0f);
        boosted += static_cast<float>(attack->mRepeatedAttackBonus * countRepeatedAttacks());
    }
    return roundToFive(boosted);
}

float Entity::mitigationFraction(int32_t stat, int32_t premiumType) const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return 0.0f;
    int32_t percent =
        applyItemEffects(stat, stat == cStatDefense ? proto->mDefense : proto->mResist);
    applyAuraEffects(stat, percent);
    applyPremiumBonus(premiumType, percent);
    return percentFraction(percent);
}

float Entity::getDefense() const {
    return mitigationFraction(cStatDefense, cPremiumDefense);
}

float Entity::getResist() const {
    return mitigationFraction(cStatResist, cPremiumResist);
}

int32_t Entity::getRange() const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return 0;
    int32_t range = proto->mMaxRange;
    for (const Entity* item : items()) {
        const ProtoEntity* itemProto = item->getProto();
        if (itemProto == nullptr)
            continue;
        if (itemProto->mType == cEntityGear && itemProto->mMaxRange > 0)
            range += itemProto->mMaxRange;
        if (itemProto->mType == cEntityBuff && itemProto->mBuffInfo)
            for (const auto& effect : itemProto->mBuffInfo->mEffects)
                if (effect && effect->mType == cBuffRangeIncrease)
                    range += truncateToInt(effect->mValue);
    }
    return range;
}

int32_t Entity::getMovement() const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return 0;
    int32_t movement = proto->mMoveRange;
    applyPremiumBonus(cPremiumSpeed, movement);
    return applyItemEffects(cStatMoveRange, movement);
}

int32_t Entity::getMaxHealth() const {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr)
        return mMaxHealthBonus;
    return applyItemEffects(cStatMaxHitpoints, proto->mHitPoints) + mMaxHealthBonus;
}

int32_t Entity::getShields() const {
    return applyItemEffects(cStatShields, mShields);
}

float Entity::getRoleBonus() const {
    const ProtoEntity* proto = getProto();
    return applyUntruncated(mInventory, cStatRoleBonus,
                            proto != nullptr ? proto->mRoleBonus : 0.0f);
}

float Entity::getTeamBonus() const {
    const ProtoEntity* proto = getProto();
    return applyUntruncated(mInventory, cStatTeamBonus,
                            proto != nullptr ? proto->mTeamBonus : 0.0f);
}

float Entity::getSpikes() const {
    return percentFraction(applyItemEffects(cStatSpikes, 0));
}

float Entity::getSplashReduction() const {
    return percentFraction(applyItemEffects(cStatSplashReduction, 0));
}
