#pragma once

// A retaining set of engine objects that keeps the order of insertion; the
// touch sets handed to standard touch delegates.

#include "platform/engine/CCObject.h"

#include <cstddef>
#include <vector>

namespace cocos2d {

class CCSet : public CCObject {
public:
    using const_iterator = std::vector<CCObject*>::const_iterator;

    CCSet() = default;
    ~CCSet() override;

    // A new set holding the same objects.
    CCSet* mutableCopy() const;

    size_t count() const { return mObjects.size(); }
    bool containsObject(CCObject* object) const;
    // Adds an object not yet in the set.
    void addObject(CCObject* object);
    void removeObject(CCObject* object);
    void removeAllObjects();
    // The first object, or null.
    CCObject* anyObject() const { return mObjects.empty() ? nullptr : mObjects.front(); }

    const_iterator begin() const { return mObjects.begin(); }
    const_iterator end() const { return mObjects.end(); }

private:
    std::vector<CCObject*> mObjects;
};

} // namespace cocos2d
