#include "platform/engine/CCLayerColor.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCRenderer.h"

namespace cocos2d {

CCLayerColor* CCLayerColor::node() {
    auto* layer = new CCLayerColor();
    layer->init();
    layer->autorelease();
    return layer;
}

CCLayerColor* CCLayerColor::layerWithColor(const ccColor4B& color) {
    auto* layer = new CCLayerColor();
    layer->initWithColor(color);
    layer->autorelease();
    return layer;
}

CCLayerColor* CCLayerColor::layerWithColorWidthHeight(const ccColor4B& color, float width,
                                                      float height) {
    auto* layer = new CCLayerColor();
    layer->initWithColorWidthHeight(color, width, height);
    layer->autorelease();
    return layer;
}

bool CCLayerColor::init() {
    return initWithColor(ccc4(0, 0, 0, 0));
}

bool CCLayerColor::initWithColor(const ccColor4B& color) {
    const CCSize size = CCDirector::sharedDirector()->getWinSize();
    return initWithColorWidthHeight(color, size.width, size.height);
}

bool CCLayerColor::initWithColorWidthHeight(const ccColor4B& color, float width, float height) {
    CCLayer::init();
    mColor = ccc3(color.r, color.g, color.b);
    mOpacity = color.a;
    mBlendFunc = ccBlendFunc{};
    setContentSize(CCSize(width, height));
    return true;
}

void CCLayerColor::setColor(const ccColor3B& color) {
    mColor = color;
}

ccColor3B CCLayerColor::getColor() {
    return mColor;
}

uint8_t CCLayerColor::getOpacity() {
    return mOpacity;
}

void CCLayerColor::setOpacity(uint8_t opacity) {
    mOpacity = opacity;
}

void CCLayerColor::setIsOpacityModifyRGB(bool) {}

bool CCLayerColor::getIsOpacityModifyRGB() {
    return false;
}

void CCLayerColor::setBlendFunc(ccBlendFunc blendFunc) {
    mBlendFunc = blendFunc;
}

ccBlendFunc CCLayerColor::getBlendFunc() {
    return mBlendFunc;
}

} // namespace cocos2d

namespace cocos2d {

void CCLayerColor::draw() {
    const CCSize& size = getContentSize();
    CCDirector::sharedDirector()->getRenderer()->fillRect(
        CCRect(0, 0, size.width, size.height), ccc4(mColor.r, mColor.g, mColor.b, mOpacity),
        mBlendFunc);
}

} // namespace cocos2d
