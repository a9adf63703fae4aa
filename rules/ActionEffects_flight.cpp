#include "rules/ActionEffects.h"

#include "rules/ActionEffectsSupport.h"
#include "rules/ActionResultInfo.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/GameBoard.h"
#include "rules/core/RNG.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include <algorithm>
#include <cmath>

using cocos2d::CCDelayTime;
using cocos2d::CCFadeIn;
using cocos2d::CCFadeOut;
using cocos2d::CCPoint;
using cocos2d::CCSequence;
using cocos2d::CCSpawn;
using effects::headingOf;
using effects::viewNode;

namespace {

// The bone and replacement category the projectiles use, interned once.
// Looked up on each use: clearing the registry renumbers its names.
int32_t launchBone() {
    return PuppetRegistry::boneIndex("BoneLaunchpoint");
}
int32_t weaponCategory() {
    return PuppetRegistry::categoryIndex("weapon");
}

// The flying node of a projectile: a puppet in the source puppet's colour,
// or a sprite of its art; null when neither can be made.
cocos2d::CCNode* projectileNode(const ProjectileInfo& info, cocos2d::CCNode* sourceNode,
                                const Entity& source) {
    if (!info.mArt.empty())
        return cocos2d::CCSprite::spriteWithFile(info.mArt);
    auto* sourcePuppet = dynamic_cast<PuppetInstance*>(sourceNode);
    if (info.mPuppet.empty() || source.getPuppetHandle() < 0 || sourcePuppet == nullptr)
        return nullptr;
    const int32_t index = PuppetRegistry::loadPuppet(info.mPuppet);
    if (index < 0)
        return nullptr;
    PuppetInstance* puppet = PuppetInstance::create(index, sourcePuppet->getColor());
    if (sourcePuppet->hasCategory(weaponCategory()))
        puppet->addCategory(weaponCategory());
    return puppet;
}

// The rotation, or the mirroring, of a projectile; the rotation to run with
// the motion, or null.
cocos2d::CCFiniteTimeAction* orient(cocos2d::CCNode* node, const ProjectileInfo& info,
                                    const CCPoint& start, const CCPoint& end, float seconds) {
    if (info.mOrientType == cOrientDirection && info.mMoveType == cProjectileArc) {
        const CCPoint apex(0.5f * (start.x + end.x),
                           0.5f * (start.y + end.y) + 2.0f * info.mArcHeight);
        const float up = headingOf(cocos2d::ccpSub(apex, start));
        float turn = headingOf(cocos2d::ccpSub(end, apex)) - up;
        if (std::fabs(turn - 360.0f) < std::fabs(turn))
            turn -= 360.0f;
        node->setRotation(up);
        return cocos2d::CCRotateBy::actionWithDuration(seconds, turn);
    }
    if (info.mOrientType == cOrientDirection) {
        node->setRotation(headingOf(cocos2d::ccpSub(end, start)));
        return nullptr;
    }
    if (info.mOrientType == cOrientSpin) {
        const float sign = end.x < start.x ? -1.0f : 1.0f;
        return cocos2d::CCRotateBy::actionWithDuration(seconds,
                                                       seconds * 360.0f * info.mSpinSpeed * sign);
    }
    if (end.x < start.x) {
        if (auto* sprite = dynamic_cast<cocos2d::CCSprite*>(node))
            sprite->setFlipX(true);
        else if (auto* puppet = dynamic_cast<PuppetInstance*>(node))
            puppet->setFlipX(true);
    }
    return nullptr;
}

// The launch flash: a png sprite, else an effect puppet of that name.
void playLaunchArt(const CandidateAction& action, const ProjectileInfo& info,
                   const CCPoint& sourceAt, const CCPoint& start, int zOrder, float delay) {
    const std::string& art = info.mLaunchArt;
    const size_t dot = art.rfind('.');
    if (dot != std::string::npos && art.substr(dot + 1) == "png") {
        cocos2d::CCSprite* flash = cocos2d::CCSprite::spriteWithFile(art);
        if (!effects::addToScene(flash, zOrder))
            return;
        flash->setAnchorPoint(CCPoint(0.0f, 0.0f));
        const float dx = static_cast<float>(action.mTargetSlot.x - action.mSourceSlot.x);
        const float dy = static_cast<float>(action.mTargetSlot.y - action.mSourceSlot.y);
        flash->setRotation(45.0f - std::atan2(dy, dx) * effects::cDegreesPerRadian);
        flash->setPosition(sourceAt);
        flash->setIsVisible(false);
        flash->setScale(0.5f);
        flash->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), cocos2d::CCShow::action(),
            CCSpawn::actions(cocos2d::CCEaseExponentialOut::actionWithAction(
                                 cocos2d::CCScaleTo::actionWithDuration(0.15f, 1.0f)),
                             CCSequence::actions(CCDelayTime::actionWithDuration(0.2f),
                                                 CCFadeOut::actionWithDuration(0.2f))),
            cocos2d::CCHide::action()));
        return;
    }
    PuppetInstance* flash = playEffectPuppet(art.substr(0, dot), start, zOrder, delay, false);
    if (flash == nullptr)
        return;
    GameBoard* board = action.mGame != nullptr ? action.mGame->mGameBoard : nullptr;
    CCPoint aim = board != nullptr ? board->pointForCoords(action.mTargetSlot, true) : start;
    if (action.mSourceEntity == action.mTargetEntity)
        aim.y = start.y;
    flash->setRotation(180.0f + headingOf(cocos2d::ccpSub(aim, start)));
}

} // namespace

void launchProjectile(CandidateAction* action, const GridSlot& source, const GridSlot& target,
                      bool big, float delay) {
    if (action == nullptr || gGameScene == nullptr || gGameScene->getSceneNode() == nullptr)
        return;
    Entity* from = effects::entityOf(action->mGame, action->mSourceEntity);
    Entity* to = effects::entityOf(action->mGame, action->mTargetEntity);
    cocos2d::CCNode* fromNode = viewNode(from);
    cocos2d::CCNode* toNode = viewNode(to);
    const ProtoEntity* proto = from != nullptr ? from->getProto() : nullptr;
    if (fromNode == nullptr || toNode == nullptr || proto == nullptr || !proto->mProjectileInfo)
        return;
    const ProjectileInfo& info = *proto->mProjectileInfo;
    cocos2d::CCNode* node = projectileNode(info, fromNode, *from);
    if (node == nullptr)
        return;
    const int zOrder = std::max(fromNode->getZOrder(), toNode->getZOrder()) + 1000;
    const CCPoint end = cocos2d::ccpAdd(toNode->getPosition(), CCPoint(0.0f, 8.0f));

    CCPoint offset(0.0f, 0.0f);
    if (auto* puppet = dynamic_cast<PuppetInstance*>(fromNode)) {
        const CCPoint bone = puppet->getBonePosition(big ? cAnimStateAttackBig : cAnimStateAttack,
                                                     launchBone(), delay, true);
        offset = CCPoint(bone.x,
                         bone.y - fromNode->getAnchorPoint().y * fromNode->getContentSize().height);
    }
    bool flipped = false;
    if (auto* puppet = dynamic_cast<PuppetInstance*>(fromNode))
        flipped = puppet->isFlipX();
    else if (auto* sprite = dynamic_cast<cocos2d::CCSprite*>(fromNode))
        flipped = sprite->isFlipX();
    if (target.x < source.x || (target.x == source.x && flipped))
        offset.x = -offset.x;
    const CCPoint start = cocos2d::ccpAdd(fromNode->getPosition(), offset);
    effects::addToScene(node, zOrder);
    node->setPosition(start);

    const float seconds = info.flightTime(cocos2d::ccpDistance(start, end));
    effects::setOpacity(node, 0);
    cocos2d::CCActionInterval* motion = nullptr;
    if (info.mMoveType == cProjectileArc)
        motion = cocos2d::CCJumpTo::actionWithDuration(seconds, end, info.mArcHeight, 1);
    else if (info.mMoveType == cProjectileDirect)
        motion = cocos2d::CCMoveTo::actionWithDuration(seconds, end);
    if (motion != nullptr && info.mAccelerationRate > 0.0f)
        motion = cocos2d::CCEaseIn::actionWithAction(motion, 2.5f);
    cocos2d::CCFiniteTimeAction* turn = orient(node, info, start, end, seconds);
    cocos2d::CCFiniteTimeAction* flight = motion;
    if (turn != nullptr)
        flight = motion != nullptr ? CCSpawn::actions(motion, turn) : turn;
    node->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delay),
                                        CCFadeIn::actionWithDuration(0.01f), flight,
                                        CCFadeOut::actionWithDuration(0.01f)));

    const std::string& impact =
        big && !info.mImpactEffectBig.empty() ? info.mImpactEffectBig : info.mImpactEffect;
    if (!impact.empty())
        playEffectPuppet(impact, end, zOrder + 10, delay + seconds, false);
    if (!info.mLaunchArt.empty())
        playLaunchArt(*action, info, fromNode->getPosition(), start, zOrder, delay);
}

void playChainLightning(Entity* source, const std::vector<int32_t>& chain, bool big, float delay) {
    cocos2d::CCNode* sourceNode = viewNode(source);
    const ProtoEntity* proto = source != nullptr ? source->getProto() : nullptr;
    if (sourceNode == nullptr || proto == nullptr || !proto->mProjectileInfo)
        return;
    const ProjectileInfo& info = *proto->mProjectileInfo;
    const std::string* bolts[2] = {&info.mLaunchArt, &info.mLaunchArt2};
    const int count = big ? 10 : 3;
    const float links = static_cast<float>(chain.size());
    Entity* from = source;
    for (size_t k = 0; k < chain.size(); ++k) {
        Entity* to = effects::entityOf(source->mGame, chain[k]);
        cocos2d::CCNode* fromNode = viewNode(from);
        cocos2d::CCNode* toNode = viewNode(to);
        if (fromNode == nullptr || toNode == nullptr)
            return;
        const CCPoint f = cocos2d::ccpAdd(fromNode->getPosition(), CCPoint(0.0f, 8.0f));
        const CCPoint t = cocos2d::ccpAdd(toNode->getPosition(), CCPoint(0.0f, 8.0f));
        const CCPoint mid = cocos2d::ccpMult(cocos2d::ccpAdd(f, t), 0.5f);
        const float angle = headingOf(cocos2d::ccpSub(t, f));
        const float scaleX = cocos2d::ccpDistance(f, t) * 0.01f;
        const float scaleY = (links - static_cast<float>(k)) / links * 0.4f + 0.6f;
        const int zOrder = std::max(fromNode->getZOrder(), toNode->getZOrder()) + 15;
        float linkDelay = delay;
        if (to->mOwner != source->mOwner)
            linkDelay += 0.15f * static_cast<float>(k);
        for (int j = 0; j < count; ++j) {
            const std::string& image = *bolts[j % 2];
            if (image.empty())
                continue;
            cocos2d::CCSprite* bolt = cocos2d::CCSprite::spriteWithFile(image);
            if (!effects::addToScene(bolt, zOrder - count + j))
                return;
            bolt->setPosition(mid);
            bolt->setRotation(angle + 180.0f * static_cast<float>(j / 2));
            bolt->setScaleX(scaleX);
            bolt->setScaleY(scaleY);
            bolt->setOpacity(0);
            bolt->runAction(CCSequence::actions(
                CCDelayTime::actionWithDuration(linkDelay + 0.05f * static_cast<float>(j)),
                CCFadeIn::actionWithDuration(0.01f),
                CCFadeOut::actionWithDuration(j == count - 1 ? 0.5f : 0.075f)));
        }
        const std::string* impacts[2] = {&info.mArt, &info.mArt2};
        for (int i = 0; i < (big ? 2 : 1); ++i) {
            if (impacts[i]->empty() || info.mArt.empty())
                continue;
            cocos2d::CCSprite* spark = cocos2d::CCSprite::spriteWithFile(*impacts[i]);
            if (!effects::addToScene(spark, toNode->getZOrder() + 10))
                return;
            spark->setPosition(t);
            spark->setScale(scaleY);
            spark->setOpacity(0);
            spark->runAction(CCSequence::actions(
                CCDelayTime::actionWithDuration(linkDelay + 0.2f * static_cast<float>(i)),
                CCFadeIn::actionWithDuration(0.01f),
                CCSpawn::actions(CCFadeOut::actionWithDuration(0.4f),
                                 cocos2d::CCScaleBy::actionWithDuration(0.4f, 1.75f))));
        }
        from = to;
    }
}

void playCrystalShardBurst(CandidateAction* action, Entity* attacker, Entity* crystal,
                           float delay) {
    cocos2d::CCNode* attackerNode = viewNode(attacker);
    auto* crystalPuppet = dynamic_cast<PuppetInstance*>(viewNode(crystal));
    if (attackerNode == nullptr || crystalPuppet == nullptr)
        return;
    const float dir = crystalPuppet->getPosition().x < attackerNode->getPosition().x ? -1.0f : 1.0f;
    cocos2d::CCTextureCache* textures = cocos2d::CCTextureCache::sharedTextureCache();
    textures->addImage("CrystalShard.png");
    textures->addImage("CrystalShard_Color.png");
    const auto draw = [] { return static_cast<float>(gRng.rand()); };
    const auto uniform = [&](float a, float b) { return a + draw() * (b - a); };
    const CCPoint& at = crystalPuppet->getPosition();
    for (int i = 0; i < 10; ++i) {
        const float jitterY = draw() * 20.0f - 10.0f;
        const float jitterX = draw() * 10.0f - 5.0f;
        const float s = 0.8f + 0.4f * draw();
        const float t = 0.5f + 0.5f * draw();
        const float r = 540.0f + 180.0f * draw();
        CCPoint jump;
        jump.y = uniform(-30.0f / s, 30.0f / s);
        jump.x = uniform(70.0f * dir / s, -10.0f * dir / s);
        const float h = uniform(20.0f / s, 50.0f / s);

        cocos2d::CCSprite* shard = cocos2d::CCSprite::spriteWithFile("CrystalShard.png");
        const int zOrder = crystalPuppet->getZOrder() + (jump.y > 0.0f ? -1 : 1);
        if (!effects::addToScene(shard, zOrder))
            return;
        cocos2d::CCSprite* colour = cocos2d::CCSprite::spriteWithFile("CrystalShard_Color.png");
        colour->setColor(crystalPuppet->getColor());
        colour->setAnchorPoint(CCPoint(0.0f, 0.0f));
        colour->setOpacity(0);
        shard->addChild(colour, 1);
        shard->setOpacity(0);
        shard->setPosition(cocos2d::ccpAdd(at, CCPoint(jitterX, jitterY)));
        shard->setScale(s);
        shard->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), CCFadeIn::actionWithDuration(0.01f),
            CCSpawn::actions(
                CCSequence::actions(cocos2d::CCJumpBy::actionWithDuration(t / 2.0f, jump, h, 1),
                                    cocos2d::CCJumpBy::actionWithDuration(
                                        0.15f * t, cocos2d::ccpMult(jump, 0.15f), 0.15f * h, 1)),
                cocos2d::CCEaseOut::actionWithAction(
                    cocos2d::CCRotateBy::actionWithDuration(t / 2.0f, r * t * dir), 2.0f)),
            CCFadeOut::actionWithDuration(0.2f)));
    }
    const ActionResultInfo* result = action != nullptr ? action->findResult(crystal->mId) : nullptr;
    if (result == nullptr || result->mFinalState != cStateKnockedOut)
        return;
    crystal->getEntityLink()->setCrystalDebuffLevel(0, true, delay);
    playEffectPuppet("Effects/CrystalDestruction01", at, crystalPuppet->getZOrder() + 10, delay,
                     false);
}
