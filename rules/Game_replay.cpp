// Game: the sequencer of the actions' visuals (one action at a time, each
// going on when its views report their steps) and the replay of a recorded
// turn: the views are rewound to the turn's start, the actions play again
// and the state as opened is reloaded at the end. Playback never changes
// the model.

#include "rules/Game.h"

#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/CocosTileChestLink.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/TileChest.h"

#include "puppet/PuppetInstance.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <algorithm>

namespace {

// Puts a knocked-out unit's view back on the board square it faded from,
// opaque, at that square's z-order; its view is made when it has none.
void showFadedUnit(Game& game, Entity& entity, const GridSlot& slot) {
    GameBoard* board = game.mGameBoard;
    if (board == nullptr)
        return;
    const cocos2d::CCPoint point = board->pointForCoords(slot, true);
    if (!entity.hasLink())
        entity.linkAt(point);
    CocosEntityLink* view = entity.getEntityLink();
    cocos2d::CCNode* node = view != nullptr ? view->getMainNode() : nullptr;
    if (node == nullptr)
        return;
    node->setPosition(point);
    if (cocos2d::CCRGBAProtocol* colored = cocos2d::ccRGBAProtocolOf(node))
        colored->setOpacity(255);
    entity.setViewZOrder(board->zOrderForCoords(slot));
}

// The shared chest, or the player's own.
TileChest* chestOf(const Game& game, const Player* player) {
    if (game.mTileChest != nullptr)
        return game.mTileChest;
    return player != nullptr ? player->mTileChest : nullptr;
}

} // namespace

void Game::processNextVisual() {
    const size_t first = undoStack().empty() ? 0 : undoStack().size() - 1;
    for (size_t i = first; i < mActions.size(); ++i) {
        CandidateAction* action = mActions[i];
        if (action == nullptr || action->mFailed || action->isDone())
            continue;
        if (action->mPlaybackState == cPlaybackPlaying)
            return;
        for (const CandidateAction* subAction : action->mSubActions)
            if (subAction != nullptr && subAction->mPlaybackState == cPlaybackPlaying)
                return;
        action->processVisuals();
        return;
    }
    if (isReplaying())
        endReplay();
}

void Game::onVisualStepDone(Entity* entity) {
    if (entity == nullptr)
        return;
    // A replay that ends reloads the game, freeing the actions and the
    // entity: the walk stops there.
    const bool replaying = isReplaying();
    for (size_t i = 0; i < mActions.size(); ++i) {
        CandidateAction* action = mActions[i];
        if (action == nullptr || action->isDone() || !action->mVisualsStarted)
            continue;
        const bool taken = action->onEntityVisualDone(entity);
        processNextVisual();
        if (taken || (replaying && !isReplaying()))
            return;
    }
    processNextVisual();
}

void Game::visualStepDone(cocos2d::CCNode* /*node*/, void* entity) {
    onVisualStepDone(static_cast<Entity*>(entity));
}

bool Game::startReplay() {
    if (isReplaying())
        return false;
    undo(true);
    // A tile still held goes back to its rack square.
    if (mTouchEntity != nullptr && mTouchEntity->mDragging) {
        Entity* held = mTouchEntity;
        if (mGameBoard != nullptr)
            mGameBoard->clearSlotHighlights(held->mId);
        const TileChest* chest = chestOf(*this, getCurrentPlayer());
        if (const auto* chestView =
                chest != nullptr ? dynamic_cast<CocosTileChestLink*>(chest->getLink()) : nullptr)
            if (PuppetInstance* door = chestView->getDoor())
                door->playAnimation(cAnimStateIdle, 0.0f, true, PuppetInstance::cDefaultBlend);
        held->mDragging = false;
        if (held->mPonderLoopPlaying != 0) {
            held->mPonderLoopPlaying = 0;
            stopPonderSound();
        }
        held->returnToRackSlot();
        mTouchPhase = 0;
        mTapPending = 1;
    }
    if (!mActions.empty()) {
        if (gGameScene != nullptr)
            gGameScene->hideTurnControls();
        finishVisualsNow();
        mFlags |= cGameReplaying;
        processNextVisual();
        return true;
    }
    const int32_t other = mCurrentPlayer == 0 ? 1 : 0;
    if (countTaunts(other) > 0)
        playTaunts(other);
    return false;
}

bool Game::finishVisualsNow() {
    for (const auto& fade : mKnockOutFades) {
        Entity* entity = getEntity(fade->mEntityId);
        if (entity == nullptr)
            continue;
        showFadedUnit(*this, *entity, fade->mSlot);
        const CocosEntityLink* view = entity->getEntityLink();
        if (auto* puppet =
                dynamic_cast<PuppetInstance*>(view != nullptr ? view->getMainNode() : nullptr))
            puppet->playAnimation(cAnimStateKnockedOutIdle, 0.0f, true,
                                  PuppetInstance::cDefaultBlend);
    }
    PuzzleScript* script = gGameScene != nullptr ? gGameScene->getPuzzleScript() : nullptr;
    for (size_t i = mActions.size(); i-- > 0;) {
        CandidateAction* action = mActions[i];
        if (action == nullptr)
            continue;
        action->mPlaybackState = cPlaybackExecuted;
        if (script != nullptr)
            script->onActionPerformed(action);
        action->resetResultVisuals();
        for (CandidateAction* subAction : action->mSubActions)
            if (subAction != nullptr)
                subAction->finish(false);
        action->restoreInitialState();
    }
    return true;
}

void Game::skipReplay() {
    if (!isReplaying())
        return;
    if (gGameScene != nullptr && gGameScene->getGame() == this)
        gGameScene->clearEffectNodes();
    endReplay();
}

void Game::endReplay() {
    if (!isReplaying())
        return;
    mFlags &= static_cast<uint8_t>(~cGameReplaying);
    if (!mGameOver)
        undo(true);
    showScoreFlyouts();
    hideNewRackTiles();

    const int32_t other = mCurrentPlayer == 0 ? 1 : 0;
    const PlayerRecord* local = getCurrentPlayerRecord();
    if (countTaunts(other) > 0 && local != nullptr && local->mPlayTaunt == 1) {
        // The rack refill follows the last taunt.
        playTaunts(other);
    } else {
        animateRackRefill(0.0f);
        if (countTaunts(mCurrentPlayer) > 0)
            playTaunts(mCurrentPlayer);
    }

    for (const auto& fade : mKnockOutFades) {
        Entity* entity = getEntity(fade->mEntityId);
        if (entity == nullptr)
            continue;
        showFadedUnit(*this, *entity, fade->mSlot);
        entity->playAnimation(cAnimStateDeath, fade->mSlot, fade->mSlot, 0.0f);
    }
    if (gGameScene != nullptr)
        gGameScene->onTurnStarted();
}
