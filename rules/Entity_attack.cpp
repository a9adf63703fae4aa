// Entity: resolving an attack on the model. The attacker pays its charge,
// may charge along the row, gathers its targets and works out each hit:
//
//   damage      = truncate(P x (S x M x Q x F x K x G) + B)
//   unmitigated = truncate(V x S x F x G)
//
// with P the power (scaled for a corpse explosion, 0 when the attack only
// spots), S the splash falloff (less the target's splash reduction off the
// primary target), M the melee or ranged multiplier, Q the pierce factor off
// the primary target, F the chain falloff raised to the target's place in
// the list, K the backstab factor, G the assault boost on a victory unit hit
// directly, B the execute and cutdown bonuses, and V the victory damage
// modifier against victory units. Each hit goes through the target's damage
// intake; knock-outs, stomps, raised dead, spikes, leech and score follow.
// Every change is noted in the action's result records for playback.

#include "rules/Entity.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/RulesMath.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

// What one attack did, for the self heal, the score and the achievements.
struct Entity::AttackTally {
    int32_t total = 0;     // health taken from enemies
    int32_t leechBase = 0; // of it, from units that are not victory units
    int32_t reflected = 0; // spike damage owed by the attacker
    int32_t hits = 0;
    int32_t knockOuts = 0;
    int32_t stomps = 0;
    int32_t biggestHit = 0;
    bool executed = false;
    bool cutdown = false;
    bool oneShot = false; // a target knocked out from full health
    bool corpseExplosion = false;
};

void Entity::attack(int32_t targetId, CandidateAction* action) {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    if (mGame == nullptr || info == nullptr || action == nullptr)
        return;
    Entity* target = mGame->getEntity(targetId);
    ActionResultInfo* own = action->getOrCreateResult(mId);
    own->mInitialHealthFraction = getHealthFraction();
    own->mPower = getPower(target);
    if (mCharge < info->mChargeCost)
        return;
    mCharge -= info->mChargeCost;

    const int32_t range = getRange();
    bool charged = false;
    if (info->mIntercept > 0 && target != nullptr && mGrid != nullptr && target->mGrid == mGrid &&
        distanceTo(targetId, true) > range && target->mSlot.y == mSlot.y) {
        chargeToTarget(targetId, action);
        charged = true;
    }
    const int32_t distance = target != nullptr ? distanceTo(targetId, true) : 0;
    std::vector<int32_t> targets;
    if (!charged)
        collectAttackTargets(targetId, targets, action);
    else if (target != nullptr)
        targets.push_back(targetId);

    const float multiplier =
        distance > 1 ? info->mRangedDamageMultiplier : info->mMeleeDamageMultiplier;
    const bool chain = info->mChainRadius > 0 && info->mChainJumps > 0 && !info->mChainHealOnly;
    const int32_t scoreMultiplier = mGame->getScoreMultiplier(mOwner);
    AttackTally tally;
    int32_t power = getPower(target);
    if (target != nullptr && target->mState == cStateKnockedOut && info->mCorpseExplosion > 0.0f) {
        const ProtoEntity* corpse = target->getProto();
        const float size = corpse != nullptr && corpse->mHitPoints > 0
                               ? static_cast<float>(target->getMaxHealth()) /
                                     static_cast<float>(corpse->mHitPoints)
                               : 1.0f;
        power = truncateToInt(static_cast<float>(power) * info->mCorpseExplosion * size);
        tally.corpseExplosion = true;
    }
    const int32_t spotting = Database::getProtoIdByName("spottingBuff");
    if (info->mSpotTargetRange > 0 && target != nullptr && distance > range &&
        !target->hasEquippedProto(spotting)) {
        power = 0;
        own->mSpotted = true;
    }

    const GridSlot impact = impactSquare(target);
    const float chainBase = (getRoleBonus() * 0.1f + 1.0f) * info->mChainFalloff;
    bool damageWorkedOut = false;
    bool spottedBefore = false;
    for (size_t i = 0; i < targets.size(); ++i) {
        Entity* hit = mGame->getEntity(targets[i]);
        if (hit == nullptr || hit->mState == cStateDead)
            continue;
        const bool primary = hit->mId == targetId;
        if (hit->mState == cStateKnockedOut) {
            if (primary)
                stompCorpse(*hit, action, tally);
            continue;
        }
        if (own->mSpotted) {
            markSpotted(*hit, action, spottedBefore);
            spottedBefore = true;
            continue;
        }
        if (hit->mOwner == mOwner)
            continue;

        ActionResultInfo* record = action->getOrCreateResult(hit->mId);
        const int32_t healthBefore = hit->mHealth;
        const bool fullBefore = healthBefore >= hit->getMaxHealth();
        if (primary && info->mAttachProto >= 0)
            attachDebuff(*hit, info->mAttachProto, action);

        const bool victoryUnit = hit->isVictoryUnit();
        const int32_t victoryBase = victoryUnit ? mGame->getVictoryDamageModifier(mOwner) : 0;
        const float assault = victoryUnit && primary ? info->mAssaultBoost : 1.0f;
        float splash = getAoeFactor(impact, hit->mSlot);
        if (!primary) {
            const float reduction = hit->getSplashReduction();
            if (reduction > 0.0f)
                splash *= 1.0f - reduction;
        }
        const float pierce =
            info->mPierceMultiplier > 0.0f && !primary ? info->mPierceMultiplier : 1.0f;
        const float chainFactor =
            chain && info->mChainFalloff > 0.0f
                ? static_cast<float>(std::pow(chainBase, static_cast<float>(i)))
                : 1.0f;
        int32_t bonus = 0;
        const bool lowHealth = hit->isLowHealth(-1.0f);
        if (info->mExecute && lowHealth) {
            bonus = 1000000;
            tally.executed = true;
        }
        if (!lowHealth) {
            bonus += info->mCutdownBonus;
            tally.cutdown = tally.cutdown || info->mCutdownBonus > 0;
        }
        float backstab = 1.0f;
        const bool behind = mOwner == 0 ? mSlot.x > hit->mSlot.x : mSlot.x < hit->mSlot.x;
        if (info->mBackstabMultiplier > 0.0f && !victoryUnit && behind) {
            backstab = info->mBackstabMultiplier;
            own->mBackstabbed = true;
        }
        const int32_t damage =
            truncateToInt(static_cast<float>(power) *
                              (splash * multiplier * pierce * chainFactor * backstab * assault) +
                          static_cast<float>(bonus));
        const int32_t unmitigated =
            truncateToInt(static_cast<float>(victoryBase) * splash * chainFactor * assault);
        const int32_t dealt = hit->takeDamage(damage, proto->mDamageType, unmitigated);
        damageWorkedOut = true;

        tally.total += dealt;
        tally.biggestHit = std::max(tally.biggestHit, dealt);
        if (!victoryUnit)
            tally.leechBase += dealt;
        if (dealt > 0) {
            ++tally.hits;
            applyKnockback(hit, target != nullptr ? target : this, GridSlot(0, 0),
                           info->mMagnetRange > 0);
        }
        // Without a "spottingBuff" in the content there is no mark to take
        // off (a negative id would take any item).
        if (info->mUsesSpotter && primary && spotting >= 0)
            hit->removeEquippedItemMatching(spotting, -1, false);
        const bool knockedOut = hit->mState == cStateKnockedOut;
        const ProtoEntity* hitProto = hit->getProto();
        if (knockedOut && hitProto != nullptr && hitProto->mDiesOnKnockOut) {
            hit->kill(false, mId);
            record->mKilled = true;
        }
        const float spikes = hit->getSpikes();
        if (spikes > 0.0f)
            tally.reflected += truncateToInt(spikes * static_cast<float>(dealt));
        if (victoryUnit && board() != nullptr)
            tally.reflected += truncateToInt(static_cast<float>(dealt) *
                                             board()->getCrystalSpikesBonus(hit->mOwner));
        record->mHealthChange = hit->mHealth - healthBefore;
        record->mChainTarget = chain;
        if (knockedOut) {
            ++tally.knockOuts;
            tally.oneShot = tally.oneShot || fullBefore;
            const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get();
            record->mScore = scoring != nullptr ? scoring->mKnockout * scoreMultiplier : 0;
        }
    }

    if (!charged)
        pullInMagnetTargets();
    if (tally.total > 0)
        scoreDamage(scoreMultiplier, *own);
    healFromAttack(*info, tally, *own);
    consumeActionBuffs(damageWorkedOut);
    reportAttackAchievements(target, distance, tally);
}

GridSlot Entity::impactSquare(const Entity* target) const {
    const ProtoEntity* proto = getProto();
    const bool whirlwind = proto != nullptr && proto->mAttackInfo && proto->mAttackInfo->mWhirlwind;
    return whirlwind || target == nullptr ? mSlot : target->mSlot;
}

void Entity::stompCorpse(Entity& corpse, CandidateAction* action, AttackTally& tally) {
    const GridSlot square = corpse.mSlot;
    if (!corpse.isVictoryUnit())
        ++tally.stomps;
    corpse.kill(true, mId);
    const int32_t raisedProto = getProto()->mRaiseDeadProto;
    GameBoard* gameBoard = board();
    if (raisedProto < 0 || gameBoard == nullptr)
        return;
    Entity* raised = mGame->getEntity(mGame->createEntity(raisedProto, mOwner));
    if (raised == nullptr || !gameBoard->placeEntityAt(raised->mId, square))
        return;
    raised->changeState(cStateDeployedToGameBoard);
    ActionResultInfo* record = action->getOrCreateResult(raised->mId);
    record->mInitialHealthFraction = 0.0f;
    record->mInitialState = cStateDead;
    if (raised->getProto()->mName == "phantom" && mGame->isLocalTurn())
        AchievementTracker::countToward(cAchievement2Phantom, 0, 2);
}

void Entity::markSpotted(Entity& target, CandidateAction* action, bool markedBefore) {
    const int32_t spotting = Database::getProtoIdByName("spottingBuff");
    const ProtoEntity* buff = Database::getProto(spotting);
    if (buff == nullptr)
        return;
    // Marks this attacker made before go once, not the ones of this attack.
    if (!markedBefore && buff->mBuffInfo && buff->mBuffInfo->mOnePerCaster && board() != nullptr)
        board()->removeItemFromUnits(spotting, mId, -1);
    giveItem(spotting, target.mOwner, mId, &target, action);
}

void Entity::attachDebuff(Entity& target, int32_t protoId, CandidateAction* action) {
    const ProtoEntity* debuff = Database::getProto(protoId);
    if (debuff == nullptr || target.hasEquippedProto(Database::getProtoIdByName("shield")) ||
        !target.hasEquipRoomFor(protoId))
        return;
    if (debuff->mBuffInfo && debuff->mBuffInfo->mOnePerCaster && board() != nullptr)
        board()->removeItemFromUnits(protoId, mId, -1);
    giveItem(protoId, target.mOwner, mId, &target, action);
    if (debuff->mName == "weakenBuff" && mGame->isLocalTurn())
        AchievementTracker::countToward(cAchievementPriestessDebuff3, 0, 3);
}

void Entity::scoreDamage(int32_t scoreMultiplier, ActionResultInfo& own) {
    const SettingsManager& settings = SettingsManager::instance();
    if (settings.mUseVictoryHealthPool) {
        mGame->refreshBannerText(0);
        mGame->refreshBannerText(1);
    }
    own.mScore = 0;
    if (mGame->isLocalTurn() && settings.mScoringInfo) {
        own.mScore = settings.mScoringInfo->mDamage * scoreMultiplier;
        mGame->addScore(mOwner, own.mScore);
    }
}

void Entity::healFromAttack(const ProtoAttackInfo& info, const AttackTally& tally,
                            ActionResultInfo& own) {
    int32_t gain = 0;
    if (info.mLeechPercentage > 0.0f) {
        gain = truncateToInt(getTeamBonus() * info.mLeechPercentage *
                             static_cast<float>(tally.leechBase));
        if (getProto()->mSoulLeech && mPuppetUpgradeLevel < 3) {
            const int32_t levels = std::min(tally.stomps, 3 - mPuppetUpgradeLevel);
            mPuppetUpgradeLevel += levels;
            mMaxHealthBonus += 150 * levels;
            gain += 150 * levels;
            own.mMaxHealthChanged = own.mMaxHealthChanged || levels > 0;
        }
    }
    int32_t net = gain - tally.reflected;
    if (net < 0) {
        // Spikes never take an attacker below 100 health.
        if (mHealth < 100)
            return;
        net = std::max(net, 100 - mHealth);
    }
    if (net > 0)
        own.mHealthChange += addHealth(net);
    else if (net < 0)
        own.mHealthChange -= takeDamage(-net, getProto()->mDamageType, 0);
}

void Entity::reportAttackAchievements(const Entity* target, int32_t distance,
                                      const AttackTally& tally) const {
    if (!mGame->isLocalTurn() || mOwner != mGame->mCurrentPlayer)
        return;
    using namespace AchievementTracker;
    const std::string& name = getProto()->mName;
    if (tally.biggestHit >= 2000)
        setPendingValue(cAchievement2000DamageAttack, 0);
    if (name == "warrior" && tally.executed)
        countToward(cAchievementWarriorExecute2, 0, 2);
    else if (name == "ninja" && tally.biggestHit >= 2500)
        setPendingValue(cAchievementNinja3K, 0);
    else if (name == "archer" && tally.oneShot)
        setPendingValue(cAchievementArcherOneShot, 0);
    else if (name == "axethrower" && tally.cutdown && tally.hits > 0)
        countToward(cAchievementAxeThrowerCutdown3, 0, 3);
    else if (name == "kx4a-quellan" && tally.hits > 0 && target != nullptr &&
             distance == SettingsManager::instance().mBoardWidth - 1)
        setPendingValue(cAchievementQuellanLongShot, 0);
    else if (name == "wizard" && tally.hits >= 3 &&
             hasEquippedProto(Database::getProtoIdByName("scroll")))
        setPendingValue(cAchievementWizard3Scroll, 0);
    else if (name == "gunner" && tally.hits >= 3)
        setPendingValue(cAchievementGunnerHit3, 0);
    else if (name == "voidmonk" && tally.hits >= 3)
        setPendingValue(cAchievementVoidMonk3, 0);
    else if (name == "kx4a-gorvan" && tally.hits >= 3)
        setPendingValue(cAchievementGorvanHit3, 0);
    else if (name == "grenadier" && tally.hits >= 4)
        setPendingValue(cAchievementGrenadierHit4, 0);
    else if (name == "chieftain" && tally.hits >= 5)
        setPendingValue(cAchievementChieftainSingleAttack, 0);
    else if (name == "kx4a-tascor" && tally.knockOuts >= 2)
        setPendingValue(cAchievementTascorKnockOut2, 0);
    else if (name == "bazooka" && tally.knockOuts >= 3)
        setPendingValue(cAchievementAnnihilatorKO3, 0);
    else if (name == "witch" && tally.corpseExplosion && tally.total >= 1000)
        setPendingValue(cAchievementWitchCorpseExplosion, 0);
}
