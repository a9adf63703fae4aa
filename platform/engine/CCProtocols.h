#pragma once

// Interfaces a node may implement beside CCNode; actions find them at run
// time (ccRGBAProtocolOf and the like) and do nothing on nodes without them.

#include "platform/engine/ccTypes.h"

namespace cocos2d {

class CCNode;
class CCSpriteFrame;

// Colour and opacity of a node; fades, tints and opacity cascades use it.
class CCRGBAProtocol {
public:
    virtual ~CCRGBAProtocol() = default;
    virtual void setColor(const ccColor3B& color) = 0;
    virtual ccColor3B getColor() = 0;
    virtual uint8_t getOpacity() = 0;
    virtual void setOpacity(uint8_t opacity) = 0;
    // When on, the colour is premultiplied by the opacity.
    virtual void setIsOpacityModifyRGB(bool value) = 0;
    virtual bool getIsOpacityModifyRGB() = 0;
};

class CCBlendProtocol {
public:
    virtual ~CCBlendProtocol() = default;
    virtual void setBlendFunc(ccBlendFunc blendFunc) = 0;
    virtual ccBlendFunc getBlendFunc() = 0;
};

// A node that shows one frame of an animation at a time (sprites).
class CCDisplayFrameProtocol {
public:
    virtual ~CCDisplayFrameProtocol() = default;
    virtual void setDisplayFrame(CCSpriteFrame* frame) = 0;
    virtual bool isFrameDisplayed(CCSpriteFrame* frame) = 0;
    // The frame shown now; a new autoreleased frame or one owned elsewhere.
    virtual CCSpriteFrame* displayedFrame() = 0;
};

// A node that shows a fill percentage (progress timers).
class CCProgressProtocol {
public:
    virtual ~CCProgressProtocol() = default;
    virtual void setPercentage(float percentage) = 0;
    virtual float getPercentage() = 0;
};

// The node's interface, or null when it does not implement it.
CCRGBAProtocol* ccRGBAProtocolOf(CCNode* node);
CCDisplayFrameProtocol* ccDisplayFrameProtocolOf(CCNode* node);
CCProgressProtocol* ccProgressProtocolOf(CCNode* node);

} // namespace cocos2d
