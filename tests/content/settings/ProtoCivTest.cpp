#include "CatalogueTestSupport.h"

#include "content/settings/ProtoCiv.h"

namespace {

std::unique_ptr<ProtoCiv> loadCiv(std::string_view text, int32_t id = 7) {
    ParsedXml xml(text);
    auto civ = std::make_unique<ProtoCiv>(id);
    EXPECT_TRUE(civ->load(xml.root)) << text;
    return civ;
}

} // namespace

TEST_F(CatalogueTest, CivWithoutChildrenKeepsDefaults) {
    const auto civ = loadCiv(R"(<civ ID="3" name="orcs"/>)", 3);
    EXPECT_EQ(civ->mId, 3);
    EXPECT_EQ(civ->mName, "orcs");
    EXPECT_EQ(civ->mBackgroundR, 60);
    EXPECT_EQ(civ->mBackgroundG, 60);
    EXPECT_EQ(civ->mBackgroundB, 60);
    EXPECT_EQ(civ->mActionsPerTurn, 0);
    EXPECT_EQ(civ->mTileAllocation, nullptr);
    // No strings for this civ: empty texts, not the keys.
    EXPECT_EQ(civ->mDisplayName, "");
    EXPECT_EQ(civ->mLongDescription, "");
    EXPECT_FALSE(ProtoCiv(1).load(nullptr));
}

TEST_F(CatalogueTest, CivReadsChildrenAndTexts) {
    const auto civ = loadCiv(R"(<civ name="orcs" name="humans" Name="x">
        <iconName>Icon.png</iconName><spriteSheet>Sheet.plist</spriteSheet>
        <backgroundImage>Bg.png</backgroundImage><emblemImage>E.png</emblemImage>
        <playerCardEmblemImage>PE.png</playerCardEmblemImage>
        <largeEmblemImage>LE.png</largeEmblemImage><teamBonusIcon>TB.png</teamBonusIcon>
        <teamDetailImage>TD.png</teamDetailImage><PlayerCardOpenSound>open</PlayerCardOpenSound>
        <actionsPerTurn>5</actionsPerTurn><backgroundR>20</backgroundR>
        <backgroundG> 40x</backgroundG><backgroundB>140</backgroundB>
        <BackgroundB>1</BackgroundB><iconName>Icon2.png</iconName>
        <tileAllocation><tile name="knight">3</tile></tileAllocation></civ>)");
    EXPECT_EQ(civ->mName, "humans") << "the last \"name\" attribute wins";
    EXPECT_EQ(civ->mIconName, "Icon2.png");
    EXPECT_EQ(civ->mSpriteSheet, "Sheet.plist");
    EXPECT_EQ(civ->mBackgroundImage, "Bg.png");
    EXPECT_EQ(civ->mEmblemImage, "E.png");
    EXPECT_EQ(civ->mPlayerCardEmblemImage, "PE.png");
    EXPECT_EQ(civ->mLargeEmblemImage, "LE.png");
    EXPECT_EQ(civ->mTeamBonusIcon, "TB.png");
    EXPECT_EQ(civ->mTeamDetailImage, "TD.png");
    EXPECT_EQ(civ->mPlayerCardOpenSound, "open");
    EXPECT_EQ(civ->mActionsPerTurn, 5);
    EXPECT_EQ(civ->mBackgroundR, 20);
    EXPECT_EQ(civ->mBackgroundG, 40);
    EXPECT_EQ(civ->mBackgroundB, 140);
    ASSERT_NE(civ->mTileAllocation, nullptr);
    EXPECT_EQ(civ->mTileAllocation->countTile("knight"), 3);
    EXPECT_EQ(civ->mDisplayName, "The Council");
    EXPECT_EQ(civ->mShortDescription, "Knights and clerics.");
    EXPECT_EQ(civ->mTeamBonusTitle, "Steadfast");
    EXPECT_EQ(civ->mTeamBonusDescription, "");
}

TEST_F(CatalogueTest, CivDropsAFailedTileAllocation) {
    const auto civ = loadCiv(R"(<civ name="dwarves">
        <tileAllocation><tile name="knight">3</tile></tileAllocation>
        <tileAllocation><tile name="miner">3</tile></tileAllocation></civ>)");
    EXPECT_EQ(civ->mTileAllocation, nullptr) << "the later, failing allocation replaces it";
}
