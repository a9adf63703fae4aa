#include "platform/render/CCProgressTimer.h"

#include "platform/render/CCDrawing.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include <algorithm>

namespace cocos2d {

namespace {

ccV3F_C4B_T2F lerp(const ccV3F_C4B_T2F& a, const ccV3F_C4B_T2F& b, float t) {
    ccV3F_C4B_T2F v = a;
    v.vertices.x = a.vertices.x + (b.vertices.x - a.vertices.x) * t;
    v.vertices.y = a.vertices.y + (b.vertices.y - a.vertices.y) * t;
    v.texCoords.u = a.texCoords.u + (b.texCoords.u - a.texCoords.u) * t;
    v.texCoords.v = a.texCoords.v + (b.texCoords.v - a.texCoords.v) * t;
    return v;
}

} // namespace

CCProgressTimer* CCProgressTimer::progressWithFile(const std::string& file) {
    auto* timer = new CCProgressTimer();
    timer->initWithTexture(CCTextureCache::sharedTextureCache()->addImage(file));
    timer->autorelease();
    return timer;
}

CCProgressTimer* CCProgressTimer::progressWithTexture(CCTexture2D* texture) {
    if (!texture)
        return nullptr;
    auto* timer = new CCProgressTimer();
    timer->initWithTexture(texture);
    timer->autorelease();
    return timer;
}

CCProgressTimer::~CCProgressTimer() {
    ccSafeRelease(mSprite);
}

bool CCProgressTimer::initWithTexture(CCTexture2D* texture) {
    ccSafeRelease(mSprite);
    mSprite = texture ? CCSprite::spriteWithTexture(texture) : CCSprite::spriteWithTexture(nullptr);
    mSprite->retain();
    mPercentage = 0.0f;
    mType = kCCProgressTimerTypeRadialCCW;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setContentSize(mSprite->getContentSize());
    return texture != nullptr;
}

void CCProgressTimer::setPercentage(float percentage) {
    mPercentage = std::clamp(percentage, 0.0f, 100.0f);
}

void CCProgressTimer::setColor(const ccColor3B& color) {
    mSprite->setColor(color);
}

ccColor3B CCProgressTimer::getColor() {
    return mSprite->getColor();
}

uint8_t CCProgressTimer::getOpacity() {
    return mSprite->getOpacity();
}

void CCProgressTimer::setOpacity(uint8_t opacity) {
    mSprite->setOpacity(opacity);
}

void CCProgressTimer::setIsOpacityModifyRGB(bool value) {
    mSprite->setIsOpacityModifyRGB(value);
}

bool CCProgressTimer::getIsOpacityModifyRGB() {
    return mSprite->getIsOpacityModifyRGB();
}

ccV3F_C4B_T2F_Quad CCProgressTimer::visibleQuad() {
    ccV3F_C4B_T2F_Quad q = mSprite->getQuad();
    const float t = mPercentage / 100.0f;
    switch (mType) {
    case kCCProgressTimerTypeHorizontalBarLR:
        q.tr = lerp(q.tl, q.tr, t);
        q.br = lerp(q.bl, q.br, t);
        break;
    case kCCProgressTimerTypeHorizontalBarRL:
        q.tl = lerp(q.tr, q.tl, t);
        q.bl = lerp(q.br, q.bl, t);
        break;
    case kCCProgressTimerTypeVerticalBarBT:
        q.tl = lerp(q.bl, q.tl, t);
        q.tr = lerp(q.br, q.tr, t);
        break;
    case kCCProgressTimerTypeVerticalBarTB:
        q.bl = lerp(q.tl, q.bl, t);
        q.br = lerp(q.tr, q.br, t);
        break;
    default:
        break;
    }
    return q;
}

void CCProgressTimer::draw() {
    if (!mSprite->getTexture() || mPercentage <= 0.0f)
        return;
    const ccV3F_C4B_T2F_Quad quad = visibleQuad();
    ccDrawQuads(mSprite->getTexture(), &quad, 1, mSprite->getBlendFunc());
}

} // namespace cocos2d
