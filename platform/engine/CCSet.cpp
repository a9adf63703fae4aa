#include "platform/engine/CCSet.h"

#include <algorithm>

namespace cocos2d {

CCSet::~CCSet() {
    removeAllObjects();
}

CCSet* CCSet::mutableCopy() const {
    auto* copy = new CCSet();
    for (CCObject* object : mObjects)
        copy->addObject(object);
    return copy;
}

bool CCSet::containsObject(CCObject* object) const {
    return std::find(mObjects.begin(), mObjects.end(), object) != mObjects.end();
}

void CCSet::addObject(CCObject* object) {
    if (!object || containsObject(object))
        return;
    object->retain();
    mObjects.push_back(object);
}

void CCSet::removeObject(CCObject* object) {
    auto found = std::find(mObjects.begin(), mObjects.end(), object);
    if (found == mObjects.end())
        return;
    mObjects.erase(found);
    object->release();
}

void CCSet::removeAllObjects() {
    std::vector<CCObject*> old;
    old.swap(mObjects);
    for (CCObject* object : old)
        object->release();
}

} // namespace cocos2d
