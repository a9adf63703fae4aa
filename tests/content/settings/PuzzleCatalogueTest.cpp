#include "CatalogueTestSupport.h"

#include "content/PuzzleScriptSupport.h"

// The puzzle scripts' node, as far as these tests need one.
class PuzzleScriptNode {
public:
    explicit PuzzleScriptNode(int* alive) : mAlive(alive) { ++*mAlive; }
    ~PuzzleScriptNode() { --*mAlive; }
    int* mAlive;
};

namespace {

// Makes one node per child element; a child named "bad" fails.
class FakeScriptSupport : public PuzzleScriptSupport {
public:
    bool loadPuzzleScriptNodes(const XmlNode* script, PuzzleScriptNodeList& nodes) override {
        if (!script)
            return false;
        bool result = true;
        for (const XmlNode* child = script->first_node(); child; child = child->next_sibling()) {
            if (xmlNameEquals(child, "bad"))
                result = false;
            else
                nodes.push_back(new PuzzleScriptNode(&alive));
        }
        return result;
    }
    void deletePuzzleScriptNodes(PuzzleScriptNodeList& nodes) override {
        for (PuzzleScriptNode* node : nodes)
            delete node;
        nodes.clear();
    }
    void cacheTutorialCategoryIndices() override {
        ++cacheCalls;
        tutorials = SettingsManager::instance().categoryIndexForName("Tutorials");
    }
    int alive = 0;
    int cacheCalls = 0;
    int32_t tutorials = -2;
};

class PuzzleCatalogueTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        setPuzzleScriptSupport(&mScripts);
        testing::internal::CaptureStdout();
        const bool loaded = settings().init();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded);
    }
    void TearDown() override {
        CatalogueTest::TearDown(); // frees the puzzles while the support is installed
        setPuzzleScriptSupport(nullptr);
        EXPECT_EQ(mScripts.alive, 0) << "every script node is freed";
    }

    // A puzzle read from the text of a whole file.
    static std::unique_ptr<ProtoPuzzle> readPuzzle(std::string_view name, std::string_view text,
                                                   bool loads = true) {
        ParsedXml xml(text);
        auto puzzle = std::make_unique<ProtoPuzzle>(name);
        EXPECT_EQ(puzzle->load(xml.root), loads) << text;
        return puzzle;
    }

    FakeScriptSupport mScripts;
};

} // namespace

TEST_F(PuzzleCatalogueTest, PuzzleParts) {
    const auto puzzle = readPuzzle("First", R"(<puzzle>
        <tileAllocation randomize="false"><tile name="knight">2</tile></tileAllocation>
        <board><Art>Boards/Meadow.png</Art></board>
        <includeTeam>Random</includeTeam><includeTeam>nobody</includeTeam>
        <includeTeam>orcs</includeTeam><includeTeam>humans</includeTeam>
        <includeTeam>dwarves</includeTeam>
        <script><onStart/><section/></script></puzzle>)");
    EXPECT_EQ(puzzle->mName, "First");
    EXPECT_EQ(puzzle->mDisplayName, "First Steps");
    ASSERT_NE(puzzle->mTileAllocation, nullptr);
    EXPECT_FALSE(puzzle->mTileAllocation->mRandomize);
    ASSERT_NE(puzzle->mBoard, nullptr);
    EXPECT_EQ(puzzle->mBoard->mArt, "Boards/Meadow.png");
    // Unknown names and "Random" add nothing; two civs at most.
    EXPECT_EQ(puzzle->mIncludedTeams, (std::vector<int32_t>{3, 1}));
    ASSERT_NE(puzzle->mScript, nullptr);
    EXPECT_EQ(puzzle->mScript->size(), 2u);
    EXPECT_EQ(mScripts.alive, 2);
}

TEST_F(PuzzleCatalogueTest, PuzzleWithoutPartsShowsItsName) {
    const auto puzzle = readPuzzle("Plain", "<puzzle/>");
    EXPECT_EQ(puzzle->mDisplayName, "Plain") << "no strings: the file name";
    EXPECT_EQ(puzzle->mTileAllocation, nullptr);
    EXPECT_EQ(puzzle->mBoard, nullptr);
    EXPECT_EQ(puzzle->mScript, nullptr);
    EXPECT_TRUE(puzzle->mIncludedTeams.empty());
    EXPECT_FALSE(ProtoPuzzle("Plain").load(nullptr));
}

TEST_F(PuzzleCatalogueTest, FailedPartsAreDroppedAndReported) {
    // A failing part is dropped, the others are still read.
    auto puzzle = readPuzzle("P", R"(<puzzle>
        <tileAllocation><tile name="dragon">1</tile></tileAllocation>
        <includeTeam>orcs</includeTeam></puzzle>)",
                             false);
    EXPECT_EQ(puzzle->mTileAllocation, nullptr);
    EXPECT_EQ(puzzle->mIncludedTeams, (std::vector<int32_t>{3}));

    puzzle = readPuzzle("P", R"(<puzzle><script><onStart/><bad/><onSubmit/></script>
        <board/></puzzle>)",
                        false);
    EXPECT_EQ(puzzle->mScript, nullptr);
    EXPECT_EQ(mScripts.alive, 0) << "the nodes that parsed are freed with the list";
    EXPECT_NE(puzzle->mBoard, nullptr);

    // A second script replaces the first, whose nodes are freed.
    puzzle = readPuzzle("P", "<puzzle><script><a/></script><script><b/><c/></script></puzzle>");
    EXPECT_EQ(mScripts.alive, 2);
    puzzle.reset();
    EXPECT_EQ(mScripts.alive, 0);

    // Without the puzzle scripts no script can be read.
    setPuzzleScriptSupport(nullptr);
    puzzle = readPuzzle("Q", "<puzzle><script/></puzzle>", false);
    EXPECT_EQ(puzzle->mScript, nullptr);
    setPuzzleScriptSupport(&mScripts);
}

TEST_F(PuzzleCatalogueTest, CatalogueOrderAndLookups) {
    settings().loadPuzzleCategories();
    const SettingsManager& s = settings();
    // Sub-categories come before their parent; the challenges file follows.
    ASSERT_EQ(s.mPuzzleCategories.size(), 4u);
    const char* names[] = {"A", "B", "Tutorials", "Challenges"};
    for (int32_t i = 0; i < 4; ++i) {
        std::string name;
        EXPECT_TRUE(s.categoryName(i, name));
        EXPECT_EQ(name, names[i]);
        EXPECT_EQ(s.categoryIndexForName(names[i]), i);
    }
    EXPECT_EQ(s.mTutorialsCategoryIndex, 2);
    EXPECT_EQ(s.mChallengesCategoryIndex, 3);
    EXPECT_EQ(mScripts.cacheCalls, 1);
    EXPECT_EQ(mScripts.tutorials, 2) << "cached after the indices are known";
    EXPECT_EQ(s.categoryIndexForName("tutorials"), -1);

    EXPECT_EQ(s.subcategoryCount(2), 2);
    EXPECT_EQ(s.getSubcategory(2, 0), 0);
    EXPECT_EQ(s.getSubcategory(2, 1), 1);
    EXPECT_EQ(s.getSubcategory(2, 2), -1);
    EXPECT_EQ(s.getSubcategory(4, 0), -1);
    EXPECT_EQ(s.getSubcategory(-1, 0), -1);

    // The entry without a file is left out; a file without a script loads.
    ASSERT_EQ(s.puzzleCount(0), 2);
    EXPECT_EQ(s.getPuzzle(0, 0)->mName, "First");
    EXPECT_EQ(s.getPuzzle(0, 0)->mIncludedTeams, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(s.getPuzzle(0, 1)->mName, "Second");
    EXPECT_EQ(s.getPuzzle(0, 1)->mDisplayName, "Second");
    EXPECT_EQ(s.getPuzzle(0, 2), nullptr);
    EXPECT_EQ(s.getPuzzle(0, -1), nullptr);
    EXPECT_EQ(s.getPuzzle(3, 0)->mIncludedTeams, (std::vector<int32_t>{3}));

    // An index equal to the number of categories.
    std::string name = "unchanged";
    EXPECT_EQ(s.subcategoryCount(4), 0);
    EXPECT_EQ(s.puzzleCount(4), 0);
    EXPECT_FALSE(s.categoryName(4, name));
    EXPECT_EQ(name, "unchanged");

    // Loading again rebuilds the same catalogue.
    settings().loadPuzzleCategories();
    EXPECT_EQ(s.mPuzzleCategories.size(), 4u);
    EXPECT_EQ(mScripts.cacheCalls, 2);
}

TEST_F(PuzzleCatalogueTest, TileCountsAboveAThousandAreDropped) {
    // A puzzle file is not checked: a count such as 2147483647 would make the
    // chest create that many entities.
    settings().loadPuzzleCategories();
    const ProtoPuzzle* third = settings().getPuzzle(3, 0);
    ASSERT_NE(third, nullptr);
    ASSERT_NE(third->mTileAllocation, nullptr);
    const TileAllocation& allocation = *third->mTileAllocation;
    ASSERT_EQ(allocation.mEntries.size(), 1u);
    EXPECT_EQ(allocation.countTile("knight"), 1000);
}

TEST_F(PuzzleCatalogueTest, MissingCatalogueFiles) {
    setBaseFolder(cCatalogueFixture + "/nowhere");
    settings().loadPuzzleCategories();
    EXPECT_TRUE(settings().mPuzzleCategories.empty());
    EXPECT_EQ(settings().mTutorialsCategoryIndex, -1);
    EXPECT_EQ(settings().mChallengesCategoryIndex, -1);
    EXPECT_EQ(mScripts.cacheCalls, 1);

    // A category element nested in another element is no category.
    ParsedXml xml(R"(<categories><category name="X"/></categories>)");
    EXPECT_EQ(settings().parsePuzzleCategory(xml.root), -1);
    EXPECT_EQ(settings().parsePuzzleCategory(nullptr), -1);
    EXPECT_EQ(settings().loadPuzzle("Nothing"), nullptr);
}

TEST_F(PuzzleCatalogueTest, CompletionFlags) {
    settings().loadPuzzleCategories();
    const SettingsManager& s = settings();
    EXPECT_FALSE(s.isPuzzleCompleted(0, 0));
    EXPECT_FALSE(s.isCategoryCompleted(0));
    EXPECT_TRUE(s.isCategoryCompleted(1)) << "a category without puzzles";

    s.setPuzzleCompleted(0, 0);
    EXPECT_EQ(builtInPreferenceStore().values().at("CompletedPuzzle_First"), "true");
    EXPECT_TRUE(s.isPuzzleCompleted(0, 0));
    EXPECT_FALSE(s.isCategoryCompleted(0));
    s.setPuzzleCompleted(0, 1);
    EXPECT_TRUE(s.isCategoryCompleted(0));

    // Bad indices store and find nothing.
    s.setPuzzleCompleted(0, 2);
    s.setPuzzleCompleted(9, 0);
    EXPECT_EQ(builtInPreferenceStore().values().size(), 2u);
    EXPECT_FALSE(s.isPuzzleCompleted(0, 2));

    // The flags outlive the catalogue and go through the store in use.
    settings().loadPuzzleCategories();
    EXPECT_TRUE(s.isPuzzleCompleted(0, 1));
    prefSetBool("CompletedPuzzle_Third", false);
    EXPECT_FALSE(s.isPuzzleCompleted(3, 0));
    prefSetBool("CompletedPuzzle_Third", true);
    EXPECT_TRUE(s.isCategoryCompleted(3));
}
