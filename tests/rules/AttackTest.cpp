// Attacks: a golden table of the damage formula, one row per factor and
// special attack, worked by hand with the arithmetic beside each row; then
// the target gathering (splash, whirlwind, pierce, chain), corpses, spotting,
// knockback, magnet, intercept, debuffs, charge, score and the kill effects.

#include "CombatTestSupport.h"

namespace {

struct AttackRow {
    const char* name;
    bool premiumBoard;
    const char* attacker;
    GridSlot from;
    int32_t attackerHealth; // 0: full
    const char* target;     // "crystal": player 1's crystal at (7, 2)
    GridSlot at;
    int32_t targetHealth; // 0: full
    std::vector<const char*> targetItems;
    int32_t targetLoss;
    int32_t attackerChange;
};

// Every unit has power 100 and 1000 health, defense 0, unless named:
// armored has defense 20 % and resist 50 %, the crystal 800 health.
// damage = truncate(P x (S x M x Q x F x K x G) + B), unmitigated =
// truncate(V x S x F x G); health then moves by the nearest multiple of 5.
const std::vector<AttackRow> cAttackRows = {
    // 100 x (1 x 1.0 x 1 x 1 x 1 x 1) + 0 = 100
    {"melee", false, "brute", {2, 1}, 0, "dummy", {3, 1}, 0, {}, 100, 0},
    // distance 3: M = 1.5; 100 x 1.5 = 150
    {"ranged multiplier", false, "bowman", {1, 1}, 0, "dummy", {4, 1}, 0, {}, 150, 0},
    // distance 1: M = 0.5; 100 x 0.5 = 50
    {"melee multiplier", false, "bowman", {2, 1}, 0, "dummy", {3, 1}, 0, {}, 50, 0},
    // truncate(100 x 0.33) = 33; the loss moves to 5 x floor(-6.6 + 0.5) = -35
    {"truncated, then in steps of 5", false, "jabber", {2, 1}, 0, "dummy", {3, 1}, 0, {}, 35, 0},
    // 100, then truncate(100 x (1 - 0.2)) = 80
    {"defense", false, "brute", {2, 1}, 0, "armored", {3, 1}, 0, {}, 80, 0},
    // magic: truncate(100 x (1 - 0.5)) = 50
    {"resist", false, "mage", {1, 1}, 0, "armored", {3, 1}, 0, {}, 50, 0},
    // 500 / 1000 = 0.5 is low: 100 + 1000000, only 500 left to lose
    {"execute", false, "executioner", {2, 1}, 0, "dummy", {3, 1}, 500, {}, 500, 0},
    // 550 / 1000 = 0.55 is not low: B = 0
    {"no execute above half", false, "executioner", {2, 1}, 0, "dummy", {3, 1}, 550, {}, 100, 0},
    // 1000100 absorbed whole by the "shield" item
    {"execute into a shield item",
     false,
     "executioner",
     {2, 1},
     0,
     "dummy",
     {3, 1},
     500,
     {"shield"},
     0,
     0},
    // full health is not low: B = 50; 100 + 50 = 150
    {"cutdown", false, "cutter", {2, 1}, 0, "dummy", {3, 1}, 0, {}, 150, 0},
    // low: no cutdown; 100
    {"no cutdown when low", false, "cutter", {2, 1}, 0, "dummy", {3, 1}, 500, {}, 100, 0},
    // player 0 at x 4 > target x 3 is behind: K = 2; 100 x 2 = 200
    {"backstab", false, "rogue", {4, 1}, 0, "dummy", {3, 1}, 0, {}, 200, 0},
    // x 2 < 3: in front, K = 1
    {"no backstab from the front", false, "rogue", {2, 1}, 0, "dummy", {3, 1}, 0, {}, 100, 0},
    // bare board: V = 1; G = 2: truncate(100 x 2) = 200, truncate(1 x 1 x 1 x 2) = 2;
    // 202 moves to 5 x floor(-40.4 + 0.5) = -200
    {"assault on a victory unit", false, "assaulter", {6, 2}, 0, "crystal", {7, 2}, 0, {}, 200, 0},
    // V = 100 ("VictoryDamageAdd" under the attacker, premium bonus 1.0):
    // 100 + truncate(100 x 1 x 1 x 1) = 200; the crystal's spikes square
    // reflects truncate(200 x 0.10) = 20 onto the attacker
    {"victory damage and crystal spikes",
     true,
     "brute",
     {6, 2},
     0,
     "crystal",
     {7, 2},
     0,
     {},
     200,
     -20},
    // 100; spikes truncate(0.5 x 100) = 50 come back
    {"spikes", false, "brute", {2, 1}, 0, "dummy", {3, 1}, 0, {"thorns"}, 100, -50},
    // reflected 50, but never below 100: max(-50, 100 - 120) = -20
    {"spikes stop at 100", false, "brute", {2, 1}, 120, "dummy", {3, 1}, 0, {"thorns"}, 100, -20},
    // below 100 health the spikes do nothing
    {"spikes spare a weak attacker",
     false,
     "brute",
     {2, 1},
     90,
     "dummy",
     {3, 1},
     0,
     {"thorns"},
     100,
     0},
    // leech truncate(team bonus 1.0 x 0.5 x 100) = 50
    {"leech", false, "leecher", {2, 1}, 800, "dummy", {3, 1}, 0, {}, 100, 50},
    // victory units feed no leech; bare board V = 1: 100 + 1 = 101, moves to 100
    {"no leech from victory units",
     false,
     "leecher",
     {6, 2},
     800,
     "crystal",
     {7, 2},
     0,
     {},
     100,
     0},
};

} // namespace

TEST_F(CombatTest, GoldenAttackTable) {
    for (const AttackRow& row : cAttackRows) {
        SCOPED_TRACE(row.name);
        restart();
        if (row.premiumBoard)
            board()->setProtoIndex(cPremiumBoard);
        Entity* attacker = unit(row.attacker, 0, row.from.x, row.from.y);
        Entity* target = std::string(row.target) == "crystal"
                             ? enemyCrystal()
                             : unit(row.target, 1, row.at.x, row.at.y);
        ASSERT_NE(target, nullptr);
        if (row.attackerHealth > 0) {
            ASSERT_TRUE(attacker->setHealth(row.attackerHealth));
        }
        if (row.targetHealth > 0) {
            ASSERT_TRUE(target->setHealth(row.targetHealth));
        }
        for (const char* item : row.targetItems)
            target->equip(mGame->createEntity(proto(item), 1), nullptr);
        const int32_t targetBefore = target->mHealth;
        const int32_t attackerBefore = attacker->mHealth;

        CandidateAction* action = attack(attacker, target);
        EXPECT_EQ(targetBefore - target->mHealth, row.targetLoss);
        EXPECT_EQ(attacker->mHealth - attackerBefore, row.attackerChange);
        const ActionResultInfo* hit = action->findResult(target->mId);
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->mHealthChange, -row.targetLoss);
        const ActionResultInfo* own = action->findResult(attacker->mId);
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(own->mHealthChange, row.attackerChange);
        EXPECT_EQ(own->mPower, 100);
    }
}

TEST_F(CombatTest, BackstabIsNotedInTheAttackersRecord) {
    Entity* rogue = unit("rogue", 0, 4, 1);
    CandidateAction* action = attack(rogue, unit("dummy", 1, 3, 1));
    EXPECT_TRUE(action->findResult(rogue->mId)->mBackstabbed);
}

TEST_F(CombatTest, SplashFallsOffWithDistanceAndSplashReduction) {
    Entity* bomber = unit("bomber", 0, 1, 1);
    Entity* target = unit("dummy", 1, 4, 1);
    Entity* beside = unit("dummy", 1, 5, 1);
    Entity* diagonal = unit("dummy", 1, 5, 2);
    Entity* reduced = unit("dummy", 1, 4, 2);
    reduced->equip(mGame->createEntity(proto("scatter"), 1), nullptr);
    Entity* ally = unit("dummy", 0, 3, 1);
    Entity* far = unit("dummy", 1, 6, 1);
    attack(bomber, target);
    EXPECT_EQ(target->mHealth, 900);   // S = 1.0 on the impact square
    EXPECT_EQ(beside->mHealth, 950);   // S = 0.5^1: 100 x 0.5 = 50
    EXPECT_EQ(diagonal->mHealth, 950); // Chebyshev distance 1 as well
    EXPECT_EQ(reduced->mHealth, 975);  // 0.5 x (1 - 0.5) = 0.25: 25
    EXPECT_EQ(ally->mHealth, 1000);    // own side
    EXPECT_EQ(far->mHealth, 1000);     // outside the radius
}

TEST_F(CombatTest, WhirlwindHitsEveryEnemyAroundWithTheMultiTargetBonus) {
    Entity* spinner = unit("spinner", 0, 3, 2);
    Entity* first = unit("dummy", 1, 4, 2);
    Entity* second = unit("dummy", 1, 3, 3);
    Entity* ally = unit("dummy", 0, 2, 2);
    // Two living enemies around: 100 + 20 x (2 - 1) = 120.
    EXPECT_EQ(spinner->getPower(nullptr), 120);
    std::vector<int32_t> targets;
    EXPECT_EQ(spinner->collectAttackTargets(-1, targets, nullptr), 4); // with itself and the ally
    attack(spinner, nullptr);
    EXPECT_EQ(first->mHealth, 940); // flat falloff 0.5: 120 x 0.5 = 60
    EXPECT_EQ(second->mHealth, 940);
    EXPECT_EQ(ally->mHealth, 1000);
    EXPECT_EQ(spinner->mHealth, 1000);
}

TEST_F(CombatTest, PiercingShotsHitTheirLine) {
    Entity* piercer = unit("piercer", 0, 1, 1);
    Entity* target = unit("dummy", 1, 4, 1);
    Entity* between = unit("dummy", 1, 3, 1);
    Entity* behind = unit("dummy", 1, 5, 1);
    attack(piercer, target);
    EXPECT_EQ(target->mHealth, 900);  // the primary target: Q = 1
    EXPECT_EQ(between->mHealth, 950); // Q = 0.5: 100 x 0.5
    EXPECT_EQ(behind->mHealth, 1000); // the line ends at the target

    // Past the target: from x 1, 3 ("MaxRange") + 1 ("BonusRange" x) squares on.
    Entity* skewer = unit("skewer", 0, 1, 3);
    Entity* near = unit("dummy", 1, 3, 3);
    Entity* reached = unit("dummy", 1, 5, 3);
    Entity* beyond = unit("dummy", 1, 6, 3);
    attack(skewer, near);
    EXPECT_EQ(near->mHealth, 900);
    EXPECT_EQ(reached->mHealth, 950);
    EXPECT_EQ(beyond->mHealth, 1000);
}

TEST_F(CombatTest, ChainJumpsFallOff) {
    Entity* zapper = unit("zapper", 0, 1, 1);
    Entity* first = unit("dummy", 1, 3, 1);
    Entity* second = unit("dummy", 1, 4, 1);
    Entity* third = unit("dummy", 1, 5, 1);
    CandidateAction* action = attack(zapper, first);
    // F = ((0 x 0.1) + 1) x 0.5 = 0.5 raised to 0, 1, 2.
    EXPECT_EQ(first->mHealth, 900);
    EXPECT_EQ(second->mHealth, 950);
    EXPECT_EQ(third->mHealth, 975);
    for (const Entity* hit : {first, second, third})
        EXPECT_TRUE(action->findResult(hit->mId)->mChainTarget);

    // Role bonus 1: F = (0.1 + 1) x 0.5 = 0.55; 100 x 0.55 = 55 and
    // truncate(100 x 0.3025) = 30.
    Entity* arcer = unit("arcer", 0, 1, 3);
    Entity* a = unit("dummy", 1, 3, 3);
    Entity* b = unit("dummy", 1, 4, 3);
    Entity* c = unit("dummy", 1, 5, 3);
    attack(arcer, a);
    EXPECT_EQ(a->mHealth, 900);
    EXPECT_EQ(b->mHealth, 945);
    EXPECT_EQ(c->mHealth, 970);
}

TEST_F(CombatTest, CorpseExplosionScalesWithTheCorpse) {
    Entity* corpser = unit("corpser", 0, 2, 1);
    Entity* corpse = unit("dummy", 1, 3, 1);
    corpse->equip(mGame->createEntity(proto("vigor"), 1), nullptr); // max health 1200
    ASSERT_TRUE(corpse->setHealth(0));
    Entity* beside = unit("dummy", 1, 4, 1);
    CandidateAction* action = attack(corpser, corpse);
    // truncate(100 x 0.5 x (1200 / 1000)) = 60; conservation 1.0 next door.
    EXPECT_EQ(beside->mHealth, 940);
    EXPECT_EQ(corpse->mState, cStateDead); // stomped
    EXPECT_TRUE(action->findResult(corpse->mId)->mKilled);
    // A living target makes no splash.
    Entity* living = unit("dummy", 1, 4, 3);
    Entity* near = unit("dummy", 1, 5, 3);
    Entity* second = unit("corpser", 0, 3, 3);
    attack(second, living);
    EXPECT_EQ(living->mHealth, 900);
    EXPECT_EQ(near->mHealth, 1000);
}

TEST_F(CombatTest, StompingRaisesTheDeadAndSoulLeechGrows) {
    Entity* necro = unit("necro", 0, 2, 1);
    Entity* corpse = unit("dummy", 1, 3, 1);
    ASSERT_TRUE(corpse->setHealth(0));
    CandidateAction* action = attack(necro, corpse);
    EXPECT_EQ(corpse->mState, cStateDead);
    Entity* raised = at(3, 1);
    ASSERT_NE(raised, nullptr);
    EXPECT_EQ(raised->mProtoId, proto("ghost"));
    EXPECT_EQ(raised->mOwner, 0);
    EXPECT_EQ(raised->mState, cStateDeployedToGameBoard);
    const ActionResultInfo* record = action->findResult(raised->mId);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->mInitialState, cStateDead);
    EXPECT_FLOAT_EQ(record->mInitialHealthFraction, 0.0f);

    // One stomp: one level, 150 more max health and 150 health.
    Entity* eater = unit("souleater", 0, 2, 3);
    Entity* meal = unit("dummy", 1, 3, 3);
    ASSERT_TRUE(meal->setHealth(0));
    CandidateAction* feast = attack(eater, meal);
    EXPECT_EQ(eater->mPuppetUpgradeLevel, 1);
    EXPECT_EQ(eater->getMaxHealth(), 1150);
    EXPECT_EQ(eater->mHealth, 1150);
    EXPECT_EQ(feast->findResult(eater->mId)->mHealthChange, 150);
    EXPECT_TRUE(feast->findResult(eater->mId)->mMaxHealthChanged);
}

TEST_F(CombatTest, SpottingMarksInsteadOfDamaging) {
    Entity* spotter = unit("spotter", 0, 1, 1);
    Entity* first = unit("dummy", 1, 4, 1);
    CandidateAction* action = attack(spotter, first);
    EXPECT_TRUE(action->findResult(spotter->mId)->mSpotted);
    EXPECT_EQ(first->mHealth, 1000);
    EXPECT_TRUE(first->hasEquippedProto(proto("spottingBuff")));

    // A second spotting moves the mark ("OnePerCaster").
    Entity* second = unit("dummy", 1, 4, 3);
    attack(spotter, second);
    EXPECT_FALSE(first->hasEquippedProto(proto("spottingBuff")));
    EXPECT_TRUE(second->hasEquippedProto(proto("spottingBuff")));

    // A marked target beyond range is attacked with full power; a spotter
    // user takes one mark off.
    attack(spotter, second);
    EXPECT_EQ(second->mHealth, 900);
    Entity* gunner = unit("gunner", 0, 3, 3);
    attack(gunner, second);
    EXPECT_FALSE(second->hasEquippedProto(proto("spottingBuff")));
}

TEST_F(CombatTest, KnockbackPushesAndPulls) {
    Entity* pusher = unit("pusher", 0, 1, 1);
    Entity* pushed = unit("dummy", 1, 4, 1);
    attack(pusher, pushed);
    EXPECT_EQ(pushed->mSlot, GridSlot(5, 1));
    EXPECT_EQ(at(5, 1), pushed);

    Entity* puller = unit("puller", 0, 1, 3);
    Entity* pulled = unit("dummy", 1, 4, 3);
    attack(puller, pulled);
    EXPECT_EQ(pulled->mSlot, GridSlot(3, 3));

    // Not knockbackable, or blocked: stays.
    Entity* mule = unit("mule", 1, 4, 0);
    Entity* second = unit("pusher", 0, 1, 0);
    attack(second, mule);
    EXPECT_EQ(mule->mSlot, GridSlot(4, 0));
    unit("dummy", 1, 6, 1);
    attack(pusher, pushed);
    EXPECT_EQ(pushed->mSlot, GridSlot(5, 1));
}

TEST_F(CombatTest, MagnetPullsEnemiesAroundTheAttacker) {
    Entity* magnet = unit("magnet", 0, 3, 2);
    Entity* target = unit("dummy", 1, 4, 2);
    Entity* above = unit("dummy", 1, 3, 0);
    Entity* below = unit("dummy", 1, 3, 4);
    Entity* ally = unit("dummy", 0, 1, 2);
    CandidateAction* action = attack(magnet, target);
    EXPECT_EQ(target->mHealth, 900);
    EXPECT_EQ(target->mSlot, GridSlot(4, 2)); // the square toward the magnet is taken
    EXPECT_EQ(above->mSlot, GridSlot(3, 1));
    EXPECT_EQ(below->mSlot, GridSlot(3, 3));
    EXPECT_EQ(ally->mSlot, GridSlot(1, 2));
    const ActionResultInfo* record = action->findResult(above->mId);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->mInitialSlot, GridSlot(3, 0));
    EXPECT_EQ(record->mFinalSlot, GridSlot(3, 1));
}

TEST_F(CombatTest, InterceptChargesAlongTheRow) {
    Entity* charger = unit("charger", 0, 1, 3);
    Entity* target = unit("dummy", 1, 5, 3);
    Entity* corpse = unit("dummy", 1, 4, 3);
    ASSERT_TRUE(corpse->setHealth(0));
    CandidateAction* action = attack(charger, target);
    EXPECT_EQ(corpse->mState, cStateDead);
    EXPECT_EQ(charger->mSlot, GridSlot(4, 3));
    EXPECT_EQ(target->mHealth, 900); // melee after the charge: 100 x 1.0
    EXPECT_EQ(action->findResult(charger->mId)->mInitialSlot, GridSlot(1, 3));
}

TEST_F(CombatTest, KnockOutsAreScoredAndUnitsThatDieOnKnockOutDie) {
    Entity* brute = unit("brute", 0, 2, 1);
    Entity* mule = unit("mule", 1, 3, 1);
    ASSERT_TRUE(mule->setHealth(100));
    CandidateAction* action = attack(brute, mule);
    EXPECT_EQ(mule->mState, cStateDead);
    const ActionResultInfo* record = action->findResult(mule->mId);
    EXPECT_TRUE(record->mKilled);
    EXPECT_EQ(record->mScore, 50);                         // "knockout" 50 x multiplier 1
    EXPECT_EQ(action->findResult(brute->mId)->mScore, 10); // "damage" 10 x 1
    EXPECT_EQ(mGame->getPlayer(0)->mScore, 60);
}

TEST_F(CombatTest, DebuffsAreAttachedBeforeTheHitOnePerCaster) {
    Entity* hexer = unit("hexer", 0, 1, 1);
    Entity* first = unit("dummy", 1, 4, 1);
    Entity* second = unit("dummy", 1, 4, 3);
    attack(hexer, first);
    EXPECT_TRUE(first->hasEquippedProto(proto("hex")));
    EXPECT_EQ(first->mHealth, 890); // defense -10 %: truncate(100 x 1.1) = 110
    attack(hexer, second);
    EXPECT_FALSE(first->hasEquippedProto(proto("hex")));
    EXPECT_TRUE(second->hasEquippedProto(proto("hex")));
}

TEST_F(CombatTest, ChargeIsPaidPerAttack) {
    Entity* sapper = unit("sapper", 0, 2, 1);
    Entity* target = unit("dummy", 1, 3, 1);
    ASSERT_EQ(sapper->mCharge, 1);
    attack(sapper, target);
    EXPECT_EQ(sapper->mCharge, 0);
    EXPECT_EQ(target->mHealth, 900);
    attack(sapper, target);
    EXPECT_EQ(target->mHealth, 900);
}

TEST_F(CombatTest, ActionBuffsAreSpentByTheAttack) {
    Entity* brute = unit("brute", 0, 2, 1);
    brute->equip(mGame->createEntity(proto("fury"), 0), nullptr);
    brute->equip(mGame->createEntity(proto("stride"), 0), nullptr);
    attack(brute, unit("dummy", 1, 3, 1));
    EXPECT_FALSE(brute->hasEquippedProto(proto("fury")));
    EXPECT_TRUE(brute->hasEquippedProto(proto("stride")));
}

TEST_F(CombatTest, KillsEnrageTheVictimsSide) {
    Entity* berserk = unit("berserk", 1, 5, 1);
    Entity* other = unit("berserk", 1, 5, 3);
    Entity* victim = unit("dummy", 1, 3, 1);
    Entity* brute = unit("brute", 0, 2, 1);
    ASSERT_TRUE(victim->setHealth(0));
    attack(brute, victim);
    for (const Entity* unit : {berserk, other}) {
        EXPECT_TRUE(unit->hasEquippedProto(proto("bloodrageBuff")));
        EXPECT_EQ(unit->mInventory->getEntityCount(), 1);
    }
    // A chieftain's death brings the stronger rage in place of the plain one.
    Entity* chieftain = unit("chieftain", 1, 4, 4);
    executing(cActionAttack, brute);
    chieftain->kill(true, brute->mId);
    for (const Entity* unit : {berserk, other}) {
        EXPECT_TRUE(unit->hasEquippedProto(proto("bloodrageStrongBuff")));
        EXPECT_FALSE(unit->hasEquippedProto(proto("bloodrageBuff")));
    }
    // Own kills (no killer of the other side) enrage nobody.
    Entity* third = unit("berserk", 1, 6, 0);
    unit("dummy", 1, 6, 4)->kill(true, berserk->mId);
    EXPECT_EQ(third->mInventory->getEntityCount(), 0);
}

TEST_F(CombatTest, StompingRaidersGainAnActionPoint) {
    Entity* raider = unit("raider", 0, 2, 1);
    Entity* corpse = unit("dummy", 1, 3, 1);
    ASSERT_TRUE(corpse->setHealth(0));
    const int32_t before = mGame->getPlayer(0)->mActionPoints;
    attack(raider, corpse);
    EXPECT_EQ(mGame->getPlayer(0)->mActionPoints, before + 1);
    // Not for a unit that dies on knock-out, nor for a victory unit.
    Entity* mule = unit("mule", 1, 3, 3);
    executing(cActionAttack, raider);
    mule->kill(true, raider->mId);
    enemyCrystal()->kill(true, raider->mId);
    EXPECT_EQ(mGame->getPlayer(0)->mActionPoints, before + 1);
}

TEST_F(CombatTest, RepeatedAttacksInPlayRaisePowerAndSplash) {
    Entity* repeater = unit("repeater", 0, 2, 1);
    Entity* target = unit("dummy", 1, 3, 1);
    Entity* brute = unit("brute", 0, 2, 3);
    Entity* other = unit("dummy", 1, 3, 3);
    // 100 + 25 for each attack of the unbroken run before; another unit's
    // attack ends the run.
    const std::vector<std::pair<Entity*, int32_t>> turn = {
        {repeater, 100}, {repeater, 125}, {repeater, 150}, {brute, 100}, {repeater, 100}};
    for (size_t i = 0; i < turn.size(); ++i) {
        Entity* source = turn[i].first;
        CandidateAction* action = play(source, source == brute ? other : target);
        ASSERT_NE(action, nullptr) << "attack " << i;
        EXPECT_EQ(action->findResult(source->mId)->mPower, turn[i].second) << "attack " << i;
    }
    // Outside an action (a tooltip's figures) there is no run.
    EXPECT_EQ(repeater->getPower(target), 100);

    // The splash radius grows by one for each attack of the run.
    Entity* lobber = unit("lobber", 0, 1, 0);
    Entity* aimed = unit("dummy", 1, 4, 0);
    Entity* beside = unit("dummy", 1, 5, 0);
    ASSERT_NE(play(lobber, aimed), nullptr);
    EXPECT_EQ(beside->mHealth, 1000);
    ASSERT_NE(play(lobber, aimed), nullptr);
    EXPECT_LT(beside->mHealth, 1000);
}

TEST_F(CombatTest, AUnitAlreadyAtNoHealthIsNotKnockedOutOrScoredAgain) {
    // A knocked-out enemy whose max health a buff has driven below 0 loses
    // a debuff with hit points when its caster attacks someone else: the
    // health clamp sets it below 0 again.
    Entity* blighter = unit("blighter", 0, 1, 1);
    Entity* fallen = unit("dummy", 1, 3, 3);
    ASSERT_TRUE(fallen->setHealth(0));
    ASSERT_EQ(fallen->mState, cStateKnockedOut);
    carry(fallen, "wither");
    carry(fallen, "blight")->mCreatorEntityID = blighter->mId;
    fallen->mKnockedOutTurns = 1;
    const int32_t score = mGame->getPlayer(0)->mScore;

    Entity* target = unit("dummy", 1, 4, 1);
    ASSERT_NE(play(blighter, target), nullptr);
    EXPECT_FALSE(fallen->hasEquippedProto(proto("blight")));
    EXPECT_TRUE(target->hasEquippedProto(proto("blight")));
    EXPECT_EQ(mGame->getPlayer(0)->mScore, score + 10) << "the damage points only";
    EXPECT_EQ(fallen->mKnockedOutTurns, 1);
}

TEST_F(CombatTest, ADebuffTheTargetCannotTakeLeavesNoEntityBehind) {
    Entity* hexer = unit("hexer", 0, 1, 1);
    Entity* golem = unit("golem", 1, 4, 1);
    const size_t entities = mGame->mEntities.size();
    ASSERT_NE(play(hexer, golem), nullptr);
    EXPECT_EQ(golem->mHealth, 900) << "the hit itself lands";
    EXPECT_EQ(golem->mInventory->getEntityCount(), 0);
    EXPECT_EQ(mGame->mEntities.size(), entities);
    // A target that takes it gets it as before.
    Entity* dummy = unit("dummy", 1, 3, 2);
    ASSERT_NE(play(hexer, dummy), nullptr);
    EXPECT_TRUE(dummy->hasEquippedProto(proto("hex")));
    EXPECT_EQ(mGame->mEntities.size(), entities + 2);
}
