#include "BoardTestSupport.h"

#include <functional>

namespace {

using EntityStatsTest = BoardRulesTest;

} // namespace

// Each row builds a scene around the unit under test and reads one stat.
TEST_F(EntityStatsTest, StatTable) {
    struct Row {
        const char* what;
        std::function<Entity*(EntityStatsTest&)> build;
        std::function<double(const Entity&)> read;
        double expected;
    };
    auto power = [](const Entity& unit) { return unit.getPower(nullptr); };
    auto defense = [](const Entity& unit) { return unit.getDefense(); };
    const Row rows[] = {
        // 100 + 10 = 110; x1.5 = 165; x1.5 = 247.5, truncated 247; nearest 5: 245
        // (without the truncation it would be 250).
        {"two x1.5 buffs truncate after each item",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "ring");
             t.equipNew(knight, "powerBuff");
             t.equipNew(knight, "powerBuff");
             return knight;
         },
         power, 245},
        {"a Power square adds its amount",
         [](EntityStatsTest& t) { return t.unitAt("knight", 0, GridSlot(4, 2)); }, power, 200},
        {"the premium bonus factor scales the square",
         [](EntityStatsTest& t) { return t.unitAt("crystal", 0, GridSlot(4, 2)); }, power, 200},
        {"a Defense square adds percent",
         [](EntityStatsTest& t) { return t.unitAt("knight", 0, GridSlot(4, 1)); }, defense, 0.2},
        {"defense of 150 % reads as 1.0",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "bastion");
             return knight;
         },
         defense, 1.0},
        {"negative defense stays negative",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "sunder", 1);
             return knight;
         },
         defense, -0.5},
        // MaxRange 1, the sword's MaxRange 1, rangeIncrease 2.7 truncated to 2.
        {"range adds gear MaxRange and rangeIncrease",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "sword");
             t.equipNew(knight, "scope");
             return knight;
         },
         [](const Entity& unit) { return unit.getRange(); }, 4},
        {"a Speed square and a MoveRange buff add movement",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(3, 3));
             t.equipNew(knight, "scope");
             return knight;
         },
         [](const Entity& unit) { return unit.getMovement(); }, 4},
        {"off the board no square counts",
         [](EntityStatsTest& t) { return t.entity(t.make("knight")); },
         [](const Entity& unit) { return unit.getMovement(); }, 2},
        {"an ally's aura counts within its Chebyshev range",
         [](EntityStatsTest& t) {
             t.unitAt("standard", 0, GridSlot(1, 1));
             return t.unitAt("knight", 0, GridSlot(0, 0));
         },
         power, 120},
        {"auras add defense too",
         [](EntityStatsTest& t) {
             t.unitAt("standard", 0, GridSlot(1, 1));
             return t.unitAt("knight", 0, GridSlot(0, 0));
         },
         defense, 0.1},
        {"an aura beyond its range does not count",
         [](EntityStatsTest& t) {
             t.unitAt("standard", 0, GridSlot(2, 0));
             return t.unitAt("knight", 0, GridSlot(0, 0));
         },
         power, 100},
        {"an enemy's aura does not count",
         [](EntityStatsTest& t) {
             t.unitAt("standard", 1, GridSlot(1, 0));
             return t.unitAt("knight", 0, GridSlot(0, 0));
         },
         power, 100},
        {"a knocked-out ally's aura does not count",
         [](EntityStatsTest& t) {
             t.unitAt("standard", 0, GridSlot(1, 0))->mState = cStateKnockedOut;
             return t.unitAt("knight", 0, GridSlot(0, 0));
         },
         power, 100},
        // Health 400 of 1000 is below the 0.5 threshold: 100 x 2.
        {"enrage below the threshold",
         [](EntityStatsTest& t) {
             Entity* unit = t.unitAt("berserker", 0, GridSlot(0, 0));
             unit->mHealth = 400;
             return unit;
         },
         power, 200},
        {"no enrage at the threshold",
         [](EntityStatsTest& t) {
             Entity* unit = t.unitAt("berserker", 0, GridSlot(0, 0));
             unit->mHealth = 500;
             return unit;
         },
         power, 100},
        // Scaling 2 at a quarter of health: 100 x (1 + 0.75 x 1) = 175.
        {"power scales with lost health",
         [](EntityStatsTest& t) {
             Entity* unit = t.unitAt("avenger", 0, GridSlot(0, 0));
             unit->mHealth = 250;
             return unit;
         },
         power, 175},
        {"puppet upgrades add 50 each",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             knight->mPuppetUpgradeLevel = 2;
             return knight;
         },
         power, 200},
        {"items raise max health",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "vigor");
             knight->mMaxHealthBonus = 5;
             return knight;
         },
         [](const Entity& unit) { return unit.getMaxHealth(); }, 605},
        {"items add shields",
         [](EntityStatsTest& t) {
             Entity* knight = t.unitAt("knight", 0, GridSlot(0, 0));
             t.equipNew(knight, "buckler");
             return knight;
         },
         [](const Entity& unit) { return unit.getShields(); }, 100},
    };
    for (const Row& row : rows) {
        reset();
        Entity* unit = row.build(*this);
        ASSERT_NE(unit, nullptr) << row.what;
        EXPECT_NEAR(row.read(*unit), row.expected, 1e-6) << row.what;
    }
}

TEST_F(EntityStatsTest, RepeatedAttacksAddTheirBonus) {
    Entity* unit = unitAt("pummeler", 0, GridSlot(0, 0));
    // Two attacks of this unit right before the action now being performed.
    for (int32_t type : {cActionMove, cActionAttack, cActionAttack, cActionAttack}) {
        CandidateAction* made = action(type, unit->mId);
        made->retain();
        mGame->mActions.push_back(made);
    }
    mGame->mExecutingAction = mGame->mActions.back();
    EXPECT_EQ(unit->getPower(nullptr), 150); // 100 + 25 x 2
}

TEST_F(EntityStatsTest, DefenseAndResistMitigateTheirDamageType) {
    struct Row {
        const char* item;
        int32_t owner;
        int32_t damageType;
        int32_t lost;
    };
    const Row rows[] = {
        {nullptr, 0, cDamagePhysical, 100},
        {"bastion", 0, cDamagePhysical, 0},  // 150 % cancels the hit
        {"sunder", 1, cDamagePhysical, 150}, // -50 % adds half
        {"sunder", 1, cDamageMagic, 100},    // resist, not defense
        {"linkCharm", 0, cDamageMagic, 90},  // resist 10 %
    };
    for (const Row& row : rows) {
        reset();
        Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
        if (row.item != nullptr)
            equipNew(knight, row.item, row.owner);
        EXPECT_EQ(knight->takeDamage(100, row.damageType, 0), row.lost) << row.item;
        EXPECT_EQ(knight->mHealth, 500 - row.lost);
    }
}

TEST_F(EntityStatsTest, DamageAddsTheUnmitigatedPartAndNeedsAGrid) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    equipNew(knight, "bastion");
    EXPECT_EQ(knight->takeDamage(100, cDamagePhysical, 40), 40);
    EXPECT_EQ(knight->takeDamage(0, cDamagePhysical, 40), 0);
    Entity* loose = entity(make("knight"));
    EXPECT_EQ(loose->takeDamage(100, cDamagePhysical, 0), 0);
    EXPECT_EQ(loose->mHealth, 500);
}

TEST_F(EntityStatsTest, HealthMovesInStepsOfFiveAndKnocksOutAtZero) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    knight->mHealth = 95;
    EXPECT_EQ(knight->addHealth(-33), -35);
    EXPECT_EQ(knight->mHealth, 60);
    EXPECT_EQ(knight->addHealth(1000), 440); // capped at the max health
    EXPECT_FALSE(knight->setHealth(500));    // the present value
    EXPECT_FALSE(knight->setHealth(505));    // above the max health
    EXPECT_TRUE(knight->setHealth(333));
    EXPECT_EQ(knight->mHealth, 335);
    knight->mCharge = 2;
    EXPECT_EQ(knight->addHealth(-1000), -335);
    EXPECT_EQ(knight->mState, cStateKnockedOut);
    EXPECT_EQ(knight->mCharge, 0);
    EXPECT_TRUE(knight->setHealth(-20));
    EXPECT_EQ(knight->mHealth, 0); // never below 0
}
