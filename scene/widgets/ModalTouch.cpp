#include "scene/widgets/ModalTouch.h"

#include "platform/engine/CCTouchDispatcher.h"

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
