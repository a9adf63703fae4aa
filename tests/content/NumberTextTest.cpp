#include "content/NumberText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

// The text readers take their shortcuts only where the C conversions would
// give the same value: every text below reads as strtoll and strtod read it,
// errno included.
TEST(NumberTextTest, ReadsAsTheCConversions) {
    const std::string texts[] = {
        "0",
        "7",
        "-7",
        "007",
        "-0",
        "+5",
        " 5",
        "5x",
        "",
        "-",
        "--1",
        "1.",
        ".5",
        "-.5",
        "0.1",
        "-2.5",
        "1.5e3",
        "2.5e",
        "12px",
        "1,5",
        "0x1F",
        "inf",
        "nan",
        "123456789012345678",
        "-123456789012345678",
        "1234567890123456789",
        "9223372036854775807",
        "9223372036854775808",
        "-9223372036854775809",
        "3.14159265358979323846",
        "0.000000000000000000001",
        "123456789012.12345678901",
        "1234567890123456789012.5",
        "99999999999999999999999",
        "1e400",
        "1e-400",
        std::string(80, '9'),
        "1." + std::string(70, '3'),
    };
    for (const std::string& text : texts) {
        errno = 0;
        const long long integer = std::strtoll(text.c_str(), nullptr, 10);
        const int integerErrno = errno;
        errno = 0;
        EXPECT_EQ(strtollText(text), integer) << text;
        EXPECT_EQ(errno, integerErrno) << text;

        errno = 0;
        const double real = std::strtod(text.c_str(), nullptr);
        const int realErrno = errno;
        errno = 0;
        const double read = strtodText(text);
        EXPECT_EQ(errno, realErrno) << text;
        if (std::isnan(real))
            EXPECT_TRUE(std::isnan(read)) << text;
        else
            EXPECT_EQ(read, real) << text;
        EXPECT_EQ(std::signbit(read), std::signbit(real)) << text;
    }
    // Decimal fractions of every length the shortcut takes, rounded alike.
    uint64_t seed = 12345;
    const auto digits = [&seed](size_t count) {
        std::string text;
        for (size_t i = 0; i < count; ++i) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            text += static_cast<char>('0' + (seed >> 33) % 10);
        }
        return text;
    };
    for (size_t whole = 1; whole <= 12; ++whole)
        for (size_t fraction = 1; whole + fraction <= 23; ++fraction)
            for (int round = 0; round < 40; ++round) {
                const std::string text =
                    (round % 2 ? "-" : "") + digits(whole) + "." + digits(fraction);
                EXPECT_EQ(strtodText(text), std::strtod(text.c_str(), nullptr)) << text;
            }
    // A text need not end where the view does.
    EXPECT_EQ(strtollText(std::string_view("123", 2)), 12);
    EXPECT_EQ(strtodText(std::string_view("0.25", 3)), 0.2);
}
