// The short-lived feedback of actions: number flyouts from pools of ten,
// the big-attack banner, the action-point regeneration effect, the turn
// notice, the reset flash, timed slow motion, and the two lists of
// transient effect nodes.

#include "scene/GameScene.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/HeaderTextStyle.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/RegisteredOptions.h"
#include "puppet/PuppetAnimAction.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"
#include "rules/Game.h"
#include "rules/Player.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <algorithm>
#include <cstdint>
#include <string>

using namespace cocos2d;

namespace {

// Where a flyout over a unit starts: 52 points above it, never higher than
// 30 points below the window's top.
CCPoint flyoutPlace(const CCPoint& position) {
    const float top = CCDirector::sharedDirector()->getWinSize().height - 30.0f;
    return CCPoint(position.x, std::min(position.y + 52.0f, top));
}

// The state of the scene's "Play" effect animation.
constexpr int32_t cPlayState = 30;

} // namespace

void GameScene::showNumberFlyout(CCLabelBMFont* label, const std::string& text,
                                 const CCPoint& position, float delay) {
    if (label == nullptr)
        return;
    label->stopAllActions();
    label->setString(text.c_str());
    label->setPosition(flyoutPlace(position));
    label->setIsVisible(true);
    label->setOpacity(0);
    label->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), CCFadeIn::actionWithDuration(0.01f),
        CCEaseOut::actionWithAction(CCMoveBy::actionWithDuration(0.07f, CCPoint(0, 12)), 2.0f),
        CCEaseIn::actionWithAction(CCMoveBy::actionWithDuration(0.1f, CCPoint(0, -5)), 2.0f),
        CCDelayTime::actionWithDuration(1.0f),
        CCEaseOut::actionWithAction(CCFadeOut::actionWithDuration(0.4f), 2.0f), CCHide::action()));
}

void GameScene::showDamageFlyout(int32_t amount, const CCPoint& position, float delay) {
    showNumberFlyout(mDamageFlyouts.next(), std::to_string(-int64_t(amount)), position, delay);
}

void GameScene::showHealingFlyout(int32_t amount, const CCPoint& position, float delay) {
    showNumberFlyout(mHealingFlyouts.next(), "+" + std::to_string(amount), position, delay);
}

void GameScene::showScoreFlyout(int32_t amount, const CCPoint& position, float delay, bool counts,
                                float scale) {
    ScoreFlyout* flyout = mScoreFlyouts.next();
    if (flyout == nullptr)
        return;
    flyout->mLabel->setString(std::to_string(amount).c_str());
    CCSprite* sprite = flyout->mSprite;
    sprite->stopAllActions();
    sprite->setPosition(flyoutPlace(position));
    sprite->setOpacity(0);
    sprite->setScale(0.9f * scale);
    sprite->setIsVisible(true);
    const bool heard = counts && (mGame == nullptr || !mGame->isReplaying());
    void* data = reinterpret_cast<void*>(intptr_t(heard ? amount : 0));
    sprite->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), CCFadeIn::actionWithDuration(0.01f),
        CCCallFuncND::actionWithTarget(this, callfuncND_selector(GameScene::onScoreFlyoutDone),
                                       data),
        CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.06f, 1.2f * scale), 4.0f),
        CCEaseIn::actionWithAction(CCScaleTo::actionWithDuration(0.08f, 1.0f * scale), 4.0f),
        CCDelayTime::actionWithDuration(0.75f),
        CCSpawn::actions(CCFadeOut::actionWithDuration(0.1f),
                         CCScaleTo::actionWithDuration(0.1f, 0.8f * scale)),
        CCHide::action()));
}

void GameScene::showBigAttackBanner(const std::string& text, const CCPoint& position,
                                    CCFiniteTimeAction* followUp, float delay, float duration) {
    const std::string banner = (text.empty() ? std::string("<Big Attack>") : text) + "!";
    CCNode* label = nullptr;
    if (BConfig::instance().isSetById(cOptOnlyUseTTF)) {
        const DropShadowInfo shadow = headerTextShadow();
        const OutlineFillInfo outline = headerTextOutline(
            ccc4(255, 255, 110, 255), ccc4(211, 215, 91, 255), ccc4(181, 184, 79, 255));
        label = CCLabelTTF::labelWithString(banner.c_str(), getHeaderFontName(), 30.0f, &shadow,
                                            &outline);
    } else {
        CCLabelBMFont* bitmap = CCLabelBMFont::labelOrEmpty(banner.c_str(), "BigNotify.fnt");
        bitmap->setColor(ccc3(255, 255, 110));
        label = bitmap;
    }
    if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(label))
        rgba->setOpacity(255);
    label->setIsVisible(false);
    addChild(label, 1000);

    // Kept inside the window with a margin of 6 points.
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    const CCSize size = label->getContentSize();
    const float hw = size.width * 0.5f, hh = size.height * 0.5f;
    CCPoint place(position.x, position.y - 5.0f);
    if (place.x - hw - 6.0f < 0.0f)
        place.x = hw + 6.0f;
    else if (place.x + hw + 6.0f >= win.width)
        place.x = win.width - hw - 6.0f;
    if (place.y - hh - 6.0f < 0.0f)
        place.y = hh + 6.0f;
    else if (place.y + hh + 6.0f >= win.height)
        place.y = win.height - hh - 6.0f;
    label->setPosition(place);

    label->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), CCShow::action(),
        CCEaseExponentialOut::actionWithAction(
            CCMoveBy::actionWithDuration(duration * 0.5f, CCPoint(0, -15))),
        CCDelayTime::actionWithDuration(duration * 0.5f),
        CCFadeTo::actionWithDuration(duration * 0.2f, 0), followUp,
        CCCallFuncN::actionWithTarget(this, callfuncN_selector(GameScene::removeEffectNode))));
    addEffectNode(label);
}

void GameScene::playAPRegenEffect(float delay) {
    const int32_t index = PuppetRegistry::loadPuppet("Civ/KX4/Effects/APRegen01");
    if (index < 0 || mActionPointsButton == nullptr)
        return;
    PuppetInstance* effect = PuppetInstance::create(index, ccc3(255, 255, 255));
    effect->retain();
    addEffect(effect);
    effect->setIsVisible(false);
    mActionPointsButton->addChild(effect, 10);
    const Player* player = mGame != nullptr ? mGame->getCurrentPlayer() : nullptr;
    const int32_t points = player != nullptr ? player->mActionPoints : 0;
    effect->setRotation(-72.0f - 72.0f * float(points));
    effect->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(delay), CCShow::action(),
        PuppetAnimAction::actionWithAnim(cPlayState, false, PuppetInstance::cDefaultBlend)));
}

void GameScene::showTurnNotice(const std::string& text) {
    CCLabelBMFont* label = CCLabelBMFont::labelOrEmpty(text.c_str(), "BigNotify.fnt");
    label->setColor(ccc3(0, 255, 255));
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    label->setPosition(CCPoint(win.width * 0.5f, win.height * 0.5f));
    CCNode* scene = gGameScene != nullptr ? gGameScene->getSceneNode() : this;
    scene->addChild(label, cModalZOrder);
    label->setScale(10.0f);
    label->setOpacity(0);
    label->runAction(CCSequence::actions(
        CCSpawn::actions(CCFadeIn::actionWithDuration(0.3f),
                         CCScaleTo::actionWithDuration(0.3f, 1.0f)),
        CCDelayTime::actionWithDuration(3.0f),
        CCSpawn::actions(CCFadeOut::actionWithDuration(0.3f),
                         CCScaleTo::actionWithDuration(0.3f, 10.0f)),
        CCCallFuncN::actionWithTarget(this, callfuncN_selector(GameScene::removeEffectNode))));
}

void GameScene::playResetFlash() {
    if (mResetFlash == nullptr)
        return;
    mResetFlash->setOpacity(222);
    mResetFlash->runAction(CCSequence::actions(
        CCDelayTime::actionWithDuration(0.05f),
        CCEaseOut::actionWithAction(CCFadeTo::actionWithDuration(0.25f, 0), 2.0f)));
}

void GameScene::stopHudActions() {
    for (int32_t i = 0; i < FlyoutPool<ScoreFlyout*>::cSize; ++i) {
        ScoreFlyout* score = mScoreFlyouts.mEntries[size_t(i)];
        CCSprite* sprite = score != nullptr ? score->mSprite : nullptr;
        for (CCNode* node : std::initializer_list<CCNode*>{
                 sprite, mDamageFlyouts.mEntries[size_t(i)], mHealingFlyouts.mEntries[size_t(i)]}) {
            if (node == nullptr)
                continue;
            node->stopAllActions();
            if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(node))
                rgba->setOpacity(0);
            node->setIsVisible(false);
        }
    }
}

// Slow motion: Idle, Scheduled (waiting for the delay), Slowed, Idle. The
// scheduler runs in scaled time, so a hold of scale x hold seconds lasts
// hold seconds of real time.
void GameScene::startSlowMotion(float scale, float hold, float delay) {
    if (mSlowMotionActive || scale == 0.0f)
        return;
    mSlowMotionScale = scale;
    mSlowMotionHold = scale * hold;
    schedule(schedule_selector(GameScene::onSlowMotionStart), delay);
}

void GameScene::onSlowMotionStart(ccTime) {
    mSlowMotionActive = true;
    CCScheduler::sharedScheduler()->setTimeScale(mSlowMotionScale);
    unschedule(schedule_selector(GameScene::onSlowMotionStart));
    schedule(schedule_selector(GameScene::onSlowMotionEnd), mSlowMotionHold);
}

void GameScene::onSlowMotionEnd(ccTime) {
    unschedule(schedule_selector(GameScene::onSlowMotionEnd));
    CCScheduler::sharedScheduler()->setTimeScale(1.0f);
    mSlowMotionActive = false;
}

// The time scale is process-wide: a scene that leaves while a slow motion
// is scheduled or holds must not leave the engine slowed.
void GameScene::cancelSlowMotion() {
    CCScheduler* scheduler = CCScheduler::sharedScheduler();
    const bool scheduled =
        scheduler->isSelectorScheduled(schedule_selector(GameScene::onSlowMotionStart), this) ||
        scheduler->isSelectorScheduled(schedule_selector(GameScene::onSlowMotionEnd), this);
    if (!scheduled && !mSlowMotionActive)
        return;
    unschedule(schedule_selector(GameScene::onSlowMotionStart));
    unschedule(schedule_selector(GameScene::onSlowMotionEnd));
    scheduler->setTimeScale(1.0f);
    mSlowMotionActive = false;
}

void GameScene::addEffectNode(CCNode* node) {
    if (node == nullptr)
        return;
    node->retain();
    mEffectNodes.push_back(node);
}

void GameScene::removeEffectNode(CCNode* node) {
    if (node == nullptr)
        return;
    // Kept alive while it leaves its parent, even when the list held the
    // last reference.
    node->retain();
    const auto found = std::find(mEffectNodes.begin(), mEffectNodes.end(), node);
    if (found != mEffectNodes.end()) {
        mEffectNodes.erase(found);
        node->release();
    }
    node->removeFromParentAndCleanup(true);
    node->release();
}

void GameScene::clearEffectNodes() {
    std::vector<CCNode*> nodes;
    nodes.swap(mEffectNodes);
    for (CCNode* node : nodes) {
        node->stopAllActions();
        node->removeFromParentAndCleanup(true);
        node->release();
    }
}

void GameScene::addEffect(CCNode* node) {
    mEffects.push_back(node);
}

void GameScene::removeFinishedEffects() {
    std::erase_if(mEffects, [](CCNode* node) {
        if (node != nullptr && node->numberOfRunningActions() > 0)
            return false;
        if (node != nullptr) {
            if (node->getParent() != nullptr)
                node->removeFromParentAndCleanup(true);
            node->release();
        }
        return true;
    });
}

void GameScene::clearEffects() {
    std::vector<CCNode*> nodes;
    nodes.swap(mEffects);
    for (CCNode* node : nodes) {
        if (node == nullptr)
            continue;
        if (node->getParent() != nullptr)
            node->removeFromParentAndCleanup(true);
        node->release();
    }
}

void GameScene::removeNodeFromScene(CCNode* node) {
    if (node != nullptr)
        removeChild(node, true);
}
