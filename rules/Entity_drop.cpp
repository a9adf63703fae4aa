// Entity: what a drop means (classifyDrop) and performing it (dropAt), with
// the fly-back of a tile that stays where it was.

#include "rules/Entity.h"

#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"
#include "scene/sound/PlaySoundAction.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"

#include <cstdio>

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

bool Entity::dropAt(EntityGrid* targetGrid, const GridSlot& slot, bool& outAccepted) {
    outAccepted = false;
    int32_t cost = 0;
    GridSlot target = slot;
    const int32_t kind = classifyDrop(targetGrid, slot, cost, target);
    return performDrop(targetGrid, slot, kind, cost, target, outAccepted);
}

bool Entity::performDrop(EntityGrid* targetGrid, const GridSlot& slot, int32_t kind, int32_t cost,
                         const GridSlot& target, bool& outAccepted) {
    outAccepted = false;
    // A refused drop does not leave a dragged tile where the finger left it.
    const auto refuse = [this] {
        returnToRackSlot();
        return false;
    };
    if (kind == -1 || targetGrid == nullptr || mGame == nullptr)
        return refuse();
    Player* current = mGame->getCurrentPlayer();
    if (current == nullptr)
        return refuse();
    // A cost equal to the points left is allowed.
    if (current->mActionPoints < cost)
        kind = cActionReturn;
    const cocos2d::CCPoint point = targetGrid->pointForCoords(slot, true);

    CandidateAction* action = nullptr;
    switch (kind) {
    case cActionReturn:
        playSoundEffectPanned("sound/UI_Game_CantPlace.mp3", point, nullptr, false);
        returnToRackSlot();
        break;
    case cActionPlace:
        placeOnGrid(targetGrid, target);
        returnToRackSlot();
        break;
    case cActionDeploy:
    case cActionMove:
    case cActionAttack:
    case cActionCastPower:
    case cActionSwap:
        action = new CandidateAction(mGame, cost);
        action->init(mId, kind, target, targetGrid);
        break;
    case cActionHeal:
    case cActionEquip:
    case cActionAllyAbility: {
        Entity* targetEntity = mGame->getEntity(targetGrid->getEntityIdAt(target));
        if (targetEntity == nullptr)
            return refuse();
        action = new CandidateAction(mGame, cost);
        action->initFromEntity(targetEntity, mId, kind);
        break;
    }
    default:
        std::printf("entity %d: something bad\n", mId);
        std::fflush(stdout);
        return refuse();
    }
    if (action != nullptr) {
        mGame->performAction(action);
        action->release();
        current->addActionPoints(-cost);
        if (kind == cActionMove)
            playSoundEffectPanned("sound/Game_Release_ToMove_Character.mp3", point, nullptr, false);
        outAccepted = true;
    }
    if (gGameScene != nullptr)
        gGameScene->hideTurnMarkers();
    return true;
}

void Entity::returnToRackSlot() {
    cocos2d::CCNode* node = viewNode();
    if (mGrid == nullptr || node == nullptr)
        return;
    setViewZOrder(mGrid->zOrderForCoords(mSlot));
    const cocos2d::CCPoint target = mGrid->pointForCoords(mSlot, true);
    using namespace cocos2d;
    node->runAction(CCSequence::actions(
        PlaySoundAction::actionWithFilePositioned("UI_Game_CannotPlace_Swish", node->getPosition(),
                                                  1.0f, 1.0f),
        CCSpawn::actions(
            CCScaleTo::actionWithDuration(0.125f, 1.0f),
            CCEaseOut::actionWithAction(CCMoveTo::actionWithDuration(0.125f, target), 2.0f)),
        PlaySoundAction::actionWithFilePositioned("sound/Game_Tile_Land_InRack.mp3", target, 1.0f,
                                                  1.0f)));
}
