#pragma once

// Lookup in a fixed table of names, as the data files' enumeration words are
// read: whole names, first match wins; ASCII letter case ignored or exact.

#include "rules/core/NameIndex.h"

#include <cstdint>
#include <span>
#include <string_view>

// The position of name in names, or -1.
int32_t findNameNoCase(std::span<const std::string_view> names, std::string_view name);
// The position of name in names compared exactly (with case), or -1. An empty
// entry stands for a value without a name and matches nothing.
int32_t findNameExact(std::span<const std::string_view> names, std::string_view name);

// findNameNoCase over a fixed table through a hash of its names, for tables
// read for every record of a data file. The names must outlive the index.
class NoCaseNameIndex {
public:
    explicit NoCaseNameIndex(std::span<const std::string_view> names);
    // The same answer as findNameNoCase(names, name).
    int32_t find(std::string_view name) const;

private:
    NameIndex<int32_t, NameCase::Ignored> mIndex;
};
