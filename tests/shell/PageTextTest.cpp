#include "PageScript.h"

#include "shell/PageText.h"

#include <gtest/gtest.h>

TEST(PageText, EveryTextArrivesInThePageAsTheSameString) {
    const std::string cases[] = {
        "plain",
        "it's \"quoted\" and back\\slashed",
        "ends with a backslash\\",
        "lines\nand\rtabs\t, a bell \x07 and a delete \x7f",
        "</script><script>alert(1)</script>",
        "separators \xe2\x80\xa8 and \xe2\x80\xa9",
        "umlauts \xc3\xa4\xc3\xb6 and an emoji \xf0\x9f\x98\x80",
        "",
    };
    for (const std::string& text : cases) {
        PageScript page;
        for (const char quote : {'\'', '"'}) {
            const std::string statement =
                std::string("keep(") + quote + escapedForPage(text) + quote + ");";
            ASSERT_TRUE(page.run(statement)) << statement;
        }
        EXPECT_EQ(page.text("received[0]"), text);
        EXPECT_EQ(page.text("received[1]"), text);
        EXPECT_EQ(page.text("received.length"), "2");
    }
}

TEST(PageText, EscapesInPlace) {
    std::string text = "a'b\"c</d";
    escapeQuotesForPage(text);
    EXPECT_EQ(text, "a\\'b\\\"c<\\/d");
}
