#pragma once

// Room for a known number of protos in one block, each made in place when
// its element is read. Thousands of allocations of a large object cost more
// than reading the protos, and making them all up front would sweep the
// whole block once more before the read: made one by one, each proto is
// built and filled while its memory is in the cache.

#include "content/protos/ProtoEntity.h"

#include <cstddef>
#include <memory>

class ProtoStore {
public:
    ProtoStore() = default;
    ProtoStore(const ProtoStore&) = delete;
    ProtoStore& operator=(const ProtoStore&) = delete;
    ~ProtoStore() { reset(0); }

    // Destroys the protos made so far and makes room for capacity new ones.
    void reset(size_t capacity) {
        std::destroy_n(mBlock, mMade);
        if (mBlock)
            std::allocator<ProtoEntity>().deallocate(mBlock, mCapacity);
        mBlock = nullptr;
        mCapacity = 0;
        mMade = 0;
        if (capacity > 0) {
            mBlock = std::allocator<ProtoEntity>().allocate(capacity);
            mCapacity = capacity;
        }
    }

    // The next proto, made with its defaults; null when the room is full.
    ProtoEntity* make() {
        if (mMade == mCapacity)
            return nullptr;
        ProtoEntity* proto = std::construct_at(mBlock + mMade);
        ++mMade;
        return proto;
    }

private:
    ProtoEntity* mBlock = nullptr;
    size_t mCapacity = 0;
    size_t mMade = 0;
};
