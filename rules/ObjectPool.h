#pragma once

// Blocks of one class's size kept on a per-thread free list: a loaded game
// makes thousands of actions and records and the next load frees them all,
// where taking and giving back a block from the list costs far less than
// the general allocator. A class opts in with
//
//     static void* operator new(size_t size) { return ObjectPool<T>::allocate(size); }
//     static void operator delete(void* block, size_t size) {
//         ObjectPool<T>::deallocate(block, size);
//     }
//
// Blocks of another size (a derived class) go to the general allocator.
// The list keeps at most cKeptBytes and is given back when its thread ends;
// blocks freed after that, and all blocks under the address sanitizer (so
// that it still sees every use after free), go straight to the allocator.

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TARNWICK_OBJECT_POOL_ENABLED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_OBJECT_POOL_ENABLED 0
#endif
#endif
#ifndef TARNWICK_OBJECT_POOL_ENABLED
#define TARNWICK_OBJECT_POOL_ENABLED 1
#endif

template <class T> class ObjectPool {
public:
    static constexpr size_t cKeptBytes = size_t{1} << 20;

    static void* allocate(size_t size) {
        if (TARNWICK_OBJECT_POOL_ENABLED && size == sizeof(T)) {
            List& list = sList;
            if (list.head != nullptr) {
                Block* block = list.head;
                list.head = block->next;
                --list.count;
                return block;
            }
        }
        return ::operator new(size);
    }

    static void deallocate(void* block, size_t size) noexcept {
        if (block == nullptr)
            return;
        List& list = sList;
        if (!TARNWICK_OBJECT_POOL_ENABLED || size != sizeof(T) || list.ended ||
            list.count >= cKeptBlocks) {
            ::operator delete(block);
            return;
        }
        if (!list.owned) {
            // The owner gives the list back when the thread ends.
            list.owned = true;
            sOwner.touch();
        }
        auto* kept = static_cast<Block*>(block);
        kept->next = list.head;
        list.head = kept;
        ++list.count;
    }

    // Blocks on this thread's list (for tests).
    static size_t keptCount() { return sList.count; }

private:
    struct Block {
        Block* next;
    };
    static_assert(sizeof(T) >= sizeof(Block));
    static constexpr size_t cKeptBlocks = cKeptBytes / sizeof(T);

    // Trivially destructible: usable until the thread's very end.
    struct List {
        Block* head = nullptr;
        size_t count = 0;
        bool owned = false;
        bool ended = false;
    };
    struct Owner {
        void touch() {}
        ~Owner() {
            List& list = sList;
            list.ended = true;
            while (list.head != nullptr) {
                Block* block = list.head;
                list.head = block->next;
                ::operator delete(block);
            }
            list.count = 0;
        }
    };

    static inline thread_local List sList;
    static inline thread_local Owner sOwner;
};
