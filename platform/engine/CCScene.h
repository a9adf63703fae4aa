#pragma once

// The root of a tree the director runs. A new scene covers the window: its
// content size is the window's, its anchor the centre, not relative (the
// scene's corner sits at its position).

#include "platform/engine/CCNode.h"

namespace cocos2d {

class CCScene : public CCNode {
public:
    // An autoreleased scene.
    static CCScene* node();
    virtual bool init();
};

} // namespace cocos2d
