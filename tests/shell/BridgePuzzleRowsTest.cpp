// The puzzle menu functions of the bridge: the entries a category sends to
// the page, run in JavaScriptCore against stubs of the page's functions.

#include "BridgeTestSupport.h"
#include "PageScript.h"

#include "shell/BridgePuzzleRows.h"

#include "content/DataPath.h"
#include "content/Preferences.h"
#include "content/settings/PuzzleCategory.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "scene/GameScene.h"

namespace {

// Each entry the page receives as "id|name|art...", then what pressing it
// calls.
constexpr const char* cMenuStubs =
    "var entries = [], calls = [];"
    "function note(name) { return function() {"
    "    calls.push(name + '(' + Array.prototype.slice.call(arguments).join(',') + ')'); }; }"
    "var prepareForNewPuzzles = note('prepareForNewPuzzles'), hideBoardElements = function() {};"
    "$ = function() { return { show: function() {} }; };"
    "var cef = { uiapp: { showGameView: note('showGameView'),"
    "    requestPuzzleList: note('requestPuzzleList'), launchPuzzle: note('launchPuzzle') } };"
    "function addMenuEntryWithArt() {"
    "    var args = Array.prototype.slice.call(arguments);"
    "    var press = args.pop();"
    "    calls = []; press();"
    "    entries.push(args.join('|') + ' => ' + calls.join(' ')); }";

class BridgePuzzleTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        setPreferenceStore(&mStore);
        // 0 "Basics" and 2 "Done" are sub-categories; 4 has no puzzles of
        // its own.
        add("Basics", {}, {"Move", "Attack"});
        add("Tutorials", {0}, {"First \"Steps\"", "Second"});
        add("Done", {}, {"Finished"});
        add("Challenges", {2}, {"Hold", "Open"});
        add("Parent", {0, 2}, {});
        SettingsManager& settings = SettingsManager::instance();
        settings.mTutorialsCategoryIndex = 1;
        settings.mChallengesCategoryIndex = 3;
        for (const char* done : {"Move", "First \"Steps\"", "Finished", "Hold"})
            mStore.prefSetBool(std::string("CompletedPuzzle_") + done, true);
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        GameScene::setLayoutMode(0);
        setPreferenceStore(nullptr);
        BridgeTest::TearDown();
    }
    static void add(const char* name, std::vector<int32_t> subcategories,
                    std::vector<const char*> puzzles) {
        auto category = std::make_unique<PuzzleCategory>();
        category->mName = name;
        category->mSubcategories = std::move(subcategories);
        for (const char* puzzle : puzzles)
            category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>(puzzle));
        for (auto& puzzle : category->mPuzzles)
            puzzle->mDisplayName = puzzle->mName;
        SettingsManager::instance().mPuzzleCategories.push_back(std::move(category));
    }
    // The entries of the statements run since from.
    std::vector<std::string> entries(size_t from = 0) {
        PageScript page;
        EXPECT_TRUE(page.run(cMenuStubs));
        for (size_t i = from; i < statements().size(); ++i)
            EXPECT_TRUE(page.run(statements()[i])) << statements()[i];
        std::vector<std::string> out;
        const int count = std::stoi(page.text("entries.length"));
        for (int i = 0; i < count; ++i)
            out.push_back(page.text("entries[" + std::to_string(i) + "]"));
        return out;
    }
};

TEST_F(BridgePuzzleTest, RequestPuzzleListSendsEachEntryWithTheArtOfItsState) {
    const std::string incompleteLge = "MenuNav-Incomplete-Dn_Lge.png|MenuNav-Incomplete-Up_Lge.png";
    const struct {
        int32_t mode;
        int32_t category;
        std::vector<std::string> expected;
    } cases[] = {
        // Sub-categories first, then the puzzles; completed tutorials keep
        // the plain art.
        {2,
         1,
         {"NavCategoryButton0|Basics|" + incompleteLge +
              " => prepareForNewPuzzles(Basics) requestPuzzleList(0)",
          "NavPuzzleButton1-0|First \"Steps\"|MenuNav-Complete-Dn_Lge.png|"
          "MenuNav-Complete-Up_Lge.png => showGameView() launchPuzzle(1,0)",
          "NavPuzzleButton1-1|Second|" + incompleteLge + " => showGameView() launchPuzzle(1,1)"}},
        // Completed categories and other completed puzzles: the star.
        {1,
         3,
         {"NavCategoryButton0|Done|MenuNavStar-Complete-Dn_Med.png|"
          "MenuNavStar-Complete-Up_Med.png => prepareForNewPuzzles(Done) requestPuzzleList(2)",
          "NavPuzzleButton3-0|Hold|MenuNavStar-Complete-Dn_Med.png|"
          "MenuNavStar-Complete-Up_Med.png => showGameView() launchPuzzle(3,0)",
          "NavPuzzleButton3-1|Open|MenuNav-Incomplete-Dn_Med.png|MenuNav-Incomplete-Up_Med.png"
          " => showGameView() launchPuzzle(3,1)"}},
        // No sub-categories: only puzzles; layout mode 0: no art.
        {0,
         0,
         {"NavPuzzleButton0-0|Move => showGameView() launchPuzzle(0,0)",
          "NavPuzzleButton0-1|Attack => showGameView() launchPuzzle(0,1)"}},
        // No puzzles: only categories.
        {0,
         4,
         {"NavCategoryButton0|Basics => prepareForNewPuzzles(Basics) requestPuzzleList(0)",
          "NavCategoryButton1|Done => prepareForNewPuzzles(Done) requestPuzzleList(2)"}},
        {2, 9, {}},
        {2, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.category));
        GameScene::setLayoutMode(c.mode);
        const size_t from = statements().size();
        EXPECT_EQ(call("requestPuzzleList", {c.category}), std::nullopt);
        EXPECT_EQ(entries(from), c.expected);
    }
    // Without its argument: nothing.
    const size_t sent = statements().size();
    call("requestPuzzleList");
    EXPECT_EQ(statements().size(), sent);
}

TEST_F(BridgePuzzleTest, ThePuzzleOnTheBoardIsMarkedWhileTheGameViewShows) {
    Game* game = new Game();
    game->mPuzzleCategory = 3;
    game->mPuzzleIndex = 1;
    gCurrentGame = game;
    for (const bool shown : {false, true}) {
        mPage.setGameViewShown(shown);
        call("requestPuzzleList", {3});
        EXPECT_EQ(statements().back() == "showCurrentPuzzleEntry(\"NavPuzzleButton3-1\"); ", shown);
    }
    gCurrentGame = nullptr;
    game->release();
}

TEST_F(BridgePuzzleTest, TheTwoTopCategoriesAreTheLoadedOnes) {
    EXPECT_EQ(call("getPuzzleTutorialCategory"), 1);
    EXPECT_EQ(call("getPuzzleChallengeCategory"), 3);
    // Launching outside the catalogue changes nothing.
    call("launchPuzzle", {9, 0});
    call("launchPuzzle", {1});
    EXPECT_EQ(gCurrentGame, nullptr);
}

TEST_F(BridgePuzzleTest, InitPuzzlesKeepsTheCatalogueOfAPuzzleOnTheBoard) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    Game* game = new Game();
    game->mPuzzleCategory = 1;
    game->mPuzzleIndex = 0;
    gCurrentGame = game;
    // Its script belongs to the catalogue entry it started from.
    testing::internal::CaptureStdout();
    call("initPuzzles");
    testing::internal::GetCapturedStdout();
    std::string name;
    EXPECT_TRUE(SettingsManager::instance().categoryName(0, name));
    EXPECT_EQ(name, "Basics");
    gCurrentGame = nullptr;
    game->release();

    testing::internal::CaptureStdout();
    call("initPuzzles");
    testing::internal::GetCapturedStdout();
    const nlohmann::json tutorials = call("getPuzzleTutorialCategory").value_or(-1);
    EXPECT_TRUE(SettingsManager::instance().categoryName(tutorials.get<int32_t>(), name));
    EXPECT_EQ(name, "Tutorials");
    EXPECT_EQ(SettingsManager::instance().categoryIndexForName("Basics"), -1);
    setBaseFolder({});
}

} // namespace
