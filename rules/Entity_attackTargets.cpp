// Entity: what an attack reaches and how it moves its targets. The targets
// are a splash around the impact square, a line for piercing shots, a chain
// of jumps, or the primary target alone; splash falls off with the distance
// from the impact square. Hit targets are knocked back (or pulled in) square
// by square while the board lets them stand there, and a magnet pulls every
// enemy around the attacker.

#include "rules/Entity.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "content/protos/ProtoEntity.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

int32_t sign(int32_t value) {
    return (value > 0) - (value < 0);
}

} // namespace

int32_t Entity::collectAttackTargets(int32_t targetId, std::vector<int32_t>& out,
                                     CandidateAction* action) const {
    out.clear();
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    GameBoard* gameBoard = board();
    if (info == nullptr || (target == nullptr && !info->mWhirlwind))
        return 0;

    int32_t radius = proto->mAOERadius;
    if (info->mRepeatedAOEBonus > 0 && action != nullptr)
        radius += countRepeatedAttacks();
    if (target != nullptr) {
        const bool adjacent = target->mGrid == mGrid && distanceTo(targetId, true) <= 1;
        const bool corpseExplosion = info->mCorpseExplosion > 0.0f;
        if ((info->mAOEOnlyAtRange && adjacent) || corpseExplosion == target->isAlive() ||
            target->carriesBuffEffect(cBuffTerminateAOE))
            radius = 0;
    }

    if (radius > 0 && gameBoard != nullptr) {
        std::vector<int32_t> inRange;
        gameBoard->getEntityIdsInRange(inRange, impactSquare(target), radius,
                                       info->mAOEUsesGridDistance, GridSlot(0, 0));
        for (int32_t id : inRange) {
            if (info->mAOEReplaceWithBlockers) {
                Entity* blocker = nullptr;
                const Entity* listed = mGame->getEntity(id);
                if (listed != nullptr && findBlocker(listed->mSlot, blocker) && blocker != nullptr)
                    id = blocker->mId;
            }
            if (std::find(out.begin(), out.end(), id) == out.end())
                out.push_back(id);
        }
    } else if (info->mPierceMultiplier > 0.0f && target != nullptr && mGrid != nullptr &&
               target->mGrid == mGrid &&
               (target->mSlot.x == mSlot.x || target->mSlot.y == mSlot.y)) {
        GridSlot end = target->mSlot;
        if (info->mPiercesPast) {
            // As far as the attacker reaches along the line, past the target.
            const int32_t dx = sign(target->mSlot.x - mSlot.x);
            const int32_t dy = sign(target->mSlot.y - mSlot.y);
            end = GridSlot(mSlot.x + dx * (proto->mMaxRange + proto->mBonusRangeX),
                           mSlot.y + dy * (proto->mMaxRange + proto->mBonusRangeY));
        }
        mGrid->getEntityIdsOnLine(out, mSlot, end, true);
    } else if (info->mChainRadius > 0 && info->mChainJumps > 0 && !info->mChainHealOnly &&
               target != nullptr) {
        collectChain(out, target, info->mChainJumps);
    } else if (target != nullptr) {
        out.push_back(targetId);
    }
    return static_cast<int32_t>(out.size());
}

float Entity::getAoeFactor(const GridSlot& impact, const GridSlot& square) const {
    if (square == impact)
        return 1.0f;
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    if (info == nullptr)
        return 1.0f;
    if (info->mWhirlwind)
        return info->mAOEDamageConservation;
    const int32_t distance = std::max(std::abs(square.x - impact.x), std::abs(square.y - impact.y));
    return static_cast<float>(std::pow(info->mAOEDamageConservation, static_cast<float>(distance)));
}

void Entity::chargeToTarget(int32_t targetId, CandidateAction* action) {
    const Entity* target = mGame != nullptr ? mGame->getEntity(targetId) : nullptr;
    if (target == nullptr || mGrid == nullptr)
        return;
    const GridSlot square(target->mSlot.x + (mSlot.x < target->mSlot.x ? -1 : 1), target->mSlot.y);
    Entity* occupant = mGame->getEntity(mGrid->getEntityIdAt(square));
    if (occupant != nullptr && occupant != this && !occupant->isAlive())
        occupant->kill(true, mId);
    moveTo(square, action);
}

void Entity::applyKnockback(Entity* target, const Entity* centre, const GridSlot& direction,
                            bool suppress) {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    const ProtoEntity* targetProto = target != nullptr ? target->getProto() : nullptr;
    if (info == nullptr || targetProto == nullptr || target->mGrid == nullptr ||
        !targetProto->mKnockbackable)
        return;
    const int32_t strength = info->mKnockback;
    const bool adjacent = distanceTo(target->mId, true) <= 1;
    const bool autoKnockback = targetProto->mAutoKnockback && target->isAlive();
    if (!autoKnockback && (strength == 0 || suppress || (info->mRangedOnlyKnockback && adjacent)))
        return;

    GridSlot away = direction;
    if (away.x == 0 && away.y == 0) {
        away = GridSlot(target->mSlot.x - mSlot.x, target->mSlot.y - mSlot.y);
        const bool onCentre = centre != nullptr && centre->mSlot == target->mSlot;
        if (info->mRadialKnockback && centre != nullptr &&
            !(targetProto->mAutoKnockback && onCentre))
            away = GridSlot(target->mSlot.x - centre->mSlot.x, target->mSlot.y - centre->mSlot.y);
    }
    if (strength < 0)
        away = GridSlot(-away.x, -away.y);
    const GridSlot step(sign(away.x), sign(away.y));
    int32_t count = std::abs(strength);
    if (targetProto->mAutoKnockback)
        count = std::max(count, 1);
    if (step.x == 0 && step.y == 0)
        return;

    EntityGrid* grid = target->mGrid;
    GridSlot reached = target->mSlot;
    bool moved = false;
    for (int32_t n = 0; n < count; ++n) {
        const GridSlot next(reached.x + step.x, reached.y + step.y);
        if (!grid->canPlaceEntityAt(target->mId, next))
            break;
        reached = next;
        moved = true;
    }
    if (moved && grid->placeEntityAt(target->mId, reached))
        target->consumeMoveBuffs();
}

void Entity::pullInMagnetTargets() {
    const ProtoEntity* proto = getProto();
    const ProtoAttackInfo* info = proto != nullptr ? proto->mAttackInfo.get() : nullptr;
    if (info == nullptr || info->mMagnetRange <= 0 || mGrid == nullptr)
        return;
    std::vector<int32_t> ids;
    mGrid->getEntityIdsInRange(ids, mSlot, info->mMagnetRange, info->mAOEUsesGridDistance,
                               GridSlot(0, 0));
    CandidateAction* action = mGame->mExecutingAction;
    for (const int32_t id : ids) {
        Entity* enemy = mGame->getEntity(id);
        if (enemy == nullptr || enemy->mOwner == mOwner)
            continue;
        ActionResultInfo* record = action != nullptr ? action->getOrCreateResult(id) : nullptr;
        applyKnockback(enemy, this, GridSlot(0, 0), false);
        if (record != nullptr)
            record->mFinalSlot = enemy->mSlot;
    }
}
