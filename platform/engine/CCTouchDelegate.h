#pragma once

// The receivers of touches. A targeted delegate is asked about each touch
// alone (ccTouchBegan claims it by answering true, and then gets that
// touch's moves and end); a standard delegate gets sets of touches. Every
// operation has an empty default.

#include "platform/engine/CCObject.h"

namespace cocos2d {

class CCEvent;
class CCSet;
class CCTouch;

class CCTouchDelegate {
public:
    virtual ~CCTouchDelegate() = default;

    virtual bool ccTouchBegan(CCTouch* touch, CCEvent* event);
    virtual void ccTouchMoved(CCTouch* touch, CCEvent* event);
    virtual void ccTouchEnded(CCTouch* touch, CCEvent* event);
    virtual void ccTouchCancelled(CCTouch* touch, CCEvent* event);

    virtual void ccTouchesBegan(CCSet* touches, CCEvent* event);
    virtual void ccTouchesMoved(CCSet* touches, CCEvent* event);
    virtual void ccTouchesEnded(CCSet* touches, CCEvent* event);
    virtual void ccTouchesCancelled(CCSet* touches, CCEvent* event);

    // A standard delegate that answers true also receives the touches that
    // targeted delegates swallowed.
    virtual bool wantAllTouches();
    // A pointer move in view coordinates, with or without a button down.
    virtual void ccRawMove(float x, float y, bool buttonDown);
};

class CCTargetedTouchDelegate : public CCTouchDelegate {};

class CCStandardTouchDelegate : public CCTouchDelegate {};

// The keypad's back and menu keys.
class CCKeypadDelegate {
public:
    virtual ~CCKeypadDelegate() = default;
    virtual void keyBackClicked();
    virtual void keyMenuClicked();
};

struct CCAcceleration {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double timestamp = 0.0;
};

// Tilt input; nothing on this platform sends it.
class CCAccelerometerDelegate {
public:
    virtual ~CCAccelerometerDelegate() = default;
    virtual void didAccelerate(CCAcceleration* acceleration);
};

} // namespace cocos2d
