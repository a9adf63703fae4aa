#pragma once

// The raised look of notices and questions in the header font: a soft drop
// shadow and a gold outline, the fill white or running through three colours
// from top to bottom (stops at 0.1, 0.6 and 1.0).

#include "platform/render/CCLabelTTF.h"

inline cocos2d::DropShadowInfo headerTextShadow() {
    return cocos2d::DropShadowInfo(1.0f, 1.0f, 0.9f, 0.0f, 2.0f);
}

inline cocos2d::OutlineFillInfo headerTextOutline() {
    return cocos2d::OutlineFillInfo(cocos2d::ccColor4B{153, 146, 64, 255}, 0.5f,
                                    cocos2d::ccColor4B{255, 255, 255, 255});
}

inline cocos2d::OutlineFillInfo headerTextOutline(const cocos2d::ccColor4B& top,
                                                  const cocos2d::ccColor4B& middle,
                                                  const cocos2d::ccColor4B& bottom) {
    cocos2d::OutlineFillInfo outline = headerTextOutline();
    outline.gradient.addColor(top, 0.1f);
    outline.gradient.addColor(middle, 0.6f);
    outline.gradient.addColor(bottom, 1.0f);
    return outline;
}
