#include "content/AvatarPack.h"
#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalAvatar.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "platform/engine/CCDirector.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path cFixture = fs::path(TARNWICK_FIXTURES_DIR) / "content/avatars";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t crcOf(const std::string& bytes) {
    return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
}

cocos2d::CCDirector& director() {
    return *cocos2d::CCDirector::sharedDirector();
}

class AvatarPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        setBaseFolder(cFixture);
        BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
        loadLocalizableStrings();
        trustFile(cFixture / "data/AvatarPacks.xml");
    }
    void TearDown() override {
        AvatarPack::clear();
        setLocalAvatarSource(nullptr);
        director().setIsHighDefinition(false);
        setDataFileCrcTable({});
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
        if (!mScratch.empty())
            fs::remove_all(mScratch);
    }

    // Makes the CRC table expect the bytes of file.
    void trustFile(const fs::path& file) {
        mTable[0] = {"AvatarPacks", crcOf(readFile(file))};
        setDataFileCrcTable(mTable);
    }

    // A base folder whose "data/AvatarPacks.xml" holds text.
    void useScratchFile(const std::string& text) {
        mScratch = fs::temp_directory_path() / ("avatars-" + std::to_string(::getpid()));
        fs::create_directories(mScratch / "data");
        std::ofstream(mScratch / "data/AvatarPacks.xml", std::ios::binary) << text;
        setBaseFolder(mScratch);
    }

    static bool loadQuietly() {
        testing::internal::CaptureStdout();
        const bool loaded = AvatarPack::loadAll();
        testing::internal::GetCapturedStdout();
        return loaded;
    }

    std::array<DataFileCrc, 1> mTable;
    fs::path mScratch;
};

class FixedAvatar : public LocalAvatarSource {
public:
    std::string localAvatarPackId() override { return "A|B"; }
    int32_t localAvatarIndex() override { return 1; }
};

} // namespace

TEST_F(AvatarPackTest, ReadsThePacksInFileOrderWithTheirTexts) {
    ASSERT_TRUE(AvatarPack::loadAll());
    ASSERT_EQ(AvatarPack::packs().size(), 3u);
    const AvatarPack* council = AvatarPack::packs()[0].get();
    EXPECT_EQ(council->mId, "AVATAR_COUNCIL_FREE");
    EXPECT_EQ(council->mIcon, "UI/Avatars/CouncilIcon.png");
    EXPECT_EQ(council->mAvatars.size(), 3u);
    EXPECT_EQ(council->mDisplayName, "");
    const AvatarPack* some = AvatarPack::findById("SomePack");
    ASSERT_NE(some, nullptr);
    EXPECT_EQ(some->mDisplayName, "Some Pack");
    EXPECT_EQ(some->mDescription, "A few faces.");
    EXPECT_EQ(some->mLongDescription, "");
    EXPECT_EQ(AvatarPack::findById("somepack"), nullptr);
    EXPECT_FALSE(AvatarPack().load(nullptr));
    // Loading again replaces the catalogue.
    ASSERT_TRUE(AvatarPack::loadAll());
    EXPECT_EQ(AvatarPack::packs().size(), 3u);
}

TEST_F(AvatarPackTest, AvatarStringsGiveImagePaths) {
    ASSERT_TRUE(AvatarPack::loadAll());
    const struct {
        const char* avatarString;
        const char* path;
    } cases[] = {
        {"AVATAR_COUNCIL_FREE|2", "UI/Avatars/Council03.png"},
        {"AVATAR_COUNCIL_FREE|9", ""},
        {"AVATAR_COUNCIL_FREE|-1", ""},
        {"SomePack|x", "UI/Avatars/Some01.png"},
        {"SomePack|1", "UI/Avatars/NoExtension"},
        {"Council", "UI/Avatars/Council01.png"},
        {"A|B|1", "UI/Avatars/Split02.png"},
        {"Unknown|2", "UI/Avatars/Council01.png"},
        {"SomePack|99999999999999999999", "UI/Avatars/Council01.png"},
        {"SomePack|4294967296", "UI/Avatars/Council01.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseAvatarString(c.avatarString), c.path) << c.avatarString;
}

TEST_F(AvatarPackTest, ImagePathsFollowTheResolution) {
    const struct {
        const char* name;
        bool highDefinition;
        const char* path;
    } cases[] = {
        {"Face01.png", true, "UI/Avatars/Face01-hd.png"},
        {"Face01.png", false, "UI/Avatars/Face01.png"},
        {"Face.v2.png", true, "UI/Avatars/Face.v2-hd.png"},
        {"NoExtension", true, ""},
        {"NoExtension", false, "UI/Avatars/NoExtension"},
        {"UI/Avatars/Face01.png", false, "UI/Avatars/Face01.png"},
        {"Packs/UI/Avatars/Face01.png", true, "Packs/UI/Avatars/Face01-hd.png"},
    };
    for (const auto& c : cases) {
        director().setIsHighDefinition(c.highDefinition);
        EXPECT_EQ(AvatarPack::getImagePath(c.name), c.path) << c.name;
    }
}

TEST_F(AvatarPackTest, PathsAreFixedWithTheResolutionOfTheLoad) {
    director().setIsHighDefinition(true);
    ASSERT_TRUE(AvatarPack::loadAll());
    director().setIsHighDefinition(false);
    EXPECT_EQ(AvatarPack::getAvatarInPack("AVATAR_COUNCIL_FREE", 0),
              "UI/Avatars/Council01-hd.png");
    // The avatar without "." is dropped, so the pack keeps one.
    EXPECT_EQ(AvatarPack::findById("SomePack")->mAvatars,
              std::vector<std::string>{"UI/Avatars/Some01-hd.png"});
}

TEST_F(AvatarPackTest, TheDefaultAvatarIsTheLocalPlayers) {
    ASSERT_TRUE(AvatarPack::loadAll());
    EXPECT_EQ(AvatarPack::getDefaultAvatar(), "UI/Avatars/Council01.png");
    FixedAvatar fixed;
    setLocalAvatarSource(&fixed);
    EXPECT_EQ(AvatarPack::getDefaultAvatar(), "UI/Avatars/Split02.png");
    setLocalAvatarSource(nullptr);
    EXPECT_EQ(localAvatarPackId(), "AVATAR_COUNCIL_FREE");
    EXPECT_EQ(localAvatarIndex(), 0);
}

TEST_F(AvatarPackTest, AnEmptyCatalogueGivesEmptyPaths) {
    EXPECT_EQ(AvatarPack::getAvatarInPack("AVATAR_COUNCIL_FREE", 0), "");
    EXPECT_EQ(parseAvatarString("Unknown|0"), "");
    EXPECT_EQ(AvatarPack::getDefaultAvatar(), "");
}

TEST_F(AvatarPackTest, ABrokenFileFailsTheLoadAndEmptiesTheCatalogue) {
    ASSERT_TRUE(AvatarPack::loadAll());
    const std::string good = readFile(cFixture / "data/AvatarPacks.xml");
    std::string changed = good;
    changed[changed.find("Council02")] = 'X';
    const std::string malformed = "<AvatarPacks><AvatarPack><id>Open</AvatarPack>";
    const struct {
        const char* what;
        std::string text;
        bool trusted; // the table expects the file's own bytes
    } cases[] = {
        {"changed byte", changed, false},
        {"malformed", malformed, true},
    };
    for (const auto& c : cases) {
        useScratchFile(c.text);
        if (c.trusted)
            trustFile(mScratch / "data/AvatarPacks.xml");
        EXPECT_FALSE(loadQuietly()) << c.what;
        EXPECT_TRUE(AvatarPack::packs().empty()) << c.what;
        trustFile(cFixture / "data/AvatarPacks.xml");
    }
    fs::remove(mScratch / "data/AvatarPacks.xml");
    EXPECT_FALSE(loadQuietly());
}
