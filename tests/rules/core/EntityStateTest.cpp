#include "rules/core/EntityState.h"

#include <gtest/gtest.h>

TEST(EntityStateTest, StateNamesIgnoreCaseAndMatchWholeNames) {
    const struct {
        const char* name;
        int32_t state;
    } cases[] = {
        {"InTileChest", cStateInTileChest},
        {"knockedout", cStateKnockedOut},
        {"DEAD", cStateDead},
        {"Knocked Out", -1},
        {"KnockedOut2", -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entityStateFromName(c.name), c.state) << c.name;
}

TEST(EntityStateTest, ActionTypeNamesIgnoreCase) {
    const struct {
        const char* name;
        int32_t type;
    } cases[] = {
        {"Return", cActionReturn}, {"CASTPOWER", cActionCastPower},
        {"swap", cActionSwap},     {"Cast Power", -1},
        {"UseItems", -1},          {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(actionTypeFromName(c.name), c.type) << c.name;
}

TEST(EntityStateTest, TablesRoundTripEveryValue) {
    for (int32_t i = 0; i < cEntityStateCount; ++i)
        EXPECT_EQ(entityStateFromName(cEntityStateNames[i]), i);
    for (int32_t i = 0; i < cActionTypeCount; ++i)
        EXPECT_EQ(actionTypeFromName(cActionTypeNames[i]), i);
}
