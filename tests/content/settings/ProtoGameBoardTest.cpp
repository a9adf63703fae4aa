#include "../protos/ProtoTestSupport.h"

#include "content/settings/ProtoGameBoard.h"

namespace {

std::unique_ptr<ProtoGameBoard> loadBoard(std::string_view text) {
    ParsedXml xml(text);
    auto board = std::make_unique<ProtoGameBoard>();
    EXPECT_TRUE(board->load(xml.root)) << text;
    return board;
}

} // namespace

TEST(ProtoGameBoardTest, EmptyBoard) {
    const auto board = loadBoard("<board/>");
    EXPECT_EQ(board->mArt, "");
    ASSERT_NE(board->mPremiumTiles, nullptr);
    EXPECT_EQ(board->mPremiumTiles->countOfType(-1), 0);
    EXPECT_EQ(board->mDeployZone, nullptr);
    EXPECT_TRUE(board->mPreplaced.empty());
    EXPECT_FLOAT_EQ(board->mGridOffset.x, 0.0f);
    EXPECT_FALSE(ProtoGameBoard().load(nullptr));
}

TEST(ProtoGameBoardTest, LastArtWins) {
    const auto board = loadBoard(R"(<board>
        <Art gridOffsetX="4.5" gridOffsetY="-8">Boards/Meadow.png</Art>
        <art>Boards/Lower.png</art>
        <Art gridOffsetY="2">Boards/Desert.png</Art></board>)");
    EXPECT_EQ(board->mArt, "Boards/Desert.png");
    EXPECT_FLOAT_EQ(board->mGridOffset.x, 0.0f) << "absent offsets are 0 again";
    EXPECT_FLOAT_EQ(board->mGridOffset.y, 2.0f);
}

TEST(ProtoGameBoardTest, PremiumSquaresAddUp) {
    testing::internal::CaptureStdout();
    const auto board = loadBoard(R"(<board>
        <premiumTiles><premiumTile type="Power" x="4" y="2"/></premiumTiles>
        <premiumTiles><premiumTile type="Defense" x="1" y="0"/><premiumTile type="Score" x="1"/>
        </premiumTiles></board>)");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(board->mPremiumTiles->countOfType(-1), 2);
    ASSERT_NE(board->mPremiumTiles->getEntryAt(4, 2), nullptr);
}

TEST(ProtoGameBoardTest, DeployZone) {
    const struct {
        const char* tiles;
        size_t count; // tiles of the zone, or 0 when the board has none
    } cases[] = {
        {R"(<tile x="0" y="0"/><tile x="1" y="4"/>)", 2},
        {R"(<tile x="0" y="0"/><tile x="1"/>)", 0},
        {R"(<tile x="0" y="0"/><tile x="-1" y="2"/>)", 0},
        {R"(<tile x="0" y="99999999999"/>)", 0},
        {R"(<tile x="0" y="1"/><square/><tile x=" 3" y="2"/>)", 2},
    };
    for (const auto& c : cases) {
        const auto board =
            loadBoard("<board><deployZone>" + std::string(c.tiles) + "</deployZone></board>");
        if (c.count == 0) {
            EXPECT_EQ(board->mDeployZone, nullptr) << c.tiles;
            continue;
        }
        ASSERT_NE(board->mDeployZone, nullptr) << c.tiles;
        EXPECT_EQ(board->mDeployZone->mTiles.size(), c.count) << c.tiles;
    }
    // A later bad zone replaces a good one by none.
    const auto board = loadBoard(R"(<board><deployZone><tile x="0" y="0"/></deployZone>
        <deployZone><tile y="0"/></deployZone></board>)");
    EXPECT_EQ(board->mDeployZone, nullptr);
    const auto good = loadBoard(R"(<board><deployZone><tile x="2" y="3"/></deployZone></board>)");
    EXPECT_EQ(good->mDeployZone->mTiles[0].x, 2);
    EXPECT_EQ(good->mDeployZone->mTiles[0].y, 3);
}

TEST(ProtoGameBoardTest, PreplacedPieces) {
    const auto board = loadBoard(R"(<board>
        <preplace name="crystal" x="1" y="1" player="0" victoryHealthPool="TRUE"/>
        <preplace name="knight" x="2" y="3" player="1" healthFraction="0.5" victoryHealthPool="yes"/>
        <preplace name="orphan" x="2" y="3"/>
        <preplace x="2" y="3" player="1"/>
        <preplace name="far" x="2" y="99999999999" player="1"/>
        <preplace name="huge" x="0" y="0" player="0" healthFraction="1e999"/></board>)");
    ASSERT_EQ(board->mPreplaced.size(), 3u);
    const PreplacedEntity& crystal = *board->mPreplaced[0];
    EXPECT_EQ(crystal.mName, "crystal");
    EXPECT_EQ(crystal.mX, 1);
    EXPECT_EQ(crystal.mPlayer, 0);
    EXPECT_TRUE(crystal.mVictoryHealthPool);
    EXPECT_FLOAT_EQ(crystal.mHealthFraction, 1.0f) << "full health when absent";
    const PreplacedEntity& knight = *board->mPreplaced[1];
    EXPECT_EQ(knight.mY, 3);
    EXPECT_EQ(knight.mPlayer, 1);
    EXPECT_FALSE(knight.mVictoryHealthPool) << "not a boolean";
    EXPECT_FLOAT_EQ(knight.mHealthFraction, 0.5f);
    EXPECT_FLOAT_EQ(board->mPreplaced[2]->mHealthFraction, 1.0f) << "out of range";
}
