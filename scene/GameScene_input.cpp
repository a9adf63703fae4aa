// The scene's part of the input: the players' health numbers while the board
// is touched, the fake cursors of video capture, and the Back key. Picking
// up and dragging tiles belongs to the bound game and the entity views.

#include "scene/GameScene.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSet.h"
#include "platform/engine/CCSpawn.h"
#include "platform/engine/CCTouch.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <algorithm>
#include <cstdio>

using namespace cocos2d;

namespace {

constexpr int cFakeCursorZOrder = 100000;

CCPoint glLocation(const CCTouch* touch) {
    return CCDirector::sharedDirector()->convertToGL(touch->locationInView());
}

// Fades a health label to an opacity.
void fadeLabel(CCLabelTTF* label, uint8_t opacity) {
    if (label == nullptr)
        return;
    label->stopAllActions();
    label->runAction(CCFadeTo::actionWithDuration(0.075f, opacity));
}

} // namespace

bool GameScene::hasPrimaryTouch(const CCSet* touches) {
    if (touches == nullptr)
        return false;
    return std::any_of(touches->begin(), touches->end(), [](CCObject* object) {
        const auto* touch = dynamic_cast<const CCTouch*>(object);
        return touch != nullptr && touch->getId() == 0;
    });
}

void GameScene::showHealthNumbers() {
    if (mGame == nullptr || mGame->isReplaying())
        return;
    if (mGame->mGameBoard != nullptr)
        mGame->mGameBoard->showEntityOverlays();
    fadeLabel(mLocalHealthLabel, 255);
    fadeLabel(mOpponentHealthLabel, 255);
}

void GameScene::hideHealthNumbers() {
    if (mGame == nullptr)
        return;
    if (mGame->mGameBoard != nullptr)
        mGame->mGameBoard->hideEntityOverlays();
    fadeLabel(mLocalHealthLabel, 0);
    fadeLabel(mOpponentHealthLabel, 0);
}

void GameScene::ccTouchesBegan(CCSet* touches, CCEvent*) {
    if (touches == nullptr)
        return;
    if (hasPrimaryTouch(touches))
        showHealthNumbers();
    if (!BConfig::instance().isSetById(cOptFakeCursor))
        return;
    for (CCObject* object : *touches) {
        auto* touch = dynamic_cast<CCTouch*>(object);
        if (touch == nullptr)
            continue;
        CCSprite* cursor = CCSprite::spriteWithFile("UI/FakeCursor.png");
        if (cursor == nullptr)
            continue;
        addChild(cursor, cFakeCursorZOrder);
        cursor->retain();
        cursor->setPosition(glLocation(touch));
        cursor->setOpacity(0);
        cursor->runAction(CCFadeIn::actionWithDuration(0.05f));
        touch->retain();
        mFakeCursors.emplace_back(cursor, touch);
    }
}

void GameScene::ccTouchesMoved(CCSet* touches, CCEvent*) {
    if (touches == nullptr)
        return;
    for (CCObject* object : *touches) {
        auto found = std::find_if(mFakeCursors.begin(), mFakeCursors.end(),
                                  [object](const auto& pair) { return pair.second == object; });
        if (found != mFakeCursors.end())
            found->first->setPosition(glLocation(found->second));
    }
}

void GameScene::ccTouchesEnded(CCSet* touches, CCEvent*) {
    if (hasPrimaryTouch(touches))
        hideHealthNumbers();
    releaseFakeCursors(touches);
}

void GameScene::ccTouchesCancelled(CCSet* touches, CCEvent* event) {
    ccTouchesEnded(touches, event);
}

void GameScene::releaseFakeCursors(const CCSet* touches) {
    if (touches == nullptr)
        return;
    for (CCObject* object : *touches) {
        auto found = std::find_if(mFakeCursors.begin(), mFakeCursors.end(),
                                  [object](const auto& pair) { return pair.second == object; });
        if (found == mFakeCursors.end())
            continue;
        CCSprite* cursor = found->first;
        cursor->runAction(
            CCSequence::actions(CCSpawn::actions(CCFadeOut::actionWithDuration(0.2f),
                                                 CCScaleTo::actionWithDuration(0.2f, 2.0f)),
                                CCCallFuncN::actionWithTarget(
                                    this, callfuncN_selector(GameScene::removeNodeFromScene))));
        found->second->release();
        cursor->release();
        *found = mFakeCursors.back();
        mFakeCursors.pop_back();
    }
}

void GameScene::keyBackClicked() {
    std::fputs("keybackclicked.\n", stdout);
    std::fflush(stdout);
    if (mGame != nullptr)
        mGame->ccTouchCancelled(nullptr, nullptr);
}
