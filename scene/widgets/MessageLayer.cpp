#include "scene/widgets/MessageLayer.h"

#include "content/BConfig.h"
#include "content/FontNames.h"
#include "content/RegisteredOptions.h"
#include "scene/widgets/HeaderTextStyle.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

CCNode* makeText(const char* message) {
    if (BConfig::instance().isSetById(cOptOnlyUseTTF)) {
        const DropShadowInfo shadow = headerTextShadow();
        const OutlineFillInfo outline(ccColor4B{0, 150, 150, 255}, 0.5f,
                                      ccColor4B{0, 240, 240, 255});
        return CCLabelTTF::labelWithString(message, CCSize(480, 200), CCTextAlignmentCenter,
                                           getHeaderFontName(), 32.0f, 16.0f, &shadow, &outline);
    }
    CCLabelBMFont* label = CCLabelBMFont::labelWithString(message, "BigNotify.fnt");
    if (label != nullptr) {
        label->setColor(ccc3(0, 255, 255));
        label->setString(message);
    }
    return label;
}

} // namespace

MessageLayer::MessageLayer(const char* message) {
    initWithColor(ccColor4B{255, 255, 255, 255});
    setBlendFunc(ccBlendFunc{kCCBlendZero, kCCBlendOne});
    const CCSize size = getContentSize();
    const float w = size.width;
    const float h = size.height;

    CCSprite* background = CCSprite::spriteWithFile("UI/BackSplash-hd.png");
    background->setPosition(CCPoint(w / 2, h / 2));
    if (background->getContentSize().width > 0)
        background->setScale(w / background->getContentSize().width);
    addChild(background);

    if (message != nullptr)
        mText = makeText(message);
    if (mText != nullptr) {
        mText->setPosition(CCPoint(w / 2, h / 2));
        addChild(mText);
    }
    runAction(CCFadeIn::actionWithDuration(0.1f));
}

void MessageLayer::onEnter() {
    enterWithTouches(this, this, 0);
}

void MessageLayer::onExit() {
    exitModal(this, this, mReleased);
}

bool MessageLayer::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    return true;
}

void MessageLayer::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}

void MessageLayer::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {
    dismiss();
}

void MessageLayer::dismiss() {
    if (mDismissing)
        return;
    mDismissing = true;
    runAction(CCSequence::actionOneTwo(
        CCFadeOut::actionWithDuration(0.1f),
        CCCallFunc::actionWithTarget(this, callfunc_selector(MessageLayer::removeSelf))));
}

void MessageLayer::removeSelf() {
    removeFromParentAndCleanup(true);
}
