#include "content/TextFormat.h"

#include "content/LocalizedStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TextFormat, ConversionsAndTheirArguments) {
    struct Case {
        const char* format;
        std::vector<FormatArg> args;
        const char* expected;
    };
    const Case cases[] = {
        {"%s won in %d turns", {"Mira", 7}, "Mira won in 7 turns"},
        {"%s won in %d turns", {"Mira"}, "Mira won in %d turns"},
        {"%d and %s", {"text", 5}, "%d and %s"},
        {"%d|%5d|%-4d|%+d|%03i", {1, 2, 3, 4, 5}, "1|    2|3   |+4|005"},
        {"%u %x %X %o", {7u, 255, 255u, 8}, "7 ff FF 10"},
        {"%d %u", {-1, 4000000000u}, "-1 4000000000"},
        {"%lld %ld %hd", {1LL, 2L, 3}, "1 2 3"},
        {"%.2f %g %e", {0.125, 0.5f, 100.0}, "0.12 0.5 1.000000e+02"},
        {"%f", {3}, "%f"},
        {"%-6s|%6s|%.2s|%S", {"ab", "cd", "efgh", "wide"}, "ab    |    cd|ef|wide"},
        {"100%%", {}, "100%"},
        {"%n %p %c %*d %", {1, 2, 'A', 4}, "%n %p A %*d %"},
        {"%5", {1}, "%5"},
        {"%.", {1}, "%."},
        {"%s", {static_cast<const char*>(nullptr)}, "(null)"},
        {"%s", {std::string_view("a\0b", 3)}, "a"},
        {"%99999999999999999999d", {1}, nullptr},
    };
    for (const Case& c : cases) {
        const std::string out = formatText(c.format, c.args);
        if (c.expected)
            EXPECT_EQ(out, c.expected) << c.format;
        else
            EXPECT_EQ(out.size(), cFormatBufferSize - 1) << c.format;
    }
}

TEST(TextFormat, LongResultsAreCutAtACharacter) {
    const std::string ascii(3000, 'a');
    EXPECT_TRUE(formatText("%s", std::vector<FormatArg>{ascii}) == ascii.substr(0, 2047));
    EXPECT_EQ(formatText(ascii, {}).size(), 2047u);

    std::string twoByte;
    for (int i = 0; i < 1500; ++i)
        twoByte += "\xC3\xBC"; // ü
    const std::string out = formatText("%s", std::vector<FormatArg>{twoByte});
    EXPECT_TRUE(out == twoByte.substr(0, 2046)) << out.size();
    EXPECT_TRUE(formatText("a" + twoByte, {}) == "a" + twoByte.substr(0, 2046));

    const std::string exact(2047, 'b');
    EXPECT_TRUE(formatText(exact, {}) == exact);
    EXPECT_TRUE(formatText(exact + "%d", std::vector<FormatArg>{1}) == exact);
}

namespace {

// The road a displayed text takes: a key without a text is its own format.
template <typename... Args> std::string formatted(std::string_view key, const Args&... args) {
    std::string out;
    formatLocalized(out, key, args...);
    return out;
}

} // namespace

TEST(TextFormat, IntegersConvertAtTheirOwnWidth) {
    EXPECT_EQ(formatted("%x %X %o %u", -1, -1, -1, -1),
              "ffffffff FFFFFFFF 37777777777 4294967295");
    EXPECT_EQ(formatted("%x %X %o %u", -1LL, -1LL, -1LL, -1LL),
              "ffffffffffffffff FFFFFFFFFFFFFFFF 1777777777777777777777 18446744073709551615");
    EXPECT_EQ(formatted("%x|%hx|%hhx", static_cast<int16_t>(-1), -1, -1), "ffffffff|ffff|ff");
    EXPECT_EQ(formatted("%#x %08X %d", 255u, 3000000000u, 4000000000u), "0xff B2D05E00 4000000000");
}

TEST(TextFormat, EveryDirectiveUsesUpItsArguments) {
    EXPECT_EQ(formatted("%*d|%s", 5, 42, "x"), "   42|x");
    EXPECT_EQ(formatted("%*d|%-*d|", -4, 7, 3, 8), "7   |8  |");
    EXPECT_EQ(formatted("%.*f %s", 2, 3.14159, "x"), "3.14 x");
    EXPECT_EQ(formatted("%.*s|%d", -1, "abc", 5), "abc|5") << "a negative precision is none";
    EXPECT_EQ(formatted("%*.*s|", 4u, 2, "abc"), "  ab|");
    EXPECT_EQ(formatted("%c%c%s", 'O', 'K', "!"), "OK!");
    EXPECT_EQ(formatted("%p %s", 1, "x"), "%p x");
    EXPECT_EQ(formatted("%n%d", 1, 2), "%n2");
    EXPECT_EQ(formatted("%*s %d", 2.5, "x", 3), "%*s 3") << "a width must be an integer";
    EXPECT_EQ(formatted("%c %d", "text", 3), "%c 3");
    EXPECT_EQ(formatted("%1$d %d", 5), "%1$d 5") << "no positional arguments";
    EXPECT_EQ(formatted("%qd %d", 1, 2), "%qd 2");
    EXPECT_EQ(formatted("%*d|%d", 2), "%*d|%d") << "too few arguments";
    EXPECT_EQ(formatted("%*d", 1000000000, 1).size(), cFormatBufferSize - 1);
    EXPECT_EQ(formatted("%.*f", 1000000000, 1.0).size(), cFormatBufferSize - 1);
}

TEST(TextFormat, CutBacksUpOverOneCharacterAtMost) {
    const std::string dragon = "\xF0\x9F\x90\x89"; // four bytes
    struct Case {
        std::string text;
        size_t kept;
    };
    const Case cases[] = {
        {std::string(2040, 'a') + std::string(10, '\x80'), 2047}, // stray continuation bytes
        {std::string(2044, 'a') + dragon, 2044},
        {std::string(2045, 'a') + dragon, 2045},
        {std::string(2046, 'a') + dragon, 2046},
        {std::string(2043, 'a') + dragon + "bb", 2047},
        {std::string(2047, 'a') + dragon, 2047},
    };
    for (const Case& c : cases) {
        const std::string out = formatted(c.text);
        EXPECT_EQ(out.size(), c.kept);
        EXPECT_TRUE(out == c.text.substr(0, c.kept));
    }
}
