#include "tools/scenefakes/HeadlessGameScene.h"

#include "platform/engine/CCActionManager.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"

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
    mCalls.push_back({"apRegen", 0, {}, delay, 0.0f, false});
}

void HeadlessGameScene::setPlayerHealth(int32_t player, float fraction, bool animate, float delay) {
    mCalls.push_back({"playerHealth", player, {}, delay, fraction, animate});
}

void HeadlessGameScene::setCrystalDebuffLevels(int32_t player, int32_t level, bool animated,
                                               float delay) {
    mCalls.push_back({"crystalDebuff", player, {}, delay, static_cast<float>(level), animated});
}

void HeadlessGameScene::showDamageFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                         float delay) {
    mCalls.push_back({"damage", amount, position, delay, 0.0f, false});
}

void HeadlessGameScene::showHealingFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                          float delay) {
    mCalls.push_back({"healing", amount, position, delay, 0.0f, false});
}

void HeadlessGameScene::showScoreFlyout(int32_t amount, const cocos2d::CCPoint& position,
                                        float delay, bool counts, float scale) {
    mCalls.push_back({"score", amount, position, delay, scale, counts});
}
