#pragma once

// The copy protocol of actions (and any copyable object):
//
//   CCObject* CCMoveTo::copyWithZone(CCZone* zone) {
//       std::unique_ptr<CCZone> ownZone;
//       CCMoveTo* copy = ccCopyTarget<CCMoveTo>(zone, ownZone);
//       CCActionInterval::copyWithZone(zone);   // the base fills its fields
//       copy->initWithDuration(mDuration, mEndPosition);
//       return copy;
//   }

#include "platform/engine/CCObject.h"

#include <memory>

namespace cocos2d {

// The object a copyWithZone call fills: the zone's copy object when the call
// came from a subclass, else a new T in a new zone (owned by ownZone) that
// the base classes fill in turn.
template <class T> T* ccCopyTarget(CCZone*& zone, std::unique_ptr<CCZone>& ownZone) {
    if (zone && zone->mCopyObject)
        return static_cast<T*>(zone->mCopyObject);
    T* copy = new T();
    ownZone = std::make_unique<CCZone>(copy);
    zone = ownZone.get();
    return copy;
}

} // namespace cocos2d

namespace cocos2d {

// The whole copyWithZone of a class T that adds no fields to its base.
template <class T, class Base> CCObject* ccCopyWithZoneAs(T* self, CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    ccCopyTarget<T>(zone, ownZone);
    return self->Base::copyWithZone(zone);
}

} // namespace cocos2d
