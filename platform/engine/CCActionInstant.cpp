#include "platform/engine/CCActionInstant.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"

namespace cocos2d {

CCObject* CCActionInstant::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCActionInstant, CCFiniteTimeAction>(this, zone);
}

bool CCActionInstant::isDone() {
    return true;
}

void CCActionInstant::step(ccTime) {
    update(1.0f);
}

CCShow* CCShow::action() {
    auto* action = new CCShow();
    action->autorelease();
    return action;
}

CCObject* CCShow::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCShow, CCActionInstant>(this, zone);
}

void CCShow::update(ccTime) {
    if (mTarget)
        mTarget->setIsVisible(true);
}

CCHide* CCHide::action() {
    auto* action = new CCHide();
    action->autorelease();
    return action;
}

CCObject* CCHide::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCHide, CCActionInstant>(this, zone);
}

void CCHide::update(ccTime) {
    if (mTarget)
        mTarget->setIsVisible(false);
}

} // namespace cocos2d
