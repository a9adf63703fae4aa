#pragma once

// A node that takes input. With touch enabled, a running layer is registered
// with the touch dispatcher (registerWithTouchDispatcher: a standard
// delegate of priority 0 unless overridden): onEnter registers it, onExit
// removes it, and setIsTouchEnabled registers or removes it only while the
// layer runs. The keypad works the same way. A new layer covers the window
// like a scene.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCTouchDelegate.h"

namespace cocos2d {

class CCLayer : public CCNode,
                public CCTouchDelegate,
                public CCAccelerometerDelegate,
                public CCKeypadDelegate {
public:
    // An autoreleased layer.
    static CCLayer* node();
    virtual bool init();

    void onEnter() override;
    void onExit() override;

    virtual void registerWithTouchDispatcher();
    virtual void setIsTouchEnabled(bool enabled);
    bool getIsTouchEnabled() const { return mIsTouchEnabled; }
    virtual void setIsKeypadEnabled(bool enabled);
    bool getIsKeypadEnabled() const { return mIsKeypadEnabled; }

private:
    bool mIsTouchEnabled = false;
    bool mIsKeypadEnabled = false;
};

} // namespace cocos2d
