#include "shell/TimeTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// The texts in a fixed zone and the C locale.
class TimeTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        setenv("LC_ALL", "C", 1);
        tzset();
    }
};

// 2026-12-10 23:30 UTC, a Thursday; 00:30 on Friday 11 December in Berlin.
constexpr int64_t cLateThursdayUtc = 1796945400;

} // namespace

TEST_F(TimeTextsTest, AgeTexts) {
    const int64_t now = cLateThursdayUtc;
    const std::pair<double, const char*> cases[] = {
        {59, "Moments ago"},      {60, "About a minute ago"}, {95, "About a minute ago"},
        {96, "2 minutes ago"},    {3599, "60 minutes ago"},   {5759, "About an hour ago"},
        {5760, "2 hours ago"},    {138239, "A day ago"},      {138240, "2 days ago"},
        {2419199, "28 days ago"}, {-30, "Moments ago"},
    };
    for (const auto& [age, text] : cases)
        EXPECT_EQ(formatTimeAgo(now - int64_t(age), now), text) << age;
    EXPECT_EQ(formatTimeAgo(now - 2419200, now), formatLocalDate(now - 2419200));
}

TEST_F(TimeTextsTest, DateByAge) {
    const int64_t now = cLateThursdayUtc;
    EXPECT_EQ(formatDateByAge(now + 60, now), "12/11/26") << "a future time gives the date";
    EXPECT_EQ(formatDateByAge(now, now), "12/11/26");
    EXPECT_EQ(formatDateByAge(now - 3600, now), "23:30");
    EXPECT_EQ(formatDateByAge(now - 2 * 86400, now), "Wednesday");
    EXPECT_EQ(formatDateByAge(now - 7 * 86400, now), "12/04/26");
}

TEST_F(TimeTextsTest, TheWeekdayIsTheLocalDays) {
    EXPECT_EQ(formatLocalDayName(cLateThursdayUtc), "Friday");
    EXPECT_EQ(formatLocalTime(cLateThursdayUtc), "00:30");
    EXPECT_EQ(formatLocalDate(cLateThursdayUtc), "12/11/26");
}
