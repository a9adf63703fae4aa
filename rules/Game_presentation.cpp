// Game: the presentation around a turn that is no action's visual: the
// taunts and the reactions to them, the tiles flying from the chest into the
// rack with their sounds, and the "ponder" loop while a tile is held.

#include "rules/Game.h"

#include "rules/AnimStateIds.h"
#include "rules/CocosEntityLink.h"
#include "rules/CocosTileChestLink.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

#include <algorithm>
#include <cstdint>

using cocos2d::CCPoint;

namespace {

constexpr float cTauntSpread = 1.5f;   // seconds over which a side's taunts start
constexpr float cPonderFadeIn = 1.0f;  // seconds
constexpr float cPonderFadeOut = 0.5f; // seconds
constexpr const char* cPonderLoop = "sound/Game_Ponder_LP.mp3";

cocos2d::CCNode* viewNodeOf(const Entity* entity) {
    const CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    return view != nullptr ? view->getMainNode() : nullptr;
}

// Stops a sound effect once its fade-out has run; holds itself on the
// scheduler until then.
class EffectStopper : public cocos2d::CCObject {
public:
    static void stopAfter(int32_t effectId, float seconds) {
        auto* stopper = new EffectStopper(effectId);
        cocos2d::CCScheduler::sharedScheduler()->scheduleSelector(
            schedule_selector(EffectStopper::fire), stopper, seconds, false);
        stopper->release();
    }

private:
    explicit EffectStopper(int32_t effectId) : mEffectId(effectId) {}
    void fire(cocos2d::ccTime /*dt*/) {
        stopSoundEffect(mEffectId);
        cocos2d::CCScheduler::sharedScheduler()->unscheduleSelector(
            schedule_selector(EffectStopper::fire), this);
    }
    int32_t mEffectId;
};

// The k of a sequence step, carried as its data pointer.
void* stepIndex(int32_t k) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(k));
}

int32_t indexOfStep(void* data) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(data));
}

} // namespace

void Game::playTaunts(int32_t player) {
    const int32_t count = countTaunts(player);
    if (count <= 0)
        return;
    mTauntsRunning = 0;
    const float step = cTauntSpread / static_cast<float>(count);
    for (size_t i = 0; i < mTaunts.size(); ++i) {
        Entity* entity = getEntity(mTaunts[i]->mEntityId);
        // A taunt whose unit is gone is passed over, as countTaunts does.
        if (entity == nullptr || entity->mOwner != player)
            continue;
        entity->playAnimation(mTaunts[i]->mAnimType, entity->mSlot, entity->mSlot,
                              static_cast<float>(i) * step);
        ++mTauntsRunning;
    }
}

void Game::onTauntFinished(cocos2d::CCNode* /*node*/, Entity* entity) {
    --mTauntsRunning;
    if (mTauntsRunning != 0)
        return;
    if ((mFlags & cGameHasActions) == 0 && entity != nullptr)
        playTauntReactions(entity->mOwner == 0 ? 1 : 0);
    animateRackRefill(0.0f);
}

void Game::tauntFinished(cocos2d::CCNode* node, void* entity) {
    onTauntFinished(node, static_cast<Entity*>(entity));
}

void Game::playTauntReactions(int32_t player) {
    stopTauntReactions();
    if (mGameBoard == nullptr)
        return;
    for (int32_t i = 0; i < mGameBoard->getSlotCount(); ++i) {
        Entity* entity = getEntity(mGameBoard->getEntityIdAtIndex(i));
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (proto == nullptr || !entity->hasLink() || proto->mType != cEntityUnit ||
            entity->mState == cStateDead || entity->mState == cStateKnockedOut ||
            entity->mOwner != player || entity->isVictoryUnit())
            continue;
        entity->playAnimationInPlace(cAnimStateTauntReaction, entity->mSlot, 0.0f);
        mTauntReactionIds.push_back(entity->mId);
    }
}

void Game::stopTauntReactions() {
    for (int32_t id : mTauntReactionIds) {
        const Entity* entity = getEntity(id);
        if (auto* puppet = dynamic_cast<PuppetInstance*>(viewNodeOf(entity)))
            puppet->playAnimation(entity->resolveAnimationState(cAnimStateIdle, true), 0.0f, true,
                                  PuppetInstance::cDefaultBlend);
    }
    mTauntReactionIds.clear();
}

void Game::animateRackRefill(float delay) {
    Player* current = getCurrentPlayer();
    TileRack* rack = current != nullptr ? current->mTileRack : nullptr;
    if (rack == nullptr)
        return;
    for (int32_t k = 0; k < rack->getSlotCount(); ++k) {
        const Entity* tile = getEntity(rack->getEntityIdAtIndex(k));
        if (tile == nullptr || tile->getPuppetHandle() < 0)
            continue;
        if (auto* puppet = dynamic_cast<PuppetInstance*>(viewNodeOf(tile)))
            puppet->playAnimation(tile->resolveAnimationState(cAnimStateIdle, true),
                                  static_cast<float>(gRng.rand()), true,
                                  PuppetInstance::cDefaultBlend);
    }

    TileChest* chest = mTileChest != nullptr ? mTileChest : current->mTileChest;
    if (chest == nullptr)
        return;
    const CCPoint chestPoint = chest->getViewPosition();
    int32_t launched = 0;
    for (int32_t k = 0; k < rack->getSlotCount(); ++k) {
        const int32_t id = rack->getEntityIdAtIndex(k);
        auto found = std::find(mNewRackTileIds.begin(), mNewRackTileIds.end(), id);
        if (id < 0 || found == mNewRackTileIds.end() ||
            std::find(mFlownRackTileIds.begin(), mFlownRackTileIds.end(), id) !=
                mFlownRackTileIds.end())
            continue;
        if (cocos2d::CCNode* node = viewNodeOf(getEntity(id))) {
            if (auto* colored = cocos2d::ccRGBAProtocolOf(node))
                colored->setOpacity(0);
            node->setPosition(CCPoint(chestPoint.x + 18.0f, chestPoint.y + 28.0f));
            node->setScale(0.5f);
            if (cocos2d::CCNode* parent = node->getParent())
                parent->reorderChild(node, 500);
            const CCPoint slotPoint = rack->pointForCoords(rack->coordsOfIndex(k), true);
            node->runAction(cocos2d::CCSequence::actions(
                cocos2d::CCDelayTime::actionWithDuration(delay + 0.3f +
                                                         0.15f * static_cast<float>(launched)),
                cocos2d::CCCallFuncND::actionWithTarget(
                    this, callfuncND_selector(Game::throwToRackStep), stepIndex(launched)),
                cocos2d::CCSpawn::actions(
                    cocos2d::CCJumpTo::actionWithDuration(0.7f, slotPoint, 200.0f, 1),
                    cocos2d::CCRotateBy::actionWithDuration(0.7f, 360.0f),
                    cocos2d::CCFadeIn::actionWithDuration(0.1f),
                    cocos2d::CCScaleTo::actionWithDuration(0.1f, 1.0f)),
                cocos2d::CCCallFuncND::actionWithTarget(
                    this, callfuncND_selector(Game::rackLandStep), stepIndex(launched))));
        }
        ++launched;
        *found = -1;
        mFlownRackTileIds.push_back(id);
    }
    const auto* chestView = dynamic_cast<CocosTileChestLink*>(chest->getLink());
    PuppetInstance* door = chestView != nullptr ? chestView->getDoor() : nullptr;
    if (launched > 0 && door != nullptr)
        door->runAction(cocos2d::CCSequence::actions(
            cocos2d::CCDelayTime::actionWithDuration(delay),
            PuppetAnimAction::actionWithAnim(cAnimStatePlay, false, 0.0f, -1.0f, -1,
                                             PuppetInstance::cDefaultBlend, door)));
}

void Game::clearNewRackTiles() {
    if (gCurrentGame != nullptr)
        gCurrentGame->mNewRackTileIds.clear();
}

void Game::playThrowToRackSound(int32_t k) {
    int32_t id = -1;
    if (playSoundEffect("Game_Tile_Throw_To_Rack", &id, false) && id >= 0)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setEffectPitch(
            static_cast<unsigned int>(id), 1.0f + 0.1f * static_cast<float>(k));
}

void Game::playRackLandEffect(int32_t k, cocos2d::CCNode* node) {
    if (gGameScene == nullptr)
        return;
    int32_t id = -1;
    if (playSoundEffect("Game_Tile_Land_InRack", &id, false) && id >= 0)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setEffectPitch(
            static_cast<unsigned int>(id), 1.0f + 0.07f * static_cast<float>(k));
    cocos2d::CCNode* layer = gGameScene->getSceneNode();
    if (node == nullptr || layer == nullptr)
        return;
    cocos2d::CCSprite* smoke = cocos2d::CCSprite::spriteWithFile("DeploySmoke_Bottom.png");
    if (smoke == nullptr)
        return;
    const CCPoint at = node->getPosition();
    smoke->setPosition(CCPoint(at.x, at.y - 12.0f));
    layer->addChild(smoke, node->getZOrder() + 1);
    // The scene lets it go once its actions have ended.
    gGameScene->addEffectNode(smoke);
    smoke->runAction(
        cocos2d::CCSpawn::actions(cocos2d::CCFadeOut::actionWithDuration(0.35f),
                                  cocos2d::CCEaseOut::actionWithAction(
                                      cocos2d::CCScaleTo::actionWithDuration(0.35f, 1.4f), 2.0f)));
}

void Game::throwToRackStep(cocos2d::CCNode* /*node*/, void* k) {
    playThrowToRackSound(indexOfStep(k));
}

void Game::rackLandStep(cocos2d::CCNode* node, void* k) {
    playRackLandEffect(indexOfStep(k), node);
}

void Game::startPonderSound() {
    if (isSoundEnabled() && mPonderCount <= 0) {
        int32_t id = -1;
        if (playSoundFile(cPonderLoop, &id, true) && id >= 0) {
            auto* engine = CocosDenshion::SimpleAudioEngine::sharedEngine();
            engine->setEffectVolume(static_cast<unsigned int>(id), 0.0f);
            engine->fadeEffectVolume(static_cast<unsigned int>(id), 1.0f, cPonderFadeIn);
            mPonderSoundId = id;
        }
    }
    mPonderCount = std::max(mPonderCount, 0) + 1;
}

void Game::stopPonderSound() {
    // A stop without a holder would leave the count below 0, and later
    // pairs would never start or never stop the loop.
    if (mPonderCount <= 0)
        return;
    --mPonderCount;
    if (mPonderCount == 0 && isSoundEnabled())
        fadeOutPonderSound();
}

void Game::fadeOutPonderSound() {
    if (mPonderSoundId < 0)
        return;
    CocosDenshion::SimpleAudioEngine::sharedEngine()->fadeEffectVolume(
        static_cast<unsigned int>(mPonderSoundId), 0.0f, cPonderFadeOut);
    EffectStopper::stopAfter(mPonderSoundId, cPonderFadeOut);
    mPonderSoundId = -1;
}
