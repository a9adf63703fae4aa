#pragma once

// Names, each with its value, found through a hash of the name: open
// addressing over a power-of-two table at most half full, each slot keeping
// the name's hash beside its entry so that a probe rarely reads a name. The
// first entry of a name wins. The entries are not copied: they must outlive
// the index and keep their names unchanged.

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

template <class Value> class NameIndex {
public:
    struct Entry {
        std::string_view name;
        Value value;
    };

    NameIndex() = default;
    explicit NameIndex(std::span<const Entry> entries) { assign(entries); }

    // Indexes entries in place of what was indexed before.
    void assign(std::span<const Entry> entries) {
        size_t size = 8;
        while (size < entries.size() * 2)
            size *= 2;
        mSlots.assign(size, Slot{});
        for (const Entry& entry : entries) {
            const uint64_t hash = hashOf(entry.name);
            Slot& slot = mSlots[probe(hash, entry.name)];
            if (!slot.entry)
                slot = {hash, &entry};
        }
    }
    void clear() { mSlots.clear(); }

    // The entry of exactly that name, or null.
    const Entry* find(std::string_view name) const {
        if (mSlots.empty())
            return nullptr;
        return mSlots[probe(hashOf(name), name)].entry;
    }

private:
    struct Slot {
        uint64_t hash = 0;
        const Entry* entry = nullptr;
    };

    // The slot of name, or the empty slot where it would go.
    size_t probe(uint64_t hash, std::string_view name) const {
        const size_t mask = mSlots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = mSlots[i];
            if (!slot.entry || (slot.hash == hash && sameName(slot.entry->name, name)))
                return i;
        }
    }

    static uint64_t load8(const char* p) {
        uint64_t word = 0;
        std::memcpy(&word, p, 8);
        return word;
    }

    // name == other, compared inline in words: the names are short and
    // almost always equal here, where a call to memcmp costs more than the
    // comparison.
    static bool sameName(std::string_view name, std::string_view other) {
        const size_t size = name.size();
        if (size != other.size())
            return false;
        if (size < 8) {
            for (size_t i = 0; i < size; ++i)
                if (name[i] != other[i])
                    return false;
            return true;
        }
        for (size_t i = 0; i + 8 < size; i += 8)
            if (load8(name.data() + i) != load8(other.data() + i))
                return false;
        return load8(name.data() + size - 8) == load8(other.data() + size - 8);
    }

    // Every byte, eight at a time, mixed with the length: cheap for the short
    // names of data files.
    static uint64_t hashOf(std::string_view name) {
        uint64_t hash = name.size() * 0xC2B2AE3D27D4EB4Full;
        size_t i = 0;
        for (; i + 8 <= name.size(); i += 8) {
            hash = (hash ^ load8(name.data() + i)) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        uint64_t rest = 0;
        for (; i < name.size(); ++i)
            rest = rest << 8 | static_cast<unsigned char>(name[i]);
        hash = (hash ^ rest) * 0x9E3779B97F4A7C15ull;
        return hash ^ (hash >> 32);
    }

    std::vector<Slot> mSlots;
};
