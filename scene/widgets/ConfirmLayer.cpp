#include "scene/widgets/ConfirmLayer.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "scene/widgets/Button.h"
#include "scene/widgets/HeaderTextStyle.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

// The 0.2 s grow to full size with a fade to the opacity.
CCFiniteTimeAction* growIn(uint8_t opacity) {
    return CCSpawn::actionOneTwo(
        CCEaseOut::actionWithAction(CCScaleTo::actionWithDuration(0.2f, 1.0f), 2.0f),
        CCFadeTo::actionWithDuration(0.2f, opacity));
}

CCLabelTTF* makeMessageLabel(const char* message) {
    const DropShadowInfo shadow = headerTextShadow();
    const OutlineFillInfo outline =
        headerTextOutline(ccColor4B{255, 255, 255, 255}, ccColor4B{211, 211, 211, 255},
                          ccColor4B{181, 181, 181, 255});
    CCLabelTTF* label =
        CCLabelTTF::labelWithString(message, CCSize(320, 42), CCTextAlignmentCenter,
                                    getHeaderFontName(), 36.0f, 16.0f, &shadow, &outline);
    label->setString(message);
    label->setOpacity(255);
    return label;
}

// Takes an owned child off its parent and drops the reference.
template <class T> void dropChild(T*& node) {
    if (node != nullptr) {
        node->removeFromParentAndCleanup(true);
        ccSafeRelease(node);
    }
}

} // namespace

ConfirmLayer::ConfirmLayer(const char* message, SEL_MenuHandler callback, CCObject* target,
                           const char* okLabel, const char* okSound, const char* cancelSound)
    : mCallback(callback), mTarget(target) {
    init();
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    const float w = win.width;
    const float h = win.height;
    setContentSize(win);
    setAnchorPoint(CCPoint(0.5f, 0.5f));

    mOkButton = new Button("UI/Button-290.png", "UI/Button-290.png", "UI/Button-290-Glow.png",
                           CCPoint(w / 2, h / 2 + 40), okLabel, getHeaderFontName(), 32,
                           Button::insets(6, 6, 6, 6));
    addChild(mOkButton);
    mOkButton->mTapTarget = this;
    mOkButton->mTapSelector = callfunc_selector(ConfirmLayer::onOk);
    if (CCLabelTTF* label = mOkButton->getLabel())
        label->setColor(ccc3(250, 250, 250));

    mCancelButton = new Button("UI/Button-186.png", "UI/Button-186.png", "UI/Button-186-Glow.png",
                               CCPoint(w / 2, h / 2 - 40), localizedCString("Cancel"),
                               getHeaderFontName(), 26, Button::insets(6, 6, 8, 6));
    addChild(mCancelButton);
    mCancelButton->mTapTarget = this;
    mCancelButton->mTapSelector = callfunc_selector(ConfirmLayer::onCancel);
    if (CCLabelTTF* label = mCancelButton->getLabel())
        label->setColor(ccc3(250, 250, 250));

    mOkButton->setScale(0.9f);
    mOkButton->setOpacity(0);
    appear(mOkButton, message != nullptr, 255);

    mCancelButton->setScale(0.9f);
    mCancelButton->setOpacity(0);
    mCancelButton->runAction(
        CCSequence::actionOneTwo(CCDelayTime::actionWithDuration(0.1f), growIn(255)));

    if (message != nullptr) {
        mMessageLabel = makeMessageLabel(message);
        mMessageLabel->setPosition(CCPoint(w / 2, h / 2 + 110));
        mMessageLabel->setColor(ccc3(255, 50, 50));
        mMessageLabel->retain();
        mMessageLabel->setScale(10.0f);
        mMessageLabel->setAnchorPoint(CCPoint(0.5f, 0.65f));
        CCFiniteTimeAction* pulse = CCSequence::actionOneTwo(
            CCEaseSineInOut::actionWithAction(CCTintTo::actionWithDuration(1.4f, 255, 0, 0)),
            CCEaseSineInOut::actionWithAction(CCTintTo::actionWithDuration(0.2f, 255, 255, 255)));
        mMessageLabel->runAction(CCSequence::actionOneTwo(
            CCSpawn::actionOneTwo(
                CCEaseIn::actionWithAction(CCScaleTo::actionWithDuration(0.4f, 1.0f), 2.0f),
                CCFadeIn::actionWithDuration(0.4f)),
            CCRepeat::actionWithAction(pulse, 1000000)));
        addChild(mMessageLabel);
    }

    mFade = retainedFullScreenFade();
    mFade->runAction(CCFadeIn::actionWithDuration(0.2f));
    addChild(mFade, -10);

    if (okSound != nullptr)
        mOkButton->mSound = okSound;
    if (cancelSound != nullptr)
        mCancelButton->mSound = cancelSound;
}

ConfirmLayer::~ConfirmLayer() {
    dropChild(mOkButton);
    dropChild(mCancelButton);
    dropChild(mFade);
    dropChild(mMessageLabel);
}

void ConfirmLayer::onEnter() {
    enterWithTouches(this, this, 0);
}

void ConfirmLayer::onExit() {
    exitModal(this, this, mReleased);
}

void ConfirmLayer::appear(CCNode* node, bool delayed, uint8_t opacity) {
    if (node == nullptr)
        return;
    CCFiniteTimeAction* first = nullptr;
    if (delayed && !BConfig::instance().isSetById(cOptSkipUnspentAPConfirmDelay)) {
        node->setIsVisible(false);
        first = CCSequence::actionOneTwo(CCDelayTime::actionWithDuration(2.0f), CCShow::action());
    } else {
        first = CCDelayTime::actionWithDuration(0.1f);
    }
    node->runAction(CCSequence::actionOneTwo(first, growIn(opacity)));
}

void ConfirmLayer::onOk() {
    answer(nullptr);
}

void ConfirmLayer::answer(CCObject* argument) {
    // The callback may take the layer off the scene; it stays alive until
    // this call ends.
    retain();
    if (mTarget != nullptr && mCallback != nullptr)
        (mTarget->*mCallback)(argument);
    if (getIsRunning())
        dismiss();
    release();
}

void ConfirmLayer::onCancel() {
    dismiss();
}

void ConfirmLayer::dismiss() {
    // A subclass may have taken either button away.
    for (Button* button : {mOkButton, mCancelButton})
        if (button != nullptr)
            button->setEnabled(false);
    for (CCNode* node :
         {static_cast<CCNode*>(mFade), static_cast<CCNode*>(mOkButton),
          static_cast<CCNode*>(mCancelButton), static_cast<CCNode*>(mMessageLabel)}) {
        if (node != nullptr)
            node->runAction(CCFadeTo::actionWithDuration(0.15f, 0));
    }
    runAction(CCSequence::actionOneTwo(
        CCDelayTime::actionWithDuration(0.2f),
        CCCallFunc::actionWithTarget(this, callfunc_selector(ConfirmLayer::removeSelf))));
}

void ConfirmLayer::removeSelf() {
    removeFromParentAndCleanup(true);
}

bool ConfirmLayer::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    return true;
}

void ConfirmLayer::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}
void ConfirmLayer::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {}
