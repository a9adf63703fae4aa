#pragma once

// CCRepeat runs an action a number of times (up to 1,000,000 and more) back
// to back; CCRepeatForever until it is stopped. The inner action is started
// again in the frame in which it ends.

#include "platform/engine/CCActionInterval.h"

namespace cocos2d {

class CCRepeat : public CCActionInterval {
public:
    static CCRepeat* actionWithAction(CCFiniteTimeAction* action, unsigned int times);
    ~CCRepeat() override;
    bool initWithAction(CCFiniteTimeAction* action, unsigned int times);
    // Copies the inner action too.
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime progress) override;

    // Runs of the inner action completed so far.
    unsigned int getCompletedCount() const { return mCompleted; }

private:
    CCFiniteTimeAction* mInner = nullptr;
    unsigned int mTimes = 0;
    unsigned int mCompleted = 0;
};

class CCRepeatForever : public CCActionInterval {
public:
    static CCRepeatForever* actionWithAction(CCActionInterval* action);
    ~CCRepeatForever() override;
    bool initWithAction(CCActionInterval* action);
    CCObject* copyWithZone(CCZone* zone) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void step(ccTime dt) override;
    bool isDone() override;

private:
    CCActionInterval* mInner = nullptr;
};

} // namespace cocos2d
