#include "platform/engine/CCActionList.h"

namespace cocos2d {

CCActionList::~CCActionList() {
    for (CCFiniteTimeAction* action : mActions)
        action->release();
}

bool CCActionList::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    std::vector<CCFiniteTimeAction*> kept;
    for (CCFiniteTimeAction* action : actions) {
        if (action) {
            action->retain();
            kept.push_back(action);
        }
    }
    for (CCFiniteTimeAction* action : mActions)
        action->release();
    mActions = kept;
    return initWithDuration(durationOf(mActions));
}

void CCActionList::copyActionsInto(CCActionList* copy) const {
    std::vector<CCFiniteTimeAction*> inner;
    for (CCFiniteTimeAction* action : mActions)
        inner.push_back(static_cast<CCFiniteTimeAction*>(action->copy()));
    copy->initWithActions(inner);
    for (CCFiniteTimeAction* action : inner)
        action->release();
}

} // namespace cocos2d
