#include "platform/render/CCSprite.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCDrawing.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <cstdio>
#include <set>

namespace cocos2d {

namespace {

template <class Init> CCSprite* makeSprite(Init init) {
    auto* sprite = new CCSprite();
    if (!init(sprite)) {
        sprite->release();
        return nullptr;
    }
    sprite->autorelease();
    return sprite;
}

// Each missing image is reported once per run.
void reportMissingImage(const std::string& file) {
    static std::set<std::string> reported;
    if (reported.insert(file).second)
        std::printf("Sprite image not found: %s\n", file.c_str());
}

CCRect wholeTexture(CCTexture2D* texture) {
    const CCSize size = texture ? texture->getContentSize() : CCSizeZero;
    return CCRect(0, 0, size.width, size.height);
}

} // namespace

CCSprite::CCSprite() {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCSprite::~CCSprite() {
    ccSafeRelease(mTexture);
}

CCSprite* CCSprite::spriteWithFile(const std::string& file) {
    auto* sprite = new CCSprite();
    sprite->initWithFile(file); // a missing image leaves an empty sprite
    sprite->autorelease();
    return sprite;
}

CCSprite* CCSprite::spriteWithFile(const std::string& file, const CCRect& rect) {
    auto* sprite = new CCSprite();
    sprite->initWithFile(file, rect);
    sprite->autorelease();
    return sprite;
}

CCSprite* CCSprite::spriteWithTexture(CCTexture2D* texture) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture); });
}

CCSprite* CCSprite::spriteWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture, rect); });
}

CCSprite* CCSprite::spriteWithSpriteFrame(CCSpriteFrame* frame) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrame(frame); });
}

CCSprite* CCSprite::spriteWithSpriteFrameName(const std::string& name) {
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
    return frame ? spriteWithSpriteFrame(frame) : nullptr;
}

bool CCSprite::init() {
    return initWithTexture(nullptr, CCRectZero);
}

bool CCSprite::initWithTexture(CCTexture2D* texture) {
    return initWithTexture(texture, wholeTexture(texture));
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    mColor = ccWHITE;
    mTint = ccBLACK;
    mOpacity = 255;
    mOpacityModifyRGB = true;
    mBlendFunc = ccBlendFunc{};
    mFlipX = mFlipY = false;
    mOffset = CCPointZero;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setTexture(texture);
    setTextureRect(rect);
    return true;
}

bool CCSprite::initWithFile(const std::string& file) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file);
    return initWithFile(file, wholeTexture(texture));
}

bool CCSprite::initWithFile(const std::string& file, const CCRect& rect) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file);
    if (!init())
        return false;
    if (!texture) {
        reportMissingImage(file);
        return false;
    }
    setTexture(texture);
    setTextureRect(rect);
    return true;
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
    if (!frame || !initWithTexture(frame->getTexture(), frame->getRect()))
        return false;
    setDisplayFrame(frame);
    return true;
}

void CCSprite::setTexture(CCTexture2D* texture) {
    if (texture)
        texture->retain();
    ccSafeRelease(mTexture);
    mTexture = texture;
    mQuadDirty = true;
}

void CCSprite::setTextureRect(const CCRect& rect) {
    mRect = rect;
    CCNode::setContentSize(rect.size);
    mQuadDirty = true;
}

void CCSprite::setScale(float scale) {
    CCNode::setScale(scale);
}

void CCSprite::setContentSize(const CCSize& size) {
    CCNode::setContentSize(size);
    mQuadDirty = true;
}

void CCSprite::setFlipX(bool flip) {
    mFlipX = flip;
    mQuadDirty = true;
}

void CCSprite::setFlipY(bool flip) {
    mFlipY = flip;
    mQuadDirty = true;
}

void CCSprite::setTintColor(const ccColor3B& tint) {
    mTint = tint;
}

void CCSprite::setColor(const ccColor3B& color) {
    mColor = color;
    mQuadDirty = true;
}

void CCSprite::setOpacity(uint8_t opacity) {
    mOpacity = opacity;
    mQuadDirty = true;
}

void CCSprite::setIsOpacityModifyRGB(bool value) {
    mOpacityModifyRGB = value;
    mQuadDirty = true;
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
    if (!frame)
        return;
    if (frame->getTexture() != mTexture)
        setTexture(frame->getTexture());
    mRect = frame->getRect();
    const CCSize original = frame->getOriginalSize();
    mOffset = CCPoint(frame->getOffset().x + (original.width - mRect.size.width) / 2,
                      frame->getOffset().y + (original.height - mRect.size.height) / 2);
    CCNode::setContentSize(original);
    mQuadDirty = true;
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) {
    return frame && frame->getTexture() == mTexture && frame->getRect() == mRect;
}

CCSpriteFrame* CCSprite::displayedFrame() {
    CCSpriteFrame* frame = CCSpriteFrame::frameWithTexture(mTexture, mRect);
    frame->setOriginalSize(getContentSize());
    frame->setOffset(CCPoint(mOffset.x - (getContentSize().width - mRect.size.width) / 2,
                             mOffset.y - (getContentSize().height - mRect.size.height) / 2));
    return frame;
}

const ccV3F_C4B_T2F_Quad& CCSprite::getQuad() {
    if (mQuadDirty)
        updateQuad();
    return mQuad;
}

void CCSprite::updateQuad() {
    mQuadDirty = false;
    const float scale =
        CCDirector::hasSharedDirector() ? CCDirector::sharedDirector()->getContentScaleFactor() : 1;
    const float x0 = mOffset.x * scale;
    const float y0 = mOffset.y * scale;
    const float x1 = x0 + mRect.size.width * scale;
    const float y1 = y0 + mRect.size.height * scale;
    mQuad.tl.vertices = ccVertex3F{x0, y1, 0};
    mQuad.bl.vertices = ccVertex3F{x0, y0, 0};
    mQuad.tr.vertices = ccVertex3F{x1, y1, 0};
    mQuad.br.vertices = ccVertex3F{x1, y0, 0};

    float left = 0, right = 0, top = 0, bottom = 0;
    if (mTexture && mTexture->getPixelsWide() > 0 && mTexture->getPixelsHigh() > 0) {
        // The rectangle in the texture's pixels; t = 0 is the image's top row.
        const float pixels = mTexture->getContentScale();
        const float wide = float(mTexture->getPixelsWide());
        const float high = float(mTexture->getPixelsHigh());
        left = mRect.origin.x * pixels / wide;
        right = (mRect.origin.x + mRect.size.width) * pixels / wide;
        top = mRect.origin.y * pixels / high;
        bottom = (mRect.origin.y + mRect.size.height) * pixels / high;
    }
    if (mFlipX)
        std::swap(left, right);
    if (mFlipY)
        std::swap(top, bottom);
    mQuad.tl.texCoords = ccTex2F{left, top};
    mQuad.bl.texCoords = ccTex2F{left, bottom};
    mQuad.tr.texCoords = ccTex2F{right, top};
    mQuad.br.texCoords = ccTex2F{right, bottom};

    const ccColor4B color = mOpacityModifyRGB ? ccPremultiplied(mColor, mOpacity)
                                              : ccc4(mColor.r, mColor.g, mColor.b, mOpacity);
    for (ccV3F_C4B_T2F* v : {&mQuad.tl, &mQuad.bl, &mQuad.tr, &mQuad.br})
        v->colors = color;
}

void CCSprite::draw() {
    if (!mTexture || mRect.size.width <= 0 || mRect.size.height <= 0)
        return;
    const ccV3F_C4B_T2F_Quad& quad = getQuad();
    ccDrawTintedQuad(mTexture, quad, mBlendFunc, mTint, mOpacity);
}

} // namespace cocos2d
