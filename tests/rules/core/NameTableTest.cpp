#include "rules/core/NameTable.h"

#include <gtest/gtest.h>

#include <span>
#include <string_view>

namespace {

TEST(NameTableTest, TheHashedIndexAnswersAsTheSearchDoes) {
    // Equal names but for case (the first wins), an empty entry, names of
    // one length that differ in a byte, and names of every length class
    // holding bytes whose case bit is not a letter's ('@' and '`', '[' and
    // '{', 0xC1 and 0xE1), which only compare exactly.
    constexpr std::string_view names[] = {
        "Alpha", "beta",          "ALPHA", "",     "Gamma",           "Gammb",
        "a-1",   "UpgradeWeapon", "@[",    "Zap@", "Attack@Melee[1]", "x\xC1y\xC1zzzzz"};
    const NoCaseNameIndex index(names);
    const std::string_view equalButCase[] = {
        "alpha",          "ALPHA", "A-1",           "Beta", "",
        "GAMMA",          "gammb", "upgradeweapon", "zAP@", "attack@melee[1]",
        "X\xC1Y\xC1ZZZZZ"};
    const std::string_view unequal[] = {"gammc",
                                        "a_1",
                                        "alph",
                                        "alphaa",
                                        "UPGRADEWEAPOM",
                                        "`{",
                                        "@{",
                                        "ZAP`",
                                        "ATTACK`MELEE[1]",
                                        "attack@melee{1}",
                                        "x\xE1y\xC1zzzzz",
                                        "x\xC1y\xE1zzzzz"};
    for (const auto& probes : {std::span<const std::string_view>(equalButCase),
                               std::span<const std::string_view>(unequal)})
        for (const std::string_view probe : probes)
            EXPECT_EQ(index.find(probe), findNameNoCase(names, probe)) << probe;
    for (const std::string_view probe : unequal)
        EXPECT_EQ(index.find(probe), -1) << probe;
    EXPECT_EQ(index.find("alpha"), 0);
    EXPECT_EQ(index.find(""), 3);
    EXPECT_EQ(index.find("delta"), -1);

    const NoCaseNameIndex empty({});
    EXPECT_EQ(empty.find("alpha"), -1);
}

} // namespace
