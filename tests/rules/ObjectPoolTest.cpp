#include "rules/ObjectPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Pooled {
    static void* operator new(size_t size) { return ObjectPool<Pooled>::allocate(size); }
    static void operator delete(void* block, size_t size) {
        ObjectPool<Pooled>::deallocate(block, size);
    }
    virtual ~Pooled() = default;
    int64_t value = 0;
};

// Larger than its base: its blocks are not the pool's size.
struct Larger : Pooled {
    int64_t more[4] = {};
};

TEST(ObjectPoolTest, AFreedBlockIsReusedAndOtherSizesBypassThePool) {
    auto* first = new Pooled;
    const size_t before = ObjectPool<Pooled>::keptCount();
    delete first;
    if (!TARNWICK_OBJECT_POOL_ENABLED) {
        EXPECT_EQ(ObjectPool<Pooled>::keptCount(), before);
        return;
    }
    EXPECT_EQ(ObjectPool<Pooled>::keptCount(), before + 1);
    auto* second = new Pooled;
    EXPECT_EQ(static_cast<void*>(second), static_cast<void*>(first));
    EXPECT_EQ(second->value, 0);
    EXPECT_EQ(ObjectPool<Pooled>::keptCount(), before);

    Pooled* larger = new Larger;
    delete larger;
    EXPECT_EQ(ObjectPool<Pooled>::keptCount(), before);
    delete second;
}

TEST(ObjectPoolTest, KeepsNoMoreThanItsBytes) {
    constexpr size_t extra = ObjectPool<Pooled>::cKeptBytes / sizeof(Pooled) + 10;
    std::vector<Pooled*> many;
    for (size_t i = 0; i < extra; ++i)
        many.push_back(new Pooled);
    for (Pooled* object : many)
        delete object;
    EXPECT_LE(ObjectPool<Pooled>::keptCount() * sizeof(Pooled), ObjectPool<Pooled>::cKeptBytes);
}

} // namespace
