// CandidateAction: playback. An executed action shows its outcome from its
// records: the source's visual runs, the records' entities react, and the
// action is done when the source's view reports its step; then its
// sub-actions play one after the other. Steps no view reports (a teleport
// or a cast power without a puppet, a train, actions that show nothing) are
// reported here, on the action's own node, so playback never stalls. This
// file holds the sequencing and the quieter kinds of action; Attack, Heal
// and CastPower are in CandidateAction_playHits.cpp.

#include "rules/CandidateAction.h"

#include "rules/ActionEffects.h"
#include "rules/AnimStateIds.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/PuzzleScript.h"

#include "content/LocalizedStrings.h"
#include "content/protos/AllyAbilityInfo.h"
#include "content/protos/BuffInfo.h"
#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/PremiumTileType.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"

#include <cmath>
#include <cstdio>

using cocos2d::CCPoint;

namespace {

cocos2d::CCNode* viewNodeOf(const Entity* entity) {
    const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    return view != nullptr ? view->getMainNode() : nullptr;
}

// The board point of a square; (0, 0) without a board.
CCPoint boardPoint(const Game& game, const GridSlot& square) {
    return game.mGameBoard != nullptr ? game.mGameBoard->pointForCoords(square, true)
                                      : CCPoint(0.0f, 0.0f);
}

// Whether the board square is a premium square of that type.
bool isPremiumSquare(const Game& game, const GridSlot& square, int32_t type) {
    const PremiumTileInfo* squares =
        game.mGameBoard != nullptr ? game.mGameBoard->getPremiumSquares() : nullptr;
    const PremiumTileEntry* entry =
        squares != nullptr ? squares->getEntryAt(square.x, square.y) : nullptr;
    return entry != nullptr && entry->mType == type;
}

// Makes the entity's view at its square when it has none.
void ensureView(Entity& entity) {
    if (entity.hasLink())
        return;
    EntityGrid* grid = entity.mGrid;
    entity.linkAt(grid != nullptr ? grid->pointForCoords(entity.mSlot, true) : CCPoint(0.0f, 0.0f));
    if (grid != nullptr)
        entity.setViewZOrder(grid->zOrderForCoords(entity.mSlot));
}

// The reaction of a record's entity to what the action did to it.
int32_t reactionFor(const Entity& entity, const ActionResultInfo& result) {
    if (result.mFinalState == cStateKnockedOut && result.mInitialState != cStateKnockedOut)
        return cAnimStateKnockedOut;
    if (result.mFinalState == cStateDead)
        return cAnimStateDeath;
    if (result.mHealthChange < 0)
        return cAnimStateDamaged;
    return entity.chooseAnimationVariant(cAnimStateIdle, &result, true);
}

} // namespace

std::vector<float>& CandidateAction::hitDelays() {
    static std::vector<float> delays;
    return delays;
}

void CandidateAction::setupVisualNode() {
    if (mVisualNode != nullptr) {
        mVisualNode->removeFromParentAndCleanup(true);
        mVisualNode->release();
        mVisualNode = nullptr;
    }
    cocos2d::CCNode* layer = gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr;
    if (layer == nullptr)
        return;
    mVisualNode = cocos2d::CCNode::node();
    mVisualNode->retain();
    layer->addChild(mVisualNode);
}

void CandidateAction::processVisuals() {
    Entity* source = mGame != nullptr ? mGame->getEntity(mSourceEntity) : nullptr;
    if (gGameScene == nullptr || source == nullptr ||
        mGame->getGrid(mSourceGrid, mSourceOwner) == nullptr ||
        mGame->getGrid(mTargetGrid, mTargetOwner) == nullptr)
        return;
    if (CandidateAction* playing = mGame->findAction(cPlaybackPlaying))
        playing->finish(true);

    mPlaybackState = cPlaybackPlaying;
    if (mGame->mPlayingAction == nullptr)
        mGame->mPlayingAction = this;
    setupVisualNode();
    mVisualsStarted = true;
    // A swapped tile's view is made where it stood, by the Swap itself.
    if (mActionType != cActionSwap)
        ensureView(*source);
    switch (mActionType) {
    case cActionDeploy:
        playDeploy(*source);
        break;
    case cActionMove:
        playMove(*source);
        break;
    case cActionAttack:
        playAttack(*source);
        break;
    case cActionHeal:
        playHeal(*source);
        break;
    case cActionEquip:
        playEquip(*source);
        break;
    case cActionCastPower:
        playCastPower(*source);
        break;
    case cActionAllyAbility:
        playAllyAbility(*source);
        break;
    case cActionSwap:
        playSwap(*source);
        break;
    default:
        std::printf("  CandidateAction::processVisuals() -- action type %d not yet handled\n",
                    mActionType);
        finishUnplayed(*source);
        break;
    }

    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = mGame->getEntity(result->mEntityID);
        CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
        if (view == nullptr)
            continue;
        if (result->mBrokeOngoingLink)
            if (Entity* linked = mGame->getEntity(result->mInitialOngoingTarget))
                view->hideLink(linked, true);
        if (result->mEstablishedOngoingLink)
            if (Entity* linked = mGame->getEntity(result->mFinalOngoingTarget))
                view->showLink(linked, true);
    }
    if (mGame->mPlayingAction == this)
        mGame->mPlayingAction = nullptr;
    playPremiumSquareReactions(this);
}

bool CandidateAction::onEntityVisualDone(Entity* entity) {
    if (entity == nullptr)
        return false;
    if (entity->mId == mSourceEntity && mPlaybackState < cPlaybackDone) {
        mPlaybackState = cPlaybackDone;
        resetResultVisuals();
        reportPerformed();
        if (!mSubActions.empty() && mSubActions.front() != nullptr)
            mSubActions.front()->processVisuals();
        return true;
    }
    for (size_t i = 0; i < mSubActions.size(); ++i) {
        CandidateAction* subAction = mSubActions[i];
        if (subAction == nullptr || subAction->isDone() || subAction->mSourceEntity != entity->mId)
            continue;
        subAction->onEntityVisualDone(entity);
        if (i + 1 < mSubActions.size() && mSubActions[i + 1] != nullptr)
            mSubActions[i + 1]->processVisuals();
        return true;
    }
    return false;
}

void CandidateAction::finish(bool done) {
    mPlaybackState = done ? cPlaybackDone : cPlaybackExecuted;
    reportPerformed();
    resetResultVisuals();
    for (CandidateAction* subAction : mSubActions)
        if (subAction != nullptr)
            subAction->finish(done);
}

void CandidateAction::resetResultVisuals() {
    if (mGame == nullptr)
        return;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = mGame->getEntity(result->mEntityID);
        CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
        if (view == nullptr)
            continue;
        if (cocos2d::CCNode* node = view->getMainNode())
            node->setScale(1.0f);
        if (result->mInitialPuppetUpgradeLevel != result->mFinalPuppetUpgradeLevel)
            view->showPuppetUpgradeLevel(
                result->mFinalPuppetUpgradeLevel,
                result->mFinalState == cStateKnockedOut ? cAnimStateKnockedOutIdle : cAnimStateIdle,
                0.15f);
        if (result->mDestroyedGearProtoID >= 0)
            view->removeEquipment(Database::getProto(result->mDestroyedGearProtoID));
    }
}

void CandidateAction::reportPerformed() {
    if (PuzzleScript* script = gGameScene != nullptr ? gGameScene->getPuzzleScript() : nullptr)
        script->onActionPerformed(this);
}

void CandidateAction::reportStepAfter(Entity& entity, float delay) {
    if (mVisualNode == nullptr)
        return;
    mVisualNode->runAction(cocos2d::CCSequence::actions(
        cocos2d::CCDelayTime::actionWithDuration(delay),
        cocos2d::CCCallFuncND::actionWithTarget(mGame, callfuncND_selector(Game::visualStepDone),
                                                &entity)));
}

void CandidateAction::finishUnplayed(Entity& source) {
    // Done at once; the next visual starts from the report, outside this call.
    finish(true);
    reportStepAfter(source, 0.0f);
}

void CandidateAction::showFinalDebuffs(float delay) {
    if (gGameScene == nullptr)
        return;
    for (int32_t player = 0; player < 2; ++player)
        if (mFinalAssaultDebuff[player] >= 0)
            gGameScene->setCrystalDebuffLevels(player, mFinalAssaultDebuff[player], true, delay);
}

void CandidateAction::upgradeStep(cocos2d::CCNode* /*node*/, void* level) {
    playUpgradeAnimation(this, static_cast<int32_t>(reinterpret_cast<intptr_t>(level)));
}

void CandidateAction::playDeploy(Entity& source) {
    if (cocos2d::CCNode* node = viewNodeOf(&source))
        if (const EntityGrid* grid = mGame->getGrid(mTargetGrid, mTargetOwner))
            node->setPosition(const_cast<EntityGrid*>(grid)->pointForCoords(mTargetSlot, true));
    const ProtoEntity* proto = source.getProto();
    if (proto != nullptr && !proto->mDeploySound.empty())
        source.playEffectSound(proto->mDeploySound);
    playDeploySmoke(this, &source);
    playScoreFlyouts(this, 0.5f);
    bool stomped = false;
    for (const ActionResultInfo* result : mResults) {
        updateAuras(mGame, result, 0.0f);
        playBloodrageGain(mGame, result, 0.0f);
        if (!result->mKilled)
            continue;
        Entity* victim = mGame->getEntity(result->mEntityID);
        cocos2d::CCNode* node = viewNodeOf(victim);
        if (victim == nullptr)
            continue;
        stomped = true;
        victim->playAnimationInPlace(cAnimStateDeath, victim->mSlot, 0.2f);
        playCorpseStompEffect(victim, &source, this, node != nullptr ? node->getZOrder() + 1 : 1,
                              0.2f);
        if (CocosEntityLink* view = victim->getEntityLink())
            view->applyPremiumTileAura(result, 0.0f);
    }
    if (stomped && proto != nullptr && proto->mDeployToEntityState >= 0) {
        source.playAnimation(cAnimStateBirth, mTargetSlot, mTargetSlot, 0.0f);
        cocos2d::CCNode* node = viewNodeOf(&source);
        playEffectPuppet("Effects/WraithSpawn01", boardPoint(*mGame, mTargetSlot),
                         node != nullptr ? node->getZOrder() + 10 : 10, 0.0f, false);
        if (CocosEntityLink* view = source.getEntityLink())
            view->updatePremiumTileAura(mTargetSlot, true, 0.0f, true);
    } else {
        source.playAnimation(cAnimStateDeploy, mTargetSlot, mTargetSlot, 0.0f);
    }
    if (proto != nullptr && proto->mDeployCost == 0) {
        cocos2d::CCNode* node = viewNodeOf(&source);
        playEffectPuppet("Civ/KX4/Effects/APSpawn01", boardPoint(*mGame, mTargetSlot),
                         node != nullptr ? node->getZOrder() + 10 : 10, 0.0f, false);
    }
    showFinalDebuffs(0.0f);
}

void CandidateAction::playMove(Entity& source) {
    if (cocos2d::CCNode* node = viewNodeOf(&source)) {
        if (mGame->mGameBoard != nullptr) {
            source.setViewZOrder(mGame->mGameBoard->zOrderForCoords(mTargetSlot));
            node->setPosition(boardPoint(*mGame, mSourceSlot));
        }
    }
    const int32_t dx = mTargetSlot.x - mSourceSlot.x;
    const int32_t dy = mTargetSlot.y - mSourceSlot.y;
    const float t = std::trunc(std::sqrt(static_cast<float>(dx * dx + dy * dy))) * 0.3f;
    if (isPremiumSquare(*mGame, mSourceSlot, cPremiumTeleporter) &&
        isPremiumSquare(*mGame, mTargetSlot, cPremiumTeleporter)) {
        float delay = 0.0f;
        playTeleportEffect(this, source.mId, mSourceSlot, mTargetSlot, 0.0f, &delay);
        // The teleport reports the step only for a puppet.
        if (source.getPuppetHandle() < 0 || viewNodeOf(&source) == nullptr)
            reportStepAfter(source, delay);
    } else {
        source.playAnimation(cAnimStateMove, mSourceSlot, mTargetSlot, 0.0f);
    }
    if (CocosEntityLink* view = source.getEntityLink()) {
        view->updatePremiumTileAura(mSourceSlot, false, 0.0f, true);
        view->updatePremiumTileAura(mTargetSlot, true, 0.0f, true);
    }
    showFinalDebuffs(t * 0.5f);
    bool stomped = false;
    for (const ActionResultInfo* result : mResults) {
        updateAuras(mGame, result, t);
        playBloodrageGain(mGame, result, t);
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr)
            continue;
        if (!result->mKilled) {
            showHealthChange(entity, result->mHealthChange, this, 0.2f);
            if (entity->isVictoryUnit())
                playCrystalShardBurst(this, &source, entity, 0.2f);
            continue;
        }
        stomped = true;
        entity->playAnimationInPlace(cAnimStateDeath, entity->mSlot, t);
        cocos2d::CCNode* node = viewNodeOf(entity);
        playCorpseStompEffect(entity, &source, this, node != nullptr ? node->getZOrder() + 1 : 1,
                              t);
    }
    if (stomped && mVisualNode != nullptr)
        mVisualNode->runAction(cocos2d::CCSequence::actions(
            cocos2d::CCDelayTime::actionWithDuration(t),
            cocos2d::CCCallFuncN::actionWithTarget(
                this, callfuncN_selector(CandidateAction::stompSoundStep))));
}

void CandidateAction::stompSoundStep(cocos2d::CCNode* /*node*/) {
    playStompSound(this);
}

void CandidateAction::playEquip(Entity& item) {
    const ProtoEntity* itemProto = item.getProto();
    if (itemProto != nullptr && !itemProto->mDeploySound.empty())
        item.playEffectSound(itemProto->mDeploySound);
    Entity* target = mGame->getEntity(mTargetEntity);
    CocosEntityLink* targetView = target != nullptr ? target->getEntityLink() : nullptr;
    if (targetView != nullptr) {
        targetView->applyEquipment(itemProto, true);
        cocos2d::CCNode* node = targetView->getMainNode();
        if (itemProto != nullptr && itemProto->mType == cEntityGear && node != nullptr)
            playEffectPuppet("Effects/GearUpgrade01", node->getPosition(), node->getZOrder() + 10,
                             0.0f, false);
        if (itemProto != nullptr && itemProto->mBuffInfo != nullptr &&
            itemProto->mBuffInfo->mAuraType >= 0)
            targetView->showAura(itemProto->mBuffInfo->mAuraType, true, 0.5f, false);
    }
    playScoreFlyouts(this, 0.85f);
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (entity == nullptr)
            continue;
        updateAuras(mGame, result, 0.0f);
        if (entity == &item)
            continue;
        if (entity->isVictoryUnit())
            showPlayerHealth(entity, this, result->mFinalHealthFraction, 0.5f);
        showHealthChange(entity, result->mHealthChange, this, 0.5f);
        entity->playAnimationInPlace(reactionFor(*entity, *result), entity->mSlot, 0.5f);
        if (result->mHealthChange > 0)
            playHealEffect(this, entity, 0.25f);
    }
    showFinalDebuffs(0.25f);
    // No view reports an item's step: the action ends with its target's
    // reaction.
    reportStepAfter(item, 0.5f);
}

void CandidateAction::playAllyAbility(Entity& source) {
    Entity* ally = mGame->getEntity(mTargetEntity);
    if (ally == nullptr) {
        finishUnplayed(source);
        return;
    }
    const ProtoEntity* proto = source.getProto();
    const bool swaps =
        proto != nullptr && proto->mAllyAbility != nullptr && proto->mAllyAbility->mSwapWithAlly;
    if (!swaps) {
        source.playAnimation(cAnimStateAbility, mSourceSlot, mTargetSlot, 0.0f);
    } else {
        const ActionResultInfo* own = findResult(source.mId);
        const GridSlot arrival = own != nullptr ? own->mFinalSlot : source.mSlot;
        const CCPoint from = boardPoint(*mGame, mSourceSlot);
        const CCPoint to = boardPoint(*mGame, arrival);
        playSoundFilePanned("sound/Civ_Ninja_Deploy_SmokeBomb_Vanish.mp3", from, nullptr, false);
        playSoundFilePanned("sound/Civ_Ninja_Deploy_SmokeBomb_Option2.mp3", to, nullptr, false);
        cocos2d::CCNode* node = viewNodeOf(&source);
        if (node != nullptr) {
            // Vanishes in smoke and reappears at the ally's square; the
            // sequence's end is the step.
            node->runAction(cocos2d::CCSequence::actions(
                PuppetAnimAction::actionWithAnim(cAnimStateAbility, false, 0.0f, 0.0f, -1,
                                                 PuppetInstance::cDefaultBlend,
                                                 dynamic_cast<PuppetInstance*>(node)),
                cocos2d::CCDelayTime::actionWithDuration(0.4f),
                cocos2d::CCDelayTime::actionWithDuration(0.2f),
                cocos2d::CCFadeOut::actionWithDuration(0.1f),
                cocos2d::CCMoveTo::actionWithDuration(0.0f, to),
                cocos2d::CCSpawn::actions(cocos2d::CCFadeIn::actionWithDuration(0.05f),
                                          cocos2d::CCScaleTo::actionWithDuration(0.05f, 1.0f)),
                cocos2d::CCCallFuncND::actionWithTarget(
                    mGame, callfuncND_selector(Game::visualStepDone), &source)));
            playNinjaSmoke(from, node->getZOrder(), 0.6f);
            playNinjaSmoke(to, node->getZOrder(), 0.6f);
        } else {
            reportStepAfter(source, 0.75f);
        }
        playNinjaSmoke(boardPoint(*mGame, ally->mSlot), node != nullptr ? node->getZOrder() : 0,
                       0.6f);
    }
    for (const ActionResultInfo* result : mResults) {
        Entity* entity = mGame->getEntity(result->mEntityID);
        if (CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr)
            view->applyPremiumTileAura(result, 0.0f);
        if (entity != nullptr && entity->mCreatorEntityID == source.mId)
            if (CocosEntityLink* view = entity->getEntityLink())
                view->rebuildEquipmentDisplay();
    }
    playScoreFlyouts(this, 0.0f);
}

void CandidateAction::playSwap(Entity& tile) {
    playSoundEffect("sound/UI_Game_Chest_Tap.mp3", nullptr, false);
    if (mGame->isReplaying()) {
        const cocos2d::CCSize win = cocos2d::CCDirector::sharedDirector()->getWinSize();
        gGameScene->showBigAttackBanner(
            localizedString("Swapped an item"), CCPoint(win.width * 0.5f, win.height * 0.5f),
            cocos2d::CCCallFuncND::actionWithTarget(
                mGame, callfuncND_selector(Game::visualStepDone), &tile),
            0.0f, 0.75f);
        return;
    }
    // A tile without a view gets one where it stood.
    if (!tile.hasLink()) {
        EntityGrid* grid = mGame->getGrid(mSourceGrid, mSourceOwner);
        tile.linkAt(grid != nullptr ? grid->pointForCoords(mSourceSlot, true)
                                    : CCPoint(0.0f, 0.0f));
        tile.setViewZOrder(1000);
    }
    cocos2d::CCNode* node = viewNodeOf(&tile);
    if (node == nullptr) {
        reportStepAfter(tile, 0.0f);
        return;
    }
    node->runAction(cocos2d::CCSequence::actions(
        cocos2d::CCSpawn::actions(cocos2d::CCScaleTo::actionWithDuration(0.2f, 0.0f),
                                  cocos2d::CCFadeOut::actionWithDuration(0.2f)),
        cocos2d::CCCallFuncND::actionWithTarget(mGame, callfuncND_selector(Game::visualStepDone),
                                                &tile)));
}
