#include "platform/engine/CCLayer.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCKeypadDispatcher.h"
#include "platform/engine/CCTouchDispatcher.h"

namespace cocos2d {

CCLayer* CCLayer::node() {
    auto* layer = new CCLayer();
    layer->init();
    layer->autorelease();
    return layer;
}

bool CCLayer::init() {
    setIsRelativeAnchorPoint(false);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

void CCLayer::onEnter() {
    if (mIsTouchEnabled)
        registerWithTouchDispatcher();
    if (mIsKeypadEnabled)
        CCKeypadDispatcher::sharedDispatcher()->addDelegate(this);
    CCNode::onEnter();
}

void CCLayer::onExit() {
    if (mIsTouchEnabled)
        CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    if (mIsKeypadEnabled)
        CCKeypadDispatcher::sharedDispatcher()->removeDelegate(this);
    CCNode::onExit();
}

void CCLayer::registerWithTouchDispatcher() {
    CCTouchDispatcher::sharedDispatcher()->addStandardDelegate(this, 0);
}

void CCLayer::setIsTouchEnabled(bool enabled) {
    if (mIsTouchEnabled == enabled)
        return;
    mIsTouchEnabled = enabled;
    if (!getIsRunning())
        return;
    if (enabled)
        registerWithTouchDispatcher();
    else
        CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
}

void CCLayer::setIsKeypadEnabled(bool enabled) {
    if (mIsKeypadEnabled == enabled)
        return;
    mIsKeypadEnabled = enabled;
    if (!getIsRunning())
        return;
    if (enabled)
        CCKeypadDispatcher::sharedDispatcher()->addDelegate(this);
    else
        CCKeypadDispatcher::sharedDispatcher()->removeDelegate(this);
}

} // namespace cocos2d
