#include "platform/engine/CCTouchDelegate.h"

namespace cocos2d {

bool CCTouchDelegate::ccTouchBegan(CCTouch*, CCEvent*) {
    return false;
}

void CCTouchDelegate::ccTouchMoved(CCTouch*, CCEvent*) {}

void CCTouchDelegate::ccTouchEnded(CCTouch*, CCEvent*) {}

void CCTouchDelegate::ccTouchCancelled(CCTouch*, CCEvent*) {}

void CCTouchDelegate::ccTouchesBegan(CCSet*, CCEvent*) {}

void CCTouchDelegate::ccTouchesMoved(CCSet*, CCEvent*) {}

void CCTouchDelegate::ccTouchesEnded(CCSet*, CCEvent*) {}

void CCTouchDelegate::ccTouchesCancelled(CCSet*, CCEvent*) {}

bool CCTouchDelegate::wantAllTouches() {
    return false;
}

void CCTouchDelegate::ccRawMove(float, float, bool) {}

void CCKeypadDelegate::keyBackClicked() {}

void CCKeypadDelegate::keyMenuClicked() {}

void CCAccelerometerDelegate::didAccelerate(CCAcceleration*) {}

} // namespace cocos2d
