// CandidateAction: the replay's rewind. restoreInitialState turns the views
// of the entities an action touched back to what the initial half of its
// records shows, so that the action can be played again; the model stays
// as execution left it. Sub-actions are rewound first.

#include "rules/CandidateAction.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"

#include "content/protos/AuraType.h"
#include "content/protos/Database.h"
#include "content/settings/PremiumTileInfo.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

namespace {

// Animation states the rewind returns a puppet to.
constexpr int32_t cAnimIdle = 0;
constexpr int32_t cAnimKnockedOutIdle = 20;
constexpr float cUpgradeBlendTime = 0.15f;

cocos2d::CCNode* mainNodeOf(const Entity& entity) {
    const CocosEntityLink* view = entity.getEntityLink();
    return view != nullptr ? view->getMainNode() : nullptr;
}

void setOpacity(const Entity& entity, uint8_t opacity) {
    if (cocos2d::CCRGBAProtocol* colored = cocos2d::ccRGBAProtocolOf(mainNodeOf(entity)))
        colored->setOpacity(opacity);
}

void setVisible(const Entity& entity, bool visible) {
    if (cocos2d::CCNode* node = mainNodeOf(entity))
        node->setIsVisible(visible);
}

// Puts the view at a square of the grid.
void placeView(const Entity& entity, EntityGrid* grid, const GridSlot& slot) {
    cocos2d::CCNode* node = mainNodeOf(entity);
    if (node != nullptr && grid != nullptr)
        node->setPosition(grid->pointForCoords(slot, true));
}

// Premium-square auras show where a unit stands, not what it carries.
bool isPremiumSquareAura(int32_t aura) {
    return aura == cAuraPremiumSquarePower || aura == cAuraPremiumSquareDefense ||
           aura == cAuraPremiumSquareVictoryDamageSubtract ||
           aura == cAuraPremiumSquareVictoryDamageAdd || aura == cAuraPremiumSquareResist;
}

// The aura of the premium square at slot on the board; -1 for none.
int32_t premiumAuraAt(const GameBoard* board, const GridSlot& slot) {
    const PremiumTileInfo* squares = board != nullptr ? board->getPremiumSquares() : nullptr;
    const PremiumTileEntry* entry =
        squares != nullptr ? squares->getEntryAt(slot.x, slot.y) : nullptr;
    return entry != nullptr ? CocosEntityLink::premiumSquareAura(entry->mType) : -1;
}

} // namespace

void CandidateAction::restoreInitialState() {
    Entity* source = mGame != nullptr ? mGame->getEntity(mSourceEntity) : nullptr;
    if (source == nullptr)
        return;
    mPlaybackState = cPlaybackRestoringInitialState;
    for (CandidateAction* subAction : mSubActions)
        if (subAction != nullptr)
            subAction->restoreInitialState();

    const ProtoEntity* sourceProto = source->getProto();
    EntityGrid* sourceGrid = mGame->getGrid(mSourceGrid, mSourceOwner);
    EntityGrid* targetGrid = mGame->getGrid(mTargetGrid, mTargetOwner);
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity != nullptr)
            restoreRecordView(*entity, *result, sourceProto, sourceGrid);
    }

    CocosEntityLink* sourceView = source->getEntityLink();
    switch (mActionType) {
    case cActionDeploy:
        if (sourceView != nullptr) {
            sourceView->hideHealthBar(0.0f);
            sourceView->setTeamColorVisible(false);
            setOpacity(*source, 0);
        }
        break;
    case cActionMove:
        if (sourceView != nullptr) {
            placeView(*source, sourceGrid, mSourceSlot);
            if (sourceGrid != nullptr)
                source->setViewZOrder(sourceGrid->zOrderForCoords(mSourceSlot));
            if (const int32_t left = premiumAuraAt(mGame->mGameBoard, mTargetSlot); left >= 0)
                sourceView->hideAura(left, false, 0.0f);
            if (const int32_t back = premiumAuraAt(mGame->mGameBoard, mSourceSlot); back >= 0)
                sourceView->showAura(back, false, 0.0f, false);
        }
        break;
    case cActionEquip: {
        placeView(*source, targetGrid, mTargetSlot);
        const Entity* target = mGame->getEntity(mTargetEntity);
        if (CocosEntityLink* targetView = target != nullptr ? target->getEntityLink() : nullptr)
            targetView->removeEquipment(sourceProto);
        break;
    }
    default:
        break;
    }

    if (gGameScene != nullptr) {
        for (int32_t i = 0; i < 2; ++i) {
            const float fraction = mInitialVictoryHealthFraction[i];
            if (fraction > 0.0f) {
                const int32_t label = i == mGame->mCurrentPlayer ? 0 : 1;
                gGameScene->setPlayerHealthText(i, label, fraction);
                gGameScene->setPlayerHealth(i, fraction, false, 0.0f);
            }
            if (mInitialAssaultDebuff[i] >= 0)
                gGameScene->setCrystalDebuffLevels(i, mInitialAssaultDebuff[i], false, 0.0f);
        }
    }
    mPlaybackState = cPlaybackInitialStateRestored;
}

void CandidateAction::restoreRecordView(Entity& entity, const ActionResultInfo& result,
                                        const ProtoEntity* sourceProto, EntityGrid* sourceGrid) {
    if (!entity.hasLink()) {
        const GridSlot& slot = result.mInitialSlot;
        entity.linkAt(sourceGrid != nullptr ? sourceGrid->pointForCoords(slot, true)
                                            : cocos2d::CCPoint(0.0f, 0.0f));
        if (sourceGrid != nullptr)
            entity.setViewZOrder(sourceGrid->zOrderForCoords(slot));
        setOpacity(entity, 255);
    }
    CocosEntityLink* view = entity.getEntityLink();
    if (view == nullptr)
        return;

    view->applyState(result.mInitialState);
    const float health = result.mInitialHealthFraction >= 0.0f ? result.mInitialHealthFraction
                                                               : entity.getHealthFraction();
    view->setHealthBarPercentage(health * 100.0f, false, 0.0f);
    view->setHealthCategory(health);
    if (entity.mGrid != nullptr && result.mInitialSlot.x >= 0 && result.mInitialSlot.y >= 0)
        placeView(entity, mGame->mGameBoard, result.mInitialSlot);
    // A unit this action raised from the dead was not there before.
    if (sourceProto != nullptr && sourceProto->mRaiseDeadProto >= 0 &&
        sourceProto->mRaiseDeadProto == entity.mProtoId && result.mInitialState == cStateDead)
        setVisible(entity, false);

    for (int32_t aura = 0; aura < ActionResultInfo::cAuraFlagCount; ++aura) {
        if (isPremiumSquareAura(aura))
            continue;
        if (static_cast<size_t>(aura) < result.mInitialAuraFlags.size() &&
            result.mInitialAuraFlags[static_cast<size_t>(aura)])
            view->showAura(aura, false, 0.0f, false);
        else
            view->hideAura(aura, false, 0.0f);
    }
    if (result.mInitialPuppetUpgradeLevel != result.mFinalPuppetUpgradeLevel)
        view->showPuppetUpgradeLevel(result.mInitialPuppetUpgradeLevel,
                                     result.mInitialState == cStateKnockedOut ? cAnimKnockedOutIdle
                                                                              : cAnimIdle,
                                     cUpgradeBlendTime);
    if (result.mDestroyedGearProtoID >= 0)
        view->rebuildEquipmentDisplay();
    view->setCharge(result.mInitialCharge);
    if (result.mEstablishedOngoingLink)
        if (Entity* linked = mGame->getEntity(result.mFinalOngoingTarget))
            view->hideLink(linked, false);
    if (result.mBrokeOngoingLink)
        if (Entity* linked = mGame->getEntity(result.mInitialOngoingTarget))
            view->showLink(linked, false);
    if (sourceProto != nullptr && sourceProto->mHealAttachProto >= 0)
        view->removeEquipment(Database::getProto(sourceProto->mHealAttachProto));
    // A respawned unit shows again where it lay.
    if (result.mInitialState == cStateKnockedOut && result.mFinalState == cStateOnTileRack) {
        setOpacity(entity, 255);
        setVisible(entity, true);
    }
}
