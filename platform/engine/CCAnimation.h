#pragma once

// A named list of sprite frames shown one after the other, each for the
// animation's delay.

#include "platform/engine/CCMutableArray.h"
#include "platform/engine/CCSpriteFrame.h"

#include <string>

namespace cocos2d {

class CCAnimation : public CCObject {
public:
    // An autoreleased empty animation.
    static CCAnimation* animation();
    static CCAnimation* animationWithFrames(CCMutableArray<CCSpriteFrame*>* frames, float delay);
    ~CCAnimation() override;

    void addFrame(CCSpriteFrame* frame);
    CCMutableArray<CCSpriteFrame*>* getFrames() { return mFrames; }
    float getDelay() const { return mDelay; }
    void setDelay(float delay) { mDelay = delay; }
    const std::string& getName() const { return mName; }
    void setName(const std::string& name) { mName = name; }

private:
    CCAnimation();

    CCMutableArray<CCSpriteFrame*>* mFrames;
    float mDelay = 0.0f;
    std::string mName;
};

} // namespace cocos2d
