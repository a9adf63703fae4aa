#include "ProtoTestSupport.h"

#include "content/protos/ImpactType.h"

#include <string>

namespace {

ProtoAttackInfo readAttack(std::string_view attributes) {
    ParsedXml xml("<AttackInfo " + std::string(attributes) + "/>");
    ProtoAttackInfo info;
    EXPECT_TRUE(info.load(xml.root));
    return info;
}

} // namespace

TEST_F(ProtoTest, AttackInfoDefaults) {
    const ProtoAttackInfo info = readAttack("");
    EXPECT_FLOAT_EQ(info.mMeleeDamageMultiplier, 1.0f);
    EXPECT_EQ(info.mMeleeAnim, -1);
    EXPECT_TRUE(info.mPiercesPast);
    EXPECT_FALSE(info.mIgnoresBlockers);
    EXPECT_FLOAT_EQ(info.mChainFalloff, 1.0f);
    EXPECT_FLOAT_EQ(info.mAOEDamageConservation, 1.0f);
    EXPECT_EQ(info.mAttachProto, -1);
    EXPECT_FLOAT_EQ(info.mBackstabMultiplier, 0.0f);
    EXPECT_FALSE(ProtoAttackInfo().load(nullptr));
}

TEST_F(ProtoTest, AttackInfoKinds) {
    // Presence keys count the attribute, not its value.
    EXPECT_TRUE(readAttack(R"(piercesPast="false")").mPiercesPast);
    EXPECT_TRUE(readAttack(R"(ignoresBlockers="false")").mIgnoresBlockers);
    // Boolean keys take a boolean word in any case; other text leaves them.
    EXPECT_FALSE(readAttack(R"(AOEFriendlyFire="yes")").mAOEFriendlyFire);
    EXPECT_TRUE(readAttack(R"(AOEFriendlyFire="TRUE")").mAOEFriendlyFire);
    EXPECT_TRUE(readAttack(R"(AOEOnlyAtRange="1")").mAOEOnlyAtRange);
    // Anim keys take state names in any case.
    EXPECT_EQ(readAttack(R"(meleeAnim="attackmelee" rangedAnim="Shoot")").mMeleeAnim, 11);
    EXPECT_EQ(readAttack(R"(rangedAnim="Shoot")").mRangedAnim, -1);
    // Numbers, texts, unknown and repeated keys.
    const ProtoAttackInfo info = readAttack(
        R"(knockback="2" leechPercentage="0.25" DestroyInventoryClass="Armor" Knockback="9" unknown="1" knockback="3")");
    EXPECT_EQ(info.mKnockback, 3);
    EXPECT_FLOAT_EQ(info.mLeechPercentage, 0.25f);
    EXPECT_EQ(info.mDestroyInventoryClass, "Armor");
}

TEST_F(ProtoTest, AttackInfoProtoReference) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="witch"><Type>unit</Type><AttackInfo AttachProto="weakenBuff"/></entity>
        <entity name="weakenBuff"><Type>buff</Type></entity></Database>)"));
    EXPECT_EQ(Database::getProto(0)->mAttackInfo->mAttachProto, 1);
}

TEST(ImpactTypeTest, NamesIgnoreCase) {
    const struct {
        const char* name;
        int32_t type;
    } cases[] = {
        {"Impact", 0},       {"IMPACTBIG", 1},       {"impactmagic", 2}, {"ImpactMagicBig", 3},
        {"ImpactRanged", 4}, {"impactrangedbig", 5}, {"ImpactBig2", -1}, {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(impactTypeFromName(c.name), c.type) << c.name;
}
