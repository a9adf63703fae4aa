#include "GameSetupTestSupport.h"

#include "rules/GameBoard.h"
#include "rules/Graveyard.h"

#include "content/settings/PuzzleCategory.h"

#include "platform/engine/CCTouchDispatcher.h"

namespace {

class GameTest : public GameSetupTest {};

} // namespace

TEST_F(GameTest, InitBuildsPlayersGridsAndTheSharedChestFromCivZero) {
    Game* game = newGame(2); // board 0: a crystal in each victory pool
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->mPlayers.size(), 2u);
    for (int32_t index = 0; index < 2; ++index) {
        const Player* player = game->getPlayer(index);
        EXPECT_EQ(player->mIndex, index);
        EXPECT_EQ(player->mCivId, 0);
        EXPECT_EQ(player->mScore, 0);
        EXPECT_FALSE(player->mCivAssigned);
        EXPECT_EQ(player->mTileRack->getEntityCount(), 0) << "racks fill later";
        EXPECT_EQ(player->mTileChest, nullptr);
    }
    EXPECT_EQ(game->mCurrentPlayer, -1) << "the caller picks the current player";
    EXPECT_EQ(game->mTurnCount, 1);
    ASSERT_NE(game->mTileChest, nullptr);
    EXPECT_EQ(game->mTileChest->getOwner(), -1);
    // Civ 0 (blue) fills the shared chest, in order: its allocation is not shuffled.
    EXPECT_EQ(protosIn(*game->mTileChest),
              (std::vector<int32_t>{cArcher, cSword, cKnight, cKnight}));
    ASSERT_NE(game->mGameBoard, nullptr);
    EXPECT_EQ(game->mGameBoard->getName(), "\"Game board\"");
    EXPECT_EQ(game->mGameBoard->getWidth(), 5);
    EXPECT_EQ(game->mGameBoard->getHeight(), 3);
    EXPECT_EQ(game->mGameBoard->getProtoIndex(), 0);
    // The board's set-up follows the chest: ids 4 and 5.
    EXPECT_EQ(game->getPlayer(0)->mVictoryUnitIds, (std::vector<int32_t>{4}));
    EXPECT_EQ(game->getPlayer(1)->mVictoryUnitIds, (std::vector<int32_t>{5}));
    EXPECT_EQ(game->getPlayer(1)->getVictoryHealth(), 200);
    EXPECT_EQ(game->getPlayer(1)->getVictoryMaxHealth(), 400);
}

TEST_F(GameTest, FirstActionPointsComeFromSettingsPreferenceOrPuzzle) {
    auto category = std::make_unique<PuzzleCategory>();
    category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("first"));
    category->mPuzzles.back()->mBoard = std::make_unique<ProtoGameBoard>();
    SettingsManager::instance().mPuzzleCategories.push_back(std::move(category));
    const struct {
        const char* what;
        const char* preference; // null: not stored
        int32_t puzzleCategory;
        int32_t puzzleIndex;
        int32_t expected;
    } cases[] = {
        {"an online game", nullptr, -1, -1, 6},     {"the stored preference", "3", -1, -1, 3},
        {"a stored zero", "0", -1, -1, 0},          {"a puzzle", "3", 0, 0, 5},
        {"either puzzle index", nullptr, 2, -1, 5},
    };
    for (const auto& c : cases) {
        builtInPreferenceStore().clear();
        if (c.preference != nullptr)
            builtInPreferenceStore().setValue("Vellix_FirstTurnAP", c.preference);
        auto* game = new Game();
        mNewGames.push_back(game);
        game->mPuzzleCategory = c.puzzleCategory;
        game->mPuzzleIndex = c.puzzleIndex;
        game->mFlags |= cGameLocal;
        ASSERT_TRUE(game->init(1)) << c.what;
        EXPECT_EQ(game->getPlayer(0)->mActionPoints, c.expected) << c.what;
        EXPECT_EQ(game->getPlayer(1)->mActionPoints, 0) << c.what;
    }
}

TEST_F(GameTest, InitFailsWithoutACivOfIdZero) {
    SettingsManager::instance().mCivs.erase(SettingsManager::instance().mCivs.begin());
    EXPECT_EQ(newGame(1), nullptr);
}

TEST_F(GameTest, SplitChestsComeFromEachPlayersCiv) {
    SettingsManager::instance().mSplitTileChest = true;
    Game* game = newGame(1);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->mTileChest, nullptr);
    EXPECT_EQ(game->getGrid(cGridTileChest, 0), nullptr) << "no chest until the caller makes it";
    Player* first = game->getPlayer(0);
    Player* second = game->getPlayer(1);
    ASSERT_TRUE(second->setCiv(1, false));
    ASSERT_TRUE(first->createTileChest());
    ASSERT_TRUE(second->createTileChest());
    EXPECT_EQ(game->getGrid(cGridTileChest, 0), first->mTileChest);
    EXPECT_EQ(game->getGrid(cGridTileChest, 1), second->mTileChest);
    EXPECT_EQ(protosIn(*second->mTileChest),
              (std::vector<int32_t>{cArcher, cArcher, cCouncilKnight}));
    TileChest* kept = first->mTileChest;
    first->createTileChest();
    EXPECT_EQ(first->mTileChest, kept);
}

TEST_F(GameTest, GridsAreFoundByTypeAndPlayer) {
    Game* game = newGame(2);
    ASSERT_NE(game, nullptr);
    game->mCurrentPlayer = 1;
    Player* first = game->getPlayer(0);
    Player* second = game->getPlayer(1);
    first->createTileChest(); // only consulted with split chests
    const struct {
        int32_t type;
        int32_t player;
        const EntityGrid* expected;
    } cases[] = {
        {cGridTileChest, 0, game->mTileChest},
        {cGridTileChest, 1, game->mTileChest},
        {cGridTileChest, 7, game->mTileChest},
        {cGridTileRack, 0, first->mTileRack},
        {cGridTileRack, -1, second->mTileRack},
        {cGridTileRack, 2, nullptr},
        {cGridGameBoard, 5, game->mGameBoard},
        {cGridGameBoard, -1, game->mGameBoard},
        {cGridGraveyard, 0, first->mGraveyard},
        {cGridGraveyard, -1, second->mGraveyard},
        {cGridGraveyard, -2, second->mGraveyard},
        {4, 0, nullptr},
        {-1, 0, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(game->getGrid(c.type, c.player), c.expected) << c.type << " " << c.player;
    SettingsManager::instance().mSplitTileChest = true;
    EXPECT_EQ(game->getGrid(cGridTileChest, 0), first->mTileChest);
    EXPECT_EQ(game->getGrid(cGridTileChest, -1), nullptr);
    EXPECT_EQ(game->getGrid(cGridTileChest, 9), nullptr);
}

TEST_F(GameTest, EntityIdsFollowCallOrderAndARefusedEntityTakesNone) {
    EXPECT_EQ(create(cKnight), 0);
    EXPECT_EQ(create(cArcher), 1);
    EXPECT_EQ(create(99), -1);
    EXPECT_EQ(create(-1), -1);
    EXPECT_EQ(create(cSword), 2);
    EXPECT_EQ(mGame->mEntities.size(), 3u);
    EXPECT_EQ(mGame->getEntity(2)->mId, 2);
    EXPECT_EQ(mGame->getEntity(3), nullptr);
    EXPECT_EQ(mGame->getEntity(-1), nullptr);
    EXPECT_EQ(mGame->getPlayer(-1), nullptr);
    EXPECT_EQ(mGame->getPlayer(2), nullptr);
}

TEST_F(GameTest, LocalTurnFollowsTheLocalFlagOrTheRecord) {
    FakeGamesList games;
    GameRecord& record = games.addRecord(40, 0, 0);
    record.mCurrentTurnPlayer = "alice";
    const struct {
        const char* what;
        bool local;
        int64_t gameId;
        int32_t currentPlayer;
        const char* turnPlayer;
        bool expected;
    } cases[] = {
        {"a local game without a record", true, -1, 0, "alice", true},
        {"the record names the local player", false, 40, 0, "ALICE", true},
        {"the record names the other player", false, 40, 0, "bob", false},
        {"no record entry for the current player", false, 40, 5, "alice", false},
        {"no record", false, 41, 0, "alice", false},
    };
    for (const auto& c : cases) {
        mGame->mFlags = c.local ? cGameLocal : 0;
        mGame->mGameID = c.gameId;
        mGame->mCurrentPlayer = c.currentPlayer;
        record.mCurrentTurnPlayer = c.turnPlayer;
        EXPECT_EQ(mGame->isLocalTurn(), c.expected) << c.what;
    }
}

TEST_F(GameTest, RecordQueriesReadTheCurrentPlayersEntryAndColours) {
    FakeGamesList games;
    SettingsManager& settings = SettingsManager::instance();
    for (auto* list : {&settings.mHomeColors, &settings.mAwayColors})
        for (int i = 0; i < 2; ++i)
            list->push_back(std::make_unique<PlayerColor>());
    EXPECT_EQ(mGame->getHomeColor(), settings.mHomeColors[0].get()) << "no record: the first";
    GameRecord& record = games.addRecord(40, 1, 5);
    record.mCreationPlayer = "alice";
    mGame->mGameID = 40;
    EXPECT_EQ(mGame->getHomeColor(), settings.mHomeColors[1].get());
    EXPECT_EQ(mGame->getAwayColor(), nullptr) << "an index outside the list";
    EXPECT_EQ(mGame->getCurrentPlayerRecord(), record.getPlayer(0));
    const struct {
        int32_t player;
        int32_t substatus;
        bool winner;
    } cases[] = {
        {0, cSubstatusWon, true},   {0, cSubstatusDeclined, true}, {1, cSubstatusDeclined, false},
        {0, cSubstatusLost, false}, {3, cSubstatusWon, false},
    };
    for (const auto& c : cases) {
        mGame->mCurrentPlayer = c.player;
        if (PlayerRecord* entry = record.getPlayer(c.player))
            entry->mSubstatus = c.substatus;
        EXPECT_EQ(mGame->isCurrentPlayerWinner(), c.winner) << c.player << " " << c.substatus;
    }
}

TEST_F(GameTest, ResetEmptiesTheGameAndKeepsTheEndShownAndLocalBits) {
    Game* game = newGame(4);
    ASSERT_NE(game, nullptr);
    game->mGameID = 12;
    game->mTurnCount = 7;
    game->mFlownRackTileIds = {1, 2};
    game->mNewRackTileIds = {3};
    game->mTaunts.push_back(std::make_unique<TauntInfo>());
    game->mKnockOutFades.push_back(std::make_unique<KnockOutFadeInfo>());
    game->mScoreFlyouts.push_back(std::make_unique<ScoreFlyoutInfo>());
    game->mFlags = 0x1f;
    game->reset();
    EXPECT_EQ(game->mGameID, -1);
    EXPECT_TRUE(game->mPlayers.empty());
    EXPECT_TRUE(game->mEntities.empty());
    EXPECT_EQ(game->mTileChest, nullptr);
    EXPECT_EQ(game->mGameBoard, nullptr);
    EXPECT_TRUE(game->mTaunts.empty());
    EXPECT_TRUE(game->mKnockOutFades.empty());
    EXPECT_TRUE(game->mScoreFlyouts.empty());
    EXPECT_TRUE(game->mNewRackTileIds.empty());
    EXPECT_EQ(game->mFlownRackTileIds, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(game->mTurnCount, 7);
    EXPECT_EQ(game->mFlags, cGameEndShown | cGameLocal);
}

TEST_F(GameTest, LinkingBuildsEveryViewAndWithSplitChestsThePlayersOwn) {
    FakeSceneServices services;
    SettingsManager::instance().mSplitTileChest = true;
    Game* game = newGame(5);
    ASSERT_NE(game, nullptr);
    game->mCurrentPlayer = 0;
    for (Player* player : game->mPlayers)
        player->createTileChest();
    EXPECT_TRUE(game->linkAt(CCPoint(0, 0), true));
    EXPECT_TRUE(game->hasLink());
    EXPECT_TRUE(game->getPlayer(0)->mTileChest->hasLink());
    EXPECT_FALSE(game->getPlayer(1)->mTileChest->hasLink());
    EXPECT_TRUE(game->mGameBoard->hasLink());
    EXPECT_EQ(game->mGameBoard->getViewPosition().x, 6.0f);
    auto* dispatcher = cocos2d::CCTouchDispatcher::sharedDispatcher();
    EXPECT_TRUE(dispatcher->isRegistered(game));
    game->unlink(true);
    EXPECT_FALSE(dispatcher->isRegistered(game));
    EXPECT_FALSE(game->hasLink());
    EXPECT_FALSE(game->getPlayer(0)->mTileChest->hasLink());
    EXPECT_FALSE(game->mGameBoard->hasLink());
    EXPECT_FALSE(game->getPlayer(0)->mTileRack->hasLink());
}

TEST_F(GameTest, LinkingWithoutTouchesShowsFlyoutsAndTheLastTurnNotice) {
    FakeSceneServices services;
    FakeGamesList games;
    games.addRecord(40, 0, 0);
    Game* game = newGame(6);
    ASSERT_NE(game, nullptr);
    game->mGameID = 40;
    game->mCurrentPlayer = 1;
    SettingsManager::instance().mScoreToWin = 300;
    game->getPlayer(1)->mLastTurn = true;
    const int32_t knight = game->createEntity(cKnight, 1);
    const int32_t hidden = game->createEntity(cArcher, 1);
    game->mGameBoard->addEntity(knight);
    game->mScoreFlyouts.push_back(
        std::make_unique<ScoreFlyoutInfo>(ScoreFlyoutInfo{10, knight, 1.3f}));
    game->mScoreFlyouts.push_back(
        std::make_unique<ScoreFlyoutInfo>(ScoreFlyoutInfo{20, hidden, 1.15f}));
    RecordingScene scene;
    EXPECT_TRUE(game->linkAt(CCPoint(0, 0), false));
    EXPECT_FALSE(cocos2d::CCTouchDispatcher::sharedDispatcher()->isRegistered(game));
    ASSERT_EQ(scene.mFlyouts.size(), 1u);
    EXPECT_EQ(scene.mFlyouts[0].points, 10);
    EXPECT_EQ(scene.mFlyouts[0].at.y, game->getEntity(knight)->getViewPosition().y - 50.0f);
    EXPECT_EQ(scene.mFlyouts[0].delay, 0.0f);
    EXPECT_TRUE(scene.mFlyouts[0].counts);
    EXPECT_EQ(scene.mFlyouts[0].scale, 1.3f) << "the award's own scale rides along";
    ASSERT_EQ(game->mScoreFlyouts.size(), 1u) << "the unit without a view keeps its award";
    EXPECT_EQ(game->mScoreFlyouts[0]->mEntityId, hidden);
    EXPECT_EQ(scene.mHealthTexts, (std::vector<std::pair<int32_t, float>>{{1, -1.0f}}));
    EXPECT_EQ(scene.mNotices,
              (std::vector<std::string>{"alice\nreached 300 points!\nYou get one last turn!"}));
    game->unlink(false);
}

TEST_F(GameTest, SetUpIsDeterministicForASeedAndACosmeticSeed) {
    // Golden values of this fixture: the board index and the chest in slot
    // order, for a shuffled allocation with a random entry.
    SettingsManager& settings = SettingsManager::instance();
    settings.mCivs.clear();
    addCiv(0, "mixed", R"(<tileAllocation><tile name="knight">2</tile>
        <tile name="sword">2</tile><random choose="1"><tile name="archer">1</tile>
        <tile name="councilKnight">1</tile></random></tileAllocation>)");
    const struct {
        int32_t seed;
        uint32_t cosmeticSeed;
        int32_t board;
        std::vector<int32_t> chest;
    } cases[] = {
        {1, 1, 1, {cSword, cSword, cKnight, cArcher, cKnight}},
        {1, 2, 1, {cSword, cSword, cKnight, cCouncilKnight, cKnight}},
        {2, 1, 1, {cSword, cKnight, cSword, cKnight, cArcher}},
        {77, 5, 0, {cSword, cKnight, cSword, cArcher, cKnight}},
    };
    for (const auto& c : cases) {
        for (int round = 0; round < 2; ++round) {
            gRng.seed(c.cosmeticSeed);
            Game* game = newGame(c.seed);
            ASSERT_NE(game, nullptr);
            EXPECT_EQ(game->mGameBoard->getProtoIndex(), c.board)
                << c.seed << "/" << c.cosmeticSeed;
            EXPECT_EQ(protosIn(*game->mTileChest), c.chest) << c.seed << "/" << c.cosmeticSeed;
        }
    }
}
