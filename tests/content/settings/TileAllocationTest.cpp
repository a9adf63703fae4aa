#include "../protos/ProtoTestSupport.h"

#include "content/settings/TileAllocation.h"
#include "rules/core/RNG.h"

#include <string>

namespace {

constexpr std::string_view cTiles = R"(<Database>
    <entity name="knight"/><entity name="archer"/><entity name="cleric"/>
    <entity name="wizard"/><entity name="weapon"/></Database>)";

class TileAllocationTest : public ProtoTest {
protected:
    void SetUp() override {
        ProtoTest::SetUp();
        ASSERT_TRUE(loadDatabase(cTiles));
    }

    // Loads an allocation from its element's text; null when the load fails.
    static std::unique_ptr<TileAllocation> load(std::string_view text) {
        ParsedXml xml(text);
        auto allocation = std::make_unique<TileAllocation>();
        if (!allocation->load(xml.root))
            return nullptr;
        return allocation;
    }
};

} // namespace

TEST_F(TileAllocationTest, Randomize) {
    const struct {
        const char* attribute;
        bool randomize;
    } cases[] = {
        {"", true},
        {R"(randomize="false")", false},
        {R"(randomize="FALSE")", false},
        {R"(randomize="0")", false},
        {R"(randomize="True")", true},
        {R"(randomize="no")", true}, // not a boolean: the default stands
    };
    for (const auto& c : cases) {
        const auto allocation = load("<tileAllocation " + std::string(c.attribute) + "/>");
        ASSERT_NE(allocation, nullptr) << c.attribute;
        EXPECT_EQ(allocation->mRandomize, c.randomize) << c.attribute;
        EXPECT_TRUE(allocation->mEntries.empty());
    }
}

TEST_F(TileAllocationTest, SingleTiles) {
    const auto allocation = load(R"(<tileAllocation>
        <tile name="knight">3</tile>
        <tile name="archer"/>
        <tile name="cleric"> 2 copies</tile>
        <tile name="wizard">99999999999</tile>
        <unit name="knight">1</unit>
        <tile name="knight">5</tile></tileAllocation>)");
    ASSERT_NE(allocation, nullptr);
    // The out-of-range count and the unknown child are dropped.
    ASSERT_EQ(allocation->mEntries.size(), 4u);
    EXPECT_EQ(allocation->mEntries[0]->mType, TileAllocationEntry::cSingleTile);
    EXPECT_EQ(allocation->mEntries[1]->mTiles[0]->mCount, 0) << "empty text gives 0";
    EXPECT_EQ(allocation->mEntries[2]->mTiles[0]->mCount, 2);
    EXPECT_EQ(allocation->mProtoIds, (std::vector<int32_t>{0, 1, 2, 0}));
    // The first entry of a name counts.
    EXPECT_EQ(allocation->countTile("knight"), 3);
    EXPECT_EQ(allocation->countTile("archer"), 0);
    EXPECT_EQ(allocation->countTile("Knight"), 0);
    EXPECT_EQ(allocation->countTile("wizard"), 0);
}

TEST_F(TileAllocationTest, RandomEntries) {
    const auto allocation = load(R"(<tileAllocation>
        <random choose="0"><tile name="knight">1</tile></random>
        <random choose="5"><tile name="archer">1</tile><tile name="cleric">2</tile></random>
        <random><tile name="wizard">1</tile><other/></random>
        <random choose="2"/>
        <tile name="weapon">4</tile></tileAllocation>)");
    ASSERT_NE(allocation, nullptr);
    // choose 0 and a random entry without tiles are dropped.
    ASSERT_EQ(allocation->mEntries.size(), 3u);
    const TileAllocationEntry& keepAll = *allocation->mEntries[0];
    EXPECT_EQ(keepAll.mType, TileAllocationEntry::cRandomChoice);
    EXPECT_EQ(keepAll.mChoose, 5);
    EXPECT_EQ(allocation->mEntries[1]->mChoose, 1) << "choose defaults to 1";
    // choose above the tile count keeps every tile, in order.
    EXPECT_EQ(allocation->mProtoIds, (std::vector<int32_t>{1, 2, 3, 4}));
    std::vector<const TileRecord*> out{nullptr};
    ASSERT_TRUE(TileAllocationEntry::expand(out, keepAll));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1]->mName, "cleric");
    // A random entry before a single one hides it from countTile.
    EXPECT_EQ(allocation->countTile("weapon"), 0);

    TileAllocationEntry bad;
    bad.mType = 7;
    EXPECT_FALSE(TileAllocationEntry::expand(out, bad));
    EXPECT_TRUE(out.empty());
}

TEST_F(TileAllocationTest, UnknownProtoFailsTheLoad) {
    EXPECT_EQ(load(R"(<tileAllocation><tile name="dragon">1</tile></tileAllocation>)"), nullptr);
    EXPECT_EQ(load(R"(<tileAllocation><tile>1</tile></tileAllocation>)"), nullptr);
    // Also when the draw leaves the unknown tile out.
    EXPECT_EQ(load(R"(<tileAllocation><random choose="1">
        <tile name="knight">1</tile><tile name="dragon">1</tile></random></tileAllocation>)"),
              nullptr);
    EXPECT_FALSE(TileAllocation().load(nullptr));
}

TEST_F(TileAllocationTest, ExpansionFollowsSeededGenerator) {
    constexpr std::string_view text = R"(<tileAllocation>
        <random choose="2"><tile name="knight">1</tile><tile name="archer">1</tile>
        <tile name="cleric">1</tile><tile name="wizard">1</tile><tile name="weapon">1</tile></random>
        </tileAllocation>)";
    // The same draws as the load makes: three removals from five, four, three.
    RNG expected;
    expected.seed(4242);
    std::vector<int32_t> ids{0, 1, 2, 3, 4};
    for (int i = 0; i < 3; ++i)
        ids.erase(ids.begin() + expected.randInt(static_cast<uint32_t>(ids.size() - 1)));

    gRng.seed(4242);
    const auto first = load(text);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->mProtoIds, ids);
    gRng.seed(4242);
    EXPECT_EQ(load(text)->mProtoIds, ids);

    // Each expansion draws again; the kept tiles stay in document order.
    std::vector<const TileRecord*> out;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(TileAllocationEntry::expand(out, *first->mEntries[0]));
        ASSERT_EQ(out.size(), 2u);
        EXPECT_LT(Database::getProtoIdByName(out[0]->mName),
                  Database::getProtoIdByName(out[1]->mName));
    }
}
