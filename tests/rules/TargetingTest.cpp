#include "ActionsTestSupport.h"

#include "rules/CocosEntityLink.h"
#include "rules/SceneServices.h"

namespace {

class TargetingTest : public ActionsGameTest {
protected:
    void TearDown() override {
        SettingsManager& settings = SettingsManager::instance();
        settings.mRestrictedTargeting = false;
        settings.mRangedAttackBlocking = false;
        settings.mRangedAttackBlockingVersion2 = false;
        ActionsGameTest::TearDown();
    }
};

} // namespace

TEST_F(TargetingTest, MovesStayInReachOutOfTheEnemyZoneAndOffTheLiving) {
    Entity* knight = unit("knight", 0, 2, 1);
    unit("knight", 1, 3, 2, cStateKnockedOut);
    unit("crystal", 1, 2, 3, cStateKnockedOut); // cannot be stomped
    unit("knight", 0, 1, 1);
    struct Row {
        GridSlot slot;
        bool allowed;
    };
    const Row rows[] = {
        {{2, 0}, true},  {{4, 1}, true}, {{3, 2}, true}, // stompable corpse
        {{2, 3}, false},                                 // unstompable corpse
        {{1, 1}, false},                                 // a living ally
        {{5, 1}, false},                                 // beyond movement
        {{0, 1}, true},                                  // our own zone
    };
    for (const Row& row : rows)
        EXPECT_EQ(knight->canMoveTo(row.slot), row.allowed) << row.slot.x << "," << row.slot.y;

    // The opponent's zone (columns 5 and 6) is closed even within reach.
    Entity* runner = unit("knight", 0, 4, 0);
    EXPECT_FALSE(runner->canMoveTo(GridSlot(5, 0)));
    EXPECT_TRUE(runner->canMoveTo(GridSlot(4, 2)));
    runner->mState = cStateCandidateMovement;
    EXPECT_FALSE(runner->canMoveTo(GridSlot(4, 1)));
}

TEST_F(TargetingTest, TeleportersJoinAtAnyDistanceGivenSomeMovement) {
    Entity* swift = unit("swift", 0, 2, 0); // on the Teleporter at (2, 0)
    EXPECT_TRUE(swift->canMoveTo(GridSlot(4, 4)));
    EXPECT_FALSE(swift->canMoveTo(GridSlot(4, 3)));
    board()->removeEntity(swift->mId);
    Entity* rooted = unit("rooted", 0, 4, 4); // no movement at all
    EXPECT_FALSE(rooted->canMoveTo(GridSlot(2, 0)));
}

TEST_F(TargetingTest, AttackSidesChargeAndCorpses) {
    Entity* knight = unit("knight", 0, 2, 1);
    Entity* enemy = unit("knight", 1, 3, 1);
    Entity* ally = unit("knight", 0, 2, 2);
    EXPECT_TRUE(knight->canAttack(enemy->mId));
    EXPECT_FALSE(knight->canAttack(ally->mId));
    EXPECT_FALSE(knight->canAttack(-1));
    EXPECT_FALSE(knight->canAttack(999));

    // A bomber pays charge per attack.
    Entity* bomber = unit("bomber", 0, 4, 2);
    Entity* near = unit("knight", 1, 4, 3);
    EXPECT_TRUE(bomber->canAttack(near->mId));
    bomber->mCharge = 0;
    EXPECT_FALSE(bomber->canAttack(near->mId));

    // Other corpses only adjacent and inside the opponent's zone.
    Entity* raider = unit("knight", 0, 4, 0);
    Entity* inZone = unit("knight", 1, 5, 0, cStateKnockedOut);
    EXPECT_TRUE(raider->canAttack(inZone->mId));
    Entity* outside = unit("knight", 1, 3, 0, cStateKnockedOut);
    EXPECT_FALSE(raider->canAttack(outside->mId));
    Entity* farCorpse = unit("knight", 1, 5, 4, cStateKnockedOut);
    Entity* archer = unit("archer", 0, 5, 1);
    EXPECT_FALSE(archer->canAttack(farCorpse->mId)); // distance 3
    inZone->mState = cStateDead;
    EXPECT_FALSE(raider->canAttack(inZone->mId));

    // Corpse users reach their own dead but neither the living nor crystals.
    Entity* necromancer = unit("necromancer", 0, 1, 3);
    Entity* ownCorpse = unit("knight", 0, 1, 4, cStateKnockedOut);
    EXPECT_TRUE(necromancer->canAttack(ownCorpse->mId));
    EXPECT_FALSE(necromancer->canAttack(ally->mId));
    Entity* crystal = at(0, 2);
    crystal->mState = cStateKnockedOut;
    EXPECT_FALSE(necromancer->canAttack(crystal->mId)); // not stompable either
}

TEST_F(TargetingTest, StealthHidesFromAllButTrackers) {
    Entity* knight = unit("knight", 0, 2, 1);
    Entity* archer = unit("archer", 0, 2, 3);
    Entity* hunter = unit("hunter", 0, 1, 1);
    Entity* cloaked = unit("knight", 1, 3, 1);
    carry(cloaked, "cloak");
    EXPECT_FALSE(knight->canAttack(cloaked->mId));
    EXPECT_TRUE(hunter->canAttack(cloaked->mId));
    Entity* shade = unit("shade", 1, 2, 2); // hidden beyond distance 1
    EXPECT_TRUE(knight->canAttack(shade->mId));
    Entity* farShade = unit("shade", 1, 4, 3);
    EXPECT_FALSE(archer->canAttack(farShade->mId));
    EXPECT_TRUE(hunter->canAttack(unit("knight", 1, 4, 1)->mId));
}

TEST_F(TargetingTest, RangeBonusRangeSpottersInterceptAndSpotting) {
    Entity* archer = unit("archer", 0, 1, 0); // range 3, bonus range 1 along x
    struct Row {
        const char* what;
        int32_t x, y;
        bool spotted;
        bool allowed;
    };
    const Row rows[] = {
        {"in range", 3, 1, false, true},
        {"beyond range, diagonal", 3, 2, false, false},
        {"beyond range, along the row", 5, 0, false, true}, // 4 <= 3 + 1
        {"beyond the bonus", 6, 0, false, false},
        {"beyond range, along the column", 1, 4, false, false}, // no bonus along y
        {"spotted target", 4, 2, true, true},
    };
    for (const Row& row : rows) {
        Entity* target = unit("knight", 1, row.x, row.y);
        if (row.spotted)
            carry(target, "spottingBuff");
        EXPECT_EQ(archer->canAttack(target->mId), row.allowed) << row.what;
        board()->removeEntity(target->mId);
    }

    // A lancer charges along its row onto a target up to 4 away.
    Entity* lancer = unit("lancer", 0, 0, 0);
    Entity* prey = unit("knight", 1, 3, 0);
    int32_t blocker = -1;
    EXPECT_TRUE(lancer->canIntercept(prey->mId, blocker));
    EXPECT_TRUE(lancer->canAttack(prey->mId));
    Entity* wall = unit("knight", 0, 2, 0);
    bool blocked = false;
    EXPECT_FALSE(lancer->canAttack(prey->mId, &blocked));
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(lancer->canIntercept(prey->mId, blocker));
    EXPECT_EQ(blocker, wall->mId);
    wall->mState = cStateKnockedOut; // a corpse does not stop the charge
    EXPECT_TRUE(lancer->canAttack(prey->mId));
    Entity* offRow = unit("knight", 1, 3, 3);
    EXPECT_FALSE(lancer->canIntercept(offRow->mId, blocker));

    // A scout reaches spotted targets within 4.
    Entity* scout = unit("scout", 0, 0, 4);
    Entity* mark = unit("knight", 1, 3, 4);
    EXPECT_FALSE(scout->canSpotTarget(mark->mId));
    EXPECT_FALSE(scout->canAttack(mark->mId));
    carry(mark, "spottingBuff");
    EXPECT_TRUE(scout->canSpotTarget(mark->mId));
    EXPECT_TRUE(scout->canAttack(mark->mId));
}

TEST_F(TargetingTest, RestrictedTargetingAndBlocking) {
    SettingsManager& settings = SettingsManager::instance();
    Entity* archer = unit("archer", 0, 1, 1);
    Entity* diagonal = unit("knight", 1, 2, 2);
    Entity* ahead = unit("knight", 1, 3, 1);
    EXPECT_TRUE(archer->canAttack(diagonal->mId));
    settings.mRestrictedTargeting = true;
    EXPECT_FALSE(archer->canAttack(diagonal->mId));
    EXPECT_TRUE(archer->canAttack(ahead->mId));

    // A living unit in between blocks the shot; a knocked-out one does not.
    settings.mRangedAttackBlocking = true;
    Entity* between = unit("knight", 0, 2, 1);
    EXPECT_FALSE(archer->canAttack(ahead->mId));
    between->mState = cStateKnockedOut;
    EXPECT_TRUE(archer->canAttack(ahead->mId));
}

TEST_F(TargetingTest, BlockersOfTheSecondVersionStopShots) {
    SettingsManager::instance().mRangedAttackBlockingVersion2 = true;
    Entity* archer = unit("archer", 0, 1, 1);
    Entity* target = unit("knight", 1, 4, 1);
    EXPECT_TRUE(archer->canAttack(target->mId));
    Entity* guard = unit("knight", 1, 3, 1);
    bool blocked = false;
    EXPECT_FALSE(archer->canAttack(target->mId, &blocked));
    EXPECT_TRUE(blocked);
    Entity* found = nullptr;
    ASSERT_TRUE(archer->findBlocker(target->mSlot, found));
    EXPECT_EQ(found, guard);
    // Allies, corpses and the untargettable let the shot pass.
    guard->mOwner = 0;
    EXPECT_TRUE(archer->canAttack(target->mId));
    guard->mOwner = 1;
    guard->mState = cStateKnockedOut;
    EXPECT_TRUE(archer->canAttack(target->mId));
    guard->mState = cStateDeployedToGameBoard;
    carry(guard, "cloak");
    EXPECT_TRUE(archer->canAttack(target->mId));
}

TEST_F(TargetingTest, TheBlockerSearchKeepsTheLastRowsFirstFind) {
    Entity* archer = unit("archer", 0, 1, 1);
    // Off the line (45 degrees or more) does not count.
    unit("knight", 1, 1, 3);
    Entity* found = nullptr;
    EXPECT_FALSE(archer->findBlocker(GridSlot(4, 3), found));
    // Two rows hold a qualifying square: the later row's wins.
    unit("knight", 1, 2, 2);
    Entity* later = unit("knight", 1, 3, 3);
    ASSERT_TRUE(archer->findBlocker(GridSlot(5, 4), found));
    EXPECT_EQ(found, later);
}

TEST_F(TargetingTest, HealingRules) {
    Entity* cleric = unit("cleric", 0, 2, 2); // range 2 x 1.5 = 3
    Entity* hurt = unit("knight", 0, 2, 0);
    hurt->mHealth = 500;
    Entity* whole = unit("knight", 0, 3, 2);
    Entity* enemy = unit("knight", 1, 2, 3);
    enemy->mHealth = 500;
    Entity* fallen = unit("knight", 0, 3, 3, cStateKnockedOut);
    fallen->mHealth = 0;
    Entity* far = unit("knight", 0, 6, 4);
    far->mHealth = 500;
    Entity* crystal = at(0, 2);
    EXPECT_TRUE(cleric->canHeal(hurt->mId, true, true));
    EXPECT_FALSE(cleric->canHeal(whole->mId, true, true));
    EXPECT_FALSE(cleric->canHeal(enemy->mId, true, true));
    EXPECT_FALSE(cleric->canHeal(cleric->mId, true, true));
    EXPECT_TRUE(cleric->canHeal(fallen->mId, true, true));
    EXPECT_FALSE(cleric->canHeal(far->mId, true, true)); // distance 6
    EXPECT_TRUE(cleric->canHeal(far->mId, false, true));
    EXPECT_FALSE(cleric->canHeal(crystal->mId, true, true)); // at full health
    crystal->mHealth = 400;
    EXPECT_TRUE(cleric->canHeal(crystal->mId, true, true));                  // crystal healing
    EXPECT_FALSE(unit("knight", 0, 4, 4)->canHeal(hurt->mId, false, false)); // no CanHeal

    // Structures only.
    Entity* mender = unit("mender", 0, 1, 2);
    EXPECT_TRUE(mender->canHeal(crystal->mId, true, true));
    EXPECT_FALSE(mender->canHeal(hurt->mId, false, false));

    // A drain needs health to spend: (health - 100) / 100 at least 1.
    Entity* drainer = unit("drainer", 0, 1, 0);
    drainer->mHealth = 195;
    EXPECT_FALSE(drainer->canHeal(hurt->mId, true, true));
    drainer->mHealth = 200;
    EXPECT_TRUE(drainer->canHeal(hurt->mId, true, true));
}

TEST_F(TargetingTest, AChainOnlyHealerNeedsSomeoneHurtInTheChain) {
    Entity* chainer = unit("chainer", 0, 2, 2);
    Entity* target = unit("knight", 0, 3, 2); // full health
    EXPECT_TRUE(chainer->canHeal(target->mId, true, false));
    EXPECT_FALSE(chainer->canHeal(target->mId, true, true));
    Entity* neighbour = unit("knight", 0, 4, 2);
    neighbour->mHealth = 700;
    EXPECT_TRUE(chainer->canHeal(target->mId, true, true));
    std::vector<int32_t> chain;
    EXPECT_EQ(chainer->collectChain(chain, target, 2), 2);
    EXPECT_EQ(chain, (std::vector<int32_t>{target->mId, neighbour->mId}));
}

TEST_F(TargetingTest, DamageChainsFollowTheLineOfTheShot) {
    Entity* arcer = unit("arcer", 0, 1, 2);
    Entity* first = unit("knight", 1, 3, 2);
    Entity* ahead = unit("knight", 1, 4, 2); // along the shot
    unit("knight", 1, 3, 1);                 // beside it, same distance
    Entity* last = unit("knight", 1, 4, 3);
    unit("knight", 1, 5, 2, cStateKnockedOut); // a corpse is skipped
    std::vector<int32_t> chain;
    EXPECT_EQ(arcer->collectChain(chain, first, 2), 3);
    EXPECT_EQ(chain, (std::vector<int32_t>{first->mId, ahead->mId, last->mId}));
    chain.clear();
    EXPECT_EQ(arcer->collectChain(chain, first, 0), 1);
}

TEST_F(TargetingTest, HealChainsPreferTheMostUrgentPatient) {
    Entity* chainer = unit("chainer", 0, 1, 2);
    Entity* first = unit("knight", 0, 3, 2);
    first->mHealth = 500;
    unit("knight", 0, 4, 2);                // nearer the line but whole
    Entity* hurt = unit("knight", 0, 3, 1); // hurt
    hurt->mHealth = 900;
    Entity* fallen = unit("knight", 0, 3, 3, cStateKnockedOut);
    fallen->mHealth = 0;
    std::vector<int32_t> chain;
    chainer->collectChain(chain, first, 1);
    EXPECT_EQ(chain, (std::vector<int32_t>{first->mId, fallen->mId}));
}

TEST_F(TargetingTest, AllyAbilities) {
    Entity* porter = unit("porter", 0, 2, 2); // range 1 + 1
    Entity* friendNear = unit("knight", 0, 3, 3);
    EXPECT_TRUE(porter->canUseAllyAbility(friendNear->mId));
    EXPECT_FALSE(porter->canUseAllyAbility(porter->mId));
    EXPECT_FALSE(porter->canUseAllyAbility(unit("knight", 1, 2, 3)->mId));
    EXPECT_FALSE(porter->canUseAllyAbility(unit("knight", 0, 5, 2)->mId)); // distance 3
    EXPECT_FALSE(porter->canUseAllyAbility(unit("knight", 0, 2, 1, cStateKnockedOut)->mId));
    Entity* crystal = at(0, 2);
    board()->removeEntity(porter->mId);
    ASSERT_TRUE(board()->addEntityAt(porter->mId, GridSlot(1, 2)));
    EXPECT_FALSE(porter->canUseAllyAbility(crystal->mId)); // cannot be teleported with
    porter->mCharge = 0;
    EXPECT_FALSE(porter->canUseAllyAbility(unit("knight", 0, 1, 1)->mId));
    EXPECT_FALSE(unit("knight", 0, 4, 4)->canUseAllyAbility(friendNear->mId)); // no ability
}

TEST_F(TargetingTest, EquippingNeedsTheRightSideRoomAndLife) {
    Entity* knight = unit("knight", 0, 2, 2);
    Entity* enemy = unit("knight", 1, 3, 2);
    Entity* crystal = at(0, 2);
    Entity* sword = tile("sword", 0, 0);
    Entity* axe = tile("axe", 0, 1);
    Entity* salve = tile("salve", 0, 2);
    Entity* curse = tile("curse", 0, 3);
    Entity* elixir = tile("elixir", 0, 4);
    Entity* recruit = tile("knight", 0, 5);
    EXPECT_TRUE(sword->canEquip(knight));
    EXPECT_FALSE(sword->canEquip(enemy));
    EXPECT_FALSE(sword->canEquip(crystal)); // not equippable
    EXPECT_FALSE(sword->canEquip(nullptr));
    EXPECT_FALSE(recruit->canEquip(knight)); // not an item
    EXPECT_FALSE(salve->canEquip(knight));   // needs a damaged ally
    knight->mHealth = 900;
    EXPECT_TRUE(salve->canEquip(knight));
    EXPECT_TRUE(curse->canEquip(enemy));
    EXPECT_FALSE(curse->canEquip(knight));

    // Room: a second sword, or another weapon, needs Replace or Multi.
    carry(knight, "sword");
    EXPECT_FALSE(sword->canEquip(knight));
    EXPECT_TRUE(axe->canEquip(knight));
    Entity* other = unit("knight", 0, 2, 3);
    carry(other, "axe");
    EXPECT_FALSE(sword->canEquip(other));
    EXPECT_TRUE(axe->canEquip(other));

    // The fallen take only what revives.
    Entity* fallen = unit("knight", 0, 1, 3, cStateKnockedOut);
    EXPECT_FALSE(sword->canEquip(fallen));
    EXPECT_TRUE(elixir->canEquip(fallen));
}

TEST_F(TargetingTest, DeploySquares) {
    Entity* recruit = tile("knight", 0, 0);
    EXPECT_TRUE(recruit->canDeployAt(GridSlot(0, 0)));
    EXPECT_TRUE(recruit->canDeployAt(GridSlot(1, 4)));
    EXPECT_FALSE(recruit->canDeployAt(GridSlot(2, 0)));
    EXPECT_FALSE(recruit->canDeployAt(GridSlot(6, 0)));
    EXPECT_FALSE(recruit->canDeployAt(GridSlot(0, 2))); // our living crystal
    unit("knight", 1, 1, 1, cStateKnockedOut);
    EXPECT_TRUE(recruit->canDeployAt(GridSlot(1, 1)));
    unit("knight", 0, 1, 0);
    EXPECT_FALSE(recruit->canDeployAt(GridSlot(1, 0)));
    unit("wall", 0, 0, 0);
    EXPECT_TRUE(recruit->canDeployAt(GridSlot(0, 0)));

    // Player 1 deploys in the mirrored columns.
    mGame->mCurrentPlayer = 1;
    Entity* theirs = tile("knight", 1, 0);
    EXPECT_TRUE(theirs->canDeployAt(GridSlot(6, 0)));
    EXPECT_TRUE(theirs->canDeployAt(GridSlot(5, 4)));
    EXPECT_FALSE(theirs->canDeployAt(GridSlot(1, 4)));
    mGame->mCurrentPlayer = 0;

    // A totem goes onto any unit standing on the board but a crystal.
    Entity* totem = tile("totem", 0, 1);
    EXPECT_TRUE(totem->canDeployAt(GridSlot(1, 0)));
    unit("knight", 1, 4, 1);
    EXPECT_TRUE(totem->canDeployAt(GridSlot(4, 1)));
    EXPECT_FALSE(totem->canDeployAt(GridSlot(0, 2)));

    // A beacon beside one of our crystals, within grid distance 1.
    Entity* beacon = tile("beacon", 0, 2);
    EXPECT_TRUE(beacon->canDeployAt(GridSlot(0, 3)));
    EXPECT_FALSE(beacon->canDeployAt(GridSlot(1, 3))); // diagonal
    EXPECT_FALSE(beacon->canDeployAt(GridSlot(5, 3))); // beside theirs
    EXPECT_FALSE(beacon->canDeployAt(GridSlot(3, 3)));
}

TEST_F(TargetingTest, PowerTargets) {
    Entity* storm = tile("storm", 0, 0);
    Entity* smite = tile("smite", 0, 1);
    EXPECT_TRUE(storm->canCastPowerAt(GridSlot(3, 3)));
    EXPECT_TRUE(smite->canCastPowerAt(GridSlot(6, 2)));  // their crystal
    EXPECT_FALSE(smite->canCastPowerAt(GridSlot(0, 2))); // ours
    EXPECT_FALSE(smite->canCastPowerAt(GridSlot(3, 3))); // nobody
    Entity* enemy = unit("knight", 1, 3, 1);
    EXPECT_FALSE(smite->canCastPowerAt(enemy->mSlot)); // not a crystal
    carry(enemy, "spottingBuff");
    EXPECT_TRUE(smite->canCastPowerAt(enemy->mSlot)); // spotted
    enemy->mState = cStateKnockedOut;
    EXPECT_FALSE(smite->canCastPowerAt(enemy->mSlot)); // the living only
}

TEST_F(TargetingTest, AttackHighlightKinds) {
    Entity* healthy = unit("knight", 1, 3, 0);
    Entity* weak = unit("knight", 1, 3, 2);
    weak->mHealth = 400;
    Entity* corpse = unit("knight", 1, 3, 4, cStateKnockedOut);
    corpse->mHealth = 0;
    struct Row {
        const char* attacker;
        Entity* target;
        int32_t kind;
    };
    const Row rows[] = {
        {"knight", healthy, 0},     {"cutter", healthy, 1},   {"cutter", weak, 0},
        {"headsman", weak, 1},      {"headsman", healthy, 0}, {"bursting", corpse, 1},
        {"necromancer", corpse, 1}, {"knight", corpse, 0},
    };
    for (const Row& row : rows) {
        Entity* attacker = unit(row.attacker, 0, 2, row.target->mSlot.y);
        EXPECT_EQ(attacker->getAttackHighlightKind(row.target), row.kind)
            << row.attacker << " on " << row.target->mSlot.y;
        board()->removeEntity(attacker->mId);
    }
    Entity* lancer = unit("lancer", 0, 0, 0);
    EXPECT_EQ(lancer->getAttackHighlightKind(healthy), 4); // beyond range, within intercept
    Entity* scout = unit("scout", 0, 0, 3);
    Entity* spotted = unit("knight", 1, 3, 3);
    EXPECT_EQ(scout->getAttackHighlightKind(spotted), 0);
    carry(spotted, "spottingBuff");
    EXPECT_EQ(scout->getAttackHighlightKind(spotted), 4);
}
