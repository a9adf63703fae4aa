#include "rules/ActionEffects.h"

#include "rules/ActionEffectsSupport.h"
#include "rules/ActionResultInfo.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/CocosGameBoardLink.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"

#include "content/protos/AuraType.h"
#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/PremiumTileType.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

#include <string_view>

using cocos2d::CCDelayTime;
using cocos2d::CCPoint;
using cocos2d::CCSequence;
using cocos2d::CCSpawn;
using effects::viewNode;

namespace {

// The board point of a square; (0, 0) without a board.
CCPoint boardPoint(const Game* game, const GridSlot& square) {
    GameBoard* board = game != nullptr ? game->mGameBoard : nullptr;
    return board != nullptr ? board->pointForCoords(square, true) : CCPoint(0.0f, 0.0f);
}

// The step-done report of an entity at the end of a sequence.
cocos2d::CCFiniteTimeAction* stepDone(Game* game, Entity* entity) {
    return cocos2d::CCCallFuncND::actionWithTarget(game, callfuncND_selector(Game::visualStepDone),
                                                   entity);
}

// A smoke sprite at the point and zOrder, faded and grown by its action.
cocos2d::CCSprite* smokeSprite(const char* image, const CCPoint& at, int zOrder) {
    cocos2d::CCSprite* smoke = cocos2d::CCSprite::spriteWithFile(image);
    if (!effects::addToScene(smoke, zOrder))
        return nullptr;
    smoke->setPosition(at);
    return smoke;
}

// The premium-square type at a square of the game's board; invalid when none.
int32_t premiumTypeAt(const Game* game, const GridSlot& square) {
    const GameBoard* board = game != nullptr ? game->mGameBoard : nullptr;
    const PremiumTileInfo* squares = board != nullptr ? board->getPremiumSquares() : nullptr;
    const PremiumTileEntry* entry =
        squares != nullptr ? squares->getEntryAt(square.x, square.y) : nullptr;
    return entry != nullptr ? entry->mType : cPremiumInvalid;
}

// The proto id of a name, looked up once per name by the caller.
int32_t protoIdOf(std::string_view name) {
    return Database::getProtoIdByName(name);
}

} // namespace

void playTeleportEffect(CandidateAction* action, int32_t entityId, const GridSlot& from,
                        const GridSlot& to, float delay, float* outDelay) {
    if (outDelay != nullptr)
        *outDelay = delay;
    Game* game = action != nullptr ? action->mGame : nullptr;
    Entity* entity = effects::entityOf(game, entityId);
    cocos2d::CCNode* node = viewNode(entity);
    if (node == nullptr || game->mGameBoard == nullptr)
        return;
    entity->setViewZOrder(game->mGameBoard->zOrderForCoords(to));
    const CCPoint arrival = boardPoint(game, to);
    if (entity->getPuppetHandle() >= 0) {
        const int32_t idle = entity->resolveAnimationState(cAnimStateIdle, true);
        node->runAction(CCSequence::actions(
            cocos2d::CCScaleTo::actionWithDuration(0.2f, 1.0f),
            CCSequence::actions(
                CCDelayTime::actionWithDuration(delay),
                CCSequence::actions(
                    cocos2d::CCFadeOut::actionWithDuration(0.1f),
                    cocos2d::CCMoveTo::actionWithDuration(0.001f, CCPoint(1000.0f, 1000.0f)),
                    cocos2d::CCMoveTo::actionWithDuration(0.001f, arrival),
                    cocos2d::CCFadeIn::actionWithDuration(0.001f)),
                PuppetAnimAction::actionWithAnim(cAnimStateDeploy, false, 0.0f, -1.0f, idle,
                                                 PuppetInstance::cDefaultBlend,
                                                 dynamic_cast<PuppetInstance*>(node))),
            CCDelayTime::actionWithDuration(0.4f), stepDone(game, entity)));
    }
    const int zOrder = node->getZOrder() + 10;
    CCPoint leaving = boardPoint(game, from);
    leaving.y -= 12.0f;
    playEffectPuppet("Effects/Teleport01", leaving, zOrder, delay, false);
    playEffectPuppet("Effects/Teleport01", CCPoint(arrival.x, arrival.y - 12.0f), zOrder, delay,
                     false);
}

void playCastPowerDrop(CandidateAction* action) {
    Game* game = action != nullptr ? action->mGame : nullptr;
    Entity* power = effects::entityOf(game, action != nullptr ? action->mSourceEntity : -1);
    cocos2d::CCNode* node = viewNode(power);
    if (node == nullptr)
        return;
    power->setViewZOrder(1);
    if (power->getPuppetHandle() < 0)
        return;
    const CCPoint a = boardPoint(game, GridSlot(action->mTargetSlot.x, 4));
    const CCPoint b = boardPoint(game, GridSlot(action->mTargetSlot.x, 0));
    const CCPoint fall = cocos2d::ccpSub(b, a);
    node->setPosition(cocos2d::ccpSub(a, cocos2d::ccpMult(fall, 1.75f)));
    effects::setOpacity(node, 255);
    node->setIsVisible(false);
    node->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(0.0f), cocos2d::CCShow::action(),
        CCSpawn::actions(PuppetAnimAction::actionWithAnim(cAnimStatePlay, false, 0.0f, 0.0f, -1,
                                                          PuppetInstance::cDefaultBlend,
                                                          dynamic_cast<PuppetInstance*>(node)),
                         cocos2d::CCMoveTo::actionWithDuration(
                             1.5f, cocos2d::ccpAdd(b, cocos2d::ccpMult(fall, 1.5f)))),
        cocos2d::CCHide::action(), stepDone(game, power),
        CCDelayTime::actionWithDuration(game->isReplaying() ? 0.2f : 0.0f)));
    if (auto* view = game->mGameBoard != nullptr
                         ? dynamic_cast<CocosGameBoardLink*>(game->mGameBoard->getLink())
                         : nullptr)
        view->playPremiumPuppet(action->mTargetSlot, 0.0f);
}

void playNinjaSmoke(const CCPoint& point, int zOrder, float delay) {
    const struct {
        const char* image;
        int zOrder;
        bool raised;
    } parts[] = {{"NinjaSmoke_Top.png", zOrder - 10, true},
                 {"NinjaSmoke_Bottom.png", zOrder + 1000, false}};
    for (const auto& part : parts) {
        cocos2d::CCSprite* smoke = smokeSprite(part.image, point, part.zOrder);
        if (smoke == nullptr)
            return;
        if (part.raised)
            smoke->setAnchorPoint(CCPoint(0.5f, 0.1f));
        smoke->setOpacity(0);
        smoke->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay),
            CCSpawn::actions(cocos2d::CCFadeIn::actionWithDuration(0.001f),
                             cocos2d::CCEaseOut::actionWithAction(
                                 cocos2d::CCScaleTo::actionWithDuration(0.5f, 1.2f), 2.0f),
                             CCSequence::actions(CCDelayTime::actionWithDuration(0.3f),
                                                 cocos2d::CCFadeOut::actionWithDuration(0.2f)))));
    }
}

void playDeploySmoke(CandidateAction* action, Entity* deployed) {
    cocos2d::CCNode* node = viewNode(deployed);
    EntityGrid* grid = action != nullptr && action->mGame != nullptr
                           ? action->mGame->getGrid(action->mTargetGrid, action->mTargetOwner)
                           : nullptr;
    if (node == nullptr || grid == nullptr)
        return;
    const CCPoint at = grid->pointForCoords(action->mTargetSlot, true);
    cocos2d::CCSprite* bottom =
        smokeSprite("DeploySmoke_Bottom.png", CCPoint(at.x, at.y - 12.0f), node->getZOrder() + 1);
    cocos2d::CCSprite* top = smokeSprite("DeploySmoke_Top.png", at, node->getZOrder() - 1);
    if (top != nullptr)
        top->setAnchorPoint(CCPoint(0.5f, 0.0f));
    for (cocos2d::CCSprite* smoke : {bottom, top})
        if (smoke != nullptr)
            smoke->runAction(
                CCSpawn::actions(cocos2d::CCFadeOut::actionWithDuration(0.5f),
                                 cocos2d::CCEaseOut::actionWithAction(
                                     cocos2d::CCScaleTo::actionWithDuration(0.5f, 1.4f), 2.0f)));
}

void playTyphoon(CandidateAction* action, const GridSlot& square) {
    if (action != nullptr)
        playEffectPuppet("Civ/Orcs/Effects/Typhoon01", boardPoint(action->mGame, square), 500, 0.0f,
                         false);
}

void playCorpseStompEffect(Entity* stomped, Entity* stomper, CandidateAction* action, int zOrder,
                           float delay) {
    cocos2d::CCNode* node = viewNode(stomped);
    if (node == nullptr || action == nullptr)
        return;
    const ProtoEntity* stompedProto = stomped->getProto();
    const ProtoEntity* stomperProto = stomper != nullptr ? stomper->getProto() : nullptr;
    const CCPoint& at = node->getPosition();
    if (stomperProto != nullptr && stomper->mOwner != stomped->mOwner &&
        stomperProto->mAPForStomp && !stomped->isVictoryUnit() && stompedProto != nullptr &&
        !stompedProto->mDiesOnKnockOut) {
        playEffectPuppet("Civ/KX4/Effects/CorpseStompAP01", at, zOrder, delay, false);
        if (gGameScene != nullptr && action->mGame != nullptr &&
            stomper->mOwner == action->mGame->mCurrentPlayer)
            gGameScene->playAPRegenEffect(delay);
        return;
    }
    const Player* owner = stomped->getOwner();
    const ProtoCiv* civ =
        owner != nullptr ? SettingsManager::instance().getCiv(owner->mCivId) : nullptr;
    const bool orcs = civ != nullptr && civ->mName == "orcs";
    playEffectPuppet(orcs ? "Civ/Orcs/Effects/CorpseStompBR01" : "Effects/CorpseStomp01", at,
                     zOrder, delay, false);
}

void playStompSound(CandidateAction* action) {
    if (Entity* source = effects::entityOf(action != nullptr ? action->mGame : nullptr,
                                           action != nullptr ? action->mSourceEntity : -1))
        source->playEffectSound("sound/KO_Player_Stomp.mp3");
}

void applyPuppetUpgradeLevel(Game* game, int32_t entityId, int32_t level) {
    Entity* entity = effects::entityOf(game, entityId);
    auto* puppet = dynamic_cast<PuppetInstance*>(viewNode(entity));
    ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    if (puppet == nullptr || proto == nullptr || level < 0)
        return;
    const size_t upgrades =
        std::max(proto->mUpgradePuppetNames.size(), proto->mUpgradePuppetHandles.size());
    if (static_cast<size_t>(level) > upgrades)
        return;
    const int32_t handle =
        level == 0 ? entity->getPuppetHandle() : proto->getUpgradePuppetHandle(level - 1);
    if (handle >= 0)
        puppet->changePuppet(handle);
}

void playUpgradeAnimation(CandidateAction* action, int32_t level) {
    Entity* source = effects::entityOf(action != nullptr ? action->mGame : nullptr,
                                       action != nullptr ? action->mSourceEntity : -1);
    if (source == nullptr)
        return;
    applyPuppetUpgradeLevel(action->mGame, source->mId, level);
    source->playAnimation(cAnimStateAbility, source->mSlot, source->mSlot, 0.0f);
}

void updateAuras(Game* game, const ActionResultInfo* result, float delay) {
    Entity* entity = effects::entityOf(game, result != nullptr ? result->mEntityID : -1);
    CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    if (view == nullptr)
        return;
    const auto& flags = result->mFinalAuraFlags;
    for (int32_t aura = 0; aura < static_cast<int32_t>(flags.size()); ++aura) {
        if ((aura >= cAuraPremiumSquarePower && aura <= cAuraPremiumSquareVictoryDamageAdd) ||
            aura == cAuraPremiumSquareResist)
            continue;
        if (flags[static_cast<size_t>(aura)]) {
            view->showAura(aura, true, delay, false);
            continue;
        }
        const bool atOnce = aura == cAuraPower || aura == cAuraPowerSmall;
        view->hideAura(aura, true, atOnce ? 0.0f : delay);
    }
}

void playBloodrageGain(Game* game, const ActionResultInfo* result, float delay) {
    Entity* entity = effects::entityOf(game, result != nullptr ? result->mEntityID : -1);
    if (entity == nullptr)
        return;
    const size_t bit = ActionResultInfo::cFlagBloodrage;
    const bool before = result->mInitialFlags.size() >= 2 && result->mInitialFlags[bit];
    const bool after = result->mFinalFlags.size() >= 2 && result->mFinalFlags[bit];
    if (!before && after)
        entity->playAnimationInPlace(cAnimStateGainBloodRage, entity->mSlot, delay);
}

void playPremiumSquareReactions(CandidateAction* action) {
    Game* game = action != nullptr ? action->mGame : nullptr;
    Entity* source = effects::entityOf(game, action != nullptr ? action->mSourceEntity : -1);
    const ProtoEntity* sourceProto = source != nullptr ? source->getProto() : nullptr;
    const bool physical = sourceProto != nullptr && sourceProto->mDamageType == cDamagePhysical;
    const bool magic = sourceProto != nullptr && sourceProto->mDamageType == cDamageMagic;
    bool victoryUnitHit = false;
    for (const ActionResultInfo* result :
         action != nullptr ? action->mResults : std::vector<ActionResultInfo*>{}) {
        Entity* entity = effects::entityOf(game, result != nullptr ? result->mEntityID : -1);
        CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
        if (view == nullptr)
            continue;
        const int32_t under = premiumTypeAt(game, result->mInitialSlot);
        const int32_t after = premiumTypeAt(game, result->mFinalSlot);
        if (action->mActionType == cActionAttack && entity == source && under == cPremiumPower)
            view->playAuraAbility(cAuraPremiumSquarePower, 0.0f);
        if (result->mHealthChange < 0 && after == cPremiumDefense && physical)
            view->playAuraAbility(cAuraPremiumSquareDefense, 0.0f);
        if (result->mHealthChange < 0 && after == cPremiumResist && magic)
            view->playAuraAbility(cAuraPremiumSquareResist, 0.0f);
        if (result->mHealthChange < 0 && entity->isVictoryUnit())
            victoryUnitHit = true;
    }
    if (!victoryUnitHit || source == nullptr)
        return;
    // The attacker's side on VictoryDamageAdd squares of the target grid
    // replays the square's aura.
    EntityGrid* grid = game->getGrid(action->mTargetGrid, action->mTargetOwner);
    const int32_t squares = grid != nullptr ? grid->getWidth() * grid->getHeight() : 0;
    for (int32_t index = 0; index < squares; ++index) {
        Entity* unit = grid->getEntityAtIndex(index);
        CocosEntityLink* view = unit != nullptr ? unit->getEntityLink() : nullptr;
        if (view != nullptr && unit->mOwner == source->mOwner &&
            premiumTypeAt(game, unit->mSlot) == cPremiumVictoryDamageAdd)
            view->playAuraAbility(cAuraPremiumSquareVictoryDamageAdd, 0.0f);
    }
}

void playReviveEffect(Entity* entity, float delay) {
    cocos2d::CCNode* node = viewNode(entity);
    if (node == nullptr)
        return;
    static const int32_t back = protoIdOf("reviveBackEffect");
    static const int32_t front = protoIdOf("reviveFrontEffect");
    const cocos2d::CCSize& size = node->getContentSize();
    const CCPoint& anchor = node->getAnchorPoint();
    const CCPoint at(node->getPosition().x + (anchor.x - 0.5f) * size.width,
                     node->getPosition().y + (anchor.y - 0.5f) * size.height);
    for (const auto& [id, zOffset] : {std::pair{back, -1}, std::pair{front, 1}}) {
        ProtoEntity* proto = Database::getProto(id);
        if (proto == nullptr)
            continue;
        if (proto->mPuppetHandle < 0 && !proto->mPuppetName.empty())
            proto->mPuppetHandle = PuppetRegistry::loadPuppet(proto->mPuppetName);
        const int32_t index = proto->mPuppetHandle;
        if (index < 0 || gGameScene == nullptr)
            continue;
        PuppetInstance* puppet = PuppetInstance::create(index, cocos2d::ccc3(255, 255, 255));
        if (!effects::addToScene(puppet, node->getZOrder() + zOffset))
            return;
        puppet->setPosition(at);
        puppet->setIsVisible(false);
        puppet->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), cocos2d::CCShow::action(),
            PuppetAnimAction::actionWithAnim(cAnimStatePlay, false, 0.0f, 0.0f, -1, 0.0f, puppet)));
    }
}
