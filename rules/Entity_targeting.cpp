// Entity: where an entity may go on the board, what an item may be equipped
// on, and whom a unit may attack, heal or help. Squares outside the board,
// missing entities and missing proto parts answer false.

#include "rules/Entity.h"

#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "content/protos/Database.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Whether other's owner fits a deploy relation seen from owner.
bool fitsRelation(int32_t relation, int32_t owner, const Entity& other) {
    if (relation == cDeployRelationAlly)
        return other.mOwner == owner;
    if (relation == cDeployRelationEnemy)
        return other.mOwner != owner;
    return true;
}

bool isTeleporter(const ProtoGameBoard* layout, const GridSlot& square) {
    const PremiumTileEntry* entry =
        layout != nullptr ? layout->mPremiumTiles->getEntryAt(square.x, square.y) : nullptr;
    return entry != nullptr && entry->mType == cPremiumTeleporter;
}

// Shots pass a square when the turn from attacker->square to square->target
// is below this (45 degrees).
constexpr float cBlockerAngle = 0.7853985f;
constexpr float cFullTurn = 6.2831855f;

int32_t sign(int32_t v) {
    return (v > 0) - (v < 0);
}

// The angle between two directions; 0 when either has no length.
float angleBetween(float ax, float ay, float bx, float by) {
    const float lengths = std::sqrt(ax * ax + ay * ay) * std::sqrt(bx * bx + by * by);
    if (lengths <= 0.0f)
        return 0.0f;
    return std::acos(std::clamp((ax * bx + ay * by) / lengths, -1.0f, 1.0f));
}

bool carriesSpottingBuff(const Entity& entity) {
    return entity.hasEquippedProto(Database::getProtoIdByName("spottingBuff"));
}

// Whether the stealth of the target's buffs (carried, or its own) hides it
// at that distance.
bool isHiddenFrom(const Entity& target, int32_t distance) {
    if (target.carriesBuffEffect(cBuffUntargettable))
        return true;
    if (distance > 1 && target.carriesBuffEffect(cBuffUntargettableAtRange))
        return true;
    const ProtoEntity* proto = target.getProto();
    const BuffInfo* own = proto != nullptr ? proto->mBuffInfo.get() : nullptr;
    return own != nullptr && (own->hasEffectOfType(cBuffUntargettable) ||
                              (distance > 1 && own->hasEffectOfType(cBuffUntargettableAtRange)));
}

bool isStructure(const ProtoEntity* proto) {
    return proto != nullptr && proto->mClassName == "Structure";
}

bool isKnockedOut(const Entity& entity) {
    return entity.mState == cStateKnockedOut;
}

bool isFullHealth(const Entity& entity) {
    return entity.mHealth >= entity.getMaxHealth();
}

} // namespace

bool Entity::canMoveTo(const GridSlot& square) const {
    GameBoard* gameBoard = board();
    if (mState != cStateDeployedToGameBoard || gameBoard == nullptr ||
        gameBoard->indexOfCoords(square) < 0)
        return false;
    const int32_t movement = getMovement();
    const int32_t distance = std::abs(square.x - mSlot.x) + std::abs(square.y - mSlot.y);
    bool inReach = distance <= movement;
    if (!inReach && movement > 0) {
        const ProtoGameBoard* layout = gameBoard->getProtoGameBoard();
        inReach = isTeleporter(layout, mSlot) && isTeleporter(layout, square);
    }
    if (!inReach || gameBoard->isInDeployZone(1 - mOwner, square))
        return false;
    const int32_t occupant = gameBoard->getEntityIdAt(square);
    return occupant < 0 || isStompable(occupant);
}

bool Entity::isStompable(int32_t id) const {
    const Entity* other = mGame != nullptr ? mGame->getEntity(id) : nullptr;
    const ProtoEntity* proto = other != nullptr ? other->getProto() : nullptr;
    return proto != nullptr && other->mState == cStateKnockedOut && proto->mCanStomp;
}

bool Entity::canEquip(const Entity* target) const {
    const ProtoEntity* proto = getProto();
    const ProtoEntity* targetProto = target != nullptr ? target->getProto() : nullptr;
    if (targetProto == nullptr || target->mInventory == nullptr || proto == nullptr ||
        (proto->mType != cEntityGear && proto->mType != cEntityBuff))
        return false;
    if (!targetProto->mEquippable && !proto->mOverrideEquippableFlag)
        return false;
    if (const DeployInfo* deploy = proto->mDeployInfo.get()) {
        if (deploy->mRelation == cDeployRelationAlly &&
            (target->mOwner != mOwner ||
             (deploy->mDamaged && target->mHealth >= target->getMaxHealth())))
            return false;
        if (deploy->mRelation == cDeployRelationEnemy && target->mOwner == mOwner)
            return false;
    }
    if (!target->hasEquipRoomFor(mProtoId))
        return false;
    if (!target->isAlive() && !proto->mCanRevive)
        return false;
    return targetProto->mType == cEntityUnit;
}

bool Entity::canDeployAt(const GridSlot& square) const {
    GameBoard* gameBoard = board();
    const ProtoEntity* proto = getProto();
    if (gameBoard == nullptr || proto == nullptr || gameBoard->indexOfCoords(square) < 0)
        return false;
    if (const Entity* occupant = mGame->getEntity(gameBoard->getEntityIdAt(square))) {
        if (proto->mDeployToEntityState != -1 && occupant->mState == proto->mDeployToEntityState &&
            !occupant->isVictoryUnit())
            return true;
        const ProtoEntity* occupantProto = occupant->getProto();
        if (occupant->mState != cStateKnockedOut &&
            (occupantProto == nullptr || !occupantProto->mCanBeDeployedTo))
            return false;
    }
    const DeployInfo* deploy = proto->mDeployInfo.get();
    const int32_t kind = deploy != nullptr ? deploy->mTargetKind : -1;
    if (kind == cDeployToDeployZone)
        return gameBoard->isInDeployZone(mGame->mCurrentPlayer, square);
    if (kind != cDeployRemote)
        return true;
    if (!deploy->mStructureRemoteDeploy)
        return false;
    // A remote structure goes next to a victory unit (or a "kx4a-vostrel")
    // of the right side.
    const int32_t anchorProto = Database::getProtoIdByName("kx4a-vostrel");
    std::vector<int32_t> ids;
    gameBoard->getEntityIdsInRange(ids, square, 1, true, GridSlot(0, 0));
    for (const int32_t id : ids) {
        const Entity* near = mGame->getEntity(id);
        if (near != nullptr && fitsRelation(deploy->mRelation, mOwner, *near) &&
            (near->isVictoryUnit() || (anchorProto >= 0 && near->mProtoId == anchorProto)))
            return true;
    }
    return false;
}

bool Entity::canCastPowerAt(const GridSlot& square) const {
    GameBoard* gameBoard = board();
    const ProtoEntity* proto = getProto();
    if (gameBoard == nullptr || proto == nullptr || gameBoard->indexOfCoords(square) < 0)
        return false;
    const DeployInfo* deploy = proto->mDeployInfo.get();
    if (deploy == nullptr || deploy->mTargetKind != cDeployToUnit)
        return true;
    const Entity* target = mGame->getEntity(gameBoard->getEntityIdAt(square));
    if (target == nullptr || !fitsRelation(deploy->mRelation, mOwner, *target))
        return false;
    if (deploy->mVictoryUnit && !target->isVictoryUnit() &&
        !(deploy->mAllowVictoryUnitSpotOverride && carriesSpottingBuff(*target)))
        return false;
    if (deploy->mLivingTargetsOnly && !target->isAlive())
        return false;
    return !(deploy->mDeadTargetsOnly && target->isAlive());
}

bool Entity::canAttack(int32_t targetId, bool* outBlocked) const {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (attack == nullptr || target == nullptr || mCharge < attack->mChargeCost)
        return false;
    if (!target->isAlive() && !isStompable(targetId))
        return false;

    // Sides: corpse users may reach their own dead, others only enemies.
    const bool ally = target->mOwner == mOwner;
    const int32_t distance = distanceTo(targetId, true);
    if (proto->mRaiseDeadProto >= 0 || proto->mSoulLeech || attack->mCorpseExplosion > 0.0f) {
        if (ally && target->isAlive())
            return false;
        if (!target->isAlive() && target->isVictoryUnit())
            return false;
    } else {
        if (ally)
            return false;
        if (!target->isAlive()) {
            GameBoard* board = this->board();
            if (target->mState != cStateKnockedOut || distance != 1 || board == nullptr ||
                !board->isInDeployZone(1 - mOwner, target->mSlot))
                return false;
        }
    }

    if (!proto->mCanTargetStealthedUnits && isHiddenFrom(*target, distance))
        return false;

    const bool sameGrid = mGrid != nullptr && target->mGrid == mGrid;
    const int32_t dx = target->mSlot.x - mSlot.x;
    const int32_t dy = target->mSlot.y - mSlot.y;
    const int32_t range = getRange();
    if (distance > range) {
        bool reached = attack->mUsesSpotter && carriesSpottingBuff(*target);
        if (!reached) {
            int32_t blocker = -1;
            reached = canIntercept(targetId, blocker);
            if (!reached && blocker >= 0 && outBlocked != nullptr)
                *outBlocked = true;
        }
        reached = reached || canSpotTarget(targetId);
        reached = reached || (sameGrid && dy == 0 && std::abs(dx) <= range + proto->mBonusRangeX);
        reached = reached || (sameGrid && dx == 0 && std::abs(dy) <= range + proto->mBonusRangeY);
        if (!reached)
            return false;
    }

    const SettingsManager& settings = SettingsManager::instance();
    if (settings.mRestrictedTargeting) {
        if (!sameGrid || (dx != 0 && dy != 0))
            return false;
        if (settings.mRangedAttackBlocking) {
            const GridSlot step(sign(dx), sign(dy));
            for (GridSlot at(mSlot.x + step.x, mSlot.y + step.y); at != target->mSlot;
                 at = GridSlot(at.x + step.x, at.y + step.y)) {
                const Entity* between = mGame->getEntity(mGrid->getEntityIdAt(at));
                if (between != nullptr && between->isAlive())
                    return false;
            }
        }
    }

    if (settings.mRangedAttackBlockingVersion2 && attack->mPierceMultiplier <= 0.0f &&
        !attack->mIgnoresBlockers) {
        Entity* blocker = nullptr;
        if (findBlocker(target->mSlot, blocker)) {
            if (outBlocked != nullptr)
                *outBlocked = true;
            return false;
        }
    }
    return true;
}

bool Entity::canIntercept(int32_t targetId, int32_t& outBlocker) const {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (attack == nullptr || attack->mIntercept <= 0 || target == nullptr || mGrid == nullptr ||
        target->mGrid != mGrid)
        return false;
    const int32_t distance = distanceTo(targetId, true);
    if (distance <= getRange() || distance > attack->mIntercept || target->mSlot.y != mSlot.y)
        return false;
    // The square the charge ends on, beside the target on this side.
    const GridSlot before(target->mSlot.x + (mSlot.x < target->mSlot.x ? -1 : 1), mSlot.y);
    const int32_t occupant = mGrid->getEntityIdAt(before);
    const Entity* standing = mGame->getEntity(occupant);
    if (standing != nullptr && standing->isAlive()) {
        outBlocker = occupant;
        return false;
    }
    return true;
}

bool Entity::canSpotTarget(int32_t targetId) const {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (attack == nullptr || target == nullptr)
        return false;
    const int32_t distance = distanceTo(targetId, true);
    if (distance <= getRange() || distance > attack->mSpotTargetRange)
        return false;
    return carriesSpottingBuff(*target);
}

bool Entity::findBlocker(const GridSlot& targetSlot, Entity*& outBlocker) const {
    if (mGame == nullptr || mGrid == nullptr)
        return false;
    bool found = false;
    const int32_t fromY = std::min(mSlot.y, targetSlot.y);
    const int32_t toY = std::max(mSlot.y, targetSlot.y);
    const int32_t fromX = std::min(mSlot.x, targetSlot.x);
    const int32_t toX = std::max(mSlot.x, targetSlot.x);
    for (int32_t y = fromY; y <= toY; ++y) {
        for (int32_t x = fromX; x <= toX; ++x) {
            const GridSlot at(x, y);
            if (at == mSlot || at == targetSlot)
                continue;
            Entity* standing = mGame->getEntity(mGrid->getEntityIdAt(at));
            if (standing == nullptr || !standing->isAlive() || standing->mOwner == mOwner ||
                standing->carriesBuffEffect(cBuffUntargettable))
                continue;
            const float angle = angleBetween(
                static_cast<float>(x - mSlot.x), static_cast<float>(y - mSlot.y),
                static_cast<float>(targetSlot.x - x), static_cast<float>(targetSlot.y - y));
            if (angle >= cBlockerAngle)
                continue;
            // The first of a row; a later row's find replaces it.
            outBlocker = standing;
            found = true;
            break;
        }
    }
    return found;
}

bool Entity::canHeal(int32_t targetId, bool checkRange, bool checkChain) const {
    const ProtoEntity* proto = getProto();
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (proto == nullptr || !proto->mCanHeal || target == nullptr || target == this ||
        target->mOwner != mOwner)
        return false;
    const ProtoEntity* targetProto = target->getProto();
    if (targetProto == nullptr)
        return false;
    const bool structure = isStructure(targetProto);
    if (proto->mHealStructuresOnly && !structure)
        return false;
    if (!targetProto->mHealable && !(target->isVictoryUnit() && proto->mAllowCrystalHealing) &&
        !(proto->mHealStructuresOnly && structure))
        return false;
    if (!target->isAlive() && !proto->mCanRevive)
        return false;

    const bool needsHealing = !isFullHealth(*target) && getRoleBonus() > 0.0f;
    const bool attachable =
        proto->mHealAttachProto >= 0 && !target->hasEquippedProto(proto->mHealAttachProto);
    if (!needsHealing && !proto->mAllowFullHealthTarget && !attachable)
        return false;
    if (!proto->mAllowFullHealthLinkedTarget && targetId == mOngoingTargetEntityID && !needsHealing)
        return false;

    const ProtoAttackInfo* attack = proto->mAttackInfo.get();
    if (checkChain && attack != nullptr && attack->mChainHealOnly && proto->mHealAttachProto < 0) {
        std::vector<int32_t> chain;
        if (collectChain(chain, target, attack->mChainJumps) < 1)
            return false;
    }
    if (checkRange &&
        distanceTo(targetId, true) >
            static_cast<int32_t>(static_cast<float>(getRange()) * proto->mHealRangeMultiplier))
        return false;
    if (proto->mHealingDrain > 0.0f &&
        static_cast<int32_t>(static_cast<float>(mHealth - 100) / proto->mHealingDrain) < 1)
        return false;
    return true;
}

int32_t Entity::collectChain(std::vector<int32_t>& chain, const Entity* current,
                             int32_t jumpsLeft) const {
    if (current == nullptr || mGame == nullptr)
        return static_cast<int32_t>(chain.size());
    const bool healChain = current->mOwner == mOwner;
    chain.push_back(current->mId);

    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const bool ends = attack == nullptr || attack->mChainRadius < 1 || jumpsLeft < 1 ||
                      (!healChain && current->carriesBuffEffect(cBuffTerminateAOE)) ||
                      (!healChain && !current->isAlive()) || current->mGrid == nullptr;
    if (!ends) {
        std::vector<int32_t> candidates;
        current->mGrid->getEntityIdsInRange(candidates, current->mSlot, attack->mChainRadius,
                                            attack->mAOEUsesGridDistance, GridSlot(0, 0));
        // Directions are measured against the line from this entity to the
        // chain's first target.
        const Entity* first = mGame->getEntity(chain.front());
        const float lineX = static_cast<float>(first->mSlot.x - mSlot.x);
        const float lineY = static_cast<float>(first->mSlot.y - mSlot.y);
        const Entity* best = nullptr;
        int32_t bestDistance = 1000;
        float bestAngle = cFullTurn;
        for (const int32_t id : candidates) {
            const Entity* candidate = mGame->getEntity(id);
            if (candidate == nullptr || candidate == current ||
                candidate->mOwner != current->mOwner ||
                std::find(chain.begin(), chain.end(), id) != chain.end())
                continue;
            if (healChain ? !canHeal(id, false, false) : !candidate->isAlive())
                continue;
            const int32_t distance = std::abs(candidate->mSlot.x - current->mSlot.x) +
                                     std::abs(candidate->mSlot.y - current->mSlot.y);
            const float angle = angleBetween(
                lineX, lineY, static_cast<float>(candidate->mSlot.x - current->mSlot.x),
                static_cast<float>(candidate->mSlot.y - current->mSlot.y));
            bool take = false;
            if (healChain && best != nullptr &&
                ((isFullHealth(*best) && !isFullHealth(*candidate)) ||
                 (isKnockedOut(*candidate) && !isKnockedOut(*best)))) {
                take = true; // a more urgent patient
            } else if (healChain && best != nullptr &&
                       ((isFullHealth(*candidate) && !isFullHealth(*best)) ||
                        (candidate->isAlive() && isKnockedOut(*best)))) {
                take = false;
            } else if (distance < bestDistance) {
                take = true;
            } else {
                take = distance == bestDistance && angle <= bestAngle;
            }
            if (take) {
                best = candidate;
                bestDistance = distance;
                bestAngle = angle;
            }
        }
        if (best != nullptr)
            collectChain(chain, best, jumpsLeft - 1);
    }
    if (healChain && !chain.empty()) {
        const Entity* last = mGame->getEntity(chain.back());
        if (last != nullptr && isFullHealth(*last))
            chain.pop_back();
    }
    return static_cast<int32_t>(chain.size());
}

bool Entity::canUseAllyAbility(int32_t targetId) const {
    const ProtoEntity* proto = getProto();
    const AllyAbilityInfo* ability = proto != nullptr ? proto->mAllyAbility.get() : nullptr;
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (ability == nullptr || target == nullptr || target == this || target->mOwner != mOwner)
        return false;
    if (ability->mRequiredTargetState != -1 && target->mState != ability->mRequiredTargetState)
        return false;
    if (ability->mSwapWithAlly) {
        const ProtoEntity* targetProto = target->getProto();
        if (targetProto == nullptr || !targetProto->mCanTeleportWith)
            return false;
    }
    return mCharge >= ability->mCost &&
           distanceTo(targetId, true) <= getRange() + ability->mRangeModifier;
}

int32_t Entity::getAttackHighlightKind(const Entity* target) const {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* attack = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    if (attack == nullptr || target == nullptr)
        return 0;
    const int32_t distance = distanceTo(target->mId, true);
    if ((distance > getRange() && distance <= attack->mIntercept) || canSpotTarget(target->mId))
        return 4;
    const bool knockedOut = target->mState == cStateKnockedOut;
    const bool low = target->isLowHealth(-1.0f);
    if ((attack->mCutdownBonus > 0 && !low) || (attack->mExecute && low) ||
        (attack->mCorpseExplosion > 0.0f && knockedOut) ||
        (proto->mRaiseDeadProto >= 0 && knockedOut))
        return 1;
    return 0;
}
