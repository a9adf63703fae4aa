#pragma once

// Actions that happen at one moment: they are done after their first step,
// and inside a sequence they run exactly when the action before them ends.

#include "platform/engine/CCAction.h"

namespace cocos2d {

class CCActionInstant : public CCFiniteTimeAction {
public:
    CCObject* copyWithZone(CCZone* zone) override;
    bool isDone() override;
    void step(ccTime dt) override;
};

class CCShow : public CCActionInstant {
public:
    static CCShow* action();
    CCObject* copyWithZone(CCZone* zone) override;
    void update(ccTime progress) override;
};

class CCHide : public CCActionInstant {
public:
    static CCHide* action();
    CCObject* copyWithZone(CCZone* zone) override;
    void update(ccTime progress) override;
};

} // namespace cocos2d
