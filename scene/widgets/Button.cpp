#include "scene/widgets/Button.h"

#include "content/settings/PlayerColor.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/views/ImagePaths.h"
#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

constexpr float cPressScale = 1.5f;
constexpr float cPressTime = 0.01f;
// Tags the press and release scale actions so that a release can replace
// an unfinished press.
constexpr int cScaleActionTag = 0x5CA1E;

} // namespace

Button::Button(const char* normalImage, const char* disabledImage, const char* pressedImage,
               const CCPoint& position, const char* label, const char* fontName, int fontSize,
               const CCRect& insets) {
    mScaleOnPress = false;
    init(normalImage, disabledImage, pressedImage, position, label, fontName, fontSize, insets);
}

Button::Button(const CCPoint& position) {
    initActionPoints(position);
}

void Button::initActionPoints(const CCPoint& position) {
    init("ActionPoints_MetalBG.png", "ActionPoints_MetalBG.png", "ActionPoints_MetalBG.png",
         position, "", "ArialRoundedMTBold", 14, defaultInsets());
    mScaleOnPress = true;
}

void Button::init(const char* normalImage, const char* disabledImage, const char* pressedImage,
                  const CCPoint& position, const char* label, const char* fontName, int fontSize,
                  const CCRect& insets) {
    mHitScale = 1.0f;
    mColorSource = nullptr;
    mInsets = insets;
    setPosition(position);
    mNormalImage = normalImage != nullptr ? normalImage : "";
    mDisabledImage = disabledImage != nullptr ? disabledImage : "";
    mPressedImage = pressedImage != nullptr ? pressedImage : "";
    mSprite = CCSprite::spriteWithFile(mNormalImage);
    addChild(mSprite, 0);
    mLabel = nullptr;
    if (label != nullptr && label[0] != '\0') {
        const float top = insets.origin.x;
        const float left = insets.origin.y;
        const float bottom = insets.size.width;
        const float right = insets.size.height;
        const CCRect hit = getHitRect();
        mLabel = CCLabelTTF::labelWithString(
            label, CCSize(hit.size.width - left - right, hit.size.height - top - bottom),
            CCTextAlignmentCenter, fontName != nullptr ? fontName : "", float(fontSize), 8.0f);
        mLabel->setPosition(CCPoint((left - right) / 2, (bottom - top) / 2));
        mLabel->setColor(ccc3(0, 0, 0));
        addChild(mLabel, 10);
    }
    mTapSelector = nullptr;
    mTapTarget = nullptr;
    mHoldSelector = nullptr;
    mHoldTarget = nullptr;
    mTracking = false;
    mHoldFired = false;
    mPressedLook = false;
    mDisabled = false;
}

void Button::onEnter() {
    enterWithTouches(this, this, cTouchPriority);
}

void Button::onExit() {
    exitWithTouches(this, this);
}

void Button::setImage(const std::string& file) {
    if (mSprite != nullptr)
        removeChild(mSprite, true);
    mSprite = CCSprite::spriteWithFile(file);
    mSprite->setOpacity(mOpacity);
    addChild(mSprite, 0);
    if (mColorSource != nullptr)
        applyColorOverlay(mColorSource);
}

void Button::applyColorOverlay(const PlayerColor* color) {
    if (mSprite == nullptr || color == nullptr)
        return;
    std::string colorPath;
    if (!findColorImagePath(mNormalImage, colorPath))
        return;
    CCSprite* layer = CCSprite::spriteWithFile(colorPath);
    const CCSize size = mSprite->getContentSize();
    layer->setPosition(CCPoint(size.width / 2, size.height / 2));
    layer->setColor(ccc3(color->mRed, color->mGreen, color->mBlue));
    layer->setFlipX(mSprite->isFlipX());
    mSprite->addChild(layer);
    mColorSource = color;
}

void Button::showPressed() {
    if (mScaleOnPress) {
        stopActionByTag(cScaleActionTag);
        runAction(CCScaleTo::actionWithDuration(cPressTime, cPressScale))->setTag(cScaleActionTag);
    } else {
        setImage(mPressedImage);
    }
    mPressedLook = true;
}

void Button::showReleased() {
    if (mScaleOnPress) {
        stopActionByTag(cScaleActionTag);
        runAction(CCScaleTo::actionWithDuration(cPressTime, 1.0f))->setTag(cScaleActionTag);
    } else {
        setImage(mDisabled ? mDisabledImage : mNormalImage);
    }
    mPressedLook = false;
    // A disabled button holds no touch, so its hold check goes too.
    if (mDisabled)
        cancelHold();
}

void Button::setEnabled(bool enabled) {
    if (enabled == !mDisabled)
        return;
    mDisabled = !enabled;
    if (mDisabled)
        mTracking = false;
    showReleased();
}

CCRect Button::getHitRect() const {
    const CCSize size = mSprite != nullptr ? mSprite->getContentSize() : CCSize(0, 0);
    const float w = size.width * mHitScale;
    const float h = size.height * mHitScale;
    return CCRect(-w / 2, -h / 2, w, h);
}

bool Button::hitTest(CCTouch* touch) const {
    return mSprite != nullptr &&
           CCRectContainsPoint(getHitRect(), mSprite->convertTouchToNodeSpaceAR(touch));
}

bool Button::ccTouchBegan(CCTouch* touch, CCEvent* /*event*/) {
    if (mDisabled || !getIsVisible() || !hitTest(touch))
        return false;
    mTracking = true;
    showPressed();
    if (mHoldSelector != nullptr && mHoldTarget != nullptr) {
        // Afresh on every press: scheduling a selector already scheduled
        // would keep the earlier press's elapsed time.
        cancelHold();
        CCDirector::sharedDirector()->getScheduler()->scheduleSelector(
            schedule_selector(Button::onHoldTimer), this, cHoldTime, false);
        mHoldFired = false;
    }
    return true;
}

void Button::onHoldTimer(ccTime /*dt*/) {
    cancelHold();
    if (mTracking && mHoldSelector != nullptr && mHoldTarget != nullptr) {
        mHoldFired = true;
        (mHoldTarget->*mHoldSelector)();
    }
}

void Button::cancelHold() {
    CCDirector::sharedDirector()->getScheduler()->unscheduleSelector(
        schedule_selector(Button::onHoldTimer), this);
}

void Button::ccTouchMoved(CCTouch* touch, CCEvent* /*event*/) {
    const bool inside = hitTest(touch);
    if (inside && !mPressedLook)
        showPressed();
    else if (!inside && mPressedLook)
        showReleased();
}

void Button::ccTouchCancelled(CCTouch* /*touch*/, CCEvent* /*event*/) {
    mTracking = false;
    cancelHold();
    showReleased();
}

void Button::ccTouchEnded(CCTouch* touch, CCEvent* /*event*/) {
    mTracking = false;
    mPressedLook = false;
    cancelHold();
    if (!hitTest(touch)) {
        showReleased();
        return;
    }
    if (mScaleOnPress && getScaleX() < cPressScale) {
        // The press had not finished: pop to full size, then back.
        stopActionByTag(cScaleActionTag);
        runAction(
            CCSequence::actionOneTwo(CCScaleTo::actionWithDuration(
                                         (cPressScale - getScaleX()) * 2 * cPressTime, cPressScale),
                                     CCScaleTo::actionWithDuration(cPressTime, 1.0f)))
            ->setTag(cScaleActionTag);
    } else {
        showReleased();
    }
    if (!mSound.empty())
        playSoundEffect(mSound, nullptr, false);
    if (!mHoldFired && mTapSelector != nullptr && mTapTarget != nullptr)
        (mTapTarget->*mTapSelector)();
}

void Button::setColor(const ccColor3B& /*color*/) {}

ccColor3B Button::getColor() {
    return ccWHITE;
}

uint8_t Button::getOpacity() {
    return mOpacity;
}

void Button::setOpacity(uint8_t opacity) {
    CCMutableArray<CCNode*>* children = getChildren();
    for (size_t i = 0; i < children->count(); ++i) {
        if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(children->getObjectAtIndex(i)))
            rgba->setOpacity(opacity);
    }
    mOpacity = opacity;
    if (mSprite != nullptr)
        mSprite->setOpacity(opacity);
}

void Button::setIsOpacityModifyRGB(bool /*value*/) {}

bool Button::getIsOpacityModifyRGB() {
    return true;
}
