#include "scene/widgets/TooltipLayer.h"

#include "rules/TooltipProtocol.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

constexpr float cGrowTime = 0.15f;

CCActionInterval* easedOut(CCActionInterval* action) {
    return CCEaseOut::actionWithAction(action, 2.0f);
}

} // namespace

TooltipLayer::TooltipLayer(TooltipProtocol* owner, bool isPopup)
    : mOwner(owner), mIsPopup(isPopup) {
    init();
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    mBackground = CCSprite::spriteWithFile("HelpTooltip_BG.png");
    mBackground->retain();
    addChild(mBackground, -1);
    if (mIsPopup) {
        setContentSize(win);
        setAnchorPoint(CCPoint(0.5f, 0.5f));
        if (mOwner != nullptr)
            mBackground->setPosition(mOwner->getTooltipPosition());
    } else {
        setAnchorPoint(CCPoint(0.0f, 1.0f));
        mBackground->setAnchorPoint(CCPoint(0.0f, 1.0f));
        mBackground->setPosition(CCPoint(0.0f, 0.0f));
        setContentSize(mBackground->getContentSize());
    }
    if (mOwner != nullptr)
        mOwner->buildTooltip(mBackground);
    if (mIsPopup) {
        mBackground->setScale(0.5f);
        mBackground->setOpacity(0);
        mBackground->runAction(
            CCSpawn::actions(easedOut(CCMoveTo::actionWithDuration(
                                 cGrowTime, CCPoint(win.width * 0.5f, win.height * 0.55f))),
                             easedOut(CCScaleTo::actionWithDuration(cGrowTime, 1.0f)),
                             easedOut(CCFadeIn::actionWithDuration(cGrowTime))));
    } else {
        mBackground->setScale(1.0f);
        mBackground->setOpacity(255);
    }
}

TooltipLayer::~TooltipLayer() {
    ccSafeRelease(mBackground);
}

void TooltipLayer::onEnter() {
    if (mIsPopup)
        enterWithTouches(this, this, cTouchPriority);
    else
        CCLayer::onEnter();
}

void TooltipLayer::onExit() {
    if (mIsPopup)
        exitWithTouches(this, this);
    else
        CCLayer::onExit();
    if (!mOwnReferenceDropped) {
        mOwnReferenceDropped = true;
        release();
    }
}

bool TooltipLayer::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    playSoundEffect("sound/UI_Game_Question_Card_OUT.mp3", nullptr, false);
    close();
    return true;
}

void TooltipLayer::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}
void TooltipLayer::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {}

void TooltipLayer::close() {
    if (mClosing)
        return;
    mClosing = true;
    mBackground->stopAllActions();
    CCFiniteTimeAction* away =
        mIsPopup
            ? static_cast<CCFiniteTimeAction*>(CCSpawn::actionOneTwo(
                  CCScaleTo::actionWithDuration(0.15f, 0.9f), CCFadeOut::actionWithDuration(0.1f)))
            : CCFadeOut::actionWithDuration(0.1f);
    mBackground->runAction(CCSequence::actionOneTwo(
        away, CCCallFunc::actionWithTarget(this, callfunc_selector(TooltipLayer::removeSelf))));
}

void TooltipLayer::removeSelf() {
    removeFromParentAndCleanup(true);
}
