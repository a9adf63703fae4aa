#pragma once

// One finger (or the mouse) on the view: its location and previous location
// in view coordinates (points, origin top-left, y downwards) and its id. The
// same object is handed on for every phase of one gesture. Id 0 is the
// primary touch.

#include "platform/engine/CCGeometry.h"
#include "platform/engine/CCObject.h"

namespace cocos2d {

class CCTouch : public CCObject {
public:
    CCTouch() = default;
    CCTouch(int id, float x, float y) : mId(id), mPoint(x, y), mPrevPoint(x, y) {}

    // Moves the touch: the current location becomes the previous one.
    void setTouchInfo(int id, float x, float y) {
        mId = id;
        mPrevPoint = mPoint;
        mPoint = CCPoint(x, y);
    }

    CCPoint locationInView() const { return mPoint; }
    CCPoint previousLocationInView() const { return mPrevPoint; }
    int getId() const { return mId; }

private:
    int mId = 0;
    CCPoint mPoint;
    CCPoint mPrevPoint;
};

// The platform event a touch came with; nothing the engine reads.
class CCEvent : public CCObject {};

} // namespace cocos2d
