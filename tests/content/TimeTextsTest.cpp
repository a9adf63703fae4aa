#include "content/TimeTexts.h"

#include <gtest/gtest.h>

TEST(TimeTexts, ServerTimeIsReadAsUtc) {
    struct Case {
        const char* text;
        bool reads;
        int64_t seconds;
    };
    const Case cases[] = {
        {"2012-07-01 13:05:09", true, 1341147909},
        {"1970-01-01 00:00:00", true, 0},
        {"1969-12-31 23:59:59", true, -1},
        {" 2012-7-1   13:5:9 trailing", true, 1341147909},
        {"2012-13-01 00:00:00", true, 1356998400}, // carries into 2013-01-01
        {"2012-07-01", false, 0},
        {"2012-07-01T13:05:09", false, 0},
        {"", false, 0},
        {"99999999999-01-01 00:00:00", false, 0},
    };
    for (const Case& c : cases) {
        int64_t out = 42;
        EXPECT_EQ(parseServerTime(c.text, out), c.reads) << c.text;
        EXPECT_EQ(out, c.reads ? c.seconds : 42) << c.text;
    }
}

TEST(TimeTexts, ClockNeverGoesBack) {
    double last = currentTimeSeconds();
    for (int i = 0; i < 1000; ++i) {
        const double now = currentTimeSeconds();
        EXPECT_GE(now, last);
        last = now;
    }
}
