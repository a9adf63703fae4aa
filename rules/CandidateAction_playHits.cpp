// CandidateAction: playback of the actions that hit, heal or cast a power.
// The hits' timing comes from the attack tags of the source puppet's
// animation (the process-wide hit-delay list); the records' entities react
// at those times. A unit's own record takes no reaction animation: its view
// plays the action itself.

#include "rules/CandidateAction.h"

#include "rules/ActionEffects.h"
#include "rules/AnimStateIds.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"

#include "content/protos/Database.h"
#include "content/protos/ProjectileInfo.h"
#include "content/protos/ProtoAttackInfo.h"
#include "content/protos/ProtoEntity.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetAnimEntry.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "puppet/PuppetTag.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCSequence.h"

#include <cmath>
#include <cstdlib>

using cocos2d::CCPoint;

namespace {

constexpr float cHitWithoutTags = 0.4f;   // seconds
constexpr float cHealWithoutTags = 0.52f; // seconds

cocos2d::CCNode* viewNodeOf(const Entity* entity) {
    const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    return view != nullptr ? view->getMainNode() : nullptr;
}

const PuppetAnimEntry* puppetEntry(const Entity& entity, int32_t state) {
    const PuppetDefinition* puppet = PuppetRegistry::getPuppet(entity.getPuppetHandle());
    if (puppet == nullptr || state < 0 ||
        state >= static_cast<int32_t>(puppet->mAnimEntries.size()))
        return nullptr;
    return puppet->mAnimEntries[static_cast<size_t>(state)].get();
}

bool puppetDefines(const Entity& entity, int32_t state) {
    const PuppetDefinition* puppet = PuppetRegistry::getPuppet(entity.getPuppetHandle());
    return puppet != nullptr && puppet->getAnimForState(state) != nullptr;
}

// The times of the attack tags of the entity's animation for the state.
std::vector<float> attackTagTimes(const Entity& entity, int32_t state) {
    std::vector<float> times;
    if (const PuppetAnimEntry* entry = puppetEntry(entity, state)) {
        std::vector<const PuppetTag*> tags;
        entry->getTagsOfType(cTagAttack, tags);
        for (const PuppetTag* tag : tags)
            times.push_back(tag->mTime);
    }
    return times;
}

bool isValid(const GridSlot& slot) {
    return slot.x >= 0 && slot.y >= 0;
}

int32_t protoIdNamed(const char* name) {
    return Database::getProtoIdByName(name);
}

} // namespace

void CandidateAction::playAttack(Entity& source) {
    Entity* target = mGame->getEntity(mTargetEntity);
    if (target == nullptr) {
        finishUnplayed(source);
        return;
    }
    cocos2d::CCNode* sourceNode = viewNodeOf(&source);
    if (sourceNode != nullptr && mGame->mGameBoard != nullptr)
        sourceNode->setPosition(mGame->mGameBoard->pointForCoords(mSourceSlot, true));
    const ProtoEntity* proto = source.getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const ActionResultInfo* own = findResult(source.mId);
    const bool raised = raisedDead();
    const bool executed = executedLowHealthTarget();
    const bool cutDown = cutDownHealthyTarget();
    const bool exploded = explodedCorpse();
    int32_t damagedEnemies = 0;
    int32_t movedEnemies = 0;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr || entity->mOwner == source.mOwner)
            continue;
        damagedEnemies += result->mHealthChange < 0 ? 1 : 0;
        movedEnemies += result->mFinalSlot != result->mInitialSlot ? 1 : 0;
    }

    // Ranged, big, and the animation requested.
    const bool special =
        raised || executed || (own != nullptr && (own->mSpotted || own->mBackstabbed));
    const int32_t dx = std::abs(mTargetSlot.x - mSourceSlot.x);
    const int32_t dy = std::abs(mTargetSlot.y - mSourceSlot.y);
    const bool ranged = !special && (dx + dy > 1 || (proto != nullptr && proto->mMaxRange > 1 &&
                                                     (own == nullptr || own->mFinalState < 0)));
    bool big = false;
    if (ranged) {
        big = isBigAttackVariant();
    } else if (proto != nullptr && source.getPuppetHandle() >= 0) {
        const int32_t power =
            own != nullptr && own->mPower > 0 ? own->mPower : source.getPower(nullptr);
        big = static_cast<float>(power) >
              static_cast<float>(proto->mPower) * proto->mBigAttackMultiplierThreshold;
    }
    const bool bigMelee = big && !ranged && puppetDefines(source, cAnimStateAttackBigMelee);

    const int32_t newLevel = own != nullptr ? own->mFinalPuppetUpgradeLevel : 0;
    int32_t played = cAnimStateAttack;
    if (own != nullptr && own->mInitialUpgradeBase < own->mFinalUpgradeBase) {
        // The unit consumes and turns into its upgrade; no attack is shown.
        played = cAnimStateConsume;
        if (sourceNode != nullptr) {
            cocos2d::CCFiniteTimeAction* face = nullptr;
            cocos2d::CCFiniteTimeAction* back = nullptr;
            source.makeFacingActions(mSourceSlot, mTargetSlot, &face, &back);
            auto* puppet = dynamic_cast<PuppetInstance*>(sourceNode);
            sourceNode->runAction(cocos2d::CCSequence::actions(
                face,
                puppet != nullptr
                    ? PuppetAnimAction::actionWithAnim(cAnimStateConsume, false, 0.0f, -1.0f, -1,
                                                       PuppetInstance::cDefaultBlend, puppet)
                    : nullptr,
                cocos2d::CCCallFuncND::actionWithTarget(
                    this, callfuncND_selector(CandidateAction::upgradeStep),
                    reinterpret_cast<void*>(static_cast<intptr_t>(newLevel)))));
        } else {
            reportStepAfter(source, 0.0f);
        }
    } else {
        int32_t request = cAnimStateAttack;
        if (special)
            request = cAnimStateAbility;
        else if (cutDown || exploded)
            request = big ? cAnimStateAttackBig : cAnimStateAbility;
        else if (attack != nullptr && attack->mIntercept > 0 && own != nullptr &&
                 own->mFinalSlot != own->mInitialSlot)
            request = cAnimStateAttackMove;
        else if (attack != nullptr && attack->mWhirlwind && damagedEnemies > 1)
            request = big ? cAnimStateAbilityBig
                          : (damagedEnemies <= 3 ? cAnimStateAbility : cAnimStateAbility2);
        else if (attack != nullptr && attack->mMagnetRange > 0 && movedEnemies > 0)
            request = big ? cAnimStateAbilityBig : cAnimStateAbility;
        else if (proto != nullptr && proto->mSoulLeech && findResult(target->mId) != nullptr &&
                 findResult(target->mId)->mInitialState == cStateKnockedOut)
            request = cAnimStateConsume;
        else if (attack != nullptr && (ranged ? attack->mRangedAnim : attack->mMeleeAnim) >= 0)
            request = ranged ? attack->mRangedAnim : attack->mMeleeAnim;
        if (request == cAnimStateAttack && big && !ranged)
            request = bigMelee ? cAnimStateAttackBigMelee : cAnimStateAttackBig;
        played = source.chooseAnimationVariant(request, own, false);
        if (played == cAnimStateAttack)
            played = request;
        big = big || played == cAnimStateAttackBig || played == cAnimStateAttackBigMelee;
        const GridSlot end =
            own != nullptr && isValid(own->mFinalSlot) && own->mFinalSlot != own->mInitialSlot
                ? own->mFinalSlot
                : GridSlot();
        source.playAnimation(played, mSourceSlot, mTargetSlot, 0.0f, end);
    }

    // The hits.
    std::vector<float>& delays = hitDelays();
    delays.clear();
    float previous = 0.0f;
    for (float time : attackTagTimes(source, played)) {
        delays.push_back(time - previous);
        previous = time;
    }
    if (delays.empty())
        delays.push_back(cHitWithoutTags);
    std::vector<float> hitTimes;
    float sum = 0.0f;
    for (float delay : delays)
        hitTimes.push_back(sum += delay);
    const float firstHit = hitTimes.front();
    const float lastHit = hitTimes.back();
    const ProjectileInfo* projectile = proto != nullptr ? proto->mProjectileInfo.get() : nullptr;
    for (size_t i = 0; i < hitTimes.size(); ++i) {
        if (proto != nullptr && proto->mShowMeleeSlashEffect)
            playMeleeSlash(&source, target, big, i + 1 < hitTimes.size(), hitTimes[i]);
        if (ranged && projectile != nullptr && projectile->mMoveType != cProjectileChain &&
            !(big && projectile->mHideForBigAttack))
            launchProjectile(this, mSourceSlot, mTargetSlot, big, hitTimes[i]);
    }

    // The victims.
    const bool magic = proto != nullptr && proto->mDamageType == cDamageMagic;
    std::vector<int32_t> chain;
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr)
            continue;
        CocosEntityLink* view = entity->getEntityLink();
        cocos2d::CCNode* node = viewNodeOf(entity);
        if (result->mChainTarget)
            chain.push_back(entity->mId);
        if (proto != nullptr && proto->mRaiseDeadProto >= 0 &&
            entity->mProtoId == proto->mRaiseDeadProto && result->mInitialState == cStateDead) {
            if (node != nullptr && mGame->mGameBoard != nullptr) {
                node->setPosition(mGame->mGameBoard->pointForCoords(entity->mSlot, true));
                node->setIsVisible(true);
            }
            entity->playAnimation(cAnimStateRevived, entity->mSlot, entity->mSlot, 0.0f);
            if (view != nullptr)
                view->applyPremiumTileAura(result, 0.0f);
            continue;
        }
        updateAuras(mGame, result, firstHit);
        playBloodrageGain(mGame, result, firstHit);
        if (view != nullptr)
            view->setCharge(result->mFinalCharge);
        const bool moved =
            isValid(result->mFinalSlot) && result->mFinalSlot != result->mInitialSlot;
        int32_t request = -1;
        if (result->mInitialState != cStateKnockedOut && result->mFinalState == cStateKnockedOut)
            request = cAnimStateKnockedOut;
        else if (result->mFinalState == cStateDead)
            request = cAnimStateDeath;
        else if (result->mHealthChange < 0)
            request = magic ? (big ? cAnimStateDamagedMagicBig : cAnimStateDamagedMagic)
                            : (entity->getDefense() < 0.000001f ? cAnimStateDamaged
                                                                : cAnimStateDamagedUpgrade);
        else if (moved)
            request = result->mInitialState == cStateKnockedOut ? cAnimStateKnockedOutIdle
                                                                : cAnimStateDamaged;
        if (request >= 0 && entity != &source) {
            const int32_t state = entity->resolveAnimationState(request, true);
            const GridSlot own =
                isValid(result->mInitialSlot) ? result->mInitialSlot : entity->mSlot;
            const GridSlot toward = moved ? result->mFinalSlot : own;
            if (hitTimes.size() < 2 || result->mHealthChange == 0)
                entity->playAnimation(state, own, toward, firstHit);
            else
                entity->playHitAnimation(state, own, toward);
        }
        playImpactEffect(entity, this, magic, ranged, big, result->mHealthChange, firstHit);
        if (result->mHealthChange < 0) {
            showHealthChange(entity, result->mHealthChange, this, firstHit);
            if (entity == &source && node != nullptr)
                playEffectPuppet("Civ/Orcs/Effects/SpikeDamage01", node->getPosition(),
                                 node->getZOrder() + 10, firstHit + 0.2f, false);
        } else if (result->mHealthChange > 0) {
            showHealthChange(entity, result->mHealthChange, this, firstHit);
        }
        if (entity->isVictoryUnit()) {
            showPlayerHealth(entity, this, result->mFinalHealthFraction, firstHit);
            if (result->mHealthChange < 0)
                playCrystalShardBurst(this, &source, entity, firstHit);
        }
        if (moved)
            playKnockbackEffect(result, &source, firstHit);
        if ((result->mFinalState == cStateKnockedOut || result->mFinalState == cStateDead) &&
            result->mInitialState != result->mFinalState)
            gGameScene->startSlowMotion(0.1f, 0.8f, firstHit);
        if (exploded && result->mInitialState == cStateKnockedOut &&
            result->mFinalState == cStateDead && node != nullptr)
            playEffectPuppet(big ? "Civ/Orcs/Effects/WitchCorpseExplosionBig01"
                                 : "Civ/Orcs/Effects/WitchCorpseExplosion01",
                             node->getPosition(), node->getZOrder() + 10, firstHit, false);
        if (result->mKilled && entity != &source) {
            entity->playAnimationInPlace(cAnimStateDeath, entity->mSlot, firstHit);
            playCorpseStompEffect(entity, &source, this,
                                  node != nullptr ? node->getZOrder() + 1 : 1, firstHit);
        }
    }
    showFinalDebuffs(0.0f);
    if (big && proto != nullptr) {
        const std::string& alt = proto->mAltPowerAttackDisplayName;
        const std::string& text = played == cAnimStateAttackBigMelee && !alt.empty()
                                      ? alt
                                      : proto->mPowerAttackDisplayName;
        const CCPoint at = sourceNode != nullptr ? sourceNode->getPosition() : CCPoint();
        gGameScene->showBigAttackBanner(text, CCPoint(at.x, at.y + 60.0f), nullptr, 0.0f, 1.0f);
    }
    if (!chain.empty())
        playChainLightning(&source, chain, big, firstHit);
    playScoreFlyouts(this, lastHit + 0.8f);
}

void CandidateAction::playHeal(Entity& source) {
    if (mGame->getEntity(mTargetEntity) == nullptr) {
        finishUnplayed(source);
        return;
    }
    source.playAnimation(mIsSubAction ? cAnimStateAbility2 : cAnimStateAbility, mSourceSlot,
                         mSourceSlot, 0.0f);
    const std::vector<float> tags = attackTagTimes(source, cAnimStateAbility);
    const float hit = tags.empty() ? cHealWithoutTags : tags.front();
    hitDelays().assign(1, hit);
    std::vector<int32_t> chain;
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr)
            continue;
        CocosEntityLink* view = entity->getEntityLink();
        playBloodrageGain(mGame, result, hit);
        updateAuras(mGame, result, hit);
        if (view != nullptr && result->mFinalFlags.size() > ActionResultInfo::cFlagEquipped &&
            result->mFinalFlags[ActionResultInfo::cFlagEquipped])
            view->rebuildEquipmentDisplay();
        if (entity != &source) {
            if (result->mInitialState == cStateKnockedOut) {
                entity->playAnimation(cAnimStateRevived, entity->mSlot, entity->mSlot, hit);
                playReviveEffect(entity, hit);
            } else {
                entity->playAnimation(entity->chooseAnimationVariant(cAnimStateIdle, result, true),
                                      entity->mSlot, entity->mSlot, hit);
            }
        }
        showHealthChange(entity, result->mHealthChange, this, hit);
        if (entity->isVictoryUnit())
            showPlayerHealth(entity, this, result->mFinalHealthFraction, hit);
        if (view != nullptr)
            view->applyPremiumTileAura(result, hit);
        if (result->mChainTarget)
            chain.push_back(entity->mId);
    }
    showFinalDebuffs(hit);
    if (!chain.empty())
        playChainLightning(&source, chain, false, hit);
    playScoreFlyouts(this, hit);
}

void CandidateAction::playCastPower(Entity& power) {
    static const int32_t typhoon = protoIdNamed("typhoon");
    static const int32_t train = protoIdNamed("TrainHazard");
    const bool isTyphoon = typhoon >= 0 && power.mProtoId == typhoon;
    const bool isTrain = train >= 0 && power.mProtoId == train;
    cocos2d::CCNode* powerNode = viewNodeOf(&power);
    if (!isTrain) {
        if (powerNode != nullptr)
            powerNode->setIsVisible(false);
        playCastPowerDrop(this);
        // The drop reports the step only for a puppet.
        if (powerNode == nullptr || power.getPuppetHandle() < 0)
            reportStepAfter(power, 0.0f);
    }

    float lastReaction = 0.0f;
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr || entity == &power || !entity->hasLink())
            continue;
        CocosEntityLink* view = entity->getEntityLink();
        cocos2d::CCNode* node = view->getMainNode();
        float d = 1.0f;
        if (result->mHealthChange < 1) {
            if (isTyphoon)
                d = 0.3f +
                    0.06f * static_cast<float>(std::abs(result->mInitialSlot.x - mTargetSlot.x));
            else if (isTrain)
                d = 0.8f + 0.1f * static_cast<float>(mTargetSlot.y - result->mInitialSlot.y);
        }
        lastReaction = std::max(lastReaction, d);
        updateAuras(mGame, result, d);
        playBloodrageGain(mGame, result, d);
        const GridSlot final = isValid(result->mFinalSlot) ? result->mFinalSlot : entity->mSlot;
        const bool knockedOut =
            result->mInitialState != cStateKnockedOut && result->mFinalState == cStateKnockedOut;
        if (knockedOut) {
            entity->playAnimation(cAnimStateKnockedOut, final, final, d);
        } else if (result->mFinalState == cStateDead) {
            entity->playAnimation(cAnimStateDeath, final, final, d);
            playCorpseStompEffect(entity, &power, this, node != nullptr ? node->getZOrder() + 1 : 1,
                                  d);
            if (node != nullptr)
                node->runAction(cocos2d::CCSequence::actions(
                    cocos2d::CCDelayTime::actionWithDuration(d),
                    cocos2d::CCMoveBy::actionWithDuration(1.0f, CCPoint(0.0f, -500.0f))));
        } else if (result->mFinalState == cStateOnTileRack && !mGame->isReplaying()) {
            if (node != nullptr && entity->mGrid != nullptr)
                node->setPosition(entity->mGrid->pointForCoords(entity->mSlot, true));
            entity->playAnimation(cAnimStateRevived, entity->mSlot, entity->mSlot, d);
            playReviveEffect(entity, d);
            if (node != nullptr)
                playEffectPuppet("Civ/KX4/Effects/APSpawn01", node->getPosition(),
                                 node->getZOrder() + 10, d, false);
        } else if (result->mHealthChange < 0) {
            // The reaction moves the view to its toward square: the square the
            // power left the unit on, not the power's own.
            const GridSlot from = isValid(result->mInitialSlot) ? result->mInitialSlot : final;
            entity->playAnimation(cAnimStateDamaged, from, final, d);
        } else if (result->mHealthChange == 0 && final != result->mInitialSlot) {
            entity->playAnimation(result->mFinalState == cStateKnockedOut ? cAnimStateKnockedOutIdle
                                                                          : cAnimStateDamaged,
                                  result->mInitialSlot, final, d);
        } else if (result->mHealthChange > 0 && result->mInitialState == cStateKnockedOut) {
            entity->playAnimation(cAnimStateRevived, final, final, d);
        }
        showHealthChange(entity, result->mHealthChange, this, d);
        if (result->mHealthChange != 0)
            showPlayerHealth(entity, this, result->mFinalHealthFraction, d);
        if (entity->isVictoryUnit() && result->mHealthChange < 0)
            playCrystalShardBurst(this, &power, entity, d);
        const ProtoEntity* gear = result->mDestroyedGearProtoID >= 0
                                      ? Database::getProto(result->mDestroyedGearProtoID)
                                      : nullptr;
        if (gear != nullptr && gear->mType == cEntityGear && node != nullptr)
            playEffectPuppet("Civ/Dwarf/Effects/ArmorBuster01", node->getPosition(), 10000, d,
                             false);
        view->applyPremiumTileAura(result, d);
        if (knockedOut ||
            (result->mInitialState != cStateDead && result->mFinalState == cStateDead))
            gGameScene->startSlowMotion(0.1f, 0.8f, d);
    }

    const CCPoint targetPoint = mGame->mGameBoard != nullptr
                                    ? mGame->mGameBoard->pointForCoords(mTargetSlot, true)
                                    : CCPoint();
    if (isTyphoon)
        playTyphoon(this, mTargetSlot);
    cocos2d::CCNode* layer = createEffectLayer(1000);
    const ProtoEntity* proto = power.getProto();
    if (proto != nullptr && !proto->mDeployEffect.empty() && layer != nullptr) {
        const int32_t group = EffectGroup::load(proto->mDeployEffect);
        if (group >= 0)
            EffectGroup::spawn(EffectGroup::get(group), layer, targetPoint, 0, 0.0f, false,
                               power.getTeamColor());
    }
    if (proto != nullptr && !proto->mDeploySound.empty())
        playSoundEffectPanned(proto->mDeploySound, targetPoint, nullptr, false);
    playScoreFlyouts(this, 0.0f);
    showFinalDebuffs(0.7f);
    // No view reports a train's step: it ends with the last reaction.
    if (isTrain)
        reportStepAfter(power, lastReaction);
}
