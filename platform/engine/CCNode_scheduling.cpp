// CCNode: actions and schedules, kept by the director's action manager and
// scheduler with this node as the target; paused while the node is not
// running.

#include "platform/engine/CCActionManager.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCScheduler.h"

namespace cocos2d {

namespace {

CCActionManager* actionManager() {
    return CCDirector::sharedDirector()->getActionManager();
}

CCScheduler* scheduler() {
    return CCDirector::sharedDirector()->getScheduler();
}

} // namespace

CCAction* CCNode::runAction(CCAction* action) {
    actionManager()->addAction(action, this, !mIsRunning);
    return action;
}

void CCNode::stopAllActions() {
    actionManager()->removeAllActionsFromTarget(this);
}

void CCNode::stopAction(CCAction* action) {
    actionManager()->removeAction(action);
}

void CCNode::stopActionByTag(int tag) {
    actionManager()->removeActionByTag(tag, this);
}

CCAction* CCNode::getActionByTag(int tag) {
    return actionManager()->getActionByTag(tag, this);
}

size_t CCNode::numberOfRunningActions() {
    return actionManager()->numberOfRunningActionsInTarget(this);
}

void CCNode::scheduleUpdate() {
    scheduleUpdateWithPriority(0);
}

void CCNode::scheduleUpdateWithPriority(int priority) {
    scheduler()->scheduleUpdateForTarget(this, priority, !mIsRunning);
}

void CCNode::unscheduleUpdate() {
    scheduler()->unscheduleUpdateForTarget(this);
}

void CCNode::schedule(SEL_SCHEDULE selector) {
    schedule(selector, 0.0f);
}

void CCNode::schedule(SEL_SCHEDULE selector, ccTime interval) {
    scheduler()->scheduleSelector(selector, this, interval, !mIsRunning);
}

void CCNode::unschedule(SEL_SCHEDULE selector) {
    scheduler()->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() {
    scheduler()->unscheduleAllSelectorsForTarget(this);
}

void CCNode::resumeSchedulerAndActions() {
    scheduler()->resumeTarget(this);
    actionManager()->resumeTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
    scheduler()->pauseTarget(this);
    actionManager()->pauseTarget(this);
}

} // namespace cocos2d
