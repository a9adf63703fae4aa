#include "platform/engine/CCObject.h"

#include "platform/engine/CCAutoreleasePool.h"

#include <cassert>

namespace cocos2d {

CCObject* CCObject::copyWithZone(CCZone*) {
    return nullptr;
}

CCObject::~CCObject() = default;

bool CCObject::isEqual(const CCObject* other) const {
    return this == other;
}

void CCObject::update(ccTime) {}

void CCObject::retain() {
    assert(mReferenceCount > 0);
    ++mReferenceCount;
}

void CCObject::release() {
    assert(mReferenceCount > 0);
    if (--mReferenceCount == 0) {
        // A pool still holding a reference means one release too many.
        assert(mAutoreleaseCount == 0);
        delete this;
    }
}

CCObject* CCObject::autorelease() {
    CCPoolManager::sharedPoolManager()->addObject(this);
    return this;
}

CCObject* CCObject::copy() {
    return copyWithZone(nullptr);
}

} // namespace cocos2d
