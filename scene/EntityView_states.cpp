// The look of an entity view after it was built: state, target marker, aura
// overlays, health bar, charge and a victory unit's debuff puppets.

#include "scene/EntityView.h"

#include "scene/GameScene.h"
#include "scene/widgets/HealthBar.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/PremiumTileInfo.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/ActionResultInfo.h"
#include "rules/AnimStateIds.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/core/RNG.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCAnimate.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

#include <algorithm>

using cocos2d::CCActionInterval;
using cocos2d::CCDelayTime;
using cocos2d::CCFiniteTimeAction;
using cocos2d::CCHide;
using cocos2d::CCPoint;
using cocos2d::CCSequence;
using cocos2d::CCShow;
using cocos2d::CCSpawn;

namespace {

// Animation states named here and nowhere in the rules.
constexpr int32_t cAnimSelect = 4;
constexpr int32_t cAnimKnockedOut = 19;
constexpr int32_t cAnimKnockedOutIdle = 20;
constexpr int32_t cAnimDeath = 21;
constexpr int32_t cAnimPlay2 = 36;
constexpr int32_t cAnimIdle2 = 37;
constexpr int32_t cAnimDeath2 = 38;

// Aura overlay indices with a role of their own.
constexpr int32_t cAuraPower = 0;
constexpr int32_t cAuraKnockedOut = 1;

// The overlays a victory unit shows: shields, armour debuff, highlight.
bool victoryUnitShows(int32_t aura) {
    return aura == 7 || aura == 12 || aura == 19;
}

// A puppet animation run in full: the state's own length, then the follow-up.
PuppetAnimAction* playOnce(int32_t state, int32_t nextState, float blend, PuppetInstance* puppet) {
    return PuppetAnimAction::actionWithAnim(state, false, 0.0f, -1.0f, nextState, blend, puppet);
}

bool puppetHasState(const PuppetInstance* puppet, int32_t state) {
    const PuppetDefinition* definition = puppet != nullptr ? puppet->getPuppet() : nullptr;
    return definition != nullptr && definition->getAnimForState(state) != nullptr;
}

// The opacity of the first aura of that type in the settings; 255 when none.
uint8_t auraOpacity(int32_t type) {
    for (const auto& aura : SettingsManager::instance().mAuras)
        if (aura && aura->mType == type)
            return static_cast<uint8_t>(std::clamp(aura->mOpacity, 0.0f, 1.0f) * 255.0f);
    return 255;
}

// The overlay of the premium square at a board square; -1 when none.
int32_t premiumOverlayAt(const Game* game, const GridSlot& square) {
    const GameBoard* board = game != nullptr ? game->mGameBoard : nullptr;
    const PremiumTileInfo* squares = board != nullptr ? board->getPremiumSquares() : nullptr;
    const PremiumTileEntry* entry =
        squares != nullptr ? squares->getEntryAt(square.x, square.y) : nullptr;
    return entry != nullptr ? CocosEntityLink::premiumSquareAura(entry->mType) : -1;
}

} // namespace

bool EntityView::hitTestPuppet(const CCPoint& point) const {
    const PuppetInstance* node = puppet();
    return node != nullptr && node->hitTest(point);
}

PuppetInstance* EntityView::getAura(int32_t index) const {
    return index >= 0 && index < cAuraCount ? mAuras[static_cast<size_t>(index)] : nullptr;
}

bool EntityView::isAuraShown(int32_t index) const {
    return index >= 0 && index < cAuraCount && mAuraShown[static_cast<size_t>(index)] != 0;
}

cocos2d::CCAnimation* EntityView::getAnimation(int32_t state) const {
    return state >= 0 && state < cStateCount ? mAnimations[static_cast<size_t>(state)] : nullptr;
}

void EntityView::createAuraOverlays() {
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (mNode == nullptr || proto == nullptr)
        return;
    const bool upgraded = proto->mPremiumBonus > 1.0f;
    for (const auto& aura : SettingsManager::instance().mAuras) {
        if (!aura || aura->mType < 0 || aura->mType >= cAuraCount)
            continue;
        const std::string& name =
            upgraded && !aura->mUpgradedEffect.empty() ? aura->mUpgradedEffect : aura->mEffect;
        PuppetInstance* overlay =
            PuppetInstance::create(PuppetRegistry::loadPuppet(name), cocos2d::ccc3(255, 255, 255));
        PuppetInstance*& slot = mAuras[static_cast<size_t>(aura->mType)];
        // A later aura of the same type takes the slot.
        if (slot != nullptr) {
            slot->removeFromParentAndCleanup(true);
            slot->release();
        }
        slot = overlay;
        overlay->retain();
        overlay->setIsVisible(false);
        overlay->setPosition(overAnchor(aura->mOffsetY));
        mNode->addChild(overlay, aura->mZOrder);
    }
}

void EntityView::applyState(int32_t state) {
    const Entity* owner = entity();
    if (mNode == nullptr || owner == nullptr)
        return;
    PuppetInstance* node = puppet();
    auto* sprite = dynamic_cast<cocos2d::CCSprite*>(mNode);
    const auto animateSheet = [&](int32_t animState, bool restore) {
        if (cocos2d::CCAnimation* animation = getAnimation(animState))
            mNode->runAction(cocos2d::CCAnimate::actionWithAnimation(animation, restore));
    };
    if (state == cStateKnockedOut) {
        showAura(cAuraKnockedOut, false, 0.0f, false);
        if (node != nullptr) {
            node->runAction(PuppetAnimAction::actionWithAnim(
                cAnimKnockedOutIdle, true, static_cast<float>(gRng.rand()), -1.0f, -1, 0.0f, node));
        } else if (sprite != nullptr) {
            sprite->setRotation(90.0f);
            animateSheet(cAnimKnockedOut, false);
        }
    } else if (state == cStateDead) {
        if (node != nullptr)
            node->runAction(PuppetAnimAction::actionWithAnim(cAnimKnockedOutIdle, true, 0.0f, -1.0f,
                                                             -1, 0.0f, node));
    } else {
        hideAura(cAuraKnockedOut, false, 0.0f);
        if (node != nullptr) {
            const int32_t idle = owner->resolveAnimationState(cAnimStateIdle, false);
            node->runAction(PuppetAnimAction::actionWithAnim(
                idle, true, static_cast<float>(gRng.rand()), -1.0f, -1, 0.0f, node));
        } else if (sprite != nullptr && getAnimation(cAnimStateIdle) != nullptr) {
            sprite->setRotation(0.0f);
            animateSheet(cAnimStateIdle, true);
        }
    }
}

void EntityView::setTargetMarker(int32_t kind) {
    if (mTargetMarker == nullptr)
        return;
    mTargetMarker->stopAllActions();
    if (kind == cHideTargetMarker) {
        // The marker stays visible at opacity 0.
        mTargetMarker->runAction(
            CCSpawn::actions(cocos2d::CCFadeTo::actionWithDuration(0.2f, 0),
                             cocos2d::CCEaseOut::actionWithAction(
                                 cocos2d::CCScaleTo::actionWithDuration(0.2f, 1.5f), 2.0f)));
        return;
    }
    const GameScene* scene = dynamic_cast<GameScene*>(gGameScene);
    if (scene != nullptr && kind >= 0 && kind < static_cast<int32_t>(scene->mReticleFrames.size()))
        if (cocos2d::CCSpriteFrame* frame = scene->mReticleFrames[static_cast<size_t>(kind)])
            mTargetMarker->setDisplayFrame(frame);
    mTargetMarker->setIsVisible(true);
    CCActionInterval* motion = nullptr;
    if (kind == 2) {
        mTargetMarker->setScale(1.0f);
        mTargetMarker->setRotation(0.0f);
        motion = CCSequence::actions(cocos2d::CCScaleTo::actionWithDuration(0.5f, 1.0f),
                                     cocos2d::CCScaleBy::actionWithDuration(0.5f, 1.1f));
    } else {
        mTargetMarker->setScale(3.0f);
        motion = cocos2d::CCRotateBy::actionWithDuration(kind == 3 ? 3.0f : 1.0f, 90.0f);
    }
    mTargetMarker->runAction(
        CCSpawn::actions(cocos2d::CCRepeat::actionWithAction(motion, 1000),
                         cocos2d::CCEaseOut::actionWithAction(
                             cocos2d::CCScaleTo::actionWithDuration(0.2f, 1.0f), 2.0f),
                         cocos2d::CCFadeIn::actionWithDuration(0.2f)));
}

cocos2d::CCNode* EntityView::getTargetMarkerNode() const {
    return mTargetMarker;
}

void EntityView::setAllyAbilityMarker(bool show) {
    setTargetMarker(show ? 4 : cHideTargetMarker);
}

void EntityView::showAura(int32_t aura, bool animate, float delay, bool loop) {
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    PuppetInstance* overlay = getAura(aura);
    if (overlay == nullptr || isAuraShown(aura) ||
        (proto != nullptr && proto->mVictoryUnit && !victoryUnitShows(aura)))
        return;
    overlay->stopAllActions();
    if (animate) {
        if (aura == cAuraPower) {
            overlay->setScaleX(0.5f);
            overlay->setScaleY(2.0f);
        }
        overlay->setOpacity(auraOpacity(aura));
        overlay->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), CCShow::action(),
            CCSpawn::actions(PuppetAnimAction::actionWithAnim(cAnimStatePlay, loop, 0.0f, -1.0f,
                                                              cAnimStateIdle, 0.0f, overlay),
                             cocos2d::CCScaleTo::actionWithDuration(0.15f, 1.0f))));
    } else {
        const PuppetDefinition* definition = overlay->getPuppet();
        const PuppetAnim* idle =
            definition != nullptr ? definition->getAnimForState(cAnimStateIdle) : nullptr;
        // The idle resumes where the overlay's animation stands.
        const float length = idle != nullptr ? idle->mLength : 0.0f;
        const float from =
            length > 0.0f ? std::min(overlay->getCurrentTime() / length, 1.0f) : 0.0f;
        overlay->runAction(CCSequence::actions(
            CCDelayTime::actionWithDuration(delay), CCShow::action(),
            PuppetAnimAction::actionWithAnim(cAnimStateIdle, true, from, -1.0f, -1,
                                             PuppetInstance::cDefaultBlend, overlay)));
    }
    mAuraShown[static_cast<size_t>(aura)] = 1;
}

void EntityView::hideAura(int32_t aura, bool animate, float delay) {
    PuppetInstance* overlay = getAura(aura);
    if (overlay == nullptr || !isAuraShown(aura))
        return;
    // During a replay the hide runs beside what the overlay plays.
    const Entity* owner = entity();
    if (owner != nullptr && owner->mGame != nullptr && !owner->mGame->isReplaying())
        overlay->stopAllActions();
    CCFiniteTimeAction* hide = nullptr;
    if (animate && puppetHasState(overlay, cAnimDeath)) {
        const float length = overlay->getPuppet()->getAnimForState(cAnimDeath)->mLength;
        hide = CCSequence::actions(CCDelayTime::actionWithDuration(delay),
                                   PuppetAnimAction::actionWithAnim(cAnimDeath, false, 0.0f),
                                   CCDelayTime::actionWithDuration(length), CCHide::action());
    } else if (animate) {
        CCFiniteTimeAction* scale = aura == cAuraPower
                                        ? cocos2d::CCScaleTo::actionWithDuration(0.2f, 0.3f, 3.0f)
                                        : cocos2d::CCScaleTo::actionWithDuration(0.2f, 1.0f);
        hide = CCSequence::actions(
            CCDelayTime::actionWithDuration(delay),
            CCSpawn::actions(cocos2d::CCFadeTo::actionWithDuration(0.5f, 0), scale),
            CCHide::action());
    } else {
        hide = CCSequence::actions(CCDelayTime::actionWithDuration(delay), CCHide::action());
    }
    overlay->runAction(hide);
    mAuraShown[static_cast<size_t>(aura)] = 0;
}

void EntityView::setAuraSelected(int32_t aura, bool selected, float delay) {
    PuppetInstance* overlay = getAura(aura);
    if (overlay == nullptr || !isAuraShown(aura) || !puppetHasState(overlay, cAnimSelect))
        return;
    overlay->stopAllActions();
    overlay->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay),
        PuppetAnimAction::actionWithAnim(selected ? cAnimSelect : cAnimStateIdle, true, 0.0f, -1.0f,
                                         -1, PuppetInstance::cDefaultBlend, overlay)));
}

void EntityView::playAuraAbility(int32_t aura, float delay) {
    PuppetInstance* overlay = getAura(aura);
    if (overlay == nullptr || !isAuraShown(aura))
        return;
    overlay->stopAllActions();
    overlay->runAction(
        CCSequence::actions(CCDelayTime::actionWithDuration(delay),
                            playOnce(cAnimStateAbility, cAnimStateIdle, 0.0f, overlay)));
}

void EntityView::updatePremiumTileAura(const GridSlot& square, bool show, float delay,
                                       bool animate) {
    const Entity* owner = entity();
    const int32_t overlay = premiumOverlayAt(owner != nullptr ? owner->mGame : nullptr, square);
    if (overlay < 0)
        return;
    if (show)
        showAura(overlay, animate, delay, false);
    else
        hideAura(overlay, animate, delay);
}

void EntityView::applyPremiumTileAura(const ActionResultInfo* result, float delay) {
    if (result == nullptr)
        return;
    if (result->mInitialSlot != result->mFinalSlot)
        updatePremiumTileAura(result->mInitialSlot, false, delay, true);
    if (result->mFinalState == cStateOnTileRack)
        return;
    const bool down = result->mFinalState == cStateKnockedOut || result->mFinalState == cStateDead;
    updatePremiumTileAura(result->mFinalSlot, !down, delay, true);
}

void EntityView::updateHealthBar(float delay) {
    const Entity* owner = entity();
    if (mHealthBar == nullptr || owner == nullptr)
        return;
    const int32_t max = owner->getMaxHealth();
    // A maximum below 1 shows an empty bar rather than dividing by it.
    const float percent =
        max < 1 ? 0.0f : static_cast<float>(owner->mHealth) / static_cast<float>(max) * 100.0f;
    mHealthBar->setPercentage(percent, false, delay);
    const float width = owner->isVictoryUnit()
                            ? 1.0f + (static_cast<float>(max) - 4500.0f) * 0.25f / 4500.0f
                            : 1.0f + (static_cast<float>(max) - 800.0f) * 0.5f / 800.0f;
    mHealthBar->setScaleX(width);
    mHealthBar->setScaleY(1.0f);
}

void EntityView::showHealthBar(float duration) {
    if (mHealthBar == nullptr)
        return;
    mHealthBar->stopAllActions();
    mHealthBar->setIsVisible(true);
    mHealthBar->runAction(cocos2d::CCFadeTo::actionWithDuration(duration, 255));
}

void EntityView::hideHealthBar(float duration) {
    if (mHealthBar == nullptr)
        return;
    mHealthBar->stopAllActions();
    mHealthBar->runAction(
        CCSequence::actions(cocos2d::CCFadeTo::actionWithDuration(duration, 0), CCHide::action()));
}

void EntityView::setHealthBarPercentage(float percent, bool animate, float delay) {
    if (mHealthBar != nullptr)
        mHealthBar->setPercentage(percent, animate, delay);
}

void EntityView::setHealthCategory(float fraction) {
    if (PuppetInstance* node = puppet())
        node->setHealthCategory(static_cast<int32_t>(fraction * 100.0f));
}

void EntityView::setTeamColorVisible(bool visible) {
    const PuppetInstance* node = puppet();
    if (node == nullptr)
        return;
    for (const PuppetPartInstance* part : node->getParts())
        if (part != nullptr && part->mColorSprite != nullptr)
            part->mColorSprite->setIsVisible(visible);
}

void EntityView::setCharge(int32_t charge) {
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (proto == nullptr || proto->mType != cEntityUnit || !hasLoadedPuppet())
        return;
    const int32_t chargeCategory = PuppetRegistry::categoryIndex("Charge");
    if (charge > 0)
        puppet()->addCategory(chargeCategory);
    else
        puppet()->removeCategory(chargeCategory);
}

void EntityView::setCrystalDebuffLevel(int32_t level, bool animate, float delay) {
    if (mCrystalDebuffFront == nullptr || mCrystalDebuffBack == nullptr)
        return;
    PuppetInstance* const puppets[] = {mCrystalDebuffBack, mCrystalDebuffFront};
    if (animate) {
        const int32_t old = mCrystalDebuffLevel;
        int32_t transition = -1;
        int32_t next = -1;
        if (level == 1 && old <= 0) {
            transition = cAnimStatePlay;
            next = cAnimStateIdle;
        } else if (level == 1 && old >= 2) {
            transition = cAnimDeath2;
            next = cAnimStateIdle;
        } else if (level == 2 && old < 2) {
            transition = cAnimPlay2;
            next = cAnimIdle2;
        } else if (level != 1 && level != 2 && old > level) {
            transition = cAnimDeath;
        }
        if (transition >= 0) {
            for (PuppetInstance* debuff : puppets)
                debuff->stopAllActions();
            for (PuppetInstance* debuff : puppets)
                debuff->runAction(CCSequence::actions(
                    CCDelayTime::actionWithDuration(delay), CCShow::action(),
                    playOnce(transition, next, 0.0f, debuff),
                    next < 0 ? static_cast<CCFiniteTimeAction*>(CCHide::action()) : nullptr));
        }
    } else {
        for (PuppetInstance* debuff : puppets)
            debuff->stopAllActions();
        if (level == 1 || level == 2) {
            for (PuppetInstance* debuff : puppets)
                debuff->runAction(CCSequence::actions(
                    CCShow::action(), PuppetAnimAction::actionWithAnim(
                                          level == 1 ? cAnimStateIdle : cAnimIdle2, true, 0.0f,
                                          0.0f, -1, PuppetInstance::cDefaultBlend, debuff)));
        } else {
            for (PuppetInstance* debuff : puppets)
                debuff->setIsVisible(false);
        }
    }
    mCrystalDebuffLevel = level;
}

void EntityView::showPuppetUpgradeLevel(int32_t level, int32_t idleState, float blendTime) {
    Entity* owner = entity();
    ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    PuppetInstance* node = puppet();
    if (node == nullptr || proto == nullptr)
        return;
    const int32_t handle =
        level > 0 ? proto->getUpgradePuppetHandle(level - 1) : proto->mPuppetHandle;
    if (handle >= 0 && handle != node->getPuppetIndex())
        node->changePuppet(handle);
    node->playAnimation(owner->resolveAnimationState(idleState, false), 0.0f, true, blendTime);
}
