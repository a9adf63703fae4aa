#include "platform/engine/CCSpriteFrame.h"

namespace cocos2d {

CCSpriteFrame* CCSpriteFrame::frameWithRect(const CCRect& rect) {
    auto* frame = new CCSpriteFrame();
    frame->initWithRect(rect);
    frame->autorelease();
    return frame;
}

bool CCSpriteFrame::initWithRect(const CCRect& rect) {
    mRect = rect;
    mOffset = CCPointZero;
    mOriginalSize = rect.size;
    mRotated = false;
    return true;
}

} // namespace cocos2d
