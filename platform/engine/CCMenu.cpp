#include "platform/engine/CCMenu.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"

namespace cocos2d {

namespace {

constexpr float kDefaultPadding = 5.0f;

} // namespace

CCMenu* CCMenu::node() {
    return menuWithItemArray(nullptr);
}

CCMenu* CCMenu::menuWithItemArray(CCMutableArray<CCMenuItem*>* items) {
    auto* menu = new CCMenu();
    std::vector<CCMenuItem*> list;
    if (items)
        list.assign(items->begin(), items->end());
    menu->initWithItems(list);
    menu->autorelease();
    return menu;
}

CCMenu::~CCMenu() {
    ccSafeRelease(mSelectedItem);
    ccSafeRelease(mTrackedTouch);
}

bool CCMenu::init() {
    return initWithItems({});
}

bool CCMenu::initWithItems(const std::vector<CCMenuItem*>& items) {
    CCLayer::init();
    setIsTouchEnabled(true);
    const CCSize size = CCDirector::sharedDirector()->getWinSize();
    setPosition(CCPoint(size.width / 2.0f, size.height / 2.0f));
    for (CCMenuItem* item : items) {
        if (item)
            addChild(item);
    }
    return true;
}

void CCMenu::registerWithTouchDispatcher() {
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, kCCMenuTouchPriority, true);
}

void CCMenu::onExit() {
    if (mTrackedTouch) {
        select(nullptr);
        ccSafeRelease(mTrackedTouch);
    }
    CCLayer::onExit();
}

std::vector<CCMenuItem*> CCMenu::items() {
    std::vector<CCMenuItem*> result;
    for (CCNode* child : *getChildren()) {
        if (auto* item = dynamic_cast<CCMenuItem*>(child))
            result.push_back(item);
    }
    return result;
}

bool CCMenu::isShown() const {
    for (const CCNode* node = this; node; node = node->getParent()) {
        if (!node->getIsVisible())
            return false;
    }
    return true;
}

CCMenuItem* CCMenu::itemForTouch(CCTouch* touch) {
    const CCPoint point = CCDirector::sharedDirector()->convertToGL(touch->locationInView());
    for (CCMenuItem* item : items()) {
        if (item->getIsVisible() && item->getIsEnabled() && item->containsWorldPoint(point))
            return item;
    }
    return nullptr;
}

void CCMenu::select(CCMenuItem* item) {
    if (item == mSelectedItem)
        return;
    if (mSelectedItem) {
        mSelectedItem->unselected();
        ccSafeRelease(mSelectedItem);
    }
    if (item) {
        item->retain();
        mSelectedItem = item;
        item->selected();
    }
}

bool CCMenu::ccTouchBegan(CCTouch* touch, CCEvent*) {
    if (mTrackedTouch || !isShown())
        return false;
    CCMenuItem* item = itemForTouch(touch);
    if (!item)
        return false;
    touch->retain();
    mTrackedTouch = touch;
    select(item);
    return true;
}

void CCMenu::ccTouchMoved(CCTouch* touch, CCEvent*) {
    if (touch == mTrackedTouch)
        select(itemForTouch(touch));
}

void CCMenu::ccTouchEnded(CCTouch* touch, CCEvent*) {
    if (touch != mTrackedTouch)
        return;
    ccSafeRelease(mTrackedTouch);
    CCMenuItem* item = mSelectedItem;
    if (!item)
        return;
    // The callback may remove the menu or the item: both live until we return.
    retain();
    item->retain();
    select(nullptr);
    item->activate();
    item->release();
    release();
}

void CCMenu::ccTouchCancelled(CCTouch* touch, CCEvent*) {
    if (touch != mTrackedTouch)
        return;
    ccSafeRelease(mTrackedTouch);
    select(nullptr);
}

void CCMenu::alignItemsVerticallyWithPadding(float padding) {
    const std::vector<CCMenuItem*> list = items();
    float height = -padding;
    for (CCMenuItem* item : list)
        height += item->getContentSize().height * item->getScaleY() + padding;
    float y = height / 2.0f;
    for (CCMenuItem* item : list) {
        const float itemHeight = item->getContentSize().height * item->getScaleY();
        item->setPosition(CCPoint(0.0f, y - itemHeight / 2.0f));
        y -= itemHeight + padding;
    }
}

void CCMenu::alignItemsVertically() {
    alignItemsVerticallyWithPadding(kDefaultPadding);
}

} // namespace cocos2d
