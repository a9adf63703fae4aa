#pragma once

// The registration list behind the touch and keypad dispatchers: entries in
// ascending priority, the most recently added first among equal priorities.
//
// While a dispatch holds the list locked, additions and removals wait until
// the lock is released, in the order they were asked for; a removed entry is
// marked at once so it gets nothing more. An entry holds a reference to its
// delegate when the delegate is a CCObject and autoreleases it when the
// entry goes, so a delegate stays alive across any call made to it.

#include "platform/engine/CCObject.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace cocos2d {

template <class Delegate> struct CCDelegateEntry {
    CCDelegateEntry(Delegate* delegate, int priority)
        : delegate(delegate), object(dynamic_cast<CCObject*>(delegate)), priority(priority) {
        if (object)
            object->retain();
    }
    virtual ~CCDelegateEntry() {
        if (object)
            object->autorelease();
    }
    CCDelegateEntry(const CCDelegateEntry&) = delete;
    CCDelegateEntry& operator=(const CCDelegateEntry&) = delete;

    Delegate* delegate;
    CCObject* object; // the delegate as an engine object, or null
    int priority;
    bool removed = false;
};

template <class Entry> class CCDelegateList {
public:
    // Registers the entry unless its delegate is registered already.
    void add(std::unique_ptr<Entry> entry) {
        if (mLocks > 0)
            mPending.push_back(Pending{std::move(entry), nullptr, false});
        else
            insert(std::move(entry));
    }

    void remove(const void* delegate) {
        for (auto& entry : mEntries) {
            if (entry->delegate == delegate)
                entry->removed = true;
        }
        if (mLocks > 0)
            mPending.push_back(Pending{nullptr, delegate, false});
        else
            erase(delegate);
    }

    void removeAll() {
        for (auto& entry : mEntries)
            entry->removed = true;
        if (mLocks > 0)
            mPending.push_back(Pending{nullptr, nullptr, true});
        else
            clear();
    }

    // The live entry of the delegate, or null.
    Entry* find(const void* delegate) const {
        for (const auto& entry : mEntries) {
            if (entry->delegate == delegate && !entry->removed)
                return entry.get();
        }
        return nullptr;
    }

    // Entries by position; stable while locked. Skip the removed ones.
    size_t size() const { return mEntries.size(); }
    Entry* at(size_t index) const { return mEntries[index].get(); }

    void lock() { ++mLocks; }
    void unlock() {
        if (--mLocks > 0)
            return;
        std::vector<Pending> pending;
        pending.swap(mPending);
        for (Pending& op : pending) {
            if (op.entry)
                insert(std::move(op.entry));
            else if (op.all)
                clear();
            else
                erase(op.removed);
        }
    }

private:
    struct Pending {
        std::unique_ptr<Entry> entry; // an addition
        const void* removed;          // or a removal
        bool all;                     // or the removal of every entry
    };

    void insert(std::unique_ptr<Entry> entry) {
        if (find(entry->delegate))
            return;
        auto place = std::find_if(mEntries.begin(), mEntries.end(), [&](const auto& other) {
            return other->priority >= entry->priority;
        });
        mEntries.insert(place, std::move(entry));
    }

    void erase(const void* delegate) {
        std::vector<std::unique_ptr<Entry>> gone;
        for (auto it = mEntries.begin(); it != mEntries.end();) {
            if ((*it)->delegate == delegate) {
                gone.push_back(std::move(*it));
                it = mEntries.erase(it);
            } else {
                ++it;
            }
        }
    }

    void clear() {
        std::vector<std::unique_ptr<Entry>> gone;
        gone.swap(mEntries);
    }

    std::vector<std::unique_ptr<Entry>> mEntries;
    std::vector<Pending> mPending;
    int mLocks = 0;
};

// Holds a list locked for a scope.
template <class List> class CCDelegateListLock {
public:
    explicit CCDelegateListLock(List& list) : mList(list) { mList.lock(); }
    ~CCDelegateListLock() { mList.unlock(); }
    CCDelegateListLock(const CCDelegateListLock&) = delete;
    CCDelegateListLock& operator=(const CCDelegateListLock&) = delete;

private:
    List& mList;
};

} // namespace cocos2d
