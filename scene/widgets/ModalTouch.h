#pragma once

// The entering and leaving shared by the buttons, the modal layers and the
// pop-up tooltip: the touch part is registered as a targeted, swallowing
// delegate before the node's children enter (so a layer's own buttons,
// registered after it at the same priority, are asked first), and removed
// on leaving. A modal layer is created with new and never released by its
// creator: it drops that reference itself the first time it leaves the
// scene, so its removal frees it.

#include "platform/engine/CCNode.h"

namespace cocos2d {
class CCSprite;
}
#include "platform/engine/CCTouchDelegate.h"

// Registers the delegate, then runs the engine's CCNode::onEnter on the node.
void enterWithTouches(cocos2d::CCNode* node, cocos2d::CCTouchDelegate* delegate, int priority);
// Removes the delegate, then runs the engine's CCNode::onExit on the node.
void exitWithTouches(cocos2d::CCNode* node, cocos2d::CCTouchDelegate* delegate);
// exitWithTouches, then releases the node once in its life (the flag
// remembers it).
void exitModal(cocos2d::CCNode* node, cocos2d::CCTouchDelegate* delegate, bool& released);

// The modal layers' fade: "UI/FullScreenFade.png" centred on the window and
// stretched to 1.05 times its size; retained once for the caller.
cocos2d::CCSprite* retainedFullScreenFade();
