#include "platform/engine/CCSpriteFrame.h"

namespace cocos2d {

CCSpriteFrame::~CCSpriteFrame() {
    ccSafeRelease(mTexture);
}

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

void CCSpriteFrame::setTextureObject(CCObject* texture) {
    if (texture)
        texture->retain();
    ccSafeRelease(mTexture);
    mTexture = texture;
}

} // namespace cocos2d
