#pragma once

// Names, each with its value, found through a hash of the name: open
// addressing over a power-of-two table at most half full, each slot keeping
// the name's hash beside a copy of its entry, so that a probe reads one slot
// and rarely a name. The first entry of a name wins. The names are not
// copied: their bytes must outlive the index and stay unchanged. Names
// compare exactly, or with ASCII letter case ignored (other bytes exactly,
// whatever the locale).

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

enum class NameCase { Exact, Ignored };

template <class Value, NameCase Case = NameCase::Exact> class NameIndex {
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
            if (slot.hash == 0)
                slot = {hash, entry};
        }
    }
    void clear() { mSlots.clear(); }

    // The entry of exactly that name, or null.
    const Entry* find(std::string_view name) const { return find(name, hashOf(name)); }
    // The same with the name's hashOf, for a name looked up in several indexes.
    const Entry* find(std::string_view name, uint64_t hash) const {
        if (mSlots.empty())
            return nullptr;
        const Slot& slot = mSlots[probe(hash, name)];
        return slot.hash != 0 ? &slot.entry : nullptr;
    }

    // Every byte, mixed with the length, in whole loads: words from the start
    // and one that ends with the name (overlapping the one before), two
    // half words for four to seven bytes, three bytes for one to three.
    // Ignoring case, every byte's case bit is set first, so that names equal
    // but for case hash alike. Cheap for the short names of data files;
    // never 0.
    static uint64_t hashOf(std::string_view name) {
        const char* p = name.data();
        const size_t size = name.size();
        uint64_t hash = size * 0xC2B2AE3D27D4EB4Full;
        if (size >= 8) {
            for (size_t i = 0; i + 8 < size; i += 8)
                hash = mix(hash, load8(p + i));
            hash = mix(hash, load8(p + size - 8));
        } else if (size >= 4) {
            hash = mix(hash, load4(p) | load4(p + size - 4) << 32);
        } else if (size > 0) {
            const auto byte = [p](size_t i) {
                return static_cast<uint64_t>(static_cast<unsigned char>(p[i])) | (cFold & 0xFF);
            };
            hash = mix(hash, byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16);
        }
        hash *= 0x9E3779B97F4A7C15ull;
        return (hash ^ (hash >> 32)) | 1;
    }

private:
    // The case bit of every byte, when case is ignored.
    static constexpr uint64_t cFold = Case == NameCase::Ignored ? 0x2020202020202020ull : 0;

    // hash is never 0 in a used slot.
    struct Slot {
        uint64_t hash = 0;
        Entry entry{};
    };

    // The slot of name, or the empty slot where it would go.
    size_t probe(uint64_t hash, std::string_view name) const {
        const size_t mask = mSlots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = mSlots[i];
            if (slot.hash == 0 || (slot.hash == hash && sameName(slot.entry.name, name)))
                return i;
        }
    }

    static uint64_t load8(const char* p) {
        uint64_t word = 0;
        std::memcpy(&word, p, 8);
        return word | cFold;
    }

    // name == other, compared inline in words: the names are short and
    // almost always equal here, where a call to memcmp costs more than the
    // comparison. Ignoring case, each word is lowered first.
    static bool sameName(std::string_view name, std::string_view other) {
        const size_t size = name.size();
        if (size != other.size())
            return false;
        const char* a = name.data();
        const char* b = other.data();
        if (size >= 8) {
            for (size_t i = 0; i + 8 < size; i += 8)
                if (word8(a + i) != word8(b + i))
                    return false;
            return word8(a + size - 8) == word8(b + size - 8);
        }
        if (size >= 4)
            return word4(a) == word4(b) && word4(a + size - 4) == word4(b + size - 4);
        for (size_t i = 0; i < size; ++i)
            if (lowered(static_cast<unsigned char>(a[i])) !=
                lowered(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }

    // Eight bytes as compared: ignoring case, each of 'A' to 'Z' gets its
    // case bit, found for all eight bytes at once (every other byte, those
    // of 0x80 and above too, stays as it is).
    static uint64_t word8(const char* p) {
        uint64_t word = 0;
        std::memcpy(&word, p, 8);
        return lowered(word);
    }
    static uint64_t word4(const char* p) {
        uint32_t word = 0;
        std::memcpy(&word, p, 4);
        return lowered(word);
    }
    static uint64_t lowered(uint64_t bytes) {
        if constexpr (Case == NameCase::Exact) {
            return bytes;
        } else {
            constexpr uint64_t cOnes = 0x0101010101010101ull;
            constexpr uint64_t cHigh = cOnes * 0x80;
            // Per byte, from its low seven bits without carry into the next:
            // the high bit is set when they are at least 'A', and when they
            // are above 'Z'.
            const uint64_t low7 = bytes & ~cHigh;
            const uint64_t fromA = low7 + cOnes * (0x80 - 'A');
            const uint64_t pastZ = low7 + cOnes * (0x80 - 'Z' - 1);
            const uint64_t upper = fromA & ~pastZ & ~bytes & cHigh;
            return bytes | upper >> 2;
        }
    }

    static uint64_t load4(const char* p) {
        uint32_t word = 0;
        std::memcpy(&word, p, 4);
        return word | (cFold & 0xFFFFFFFFu);
    }

    static uint64_t mix(uint64_t hash, uint64_t word) {
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        return hash ^ (hash >> 29);
    }

    std::vector<Slot> mSlots;
};
