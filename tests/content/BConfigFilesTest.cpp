#include "content/BConfig.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Expected {
    const char* name;
    int32_t type;
    const char* text; // value as text
};

void expectRecord(const BConfig& config, const Expected& expected) {
    const OptionValue* record = config.findValue(expected.name, false);
    ASSERT_NE(record, nullptr) << expected.name;
    EXPECT_EQ(record->type, expected.type) << expected.name;
    std::string text;
    BConfig::valueToString(*record, text);
    EXPECT_EQ(text, expected.text) << expected.name;
}

const std::string cFixtures = TARNWICK_FIXTURES_DIR "/content/options/";

} // namespace

TEST(BConfigParseLine, LinesAndTheRecordsTheyGive) {
    struct Case {
        const char* line;
        Expected expected;
    };
    const Case cases[] = {
        {"Sound", {"Sound", cOptionDefined, ""}},
        {"+Sound", {"Sound", cOptionDefined, ""}},
        {"   Sound", {"Sound", cOptionDefined, ""}},
        {"Sound\n", {"Sound", cOptionDefined, ""}},
        {"Sound\r\n", {"Sound", cOptionDefined, ""}},
        {"Sound=", {"Sound", cOptionDefined, ""}},
        {"SoundPanFactor=0.75", {"SoundPanFactor", cOptionFloat, "0.75"}},
        {"SoundPanFactor 0.75", {"SoundPanFactor", cOptionFloat, "0.75"}},
        {"BackgroundFPSCap 15", {"BackgroundFPSCap", cOptionInt, "15"}},
        {"Size=5", {"Size", cOptionInt, "5"}},
        {"Size 5", {"Size", cOptionInt, "5"}},
        {"Size = 5", {"Size", cOptionInt, "5"}},
        {"  Size 5", {"Size", cOptionInt, "5"}},
        {"Size  5", {"Size", cOptionInt, "5"}},
        {"Offset -3", {"Offset", cOptionInt, "-3"}},
        {"Offset +4", {"Offset", cOptionInt, "4"}},
        {"Ratio 1.0.2", {"Ratio", cOptionFloat, "1"}},
        {"Count 12abc", {"Count", cOptionInt, "12"}},
        {"Count -", {"Count", cOptionInt, "0"}},
        {"Name .5", {"Name", cOptionString, ".5"}},
        {"Name \"two words\" trailing", {"Name", cOptionString, "two words"}},
        {"Name \"unclosed text", {"Name", cOptionString, "unclosed text"}},
        {"Name \"a \"quoted\" word\"", {"Name", cOptionString, "a \"quoted\" word"}},
        {"DetailsFont \"Tarnwick Sans\"", {"DetailsFont", cOptionString, "Tarnwick Sans"}},
        {"LanguageDirectory vellix\\de.lproj",
         {"LanguageDirectory", cOptionString, "vellix\\de.lproj"}},
        {"Title a b c ", {"Title", cOptionString, "a b c "}},
        {"+Two words", {"Two words", cOptionDefined, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BConfig config;
        std::string name;
        EXPECT_TRUE(config.parseLine(c.line, &name));
        EXPECT_EQ(name, c.expected.name);
        expectRecord(config, c.expected);
        EXPECT_EQ(config.values().size(), 1u);
    }
}

TEST(BConfigParseLine, CommentsAndEmptyLinesApplyNothing) {
    for (const char* line : {"", "\n", "\r\n", "// Sound", "//", "   ", "==="}) {
        SCOPED_TRACE(line);
        BConfig config;
        std::string name = "untouched";
        EXPECT_FALSE(config.parseLine(line, &name));
        EXPECT_EQ(name, "untouched");
        EXPECT_TRUE(config.values().empty());
    }
}

TEST(BConfigParseLine, MinusUnsetsTheRestOfTheLine) {
    BConfig config;
    config.define("Sound");
    std::string name;
    EXPECT_TRUE(config.parseLine("-Sound", &name));
    EXPECT_EQ(name, "Sound");
    EXPECT_FALSE(config.isSet("Sound"));
}

TEST(BConfigParseLine, QuotedValueIsLimitedTo511Characters) {
    BConfig config;
    const std::string longText(600, 'x');
    config.parseLine("Name \"" + longText + "\"", nullptr);
    EXPECT_EQ(config.findValue("Name", false)->stringValue, std::string(511, 'x'));
}

TEST(BConfigLoadFile, AppliesTheFileAtItsLevelAndRestoresTheLevel) {
    BConfig config;
    config.setCurrentLevel(2);
    ASSERT_EQ(config.loadFile(cFixtures + "syntax.cfg", 4), 0);
    EXPECT_EQ(config.currentLevel(), 2);

    const Expected set[] = {
        {"Sound", cOptionDefined, ""},
        {"SoundPanFactor", cOptionFloat, "0.75"},
        {"BackgroundFPSCap", cOptionInt, "15"},
        {"DetailsFont", cOptionString, "Tarnwick Sans"},
        {"Indented", cOptionDefined, ""},
        {"AfterCR", cOptionInt, "7"},
        {"InlineMarkers", cOptionString, "/* not a comment */"},
        {"AfterBlocks", cOptionDefined, ""},
    };
    for (const Expected& e : set)
        expectRecord(config, e);
    EXPECT_EQ(config.findValue("Sound", false)->level, 4);

    for (const char* hidden : {"Music", "InBlock", "Nested", "StillInOuterBlock", "ShowFPS",
                               "Garbage"})
        EXPECT_FALSE(config.isSet(hidden)) << hidden;
    EXPECT_TRUE(config.findValue("Music", true) != nullptr) << "Music was defined, then unset";
}

TEST(BConfigLoadFile, LongLinesAreReadAsSeveralLines) {
    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / ("tarnwick_long_line-" + std::to_string(getpid()) + ".cfg");
    {
        std::ofstream out(path);
        // 1023 characters make one read; the rest of the line is a line of its own.
        out << "First " << std::string(1017, 'a') << "Second 2\n";
    }
    BConfig config;
    ASSERT_EQ(config.loadFile(path.string(), 1), 0);
    EXPECT_EQ(config.findValue("First", false)->stringValue, std::string(1017, 'a'));
    expectRecord(config, {"Second", cOptionInt, "2"});
    std::filesystem::remove(path);
}

TEST(BConfigLoadFile, MissingFileChangesNothing) {
    BConfig config;
    config.setCurrentLevel(3);
    EXPECT_NE(config.loadFile(cFixtures + "no-such-file.cfg", 1), 0);
    EXPECT_EQ(config.currentLevel(), 3);
    EXPECT_TRUE(config.values().empty());
}

TEST(BConfigOptionText, SignsSetsAndBareWords) {
    BConfig config;
    config.define("Sound");
    config.parseOptionString("+ShowFPS -Sound SoundPanFactor=0.25 Music");
    EXPECT_TRUE(config.isSet("ShowFPS"));
    EXPECT_FALSE(config.isSet("Sound"));
    expectRecord(config, {"SoundPanFactor", cOptionFloat, "0.25"});
    EXPECT_EQ(config.findValue("Music", true), nullptr);
}

TEST(BConfigOptionText, SplitsAtBlanksAndLineEndsButNotTabs) {
    BConfig config;
    config.parseOptionString("A=1\r\nB=2\n\nC=x\ty");
    expectRecord(config, {"A", cOptionInt, "1"});
    expectRecord(config, {"B", cOptionInt, "2"});
    expectRecord(config, {"C", cOptionString, "x\ty"});
}

TEST(BConfigOptionText, AppliesOnlyTheFirst64Words) {
    std::string text;
    for (int i = 0; i < 70; ++i)
        text += "+W" + std::to_string(i) + " ";
    BConfig config;
    config.parseOptionString(text);
    EXPECT_TRUE(config.isSet("W63"));
    EXPECT_FALSE(config.isSet("W64"));
    EXPECT_EQ(config.values().size(), 64u);
}

TEST(BConfigOptionText, TextBeyond2047CharactersIsIgnored) {
    BConfig config;
    config.parseOptionString(std::string(2040, ' ') + "Late=12345");
    expectRecord(config, {"Late", cOptionInt, "12"});
}

TEST(BConfigOptionText, AppliesAtTheCurrentLevel) {
    BConfig config;
    config.setCurrentLevel(0);
    config.parseOptionString("SubmitTurnVersion=3");
    EXPECT_EQ(config.findValue("SubmitTurnVersion", false)->level, 0);
}

TEST(BConfigOptionText, NumbersBeyondTheirTypeSaturate) {
    struct Case {
        const char* value;
        int32_t asInt;
        const char* asText; // the stored value as text
    };
    const Case cases[] = {
        {"3000000000.0", INT32_MAX, "3e+09"},
        {"-3000000000.0", INT32_MIN, "-3e+09"},
        {"+nan.", 0, "nan"},
        {"-nan.", 0, "-nan"},
        {"1e39.", INT32_MAX, "inf"},
        {"-2.9", -2, "-2.9"},
        {"4294967306", INT32_MAX, "2147483647"},
        {"-4294967306", INT32_MIN, "-2147483648"},
        {"99999999999999999999999", INT32_MAX, "2147483647"},
        {"-2147483648", INT32_MIN, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // The service's option text and an option file's line read alike.
        for (bool fromText : {true, false}) {
            BConfig config;
            const int32_t id = config.registerOption("Size", "", nullptr);
            if (fromText)
                config.parseOptionString(std::string("Size=") + c.value);
            else
                config.parseLine(std::string("Size ") + c.value, nullptr);
            int32_t number = 5;
            EXPECT_TRUE(config.getInt(id, number));
            EXPECT_EQ(number, c.asInt);
            std::string text;
            BConfig::valueToString(*config.valueById(id), text);
            EXPECT_EQ(text, c.asText);
        }
    }
}
