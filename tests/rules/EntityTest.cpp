#include "RulesTestSupport.h"

#include "rules/CandidateAction.h"
#include "rules/Graveyard.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/settings/SettingsManager.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"

using cocos2d::ccColor3B;
using cocos2d::CCPoint;

namespace {

class EntityTest : public RulesTest {
protected:
    void TearDown() override {
        SettingsManager::instance().clear();
        RulesTest::TearDown();
    }
};

} // namespace

TEST_F(EntityTest, InitTakesHealthChargeAndAnEmptyEquipmentGridFromTheProto) {
    const int32_t id = create(cKnight, 1);
    ASSERT_EQ(id, 0);
    const Entity* knight = entity(id);
    EXPECT_EQ(knight->mId, 0);
    EXPECT_EQ(knight->mProtoId, cKnight);
    EXPECT_EQ(knight->mOwner, 1);
    EXPECT_EQ(knight->mHealth, 1000);
    EXPECT_EQ(knight->mCharge, 3);
    EXPECT_EQ(knight->mState, -1);
    ASSERT_NE(knight->mInventory, nullptr);
    EXPECT_EQ(knight->mInventory->getWidth(), 20);
    EXPECT_EQ(knight->mInventory->getHeight(), 1);
    EXPECT_EQ(knight->mInventory->getEntityCount(), 0);
    EXPECT_EQ(knight->getOwner(), mGame->getPlayer(1));
}

TEST_F(EntityTest, ARefusedProtoTakesNoId) {
    EXPECT_EQ(create(cKnight), 0);
    EXPECT_EQ(create(99), -1);
    EXPECT_EQ(create(-1), -1);
    EXPECT_EQ(mGame->mEntities.size(), 1u);
    EXPECT_EQ(create(cArcher), 1);

    Entity loose(mGame);
    EXPECT_FALSE(loose.init(5, 99, 0));
    EXPECT_EQ(loose.mId, -1);
    EXPECT_EQ(loose.mInventory, nullptr);
    EXPECT_EQ(loose.getOwner(), mGame->getPlayer(0));
    loose.mOwner = 2;
    EXPECT_EQ(loose.getOwner(), nullptr);
}

TEST_F(EntityTest, SetProtoStartsAfreshWithAnEmptyEquipmentGrid) {
    const int32_t id = create(cKnight);
    const int32_t sword = create(cSword);
    Entity* knight = entity(id);
    ASSERT_TRUE(knight->mInventory->addEntity(sword));
    knight->mHealth = 300;
    knight->mShields = 2;
    knight->setProto(cKnight); // the same proto: nothing
    EXPECT_EQ(knight->mHealth, 300);
    knight->setProto(42); // no such proto: nothing
    EXPECT_EQ(knight->mProtoId, cKnight);

    knight->setProto(cCouncilKnight);
    EXPECT_EQ(knight->mProtoId, cCouncilKnight);
    EXPECT_EQ(knight->mHealth, 1200);
    EXPECT_EQ(knight->mCharge, 1);
    EXPECT_EQ(knight->mShields, 0);
    EXPECT_EQ(knight->mInventory->getEntityCount(), 0);
    EXPECT_EQ(knight->mId, id);
}

TEST_F(EntityTest, SetProtoRelinksTheViewWhereItWas) {
    FakeSceneServices services;
    Entity* knight = entity(create(cKnight));
    ASSERT_TRUE(knight->linkAt(CCPoint(40, 50)));
    knight->getEntityLink()->getMainNode()->setPosition(CCPoint(41, 52));
    knight->setProto(cArcher);
    ASSERT_TRUE(knight->hasLink());
    EXPECT_EQ(services.mLinksMade, 2);
    EXPECT_EQ(knight->getViewPosition(), CCPoint(41, 52));
}

TEST_F(EntityTest, LowHealthHasOneThresholdForVictoryUnitsAndOneForOthers) {
    Entity* crystal = entity(create(cCrystal));
    Entity* knight = entity(create(cKnight));
    mGame->getPlayer(0)->mVictoryUnitIds.push_back(crystal->mId);
    ASSERT_TRUE(crystal->isVictoryUnit());
    EXPECT_FALSE(knight->isVictoryUnit());

    struct Case {
        Entity* entity;
        int32_t health;
        bool low;
    };
    const Case cases[] = {
        {crystal, 120, false}, // 30 %
        {crystal, 100, true},  // 25 %
        {knight, 500, true},   // exactly 50 %
        {knight, 505, false},
    };
    for (const Case& c : cases) {
        c.entity->mHealth = c.health;
        EXPECT_EQ(c.entity->isLowHealth(-1.0f), c.low) << c.entity->mId << " at " << c.health;
    }
    EXPECT_TRUE(knight->isLowHealth(0.2f));
    EXPECT_FALSE(crystal->isLowHealth(0.3f));
    knight->mMaxHealthBonus = -1000;
    EXPECT_EQ(knight->getHealthFraction(), 0.0f);
}

TEST_F(EntityTest, DistanceCountsOnlyWithinOneGrid) {
    EntityGrid board(-1, mGame);
    EntityGrid rack(0, mGame);
    board.setSize(5, 5);
    rack.setSize(5, 1);
    const int32_t a = create(cKnight);
    const int32_t b = create(cKnight);
    const int32_t c = create(cKnight);
    board.addEntityAt(a, GridSlot(1, 1));
    board.addEntityAt(b, GridSlot(4, 3));
    rack.addEntity(c);
    EXPECT_EQ(entity(a)->distanceTo(b, true), 5);
    EXPECT_EQ(entity(a)->distanceTo(b, false), 3);
    EXPECT_EQ(entity(a)->distanceTo(c, true), Entity::cFarAway);
    EXPECT_EQ(entity(a)->distanceTo(77, false), 10000000);
}

TEST_F(EntityTest, TeamColoursComeFromTheLocalRuleTheRecordOrTheOptions) {
    FakeGamesList games;
    SettingsManager& settings = SettingsManager::instance();
    auto color = std::make_unique<PlayerColor>();
    color->mRed = 1;
    color->mGreen = 2;
    color->mBlue = 3;
    settings.mAwayColors.push_back(std::move(color));
    const Entity* home = entity(create(cKnight, 0));
    const Entity* away = entity(create(cKnight, 1));

    // A local game ignores the records.
    games.addRecord(mGame->mGameID, 0, 0);
    EXPECT_EQ(home->getTeamColor(), (ccColor3B{50, 50, 235}));
    EXPECT_EQ(away->getTeamColor(), (ccColor3B{235, 50, 50}));

    mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
    mGame->mGameID = 12;
    EXPECT_EQ(away->getTeamColor(), cocos2d::ccWHITE); // no record of game 12
    games.addRecord(12, 4, 0);
    EXPECT_EQ(away->getTeamColor(), (ccColor3B{1, 2, 3}));
    // Home colour 4 is outside the (empty) home list: the options decide.
    BConfig::instance().setIntById(cOptPlayer1Green, 77);
    EXPECT_EQ(home->getTeamColor(), (ccColor3B{50, 77, 235}));
    BConfig::instance().unsetById(cOptPlayer1Green);
    EXPECT_EQ(home->getTeamColor(), (ccColor3B{50, 50, 235}));
    games.mRecords[12]->mPlayers.pop_back(); // no player record for owner 1
    EXPECT_EQ(away->getTeamColor(), cocos2d::ccWHITE);
}

TEST_F(EntityTest, ACivVariantReplacesTheProtoOfTheSameClass) {
    ASSERT_TRUE(loadTestDatabase());
    auto civ = std::make_unique<ProtoCiv>(1);
    civ->mTileAllocation = std::make_unique<TileAllocation>();
    {
        XMLHelper holder;
        holder.setText(R"(<tileAllocation><tile name="archer">1</tile>
            <tile name="councilKnight">2</tile><random choose="1"><tile name="knight">1</tile>
            </random><tile name="knight">1</tile></tileAllocation>)");
        XmlNode* root = nullptr;
        ASSERT_TRUE(holder.parse(root));
        ASSERT_TRUE(civ->mTileAllocation->load(root));
    }
    SettingsManager::instance().mCivs.push_back(std::move(civ));
    Entity* knight = entity(create(cKnight));
    Entity* archer = entity(create(cArcher));
    Entity* crystal = entity(create(cCrystal));

    knight->applyCivVariant(1); // a local game keeps every tile
    EXPECT_EQ(knight->mProtoId, cKnight);
    mGame->mFlags = 0;
    knight->applyCivVariant(7); // no such civ
    EXPECT_EQ(knight->mProtoId, cKnight);
    knight->applyCivVariant(1); // the knight after the random entry does not count
    EXPECT_EQ(knight->mProtoId, cCouncilKnight);
    EXPECT_EQ(knight->mHealth, 1200);
    archer->applyCivVariant(1); // the civ has archers
    EXPECT_EQ(archer->mProtoId, cArcher);
    crystal->applyCivVariant(1); // nothing of its class
    EXPECT_EQ(crystal->mProtoId, cCrystal);
}

TEST_F(EntityTest, StateChangesOfAViewedEntityFollowWhetherItCanBeDragged) {
    FakeSceneServices services;
    Entity* knight = entity(create(cKnight));
    knight->changeState(cStateOnTileRack); // no view yet: no touch target
    EXPECT_TRUE(mGame->mTouchTargets.empty());

    ASSERT_TRUE(knight->linkAt(CCPoint(0, 0)));
    knight->changeState(cStateInTileChest);
    knight->changeState(cStateOnTileRack);
    EXPECT_EQ(mGame->mTouchTargets, std::vector<Entity*>{knight});
    knight->changeState(cStateDeployedToGameBoard);
    EXPECT_EQ(mGame->mTouchTargets.size(), 1u);
    knight->changeState(cStateKnockedOut); // no "CanRespawn"
    EXPECT_TRUE(mGame->mTouchTargets.empty());

    // Not the current player's, or a replay: never draggable.
    Entity* theirs = entity(create(cKnight, 1));
    theirs->mState = cStateOnTileRack;
    EXPECT_FALSE(theirs->canBeDragged());
    knight->mState = cStateOnTileRack;
    mGame->mFlags |= cGameReplaying;
    EXPECT_FALSE(knight->canBeDragged());
    mGame->mFlags &= static_cast<uint8_t>(~cGameReplaying);
    EXPECT_TRUE(knight->canBeDragged());
    EXPECT_FALSE(entity(create(cCrystal))->canBeDragged()); // "NotSelectable"
}

TEST_F(EntityTest, AGraveyardKillsWhatArrivesUnlessItIsAlreadyDead) {
    FakeSceneServices services;
    Graveyard graveyard(0, mGame);
    graveyard.setSize(1, 1);
    EXPECT_EQ(graveyard.getGridType(), cGridGraveyard);
    EXPECT_EQ(graveyard.getName(), "\"Graveyard\"");
    EXPECT_TRUE(graveyard.isFlagSet(cGridLinear));
    EXPECT_TRUE(graveyard.isFlagSet(cGridHidden));

    EntityGrid board(-1, mGame);
    board.setSize(2, 1);
    Entity* knight = entity(create(cKnight));
    Entity* ghost = entity(create(cArcher));
    board.addEntity(knight->mId);
    board.addEntity(ghost->mId);
    knight->mState = cStateDeployedToGameBoard;
    ASSERT_TRUE(knight->linkAt(CCPoint(0, 0)));
    mGame->addTouchTarget(knight);
    ghost->mState = cStateDead;

    ASSERT_TRUE(board.moveEntityToFirstFree(knight->mId, &graveyard));
    EXPECT_EQ(knight->mState, cStateDead);
    EXPECT_TRUE(mGame->mTouchTargets.empty());
    ASSERT_TRUE(board.moveEntityToFirstFree(ghost->mId, &graveyard));
    EXPECT_EQ(ghost->mState, cStateDead);
    graveyard.onEntityAdded(55, &board); // no such entity: nothing
    EXPECT_EQ(graveyard.getSlotCount(), 2);
}

TEST_F(EntityTest, TouchesAndViewQueriesGoThroughTheView) {
    FakeSceneServices services;
    SoundRecorder sounds;
    Entity* knight = entity(create(cKnight));
    Entity* puppet = entity(create(cPuppetKnight));
    EXPECT_FALSE(knight->containsPoint(CCPoint(0, 0))); // no view
    EXPECT_EQ(knight->getPuppet(), nullptr);
    EXPECT_FALSE(knight->ccTouchBegan(nullptr, nullptr));
    knight->playEffectSound("sound/a.mp3");

    knight->linkAt(CCPoint(100, 100));
    puppet->linkAt(CCPoint(100, 100));
    EXPECT_TRUE(knight->containsPoint(CCPoint(120, 80))); // edges belong
    EXPECT_FALSE(knight->containsPoint(CCPoint(121, 100)));
    EXPECT_FALSE(puppet->containsPoint(CCPoint(100, 100))); // the puppet's own test says no
    static_cast<FakeEntityLink*>(puppet->getEntityLink())->mPuppetHit = true;
    EXPECT_TRUE(puppet->containsPoint(CCPoint(500, 500)));
    EXPECT_EQ(knight->getPuppet(), nullptr); // no puppet in its proto
    knight->playEffectSound("sound/b.mp3");
    EXPECT_EQ(sounds.played(), (std::vector<std::string>{"sound/a.mp3", "panned:sound/b.mp3"}));
}

TEST_F(EntityTest, DestructionStopsTheEntitysSounds) {
    FakeSceneServices services;
    SoundRecorder sounds;
    Entity* knight = entity(create(cKnight));
    knight->mLoopSoundId = 5;
    knight->mPonderLoopPlaying = 1;
    mGame->mPonderCount = 1;
    mGame->mPonderSoundId = 9;
    mGame->release();
    mGame = new Game();
    // The entity's loop stops at once; the game's unlink fades the ponder
    // loop out (the count aside), stopping it when the fade has run.
    EXPECT_EQ(sounds.calls(), (std::vector<std::string>{"stopEffect 5"}));
    EXPECT_EQ(CocosDenshion::SimpleAudioEngine::sharedEngine()->runningFadeCount(), 1u);
    cocos2d::CCDirector::sharedDirector()->tick(0.6f);
    EXPECT_EQ(sounds.calls(), (std::vector<std::string>{"stopEffect 5", "stopEffect 9"}));
}

TEST_F(EntityTest, RepeatedAttacksCountTheUnbrokenRunBeforeTheCurrentAction) {
    const int32_t knight = create(cKnight);
    auto add = [&](int32_t type, int32_t source) {
        auto* action = new CandidateAction(mGame, 1);
        action->mActionType = type;
        action->mSourceEntity = source;
        mGame->mActions.push_back(action);
        return action;
    };
    add(cActionAttack, knight);
    add(cActionMove, knight);
    add(cActionAttack, knight);
    add(cActionAttack, knight);
    CandidateAction* current = add(cActionAttack, knight);
    EXPECT_EQ(entity(knight)->countRepeatedAttacks(), 0); // nothing executing
    mGame->mExecutingAction = current;
    EXPECT_EQ(entity(knight)->countRepeatedAttacks(), 2);
    mGame->mExecutingAction = mGame->mActions.front();
    EXPECT_EQ(entity(knight)->countRepeatedAttacks(), 0);
}

TEST_F(EntityTest, StateAndActionTypeNamesParseWithoutRegardToCase) {
    EXPECT_EQ(Entity::stateFromName("knockedout"), cStateKnockedOut);
    EXPECT_EQ(Entity::stateFromName("Knocked Out"), -1);
    EXPECT_EQ(CandidateAction::actionTypeFromName("CASTPOWER"), cActionCastPower);
    EXPECT_EQ(CandidateAction::actionTypeFromName("Cast Power"), -1);
}
