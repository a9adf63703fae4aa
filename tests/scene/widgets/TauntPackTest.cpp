#include "scene/widgets/TauntPack.h"

#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

uint32_t crcOf(const std::string& bytes) {
    return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
}

// The sample texts, and catalogue files written under a fresh base folder.
class TauntPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        setBaseFolder(TARNWICK_SOURCE_DIR);
        BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
        loadLocalizableStrings();
    }
    void TearDown() override {
        gTauntPacks.clear();
        setDataFileCrcTable({});
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
        if (!mScratch.empty())
            fs::remove_all(mScratch);
    }

    // Writes text as the catalogue; the CRC table expects trusted instead
    // (the text itself when empty).
    void writeCatalogue(const std::string& text, const std::string& trusted = {}) {
        mScratch = fs::temp_directory_path() / ("taunts-" + std::to_string(::getpid()));
        fs::create_directories(mScratch / "data");
        std::ofstream(mScratch / "data/TauntPacks.xml", std::ios::binary) << text;
        mTable[0] = {"TauntPacks", crcOf(trusted.empty() ? text : trusted)};
        setDataFileCrcTable(mTable);
        setBaseFolder(mScratch);
    }

    std::array<DataFileCrc, 1> mTable;
    fs::path mScratch;
};

} // namespace

TEST_F(TauntPackTest, TheSampleCatalogueLoads) {
    ASSERT_TRUE(loadTauntPacks());
    ASSERT_EQ(gTauntPacks.size(), 2u);
    const TauntPack& small = *gTauntPacks[0];
    EXPECT_EQ(small.SKU, "TAUNTS_SMALL");
    EXPECT_EQ(small.icon, "UI/SymbolTaunts.png");
    EXPECT_EQ(small.count, 5);
    EXPECT_EQ(small.displayName, "A Few Taunts");
    EXPECT_EQ(small.description, "Five taunts to send with your turns.");
    EXPECT_EQ(gTauntPacks[1]->count, 20);
    EXPECT_TRUE(fs::exists(fs::path(TARNWICK_SOURCE_DIR) / "data" / small.icon));
}

TEST_F(TauntPackTest, PacksAreTheTauntPackChildrenInOrder) {
    writeCatalogue("<TauntPacks><Other/><tauntpack><SKU>X</SKU></tauntpack>"
                   "<TauntPack><SKU>TAUNTS_LARGE</SKU><count>3</count><count>4</count>"
                   "<icon>a.png</icon></TauntPack>"
                   "<TauntPack><SKU>TAUNTS_LARGE</SKU></TauntPack>"
                   "<TauntPack><extra>1</extra></TauntPack></TauntPacks>");
    ASSERT_TRUE(loadTauntPacks());
    ASSERT_EQ(gTauntPacks.size(), 3u);
    // A later element overwrites an earlier one.
    EXPECT_EQ(gTauntPacks[0]->count, 4);
    EXPECT_EQ(gTauntPacks[0]->icon, "a.png");
    // One SKU, the same texts.
    EXPECT_EQ(gTauntPacks[1]->displayName, "A Bag of Taunts");
    EXPECT_EQ(gTauntPacks[1]->displayName, gTauntPacks[0]->displayName);
    EXPECT_EQ(gTauntPacks[1]->description, gTauntPacks[0]->description);
    EXPECT_EQ(gTauntPacks[1]->count, 0);
    // Missing children: empty texts, count 0.
    const TauntPack& bare = *gTauntPacks[2];
    EXPECT_EQ(bare.SKU, "");
    EXPECT_EQ(bare.icon, "");
    EXPECT_EQ(bare.displayName, "");
    EXPECT_EQ(bare.description, "");
    EXPECT_EQ(bare.count, 0);
    EXPECT_FALSE(TauntPack().load(nullptr));
}

TEST_F(TauntPackTest, ARootWithoutPacksLoadsNone) {
    writeCatalogue("<TauntPacks><AvatarPack/></TauntPacks>");
    EXPECT_TRUE(loadTauntPacks());
    EXPECT_TRUE(gTauntPacks.empty());
}

TEST_F(TauntPackTest, ABrokenCatalogueFailsAndLeavesNone) {
    const std::string good = "<TauntPacks><TauntPack><SKU>A</SKU></TauntPack></TauntPacks>";
    struct Case {
        const char* what;
        std::string text;
        std::string trusted;
    };
    for (const Case& c : {Case{"a changed byte",
                               "<TauntPacks><TauntPack><SKU>B</SKU></TauntPack>"
                               "</TauntPacks>",
                               good},
                          Case{"malformed", "<TauntPacks><TauntPack></TauntPacks>", ""}}) {
        SCOPED_TRACE(c.what);
        writeCatalogue(good);
        ASSERT_TRUE(loadTauntPacks());
        writeCatalogue(c.text, c.trusted);
        EXPECT_FALSE(loadTauntPacks());
        EXPECT_TRUE(gTauntPacks.empty());
    }
    fs::remove(mScratch / "data/TauntPacks.xml");
    EXPECT_FALSE(loadTauntPacks());
}
