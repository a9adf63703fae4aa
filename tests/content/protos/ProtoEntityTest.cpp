#include "ProtoTestSupport.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "content/protos/ImpactType.h"

#include <climits>
#include <string>

namespace {

const std::string cFixtures = std::string(TARNWICK_FIXTURES_DIR) + "/content/protos";

std::string entity(std::string_view children) {
    return "<entity name=\"p\">" + std::string(children) + "</entity>";
}

} // namespace

TEST_F(ProtoTest, TypeDecidesAttackPart) {
    const struct {
        const char* text;
        int32_t type;
        bool attack;
    } cases[] = {
        {"unit", cEntityUnit, true},
        {"gear", cEntityGear, false},
        {"buff", cEntityBuff, false},
        {"power", cEntityPower, true},
        {"projectile", cEntityProjectile, false},
        {"effect", cEntityEffect, false},
        {"Unit", -1, false},
        {"", -1, false},
    };
    for (const auto& c : cases) {
        ProtoEntity* proto = loadEntity(entity("<Type>" + std::string(c.text) + "</Type>"));
        ASSERT_NE(proto, nullptr);
        EXPECT_EQ(proto->mType, c.type) << c.text;
        EXPECT_EQ(proto->mAttackInfo != nullptr, c.attack) << c.text;
    }
}

TEST_F(ProtoTest, DefaultsWithoutChildren) {
    ProtoEntity* proto = loadEntity("<entity name=\"bare\"/>");
    ASSERT_NE(proto, nullptr);
    EXPECT_EQ(proto->mType, -1);
    EXPECT_EQ(proto->mDamageType, -1);
    EXPECT_EQ(proto->mDeployCost, 1);
    EXPECT_FLOAT_EQ(proto->mTeamBonus, 1.0f);
    EXPECT_FLOAT_EQ(proto->mReviveHPMultiplier, 0.2f);
    EXPECT_FLOAT_EQ(proto->mBigAttackMultiplierThreshold, 2.5f);
    EXPECT_FLOAT_EQ(proto->mAnchorPoint.x, 0.5f);
    EXPECT_TRUE(proto->mSelectable && proto->mHealable && proto->mKnockbackable);
    EXPECT_TRUE(proto->mCanTeleportWith && proto->mEquippable && proto->mCanStomp);
    EXPECT_TRUE(proto->mAllowFullHealthLinkedTarget && proto->mStopOnMove);
    EXPECT_FALSE(proto->mVictoryUnit);
    EXPECT_EQ(proto->mBlendAnimFromEquip, 0);
    EXPECT_EQ(proto->mEquipAnim, -1);
    EXPECT_EQ(proto->mAttackInfo, nullptr);
    // No strings file entry: every localised text is empty, short help too.
    EXPECT_EQ(proto->mShortHelp, "");
    EXPECT_EQ(proto->mDisplayName, "");
}

TEST_F(ProtoTest, DamageTypeWordsAreExact) {
    const struct {
        const char* text;
        int32_t damage;
    } cases[] = {
        {"physical", cDamagePhysical}, {"Magic", cDamageMagic}, {"Physical", -1}, {"magic", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(
            loadEntity(entity("<DamageType>" + std::string(c.text) + "</DamageType>"))->mDamageType,
            c.damage)
            << c.text;
}

TEST_F(ProtoTest, NumbersAndTexts) {
    ProtoEntity* proto = loadEntity(entity(R"(
        <Hitpoints>12px</Hitpoints><Power></Power><Defense>99999999999</Defense>
        <Resist>-99999999999</Resist><MoveRange> 3</MoveRange>
        <RoleBonus>0.75</RoleBonus><PremiumBonus>abc</PremiumBonus>
        <Art>a.png</Art><Art2>b.png</Art2><Class>Melee</Class>
        <Power>30</Power>)"));
    EXPECT_EQ(proto->mHitPoints, 12);
    EXPECT_EQ(proto->mPower, 30) << "a key met twice keeps the later value";
    EXPECT_EQ(proto->mDefense, INT32_MAX);
    EXPECT_EQ(proto->mResist, INT32_MIN);
    EXPECT_EQ(proto->mMoveRange, 3);
    EXPECT_FLOAT_EQ(proto->mRoleBonus, 0.75f);
    EXPECT_FLOAT_EQ(proto->mPremiumBonus, 0.0f);
    EXPECT_EQ(proto->mArt, "a.png");
    EXPECT_EQ(proto->mArt2, "b.png");
    EXPECT_EQ(proto->mClassName, "Melee");
}

TEST_F(ProtoTest, PresenceFlags) {
    ProtoEntity* proto = loadEntity(entity(R"(
        <NotSelectable/><VictoryUnit>false</VictoryUnit><CannotStomp/><APForStomp/>
        <DeployEffect alternateAnimVersusCrystal="0">Effects/Smoke</DeployEffect>)"));
    EXPECT_FALSE(proto->mSelectable);
    EXPECT_TRUE(proto->mVictoryUnit) << "presence counts, not the text";
    EXPECT_FALSE(proto->mCanStomp);
    EXPECT_TRUE(proto->mAPForStomp);
    EXPECT_TRUE(proto->mAlternateAnimVersusCrystal);
    EXPECT_EQ(proto->mDeployEffect, "Effects/Smoke");
    EXPECT_TRUE(proto->mHealable);
}

TEST_F(ProtoTest, CanHealAttributes) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="healer"><CanHeal AllowFullHealthLinkedTarget="false" AttachHealProto="blessing"
            LinkedFullHealthAttachProtoID="nothing" bindingHeal="0.25" allowCrystalHealing="TRUE"
            HealStructuresOnly="maybe"/></entity>
        <entity name="plainHealer"><CanHeal/></entity>
        <entity name="blessing"/></Database>)"));
    const ProtoEntity* healer = Database::getProto(0);
    EXPECT_TRUE(healer->mCanHeal);
    EXPECT_FALSE(healer->mAllowFullHealthLinkedTarget);
    EXPECT_EQ(healer->mHealAttachProto, 2);
    EXPECT_EQ(healer->mLinkedFullHealthAttachProto, -1);
    EXPECT_FLOAT_EQ(healer->mBindingHeal, 0.25f);
    EXPECT_TRUE(healer->mAllowCrystalHealing);
    EXPECT_FALSE(healer->mHealStructuresOnly) << "not a boolean: unchanged";

    const ProtoEntity* plain = Database::getProto(1);
    EXPECT_TRUE(plain->mCanHeal);
    EXPECT_TRUE(plain->mAllowFullHealthLinkedTarget);
}

TEST_F(ProtoTest, ReviveOngoingAutoAttachAndRanges) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="p">
          <CanRevive hpMultiplier="0.5" RespawnRevive="false"/>
          <Ongoing Heal="1" Range="2" StopOnMove="false" LinkArt="link.png" OngoingMultiplier="0.5"/>
          <AutoAttach attachProto="q" endOfOpponentTurn="true"/>
          <BonusRange X="1"/>
          <AnchorPoint y="0.25"/>
          <DeployToEntityState>knockedout</DeployToEntityState>
          <EquipAnim>upgradeweapon</EquipAnim><UnequipAnim>Nope</UnequipAnim>
          <BlendAnimFromEquip>Idle2</BlendAnimFromEquip>
        </entity>
        <entity name="q"><AutoAttach endOfMyTurn="true"/></entity></Database>)"));
    const ProtoEntity* p = Database::getProto(0);
    EXPECT_TRUE(p->mCanRevive);
    EXPECT_FLOAT_EQ(p->mReviveHPMultiplier, 0.5f);
    EXPECT_TRUE(p->mRespawnRevive);
    EXPECT_TRUE(p->mOngoingHeal);
    EXPECT_FALSE(p->mOngoingAttack);
    EXPECT_EQ(p->mOngoingRange, 2);
    EXPECT_FALSE(p->mStopOnMove);
    EXPECT_TRUE(p->mStopOnDamage);
    EXPECT_EQ(p->mLinkArt, "link.png");
    EXPECT_FLOAT_EQ(p->mOngoingMultiplier, 0.5f);
    EXPECT_EQ(p->mAutoAttachProto, 1);
    EXPECT_TRUE(p->mAutoAttachAtEndOfOpponentTurn);
    EXPECT_FALSE(p->mAutoAttachAtEndOfMyTurn);
    EXPECT_EQ(p->mBonusRangeX, 1);
    EXPECT_EQ(p->mBonusRangeY, 0);
    EXPECT_FLOAT_EQ(p->mAnchorPoint.x, 0.5f);
    EXPECT_FLOAT_EQ(p->mAnchorPoint.y, 0.25f);
    EXPECT_EQ(p->mDeployToEntityState, 9);
    EXPECT_EQ(p->mEquipAnim, 26);
    EXPECT_EQ(p->mUnequipAnim, -1);
    EXPECT_EQ(p->mBlendAnimFromEquip, 37);

    const ProtoEntity* q = Database::getProto(1);
    EXPECT_EQ(q->mAutoAttachProto, -1) << "no attachProto attribute";
    EXPECT_TRUE(q->mAutoAttachAtEndOfMyTurn);
}

TEST_F(ProtoTest, EquipCategoriesAreInterned) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="a"><EquipCategory>weapon</EquipCategory></entity>
        <entity name="b"><EquipCategory>armor</EquipCategory></entity>
        <entity name="c"><EquipCategory>weapon</EquipCategory></entity></Database>)"));
    EXPECT_EQ(Database::getProto(0)->mEquipCategory, 0);
    EXPECT_EQ(Database::getProto(1)->mEquipCategory, 1);
    EXPECT_EQ(Database::getProto(2)->mEquipCategory, 0);
}

TEST_F(ProtoTest, EffectOverrides) {
    ProtoEntity* proto = loadEntity(entity(R"(
        <EffectOverride category="impactmagic">Effects/Sparks</EffectOverride>
        <EffectOverride category="ImpactBig" timeOffset="0.5" offsetZ="3" rotate="false"
                        damagedOnly="no">Effects/Boom</EffectOverride>
        <EffectOverride category="ImpactMagic">Effects/Second</EffectOverride>
        <EffectOverride category="Impact2">Effects/Unknown</EffectOverride>)"));
    ASSERT_EQ(proto->mEffectOverrides.size(), 4u);

    EffectOverride found;
    ASSERT_TRUE(proto->findEffectOverride(cImpactMagic, &found));
    EXPECT_EQ(found.mEffectName, "Effects/Sparks") << "the first in document order";
    EXPECT_EQ(found.mImpactType, 2);
    EXPECT_FLOAT_EQ(found.mTimeOffset, 0.0f);
    EXPECT_EQ(found.mOffsetZ, 1);
    EXPECT_TRUE(found.mRotate);
    EXPECT_TRUE(found.mDamagedOnly);

    ASSERT_TRUE(proto->findEffectOverride(cImpactBig, &found));
    EXPECT_FLOAT_EQ(found.mTimeOffset, 0.5f);
    EXPECT_EQ(found.mOffsetZ, 3);
    EXPECT_FALSE(found.mRotate);
    EXPECT_TRUE(found.mDamagedOnly) << "not a boolean: the default stays";

    EXPECT_EQ(proto->mEffectOverrides[3].mImpactType, -1);
    EXPECT_FALSE(proto->findEffectOverride(cImpactRanged, &found));
    EXPECT_FALSE(proto->findEffectOverride(cImpactMagic, nullptr));
}

TEST_F(ProtoTest, AttackInfoWithoutAttackPartIsIgnored) {
    for (const char* children : {"<Type>gear</Type><AttackInfo knockback=\"2\"/>",
                                 "<AttackInfo knockback=\"2\"/><Type>unit</Type>"}) {
        testing::internal::CaptureStdout();
        ProtoEntity* proto = loadEntity(entity(children));
        const std::string output = testing::internal::GetCapturedStdout();
        ASSERT_NE(proto, nullptr) << children;
        EXPECT_EQ(output.rfind("**> ", 0), 0u) << output;
        if (proto->mAttackInfo) {
            EXPECT_EQ(proto->mAttackInfo->mKnockback, 0) << "read before Type: defaults";
        }
    }
    ProtoEntity* unit = loadEntity(entity("<Type>unit</Type><AttackInfo knockback=\"2\"/>"));
    EXPECT_EQ(unit->mAttackInfo->mKnockback, 2);
}

class ProtoPuppetTest : public ProtoTest {
protected:
    void SetUp() override {
        ProtoTest::SetUp();
        setBaseFolder(cFixtures);
    }
    void TearDown() override {
        BConfig::instance().unsetById(cOptPreloadPuppets);
        setBaseFolder({});
        ProtoTest::TearDown();
    }
    static constexpr const char* cPuppetEntity =
        R"(<entity name="knight"><Puppet>Units/Knight<Upgrade>Units/KnightMissing</Upgrade><Upgrade>Units/KnightGold</Upgrade>
        <Upgrade>Units/KnightSilver</Upgrade></Puppet></entity>)";
};

TEST_F(ProtoPuppetTest, UpgradesLoadOnFirstUse) {
    ProtoEntity* proto = loadEntity(cPuppetEntity);
    ASSERT_NE(proto, nullptr);
    EXPECT_EQ(proto->mPuppetHandle, -1);
    EXPECT_EQ(proto->mPuppetName, "Units/Knight");
    EXPECT_EQ(proto->mUpgradePuppetNames,
              (std::vector<std::string>{"Units/KnightMissing", "Units/KnightGold",
                                        "Units/KnightSilver"}));
    EXPECT_EQ(proto->mUpgradePuppetHandles, (std::vector<int32_t>{-1, -1, -1}));
    EXPECT_EQ(PuppetRegistry::puppetCount(), 0);

    EXPECT_EQ(proto->getUpgradePuppetHandle(3), -1);
    EXPECT_EQ(proto->getUpgradePuppetHandle(-1), -1);
    EXPECT_EQ(proto->getUpgradePuppetHandle(2), 0) << "loads the third puppet";
    EXPECT_EQ(proto->getUpgradePuppetHandle(1), 1);
    EXPECT_EQ(proto->getUpgradePuppetHandle(2), 0);
    EXPECT_EQ(proto->getUpgradePuppetHandle(0), -1) << "a missing file stays unloaded";
    EXPECT_EQ(PuppetRegistry::puppetCount(), 2);
}

TEST_F(ProtoPuppetTest, PreloadStopsUpgradesAtFirstFailure) {
    ASSERT_GT(registeredOptionCount(), cOptPreloadPuppets);
    BConfig::instance().reset();
    BConfig::instance().defineById(cOptPreloadPuppets);
    ASSERT_TRUE(BConfig::instance().isSetById(cOptPreloadPuppets));
    ProtoEntity* proto = loadEntity(
        R"(<entity name="knight"><Puppet>Units/Knight<Upgrade>Units/KnightGold</Upgrade><Upgrade>Units/KnightMissing</Upgrade>
        <Upgrade>Units/KnightSilver</Upgrade></Puppet></entity>)");
    ASSERT_NE(proto, nullptr);
    EXPECT_EQ(proto->mPuppetHandle, 0);
    EXPECT_TRUE(proto->mPuppetName.empty());
    EXPECT_TRUE(proto->mUpgradePuppetNames.empty());
    EXPECT_EQ(proto->mUpgradePuppetHandles, (std::vector<int32_t>{1}));
    EXPECT_EQ(PuppetRegistry::puppetCount(), 2) << "the upgrade after the failed one is not read";
}
