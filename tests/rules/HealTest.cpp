// Heals (drain budgets, chain falloff, areas, binding, heal items),
// revival, and ally abilities.

#include "CombatTestSupport.h"

TEST_F(CombatTest, DrainingHealersSpendABudget) {
    Entity* drainer = unit("drainer", 0, 2, 1);
    Entity* patient = unit("dummy", 0, 3, 1);
    ASSERT_TRUE(drainer->setHealth(150));
    ASSERT_TRUE(patient->setHealth(500));
    CandidateAction* action = heal(drainer, patient);
    // Budget truncate((150 - 100) / 2) = 25; amount min(100 x 1.0, 25) = 25.
    EXPECT_EQ(patient->mHealth, 525);
    // The healer pays truncate(25 x 2) = 50.
    EXPECT_EQ(drainer->mHealth, 100);
    EXPECT_EQ(action->findResult(patient->mId)->mHealthChange, 25);
    EXPECT_EQ(action->findResult(drainer->mId)->mHealthChange, -50);

    // At 100 health the budget is 0: nothing at all.
    heal(drainer, patient);
    EXPECT_EQ(patient->mHealth, 525);
    EXPECT_EQ(drainer->mHealth, 100);
}

TEST_F(CombatTest, AnOverspentBudgetStopsTheHealing) {
    Entity* spring = unit("wellspring", 0, 2, 1);
    Entity* first = unit("dummy", 0, 3, 1);
    Entity* second = unit("dummy", 0, 4, 1);
    ASSERT_TRUE(spring->setHealth(185));
    ASSERT_TRUE(first->setHealth(500));
    ASSERT_TRUE(second->setHealth(500));
    CandidateAction* action = heal(spring, first);
    // Budget truncate(85 / 3) = 28; 28 moves health by 30, leaving -2.
    EXPECT_EQ(first->mHealth, 530);
    EXPECT_EQ(second->mHealth, 500);
    EXPECT_EQ(action->findResult(second->mId), nullptr);
    EXPECT_EQ(spring->mHealth, 95); // 185 - truncate(30 x 3)
}

TEST_F(CombatTest, ChainHealsFallOff) {
    Entity* mender = unit("mender", 0, 1, 1);
    std::vector<Entity*> patients = {unit("dummy", 0, 3, 1), unit("dummy", 0, 4, 1),
                                     unit("dummy", 0, 5, 1)};
    for (Entity* patient : patients)
        ASSERT_TRUE(patient->setHealth(500));
    CandidateAction* action = heal(mender, patients[0]);
    // truncate(40 x 1.0 x 0.5^i): 40, 20, 10.
    EXPECT_EQ(patients[0]->mHealth, 540);
    EXPECT_EQ(patients[1]->mHealth, 520);
    EXPECT_EQ(patients[2]->mHealth, 510);
    for (const Entity* patient : patients)
        EXPECT_TRUE(action->findResult(patient->mId)->mChainTarget);
}

TEST_F(CombatTest, AreaHealsMendAlliesAroundTheTarget) {
    Entity* fountain = unit("fountain", 0, 1, 1);
    Entity* target = unit("dummy", 0, 3, 1);
    Entity* beside = unit("dummy", 0, 3, 2);
    Entity* corner = unit("dummy", 0, 4, 2); // grid distance 2
    Entity* enemy = unit("dummy", 1, 4, 1);
    for (Entity* hurt : {target, beside, corner, enemy})
        ASSERT_TRUE(hurt->setHealth(500));
    heal(fountain, target);
    EXPECT_EQ(target->mHealth, 550); // 100 x 0.5
    EXPECT_EQ(beside->mHealth, 550);
    EXPECT_EQ(corner->mHealth, 500);
    EXPECT_EQ(enemy->mHealth, 500);
}

TEST_F(CombatTest, RevivalPutsKnockedOutUnitsBackOnTheBoard) {
    Entity* healer = unit("healer", 0, 2, 1);
    Entity* fallen = unit("dummy", 0, 3, 1);
    ASSERT_TRUE(fallen->setHealth(0));
    heal(healer, fallen);
    EXPECT_EQ(fallen->mHealth, 50); // truncate(100 x 0.5)
    EXPECT_EQ(fallen->mState, cStateDeployedToGameBoard);

    Entity* dead = unit("dummy", 0, 4, 1);
    ASSERT_TRUE(dead->setHealth(0));
    dead->kill(false, -1);
    EXPECT_EQ(dead->revive(100, 0.5f), 0);
    EXPECT_EQ(dead->mState, cStateDead);
    EXPECT_EQ(dead->mHealth, 0);
}

TEST_F(CombatTest, BindingHealsTheHealerToo) {
    Entity* binder = unit("binder", 0, 2, 1);
    Entity* patient = unit("dummy", 0, 3, 1);
    ASSERT_TRUE(binder->setHealth(800));
    ASSERT_TRUE(patient->setHealth(500));
    CandidateAction* action = heal(binder, patient);
    EXPECT_EQ(patient->mHealth, 600);
    EXPECT_EQ(binder->mHealth, 850); // truncate(100 x 0.5)
    EXPECT_EQ(action->findResult(binder->mId)->mHealthChange, 50);
}

TEST_F(CombatTest, HealItemsGoOnePerCaster) {
    Entity* blesser = unit("blesser", 0, 2, 1);
    Entity* first = unit("dummy", 0, 3, 1);
    Entity* second = unit("dummy", 0, 2, 2);
    heal(blesser, first); // at full health, but it does not carry the item yet
    EXPECT_TRUE(first->hasEquippedProto(proto("blessing")));
    heal(blesser, second);
    EXPECT_FALSE(first->hasEquippedProto(proto("blessing")));
    EXPECT_TRUE(second->hasEquippedProto(proto("blessing")));
}

TEST_F(CombatTest, AllyAbilitiesAttachAndSwap) {
    Entity* porter = unit("porter", 0, 2, 1);
    Entity* ally = unit("dummy", 0, 3, 1);
    CandidateAction* action = executing(cActionAllyAbility, porter);
    ASSERT_TRUE(porter->useAllyAbility(ally->mId, action));
    EXPECT_EQ(porter->mCharge, 1);
    EXPECT_EQ(porter->mSlot, GridSlot(3, 1));
    EXPECT_EQ(ally->mSlot, GridSlot(2, 1));
    EXPECT_TRUE(ally->hasEquippedProto(proto("haste")));
    EXPECT_EQ(action->findResult(ally->mId)->mInitialSlot, GridSlot(3, 1));

    // A crystal cannot be teleported with: refused before anything is spent.
    Entity* crystal = ownCrystal();
    Entity* mover = unit("porter", 0, 1, 2);
    EXPECT_FALSE(mover->useAllyAbility(crystal->mId, action));
    EXPECT_EQ(mover->mCharge, 2);
    // Enemies are no allies.
    EXPECT_FALSE(porter->useAllyAbility(unit("dummy", 1, 4, 1)->mId, action));
    EXPECT_EQ(porter->mCharge, 1);
}
