#pragma once

// One frame of a sprite sheet: the rectangle of a texture it shows, in
// points, with its trim offset and untrimmed size, and the texture itself
// (retained).
//
// Textures belong to the render library (platform/engine/render), so the
// operations that take or give a CCTexture2D are declared here and defined
// there (CCSpriteFrame_texture.cpp): only targets that link the render
// library can call them. The headless core keeps the texture as an opaque
// engine object.

#include "platform/engine/CCGeometry.h"
#include "platform/engine/CCObject.h"

namespace cocos2d {

class CCTexture2D;

class CCSpriteFrame : public CCObject {
public:
    ~CCSpriteFrame() override;

    // An autoreleased frame of that rectangle, untrimmed, without texture.
    static CCSpriteFrame* frameWithRect(const CCRect& rect);
    bool initWithRect(const CCRect& rect);
    // An autoreleased frame of the texture's rectangle (points); render library.
    static CCSpriteFrame* frameWithTexture(CCTexture2D* texture, const CCRect& rect);
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    // The frame's texture or null; render library.
    CCTexture2D* getTexture() const;
    void setTexture(CCTexture2D* texture);

    // The texture as an opaque engine object (retained), or null.
    CCObject* getTextureObject() const { return mTexture; }
    void setTextureObject(CCObject* texture);

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
    CCObject* mTexture = nullptr;
};

} // namespace cocos2d
