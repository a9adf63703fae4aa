#pragma once

// Autorelease pools: each holds references handed over by autorelease and
// drops them all when it is cleared. The pool manager keeps a stack of pools;
// the director clears the current one once at the end of every frame. Code
// that makes many temporary objects may push its own pool and pop it after.

#include "platform/engine/CCObject.h"

#include <cstddef>
#include <vector>

namespace cocos2d {

class CCAutoreleasePool : public CCObject {
public:
    ~CCAutoreleasePool() override;

    void addObject(CCObject* object);
    // Drops every held reference, in the order they were added; objects
    // autoreleased meanwhile (by destructors) are dropped too.
    void clear();
    size_t count() const { return mObjects.size(); }

private:
    std::vector<CCObject*> mObjects;
};

class CCPoolManager {
public:
    // The process-wide manager; never destroyed, so objects autoreleased
    // late stay reachable instead of being freed during static destruction.
    static CCPoolManager* sharedPoolManager();

    // Clears the current pool (the frame's drain).
    void finalize();
    void push();
    // Clears and removes the current pool; the bottom pool stays.
    void pop();
    void addObject(CCObject* object);
    CCAutoreleasePool* getCurrentPool();

private:
    CCPoolManager();

    std::vector<CCAutoreleasePool*> mPools;
};

} // namespace cocos2d
