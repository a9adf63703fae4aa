// GameBoard: the highlights that show where a dragged tile or unit may go.
// A tile from the rack (or a unit that respawns) lights the squares its
// deploy kind allows; a unit on the board lights the squares it may move to,
// the teleporters it may use, its range arrows, and marks the units it may
// attack, heal or help. Everything goes through
// the board's view; a board without a view shows nothing.

#include "rules/GameBoard.h"

#include "rules/CocosEntityLink.h"
#include "rules/CocosGameBoardLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameSceneInterface.h"

#include "content/protos/Database.h"
#include "content/settings/ProtoGameBoard.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"

#include <cstdio>

using cocos2d::CCRotateBy;
using cocos2d::CCScaleBy;
using cocos2d::CCScaleTo;
using cocos2d::CCSequence;

namespace {

const cocos2d::ccColor3B cHighlightColor = cocos2d::ccWHITE;

// Shows a target marker with that frame at that scale (upright: turned back
// to 0), repeating loop 1000 times while it eases to scale 1.0 and fades in
// over 0.2 s.
void startMarkerMotion(cocos2d::CCNode* marker, cocos2d::CCSpriteFrame* frame, float scale,
                       bool upright, cocos2d::CCActionInterval* loop) {
    if (marker == nullptr)
        return;
    if (cocos2d::CCDisplayFrameProtocol* sprite = cocos2d::ccDisplayFrameProtocolOf(marker))
        if (frame != nullptr)
            sprite->setDisplayFrame(frame);
    marker->setScale(scale);
    if (upright)
        marker->setRotation(0.0f);
    marker->setIsVisible(true);
    marker->runAction(cocos2d::CCSpawn::actions(
        cocos2d::CCRepeat::actionWithAction(loop, 1000),
        cocos2d::CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.2f, 1.0f), 2.0f),
        cocos2d::CCFadeIn::actionWithDuration(0.2f)));
}

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
    markUnitTargets(unit);
}

void GameBoard::markUnitTargets(Entity* unit) {
    cocos2d::CCSpriteFrame* reachFrame =
        gGameScene != nullptr ? gGameScene->getReachMarkerFrame() : nullptr;
    cocos2d::CCSpriteFrame* healFrame =
        gGameScene != nullptr ? gGameScene->getHealMarkerFrame() : nullptr;
    forEachUnit([&](Entity& target) {
        CocosEntityLink* view = target.getEntityLink();
        if (view == nullptr)
            return;
        bool blocked = false;
        if (unit->canAttack(target.mId, &blocked)) {
            target.setTargetMarker(unit->getAttackHighlightKind(&target));
        } else if (blocked) {
            // Out of reach behind a blocker: a pulsing marker.
            startMarkerMotion(view->getTargetMarkerNode(), reachFrame, 1.0f, true,
                              CCSequence::actionOneTwo(CCScaleTo::actionWithDuration(0.5f, 1.0f),
                                                       CCScaleBy::actionWithDuration(0.5f, 1.1f)));
        } else if (unit->canHeal(target.mId, true, true)) {
            // A turning marker.
            startMarkerMotion(view->getTargetMarkerNode(), healFrame, 3.0f, false,
                              CCRotateBy::actionWithDuration(3.0f, 90.0f));
        } else {
            view->setAllyAbilityMarker(unit->canUseAllyAbility(target.mId));
        }
    });
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
