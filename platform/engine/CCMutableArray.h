#pragma once

// An ordered, retaining list of engine objects: the array holds one reference
// to each element it contains (once per occurrence). T is a pointer type,
// e.g. CCMutableArray<CCNode*>.

#include "platform/engine/CCObject.h"

#include <algorithm>
#include <vector>

namespace cocos2d {

template <class T> class CCMutableArray : public CCObject {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    CCMutableArray() = default;
    ~CCMutableArray() override { removeAllObjects(); }

    // An autoreleased empty array.
    static CCMutableArray* array() {
        auto* result = new CCMutableArray();
        result->autorelease();
        return result;
    }

    size_t count() const { return mObjects.size(); }
    T getObjectAtIndex(size_t index) const { return mObjects[index]; }
    T getLastObject() const { return mObjects.empty() ? nullptr : mObjects.back(); }
    bool containsObject(T object) const { return getIndexOfObject(object) != npos; }
    // npos when absent.
    size_t getIndexOfObject(T object) const {
        auto found = std::find(mObjects.begin(), mObjects.end(), object);
        return found == mObjects.end() ? npos : size_t(found - mObjects.begin());
    }

    void addObject(T object) {
        object->retain();
        mObjects.push_back(object);
    }
    void insertObjectAtIndex(T object, size_t index) {
        object->retain();
        mObjects.insert(mObjects.begin() + std::min(index, mObjects.size()), object);
    }
    // Removes the first occurrence.
    void removeObject(T object) {
        const size_t index = getIndexOfObject(object);
        if (index != npos)
            removeObjectAtIndex(index);
    }
    void removeObjectAtIndex(size_t index) {
        T object = mObjects[index];
        mObjects.erase(mObjects.begin() + index);
        object->release();
    }
    void removeAllObjects() {
        std::vector<T> old;
        old.swap(mObjects);
        for (T object : old)
            object->release();
    }

    iterator begin() { return mObjects.begin(); }
    iterator end() { return mObjects.end(); }
    const_iterator begin() const { return mObjects.begin(); }
    const_iterator end() const { return mObjects.end(); }

    static constexpr size_t npos = size_t(-1);

private:
    std::vector<T> mObjects;
};

} // namespace cocos2d
