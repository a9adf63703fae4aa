#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

void enterWithTouches(CCNode* node, CCTouchDelegate* delegate, int priority) {
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(delegate, priority, true);
    node->CCNode::onEnter();
}

void exitWithTouches(CCNode* node, CCTouchDelegate* delegate) {
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(delegate);
    node->CCNode::onExit();
}

void exitModal(CCNode* node, CCTouchDelegate* delegate, bool& released) {
    exitWithTouches(node, delegate);
    if (!released) {
        released = true;
        node->release();
    }
}

CCSprite* retainedFullScreenFade() {
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    CCSprite* fade = CCSprite::spriteWithFile("UI/FullScreenFade.png");
    fade->setPosition(CCPoint(win.width / 2, win.height / 2));
    const CCSize size = fade->getContentSize();
    if (size.width > 0 && size.height > 0) {
        fade->setScaleX(1.05f * win.width / size.width);
        fade->setScaleY(1.05f * win.height / size.height);
    }
    fade->retain();
    return fade;
}
