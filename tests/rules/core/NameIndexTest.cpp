#include "rules/core/NameIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Names of every length from empty to past three words, names that differ
// from another in one byte (at its start, middle or end), many names of a
// common pattern and a name given twice: each is found by its exact bytes,
// a repeated name gives its first entry, and names not indexed give none.
TEST(NameIndexTest, FindsEveryNameByItsExactBytesWhateverItsLength) {
    std::vector<std::string> names;
    for (size_t length = 0; length <= 26; ++length) {
        std::string name(length, ' ');
        for (size_t i = 0; i < length; ++i)
            name[i] = static_cast<char>('a' + (i * 7) % 26);
        names.push_back(name);
        for (size_t at = 0; at < length; at += (length + 1) / 2) {
            names.push_back(name);
            names.back()[at] = 'Z';
        }
    }
    for (int i = 0; i < 3000; ++i)
        names.push_back("proto" + std::to_string(i));
    names.push_back("proto7");
    std::vector<NameIndex<int>::Entry> entries;
    for (size_t i = 0; i < names.size(); ++i)
        entries.push_back({names[i], static_cast<int>(i)});
    const NameIndex<int> index(entries);

    for (size_t i = 0; i < names.size(); ++i) {
        const auto* found = index.find(names[i]);
        ASSERT_NE(found, nullptr) << names[i];
        EXPECT_EQ(names[static_cast<size_t>(found->value)], names[i]);
        EXPECT_LE(found->value, static_cast<int>(i)) << names[i];
    }
    EXPECT_LT(index.find("proto7")->value, static_cast<int>(names.size() - 1));
    for (const char* missing : {"proto3000", "Proto1", "proto", "ahoZ", "zzzzzzzzzzzzzzzzz"})
        EXPECT_EQ(index.find(missing), nullptr) << missing;
    EXPECT_EQ(NameIndex<int>().find("a"), nullptr);
}

} // namespace
