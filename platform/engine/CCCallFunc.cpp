#include "platform/engine/CCCallFunc.h"

#include "platform/engine/CCActionCopy.h"

namespace cocos2d {

CCCallFunc* CCCallFunc::actionWithTarget(CCObject* target, SEL_CallFunc selector) {
    auto* action = new CCCallFunc();
    action->setSelectorTarget(target);
    action->mCallFunc = selector;
    action->autorelease();
    return action;
}

CCCallFunc::~CCCallFunc() {
    ccSafeRelease(mSelectorTarget);
}

void CCCallFunc::setSelectorTarget(CCObject* target) {
    if (target)
        target->retain();
    ccSafeRelease(mSelectorTarget);
    mSelectorTarget = target;
}

CCObject* CCCallFunc::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCCallFunc* copy = ccCopyTarget<CCCallFunc>(zone, ownZone);
    CCActionInstant::copyWithZone(zone);
    copy->setSelectorTarget(mSelectorTarget);
    copy->mCallFunc = mCallFunc;
    return copy;
}

void CCCallFunc::update(ccTime) {
    execute();
}

void CCCallFunc::execute() {
    if (mSelectorTarget && mCallFunc)
        (mSelectorTarget->*mCallFunc)();
}

CCCallFuncN* CCCallFuncN::actionWithTarget(CCObject* target, SEL_CallFuncN selector) {
    auto* action = new CCCallFuncN();
    action->setSelectorTarget(target);
    action->mCallFuncN = selector;
    action->autorelease();
    return action;
}

CCObject* CCCallFuncN::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCCallFuncN* copy = ccCopyTarget<CCCallFuncN>(zone, ownZone);
    CCCallFunc::copyWithZone(zone);
    copy->mCallFuncN = mCallFuncN;
    return copy;
}

void CCCallFuncN::execute() {
    if (mSelectorTarget && mCallFuncN)
        (mSelectorTarget->*mCallFuncN)(mTarget);
}

CCCallFuncND* CCCallFuncND::actionWithTarget(CCObject* target, SEL_CallFuncND selector,
                                             void* data) {
    auto* action = new CCCallFuncND();
    action->setSelectorTarget(target);
    action->mCallFuncND = selector;
    action->mData = data;
    action->autorelease();
    return action;
}

CCObject* CCCallFuncND::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCCallFuncND* copy = ccCopyTarget<CCCallFuncND>(zone, ownZone);
    CCCallFuncN::copyWithZone(zone);
    copy->mCallFuncND = mCallFuncND;
    copy->mData = mData;
    return copy;
}

void CCCallFuncND::execute() {
    if (mSelectorTarget && mCallFuncND)
        (mSelectorTarget->*mCallFuncND)(mTarget, mData);
}

} // namespace cocos2d
