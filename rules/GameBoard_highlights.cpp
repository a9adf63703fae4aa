// GameBoard: the highlights that show where a dragged tile or unit may go.
// A tile from the rack (or a unit that respawns) lights the squares its
// deploy kind allows; a unit on the board lights the squares it may move to,
// the teleporters it may use, and its range arrows. Everything goes through
// the board's view; a board without a view shows nothing.

#include "rules/GameBoard.h"

#include "rules/CocosEntityLink.h"
#include "rules/CocosGameBoardLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "content/protos/Database.h"
#include "content/settings/ProtoGameBoard.h"

#include <cstdio>

namespace {

const cocos2d::ccColor3B cHighlightColor = cocos2d::ccWHITE;

} // namespace

void GameBoard::showSlotHighlight(int32_t id) {
    CocosGameBoardLink* view = boardView();
    Entity* entity = entityFor(id);
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    if (view == nullptr || proto == nullptr)
        return;
    switch (entity->mState) {
    case cStateKnockedOut:
        if (!proto->mCanRespawn)
            return;
        [[fallthrough]];
    case cStateOnTileRack:
        highlightDeployTargets(entity, view);
        return;
    case cStateDeployedToGameBoard:
    case cStateCandidateDeployment:
    case cStateCandidateMovement:
    case cStateCandidateAttack:
        highlightUnitTargets(entity, view);
        return;
    default:
        return;
    }
}

void GameBoard::highlightDeployTargets(Entity* tile, CocosGameBoardLink* view) {
    const ProtoEntity* proto = tile->getProto();
    const DeployInfo* deploy = proto->mDeployInfo.get();
    const GridSlot lastSlot(mWidth - 1, mHeight - 1);
    switch (deploy != nullptr ? deploy->mTargetKind : -1) {
    case cDeployToDeployZone: {
        const ProtoGameBoard* layout = getProtoGameBoard();
        if (layout != nullptr && layout->mDeployZone) {
            const bool mirrored = mGame != nullptr && mGame->mCurrentPlayer == 1;
            for (const DeployTile& zoneTile : layout->mDeployZone->mTiles)
                view->highlightSlot(
                    GridSlot(mirrored ? mWidth - 1 - zoneTile.x : zoneTile.x, zoneTile.y),
                    cHighlightColor);
        }
        if (proto->mDeployToEntityState == -1)
            return;
        forEachUnit([&](Entity& unit) {
            if (tile->canDeployAt(unit.mSlot)) {
                view->highlightSlot(unit.mSlot, cHighlightColor);
                unit.setTargetMarker(0);
            }
        });
        return;
    }
    case cDeployToUnit:
        forEachUnit([&](Entity& unit) {
            if ((proto->mType == cEntityGear || proto->mType == cEntityBuff) &&
                !tile->canEquip(&unit))
                return;
            if (proto->mType == cEntityPower && !tile->canCastPowerAt(unit.mSlot))
                return;
            view->highlightSlot(unit.mSlot, cHighlightColor);
            if (deploy->mVictoryUnit)
                unit.setTargetMarker(0);
        });
        return;
    case cDeployToGameBoard:
        view->highlightSlots(GridSlot(0, 0), lastSlot, cHighlightColor);
        return;
    case cDeployRemote:
        for (int32_t i = 0; i < getSlotCount(); ++i)
            if (tile->canDeployAt(coordsOfIndex(i)))
                view->highlightSlot(coordsOfIndex(i), cHighlightColor);
        return;
    default:
        std::printf("UNIMPLEMENTED DEPLOY TYPE\n");
        view->highlightSlots(GridSlot(0, 0), lastSlot, cHighlightColor);
        return;
    }
}

void GameBoard::highlightUnitTargets(Entity* unit, CocosGameBoardLink* view) {
    const ProtoEntity* proto = unit->getProto();
    if (unit->isAlive())
        view->showRangeArrows(unit);
    const int32_t shield = Database::getProtoIdByName("shield");
    if (shield >= 0 && proto->mHealAttachProto == shield)
        setAurasSelected(true, unit->mId);
    const ProtoGameBoard* layout = getProtoGameBoard();
    for (int32_t i = 0; i < getSlotCount(); ++i) {
        const GridSlot slot = coordsOfIndex(i);
        if (!unit->canMoveTo(slot))
            continue;
        view->highlightSlot(slot, cHighlightColor);
        const PremiumTileEntry* entry =
            layout != nullptr ? layout->mPremiumTiles->getEntryAt(slot.x, slot.y) : nullptr;
        if (entry != nullptr && entry->mType == cPremiumTeleporter && !(slot == unit->mSlot))
            view->showTeleporterEffect(slot, 0.0f);
    }
    // The units the dragged unit may attack, heal or help get their markers
    // with the targeting rules.
}

void GameBoard::clearSlotHighlights(int32_t id) {
    CocosGameBoardLink* view = boardView();
    if (view != nullptr) {
        view->hideSlotHighlights();
        view->hideRangeArrows();
    }
    setAurasSelected(false, id);
    if (view != nullptr)
        view->hideTeleporterEffects();
    forEachUnit([](Entity& unit) { unit.setTargetMarker(CocosEntityLink::cHideTargetMarker); });
}
