#pragma once

// The reference-counted base of every engine object.
//
// An object starts with one reference owned by its creator. retain adds one,
// release drops one and destroys the object at zero; autorelease hands one
// reference to the current autorelease pool, which drops it when the pool
// drains at the end of the frame. Factories (node(), actionWithDuration(), ...)
// return autoreleased objects: keep one by retaining it.
//
// Copying goes through copyWithZone: a class fills the zone's copy object when
// one is given, else makes a new object of its own class, so subclasses copy
// their base fields through the base (see CCActionCopy.h). Main thread only.

#include <cstdint>

namespace cocos2d {

using ccTime = float;

class CCObject;
class CCNode;

// Carries the object under construction through a chain of copyWithZone calls.
class CCZone {
public:
    explicit CCZone(CCObject* copyObject = nullptr) : mCopyObject(copyObject) {}
    CCObject* mCopyObject;
};

class CCObject {
public:
    CCObject() = default;
    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;

    // Virtual operations, in this order.
    // A copy with one reference owned by the caller; null for a class that
    // cannot be copied.
    virtual CCObject* copyWithZone(CCZone* zone);
    virtual ~CCObject();
    // Identity unless a class says otherwise.
    virtual bool isEqual(const CCObject* other) const;
    // The per-frame update of a target scheduled with scheduleUpdateForTarget.
    virtual void update(ccTime dt);

    void retain();
    // Destroys the object when its last reference goes.
    void release();
    // Hands one reference to the current pool; returns this.
    CCObject* autorelease();
    // copyWithZone(nullptr).
    CCObject* copy();

    uint32_t retainCount() const { return mReferenceCount; }
    bool isSingleReference() const { return mReferenceCount == 1; }
    // How many references the autorelease pools still hold.
    uint32_t autoreleaseCount() const { return mAutoreleaseCount; }

private:
    friend class CCAutoreleasePool;

    uint32_t mReferenceCount = 1;
    uint32_t mAutoreleaseCount = 0;
};

// Member-function callbacks of any CCObject subclass; build them with the
// macros below, e.g. schedule_selector(Game::onTimer).
using SEL_SCHEDULE = void (CCObject::*)(ccTime);
using SEL_CallFunc = void (CCObject::*)();
using SEL_CallFuncN = void (CCObject::*)(CCNode*);
using SEL_CallFuncND = void (CCObject::*)(CCNode*, void*);
using SEL_MenuHandler = void (CCObject::*)(CCObject*);

#define schedule_selector(_SELECTOR) static_cast<cocos2d::SEL_SCHEDULE>(&_SELECTOR)
#define callfunc_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFunc>(&_SELECTOR)
#define callfuncN_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncN>(&_SELECTOR)
#define callfuncND_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncND>(&_SELECTOR)
#define menu_selector(_SELECTOR) static_cast<cocos2d::SEL_MenuHandler>(&_SELECTOR)

// Releases a pointer when set and clears it.
template <class T> void ccSafeRelease(T*& object) {
    if (object) {
        object->release();
        object = nullptr;
    }
}

} // namespace cocos2d
