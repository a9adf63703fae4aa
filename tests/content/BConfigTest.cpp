#include "content/BConfig.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int32_t, bool>> gCalls;

void recordCall(int32_t id, bool set) { gCalls.emplace_back(id, set); }

class BConfigTest : public ::testing::Test {
protected:
    void SetUp() override { gCalls.clear(); }

    BConfig config;
};

} // namespace

TEST_F(BConfigTest, ConstructionLeavesLevelsAndNotificationOffAndBindingOn) {
    EXPECT_FALSE(config.respectLevels());
    EXPECT_FALSE(config.notifyChanges());
    EXPECT_TRUE(config.bindDescriptors());
    EXPECT_EQ(config.currentLevel(), 0);
    EXPECT_TRUE(config.values().empty());
}

TEST_F(BConfigTest, NamesIgnoreLetterCaseAndKeepTheFirstSpelling) {
    config.setInt("Sound", 1);
    config.setInt("SOUND", 2);
    config.define("sOuNd");
    ASSERT_EQ(config.values().size(), 1u);
    EXPECT_EQ(config.values()[0].name, "Sound");
    EXPECT_EQ(config.values()[0].intValue, 2);
    EXPECT_TRUE(config.isSet("sound"));
}

TEST_F(BConfigTest, ReadersConvertBetweenTypes) {
    const int32_t id = config.registerOption("Value", "", nullptr);
    struct Case {
        const char* what;
        void (*store)(BConfig&);
        int32_t asInt;
        float asFloat;
        const char* asText;
    };
    const Case cases[] = {
        {"float truncates toward zero", [](BConfig& c) { c.setFloat("Value", -2.75f); }, -2,
         -2.75f, "-2.75"},
        {"float 10 prints without zeros", [](BConfig& c) { c.setFloat("Value", 10.0f); }, 10,
         10.0f, "10"},
        {"float 0.5", [](BConfig& c) { c.setFloat("Value", 0.5f); }, 0, 0.5f, "0.5"},
        {"int", [](BConfig& c) { c.setInt("Value", 42); }, 42, 42.0f, "42"},
        {"one-character string reads as its code", [](BConfig& c) { c.setString("Value", "5"); },
         53, 53.0f, "5"},
        {"empty string reads as 0", [](BConfig& c) { c.setString("Value", ""); }, 0, 0.0f, ""},
        {"high character is signed", [](BConfig& c) { c.setString("Value", "\xE9t"); }, -23,
         -23.0f, "\xE9t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.store(config);
        int32_t i = 999;
        float f = 999.0f;
        float byName = 999.0f;
        std::string text;
        EXPECT_TRUE(config.getInt(id, i));
        EXPECT_TRUE(config.getFloat(id, f));
        EXPECT_TRUE(config.getFloatByName("value", byName));
        BConfig::valueToString(*config.valueById(id), text);
        EXPECT_EQ(i, c.asInt);
        EXPECT_FLOAT_EQ(f, c.asFloat);
        EXPECT_FLOAT_EQ(byName, c.asFloat);
        EXPECT_EQ(text, c.asText);
    }
}

TEST_F(BConfigTest, SettingOneNumberZeroesTheOtherAndKeepsTheString) {
    config.setString("A", "text");
    config.setFloat("A", 1.5f);
    const OptionValue& a = *config.findValue("A", false);
    EXPECT_EQ(a.type, cOptionFloat);
    EXPECT_EQ(a.intValue, 0);
    EXPECT_EQ(a.stringValue, "text");
    config.setInt("A", 3);
    EXPECT_EQ(a.floatValue, 0.0f);
    config.setString("A", "again");
    EXPECT_EQ(a.intValue, 0);
}

TEST_F(BConfigTest, DefinedOptionWithoutValueKeepsTheCallersDefault) {
    const int32_t id = config.registerOption("Flagged", "", nullptr);
    config.define("Flagged");
    int32_t value = 7;
    EXPECT_TRUE(config.getInt(id, value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(config.isSetById(id));
    EXPECT_EQ(config.stringById(id, "fallback"), "");
}

TEST_F(BConfigTest, UnsetOptionReadsNothing) {
    const int32_t id = config.registerOption("Gone", "", nullptr);
    int32_t value = 7;
    float f = 1.0f;
    EXPECT_FALSE(config.getInt(id, value));
    config.setInt("Gone", 3);
    EXPECT_TRUE(config.unset("Gone"));
    EXPECT_FALSE(config.getInt(id, value));
    EXPECT_FALSE(config.getFloatByName("Gone", f));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(f, 1.0f);
    EXPECT_FALSE(config.isSetById(id));
    EXPECT_EQ(config.stringById(id, "fallback"), "fallback");
}

TEST_F(BConfigTest, UnsetOfAnUnknownNameSucceedsAndCreatesNothing) {
    EXPECT_TRUE(config.unset("Nothing"));
    EXPECT_TRUE(config.values().empty());
    EXPECT_FALSE(config.isSet("Nothing"));
}

TEST_F(BConfigTest, DefineAfterUnsetBringsTheOldValueBack) {
    config.setInt("Size", 5);
    config.unset("Size");
    EXPECT_EQ(config.findValue("Size", false), nullptr);
    ASSERT_NE(config.findValue("Size", true), nullptr);
    config.define("Size");
    const OptionValue* size = config.findValue("Size", false);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->type, cOptionInt);
    EXPECT_EQ(size->intValue, 5);
}

TEST_F(BConfigTest, ChangesStampTheCurrentLevel) {
    config.setCurrentLevel(4);
    config.setInt("A", 1);
    EXPECT_EQ(config.findValue("A", false)->level, 4);
    config.setCurrentLevel(1);
    config.unset("A");
    EXPECT_EQ(config.findValue("A", true)->level, 1);
}

TEST_F(BConfigTest, RespectedLevelsRefuseChangesFromBelow) {
    const int32_t id = config.registerOption("A", "", recordCall);
    config.setNotifyChanges(true);
    config.setRespectLevels(true);
    config.setCurrentLevel(4);
    config.setInt("A", 4);
    gCalls.clear();

    config.setCurrentLevel(1);
    config.setInt("A", 1);
    config.setIntById(id, 1);
    config.define("A");
    EXPECT_FALSE(config.unset("A"));
    EXPECT_FALSE(config.unsetById(id));
    EXPECT_EQ(config.findValue("A", false)->intValue, 4);
    EXPECT_EQ(config.findValue("A", false)->level, 4);
    EXPECT_TRUE(gCalls.empty());

    config.setCurrentLevel(4);
    config.setInt("A", 5);
    EXPECT_EQ(config.findValue("A", false)->intValue, 5);
}

TEST_F(BConfigTest, CallbacksRunOnlyWhileNotificationIsOn) {
    const int32_t id = config.registerOption("Sound", "", recordCall);
    config.define("Sound");
    EXPECT_TRUE(gCalls.empty());

    config.setNotifyChanges(true);
    config.define("Sound");
    config.setIntById(id, 1);
    config.unset("Sound");
    config.defineById(id);
    config.unsetById(id);
    const std::vector<std::pair<int32_t, bool>> expected = {
        {id, true}, {id, true}, {id, false}, {id, true}, {id, false}};
    EXPECT_EQ(gCalls, expected);
}

TEST_F(BConfigTest, ByIdCreatesARecordNamedAfterTheDescriptor) {
    config.registerOption("Other", "", nullptr);
    const int32_t id = config.registerOption("BackgroundFPSCap", "cap", nullptr);
    EXPECT_EQ(id, 1);
    config.setIntById(id, 15);
    const OptionValue* record = config.findValue("backgroundfpscap", false);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->name, "BackgroundFPSCap");
    EXPECT_EQ(record->descIndex, id);
    EXPECT_EQ(config.descriptor(id)->valueIndex, record->index);
    EXPECT_TRUE(config.isSetById(id));
}

TEST_F(BConfigTest, IdsOutsideTheTableDoNothing) {
    config.registerOption("A", "", nullptr);
    for (int32_t id : {-1, 1, 100}) {
        config.setIntById(id, 3);
        config.defineById(id);
        config.setFlagById(id, 1);
        EXPECT_FALSE(config.unsetById(id));
        EXPECT_FALSE(config.isSetById(id));
        int32_t value = 9;
        EXPECT_FALSE(config.getInt(id, value));
    }
    EXPECT_TRUE(config.values().empty());
}

TEST_F(BConfigTest, ARecordMadeByNameBindsToItsDescriptor) {
    const int32_t id = config.registerOption("Music", "", nullptr);
    config.setFlags("Music", 0); // no record yet: nothing happens
    config.define("MUSIC");
    EXPECT_TRUE(config.isSetById(id));
    EXPECT_EQ(config.findValue("Music", false)->descIndex, id);
}

TEST_F(BConfigTest, ANameRegisteredTwiceBindsToTheFirstIdOnly) {
    const int32_t first = config.registerOption("A", "", nullptr);
    const int32_t second = config.registerOption("A", "", nullptr);
    EXPECT_NE(first, second);
    config.parseLine("A 1", nullptr);
    EXPECT_TRUE(config.isSetById(first));
    EXPECT_FALSE(config.isSetById(second));
}

TEST_F(BConfigTest, FlagOperations) {
    const int32_t id = config.registerOption("F", "", recordCall);
    config.setNotifyChanges(true);
    config.define("F");
    gCalls.clear();

    config.setFlag("F", 0);
    config.setFlagById(id, 5);
    config.setFlag("F", 32); // out of range: nothing
    EXPECT_EQ(config.findValue("F", false)->flags, 0x21u);
    config.clearFlag("f", 0);
    config.clearFlagById(id, 40);
    EXPECT_EQ(config.findValue("F", false)->flags, 0x20u);
    config.setFlagsById(id, 0x3u);
    EXPECT_EQ(config.findValue("F", false)->flags, 0x3u);

    // Setting the whole word to 8 marks the option unset, silently.
    config.setFlags("F", cOptionUnsetFlag);
    EXPECT_FALSE(config.isSet("F"));
    EXPECT_TRUE(gCalls.empty());
    // An unset record is left alone.
    config.setFlag("F", 1);
    config.setFlagById(id, 1);
    EXPECT_EQ(config.findValue("F", true)->flags, cOptionUnsetFlag);
}

TEST_F(BConfigTest, InitialFlagsAreCopiedIntoNewRecords) {
    const int32_t id = config.registerOption("Marked", "", nullptr);
    const_cast<OptionDesc*>(config.descriptor(id))->initialFlags = 0x10;
    config.setInt("Marked", 1);
    EXPECT_EQ(config.findValue("Marked", false)->flags, 0x10u);
}

TEST_F(BConfigTest, ResetUnsetsEverythingButKeptRecords) {
    const int32_t id = config.registerOption("A", "", recordCall);
    config.setInt("A", 1);
    config.setCurrentLevel(cLevelKeep);
    config.setInt("Kept", 2);
    config.setCurrentLevel(3);
    config.setBindDescriptors(false);
    config.setNotifyChanges(true);

    config.reset();
    EXPECT_FALSE(config.isSet("A"));
    EXPECT_TRUE(config.isSet("Kept"));
    EXPECT_EQ(config.currentLevel(), 0);
    EXPECT_TRUE(config.bindDescriptors());
    const std::vector<std::pair<int32_t, bool>> expected = {{id, false}};
    EXPECT_EQ(gCalls, expected);
}

TEST_F(BConfigTest, PresenceNeedsBinding) {
    const int32_t id = config.registerOption("A", "", nullptr);
    config.define("A");
    config.setBindDescriptors(false);
    EXPECT_FALSE(config.isSetById(id));
}

TEST(IsFlagBitSet, ReadsBitsBelow32Only) {
    EXPECT_TRUE(isFlagBitSet(0x80000001u, 0));
    EXPECT_TRUE(isFlagBitSet(0x80000001u, 31));
    EXPECT_FALSE(isFlagBitSet(0x80000001u, 1));
    EXPECT_FALSE(isFlagBitSet(0xFFFFFFFFu, 32));
    EXPECT_FALSE(isFlagBitSet(0xFFFFFFFFu, 100));
}
