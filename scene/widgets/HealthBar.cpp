#include "scene/widgets/HealthBar.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCMutableArray.h"
#include "platform/engine/CCProgressFromTo.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

HealthBar::~HealthBar() {
    for (CCNode* node : std::initializer_list<CCNode*>{mBar, mEffectBar, mLowWarning, mBackground})
        if (node != nullptr)
            node->release();
}

void HealthBar::fitToBar(CCNode* child) const {
    const CCSize bar = mBar->getContentSize();
    const CCPoint anchor = mBar->getAnchorPoint();
    child->setPosition(CCPoint(anchor.x * bar.width, anchor.y * bar.height));
    child->setAnchorPoint(anchor);
    const CCSize size = child->getContentSize();
    if (size.width > 0 && size.height > 0) {
        child->setScaleX(bar.width / size.width);
        child->setScaleY(bar.height / size.height);
    }
}

bool HealthBar::init(CCTexture2D* texture, const CCPoint& anchor, int type) {
    if (texture == nullptr)
        return false;
    mBar = CCProgressTimer::progressWithTexture(texture);
    if (mBar == nullptr)
        return false;
    addChild(mBar);
    mBar->setType(CCProgressTimerType(type));
    mBar->setAnchorPoint(anchor);
    mBar->retain();

    mEffectBar = CCProgressTimer::progressWithFile("UI/Health-EffectBar.png");
    mBar->addChild(mEffectBar, -1);
    mEffectBar->setType(CCProgressTimerType(type));
    fitToBar(mEffectBar);
    mEffectBar->retain();

    mLowWarning = CCSprite::spriteWithFile("UI/Health-LowWarning.png");
    mBar->addChild(mLowWarning, -2);
    mLowWarning->setOpacity(0);
    fitToBar(mLowWarning);
    mLowWarning->retain();

    mBackground = CCSprite::spriteWithFile("UI/Health-Background.png");
    mBar->addChild(mBackground, -3);
    fitToBar(mBackground);
    mBackground->retain();
    return true;
}

void HealthBar::setPercentage(float percent, bool animate, float delay) {
    if (mBar == nullptr)
        return;
    setLowHealthWarning(mShowAlways && percent < cLowHealthPercent, delay);
    stopAllActions();
    mBar->stopAllActions();
    mEffectBar->stopAllActions();
    if (!animate) {
        mBar->setPercentage(percent);
        mEffectBar->setPercentage(percent);
        return;
    }
    const float old = mBar->getPercentage();
    CCFiniteTimeAction* ending =
        mShowAlways ? static_cast<CCFiniteTimeAction*>(CCShow::action())
                    : CCSequence::actions(CCFadeTo::actionWithDuration(0.1f, 0), CCHide::action());
    runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delay), CCShow::action(),
                                  CCFadeTo::actionWithDuration(0.1f, 255),
                                  CCDelayTime::actionWithDuration(1.0f), ending));
    mBar->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delay),
                                        CCProgressFromTo::actionWithDuration(0.01f, old, percent)));
    mEffectBar->runAction(
        CCSequence::actions(CCDelayTime::actionWithDuration(delay + 0.4f),
                            CCEaseOut::actionWithAction(
                                CCProgressFromTo::actionWithDuration(0.2f, old, percent), 2.0f)));
}

void HealthBar::setLowHealthWarning(bool on, float delay) {
    if (mLowWarning == nullptr)
        return;
    if (on) {
        // A running pulse is left alone.
        if (mLowWarning->numberOfRunningActions() > 0)
            return;
        CCFiniteTimeAction* pulse = CCSequence::actions(
            CCEaseSineInOut::actionWithAction(CCFadeTo::actionWithDuration(0.75f, 178)),
            CCEaseSineInOut::actionWithAction(CCFadeTo::actionWithDuration(0.95f, 0)));
        mLowWarning->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(delay),
                                                   CCShow::action(),
                                                   CCRepeat::actionWithAction(pulse, 1000000)));
        return;
    }
    mLowWarning->stopAllActions();
    mLowWarning->setOpacity(0);
    mLowWarning->runAction(
        CCSequence::actions(CCDelayTime::actionWithDuration(delay), CCHide::action()));
}

void HealthBar::setOpacity(uint8_t opacity) {
    CCMutableArray<CCNode*>* children = getChildren();
    for (size_t i = 0; i < children->count(); ++i)
        if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(children->getObjectAtIndex(i)))
            rgba->setOpacity(opacity);
    mOpacity = opacity;
}
