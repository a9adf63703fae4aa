// Casting powers on scenario boards: area damage and its falloff, friendly
// fire, crystal-only areas, vaporizing and stomping, respawn, gear
// destruction, the farthest-first knockback, transfer to allies and score.

#include "ExecuteTestSupport.h"

#include "rules/Graveyard.h"

TEST_F(ExecuteTest, AreaDamageFallsOffWithDistanceAndSplashReductionAndSparesTheCaster) {
    Entity* fireball = tile("fireball", 0, 0);
    Entity* centre = unit("soldier", 1, 3, 2);
    Entity* beside = unit("soldier", 1, 4, 2);
    Entity* shielded = unit("soldier", 1, 3, 3);
    carry(shielded, "scatter");
    Entity* own = unit("soldier", 0, 2, 2);
    CandidateAction* cast = run(cActionCastPower, fireball, GridSlot(3, 2));

    EXPECT_EQ(centre->mHealth, 800);
    EXPECT_EQ(beside->mHealth, 900);
    // 200 x 0.5 falloff x (1 - 0.5 splash reduction).
    EXPECT_EQ(shielded->mHealth, 950);
    EXPECT_EQ(own->mHealth, 1000);
    EXPECT_EQ(cast->findResult(own->mId), nullptr);
    const ActionResultInfo* hit = cast->findResult(beside->mId);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->mHealthChange, -100);
    EXPECT_EQ(hit->mFinalSlot, GridSlot(4, 2));

    EXPECT_EQ(fireball->mState, cStateDead);
    EXPECT_EQ(rack(0)->getEntityIdAt(GridSlot(0, 0)), -1);
    ASSERT_NE(cast->findResult(fireball->mId), nullptr);
    EXPECT_EQ(cast->findResult(fireball->mId)->mScore, 0);
}

TEST_F(ExecuteTest, FriendlyFireInOnesOwnTurnNeverLeavesAUnitBelow100) {
    struct Case {
        bool localTurn;
        int32_t health;
        int32_t after;
    };
    for (const Case& c :
         {Case{true, 80, 80}, Case{true, 350, 100}, Case{true, 1000, 700}, Case{false, 350, 50}}) {
        SCOPED_TRACE(testing::Message() << c.health << (c.localTurn ? " local" : " remote"));
        if (!c.localTurn)
            mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
        Entity* quake = tile("quake", 0, 0);
        Entity* own = unit("soldier", 0, 3, 2);
        own->setHealth(c.health);
        Entity* enemy = unit("soldier", 1, 4, 2);
        run(cActionCastPower, quake, GridSlot(3, 2));
        EXPECT_EQ(own->mHealth, c.after);
        EXPECT_EQ(enemy->mHealth, 700);
        TearDown();
        SetUp();
    }
}

TEST_F(ExecuteTest, ACrystalOnlyPowerAimedAtAnotherUnitHitsOnlyItsSquare) {
    Entity* bolt = tile("crystalBolt", 0, 0);
    Entity* target = unit("soldier", 1, 3, 2);
    Entity* near = unit("soldier", 1, 4, 2);
    run(cActionCastPower, bolt, GridSlot(3, 2));
    EXPECT_EQ(target->mHealth, 800);
    EXPECT_EQ(near->mHealth, 1000);

    // Aimed at the crystal, the area is whole.
    Entity* second = tile("crystalBolt", 0, 1);
    Entity* guard = unit("soldier", 1, 5, 3);
    run(cActionCastPower, second, GridSlot(6, 2));
    EXPECT_LT(at(6, 2)->mHealth, 800);
    EXPECT_EQ(guard->mHealth, 800);
}

TEST_F(ExecuteTest, KnockedOutUnitsAreVaporizedOrStompedNotDamaged) {
    Entity* vaporizer = tile("vaporizer", 0, 0);
    Entity* corpse = unit("soldier", 1, 3, 3, cStateKnockedOut);
    Entity* living = unit("soldier", 1, 3, 2);
    CandidateAction* cast = run(cActionCastPower, vaporizer, GridSlot(3, 2));
    EXPECT_EQ(corpse->mState, cStateDead);
    const ActionResultInfo* gone = cast->findResult(corpse->mId);
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(gone->mKilled);
    EXPECT_EQ(gone->mHealthChange, 0);
    EXPECT_EQ(living->mHealth, 900);

    // A stomp kills a corpse it is aimed at, and a unit its hit knocks out.
    Entity* stomp = tile("stomp", 0, 1);
    Entity* body = unit("soldier", 1, 5, 0, cStateKnockedOut);
    EXPECT_TRUE(run(cActionCastPower, stomp, GridSlot(5, 0))->findResult(body->mId)->mKilled);
    EXPECT_EQ(body->mState, cStateDead);
    Entity* again = tile("stomp", 0, 2);
    CandidateAction* crush = run(cActionCastPower, again, GridSlot(3, 2));
    EXPECT_EQ(living->mState, cStateDead);
    EXPECT_TRUE(crush->findResult(living->mId)->mKilled);
    EXPECT_EQ(crush->findResult(living->mId)->mHealthChange, -900);
}

TEST_F(ExecuteTest, ARespawnPowerSendsOwnUnitsBackToTheRackAtFullHealth) {
    Entity* recall = tile("recall", 0, 0);
    Entity* fallen = unit("soldier", 0, 3, 2, cStateKnockedOut);
    carry(fallen, "plate");
    Entity* enemy = unit("soldier", 1, 4, 2, cStateKnockedOut);
    CandidateAction* cast = run(cActionCastPower, recall, GridSlot(3, 2));

    EXPECT_EQ(fallen->mGrid, rack(0));
    EXPECT_EQ(fallen->mState, cStateOnTileRack);
    EXPECT_EQ(fallen->mHealth, 1000);
    EXPECT_EQ(fallen->mInventory->getEntityCount(), 0);
    const ActionResultInfo* back = cast->findResult(fallen->mId);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->mDestroyedGearProtoID, proto("plate"));
    EXPECT_EQ(back->mFinalSlot, GridSlot(0, 0));
    EXPECT_EQ(back->mInitialSlot, GridSlot(3, 2));
    EXPECT_EQ(enemy->mGrid, board());
    EXPECT_EQ(cast->findResult(enemy->mId), nullptr);
}

TEST_F(ExecuteTest, APowerThatDestroysAnInventoryClassTakesThatGearFromItsTarget) {
    Entity* buster = tile("buster", 0, 0);
    Entity* target = unit("soldier", 1, 3, 2);
    Entity* plate = carry(target, "plate");
    Entity* charm = carry(target, "charm");
    CandidateAction* cast = run(cActionCastPower, buster, GridSlot(3, 2));

    EXPECT_EQ(target->mHealth, 900);
    EXPECT_NE(plate->mGrid, target->mInventory);
    EXPECT_EQ(plate->mGrid, player(1)->mGraveyard);
    EXPECT_EQ(charm->mGrid, target->mInventory);
    EXPECT_EQ(cast->findResult(target->mId)->mDestroyedGearProtoID, proto("plate"));
}

TEST_F(ExecuteTest, KnockbackPushesTheFarthestColumnFirst) {
    Entity* gust = tile("gust", 0, 0);
    Entity* centre = unit("soldier", 1, 3, 2);
    Entity* right = unit("soldier", 1, 4, 2);
    CandidateAction* cast = run(cActionCastPower, gust, GridSlot(3, 2));

    // The right one makes room before the one in the target column (player
    // 1's, pushed right) follows.
    EXPECT_EQ(right->mSlot, GridSlot(5, 2));
    EXPECT_EQ(centre->mSlot, GridSlot(4, 2));
    EXPECT_EQ(cast->findResult(right->mId)->mFinalSlot, GridSlot(5, 2));
    EXPECT_EQ(cast->findResult(centre->mId)->mFinalSlot, GridSlot(4, 2));
    EXPECT_EQ(cast->findResult(centre->mId)->mInitialSlot, GridSlot(3, 2));
}

TEST_F(ExecuteTest, DamageToNonVictoryUnitsIsSharedAmongTheCastersAllies) {
    struct Case {
        const char* power;
        int32_t enemyHealth; // the damage dealt is at most this
        int32_t allies;
        int32_t share;
    };
    // 100 dealt: a pool of 50 over 2 allies is 50 / 5 = 10; 65 dealt: a
    // pool of 32 over 1 ally is 32 / 4 = 8, which becomes 10.
    for (const Case& c : {Case{"siphon", 1000, 2, 10}, Case{"siphon", 65, 1, 10},
                          Case{"soulSiphon", 1000, 2, 10}}) {
        SCOPED_TRACE(c.power);
        Entity* power = tile(c.power, 0, 0);
        Entity* enemy = unit("soldier", 1, 3, 2);
        enemy->setHealth(c.enemyHealth);
        std::vector<Entity*> allies;
        for (int32_t i = 0; i < c.allies; ++i) {
            allies.push_back(unit("soldier", 0, 1, i));
            allies.back()->setHealth(500);
        }
        CandidateAction* cast = run(cActionCastPower, power, GridSlot(3, 2));
        const bool soul = std::string(c.power) == "soulSiphon";
        for (const Entity* ally : allies) {
            EXPECT_EQ(ally->mHealth, 500 + c.share);
            EXPECT_EQ(ally->mMaxHealthBonus, soul ? c.share : 0);
            const ActionResultInfo* record = cast->findResult(ally->mId);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->mHealthChange, c.share);
            EXPECT_EQ(record->mMaxHealthChanged, soul);
        }
        EXPECT_EQ(at(0, 2)->mHealth, 800); // the crystal is not an ally here
        TearDown();
        SetUp();
    }
}

TEST_F(ExecuteTest, AKnockedOutAllyIsRevivedByTheTransfer) {
    Entity* siphon = tile("siphon", 0, 0);
    unit("soldier", 1, 3, 2);
    Entity* fallen = unit("soldier", 0, 1, 1);
    fallen->setHealth(0);
    ASSERT_EQ(fallen->mState, cStateKnockedOut);
    CandidateAction* cast = run(cActionCastPower, siphon, GridSlot(3, 2));
    // A pool of 50 over one ally: 50 / 4 = 12, to the nearest 5 is 10.
    EXPECT_EQ(fallen->mHealth, 10);
    EXPECT_EQ(fallen->mState, cStateDeployedToGameBoard);
    EXPECT_EQ(cast->findResult(fallen->mId)->mHealthChange, 10);
}

TEST_F(ExecuteTest, PowerDamageScoresForTheCurrentPlayerAndRefreshesBothBanners) {
    BannerScene scene;
    gCurrentGame = mGame;
    Entity* fireball = tile("fireball", 0, 0);
    unit("soldier", 1, 3, 2);
    CandidateAction* cast = run(cActionCastPower, fireball, GridSlot(3, 2));
    EXPECT_EQ(player(0)->mScore, 10);
    EXPECT_EQ(cast->findResult(fireball->mId)->mScore, 10);
    std::vector<int32_t> refreshed;
    for (const auto& [who, value] : scene.mHealthTexts)
        refreshed.push_back(who);
    EXPECT_NE(std::find(refreshed.begin(), refreshed.end(), 0), refreshed.end());
    EXPECT_NE(std::find(refreshed.begin(), refreshed.end(), 1), refreshed.end());

    // Nothing dealt, nothing scored.
    Entity* miss = tile("fireball", 0, 1);
    EXPECT_EQ(run(cActionCastPower, miss, GridSlot(5, 4))->findResult(miss->mId)->mScore, 0);
    EXPECT_EQ(player(0)->mScore, 10);
}
