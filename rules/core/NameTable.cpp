#include "rules/core/NameTable.h"

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

// FNV-1a over the lowered bytes; never 0.
uint64_t noCaseHash(std::string_view name) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(asciiLower(c))) * 0x100000001B3ull;
    return hash | 1;
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
