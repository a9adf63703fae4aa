#include "platform/engine/CCAction.h"

#include "platform/engine/CCActionCopy.h"

namespace cocos2d {

CCObject* CCAction::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCAction* copy = ccCopyTarget<CCAction>(zone, ownZone);
    copy->mTag = mTag;
    return copy;
}

bool CCAction::isDone() {
    return true;
}

void CCAction::startWithTarget(CCNode* target) {
    mOriginalTarget = target;
    mTarget = target;
}

void CCAction::stop() {
    mTarget = nullptr;
}

void CCAction::step(ccTime) {}

void CCAction::update(ccTime) {}

CCObject* CCFiniteTimeAction::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCFiniteTimeAction* copy = ccCopyTarget<CCFiniteTimeAction>(zone, ownZone);
    CCAction::copyWithZone(zone);
    copy->mDuration = mDuration;
    return copy;
}

} // namespace cocos2d
