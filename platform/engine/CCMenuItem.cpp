#include "platform/engine/CCMenuItem.h"

namespace cocos2d {

CCMenuItem* CCMenuItem::itemWithTarget(CCObject* target, SEL_MenuHandler selector) {
    auto* item = new CCMenuItem();
    item->initWithTarget(target, selector);
    item->autorelease();
    return item;
}

bool CCMenuItem::initWithTarget(CCObject* target, SEL_MenuHandler selector) {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setTarget(target, selector);
    mIsEnabled = true;
    mIsSelected = false;
    return true;
}

void CCMenuItem::setTarget(CCObject* target, SEL_MenuHandler selector) {
    mListener = target;
    mSelector = selector;
}

void CCMenuItem::activate() {
    if (mIsEnabled && mListener && mSelector)
        (mListener->*mSelector)(this);
}

void CCMenuItem::selected() {
    mIsSelected = true;
}

void CCMenuItem::unselected() {
    mIsSelected = false;
}

void CCMenuItem::setIsEnabled(bool enabled) {
    mIsEnabled = enabled;
}

bool CCMenuItem::containsWorldPoint(const CCPoint& worldPoint) const {
    const CCSize size = getContentSize();
    return CCRectContainsPoint(CCRect(0, 0, size.width, size.height),
                               convertToNodeSpace(worldPoint));
}

CCMenuItemSprite* CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected) {
    return itemFromNormalSprite(normal, selected, nullptr, nullptr, nullptr);
}

CCMenuItemSprite* CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                         CCObject* target,
                                                         SEL_MenuHandler selector) {
    return itemFromNormalSprite(normal, selected, nullptr, target, selector);
}

CCMenuItemSprite* CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                         CCNode* disabled, CCObject* target,
                                                         SEL_MenuHandler selector) {
    auto* item = new CCMenuItemSprite();
    item->initFromNormalSprite(normal, selected, disabled, target, selector);
    item->autorelease();
    return item;
}

bool CCMenuItemSprite::initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled,
                                            CCObject* target, SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    setImage(mNormalImage, normal);
    setImage(mSelectedImage, selected);
    setImage(mDisabledImage, disabled);
    if (mNormalImage)
        setContentSize(mNormalImage->getContentSize());
    showImages();
    return true;
}

void CCMenuItemSprite::setImage(CCNode*& slot, CCNode* image) {
    if (slot)
        removeChild(slot, true);
    slot = image;
    if (image) {
        addChild(image);
        image->setAnchorPoint(CCPointZero);
        image->setPosition(CCPointZero);
    }
}

void CCMenuItemSprite::showImages() {
    CCNode* shown = mNormalImage;
    if (!getIsEnabled() && mDisabledImage)
        shown = mDisabledImage;
    else if (getIsEnabled() && getIsSelected() && mSelectedImage)
        shown = mSelectedImage;
    for (CCNode* image : {mNormalImage, mSelectedImage, mDisabledImage}) {
        if (image)
            image->setIsVisible(image == shown);
    }
}

void CCMenuItemSprite::selected() {
    CCMenuItem::selected();
    showImages();
}

void CCMenuItemSprite::unselected() {
    CCMenuItem::unselected();
    showImages();
}

void CCMenuItemSprite::setIsEnabled(bool enabled) {
    CCMenuItem::setIsEnabled(enabled);
    showImages();
}

} // namespace cocos2d
