#include "SettingsTestSupport.h"

#include "content/settings/PremiumTileInfo.h"

namespace {

// A board's premium squares read from the children of "premiumTiles".
std::unique_ptr<PremiumTileInfo> readSquares(std::string_view children) {
    ParsedXml xml("<premiumTiles>" + std::string(children) + "</premiumTiles>");
    auto info = std::make_unique<PremiumTileInfo>();
    EXPECT_TRUE(info->load(xml.root));
    return info;
}

} // namespace

TEST(PremiumTileTypeTest, NamesAndValues) {
    const struct {
        const char* name;
        int32_t type;
    } cases[] = {
        {"Power", cPremiumPower},
        {"victorydamageadd", cPremiumVictoryDamageAdd},
        {"VictoryDamageSubtract", cPremiumVictoryDamageSubtract},
        {"sendtrain", cPremiumSendTrain},
        {"CRYSTALSPIKES", cPremiumCrystalSpikes},
        {"Invalid", cPremiumInvalid},
        {"Unknown", cPremiumInvalid},
        {"", cPremiumInvalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(premiumTileTypeFromName(c.name), c.type) << c.name;
    EXPECT_EQ(cPremiumVictoryDamageAdd, 4);
    EXPECT_EQ(cPremiumVictoryDamageSubtract, 5);
    EXPECT_EQ(cPremiumSendTrain, 10);

    EXPECT_EQ(premiumTileTypeName(-1), "Invalid");
    EXPECT_EQ(premiumTileTypeName(0), "Power");
    EXPECT_EQ(premiumTileTypeName(4), "VictoryDamageAdd");
    EXPECT_EQ(premiumTileTypeName(10), "SendTrain");
    EXPECT_EQ(premiumTileTypeName(11), "Unknown");
    EXPECT_EQ(premiumTileTypeName(-2), "Unknown");
}

TEST_F(SettingsTest, PremiumTileKinds) {
    ASSERT_TRUE(loadSettings(R"(
        <premiumTile kind="teleporter"><amount>5</amount><gridSlotOverlay>o.png</gridSlotOverlay>
          <KX4GridSlotOverlay>k.png</KX4GridSlotOverlay><puppet>P</puppet>
          <activationSound>s.mp3</activationSound><tooltipPortrait>t.png</tooltipPortrait>
          <Amount>9</Amount></premiumTile>
        <premiumTile/>
        <premiumTile type="Shrine"><amount>3</amount></premiumTile>)"));
    const auto& kinds = settings().mPremiumTiles;
    ASSERT_EQ(kinds.size(), 3u);
    EXPECT_EQ(kinds[0]->mType, cPremiumTeleporter) << "the first attribute, whatever its name";
    EXPECT_EQ(kinds[0]->mAmount, 5);
    EXPECT_EQ(kinds[0]->mGridSlotOverlay, "o.png");
    EXPECT_EQ(kinds[0]->mCrossoverGridSlotOverlay, "k.png");
    EXPECT_EQ(kinds[0]->mPuppet, "P");
    EXPECT_EQ(kinds[0]->mActivationSound, "s.mp3");
    EXPECT_EQ(kinds[0]->mTooltipPortrait, "t.png");
    EXPECT_EQ(kinds[0]->mTooltipTitle, "") << "no strings loaded";
    // No attribute names no type; no amount adds nothing.
    EXPECT_EQ(kinds[1]->mType, cPremiumInvalid);
    EXPECT_EQ(kinds[1]->mAmount, 0);
    EXPECT_EQ(kinds[2]->mType, cPremiumInvalid);
    EXPECT_FALSE(ProtoPremiumTile().load(nullptr));
}

TEST_F(SettingsTest, PremiumTileEntries) {
    testing::internal::CaptureStdout();
    const auto info = readSquares(R"(
        <premiumTile type="Power" x="3" y="0"/>
        <premiumTile type="Defense" x="3"/>
        <premiumTile type="Teleporter" x="1" y="2" linkTarget="7" color="red"/>
        <premiumTile x="4" y="4"/>
        <premiumTile type="Score" x="-1" y="2"/>
        <square type="Power" x="0" y="0"/>
        <premiumTile type="Power" x="2" y="1"/>)");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "**> error parsing premium tile entry\n**> error parsing premium tile info\n");
    ASSERT_EQ(info->mEntries.size(), 4u) << "entries without a valid x or y are dropped";
    const PremiumTileEntry* teleporter = info->getEntryAt(1, 2);
    ASSERT_NE(teleporter, nullptr) << "an unknown attribute is only reported";
    EXPECT_EQ(teleporter->mType, cPremiumTeleporter);
    EXPECT_EQ(teleporter->mLinkTarget, 7);
    EXPECT_EQ(info->getEntryAt(3, 0)->mLinkTarget, -1);
    EXPECT_EQ(info->getEntryAt(4, 4)->mType, cPremiumInvalid) << "no type is Invalid";
    EXPECT_EQ(info->getEntryAt(3, 1), nullptr);

    EXPECT_EQ(info->countOfType(-1), 4);
    EXPECT_EQ(info->countOfType(cPremiumPower), 2);
    EXPECT_EQ(info->countOfType(cPremiumDefense), 0);
    EXPECT_FALSE(PremiumTileInfo().load(nullptr));
}

TEST_F(SettingsTest, ApplyBonusAt) {
    ASSERT_TRUE(loadSettings(R"(<premiumTile type="Power"><amount>10</amount></premiumTile>
        <premiumTile type="Power"><amount>99</amount></premiumTile>
        <premiumTile type="Defense"><amount>20</amount></premiumTile>)"));
    const auto info = readSquares(R"(<premiumTile type="Power" x="2" y="1"/>
        <premiumTile type="Defense" x="4" y="0"/><premiumTile type="Resist" x="5" y="0"/>)");
    const struct {
        int32_t x, y, type;
        float factor;
        bool applied;
        int32_t value;
    } cases[] = {
        {2, 1, cPremiumPower, 1.5f, true, 115},
        {2, 1, cPremiumPower, 0.55f, true, 105},
        {2, 1, cPremiumPower, -0.55f, true, 95}, // truncated toward zero
        {2, 1, cPremiumPower, 1e30f, true, INT32_MAX},
        {4, 0, cPremiumPower, 1.5f, false, 100}, // a Defense square
        {4, 0, cPremiumDefense, 1.0f, true, 120},
        {5, 0, cPremiumResist, 1.0f, true, 100}, // a square without a listed kind
        {3, 1, cPremiumPower, 1.0f, false, 100},
    };
    for (const auto& c : cases) {
        int32_t value = 100;
        EXPECT_EQ(info->applyBonusAt(c.x, c.y, c.type, value, c.factor), c.applied)
            << c.x << "," << c.y << " factor " << c.factor;
        EXPECT_EQ(value, c.value) << c.x << "," << c.y << " factor " << c.factor;
    }
}
