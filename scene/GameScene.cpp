#include "scene/GameScene.h"

#include "scene/sound/SoundPlayback.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/HealthBar.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "puppet/PuppetInstance.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"
#include "rules/GamesList.h"
#include "rules/PuzzleScript.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCApplication.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <boost/thread/recursive_mutex.hpp>

#include <cstdio>
#include <mutex>

using cocos2d::CCDirector;
using cocos2d::CCNode;
using cocos2d::CCObject;
using cocos2d::CCPoint;

namespace {

int32_t gLayoutMode = 0;

// Removes a node from its parent with clean-up; null is skipped.
void detach(CCNode* node) {
    if (node != nullptr)
        node->removeFromParentAndCleanup(true);
}

template <class T> void releaseAndClear(T*& object) {
    if (object != nullptr)
        object->release();
    object = nullptr;
}

} // namespace

int32_t GameScene::layoutMode() {
    return gLayoutMode;
}

void GameScene::setLayoutMode(int32_t mode) {
    gLayoutMode = mode;
}

GameScene::GameScene() {
    mActionPointGems.clear();
    mEffects.clear();
}

GameScene* GameScene::node() {
    auto* scene = new GameScene();
    if (!scene->init()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

cocos2d::CCScene* GameScene::sceneWithGame() {
    cocos2d::CCScene* scene = cocos2d::CCScene::node();
    int boardX = 0, boardY = 0, boardWidth = 0, boardHeight = 0, windowWidth = 0, windowHeight = 0;
    cocos2d::CCApplication::getSceneDims(boardX, boardY, boardWidth, boardHeight, windowWidth,
                                         windowHeight);
    const float contentScale = CCDirector::sharedDirector()->getContentScaleFactor();
    scene->setPosition(CCPoint(float(boardX) / contentScale,
                               float(windowHeight - boardY - boardHeight) / contentScale));
    if (GameScene* layer = GameScene::node()) {
        layer->setGame(gCurrentGame);
        scene->addChild(layer);
    }
    return scene;
}

GameScene::~GameScene() {
    // 1. The game goes first, unlinked from its views.
    if (mGame != nullptr) {
        Game* game = mGame;
        mGame = nullptr;
        game->unlink(true);
        game->release();
    }
    // 2. Transient effects.
    clearEffectNodes();
    // 3. The HUD leaves the scene.
    for (CCNode* node : std::initializer_list<CCNode*>{
             mLocalNameLabel,     mOpponentNameLabel,    mOpponentHealthLabel,
             mLocalHealthLabel,   mLocalTurnMarker,      mOpponentTurnMarker,
             mSubmitButton,       mRematchButton,        mNextGameButton,
             mActionPointsButton, mLocalProfileButton,   mOpponentProfileButton,
             mSettingsButton,     mResetFlash,           mReplayBar,
             mScoreTallyLabel,    mScoreTallyBackground, mActionPointsArrow,
             mSubmitOverlay,      mRematchOverlay,       mPuzzleDialogManager})
        detach(node);
    for (auto* pool : {&mDamageFlyouts, &mHealingFlyouts})
        for (cocos2d::CCLabelBMFont*& label : pool->mEntries) {
            detach(label);
            releaseAndClear(label);
        }
    for (ScoreFlyout*& flyout : mScoreFlyouts.mEntries) {
        if (flyout == nullptr)
            continue;
        detach(flyout->mSprite);
        releaseAndClear(flyout->mSprite);
        delete flyout;
        flyout = nullptr;
    }
    for (cocos2d::CCSprite* gem : mActionPointGems) {
        detach(gem);
        gem->release();
    }
    mActionPointGems.clear();
    // 4. The references the scene holds.
    releaseAndClear(mLocalNameLabel);
    releaseAndClear(mOpponentNameLabel);
    releaseAndClear(mOpponentHealthLabel);
    releaseAndClear(mLocalHealthLabel);
    releaseAndClear(mLocalTurnMarker);
    releaseAndClear(mOpponentTurnMarker);
    releaseAndClear(mSubmitButton);
    releaseAndClear(mRematchButton);
    releaseAndClear(mNextGameButton);
    releaseAndClear(mActionPointsButton);
    releaseAndClear(mLocalProfileButton);
    releaseAndClear(mOpponentProfileButton);
    releaseAndClear(mSettingsButton);
    releaseAndClear(mResetFlash);
    releaseAndClear(mReplayBar);
    releaseAndClear(mScoreTallyLabel);
    releaseAndClear(mScoreTallyBackground);
    releaseAndClear(mActionPointsArrow);
    releaseAndClear(mHealthGreenTexture);
    releaseAndClear(mHealthRedTexture);
    releaseAndClear(mSubmitOverlay);
    releaseAndClear(mRematchOverlay);
    releaseAndClear(mDragTooltip);
    for (cocos2d::CCSpriteFrame*& frame : mReticleFrames)
        releaseAndClear(frame);
    releaseAndClear(mReplaySkipButton);
    releaseAndClear(mLocalBannerColor);
    releaseAndClear(mOpponentBannerColor);
    releaseAndClear(mLocalBanner);
    releaseAndClear(mOpponentBanner);
    releaseAndClear(mVsBadge);
    releaseAndClear(mPuzzleDialogManager);
    for (auto& [cursor, touch] : mFakeCursors) {
        releaseAndClear(cursor);
        releaseAndClear(touch);
    }
    // 5. The banners' health bars are owned outright.
    for (HealthBar** bar : {&mLocalHealthBar, &mOpponentHealthBar}) {
        if (*bar == nullptr)
            continue;
        detach(*bar);
        (*bar)->release();
        *bar = nullptr;
    }
    // 6. Only the current scene clears the pointer (and the sound pan's node).
    if (gGameScene == this) {
        gGameScene = nullptr;
        setSoundSceneNode(nullptr);
    }
    // 7, 8.
    detach(mEndEffectPuppet);
    clearEffects();
    // A slow motion cannot outlive the scene that scheduled it.
    cancelSlowMotion();
    // 9.
    delete mPuzzleScript;
    mPuzzleScript = nullptr;
}

void GameScene::onEnter() {
    setIsTouchEnabled(true);
    cocos2d::CCTouchDispatcher::sharedDispatcher()->addStandardDelegate(this, cTouchPriority);
    cocos2d::CCKeypadDispatcher::sharedDispatcher()->addDelegate(this);
    if (BConfig::instance().isSetById(cOptSound) && mGame != nullptr && !mGame->mGameOver)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(
            "sound/Amb_Field_LP.mp3", true);
    // The node's own entry, not the layer's: the layer would register its
    // touches a second time.
    CCNode::onEnter();
}

void GameScene::onExit() {
    if (mGame != nullptr) {
        unloadSpriteSheets();
        mGame->unlink(true);
        cocos2d::CCTextureCache::sharedTextureCache()->removeUnusedTextures();
    }
    cancelSlowMotion();
    cocos2d::CCKeypadDispatcher::sharedDispatcher()->removeDelegate(this);
    cocos2d::CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    CCNode::onExit();
}

void GameScene::onViewDidAppear(bool animated) {
    if (mGame == nullptr)
        return;
    // A game just opened replays the opponent's last turn; without one to
    // replay the new tiles fly into the rack at once.
    if (mJustBound && !mGame->isLocalGame() && !mGame->startReplay())
        mGame->animateRackRefill(0.0f);
    mJustBound = false;
    CCNode::onViewDidAppear(animated);
}

void GameScene::backToGames() {
    if (mEndEffectPuppet != nullptr)
        mEndEffectPuppet->stopSounds();
    AchievementTracker::popScope(true);
}

void GameScene::onBackConfirmed(CCObject*) {
    backToGames();
}

void GameScene::quit(CCObject*) {
    CCDirector::sharedDirector()->end();
}

void GameScene::onScoreFlyoutDone(CCNode*, void*) {}
