#include "GameSetupTestSupport.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"

#include "rules/Graveyard.h"

using cocos2d::CCPoint;

namespace {

class PlayerTest : public GameSetupTest {
protected:
    Player& player(int32_t index) { return *mGame->mPlayers[static_cast<size_t>(index)]; }
};

} // namespace

TEST_F(PlayerTest, GridsAreARackOfTheSettingsWidthAndAGrowingGraveyard) {
    Player& first = player(0);
    first.mHasFinishedTurn = true;
    ASSERT_TRUE(first.createGrids());
    EXPECT_FALSE(first.mHasFinishedTurn);
    ASSERT_NE(first.mTileRack, nullptr);
    EXPECT_EQ(first.mTileRack->getWidth(), 4);
    EXPECT_EQ(first.mTileRack->getHeight(), 1);
    EXPECT_EQ(first.mTileRack->getOwner(), 0);
    ASSERT_NE(first.mGraveyard, nullptr);
    EXPECT_EQ(first.mGraveyard->getSlotCount(), 1);
    EXPECT_EQ(first.mGraveyard->getName(), "\"Graveyard\"");
    EXPECT_EQ(first.mTileChest, nullptr) << "a chest of its own only on request";
}

TEST_F(PlayerTest, AnOwnChestIsMadeAndFilledOnce) {
    Player& second = player(1);
    ASSERT_TRUE(second.setCiv(1, false));
    ASSERT_TRUE(second.createTileChest());
    TileChest* chest = second.mTileChest;
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->getOwner(), 1);
    EXPECT_EQ(protosIn(*chest), (std::vector<int32_t>{cArcher, cArcher, cCouncilKnight}));
    ASSERT_TRUE(second.createTileChest());
    EXPECT_EQ(second.mTileChest, chest);
    EXPECT_EQ(chest->getEntityCount(), 3) << "a second call does not refill";
    EXPECT_EQ(mGame->mEntities.size(), 3u);
}

TEST_F(PlayerTest, SetCivRefusesUnknownIdsAndTurnsThePlayersEntities) {
    mGame->mFlags = 0; // civ variants apply outside local games
    Player& first = player(0);
    first.mCivId = 0;
    const int32_t mine = create(cKnight, 0);
    const int32_t theirs = create(cKnight, 1);
    EXPECT_FALSE(first.setCiv(7, false));
    EXPECT_EQ(first.mCivId, 0);
    EXPECT_TRUE(first.setCiv(1, true));
    EXPECT_EQ(first.mCivId, 1);
    EXPECT_EQ(entity(mine)->mProtoId, cKnight) << "the keep flag keeps the entities";
    EXPECT_TRUE(first.setCiv(1, false));
    EXPECT_EQ(entity(mine)->mProtoId, cCouncilKnight);
    EXPECT_EQ(entity(theirs)->mProtoId, cKnight);
}

TEST_F(PlayerTest, ActionPointsTellTheBannersAndTheRunningScript) {
    player(0).addActionPoints(5);
    EXPECT_EQ(player(0).mActionPoints, 5) << "no scene: only the count changes";
    RecordingScene scene;
    player(0).addActionPoints(-2);
    player(1).addActionPoints(3);
    EXPECT_EQ(player(0).mActionPoints, 3);
    EXPECT_EQ(player(1).mActionPoints, 3);
    EXPECT_EQ(scene.mBannerRefreshes, 1) << "only the current player's banners";
    EXPECT_TRUE(scene.mScript.mPlayers.empty());
    scene.mHasScript = true;
    player(1).addActionPoints(-1);
    EXPECT_EQ(scene.mScript.mPlayers, (std::vector<Player*>{&player(1)}));
}

TEST_F(PlayerTest, LivingUnitsAreCountedInTheRackBoardAndOwnChest) {
    Player& first = player(0);
    first.createGrids();
    EXPECT_FALSE(first.hasUnitsLeft());
    const int32_t knight = create(cKnight, 0);
    const int32_t sword = create(cSword, 0);
    const int32_t enemy = create(cArcher, 1);
    for (const int32_t id : {knight, sword, enemy})
        first.mTileRack->addEntity(id);
    EXPECT_TRUE(first.hasUnitsLeft());
    EXPECT_EQ(first.countRemainingUnits(), 1) << "gear and the enemy's units do not count";
    entity(knight)->mState = cStateKnockedOut;
    EXPECT_FALSE(first.hasUnitsLeft());

    // The own chest counts any owner, and only with split chests.
    first.mCivId = 0;
    first.createTileChest(); // blue's four tiles, three of them units
    EXPECT_EQ(first.countRemainingUnits(), 0);
    SettingsManager::instance().mSplitTileChest = true;
    EXPECT_TRUE(first.hasUnitsLeft());
    EXPECT_EQ(first.countRemainingUnits(), 3);
}

TEST_F(PlayerTest, VictoryHealthSumsTheListedUnitsThatExist) {
    Player& first = player(0);
    const int32_t crystal = create(cCrystal, 0);
    const int32_t knight = create(cKnight, 0);
    first.mVictoryUnitIds = {crystal, 99, knight, -1};
    entity(crystal)->mHealth = 150;
    entity(knight)->mHealth = 0;
    entity(knight)->mState = cStateDead;
    EXPECT_EQ(first.getVictoryHealth(), 150);
    EXPECT_EQ(first.getVictoryMaxHealth(), 1400) << "dead victory units still count";
    EXPECT_EQ(player(1).getVictoryHealth(), 0);
}

TEST_F(PlayerTest, AGraveyardLeavesADeadEntityAsItIs) {
    FakeSceneServices services;
    Player& first = player(0);
    first.createGrids();
    const int32_t alive = create(cKnight, 0);
    const int32_t dead = create(cArcher, 0);
    entity(dead)->mState = cStateDead;
    entity(alive)->mState = cStateDeployedToGameBoard;
    for (const int32_t id : {alive, dead})
        entity(id)->linkAt(CCPoint(0, 0));
    mGame->addTouchTarget(entity(dead));
    first.mGraveyard->onEntityAdded(dead, nullptr);
    first.mGraveyard->onEntityAdded(alive, nullptr);
    first.mGraveyard->onEntityAdded(42, nullptr); // no such entity
    const auto* deadView = dynamic_cast<FakeEntityLink*>(entity(dead)->getEntityLink());
    const auto* aliveView = dynamic_cast<FakeEntityLink*>(entity(alive)->getEntityLink());
    EXPECT_EQ(deadView->mTooltipHides, 0);
    EXPECT_EQ(mGame->mTouchTargets, (std::vector<Entity*>{entity(dead)}))
        << "no state change reached the game";
    EXPECT_EQ(aliveView->mTooltipHides, 1);
    EXPECT_EQ(entity(alive)->mState, cStateDead);
}

TEST_F(PlayerTest, TheCurrentPlayerLinksItsRackAndWithSplitChestsItsChest) {
    FakeSceneServices services;
    RecordingScene scene;
    for (Player* each : mGame->mPlayers) {
        each->createGrids();
        each->createTileChest();
    }
    EXPECT_TRUE(player(1).linkAt(CCPoint(0, 0)));
    EXPECT_TRUE(player(1).hasLink());
    EXPECT_FALSE(player(1).mTileRack->hasLink()) << "not the current player";
    EXPECT_EQ(scene.mBannerRefreshes, 0);

    EXPECT_TRUE(player(0).linkAt(CCPoint(0, 0)));
    EXPECT_TRUE(player(0).mTileRack->hasLink());
    EXPECT_EQ(player(0).mTileRack->getViewPosition().y, 21.0f);
    EXPECT_FALSE(player(0).mTileChest->hasLink()) << "a chest of its own only with split chests";
    EXPECT_EQ(scene.mBannerRefreshes, 1);
    SettingsManager::instance().mSplitTileChest = true;
    EXPECT_TRUE(player(0).linkAt(CCPoint(0, 0)));
    EXPECT_TRUE(player(0).mTileChest->hasLink());
    EXPECT_EQ(player(0).mTileChest->getViewPosition().x, 25.0f);

    player(0).unlink();
    EXPECT_FALSE(player(0).hasLink());
    EXPECT_FALSE(player(0).mTileRack->hasLink());
    EXPECT_FALSE(player(0).mTileChest->hasLink());
}

TEST_F(PlayerTest, VictoryDamageIsSharedAmongTheStandingVictoryUnitsOnly) {
    Player& first = player(0);
    EntityGrid board(-1, mGame);
    board.setSize(4, 1);
    std::vector<int32_t> crystals;
    for (int i = 0; i < 3; ++i) {
        crystals.push_back(create(cCrystal, 0));
        board.addEntity(crystals.back());
        entity(crystals.back())->mState = cStateDeployedToGameBoard;
    }
    entity(crystals[1])->mState = cStateKnockedOut;
    first.mVictoryUnitIds = {crystals[0], 77, crystals[1], crystals[2]};

    first.distributeVictoryDamage(20);
    EXPECT_EQ(entity(crystals[0])->mHealth, 400) << "no executing action: no damage";

    auto* action = new CandidateAction(mGame, 1);
    mGame->mActions.push_back(action);
    mGame->mExecutingAction = action;
    first.distributeVictoryDamage(0);
    EXPECT_TRUE(action->mResults.empty());
    first.distributeVictoryDamage(25); // two standing units: 12 each, rounded to 10 off
    ASSERT_EQ(action->mResults.size(), 2u);
    EXPECT_EQ(action->mResults[0]->mEntityID, crystals[0]);
    EXPECT_EQ(action->mResults[1]->mEntityID, crystals[2]);
    EXPECT_EQ(entity(crystals[1])->mHealth, 400) << "a knocked-out unit takes nothing";
    for (const ActionResultInfo* result : action->mResults) {
        const Entity* crystal = entity(result->mEntityID);
        EXPECT_EQ(result->mInitialHealthFraction, 1.0f);
        EXPECT_EQ(crystal->mHealth, 390);
        EXPECT_EQ(result->mHealthChange, -10);
        EXPECT_EQ(result->mFinalHealthFraction, crystal->getHealthFraction());
        EXPECT_EQ(result->mFinalState, cStateDeployedToGameBoard);
    }
    mGame->mExecutingAction = nullptr;
}
