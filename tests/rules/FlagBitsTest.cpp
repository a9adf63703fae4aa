#include "rules/FlagBits.h"

#include <gtest/gtest.h>

#include <vector>

// Each run of resizes and sets, done alike on a FlagBits and a vector<bool>,
// across the inline words' edge: the two hold the same flags after every step.
TEST(FlagBitsTest, FollowsVectorOfBoolAcrossTheInlineEdge) {
    struct Step {
        size_t size;
        bool value;
        size_t set; // a flag set after the resize, when inside the size
    };
    const std::vector<std::vector<Step>> runs = {
        {{20, false, 3}, {2, true, 1}, {20, true, 19}, {0, false, 0}},
        {{64, true, 0}, {65, false, 64}, {64, false, 63}, {63, true, 5}},
        {{10, true, 9}, {200, true, 150}, {130, false, 129}, {128, false, 70}, {1, false, 0}},
        {{300, false, 299}, {70, true, 69}, {0, true, 0}, {100, true, 99}},
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        FlagBits bits;
        std::vector<bool> expected;
        for (const Step& step : runs[r]) {
            bits.resize(step.size, step.value);
            expected.resize(step.size, step.value);
            if (step.set < step.size) {
                bits[step.set] = true;
                expected[step.set] = true;
            }
            ASSERT_EQ(bits, expected) << "run " << r << " size " << step.size;
            ASSERT_EQ(bits, FlagBits(expected)) << "run " << r << " size " << step.size;
            ASSERT_EQ(std::vector<bool>(bits), expected) << "run " << r;
        }
        bits.assign(runs[r].front().size + 60, true);
        expected.assign(runs[r].front().size + 60, true);
        EXPECT_EQ(bits, expected) << "run " << r;
    }
}
