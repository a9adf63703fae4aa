#include "EntityViewTestSupport.h"
#include "FakeGamesList.h"

#include "content/settings/ProtoPuzzle.h"
#include "content/settings/PuzzleCategory.h"
#include "rules/PuzzleScript.h"

#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"

#include <cstdio>
#include <string>

using namespace cocos2d;

namespace {

// A script that notes its start.
class StartedScript : public PuzzleScript {
public:
    explicit StartedScript(int* starts) : mStarts(starts) {}
    void start() override { ++*mStarts; }

private:
    int* mStarts;
};

class GameSceneBindingTest : public EntityViewTest {
protected:
    void TearDown() override {
        setPuzzleScriptFactory(nullptr);
        GameScene::setDialogManagerFactory(nullptr);
        EntityViewTest::TearDown();
    }

    // Binds the game and returns the first line the bind printed.
    std::string bind(GameScene* scene, Game* game) {
        testing::internal::CaptureStdout();
        scene->setGame(game);
        const std::string printed = testing::internal::GetCapturedStdout();
        return printed.substr(0, printed.find('\n') + 1);
    }

    // A crystal of that health for a player, its victory unit.
    void crystal(int32_t owner, int32_t health, GridSlot slot) {
        Entity* unit = make("crystal", owner, slot);
        unit->mHealth = health;
        mGame->getPlayer(owner)->mVictoryUnitIds.push_back(unit->mId);
    }
};

std::string text(CCLabelTTF* label) {
    return label != nullptr ? label->getString() : "(none)";
}

} // namespace

TEST_F(GameSceneBindingTest, ANullBindPrintsNothingAndEachBindCountsOneMore) {
    EXPECT_EQ(bind(mBoardScene, nullptr), "");
    mGame->mGameID = 42;
    const int32_t before = GameScene::gamesViewed();
    char expected[96];
    std::snprintf(expected, sizeof expected,
                  "GameScene::setGame -- gameID: 42 (total games viewed: %d)\n", before + 1);
    EXPECT_EQ(bind(mBoardScene, mGame), expected);
    EXPECT_EQ(bind(mBoardScene, nullptr), "");
    GameScene* other = enter();
    std::snprintf(expected, sizeof expected,
                  "GameScene::setGame -- gameID: 42 (total games viewed: %d)\n", before + 2);
    EXPECT_EQ(bind(other, mGame), expected) << "the count spans scenes";
    bind(other, nullptr);
}

TEST_F(GameSceneBindingTest, ALocalGameNamesYouAndOpponentAndPlacesTheTally) {
    for (int32_t local : {0, 1}) {
        mGame->mCurrentPlayer = local;
        bind(mBoardScene, mGame);
        EXPECT_EQ(text(mBoardScene->mLocalNameLabel), "You");
        EXPECT_EQ(text(mBoardScene->mOpponentNameLabel), "Opponent");
        EXPECT_EQ(mBoardScene->mScoreTallyBackground->getPosition().x, local == 0 ? 128 : 353);
        EXPECT_TRUE(mBoardScene->mJustBound);
        EXPECT_EQ(mBoardScene->getPuzzleScript(), nullptr) << "puzzle index -1: no script";
        EXPECT_EQ(mBoardScene->mPuzzleDialogManager, nullptr);
        // The local name sits on the current player's side.
        const float nameX = mBoardScene->mLocalNameLabel->getPosition().x;
        const float middle = director()->getWinSize().width / 2;
        EXPECT_EQ(nameX < middle, local == 0);
        bind(mBoardScene, nullptr);
    }
}

TEST_F(GameSceneBindingTest, ATutorialGetsItsDialogLayerAndAStartedScript) {
    int starts = 0;
    setPuzzleScriptFactory([&starts](const ProtoPuzzle&) { return new StartedScript(&starts); });
    GameScene::setDialogManagerFactory([] { return CCNode::node(); });
    auto category = std::make_unique<PuzzleCategory>();
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("Scripted"));
    category->mPuzzles.back()->mScript = std::make_unique<PuzzleScriptNodeList>();
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("Unscripted"));
    SettingsManager::instance().mPuzzleCategories.push_back(std::move(category));

    struct Case {
        int32_t index;
        bool scripted;
    };
    for (const Case& c : {Case{0, true}, Case{1, false}, Case{5, false}, Case{-1, false}}) {
        SCOPED_TRACE(c.index);
        starts = 0;
        mGame->mPuzzleCategory = 0;
        mGame->mPuzzleIndex = c.index;
        bind(mBoardScene, mGame);
        EXPECT_EQ(text(mBoardScene->mLocalNameLabel), "You");
        EXPECT_EQ(mBoardScene->getPuzzleScript() != nullptr, c.scripted);
        EXPECT_EQ(starts, c.scripted ? 1 : 0);
        CCNode* dialogs = mBoardScene->mPuzzleDialogManager;
        ASSERT_EQ(dialogs != nullptr, c.scripted);
        if (dialogs != nullptr) {
            EXPECT_EQ(dialogs->getParent(), mBoardScene);
            EXPECT_EQ(dialogs->getZOrder(), 10001);
        }
        bind(mBoardScene, nullptr);
    }
}

TEST_F(GameSceneBindingTest, AnOnlineGameTakesItsNamesFromItsRecordOrStopsWithoutOne) {
    FakeGamesList games;
    mGame->mFlags &= ~cGameLocal;
    mGame->mGameID = 7;
    bind(mBoardScene, mGame);
    EXPECT_EQ(text(mBoardScene->mLocalNameLabel), "You") << "built, never named";
    EXPECT_EQ(text(mBoardScene->mOpponentNameLabel), "?");
    EXPECT_FALSE(mBoardScene->mJustBound) << "no record: no replay armed";
    bind(mBoardScene, nullptr);

    games.add(7, {"Bram", "Ada"});
    GameScene* scene = enter();
    bind(scene, mGame);
    EXPECT_EQ(text(scene->mLocalNameLabel), "Ada");
    EXPECT_EQ(text(scene->mOpponentNameLabel), "Bram");
    EXPECT_TRUE(scene->mJustBound);
    bind(scene, nullptr);
}

TEST_F(GameSceneBindingTest, HealthTextRoundsUpAnyHealthLeftAndFallsBackToTheScore) {
    crystal(0, 4500, GridSlot(0, 0));
    bind(mBoardScene, mGame);
    const int32_t maximum = mGame->getPlayer(0)->getVictoryMaxHealth();
    ASSERT_GT(maximum, 0);
    struct Case {
        float fraction;
        const char* shown;
    };
    for (const Case& c :
         {Case{0.004f, "1%"}, Case{0.0f, "0%"}, Case{0.996f, "100%"}, Case{0.5f, "50%"}}) {
        mBoardScene->setPlayerHealthText(0, 0, c.fraction);
        EXPECT_EQ(text(mBoardScene->mLocalHealthLabel), c.shown) << c.fraction;
    }
    mBoardScene->setPlayerHealthText(0, 0, -1.0f);
    EXPECT_EQ(text(mBoardScene->mLocalHealthLabel), "100%") << "negative recomputes";

    // Player 1 has no victory units: its score, or its units left with
    // split chests, and a bar at 0.
    SettingsManager& settings = SettingsManager::instance();
    mGame->getPlayer(1)->mScore = 12;
    make("knight", 1, GridSlot(3, 3));
    mBoardScene->setPlayerHealthText(1, 1, 0.5f);
    EXPECT_EQ(text(mBoardScene->mOpponentHealthLabel), "12");
    settings.mSplitTileChest = true;
    mBoardScene->setPlayerHealthText(1, 1, 0.5f);
    EXPECT_EQ(text(mBoardScene->mOpponentHealthLabel),
              std::to_string(mGame->getPlayer(1)->countRemainingUnits()));
    settings.mSplitTileChest = false;
    settings.mUseVictoryHealthPool = false;
    mBoardScene->setPlayerHealthText(0, 0, 0.5f);
    EXPECT_EQ(text(mBoardScene->mLocalHealthLabel), "0") << "pool off: the score";
    settings.mUseVictoryHealthPool = true;
    bind(mBoardScene, nullptr);
}

TEST_F(GameSceneBindingTest, TheTurnMarkersHideOnceBound) {
    bind(mBoardScene, mGame);
    for (CCLabelBMFont* marker :
         {mBoardScene->mLocalTurnMarker, mBoardScene->mOpponentTurnMarker}) {
        ASSERT_NE(marker, nullptr);
        marker->setIsVisible(true);
    }
    mBoardScene->hideTurnMarkers();
    EXPECT_FALSE(mBoardScene->mLocalTurnMarker->getIsVisible());
    EXPECT_FALSE(mBoardScene->mOpponentTurnMarker->getIsVisible());
    bind(mBoardScene, nullptr);
}
