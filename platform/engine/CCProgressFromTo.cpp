#include "platform/engine/CCProgressFromTo.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCProtocols.h"

namespace cocos2d {

CCProgressFromTo* CCProgressFromTo::actionWithDuration(ccTime duration, float fromPercentage,
                                                       float toPercentage) {
    auto* action = new CCProgressFromTo();
    action->initWithDuration(duration, fromPercentage, toPercentage);
    action->autorelease();
    return action;
}

bool CCProgressFromTo::initWithDuration(ccTime duration, float fromPercentage, float toPercentage) {
    mFrom = fromPercentage;
    mTo = toPercentage;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCProgressFromTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCProgressFromTo* copy = ccCopyTarget<CCProgressFromTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mFrom = mFrom;
    copy->mTo = mTo;
    return copy;
}

void CCProgressFromTo::update(ccTime progress) {
    if (CCProgressProtocol* timer = ccProgressProtocolOf(mTarget))
        timer->setPercentage(mFrom + (mTo - mFrom) * progress);
}

} // namespace cocos2d
