#include "rules/core/NameTable.h"

#include <cstring>

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters compare without case; other bytes exactly (no locale).
bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

uint64_t mix(uint64_t hash, uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

// A hash of name in whole words with every byte's case bit set, so that
// names equal but for letter case hash alike (the comparison after it tells
// the bytes the bit merges apart); never 0.
uint64_t noCaseHash(std::string_view name) {
    constexpr uint64_t cCaseBits = 0x2020202020202020ull;
    const char* p = name.data();
    size_t size = name.size();
    uint64_t hash = size * 0xC2B2AE3D27D4EB4Full;
    for (; size >= 8; p += 8, size -= 8) {
        uint64_t word = 0;
        std::memcpy(&word, p, 8);
        hash = mix(hash, word | cCaseBits);
    }
    uint64_t tail = 0;
    for (size_t i = 0; i < size; ++i)
        tail |= static_cast<uint64_t>(static_cast<unsigned char>(p[i]) | 0x20) << (8 * i);
    return mix(hash, tail) | 1;
}

} // namespace

int32_t findNameNoCase(std::span<const std::string_view> names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (equalNoCase(names[i], name))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t findNameExact(std::span<const std::string_view> names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty() && names[i] == name)
            return static_cast<int32_t>(i);
    return -1;
}

NoCaseNameIndex::NoCaseNameIndex(std::span<const std::string_view> names) : mNames(names) {
    size_t size = 8;
    while (size < names.size() * 2)
        size *= 2;
    mSlots.resize(size);
    for (size_t i = 0; i < names.size(); ++i) {
        const uint64_t hash = noCaseHash(names[i]);
        Slot& slot = mSlots[probe(hash, names[i])];
        if (slot.hash == 0) // the first of equal names wins
            slot = {hash, static_cast<int32_t>(i)};
    }
}

size_t NoCaseNameIndex::probe(uint64_t hash, std::string_view name) const {
    const size_t mask = mSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = mSlots[i];
        if (slot.hash == 0 || (slot.hash == hash && equalNoCase(mNames[slot.position], name)))
            return i;
    }
}

int32_t NoCaseNameIndex::find(std::string_view name) const {
    return mSlots[probe(noCaseHash(name), name)].position;
}
