#include "content/LocalizedStrings.h"
#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "platform/engine/CCAutoreleasePool.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LocalizedStringsTest : public ::testing::Test {
protected:
    void TearDown() override {
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }

    static void loadLanguage(const char* folder) {
        setBaseFolder(TARNWICK_FIXTURES_DIR "/content/strings");
        BConfig::instance().setStringById(cOptLanguageDirectory, folder);
        loadLocalizableStrings();
    }
};

std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace

TEST_F(LocalizedStringsTest, ReadsTheLanguageFolderFile) {
    loadLanguage("lang.lproj");
    const LocalizedStringTable expected = {
        {"Twice", "y"},
        {"LineFeed", "one\ntwo"},
        {"Quoted", "say \"hi\" now"},
        {"Return", "a\rb"},
        {"Backslashes", "c:\\\\dir"},
        {"LineComment", "is read"},
        {"Umlaut", "Grüße, \U0001F409"},
        {"Won", "%@ won in %d turns"},
        {"Spaced", "tight"},
        {"Next", "loose"},
        {"AfterComment", "read"},
        {"Multi\nLine", "ok"},
    };
    EXPECT_EQ(localizedStrings(), expected);

    EXPECT_EQ(localizedString("Twice"), "y");
    EXPECT_EQ(localizedString("Commented"), "Commented");
    EXPECT_EQ(localizedStringOrDefault("Commented", ""), "");
    EXPECT_EQ(localizedStringOrDefault("Twice", "z"), "y");
}

TEST_F(LocalizedStringsTest, MissingFileGivesAnEmptyTable) {
    loadLanguage("lang.lproj");
    loadLanguage("missing.lproj");
    EXPECT_TRUE(localizedStrings().empty());
    EXPECT_EQ(localizedString("Twice"), "Twice");
}

TEST(LocalizedStringsParse, ScanRules) {
    struct Case {
        const char* text;
        LocalizedStringTable expected;
    };
    const Case cases[] = {
        {R"("a" = "x"; "a" = "y";)", {{"a", "y"}}},
        {R"(/* "a" = "x"; */ "b" = "y";)", {{"b", "y"}}},
        {R"(/* /* "a" = "x"; */ "b" = "y"; */)", {{"b", "y"}}},
        {R"("a" /* "no" */ = "x";)", {{"a", "x"}}},
        {R"("a\"b" = "\\n";)", {{"a\"b", "\\\n"}}},
        {R"("only a key")", {}},
        {R"("a" = "unclosed)", {}},
        {R"(/* never closed "a" = "x";)", {}},
        {R"("a" = "x\")", {}},
        {R"("" = "";)", {{"", ""}}},
    };
    for (const Case& c : cases) {
        LocalizedStringTable table;
        parseLocalizableStrings(c.text, table);
        EXPECT_EQ(table, c.expected) << c.text;
    }
    // Text that is not UTF-8 ends the scan without losing the pairs before it.
    LocalizedStringTable table;
    parseLocalizableStrings("\"a\" = \"x\"; \"\xFF\" = \"y\";", table);
    EXPECT_EQ(table, (LocalizedStringTable{{"a", "x"}}));
}

TEST(LocalizedStringsParse, Utf16ToUtf8) {
    EXPECT_EQ(utf16leToUtf8(utf16le(u"\uFEFF\"\u00FC\" = \"\U0001F409\";")),
              "\xEF\xBB\xBF\"\u00FC\" = \"\U0001F409\";");
    // Lone surrogates become U+FFFD; an odd last byte is ignored.
    EXPECT_EQ(utf16leToUtf8(utf16le(u"a") + std::string("\x00\xD8", 2) + utf16le(u"b") + "c"),
              "a\uFFFDb");
    EXPECT_EQ(utf16leToUtf8(std::string("\x00\xDC", 2)), "\uFFFD");
}

TEST_F(LocalizedStringsTest, FormatsTheTextOfAKey) {
    loadLanguage("lang.lproj");
    std::string out = "old";
    formatLocalized(out, "Won", "Mira", 7);
    EXPECT_EQ(out, "Mira won in 7 turns");
    formatLocalized(out, "Won", std::string("Mira"));
    EXPECT_EQ(out, "Mira won in %d turns");
    formatLocalized(out, "You were awarded %d taunts!", 3);
    EXPECT_EQ(out, "You were awarded 3 taunts!");
    // Every "%@" is replaced before formatting, even behind "%".
    formatLocalized(out, "100%% of %@", "it");
    EXPECT_EQ(out, "100% of it");
    formatLocalized(out, "100%%@", "it");
    EXPECT_EQ(out, "100%s");
}

TEST_F(LocalizedStringsTest, CStringsLiveInTheAutoreleasePoolUntilItDrains) {
    loadLanguage("lang.lproj");
    cocos2d::CCAutoreleasePool* pool =
        cocos2d::CCPoolManager::sharedPoolManager()->getCurrentPool();
    const size_t before = pool->count();
    const char* text = localizedCString("Twice");
    const char* missing = localizedCString("Nope");
    EXPECT_STREQ(text, "y");
    EXPECT_STREQ(missing, "Nope");
    EXPECT_EQ(pool->count(), before + 2);
    cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    EXPECT_EQ(pool->count(), 0u);
}
