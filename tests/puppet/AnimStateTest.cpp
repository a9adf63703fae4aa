#include "puppet/AnimState.h"

#include <gtest/gtest.h>

TEST(AnimStateTest, StateNamesMatchWholeNamesIgnoringCase) {
    const struct {
        const char* name;
        int32_t state;
    } cases[] = {
        {"Idle", 0},
        {"idle", 0},
        {"Idle2", 37},
        {"IDLETILERACK", 51},
        {"KnockedOutIdle", 20},
        {"Ability", 22},
        {"Play", 30},
        {"Defeated5", 46},
        {"Defeated55", -1},
        {"Idle ", -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(animStateFromName(c.name), c.state) << c.name;
}

TEST(AnimStateTest, PartSlotNames) {
    const struct {
        const char* name;
        int32_t slot;
    } cases[] = {
        {"Shadow", 0}, {"mainhand", 1}, {"Eyes", 10}, {"01", 11}, {"15", 25},
        {"1", -1},     {"16", -1},      {"00", -1},   {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(puppetPartSlotFromName(c.name), c.slot) << c.name;
}

TEST(AnimStateTest, EveryNameFindsItsOwnIndex) {
    for (int32_t i = 0; i < cAnimStateCount; ++i)
        EXPECT_EQ(animStateFromName(cAnimStateNames[i]), i);
    for (int32_t i = 0; i < cPartSlotCount; ++i)
        EXPECT_EQ(puppetPartSlotFromName(cPartSlotNames[i]), i);
}
