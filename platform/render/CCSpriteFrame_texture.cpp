// CCSpriteFrame: the operations that name the texture type, which lives in
// this library.

#include "platform/engine/CCSpriteFrame.h"
#include "platform/render/CCTexture2D.h"

namespace cocos2d {

CCSpriteFrame* CCSpriteFrame::frameWithTexture(CCTexture2D* texture, const CCRect& rect) {
    auto* frame = new CCSpriteFrame();
    frame->initWithTexture(texture, rect);
    frame->autorelease();
    return frame;
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    initWithRect(rect);
    setTexture(texture);
    return true;
}

CCTexture2D* CCSpriteFrame::getTexture() const {
    return static_cast<CCTexture2D*>(getTextureObject());
}

void CCSpriteFrame::setTexture(CCTexture2D* texture) {
    setTextureObject(texture);
}

} // namespace cocos2d
