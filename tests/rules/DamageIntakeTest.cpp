// Health in steps of 5, the damage intake rule by rule, knock-out scoring,
// death, the victory pool's share of corpse damage, and the premium-square
// sums of the score multiplier and the victory damage modifier.

#include "CombatTestSupport.h"

#include "rules/AchievementTable.h"

#include "content/protos/ProtoEntity.h"

#include <functional>

TEST_F(CombatTest, HealthMovesInStepsOfFiveAndKnocksOutAtZero) {
    Entity* dummy = unit("dummy", 1, 3, 1);
    ASSERT_TRUE(dummy->setHealth(95));
    // 95 - 33: the change -33 becomes 5 x floor(-6.6 + 0.5) = -35.
    EXPECT_EQ(dummy->takeDamage(33, cDamagePhysical, 0), 35);
    EXPECT_EQ(dummy->mHealth, 60);
    EXPECT_FALSE(dummy->setHealth(60));   // the present value
    EXPECT_FALSE(dummy->setHealth(1005)); // above the maximum
    EXPECT_EQ(dummy->mHealth, 60);
    EXPECT_EQ(dummy->mState, cStateDeployedToGameBoard);
    EXPECT_EQ(dummy->addHealth(2), 0);      // 5 x floor(0.4 + 0.5) = 0
    EXPECT_EQ(dummy->addHealth(3), 5);      // 5 x floor(0.6 + 0.5) = 5
    EXPECT_EQ(dummy->addHealth(5000), 935); // capped at 1000
    EXPECT_EQ(dummy->addHealth(-5000), -1000);
    EXPECT_EQ(dummy->mState, cStateKnockedOut);
    Entity* other = unit("dummy", 1, 4, 1);
    ASSERT_TRUE(other->setHealth(0));
    EXPECT_EQ(other->mState, cStateKnockedOut);
}

namespace {

struct IntakeRow {
    const char* name;
    const char* targetProto;
    // Items given to the target (or, with a leading '@', to the other unit),
    // each made by the other unit.
    std::vector<std::string> items;
    int32_t amount;
    int32_t type;
    int32_t unmitigated;
    int32_t targetLoss;
    int32_t otherLoss;
    // What else holds afterwards; may be empty.
    std::function<void(Entity& target, Entity& other)> check;
};

} // namespace

TEST_F(CombatTest, DamageIntakeTable) {
    const int32_t physical = cDamagePhysical;
    const int32_t magic = cDamageMagic;
    auto carries = [](const Entity& unit, const char* name) {
        return unit.hasEquippedProto(Database::getProtoIdByName(name));
    };
    const std::vector<IntakeRow> rows = {
        {"plain", "dummy", {}, 100, physical, 0, 100, 0, {}},    // 100 x (1 - 0)
        {"defense", "armored", {}, 100, physical, 0, 80, 0, {}}, // 100 x (1 - 0.2)
        {"resist", "armored", {}, 100, magic, 0, 50, 0, {}},     // 100 x (1 - 0.5)
        {"defense above 100 %", "dummy", {"bastion"}, 100, physical, 0, 0, 0, {}}, // 1.5 reads 1.0
        {"negative defense", "dummy", {"sunder"}, 100, physical, 0, 150, 0, {}},   // 100 x 1.5
        {"unmitigated after defense", "armored", {}, 100, physical, 33, 115, 0, {}}, // 80 + 33 =
                                                                                     // 113 -> 115
        {"untyped damage", "armored", {}, 100, -1, 0, 100, 0, {}}, // neither defense nor resist
        {"shield points",
         "dummy",
         {"ward"},
         5000,
         physical,
         0,
         0,
         0,
         [](Entity& target, Entity&) {
             EXPECT_EQ(target.mShields, 0); // all cleared by one hit
             EXPECT_EQ(target.takeDamage(100, cDamagePhysical, 0), 100);
         }},
        {"shield item",
         "dummy",
         {"shield"},
         1000000,
         physical,
         0,
         0,
         0,
         [&](Entity& target, Entity&) {
             EXPECT_FALSE(carries(target, "shield"));
             EXPECT_EQ(target.takeDamage(100, cDamagePhysical, 0), 100);
         }},
        {"invincibility",
         "dummy",
         {"kx4-SurgewardInvincibility"},
         500,
         magic,
         0,
         0,
         0,
         [&](Entity& target, Entity&) {
             EXPECT_TRUE(carries(target, "kx4-SurgewardInvincibility"));
         }},
        {"weakness",
         "dummy",
         {"weakness"},
         100,
         physical,
         0,
         150,
         0, // 100 + trunc(50.7)
         [&](Entity& target, Entity&) { EXPECT_FALSE(carries(target, "weakness")); }},
        {"weakness against magic",
         "dummy",
         {"weakness"},
         100,
         magic,
         0,
         100,
         0,
         [&](Entity& target, Entity&) { EXPECT_TRUE(carries(target, "weakness")); }},
        {"evasion",
         "dummy",
         {"evade"},
         100,
         physical,
         0,
         0,
         0,
         [&](Entity& target, Entity&) { EXPECT_FALSE(carries(target, "evade")); }},
        {"evasion against magic",
         "dummy",
         {"evade"},
         100,
         magic,
         0,
         100,
         0,
         [&](Entity& target, Entity&) { EXPECT_TRUE(carries(target, "evade")); }},
        {"evasion stops the buffs after it",
         "dummy",
         {"evade", "weakness"},
         100,
         physical,
         0,
         0,
         0,
         [&](Entity& target, Entity&) { EXPECT_TRUE(carries(target, "weakness")); }},
        {"redirect to the caster", "dummy", {"link"}, 100, physical, 0, 0, 100, {}},
        {"redirect ring stops at the first",
         "dummy",
         {"link", "@link"},
         100,
         physical,
         0,
         0,
         100,
         {}},
        {"spent when damaged",
         "dummy",
         {"brace"},
         100,
         physical,
         0,
         50,
         0, // 100 x (1 - 0.5)
         [&](Entity& target, Entity&) { EXPECT_FALSE(carries(target, "brace")); }},
        {"kept when the shields took it",
         "dummy",
         {"ward", "brace"},
         100,
         physical,
         0,
         0,
         0,
         [&](Entity& target, Entity&) { EXPECT_TRUE(carries(target, "brace")); }},
        {"spent by physical damage",
         "dummy",
         {"parry"},
         100,
         physical,
         0,
         100,
         0,
         [&](Entity& target, Entity&) { EXPECT_FALSE(carries(target, "parry")); }},
        {"kept against magic",
         "dummy",
         {"parry"},
         100,
         magic,
         0,
         100,
         0,
         [&](Entity& target, Entity&) { EXPECT_TRUE(carries(target, "parry")); }},
        {"spent without shields",
         "dummy",
         {"bubble"},
         100,
         physical,
         0,
         100,
         0,
         [&](Entity& target, Entity&) { EXPECT_FALSE(carries(target, "bubble")); }},
        {"less than 1", "dummy", {}, 0, physical, 500, 0, 0, {}},
    };
    for (const IntakeRow& row : rows) {
        SCOPED_TRACE(row.name);
        restart();
        Entity* target = unit(row.targetProto, 1, 3, 1);
        Entity* other = unit("dummy", 1, 5, 1);
        for (const std::string& name : row.items) {
            const bool forOther = name[0] == '@';
            Entity* holder = forOther ? other : target;
            const int32_t item = mGame->createEntity(proto(name.c_str() + (forOther ? 1 : 0)), 1);
            entity(item)->mCreatorEntityID = forOther ? target->mId : other->mId;
            holder->equip(item, nullptr);
            ASSERT_EQ(entity(item)->mState, cStateEquipped) << name;
        }
        CandidateAction* action = executing(cActionAttack, nullptr);
        EXPECT_EQ(target->takeDamage(row.amount, row.type, row.unmitigated), row.targetLoss);
        EXPECT_EQ(1000 - target->mHealth, row.targetLoss);
        EXPECT_EQ(1000 - other->mHealth, row.otherLoss);
        if (row.otherLoss > 0) {
            ASSERT_NE(action->findResult(other->mId), nullptr);
            EXPECT_EQ(action->findResult(other->mId)->mHealthChange, -row.otherLoss);
        }
        if (row.check)
            row.check(*target, *other);
    }
}

TEST_F(CombatTest, RedirectSkipsMissingAndDeadCasters) {
    Entity* target = unit("dummy", 1, 3, 1);
    Entity* caster = unit("dummy", 1, 5, 1);
    for (const int32_t creator : {-1, 999, caster->mId}) {
        const int32_t item = mGame->createEntity(proto("link"), 1);
        entity(item)->mCreatorEntityID = creator;
        target->equip(item, nullptr);
    }
    caster->kill(false, -1);
    EXPECT_EQ(target->takeDamage(100, cDamagePhysical, 0), 100);
    EXPECT_EQ(caster->mHealth, 1000);
}

TEST_F(CombatTest, DeadEntitiesTakeNoDamageAndLinksStopOnDamage) {
    Entity* corpse = unit("dummy", 1, 3, 1);
    corpse->kill(false, -1);
    ASSERT_NE(corpse->mGrid, nullptr); // a killed entity keeps its grid pointer
    EXPECT_EQ(corpse->takeDamage(100, cDamagePhysical, 0), 0);
    EXPECT_EQ(corpse->mHealth, 1000);

    Entity* tethered = unit("tethered", 0, 1, 1);
    Entity* enemy = unit("dummy", 1, 3, 3);
    ASSERT_TRUE(tethered->startOngoingAttack(enemy->mId, nullptr));
    EXPECT_EQ(tethered->takeDamage(0, cDamagePhysical, 0), 0);
    EXPECT_EQ(tethered->mOngoingTargetEntityID, enemy->mId); // no hit, no break
    tethered->equip(mGame->createEntity(proto("ward"), 0), nullptr);
    EXPECT_EQ(tethered->takeDamage(100, cDamagePhysical, 0), 0);
    EXPECT_EQ(tethered->mOngoingTargetEntityID, enemy->mId); // absorbed
    EXPECT_EQ(tethered->takeDamage(100, cDamagePhysical, 0), 100);
    EXPECT_EQ(tethered->mOngoingTargetEntityID, -1);
}

TEST_F(CombatTest, KnockingOutAnEnemyScoresForTheLocalPlayer) {
    Entity* enemy = unit("dummy", 1, 3, 1);
    Entity* own = unit("dummy", 0, 2, 1);
    enemy->mCharge = 2;
    enemy->addHealth(-1000);
    EXPECT_EQ(enemy->mState, cStateKnockedOut);
    EXPECT_EQ(enemy->mCharge, 0);
    EXPECT_EQ(mGame->getPlayer(0)->mScore, 50); // "knockout" 50 x multiplier 1
    own->addHealth(-1000);
    EXPECT_EQ(mGame->getPlayer(0)->mScore, 50); // own units score nothing
    EXPECT_EQ(mGame->getPlayer(1)->mScore, 0);
    const auto& pending = AchievementTracker::pendingRecords();
    EXPECT_TRUE(
        std::any_of(pending.begin(), pending.end(), [](const AchievementTracker::Record& r) {
            return r.mId == cAchievementKnockoutEnemy;
        }));
}

TEST_F(CombatTest, KnockOutStripsTheItemsThatDieWithTheUnit) {
    Entity* caster = unit("dummy", 1, 3, 1);
    Entity* ally = unit("dummy", 1, 4, 1);
    for (const char* name : {"mark", "link"}) {
        const int32_t item = mGame->createEntity(proto(name), 1);
        entity(item)->mCreatorEntityID = caster->mId;
        ally->equip(item, nullptr);
    }
    executing(cActionAttack, nullptr);
    caster->addHealth(-1000);
    EXPECT_FALSE(ally->hasEquippedProto(proto("mark")));
    EXPECT_TRUE(ally->hasEquippedProto(proto("link"))); // does not die with its caster
}

TEST_F(CombatTest, DeathTakesTheUnitOffTheBoard) {
    Entity* victim = unit("dummy", 1, 3, 1);
    CandidateAction* action = executing(cActionAttack, nullptr);
    victim->kill(true, -1);
    EXPECT_EQ(victim->mState, cStateDead);
    EXPECT_EQ(board()->getEntityIdAt(GridSlot(3, 1)), -1);
    ASSERT_NE(action->findResult(victim->mId), nullptr);
    EXPECT_TRUE(action->findResult(victim->mId)->mKilled);
    // Not by action: no record.
    Entity* other = unit("dummy", 1, 4, 1);
    other->kill(false, -1);
    EXPECT_EQ(action->findResult(other->mId), nullptr);
}

TEST_F(CombatTest, CorpseDamageGoesToTheVictoryPool) {
    SettingsManager::instance().mVictoryDamageOnCorpseStomp = 100;
    Entity* victim = unit("dummy", 1, 3, 1);
    executing(cActionAttack, nullptr);
    victim->kill(true, -1);
    EXPECT_EQ(enemyCrystal()->mHealth, 700); // 800 - 100 over one crystal
    SettingsManager::instance().mUseVictoryHealthPool = false;
    unit("dummy", 1, 4, 1)->kill(true, -1);
    EXPECT_EQ(enemyCrystal()->mHealth, 700);
}

TEST_F(CombatTest, VictoryDamageIsSharedAmongStandingVictoryUnits) {
    Player* owner = mGame->getPlayer(1);
    Entity* second = unit("crystal", 1, 7, 0);
    Entity* third = unit("crystal", 1, 7, 4);
    owner->mVictoryUnitIds.push_back(second->mId);
    owner->mVictoryUnitIds.push_back(third->mId);
    const std::vector<Entity*> crystals = {enemyCrystal(), second, third};

    owner->distributeVictoryDamage(10); // no executing action: nothing
    for (const Entity* crystal : crystals)
        EXPECT_EQ(crystal->mHealth, 800);

    CandidateAction* action = executing(cActionAttack, nullptr);
    owner->distributeVictoryDamage(10); // 10 / 3 = 3 each; a change of -3 moves health by 5
    for (const Entity* crystal : crystals) {
        EXPECT_EQ(crystal->mHealth, 795);
        ASSERT_NE(action->findResult(crystal->mId), nullptr);
        EXPECT_EQ(action->findResult(crystal->mId)->mHealthChange, -5);
    }
    third->setHealth(0);
    owner->distributeVictoryDamage(1); // 1 / 2 = 0: nothing
    EXPECT_EQ(enemyCrystal()->mHealth, 795);
    EXPECT_EQ(second->mHealth, 795);
}

TEST_F(CombatTest, PremiumSquaresSetTheScoreMultiplierAndVictoryDamage) {
    Entity* scorer = unit("dummy", 0, 3, 4);
    Entity* second = unit("dummy", 0, 2, 4);
    Entity* onAdd = unit("dummy", 1, 6, 2);
    Entity* onSubtract = unit("dummy", 0, 5, 4);
    // A bare board: 1 for both.
    EXPECT_EQ(mGame->getScoreMultiplier(0), 1);
    EXPECT_EQ(mGame->getVictoryDamageModifier(0), 1);
    board()->setProtoIndex(cPremiumBoard);
    EXPECT_EQ(mGame->getScoreMultiplier(0), 3); // 1 + 1 + 1
    EXPECT_EQ(mGame->getScoreMultiplier(1), 1);
    // Player 1: its own unit on "VictoryDamageAdd" (100) plus player 0's on
    // "VictoryDamageSubtract" (40).
    EXPECT_EQ(mGame->getVictoryDamageModifier(1), 140);
    EXPECT_EQ(mGame->getVictoryDamageModifier(0), 0);
    second->setHealth(0); // knocked-out units count for nothing
    onSubtract->kill(false, -1);
    EXPECT_EQ(mGame->getScoreMultiplier(0), 2);
    EXPECT_EQ(mGame->getVictoryDamageModifier(1), 100);
    (void)scorer;
    (void)onAdd;
}
