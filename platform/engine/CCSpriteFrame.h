#pragma once

// One frame of a sprite sheet: the rectangle of the image it shows, in
// points, with its trim offset and untrimmed size. The image itself is
// attached by the renderer's texture layer.

#include "platform/engine/CCGeometry.h"
#include "platform/engine/CCObject.h"

namespace cocos2d {

class CCSpriteFrame : public CCObject {
public:
    // An autoreleased frame of that rectangle, untrimmed.
    static CCSpriteFrame* frameWithRect(const CCRect& rect);
    bool initWithRect(const CCRect& rect);

    const CCRect& getRect() const { return mRect; }
    void setRect(const CCRect& rect) { mRect = rect; }
    const CCPoint& getOffset() const { return mOffset; }
    void setOffset(const CCPoint& offset) { mOffset = offset; }
    const CCSize& getOriginalSize() const { return mOriginalSize; }
    void setOriginalSize(const CCSize& size) { mOriginalSize = size; }
    bool isRotated() const { return mRotated; }
    void setRotated(bool rotated) { mRotated = rotated; }

private:
    CCRect mRect;
    CCPoint mOffset;
    CCSize mOriginalSize;
    bool mRotated = false;
};

} // namespace cocos2d
