#include "tools/scenefakes/HeadlessGameScene.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionManager.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSequence.h"

HeadlessGameScene::HeadlessGameScene() {
    mScene = cocos2d::CCScene::node();
    mScene->retain();
    mLayer = cocos2d::CCLayer::node();
    mScene->addChild(mLayer);
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    if (director->getRunningScene() == nullptr)
        director->runWithScene(mScene);
    else
        director->replaceScene(mScene);
    director->tick(0);
    gGameScene = this;
}

HeadlessGameScene::~HeadlessGameScene() {
    if (gGameScene == this)
        gGameScene = nullptr;
    clearEffectNodes();
    mScene->release();
}

cocos2d::CCNode* HeadlessGameScene::getSceneNode() {
    return mLayer;
}

void HeadlessGameScene::addEffectNode(cocos2d::CCNode* node) {
    if (node == nullptr)
        return;
    node->retain();
    mEffectNodes.push_back(node);
}

void HeadlessGameScene::clearEffectNodes() {
    for (cocos2d::CCNode* node : mEffectNodes) {
        node->removeFromParentAndCleanup(true);
        node->release();
    }
    mEffectNodes.clear();
}

void HeadlessGameScene::removeFinishedEffects() {
    std::vector<cocos2d::CCNode*> kept;
    for (cocos2d::CCNode* node : mEffectNodes) {
        if (node->numberOfRunningActions() > 0) {
            kept.push_back(node);
            continue;
        }
        node->removeFromParentAndCleanup(true);
        node->release();
    }
    mEffectNodes = kept;
}

void HeadlessGameScene::playAPRegenEffect(float delay) {
    mCalls.push_back({"apRegen", 0, {}, delay, 0.0f, false, {}, 0.0f});
}

void HeadlessGameScene::setPlayerHealth(int32_t player, float fraction, bool animate, float delay) {
    mCalls.push_back({"playerHealth", player, {}, delay, fraction, animate, {}, 0.0f});
}

void HeadlessGameScene::setCrystalDebuffLevels(int32_t player, int32_t level, bool animated,
                                               float delay) {
    mCalls.push_back(
        {"crystalDebuff", player, {}, delay, static_cast<float>(level), animated, {}, 0.0f});
}

void HeadlessGameScene::showDamageFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                         float delay) {
    mCalls.push_back({"damage", amount, position, delay, 0.0f, false, {}, 0.0f});
}

void HeadlessGameScene::showHealingFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                          float delay) {
    mCalls.push_back({"healing", amount, position, delay, 0.0f, false, {}, 0.0f});
}

void HeadlessGameScene::showScoreFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                        float delay, bool counts, float scale) {
    mCalls.push_back({"score", amount, position, delay, scale, counts, {}, 0.0f});
}

void HeadlessGameScene::hideTurnControls() {
    mCalls.push_back({"hideTurnControls", 0, {}, 0.0f, 0.0f, false, {}, 0.0f});
}

void HeadlessGameScene::onTurnStarted() {
    mCalls.push_back({"turnStarted", 0, {}, 0.0f, 0.0f, false, {}, 0.0f});
}

void HeadlessGameScene::showBigAttackBanner(const std::string& text,
                                            const cocos2d::CCPoint& position,
                                            cocos2d::CCFiniteTimeAction* followUp, float delay,
                                            float duration) {
    mCalls.push_back({"banner", 0, position, delay, 0.0f, false, text, duration});
    if (followUp == nullptr)
        return;
    cocos2d::CCNode* banner = cocos2d::CCNode::node();
    mLayer->addChild(banner, 1000);
    addEffectNode(banner);
    banner->runAction(cocos2d::CCSequence::actions(
        cocos2d::CCDelayTime::actionWithDuration(delay + duration * 1.2f), followUp));
}

void HeadlessGameScene::startSlowMotion(float scale, float hold, float delay) {
    mCalls.push_back({"slowMotion", 0, {}, delay, scale, false, {}, hold});
}
