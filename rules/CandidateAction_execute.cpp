// CandidateAction: execution. execute carries the action out on the model in
// a fixed frame: the action-wide values before, the change of its kind of
// action, then (outermost actions only) the slot hazards of the squares
// entities arrived on, the ongoing-link pass, the final halves of the
// records, the ongoing effects and end-of-turn buffs of the turn's last
// action point, and the action-wide values after. Sub-actions execute
// inside their parent's run; the parent captures their final states.

#include "rules/CandidateAction.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"

#include "content/protos/Database.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/SettingsManager.h"

namespace {

// The three-step state change, skipped when the entity is in that state.
void setState(Entity& entity, EntityState state) {
    if (entity.mState != state)
        entity.changeState(state);
}

// The player's victory health over its maximum; 0 when it has no maximum.
float victoryHealthFraction(const Player* player) {
    const int32_t maxHealth = player != nullptr ? player->getVictoryMaxHealth() : 0;
    if (maxHealth < 1)
        return 0.0f;
    return static_cast<float>(player->getVictoryHealth()) / static_cast<float>(maxHealth);
}

// The Teleporter squares of the board that hold no living unit, in slot
// order; empty unless a living unit stands on one of them.
std::vector<GridSlot> freeTeleporters(const GameBoard* board) {
    std::vector<GridSlot> free;
    const PremiumTileInfo* squares = (board != nullptr ? board->getPremiumSquares() : nullptr);
    if (squares == nullptr || board->getWidth() < 1)
        return free;
    bool occupied = false;
    for (int32_t k = 0; k < board->getSlotCount(); ++k) {
        const int32_t x = k % board->getWidth();
        const int32_t y = k / board->getWidth();
        const PremiumTileEntry* entry = squares->getEntryAt(x, y);
        if (entry == nullptr || entry->mType != cPremiumTeleporter)
            continue;
        const Entity* standing = board->getEntityAtIndex(k);
        if (standing != nullptr && standing->isAlive())
            occupied = true;
        else
            free.emplace_back(x, y);
    }
    if (!occupied)
        free.clear();
    return free;
}

// Whether the entity stood on the game board when the record was made.
bool startedOnBoard(const ActionResultInfo& result) {
    return result.mInitialState == cStateDeployedToGameBoard ||
           result.mInitialState == cStateKnockedOut;
}

} // namespace

void CandidateAction::execute() {
    Entity* source = mGame != nullptr ? mGame->getEntity(mSourceEntity) : nullptr;
    EntityGrid* sourceGrid = mGame != nullptr ? mGame->getGrid(mSourceGrid, mSourceOwner) : nullptr;
    EntityGrid* targetGrid = mGame != nullptr ? mGame->getGrid(mTargetGrid, mTargetOwner) : nullptr;
    if (source == nullptr || sourceGrid == nullptr || targetGrid == nullptr)
        return;
    mPlaybackState = cPlaybackExecuting;
    if (!mIsSubAction && mGame->mExecutingAction == nullptr)
        mGame->mExecutingAction = this;
    // A current player index outside the players scores with multiplier 1.
    const int32_t scoreMultiplier =
        mGame->getCurrentPlayer() != nullptr ? mGame->getScoreMultiplier(mGame->mCurrentPlayer) : 1;
    captureGameValues(true);

    switch (mActionType) {
    case cActionDeploy:
        executeDeploy(*source, *targetGrid, scoreMultiplier);
        break;
    case cActionMove:
        executeMove(*source, *targetGrid);
        break;
    case cActionAttack:
        executeAttack(*source, *targetGrid);
        break;
    case cActionHeal:
        executeHeal(*source, *targetGrid);
        break;
    case cActionEquip:
        if (Entity* target = mGame->getEntity(targetGrid->getEntityIdAt(mTargetSlot)))
            target->equip(source->mId, this);
        break;
    case cActionCastPower:
        executeCastPower(*source, *sourceGrid, *targetGrid, scoreMultiplier);
        break;
    case cActionAllyAbility:
        executeAllyAbility(*source, *targetGrid);
        break;
    case cActionSwap:
        executeSwap(*source);
        break;
    default: // Return, Place and UseItem change nothing here.
        break;
    }

    if (!mIsSubAction)
        finishOutermost();
    captureGameValues(false);
    if (!mIsSubAction && mGame->mExecutingAction == this)
        mGame->mExecutingAction = nullptr;
    mPlaybackState = cPlaybackExecuted;
}

void CandidateAction::captureGameValues(bool initial) {
    if (mGame->mPlayers.size() == 2) {
        float* fractions = initial ? mInitialVictoryHealthFraction : mFinalVictoryHealthFraction;
        int32_t* debuffs = initial ? mInitialAssaultDebuff : mFinalAssaultDebuff;
        for (int32_t i = 0; i < 2; ++i)
            fractions[i] = victoryHealthFraction(mGame->getPlayer(i));
        debuffs[0] = mGame->countUnitsOnVictoryDamageSquares(1);
        debuffs[1] = mGame->countUnitsOnVictoryDamageSquares(0);
    }
    (initial ? mInitialFreeTeleporters : mFinalFreeTeleporters) =
        freeTeleporters(mGame->mGameBoard);
}

void CandidateAction::clearTargetSquare(const Entity& source, EntityGrid& targetGrid) {
    Entity* lying = mGame->getEntity(targetGrid.getEntityIdAt(mTargetSlot));
    if (lying != nullptr && lying != &source)
        lying->kill(true, source.mId);
}

void CandidateAction::executeDeploy(Entity& source, EntityGrid& targetGrid,
                                    int32_t scoreMultiplier) {
    clearTargetSquare(source, targetGrid);
    ActionResultInfo* result = getOrCreateResult(source.mId);
    source.placeOnGrid(&targetGrid, mTargetSlot);
    int32_t score = 0;
    const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get();
    if (gGameScene != nullptr && scoring != nullptr && gCurrentGame != nullptr &&
        mGame->isLocalTurn() && source.mOwner == mGame->mCurrentPlayer) {
        score = scoring->mDeploy * scoreMultiplier;
        mGame->addScore(mGame->mCurrentPlayer, score);
    }
    result->mScore = score;
    setState(source, cStateDeployedToGameBoard);
}

void CandidateAction::executeMove(Entity& source, EntityGrid& targetGrid) {
    clearTargetSquare(source, targetGrid);
    source.moveTo(mTargetSlot, this);
    setState(source, cStateDeployedToGameBoard);
}

void CandidateAction::executeAttack(Entity& source, EntityGrid& targetGrid) {
    // The target is whoever stands on the square now.
    const int32_t target = targetGrid.getEntityIdAt(mTargetSlot);
    if (mGame->getEntity(target) == nullptr || !source.canAttack(target)) {
        mFailed = true;
    } else {
        const bool linked = !mIsSubAction && source.startOngoingAttack(target, this);
        if (!linked)
            source.attack(target, this);
    }
    setState(source, cStateDeployedToGameBoard);
}

void CandidateAction::executeHeal(Entity& source, EntityGrid& targetGrid) {
    const int32_t target = targetGrid.getEntityIdAt(mTargetSlot);
    if (mGame->getEntity(target) == nullptr || !source.canHeal(target, true, false)) {
        mFailed = true;
    } else {
        bool linked = false;
        if (!mIsSubAction) {
            source.startOngoingHeal(target, this);
            linked = mLinkSourceEntity == source.mId && mLinkTargetEntity == target;
        }
        if (!linked)
            source.heal(target, this);
    }
    setState(source, cStateDeployedToGameBoard);
}

void CandidateAction::executeAllyAbility(Entity& source, EntityGrid& targetGrid) {
    const int32_t target = targetGrid.getEntityIdAt(mTargetSlot);
    if (mGame->getEntity(target) == nullptr || !source.canUseAllyAbility(target))
        mFailed = true;
    else
        source.useAllyAbility(target, this);
    setState(source, cStateDeployedToGameBoard);
}

void CandidateAction::executeSwap(Entity& source) {
    EntityGrid* chest = mGame->getGrid(cGridTileChest, mGame->mCurrentPlayer);
    EntityGrid* rack = mGame->getGrid(cGridTileRack, source.mOwner);
    if (chest == nullptr || rack == nullptr)
        return;
    rack->moveEntityToFirstFree(source.mId, chest);
    EntityGrid::shuffle(chest);
}

void CandidateAction::finishOutermost() {
    // Trains may record into this action, so the list can grow meanwhile.
    for (size_t i = 0; i < mResults.size(); ++i) {
        ActionResultInfo* result = mResults[i];
        const Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr)
            continue;
        result->mFinalSlot = entity->mSlot;
        triggerSlotHazard(result, result->mFinalSlot);
    }
    mGame->updateOngoingLinks(this);
    captureFinalStates();
    if (mActionPointCost > 0) {
        mGame->applyOngoingEffects(this);
        // The caller takes this action's cost afterwards: one point left
        // means the turn's last point is being spent.
        const Player* current = mGame->getCurrentPlayer();
        if (current != nullptr && current->mActionPoints == 1 && mGame->mGameBoard != nullptr)
            mGame->mGameBoard->consumeEndOfTurnBuffs(mGame->mCurrentPlayer);
    }
    for (CandidateAction* subAction : mSubActions)
        if (subAction != nullptr)
            subAction->captureFinalStates();
}

void CandidateAction::triggerSlotHazard(ActionResultInfo* result, const GridSlot& newSlot) {
    const Entity* entity = result != nullptr ? mGame->getEntity(result->mEntityID) : nullptr;
    GameBoard* board = mGame->mGameBoard;
    // Only a square of the board is a premium square; an entity that was
    // already standing there has not arrived.
    if (entity == nullptr || board == nullptr || board->getEntityIdAt(newSlot) != entity->mId ||
        (result->mInitialSlot == newSlot && startedOnBoard(*result)))
        return;
    const PremiumTileInfo* squares = (board != nullptr ? board->getPremiumSquares() : nullptr);
    const PremiumTileEntry* entry =
        squares != nullptr ? squares->getEntryAt(newSlot.x, newSlot.y) : nullptr;
    if (entry == nullptr || entry->mType != cPremiumSendTrain)
        return;
    const int32_t train =
        mGame->createEntity(Database::getProtoIdByName("TrainHazard"), entity->mOwner);
    if (train < 0)
        return;
    auto* hazard = new CandidateAction(mGame, 0);
    if (!hazard->init(train, cActionCastPower, GridSlot(entry->mLinkTarget, 2), board)) {
        hazard->release();
        return;
    }
    hazard->mSourceSlot = newSlot;
    hazard->mIsSubAction = true;
    addSubAction(hazard);
}
