// Dragging an entity's tile: the pick-up, the follow of a rack tile, the
// release onto the square under the finger, and the cancel.

#include "scene/EntityView.h"

#include "rules/AnimStateIds.h"
#include "rules/CocosEntityGridLink.h"
#include "rules/CocosTileChestLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/TileRack.h"
#include "rules/core/EntityState.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"

#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSpawn.h"
#include "platform/engine/CCTouch.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float cBlend = 0.15f;
constexpr int cLiftedZOrder = 1000;

CCPoint toScene(const CCPoint& viewPoint) {
    return CCDirector::sharedDirector()->convertToScene(viewPoint);
}

// The door puppet of the current player's tile chest; null without a view.
PuppetInstance* chestDoor(const Game& game) {
    EntityGrid* chest = game.getGrid(cGridTileChest, -1);
    const auto* view =
        chest != nullptr ? dynamic_cast<const CocosTileChestLink*>(chest->getLink()) : nullptr;
    return view != nullptr ? view->getDoor() : nullptr;
}

PuzzleScript* puzzleScript() {
    return gGameScene != nullptr ? gGameScene->getPuzzleScript() : nullptr;
}

} // namespace

bool EntityView::ccTouchBegan(CCTouch*, CCEvent*) {
    Entity* held = entity();
    if (held == nullptr || mNode == nullptr || !held->canBeDragged())
        return false;
    const ProtoEntity* proto = held->getProto();
    PuppetInstance* shown = puppet();
    const int32_t state = held->mState;
    CCFiniteTimeAction* lift =
        CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.075f, 1.5f), 2.0f);
    CCFiniteTimeAction* pickUp = lift;
    if (getAnimation(cAnimStateSelect) != nullptr || shown == nullptr) {
        // A sprite view lifts by scaling.
    } else if (state == cStateOnTileRack && puppetDefines(cAnimStateSelect)) {
        pickUp = PuppetAnimAction::actionWithAnim(cAnimStateSelect, true, cBlend);
    } else if (puppetDefines(cAnimStateIdleActive) && state != cStateKnockedOut &&
               state != cStateDead) {
        pickUp = CCSpawn::actions(
            lift, PuppetAnimAction::actionWithAnim(cAnimStateIdleActive, true, cBlend));
    }
    switch (state) {
    case cStateOnTileRack:
        if (mNode->getParent() != nullptr)
            mNode->getParent()->reorderChild(mNode, cLiftedZOrder);
        mNode->runAction(pickUp);
        break;
    case cStateDeployedToGameBoard:
    case cStateCandidateDeployment:
    case cStateCandidateMovement:
    case cStateCandidateAttack:
    case cStateKnockedOut:
        mNode->runAction(pickUp);
        break;
    default:
        break;
    }
    Game* game = held->mGame;
    if (held->canBeDragged() && game != nullptr) {
        if (game->mGameBoard != nullptr)
            game->mGameBoard->showSlotHighlight(held->mId);
        if (state == cStateOnTileRack)
            if (PuppetInstance* door = chestDoor(*game))
                door->playAnimation(cAnimStateAbility, 0.0f, true, cBlend);
        held->mDragging = true;
        if (state == cStateDeployedToGameBoard) {
            if (proto != nullptr && !proto->mSelectSound.empty())
                held->playEffectSound(proto->mSelectSound);
            if (game->isLocalTurn()) {
                game->startPonderSound();
                held->mPonderLoopPlaying = 1;
            }
        } else if (proto != nullptr && !proto->mPickUpSound.empty()) {
            held->playEffectSound(proto->mPickUpSound);
        }
    }
    if (PuzzleScript* script = puzzleScript())
        script->onUnitSelected(held);
    return true;
}

void EntityView::ccTouchMoved(CCTouch* touch, CCEvent*) {
    Entity* held = entity();
    if (held == nullptr || mNode == nullptr || touch == nullptr)
        return;
    const CCPoint point = toScene(touch->locationInView());
    if (held->mState == cStateOnTileRack && !mDragFollows) {
        if (puppetDefines(cAnimStatePickedUp) && mNode->numberOfRunningActions() == 0)
            mNode->runAction(PuppetAnimAction::actionWithAnim(cAnimStatePickedUp, true, cBlend));
        mDragFollows = true;
    }
    if (mDragFollows)
        mNode->setPosition(point);
}

void EntityView::ccTouchEnded(CCTouch* touch, CCEvent* event) {
    Entity* held = entity();
    if (gGameScene == nullptr || held == nullptr || held->mGame == nullptr || mNode == nullptr)
        return;
    ccTouchCancelled(touch, event);
    if (touch != nullptr)
        releaseDrag(touch->locationInView());
}

void EntityView::ccTouchCancelled(CCTouch*, CCEvent*) {
    if (mNode == nullptr || entity() == nullptr)
        return;
    mDragFollows = false;
    mNode->runAction(CCScaleTo::actionWithDuration(0.075f, 1.0f));
    endHold();
    settleIdle();
}

void EntityView::endHold() {
    Entity* held = entity();
    Game* game = held->mGame;
    if (game != nullptr && game->mGameBoard != nullptr)
        game->mGameBoard->clearSlotHighlights(held->mId);
    if (PuppetInstance* door = game != nullptr ? chestDoor(*game) : nullptr)
        door->playAnimation(cAnimStateIdle, 0.0f, true, cBlend);
    held->mDragging = false;
    if (held->mPonderLoopPlaying != 0) {
        if (game != nullptr)
            game->stopPonderSound();
        held->mPonderLoopPlaying = 0;
    }
}

void EntityView::settleIdle() {
    Entity* held = entity();
    PuppetInstance* shown = puppet();
    if (shown == nullptr)
        return;
    const bool down = held->mState == cStateKnockedOut || held->mState == cStateDead;
    shown->playAnimation(
        held->resolveAnimationState(down ? cAnimStateKnockedOutIdle : cAnimStateIdle, false), 0.0f,
        true, cBlend);
}

bool EntityView::releaseDrag(const CCPoint& viewPoint) {
    Entity* held = entity();
    Game* game = held != nullptr ? held->mGame : nullptr;
    if (game == nullptr)
        return false;
    const CCPoint point = toScene(viewPoint);
    Player* player = game->getCurrentPlayer();
    if (player == nullptr || player->mTileRack == nullptr) {
        // A refused drop does not leave the tile where the finger left it.
        held->returnToRackSlot();
        return false;
    }
    endHold();
    if (game->mGameBoard == nullptr) {
        held->returnToRackSlot();
        return false;
    }
    settleIdle();
    EntityGrid* target = game->mGameBoard;
    EntityGrid* chest = game->getGrid(cGridTileChest, -1);
    if (chest != nullptr && chest->containsPoint(point))
        target = chest;
    else if (player->mTileRack->containsPoint(point))
        target = player->mTileRack;
    const GridSlot square = findDropSlot(viewPoint, *target);
    const bool accepted = game->dropEntity(held->mId, target->getGridType(), square);
    if (!accepted)
        if (PuzzleScript* script = puzzleScript())
            script->onUnitDeselected();
    return accepted;
}

GridSlot EntityView::findDropSlot(const CCPoint& viewPoint, EntityGrid& grid) const {
    const CCPoint point = toScene(viewPoint);
    const GridSlot square = grid.coordsForPoint(point);
    const bool onGrid = square.x >= 0 && square.y >= 0;
    Entity* held = entity();
    const ProtoEntity* proto = held != nullptr ? held->getProto() : nullptr;
    if (onGrid && proto != nullptr && proto->mType == cEntityPower)
        return square;
    const CCPoint centre = grid.pointForCoords(square, true);
    const auto* view = dynamic_cast<const CocosEntityGridLink*>(grid.getLink());
    const CCSize cell = view != nullptr ? view->getCellSize() : CCSize(0.0f, 0.0f);
    const bool offCentre = std::fabs(centre.x - point.x) / (cell.width * 0.5f) > 0.4f ||
                           std::fabs(centre.y - point.y) / (cell.height * 0.5f) > 0.4f;
    if (offCentre)
        if (Entity* nearest = grid.findNearestEntity(viewPoint, held))
            return nearest->mSlot;
    return square;
}
