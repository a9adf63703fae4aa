#include "CatalogueTestSupport.h"

#include "content/PuzzleScriptSupport.h"

namespace {

// Takes every script as read, keeping no nodes: the shipped scripts
// themselves are checked with the puzzle library's support.
class AcceptingScriptSupport : public PuzzleScriptSupport {
public:
    bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList&) override {
        return script != nullptr;
    }
    void deletePuzzleScriptNodes(PuzzleScriptNodeList&) override {}
    void cacheTutorialCategoryIndices() override {}
};

// Installs an accepting support for its lifetime.
struct AcceptedScripts {
    AcceptedScripts() { setPuzzleScriptSupport(&mSupport); }
    ~AcceptedScripts() { setPuzzleScriptSupport(nullptr); }
    AcceptingScriptSupport mSupport;
};

// Runs init on the fixture; its standard output goes to output.
bool initSettings(std::string& output) {
    testing::internal::CaptureStdout();
    const bool loaded = SettingsManager::instance().init();
    output = testing::internal::GetCapturedStdout();
    return loaded;
}

std::vector<std::string> civNames(const SettingsManager& settings) {
    std::vector<std::string> names;
    for (const auto& civ : settings.mCivs)
        names.push_back(civ->mName);
    return names;
}

} // namespace

TEST_F(CatalogueTest, InitLoadsBoardsCivsAndColours) {
    std::string output;
    ASSERT_TRUE(initSettings(output));
    EXPECT_EQ(output, "Initializing settings manager.\n"
                      "skipping invalid player color\n"
                      "Settings manager complete.\n");
    EXPECT_TRUE(settings().mInitialized);
    EXPECT_EQ(settings().mGameBoards.size(), 4u);
    EXPECT_EQ(settings().mGameBoards[0]->mPremiumTiles->countOfType(-1), 1);

    // Duplicate ids keep the first civ; test civs, civs without a readable
    // id and other elements are left out; test="false" is listed.
    EXPECT_EQ(civNames(settings()),
              (std::vector<std::string>{"humans", "ghosts", "orcs", "dwarves"}));
    const ProtoCiv* humans = settings().mCivs[0].get();
    EXPECT_EQ(humans->mId, 1);
    EXPECT_EQ(humans->mDisplayName, "The Council");
    ASSERT_NE(humans->mTileAllocation, nullptr);
    EXPECT_EQ(humans->mTileAllocation->mProtoIds.size(), 3u);
    EXPECT_FALSE(settings().mCivs[2]->mTileAllocation->mRandomize);
    EXPECT_EQ(settings().mCivs[3]->mTileAllocation, nullptr) << "names an unknown proto";

    // The nameless colour is skipped; the others keep their file order.
    ASSERT_EQ(settings().mHomeColors.size(), 2u);
    EXPECT_EQ(settings().mHomeColors[0]->mName, "Blue");
    const PlayerColor* gold = settings().getHomeColor(1);
    ASSERT_NE(gold, nullptr);
    EXPECT_EQ(gold->mName, "Gold");
    EXPECT_EQ(gold->mRed, 255);
    EXPECT_EQ(gold->mGreen, 0);
    EXPECT_EQ(gold->mBlue, 20);
    EXPECT_EQ(settings().getHomeColor(2), nullptr);
    EXPECT_EQ(settings().getHomeColor(-1), nullptr);
    ASSERT_NE(settings().getAwayColor(0), nullptr);
    EXPECT_EQ(settings().getAwayColor(0)->mName, "Red");
    EXPECT_EQ(settings().getAwayColor(1), nullptr);
}

TEST_F(CatalogueTest, InitFailsOnADamagedOrMissingFile) {
    for (const char* name : {"gameboards", "civs", "PlayerColors"}) {
        settings().clear();
        for (DataFileCrc& entry : mTable)
            if (entry.name == name)
                entry.crc ^= 1;
        std::string output;
        EXPECT_FALSE(initSettings(output)) << name;
        EXPECT_FALSE(settings().mInitialized) << name;
        EXPECT_EQ(output.find("Settings manager complete."), std::string::npos) << name;
        useFolder(cCatalogueFixture);
    }
    // The files before the damaged one stay loaded.
    EXPECT_EQ(settings().mGameBoards.size(), 4u);
    EXPECT_EQ(settings().mCivs.size(), 4u);

    settings().clear();
    setBaseFolder(cCatalogueFixture + "/data/Puzzles");
    std::string output;
    EXPECT_FALSE(initSettings(output));
}

TEST_F(CatalogueTest, GameBoardIndexWraps) {
    std::string output;
    ASSERT_TRUE(initSettings(output));
    const auto& boards = settings().mGameBoards;
    const struct {
        int32_t index;
        size_t board;
        bool warns;
    } cases[] = {{0, 0, false}, {3, 3, false}, {4, 0, true},
                 {6, 2, true},  {-1, 3, true}, {-4, 0, true}};
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        const ProtoGameBoard* board = settings().getGameBoard(c.index);
        const std::string warning = testing::internal::GetCapturedStdout();
        EXPECT_EQ(board, boards[c.board].get()) << c.index;
        EXPECT_EQ(warning, c.warns ? "WARNING: old game board proto index, adjusting\n" : "")
            << c.index;
    }
    settings().mGameBoards.clear();
    testing::internal::CaptureStdout();
    EXPECT_EQ(settings().getGameBoard(0), nullptr);
    EXPECT_EQ(settings().getGameBoard(-1), nullptr);
    testing::internal::GetCapturedStdout();
}

TEST_F(CatalogueTest, CivLookups) {
    std::string output;
    ASSERT_TRUE(initSettings(output));
    const SettingsManager& s = settings();
    EXPECT_EQ(s.getCiv(3)->mName, "orcs");
    EXPECT_EQ(s.getCiv(2), nullptr);

    std::string name = "unchanged";
    EXPECT_TRUE(s.civNameForID(1, name));
    EXPECT_EQ(name, "humans");
    EXPECT_FALSE(s.civNameForID(7, name));
    EXPECT_EQ(name, "humans");

    int32_t id = 99;
    EXPECT_TRUE(s.civIDForName("Random", id));
    EXPECT_EQ(id, -1);
    id = 99;
    EXPECT_FALSE(s.civIDForName("random", id)) << "names compare exactly";
    EXPECT_FALSE(s.civIDForName("HUMANS", id));
    EXPECT_EQ(id, 99);
    EXPECT_TRUE(s.civIDForName("orcs", id));
    EXPECT_EQ(id, 3);

    EXPECT_EQ(s.civIndexForName("HUMANS"), 0);
    EXPECT_EQ(s.civIndexForName("Orcs"), 2);
    EXPECT_EQ(s.civIndexForName("Random"), -1);
    EXPECT_EQ(s.civIndexForName(""), -1);

    EXPECT_EQ(s.civForName("orcs"), s.getCiv(3));
    EXPECT_EQ(s.civForName("Orcs"), nullptr);
    EXPECT_EQ(s.civForName("nobody"), nullptr);
    // "Random" is no civ, even with a civ of id -1 listed.
    ASSERT_NE(s.getCiv(-1), nullptr);
    EXPECT_EQ(s.civForName("Random"), nullptr);
}

TEST_F(FixtureFolderTest, ShippedCatalogueLoads) {
    const AcceptedScripts scripts;
    SettingsManager& s = SettingsManager::instance();
    s.clear();
    setBaseFolder(TARNWICK_SOURCE_DIR);
    BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
    loadLocalizableStrings();
    testing::internal::CaptureStdout();
    const bool loaded = Database::init() && s.init();
    s.loadPuzzleCategories();
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded) << output;
    EXPECT_EQ(output, "Initializing database.\nInitializing settings manager.\n"
                      "Settings manager complete.\n");

    ASSERT_NE(s.getCiv(0), nullptr) << "games are set up with civ 0 first";
    ASSERT_EQ(s.mCivs.size(), 2u);
    for (const auto& civ : s.mCivs) {
        EXPECT_FALSE(civ->mDisplayName.empty()) << civ->mName;
        EXPECT_FALSE(civ->mLongDescription.empty()) << civ->mName;
        ASSERT_NE(civ->mTileAllocation, nullptr) << civ->mName;
        EXPECT_EQ(s.civIndexForName(civ->mName), &civ - &s.mCivs[0]);
    }
    // Every board piece, allocation tile and premium square names something.
    const auto checkBoard = [&](const ProtoGameBoard& board) {
        EXPECT_NE(board.mDeployZone, nullptr) << board.mArt;
        for (const auto& piece : board.mPreplaced)
            EXPECT_GE(Database::getProtoIdByName(piece->mName), 0) << piece->mName;
        for (const auto& entry : board.mPremiumTiles->mEntries) {
            EXPECT_NE(s.premiumTileKind(entry->mType), nullptr) << board.mArt;
            EXPECT_LT(entry->mX, s.mBoardWidth);
            EXPECT_LT(entry->mY, s.mBoardHeight);
        }
    };
    ASSERT_EQ(s.mGameBoards.size(), 2u);
    for (const auto& board : s.mGameBoards)
        checkBoard(*board);
    EXPECT_EQ(s.mHomeColors.size(), 4u);
    EXPECT_EQ(s.mAwayColors.size(), 4u);

    ASSERT_GE(s.mTutorialsCategoryIndex, 0);
    ASSERT_GE(s.mChallengesCategoryIndex, 0);
    // The tutorials hold the four civ tutorials' categories.
    EXPECT_EQ(s.puzzleCount(s.mTutorialsCategoryIndex), 2);
    EXPECT_EQ(s.subcategoryCount(s.mTutorialsCategoryIndex), 4);
    EXPECT_EQ(s.puzzleCount(s.mChallengesCategoryIndex), 1);
    ASSERT_EQ(s.mPuzzleCategories.size(), 6u);
    for (int32_t category = 0; category < 6; ++category) {
        ASSERT_GE(s.puzzleCount(category), 1) << category;
        for (int32_t index = 0; index < s.puzzleCount(category); ++index) {
            const ProtoPuzzle* puzzle = s.getPuzzle(category, index);
            EXPECT_NE(puzzle->mDisplayName, puzzle->mName) << "a localised name";
            EXPECT_EQ(puzzle->mIncludedTeams, (std::vector<int32_t>{0, 3}));
            ASSERT_NE(puzzle->mTileAllocation, nullptr) << puzzle->mName;
            ASSERT_NE(puzzle->mBoard, nullptr) << puzzle->mName;
            EXPECT_NE(puzzle->mScript, nullptr) << puzzle->mName;
            checkBoard(*puzzle->mBoard);
        }
    }
    s.clear();
}
