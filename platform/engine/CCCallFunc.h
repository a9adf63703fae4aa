#pragma once

// Instant actions that call a member function of a target object. The
// action holds a reference to that object, so it lives until the call.
// CCCallFuncN passes the node running the action; CCCallFuncND also a data
// pointer.

#include "platform/engine/CCActionInstant.h"

namespace cocos2d {

class CCCallFunc : public CCActionInstant {
public:
    static CCCallFunc* actionWithTarget(CCObject* target, SEL_CallFunc selector);
    ~CCCallFunc() override;
    CCObject* copyWithZone(CCZone* zone) override;
    void update(ccTime progress) override;

    // Makes the call.
    virtual void execute();
    CCObject* getTargetCallback() const { return mSelectorTarget; }

protected:
    void setSelectorTarget(CCObject* target);

    CCObject* mSelectorTarget = nullptr;
    SEL_CallFunc mCallFunc = nullptr;
};

class CCCallFuncN : public CCCallFunc {
public:
    static CCCallFuncN* actionWithTarget(CCObject* target, SEL_CallFuncN selector);
    CCObject* copyWithZone(CCZone* zone) override;
    void execute() override;

protected:
    SEL_CallFuncN mCallFuncN = nullptr;
};

class CCCallFuncND : public CCCallFuncN {
public:
    static CCCallFuncND* actionWithTarget(CCObject* target, SEL_CallFuncND selector, void* data);
    CCObject* copyWithZone(CCZone* zone) override;
    void execute() override;

protected:
    SEL_CallFuncND mCallFuncND = nullptr;
    void* mData = nullptr;
};

} // namespace cocos2d
