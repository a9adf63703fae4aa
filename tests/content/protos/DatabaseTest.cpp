#include "ProtoTestSupport.h"

#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"

#include <string>

namespace {

const std::string cFixtures = std::string(TARNWICK_FIXTURES_DIR) + "/content/protos";

class DatabaseInitTest : public FixtureFolderTest {
protected:
    void SetUp() override {
        FixtureFolderTest::SetUp();
        setBaseFolder(cFixtures);
        mTable[0] = {"database", fileCrc(cFixtures + "/data/database.xml")};
        setDataFileCrcTable(mTable);
    }
    DataFileCrc mTable[1];
};

} // namespace

TEST_F(DatabaseInitTest, LoadsFixtureInDocumentOrder) {
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Database::init());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Initializing database.\n");

    // The unnamed entity and the other root children take no id.
    ASSERT_EQ(Database::protoCount(), 4);
    const char* names[] = {"hero", "sword", "blessing", "ghost"};
    for (int32_t id = 0; id < 4; ++id) {
        ASSERT_NE(Database::getProto(id), nullptr);
        EXPECT_EQ(Database::getProto(id)->mName, names[id]);
        EXPECT_EQ(Database::getProto(id)->mId, id);
    }
    // "sword" is read from its own element, not from the unnamed one before it.
    EXPECT_EQ(Database::getProto(1)->mPower, 50);
    // A reference to a later proto resolves.
    EXPECT_EQ(Database::getProto(0)->mRaiseDeadProto, 3);
}

TEST_F(DatabaseInitTest, LocalizedTextsComeFromTheStringsTable) {
    BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
    loadLocalizableStrings();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Database::init());
    testing::internal::GetCapturedStdout();
    const ProtoEntity* hero = Database::getProto(0);
    EXPECT_EQ(hero->mDisplayName, "Hero");
    EXPECT_EQ(hero->mShortHelp, "Leads the charge.");
    EXPECT_EQ(hero->mClassDisplayName, "Champion");
    EXPECT_EQ(hero->mDetailedHelp, "");
    const ProtoEntity* sword = Database::getProto(1);
    EXPECT_EQ(sword->mDetailedHelp, "A plain blade.");
    EXPECT_EQ(sword->mShortHelp, "") << "no key: empty, not the constructed placeholder";
}

TEST_F(DatabaseInitTest, RefusesChangedFile) {
    mTable[0].crc ^= 1;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Database::init());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Database::protoCount(), 0);
}

TEST_F(DatabaseInitTest, MissingFileFails) {
    setBaseFolder(cFixtures + "/nowhere");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Database::init());
    testing::internal::GetCapturedStdout();
}

TEST_F(ProtoTest, LookupsByIdAndRemap) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="a"/><entity name="b"/><entity name="c"/>
        <entity name="d"/><entity name="e"/><entity name="f"/>
        <entity name="g"/><entity name="h"/></Database>)"));
    const int32_t count = Database::protoCount();
    EXPECT_EQ(Database::getProto(-1), nullptr);
    EXPECT_EQ(Database::getProto(count), nullptr);
    EXPECT_EQ(Database::getProto(5)->mName, "f");

    Database::setRemap(5, 7);
    EXPECT_EQ(Database::getProto(5)->mName, "h") << "the remap wins over a valid position";
    EXPECT_EQ(Database::getProto(7)->mName, "h");

    Database::setRemap(20, 2);
    EXPECT_EQ(Database::getProto(20)->mName, "c");
    Database::setRemap(3, -1);
    EXPECT_EQ(Database::getProto(3), nullptr) << "a saved name with no current proto";
    Database::setRemap(4, count);
    EXPECT_EQ(Database::getProto(4), nullptr);
}

TEST_F(ProtoTest, NameLookupsAreExact) {
    ASSERT_TRUE(
        loadDatabase(R"(<Database><entity name="Knight"/><entity name="knight"/></Database>)"));
    EXPECT_EQ(Database::getProtoIdByName("knight"), 1);
    EXPECT_EQ(Database::getProtoIndexByName("Knight"), 0);
    EXPECT_EQ(Database::getProtoIdByName("KNIGHT"), -1);
    EXPECT_EQ(Database::getProtoIdByName("knigh"), -1);
    EXPECT_EQ(Database::getProtoIndexByName(""), -1);
}

TEST_F(ProtoTest, EmptyFileIsNoDatabase) {
    EXPECT_FALSE(Database::loadRoot(nullptr));
    EXPECT_EQ(Database::protoCount(), 0);
}

TEST_F(ProtoTest, DumpLine) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="plain"><Art>a.png</Art></entity>
        <entity name="classy"><Class>Melee</Class><Art>b.png</Art></entity></Database>)"));
    Database::getProto(1)->mDisplayName = "Classy One";
    testing::internal::CaptureStdout();
    Database::getProto(0)->dump();
    Database::getProto(1)->dump();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "    ProtoEntity 'plain' (id: 0): \"\" (art: a.png)\n"
              "    ProtoEntity 'classy' (id: 1): \"Classy One\", class \"Melee\" (art: b.png)\n");
}

TEST_F(ProtoTest, ShippedDatabaseLoads) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    testing::internal::CaptureStdout();
    const bool loaded = Database::init();
    const std::string output = testing::internal::GetCapturedStdout();
    setBaseFolder({});
    ASSERT_TRUE(loaded) << output;
    EXPECT_EQ(output.find("**>"), std::string::npos) << output;
    // The protos the rules look up by name.
    for (const char* name : {"spottingBuff", "shield", "bloodrageBuff", "bloodrageStrongBuff",
                             "weakenBuff", "typhoon", "TrainHazard"})
        EXPECT_GE(Database::getProtoIdByName(name), 0) << name;
    for (int32_t id = 0; id < Database::protoCount(); ++id) {
        const ProtoEntity* proto = Database::getProto(id);
        EXPECT_GE(proto->mType, 0) << proto->mName;
        EXPECT_EQ(proto->mAttackInfo != nullptr,
                  proto->mType == cEntityUnit || proto->mType == cEntityPower)
            << proto->mName;
    }
}
