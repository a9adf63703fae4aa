#pragma once

// A node that shows a rectangle of a texture: with a colour and opacity
// (multiplied in), a tint kept apart from the colour (added, weighted by the
// texture's alpha; black adds nothing), horizontal and vertical mirroring
// and a blend function. Its content size is the rectangle's size in points.
//
// Factories return autoreleased sprites. spriteWithFile of a missing image
// gives an empty 0 x 0 sprite and logs the name once. initWithFile calls the
// virtual init() before it takes the texture, so a subclass's init runs in
// place of the sprite's own. The quad (pixels, corners top-left,
// bottom-left, top-right, bottom-right) is what draw() hands to GL.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCSpriteFrame.h"

#include <string>

namespace cocos2d {

class CCTexture2D;

class CCSprite : public CCNode,
                 public CCRGBAProtocol,
                 public CCBlendProtocol,
                 public CCDisplayFrameProtocol {
public:
    CCSprite();
    ~CCSprite() override;

    static CCSprite* spriteWithFile(const std::string& file);
    static CCSprite* spriteWithFile(const std::string& file, const CCRect& rect);
    static CCSprite* spriteWithTexture(CCTexture2D* texture);
    static CCSprite* spriteWithTexture(CCTexture2D* texture, const CCRect& rect);
    static CCSprite* spriteWithSpriteFrame(CCSpriteFrame* frame);
    // Null when the frame cache has no frame of that name.
    static CCSprite* spriteWithSpriteFrameName(const std::string& name);

    // An empty sprite: no texture, white, opaque, anchor in the centre.
    virtual bool init();
    virtual bool initWithTexture(CCTexture2D* texture);
    virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    // init(), then the image's texture; false when the image is missing.
    virtual bool initWithFile(const std::string& file);
    virtual bool initWithFile(const std::string& file, const CCRect& rect);
    virtual bool initWithSpriteFrame(CCSpriteFrame* frame);

    virtual void setTexture(CCTexture2D* texture);
    CCTexture2D* getTexture() const { return mTexture; }
    // The rectangle of the texture shown, in points; sets the content size.
    virtual void setTextureRect(const CCRect& rect);
    const CCRect& getTextureRect() const { return mRect; }

    void setScale(float scale) override;
    void setContentSize(const CCSize& size) override;
    virtual void setFlipX(bool flip);
    virtual void setFlipY(bool flip);
    bool isFlipX() const { return mFlipX; }
    bool isFlipY() const { return mFlipY; }
    virtual void setTintColor(const ccColor3B& tint);
    ccColor3B getTintColor() const { return mTint; }

    // CCRGBAProtocol.
    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return mColor; }
    uint8_t getOpacity() override { return mOpacity; }
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool value) override;
    bool getIsOpacityModifyRGB() override { return mOpacityModifyRGB; }
    // CCBlendProtocol.
    void setBlendFunc(ccBlendFunc blendFunc) override { mBlendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return mBlendFunc; }
    // CCDisplayFrameProtocol.
    void setDisplayFrame(CCSpriteFrame* frame) override;
    bool isFrameDisplayed(CCSpriteFrame* frame) override;
    CCSpriteFrame* displayedFrame() override;

    // The quad in pixels with premultiplied colours.
    const ccV3F_C4B_T2F_Quad& getQuad();
    void draw() override;

private:
    void updateQuad();

    CCTexture2D* mTexture = nullptr; // retained
    CCRect mRect;
    CCPoint mOffset; // of the rectangle inside the untrimmed frame, points
    ccV3F_C4B_T2F_Quad mQuad;
    ccColor3B mColor = ccWHITE;
    ccColor3B mTint = ccBLACK;
    ccBlendFunc mBlendFunc;
    uint8_t mOpacity = 255;
    bool mOpacityModifyRGB = true;
    bool mFlipX = false;
    bool mFlipY = false;
    bool mQuadDirty = true;
};

} // namespace cocos2d
