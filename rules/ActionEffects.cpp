#include "rules/ActionEffects.h"

#include "rules/ActionEffectsSupport.h"
#include "rules/ActionResultInfo.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Player.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

#include <array>

using cocos2d::CCDelayTime;
using cocos2d::CCPoint;
using cocos2d::CCSequence;
using cocos2d::CCSpawn;
using effects::viewNode;

namespace {

constexpr std::array<const char*, 6> cImpactPaths = {
    "Effects/FX-Impact01",         "Effects/FX-ImpactBig01",    "Effects/FX-ImpactMagic01",
    "Effects/FX-ImpactMagicBig01", "Effects/FX-ImpactRanged01", "Effects/FX-ImpactRangedBig01",
};

// A sprite of the image added to the scene at zOrder and registered; null
// without a scene.
cocos2d::CCSprite* effectSprite(const char* image, const CCPoint& at, int zOrder) {
    cocos2d::CCSprite* sprite = cocos2d::CCSprite::spriteWithFile(image);
    if (sprite == nullptr || !effects::addToScene(sprite, zOrder))
        return nullptr;
    sprite->setPosition(at);
    return sprite;
}

} // namespace

PuppetInstance* createEffectPuppet(const std::string& path, int zOrder) {
    const int32_t index = PuppetRegistry::loadPuppet(path);
    if (index < 0 || gGameScene == nullptr || gGameScene->getSceneNode() == nullptr)
        return nullptr;
    PuppetInstance* puppet = PuppetInstance::create(index, cocos2d::ccc3(255, 255, 255));
    effects::addToScene(puppet, zOrder);
    return puppet;
}

PuppetInstance* playEffectPuppet(const std::string& path, const CCPoint& point, int zOrder,
                                 float delay, bool flip) {
    PuppetInstance* puppet = createEffectPuppet(path, zOrder);
    if (puppet == nullptr)
        return nullptr;
    puppet->setIsVisible(false);
    puppet->setPosition(point);
    puppet->setFlipX(flip);
    puppet->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), cocos2d::CCShow::action(),
        PuppetAnimAction::actionWithAnim(cAnimStatePlay, false, 0.0f, 0.0f, -1,
                                         PuppetInstance::cDefaultBlend, puppet)));
    return puppet;
}

cocos2d::CCNode* createEffectLayer(int zOrder) {
    cocos2d::CCNode* layer = cocos2d::CCNode::node();
    return effects::addToScene(layer, zOrder) ? layer : nullptr;
}

bool impactEffectPath(int32_t impactType, std::string& outPath) {
    if (impactType < 0 || impactType >= static_cast<int32_t>(cImpactPaths.size())) {
        outPath.clear();
        return false;
    }
    outPath = cImpactPaths[static_cast<size_t>(impactType)];
    return true;
}

void playImpactEffect(Entity* hit, CandidateAction* action, bool magic, bool ranged, bool big,
                      int32_t healthChange, float delay) {
    cocos2d::CCNode* hitNode = viewNode(hit);
    if (hitNode == nullptr || action == nullptr)
        return;
    const int32_t category = (magic ? 2 : ranged ? 4 : 0) + (big ? 1 : 0);
    std::string path;
    float timeOffset = 0.0f;
    int32_t offsetZ = 1;
    bool rotate = true;
    Entity* source = effects::entityOf(action->mGame, action->mSourceEntity);
    EffectOverride effect;
    const ProtoEntity* sourceProto = source != nullptr ? source->getProto() : nullptr;
    if (sourceProto != nullptr && sourceProto->findEffectOverride(category, &effect) &&
        (!effect.mDamagedOnly || healthChange < 0)) {
        path = effect.mEffectName;
        timeOffset = effect.mTimeOffset;
        offsetZ = effect.mOffsetZ;
        rotate = effect.mRotate;
    } else {
        impactEffectPath(category, path);
    }
    const int32_t group = EffectGroup::load(path);
    cocos2d::CCNode* layer = createEffectLayer(hitNode->getZOrder() + offsetZ);
    if (group < 0 || layer == nullptr)
        return;
    const CCPoint at = cocos2d::ccpAdd(hitNode->getPosition(), CCPoint(0, 8));
    EffectGroup::spawn(EffectGroup::get(group), layer, at, 0, delay + timeOffset, false,
                       cocos2d::ccc3(255, 255, 255));
    cocos2d::CCNode* sourceNode = viewNode(source);
    if (!rotate || sourceNode == nullptr || layer->getChildren() == nullptr)
        return;
    const float angle = 180.0f + effects::headingOf(cocos2d::ccpSub(hitNode->getPosition(),
                                                                    sourceNode->getPosition()));
    for (cocos2d::CCNode* child : *layer->getChildren())
        child->setRotation(angle);
}

void playMeleeSlash(Entity* attacker, Entity* /*target*/, bool big, bool notLastHit, float delay) {
    cocos2d::CCNode* node = viewNode(attacker);
    const ProtoEntity* proto = attacker != nullptr ? attacker->getProto() : nullptr;
    if (node == nullptr || proto == nullptr || !proto->mShowMeleeSlashEffect)
        return;
    const int32_t index =
        PuppetRegistry::loadPuppet(big ? "Effects/MeleeSlashBig01" : "Effects/MeleeSlash01");
    if (index < 0)
        return;
    PuppetInstance* slash = PuppetInstance::create(index, cocos2d::ccc3(255, 255, 255));
    node->addChild(slash, 100);
    slash->setIsVisible(false);
    slash->setFlipX(true);
    const cocos2d::CCSize& size = node->getContentSize();
    const CCPoint& anchor = node->getAnchorPoint();
    slash->setPosition(CCPoint(size.width * anchor.x, size.height * anchor.y));
    const PuppetDefinition* definition = PuppetRegistry::getPuppet(index);
    const int32_t state = notLastHit && definition->getAnimForState(cAnimStateAbility) != nullptr
                              ? cAnimStateAbility
                              : cAnimStatePlay;
    slash->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), cocos2d::CCShow::action(),
        PuppetAnimAction::actionWithAnim(state, false, 0.0f, 0.0f, -1,
                                         PuppetInstance::cDefaultBlend, slash)));
}

void playKnockbackEffect(const ActionResultInfo* result, Entity* attacker, float delay) {
    if (result == nullptr || result->mInitialSlot.x == result->mFinalSlot.x)
        return;
    cocos2d::CCNode* attackerNode = viewNode(attacker);
    Entity* pushed =
        effects::entityOf(attacker != nullptr ? attacker->mGame : nullptr, result->mEntityID);
    if (attackerNode == nullptr || pushed == nullptr || pushed->mGrid == nullptr)
        return;
    const bool left = result->mFinalSlot.x < result->mInitialSlot.x;
    CCPoint at = pushed->mGrid->pointForCoords(result->mInitialSlot, true);
    at.y -= 16.0f;
    cocos2d::CCSprite* mark =
        effectSprite("Knockback_Effect.png", at, attackerNode->getZOrder() + 1);
    if (mark == nullptr)
        return;
    mark->setFlipX(left);
    mark->setOpacity(0);
    mark->setAnchorPoint(CCPoint(left ? 0.8f : 0.2f, 0.0f));
    using cocos2d::CCEaseOut;
    mark->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay),
        CCSpawn::actions(
            CCEaseOut::actionWithAction(
                cocos2d::CCMoveBy::actionWithDuration(0.8f, CCPoint(left ? -3.0f : 3.0f, 0.0f)),
                2.0f),
            CCSequence::actions(
                cocos2d::CCFadeIn::actionWithDuration(0.1f), CCDelayTime::actionWithDuration(0.3f),
                CCEaseOut::actionWithAction(cocos2d::CCFadeOut::actionWithDuration(0.4f), 2.0f)),
            CCEaseOut::actionWithAction(cocos2d::CCScaleBy::actionWithDuration(0.8f, 1.15f),
                                        2.0f))));
}

void playHealEffect(CandidateAction* action, Entity* healed, float delay) {
    cocos2d::CCNode* node = viewNode(healed);
    const ProtoEntity* proto = healed != nullptr ? healed->getProto() : nullptr;
    if (node == nullptr || proto == nullptr || !proto->mAttackInfo)
        return;
    const CCPoint& at = node->getPosition();
    if (action != nullptr && action->mSourceEntity == healed->mId &&
        proto->mAttackInfo->mLeechPercentage > 0.0f) {
        playEffectPuppet("Effects/SoulLeech01", at, node->getZOrder() + 10, delay, false);
        return;
    }
    const CCPoint offsets[3] = {{0.0f, -10.0f}, {-15.0f, 0.0f}, {15.0f, 10.0f}};
    for (int i = 0; i < 3; ++i) {
        cocos2d::CCSprite* cross = effectSprite("HealingCross.png", cocos2d::ccpAdd(at, offsets[i]),
                                                node->getZOrder() + 1);
        if (cross == nullptr)
            return;
        cross->setScale(0.1f);
        cross->setOpacity(0);
        cross->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay + 0.15f * static_cast<float>(i)),
            CCSpawn::actions(
                cocos2d::CCMoveBy::actionWithDuration(0.4f, CCPoint(0.0f, 45.0f)),
                CCSequence::actions(cocos2d::CCFadeIn::actionWithDuration(0.1f),
                                    CCDelayTime::actionWithDuration(0.2f),
                                    cocos2d::CCFadeOut::actionWithDuration(0.1f)),
                CCSequence::actions(cocos2d::CCScaleTo::actionWithDuration(0.15f, 1.0f),
                                    cocos2d::CCScaleTo::actionWithDuration(0.25f, 0.1f)))));
    }
}

void showHealthChange(Entity* entity, int32_t change, CandidateAction* action, float delay) {
    cocos2d::CCNode* node = viewNode(entity);
    if (node == nullptr || gGameScene == nullptr || change == 0)
        return;
    if (change < 0) {
        gGameScene->showDamageFlyout(change, node->getPosition(), delay);
        return;
    }
    gGameScene->showHealingFlyout(change, node->getPosition(), delay + 0.3f);
    playHealEffect(action, entity, delay + 0.3f);
}

void showPlayerHealth(Entity* entity, CandidateAction* action, float fraction, float delay) {
    CocosEntityLink* view = entity != nullptr ? entity->getEntityLink() : nullptr;
    if (view == nullptr)
        return;
    view->setHealthBarPercentage(fraction * 100.0f, true, delay);
    if (!entity->isVictoryUnit() || action == nullptr || gGameScene == nullptr)
        return;
    const int32_t owner = entity->mOwner;
    if (owner == 0 || owner == 1)
        gGameScene->setPlayerHealth(owner, action->mFinalVictoryHealthFraction[owner], true, delay);
}

void playScoreFlyouts(CandidateAction* action, float delay) {
    if (action == nullptr || gGameScene == nullptr || SettingsManager::instance().mScoreToWin == 0)
        return;
    for (const ActionResultInfo* result : action->mResults) {
        if (result == nullptr || result->mScore <= 0)
            continue;
        if (cocos2d::CCNode* node = viewNode(effects::entityOf(action->mGame, result->mEntityID)))
            gGameScene->showScoreFlyout(result->mScore, node->getPosition(), delay, true);
    }
}
