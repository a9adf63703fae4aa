#include "rules/Entity.h"

#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"

namespace {

int32_t costOf(int32_t actionType) {
    return SettingsManager::instance().mDefaultActionCost[static_cast<size_t>(actionType)];
}

bool isBoardState(int32_t state) {
    return state >= cStateDeployedToGameBoard && state <= cStateCandidateAttack;
}

} // namespace

int32_t Entity::classifyDrop(EntityGrid* targetGrid, const GridSlot& slot, int32_t& outCost,
                             GridSlot& outSlot) {
    outCost = 0;
    const ProtoEntity* proto = getProto();
    if (targetGrid == nullptr || mGame == nullptr || proto == nullptr)
        return -1;
    if (targetGrid == mGame->getGrid(cGridTileChest, -1)) {
        if (mState != cStateOnTileRack)
            return -1;
        outCost = costOf(cActionSwap);
        return cActionSwap;
    }
    outSlot = slot;
    if (slot.x < 0 || slot.y < 0)
        return cActionReturn;

    const bool onBoard = targetGrid->getGridType() == cGridGameBoard;
    if (proto->mType == cEntityPower) {
        if (!onBoard)
            return cActionReturn;
        outCost = costOf(cActionCastPower);
        if (!canCastPowerAt(slot))
            return cActionReturn;
        outCost = proto->mDeployCost;
        return cActionCastPower;
    }

    const bool ownGrid = targetGrid == mGrid;
    const bool item = proto->mType == cEntityGear || proto->mType == cEntityBuff;
    if (!targetGrid->canPlaceEntityAt(mId, slot)) {
        // An occupied or closed square: what may this entity do to whoever
        // stands there?
        const int32_t occupantId = targetGrid->getEntityIdAt(slot);
        const Entity* occupant = mGame->getEntity(occupantId);
        if (occupant == nullptr)
            return cActionReturn;
        if (ownGrid) {
            if (mState == cStateOnTileRack || !isBoardState(mState))
                return cActionReturn;
            int32_t type = -1;
            if (canAttack(occupantId))
                type = cActionAttack;
            else if (canHeal(occupantId, true, true))
                type = cActionHeal;
            else if (canUseAllyAbility(occupantId))
                type = cActionAllyAbility;
            else if (canMoveTo(slot))
                type = cActionMove;
            else
                return cActionReturn;
            outCost = costOf(type);
            return type;
        }
        if (item) {
            if (!canEquip(occupant))
                return cActionReturn;
            outCost = costOf(cActionEquip);
            return cActionEquip;
        }
        if (proto->mType == cEntityUnit && onBoard && canDeployAt(slot)) {
            outCost = proto->mDeployCost;
            return cActionDeploy;
        }
        return cActionReturn;
    }

    // A free square.
    if (item && targetGrid->getGridType() != cGridTileRack)
        return cActionReturn;
    if (!ownGrid) {
        if (onBoard) {
            if (!canDeployAt(slot))
                return cActionReturn;
            outCost = proto->mDeployCost;
            return cActionDeploy;
        }
        const Player* current = mGame->getCurrentPlayer();
        if (current == nullptr || targetGrid != mGame->getGrid(cGridTileRack, current->mIndex))
            return -1;
        outCost = costOf(cActionReturn);
        return cActionReturn;
    }
    if (slot == mSlot)
        return cActionReturn;
    if (mState == cStateOnTileRack) {
        outCost = costOf(cActionPlace);
        return cActionPlace;
    }
    if (mState == cStateKnockedOut) {
        if (!canDeployAt(slot))
            return cActionReturn;
        outCost = proto->mDeployCost;
        return cActionDeploy;
    }
    outCost = costOf(cActionMove);
    return cActionMove;
}
