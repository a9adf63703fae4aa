#pragma once

// Runs actions together; it lasts as long as the longest. Each action is
// stopped when it reaches its own end.

#include "platform/engine/CCActionList.h"

namespace cocos2d {

class CCSpawn : public CCActionListOf<CCSpawn> {
public:
    bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions) override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime progress) override;

protected:
    ccTime durationOf(const std::vector<CCFiniteTimeAction*>& actions) const override;

private:
    std::vector<bool> mFinished;
};

} // namespace cocos2d
