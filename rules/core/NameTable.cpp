#include "rules/core/NameTable.h"

#include <vector>

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

NoCaseNameIndex::NoCaseNameIndex(std::span<const std::string_view> names) {
    std::vector<NameIndex<int32_t, NameCase::Ignored>::Entry> entries;
    entries.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        entries.push_back({names[i], static_cast<int32_t>(i)});
    mIndex.assign(entries);
}

int32_t NoCaseNameIndex::find(std::string_view name) const {
    const auto* found = mIndex.find(name);
    return found ? found->value : -1;
}
