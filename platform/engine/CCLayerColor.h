#pragma once

// A layer filled with one colour, drawn with its blend function (by default
// one, one-minus-source-alpha). A new one covers the window.

#include "platform/engine/CCLayer.h"
#include "platform/engine/CCProtocols.h"

namespace cocos2d {

class CCLayerColor : public CCLayer, public CCRGBAProtocol, public CCBlendProtocol {
public:
    // An autoreleased transparent black layer.
    static CCLayerColor* node();
    static CCLayerColor* layerWithColor(const ccColor4B& color);
    static CCLayerColor* layerWithColorWidthHeight(const ccColor4B& color, float width,
                                                   float height);
    bool init() override;
    virtual bool initWithColor(const ccColor4B& color);
    virtual bool initWithColorWidthHeight(const ccColor4B& color, float width, float height);

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override;
    uint8_t getOpacity() override;
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool value) override;
    bool getIsOpacityModifyRGB() override;
    void setBlendFunc(ccBlendFunc blendFunc) override;
    ccBlendFunc getBlendFunc() override;
    // Fills the content rectangle through the renderer.
    void draw() override;

private:
    ccColor3B mColor;
    uint8_t mOpacity = 0;
    ccBlendFunc mBlendFunc;
};

} // namespace cocos2d
