#include "BoardTestSupport.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"

namespace {

class EntityEquipmentTest : public BoardRulesTest {
protected:
    void TearDown() override {
        AchievementTracker::popScope(true);
        BoardRulesTest::TearDown();
    }
    Graveyard* graveyard(int32_t player) const { return mGame->getPlayer(player)->mGraveyard; }
    bool buried(int32_t itemId, int32_t player = 0) const {
        const std::vector<int32_t>& slots = graveyard(player)->getSlots();
        return std::find(slots.begin(), slots.end(), itemId) != slots.end();
    }
};

} // namespace

TEST_F(EntityEquipmentTest, RaisingMaxHealthRaisesHealthAndIsRecorded) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    CandidateAction* equipping = action(cActionEquip, -1);
    const int32_t vigor = equipNew(knight, "vigor", 0, equipping);
    EXPECT_EQ(knight->getMaxHealth(), 600);
    EXPECT_EQ(knight->mHealth, 600);
    EXPECT_EQ(entity(vigor)->mState, cStateEquipped);
    EXPECT_EQ(entity(vigor)->mGrid, knight->mInventory);

    ASSERT_EQ(equipping->mResults.size(), 1u);
    const ActionResultInfo* result = equipping->mResults[0];
    EXPECT_EQ(result->mEntityID, knight->mId);
    EXPECT_EQ(result->mInitialHealthFraction, 1.0f);
    EXPECT_EQ(result->mHealthChange, 100);
    EXPECT_TRUE(result->mMaxHealthChanged);
    EXPECT_TRUE(result->mFinalFlags[ActionResultInfo::cFlagEquipped]);
    EXPECT_EQ(result->mEquippedGearProtoID, proto("vigor"));
}

TEST_F(EntityEquipmentTest, RoomRulesOfGearAndBuffs) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    const int32_t sword = equipNew(knight, "sword");
    // Same class, no ReplaceEquip or MultiEquip: refused, the axe stays out.
    const int32_t axe = equipNew(knight, "axe");
    EXPECT_FALSE(carries(knight, axe));
    EXPECT_EQ(entity(axe)->mState, -1);
    // Same proto with MultiEquip: both are carried.
    const int32_t ring1 = equipNew(knight, "ring");
    const int32_t ring2 = equipNew(knight, "ring");
    EXPECT_TRUE(carries(knight, ring1) && carries(knight, ring2));
    // ReplaceEquip takes the first of its own proto off, not the sword.
    const int32_t great1 = equipNew(knight, "greatsword");
    const int32_t great2 = equipNew(knight, "greatsword");
    EXPECT_TRUE(carries(knight, sword));
    EXPECT_FALSE(carries(knight, great1));
    EXPECT_TRUE(buried(great1));
    EXPECT_EQ(entity(great1)->mState, cStateDead);
    EXPECT_TRUE(carries(knight, great2));
    EXPECT_EQ(knight->getPower(nullptr), 250); // 100 + 50 + 10 + 10 + 80

    // An enemy's buff, a friendly one on an enemy, and a unit that takes none.
    Entity* foe = unitAt("knight", 1, GridSlot(8, 0));
    EXPECT_FALSE(carries(foe, equipNew(foe, "vigor", 0)));
    EXPECT_TRUE(carries(foe, equipNew(foe, "sunder", 0)));
    EXPECT_FALSE(carries(knight, equipNew(knight, "sunder", 0)));
    Entity* crystal = unitAt("crystal", 0, GridSlot(1, 1));
    EXPECT_TRUE(carries(crystal, equipNew(crystal, "vigor")));
    EXPECT_FALSE(entity(make("sword"))->canEquip(entity(make("vigor"))));
}

TEST_F(EntityEquipmentTest, AFullEquipmentGridTakesNothingMore) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    for (int i = 0; i < Entity::cInventoryWidth; ++i)
        equipNew(knight, "ring");
    const int32_t extra = equipNew(knight, "ring");
    EXPECT_EQ(knight->mInventory->getEntityCount(), Entity::cInventoryWidth);
    EXPECT_EQ(entity(extra)->mGrid, nullptr);
    EXPECT_EQ(entity(extra)->mState, -1);
}

TEST_F(EntityEquipmentTest, AUseBuffActsAtOnceAndIsConsumed) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    knight->mHealth = 200;
    knight->mCharge = 0;
    const int32_t potion = equipNew(knight, "potion");
    EXPECT_EQ(knight->mHealth, 400);
    EXPECT_EQ(knight->mCharge, 1);
    EXPECT_FALSE(carries(knight, potion));
    EXPECT_TRUE(buried(potion));
    EXPECT_EQ(entity(potion)->mState, cStateDead);

    // On a knocked-out unit it revives with the potion's multiplier.
    Entity* fallen = unitAt("knight", 0, GridSlot(0, 1));
    fallen->setHealth(0);
    ASSERT_EQ(fallen->mState, cStateKnockedOut);
    equipNew(fallen, "potion");
    EXPECT_EQ(fallen->mHealth, 100); // 200 x 0.5
    EXPECT_EQ(fallen->mState, cStateDeployedToGameBoard);
}

TEST_F(EntityEquipmentTest, RemovalClampsHealthOnlyForItemsWithHitpoints) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    const int32_t plate = equipNew(knight, "plate");
    ASSERT_EQ(knight->mHealth, 600);
    CandidateAction* current = executing(cActionAttack, -1);
    EXPECT_TRUE(knight->removeEquippedItem(plate));
    EXPECT_EQ(knight->mHealth, 500);
    ASSERT_NE(current->findResult(knight->mId), nullptr);
    EXPECT_EQ(current->findResult(knight->mId)->mDestroyedGearProtoID, proto("plate"));
    EXPECT_FALSE(knight->removeEquippedItem(plate)); // no longer carried

    const int32_t vigor = equipNew(knight, "vigor");
    ASSERT_EQ(knight->mHealth, 600);
    EXPECT_TRUE(knight->removeEquippedItem(vigor));
    EXPECT_EQ(knight->mHealth, 600); // above the max until the next change
    EXPECT_EQ(knight->getMaxHealth(), 500);
    knight->addHealth(-5);
    EXPECT_EQ(knight->mHealth, 500);
}

TEST_F(EntityEquipmentTest, AConsumingBuffTakesEveryOtherOfItsProtoFromItsOwnersUnits) {
    Entity* first = unitAt("knight", 0, GridSlot(0, 0));
    Entity* second = unitAt("knight", 0, GridSlot(0, 1));
    Entity* bystander = unitAt("knight", 0, GridSlot(0, 2));
    Entity* foe = unitAt("knight", 1, GridSlot(8, 0));
    const int32_t frenzy1 = equipNew(first, "frenzy");
    const int32_t frenzy2 = equipNew(second, "frenzy");
    const int32_t foeFrenzy = make("frenzy", 1);
    foe->equip(foeFrenzy, nullptr);
    ASSERT_TRUE(carries(foe, foeFrenzy));

    CandidateAction* current = executing(cActionAttack, -1);
    EXPECT_TRUE(first->removeEquippedItem(frenzy1));
    EXPECT_FALSE(carries(second, frenzy2));
    EXPECT_TRUE(carries(foe, foeFrenzy));
    ASSERT_NE(current->findResult(second->mId), nullptr);
    EXPECT_EQ(current->findResult(second->mId)->mDestroyedGearProtoID, proto("frenzy"));
    EXPECT_EQ(current->findResult(bystander->mId), nullptr);
    EXPECT_EQ(current->findResult(foe->mId), nullptr);
}

TEST_F(EntityEquipmentTest, ShieldsAddedByABuffCountOtherItemsOnce) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    equipNew(knight, "buckler");
    ASSERT_EQ(knight->getShields(), 100);
    equipNew(knight, "ward");
    EXPECT_EQ(knight->mShields, 200);
    EXPECT_EQ(knight->getShields(), 300);
    equipNew(knight, "potion"); // a buff without shields changes none
    EXPECT_EQ(knight->getShields(), 300);
}

TEST_F(EntityEquipmentTest, UnequipEffectsAndQueries) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    const int32_t sunder = equipNew(knight, "sunder", 1);
    const int32_t sword = equipNew(knight, "sword");
    ASSERT_TRUE(knight->hasEquippedProto(proto("sunder")));
    equipNew(knight, "purge");
    EXPECT_FALSE(carries(knight, sunder));
    EXPECT_TRUE(buried(sunder, 1));
    EXPECT_FALSE(knight->hasEquippedProto(proto("purge")));

    EXPECT_EQ(knight->findEquippedByClass("Weapon"), proto("sword"));
    EXPECT_EQ(knight->findEquippedByClass("Armor"), -1);
    EXPECT_EQ(knight->getFirstGearProto(), proto("sword"));
    EXPECT_FALSE(knight->hasBloodrageBuff());
    const int32_t rage = equipNew(knight, "bloodrageBuff");
    // Buffs without a deploy relation go on any unit.
    EXPECT_EQ(knight->getBloodrageBuffItem(), entity(rage));
    EXPECT_TRUE(knight->resetEquipment());
    EXPECT_FALSE(carries(knight, sword));
    EXPECT_FALSE(knight->resetEquipment());
}

TEST_F(EntityEquipmentTest, EndOfTurnBuffsLeaveByOwnerAndConsumeType) {
    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    Entity* other = unitAt("knight", 0, GridSlot(0, 1));
    const int32_t own = equipNew(knight, "bloodrageBuff");      // EndOfTurn, player 0
    const int32_t mine = equipNew(knight, "spottingBuff", 0);   // EndOfEnemyTurn, player 0
    const int32_t spotted = equipNew(other, "spottingBuff", 1); // EndOfEnemyTurn, player 1
    EXPECT_TRUE(knight->consumeEndOfTurnBuff(0));
    EXPECT_FALSE(carries(knight, own));
    EXPECT_FALSE(knight->consumeEndOfTurnBuff(0));
    EXPECT_TRUE(carries(knight, mine));
    EXPECT_TRUE(other->consumeEndOfTurnBuff(0));
    EXPECT_FALSE(carries(other, spotted));
    EXPECT_TRUE(knight->consumeEndOfTurnBuff(1));
    EXPECT_FALSE(carries(knight, mine));
}

TEST_F(EntityEquipmentTest, LinkedAttachmentsStopAtTheirDepthLimit) {
    Entity* sapper = unitAt("sapper", 0, GridSlot(0, 0));
    Entity* ally = unitAt("knight", 0, GridSlot(1, 0));
    sapper->mOngoingTargetEntityID = ally->mId;
    testing::internal::CaptureStdout();
    equipNew(sapper, "chain");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("nested too deeply"), std::string::npos);
    // The first chain and eight linked ones on the sapper, eight on its target,
    // each made by the chain before it.
    EXPECT_EQ(sapper->mInventory->getEntityCount(), 9);
    EXPECT_EQ(ally->mInventory->getEntityCount(), 8);
    const Entity* linked = sapper->mInventory->getEntityAtIndex(1);
    EXPECT_EQ(linked->mCreatorEntityID, sapper->mInventory->getEntityIdAtIndex(0));
}

TEST_F(EntityEquipmentTest, TheLocalPlayersFullyEquippedKnightIsAnAchievement) {
    mGame->mFlags |= cGameLocal;
    Entity* foe = unitAt("knight", 1, GridSlot(8, 0));
    for (const char* gear : {"weapon", "armor", "resistHelm"})
        equipNew(foe, gear, 1);
    EXPECT_TRUE(AchievementTracker::pendingRecords().empty());

    Entity* knight = unitAt("knight", 0, GridSlot(0, 0));
    equipNew(knight, "weapon");
    equipNew(knight, "armor");
    EXPECT_TRUE(AchievementTracker::pendingRecords().empty());
    equipNew(knight, "resistHelm");
    ASSERT_EQ(AchievementTracker::pendingRecords().size(), 1u);
    EXPECT_EQ(AchievementTracker::pendingRecords()[0].mId, cAchievementFullyEquipKnight);
}
