#pragma once

// Easing: an action that runs an inner interval action over the same time
// with its progress reshaped. Every curve maps 0 to 0 and 1 to 1; the
// elastic curve overshoots in between.

#include "platform/engine/CCActionInterval.h"

namespace cocos2d {

class CCActionEase : public CCActionInterval {
public:
    ~CCActionEase() override;
    bool initWithAction(CCActionInterval* action);
    // Copies the inner action too.
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime progress) override;

    // The reshaped progress.
    virtual ccTime ease(ccTime progress) const;

protected:
    CCActionInterval* mInner = nullptr;
};

class CCEaseRateAction : public CCActionEase {
public:
    bool initWithAction(CCActionInterval* action, float rate);
    CCObject* copyWithZone(CCZone* zone) override;
    float getRate() const { return mRate; }

protected:
    float mRate = 1.0f;
};

// progress ^ rate
class CCEaseIn : public CCEaseRateAction {
public:
    static CCEaseIn* actionWithAction(CCActionInterval* action, float rate);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

// progress ^ (1 / rate)
class CCEaseOut : public CCEaseRateAction {
public:
    static CCEaseOut* actionWithAction(CCActionInterval* action, float rate);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

// The in-curve for the first half, the mirrored curve for the second.
class CCEaseInOut : public CCEaseRateAction {
public:
    static CCEaseInOut* actionWithAction(CCActionInterval* action, float rate);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

class CCEaseSineIn : public CCActionEase {
public:
    static CCEaseSineIn* actionWithAction(CCActionInterval* action);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

class CCEaseSineInOut : public CCActionEase {
public:
    static CCEaseSineInOut* actionWithAction(CCActionInterval* action);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

class CCEaseExponentialOut : public CCActionEase {
public:
    static CCEaseExponentialOut* actionWithAction(CCActionInterval* action);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;
};

// A decaying spring; the period is in progress units (0.3 by default).
class CCEaseElasticOut : public CCActionEase {
public:
    static CCEaseElasticOut* actionWithAction(CCActionInterval* action, float period = 0.3f);
    bool initWithAction(CCActionInterval* action, float period);
    CCObject* copyWithZone(CCZone* zone) override;
    ccTime ease(ccTime progress) const override;

private:
    float mPeriod = 0.3f;
};

} // namespace cocos2d
