// Entity: where an entity may go on the board and what an item may be
// equipped on. Squares outside the board, missing entities and missing
// proto parts answer false.

#include "rules/Entity.h"

#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "content/protos/Database.h"
#include "content/settings/ProtoGameBoard.h"

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
    // Room: an item of the same proto, or gear of the same class, needs
    // ReplaceEquip or MultiEquip.
    const bool classesCount =
        proto->mType == cEntityGear && !targetProto->mIgnoresEquipClassRestrictions;
    for (const Entity* item : target->items()) {
        const ProtoEntity* itemProto = item->getProto();
        if (item->mState != cStateEquipped || itemProto == nullptr)
            continue;
        const bool clash = item->mProtoId == mProtoId ||
                           (classesCount && itemProto->mClassName == proto->mClassName);
        if (clash && !proto->mReplaceEquip && !proto->mMultiEquip)
            return false;
    }
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
        !(deploy->mAllowVictoryUnitSpotOverride &&
          target->hasEquippedProto(Database::getProtoIdByName("spottingBuff"))))
        return false;
    if (deploy->mLivingTargetsOnly && !target->isAlive())
        return false;
    return !(deploy->mDeadTargetsOnly && target->isAlive());
}
