#include "rules/core/NameTable.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(NameTableTest, TheHashedIndexAnswersAsTheSearchDoes) {
    // Equal names but for case (the first wins), an empty entry, and names
    // of one length that differ in a byte.
    constexpr std::string_view names[] = {"Alpha", "beta",  "ALPHA", "",
                                          "Gamma", "Gammb", "a-1",   "UpgradeWeapon"};
    const NoCaseNameIndex index(names);
    const std::string_view probes[] = {"alpha", "ALPHA", "Beta", "",     "GAMMA", "gammb",
                                       "gammc", "A-1",   "a_1",  "alph", "alphaa", "upgradeweapon", "UPGRADEWEAPOM"};
    for (const std::string_view probe : probes)
        EXPECT_EQ(index.find(probe), findNameNoCase(names, probe)) << probe;
    EXPECT_EQ(index.find("alpha"), 0);
    EXPECT_EQ(index.find(""), 3);
    EXPECT_EQ(index.find("delta"), -1);

    const NoCaseNameIndex empty({});
    EXPECT_EQ(empty.find("alpha"), -1);
}

} // namespace
