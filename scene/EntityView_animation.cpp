// The entity animation driver: the engine actions an entity's main node runs
// for an animation state, a puppet's animations inside them, or for a sprite
// view moves, jumps, turns and sheet animations standing in for them.

#include "scene/EntityView.h"

#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/core/RNG.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetAnimEntry.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetTag.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCAnimate.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

#include <cmath>
#include <vector>

using namespace cocos2d;

namespace {

constexpr float cBlend = 0.15f;

// Sets the health category of the puppet it runs on.
class SetHealthCategory : public CCActionInstant {
public:
    static SetHealthCategory* action(int32_t percent) {
        auto* made = new SetHealthCategory();
        made->mPercent = percent;
        made->autorelease();
        return made;
    }
    CCObject* copyWithZone(CCZone* zone) override {
        auto* copy = static_cast<SetHealthCategory*>(
            ccCopyWithZoneAs<SetHealthCategory, CCActionInstant>(this, zone));
        copy->mPercent = mPercent;
        return copy;
    }
    void update(ccTime) override {
        if (auto* puppet = dynamic_cast<PuppetInstance*>(mTarget))
            puppet->setHealthCategory(mPercent);
    }

private:
    int32_t mPercent = 100;
};

CCFiniteTimeAction* delay(float seconds) {
    return CCDelayTime::actionWithDuration(seconds);
}

// Whether the entity's own attack arcs its victims.
bool arcsKnockback(const Entity* entity) {
    const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
    return proto != nullptr && proto->mAttackInfo != nullptr &&
           proto->mAttackInfo->mArcingKnockback;
}

bool isIdle(int32_t state) {
    return state == cAnimStateIdle || state == cAnimStateIdleWeak || state == cAnimStateIdleFull ||
           state == cAnimStateIdleTileRack;
}

bool isDamaged(int32_t state) {
    return state == cAnimStateDamaged || state == cAnimStateDamagedUpgrade ||
           state == cAnimStateDamagedMagic || state == cAnimStateDamagedMagicBig;
}

// The first Attack tag's time of the puppet's animation for the state; -1.
float attackTagTime(const PuppetInstance* puppet, int32_t state) {
    const PuppetDefinition* definition = puppet != nullptr ? puppet->getPuppet() : nullptr;
    if (definition == nullptr || state < 0 || state >= cAnimStateCount ||
        definition->mAnimEntries[state] == nullptr)
        return -1.0f;
    std::vector<const PuppetTag*> tags;
    definition->mAnimEntries[state]->getTagsOfType(cTagAttack, tags);
    return tags.empty() ? -1.0f : tags.front()->mTime;
}

} // namespace

CCActionInterval* EntityView::makeEasedMove(float duration, const CCPoint& point) {
    return CCEaseInOut::actionWithAction(CCMoveTo::actionWithDuration(duration, point), 2.0f);
}

void EntityView::stopNodeActions() {
    if (mNode == nullptr)
        return;
    mNode->stopAllActions();
    mNode->setRotation(0.0f);
}

bool EntityView::puppetDefines(int32_t state) const {
    const PuppetInstance* shown = puppet();
    const PuppetDefinition* definition = shown != nullptr ? shown->getPuppet() : nullptr;
    return definition != nullptr && definition->getAnimForState(state) != nullptr;
}

CCPoint EntityView::pointOf(const GridSlot& square) const {
    const Entity* shown = entity();
    return shown != nullptr && shown->mGrid != nullptr ? shown->mGrid->pointForCoords(square, true)
                                                       : mNode->getPosition();
}

CCFiniteTimeAction* EntityView::onceThenIdle(int32_t state) const {
    PuppetInstance* shown = puppet();
    if (shown == nullptr)
        return nullptr;
    const int32_t idle = entity()->resolveAnimationState(cAnimStateIdle, true);
    return PuppetAnimAction::actionWithAnim(state, false, 0.0f, -1.0f, idle, cBlend, shown);
}

CCFiniteTimeAction* EntityView::animateOrWait(float duration, int32_t state) const {
    CCAnimation* animation = getAnimation(state);
    if (animation == nullptr)
        return delay(duration);
    return CCAnimate::actionWithDuration(duration, animation, false);
}

CCFiniteTimeAction* EntityView::reportTo(bool taunt) const {
    Entity* shown = entity();
    Game* game = shown != nullptr ? shown->mGame : nullptr;
    if (game == nullptr)
        return nullptr;
    return CCCallFuncND::actionWithTarget(game,
                                          taunt ? callfuncND_selector(Game::tauntFinished)
                                                : callfuncND_selector(Game::visualStepDone),
                                          shown);
}

void EntityView::playAnimation(int32_t state, const GridSlot& own, const GridSlot& toward,
                               float delaySeconds, const GridSlot& end) {
    Entity* shown = entity();
    if (shown == nullptr || shown->mGrid == nullptr || mNode == nullptr)
        return;
    const int32_t dx = toward.x - own.x;
    const int32_t dy = toward.y - own.y;
    const auto squares = static_cast<int32_t>(std::sqrt(static_cast<float>(dx * dx + dy * dy)));
    CCFiniteTimeAction* leadIn =
        shown->mGame != nullptr && shown->mGame->isReplaying() ? delay(0.2f) : nullptr;

    if (isIdle(state))
        playIdle(state, toward, delaySeconds);
    else if (state == cAnimStatePlace || state == cAnimStateDeploy || state == cAnimStateBirth)
        playPlace(state, own, leadIn);
    else if (state == cAnimStateMove)
        playMove(squares, own, toward, leadIn);
    else if (isAttackAnimState(state))
        playAttack(state, squares, own, toward, end, leadIn);
    else if (isDamaged(state)) {
        stopNodeActions();
        mNode->runAction(
            CCSequence::actions(delay(delaySeconds), damagedReaction(state, own, toward)));
    } else if (state == cAnimStateKnockedOut || state == cAnimStateKnockedOutIdle)
        playKnockedOut(state, toward, delaySeconds);
    else if (state == cAnimStateDeath) {
        stopNodeActions();
        mNode->runAction(CCSequence::actions(delay(delaySeconds), deathFade()));
        hideForDeath(delaySeconds);
    } else if (state == cAnimStateAbility || state == cAnimStateAbility2 ||
               state == cAnimStateAbilityBig)
        playAbility(state, own, toward, leadIn);
    else if (state == cAnimStateRevived)
        playRevived(delaySeconds);
    else if (state == cAnimStateTaunt || state == cAnimStateTaunt2 || state == cAnimStateTaunt3) {
        if (puppet() == nullptr)
            return;
        stopNodeActions();
        mNode->runAction(
            CCSequence::actions(delay(delaySeconds), onceThenIdle(state), reportTo(true)));
    } else {
        stopNodeActions();
        if (puppet() != nullptr)
            mNode->runAction(CCSequence::actions(delay(delaySeconds), onceThenIdle(state)));
    }
}

void EntityView::playAnimationInPlace(int32_t state, const GridSlot& toward, float delaySeconds) {
    const Entity* shown = entity();
    if (shown != nullptr)
        playAnimation(state, shown->mSlot, toward, delaySeconds, GridSlot());
}

void EntityView::playIdle(int32_t state, const GridSlot& toward, float delaySeconds) {
    stopNodeActions();
    PuppetInstance* shown = puppet();
    if (shown == nullptr || !puppetDefines(cAnimStateDeploy)) {
        mNode->runAction(CCScaleTo::actionWithDuration(0.1f, 1.0f));
        return;
    }
    mNode->setPosition(pointOf(toward));
    const auto start = static_cast<float>(gRng.rand());
    mNode->runAction(CCSequence::actions(
        delay(delaySeconds),
        PuppetAnimAction::actionWithAnim(state, true, start, -1.0f, -1, cBlend, shown)));
}

void EntityView::playPlace(int32_t state, const GridSlot& own, CCFiniteTimeAction* leadIn) {
    stopNodeActions();
    mNode->setScale(1.2f);
    if (auto* colour = dynamic_cast<CCRGBAProtocol*>(mNode))
        colour->setOpacity(255);
    CCFiniteTimeAction* animation = puppet() != nullptr && puppetDefines(cAnimStateDeploy)
                                        ? onceThenIdle(state)
                                        : animateOrWait(0.5f, state);
    mNode->runAction(CCSequence::actions(
        CCSpawn::actions(
            animation, CCScaleTo::actionWithDuration(0.1f, 1.0f),
            CCEaseOut::actionWithAction(CCMoveTo::actionWithDuration(0.075f, pointOf(own)), 2.0f)),
        leadIn, reportTo(false)));
    if (mHealthBar != nullptr)
        showHealthBar(0.1f);
}

void EntityView::playMove(int32_t squares, const GridSlot& own, const GridSlot& toward,
                          CCFiniteTimeAction* leadIn) {
    stopNodeActions();
    const float time = static_cast<float>(squares) * 0.3f;
    CCFiniteTimeAction* settle =
        CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.075f, 1.0f), 2.0f);
    const CCPoint point = pointOf(toward);
    if (PuppetInstance* shown = puppet()) {
        CCFiniteTimeAction* face = nullptr;
        CCFiniteTimeAction* back = nullptr;
        entity()->makeFacingActions(own, toward, &face, &back);
        const int32_t idle = entity()->resolveAnimationState(cAnimStateIdle, true);
        mNode->runAction(PuppetAnimAction::actionWithAnim(cAnimStateMove, true, cBlend));
        mNode->runAction(CCSequence::actions(
            settle, face,
            CCEaseSineInOut::actionWithAction(CCMoveTo::actionWithDuration(time, point)),
            PuppetAnimAction::actionWithAnim(idle, true, cBlend), back, leadIn, reportTo(false)));
        (void)shown;
        return;
    }
    CCFiniteTimeAction* travel = CCMoveTo::actionWithDuration(0.0f, point);
    if (squares > 0)
        travel =
            CCSpawn::actions(CCJumpTo::actionWithDuration(time, point, 10.0f, squares * 2),
                             CCRepeat::actionWithAction(
                                 CCSequence::actions(CCRotateTo::actionWithDuration(0.15f, 5.0f),
                                                     CCRotateTo::actionWithDuration(0.15f, -5.0f)),
                                 static_cast<unsigned int>(squares)));
    CCFiniteTimeAction* walk = CCSequence::actions(
        settle, travel, CCRotateTo::actionWithDuration(0.01f, 0.0f), leadIn, reportTo(false));
    if (CCAnimation* sheet = getAnimation(cAnimStateMove))
        walk = CCSpawn::actions(walk, CCAnimate::actionWithDuration(0.1f, sheet, false));
    mNode->runAction(walk);
}

void EntityView::playAttack(int32_t state, int32_t squares, const GridSlot& own,
                            const GridSlot& toward, const GridSlot& end,
                            CCFiniteTimeAction* leadIn) {
    Entity* shown = entity();
    PuppetInstance* shownPuppet = puppet();
    if (shownPuppet != nullptr) {
        const int32_t variant = shown->resolveAnimationState(state, false);
        stopNodeActions();
        const GridSlot stand = end.isNone() ? own : end;
        float travel = static_cast<float>(squares) * 0.15f;
        if (state == cAnimStateAttackMove) {
            const float tag = attackTagTime(shownPuppet, cAnimStateAttackMove);
            if (tag >= 0.0f)
                travel = tag;
        }
        CCFiniteTimeAction* face = nullptr;
        CCFiniteTimeAction* back = nullptr;
        shown->makeFacingActions(own, toward, &face, &back);
        const int32_t idleBefore = shown->resolveAnimationState(cAnimStateIdle, false);
        mNode->runAction(CCSequence::actions(
            CCSpawn::actions(CCScaleTo::actionWithDuration(0.05f, 1.0f),
                             PuppetAnimAction::actionWithAnim(idleBefore, true, cBlend)),
            face,
            CCSpawn::actions(CCEaseSineIn::actionWithAction(
                                 CCMoveTo::actionWithDuration(travel, pointOf(stand))),
                             onceThenIdle(variant)),
            back, delay(arcsKnockback(shown) ? 0.4f : 0.01f), reportTo(false)));
        return;
    }
    // A plain sprite keeps the sheet's timing with waits where it has no
    // animations.
    stopNodeActions();
    const auto* sprite = dynamic_cast<const CCSprite*>(mNode);
    const float f = sprite != nullptr && sprite->isFlipX() ? -1.0f : 1.0f;
    const CCPoint start = mNode->getPosition();
    mNode->runAction(CCSequence::actions(
        CCSpawn::actions(CCScaleTo::actionWithDuration(0.05f, 1.0f),
                         animateOrWait(0.05f, cAnimStateIdle)),
        CCSpawn::actions(CCEaseOut::actionWithAction(
                             CCMoveBy::actionWithDuration(0.25f, CCPoint(-10.0f * f, 0.0f)), 2.0f),
                         CCRotateTo::actionWithDuration(0.15f, -10.0f * f)),
        CCSpawn::actions(CCMoveBy::actionWithDuration(0.1f, CCPoint(20.0f * f, 0.0f)),
                         CCRotateTo::actionWithDuration(0.1f, 0.0f)),
        animateOrWait(0.25f, cAnimStateAttack),
        CCSpawn::actions(CCMoveTo::actionWithDuration(0.1f, start),
                         animateOrWait(0.1f, cAnimStateIdle)),
        delay(0.5f), leadIn, reportTo(false)));
}

CCFiniteTimeAction* EntityView::damagedMove(const GridSlot& own, const GridSlot& toward) const {
    const Entity* shown = entity();
    const CandidateAction* playing =
        shown->mGame != nullptr ? shown->mGame->mPlayingAction : nullptr;
    const CCPoint point = pointOf(toward);
    if (playing == nullptr || toward == own)
        return makeEasedMove(0.1f, point);
    const float time = playing->getVisualDelay();
    if (arcsKnockback(shown->mGame->getEntity(playing->mSourceEntity)))
        return CCSpawn::actions(
            CCJumpTo::actionWithDuration(time, point, 60.0f, 1),
            CCRotateBy::actionWithDuration(time, toward.x > own.x ? 360.0f : -360.0f));
    return makeEasedMove(time, point);
}

CCFiniteTimeAction* EntityView::damagedReaction(int32_t state, const GridSlot& own,
                                                const GridSlot& toward) const {
    const Entity* shown = entity();
    float fraction = shown->getHealthFraction();
    if (const ActionResultInfo* result = shown->getPlayingActionResult())
        fraction = result->mFinalHealthFraction;
    const auto percent = static_cast<int32_t>(100.0f * fraction);
    CCFiniteTimeAction* category =
        puppet() != nullptr ? SetHealthCategory::action(percent) : nullptr;
    return CCSpawn::actions(damagedMove(own, toward), onceThenIdle(state), category);
}

void EntityView::playKnockedOut(int32_t state, const GridSlot& toward, float delaySeconds) {
    stopNodeActions();
    const float f = puppet() == nullptr && dynamic_cast<const CCSprite*>(mNode) != nullptr &&
                            static_cast<const CCSprite*>(mNode)->isFlipX()
                        ? -1.0f
                        : 1.0f;
    if (PuppetInstance* shown = puppet()) {
        mNode->runAction(CCSequence::actions(
            delay(delaySeconds),
            CCSpawn::actions(
                makeEasedMove(0.1f, pointOf(toward)),
                PuppetAnimAction::actionWithAnim(state, false, 0.0f, -1.0f, -1, cBlend, shown)),
            PuppetAnimAction::actionWithAnim(cAnimStateKnockedOutIdle, true, cBlend)));
    } else if (getAnimation(state) != nullptr) {
        CCFiniteTimeAction* shake = CCRepeat::actionWithAction(
            CCSequence::actions(CCMoveBy::actionWithDuration(0.025f, CCPoint(-4.0f, 0.0f)),
                                CCMoveBy::actionWithDuration(0.025f, CCPoint(4.0f, 0.0f))),
            5);
        mNode->runAction(
            CCSequence::actions(CCSpawn::actions(CCRotateBy::actionWithDuration(0.25f, -90.0f * f),
                                                 shake, animateOrWait(0.1f, cAnimStateDamaged)),
                                delay(0.4f)));
    }
    if (entity()->isVictoryUnit()) {
        hideAura(7, true, delaySeconds);
        hideAura(12, true, delaySeconds);
    }
}

CCFiniteTimeAction* EntityView::deathFade() const {
    CCFiniteTimeAction* death =
        puppetDefines(cAnimStateDeath)
            ? PuppetAnimAction::actionWithAnim(cAnimStateDeath, false, cBlend)
            : nullptr;
    return CCSpawn::actions(CCFadeOut::actionWithDuration(0.5f), death);
}

void EntityView::hideForDeath(float delaySeconds) {
    hideHealthBar(0.1f);
    hideEquipmentSprites();
    for (int32_t aura = 0; aura < cAuraCount; ++aura)
        hideAura(aura, true, delaySeconds);
}

void EntityView::playAbility(int32_t state, const GridSlot& own, const GridSlot& toward,
                             CCFiniteTimeAction* leadIn) {
    stopNodeActions();
    if (puppet() != nullptr) {
        CCFiniteTimeAction* face = nullptr;
        CCFiniteTimeAction* back = nullptr;
        entity()->makeFacingActions(own, toward, &face, &back);
        mNode->runAction(CCSequence::actions(CCScaleTo::actionWithDuration(0.05f, 1.0f), face,
                                             onceThenIdle(state), back, leadIn, reportTo(false)));
        return;
    }
    mNode->runAction(CCSequence::actions(
        CCScaleTo::actionWithDuration(0.05f, 1.0f), delay(0.4f), animateOrWait(0.7f, state),
        animateOrWait(0.1f, cAnimStateIdle), leadIn, reportTo(false)));
}

void EntityView::playRevived(float delaySeconds) {
    stopNodeActions();
    if (puppet() != nullptr)
        mNode->runAction(CCSequence::actions(delay(delaySeconds), onceThenIdle(cAnimStateRevived)));
    else
        mNode->runAction(CCSequence::actions(
            delay(0.6f), animateOrWait(0.1f, cAnimStateDamaged),
            CCSpawn::actions(CCJumpBy::actionWithDuration(0.5f, CCPoint(0.0f, 0.0f), 20.0f, 1),
                             CCRotateBy::actionWithDuration(0.3f, 360.0f)),
            animateOrWait(0.1f, cAnimStateRevived)));
    showHealthBar(0.1f);
    hideAura(1, true, delaySeconds);
}

void EntityView::playHitAnimation(int32_t state, const GridSlot& own, const GridSlot& toward) {
    Entity* shown = entity();
    if (shown == nullptr || shown->mGrid == nullptr || mNode == nullptr || puppet() == nullptr)
        return;
    std::vector<float> delays = CandidateAction::hitDelays();
    if (delays.empty())
        delays.push_back(0.0f);
    if (delays.size() == 1) {
        playAnimation(state, own, toward, delays.front(), GridSlot());
        return;
    }
    CCFiniteTimeAction* reaction = nullptr;
    if (isDamaged(state))
        reaction = damagedReaction(state, own, toward);
    else if (state == cAnimStateKnockedOut)
        reaction = CCSpawn::actions(
            makeEasedMove(0.1f, pointOf(toward)),
            PuppetAnimAction::actionWithAnim(cAnimStateKnockedOut, false, 0.0f, -1.0f,
                                             cAnimStateKnockedOutIdle, cBlend, puppet()));
    else if (state == cAnimStateDeath)
        reaction = deathFade();
    else {
        playAnimationInPlace(state, toward, 0.0f);
        return;
    }
    stopNodeActions();
    std::vector<CCFiniteTimeAction*> steps;
    for (size_t i = 0; i + 1 < delays.size(); ++i) {
        steps.push_back(delay(delays[i]));
        steps.push_back(PuppetAnimAction::actionWithAnim(cAnimStateDamaged, false, cBlend));
    }
    steps.push_back(delay(delays.back()));
    steps.push_back(reaction);
    mNode->runAction(CCSequence::actionsWithList(steps));
    if (state == cAnimStateDeath)
        hideForDeath(0.0f);
}
