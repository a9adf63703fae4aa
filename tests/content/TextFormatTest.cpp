#include "content/TextFormat.h"

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
        {"%n %p %c %*d %", {1, 2, 3, 4}, "%n %p %c %*d %"},
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
