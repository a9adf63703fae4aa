#include "ProtoTestSupport.h"

#include "rules/core/EntityState.h"

#include <string>

namespace {

template <class Part> Part readPart(std::string_view element) {
    ParsedXml xml(element);
    Part part;
    EXPECT_TRUE(part.load(xml.root));
    return part;
}

} // namespace

TEST_F(ProtoTest, DeployInfoFlagCombinations) {
    const struct {
        const char* element;
        int32_t kind;
        int32_t relation;
        bool living, dead, damaged, victory, spotOverride, remote;
    } cases[] = {
        {"<DeployInfo/>", -1, 0, true, false, false, false, false, false},
        {"<DeployInfo>DeployZone</DeployInfo>", cDeployToDeployZone, 0, true, false, false, false,
         false, false},
        {R"(<DeployInfo relation="ally" damaged="false">Unit</DeployInfo>)", cDeployToUnit, 1, true,
         false, true, false, false, false},
        {R"(<DeployInfo relation="enemy" victoryUnit="" allowVictoryUnitSpotOverride="">Unit</DeployInfo>)",
         cDeployToUnit, 2, true, false, false, true, true, false},
        {R"(<DeployInfo allowDead="0">GameBoard</DeployInfo>)", cDeployToGameBoard, 0, false, false,
         false, false, false, false},
        {R"(<DeployInfo allowDead="" dead="">Unit</DeployInfo>)", cDeployToUnit, 0, false, true,
         false, false, false, false},
        {R"(<DeployInfo dead="" allowDead="">Unit</DeployInfo>)", cDeployToUnit, 0, false, true,
         false, false, false, false},
        {R"(<DeployInfo TEMP_KX4_structureRemoteDeploy="" relation="Ally">RemoteDeploy</DeployInfo>)",
         cDeployRemote, 0, true, false, false, false, false, true},
        // Words are exact; unknown ones leave the defaults.
        {R"(<DeployInfo relation="foe" Dead="">unit</DeployInfo>)", -1, 0, true, false, false,
         false, false, false},
    };
    for (const auto& c : cases) {
        const DeployInfo info = readPart<DeployInfo>(c.element);
        EXPECT_EQ(info.mTargetKind, c.kind) << c.element;
        EXPECT_EQ(info.mRelation, c.relation) << c.element;
        EXPECT_EQ(info.mLivingTargetsOnly, c.living) << c.element;
        EXPECT_EQ(info.mDeadTargetsOnly, c.dead) << c.element;
        EXPECT_EQ(info.mDamaged, c.damaged) << c.element;
        EXPECT_EQ(info.mVictoryUnit, c.victory) << c.element;
        EXPECT_EQ(info.mAllowVictoryUnitSpotOverride, c.spotOverride) << c.element;
        EXPECT_EQ(info.mStructureRemoteDeploy, c.remote) << c.element;
    }
    EXPECT_FALSE(DeployInfo().load(nullptr));
}

TEST_F(ProtoTest, ProjectileInfo) {
    const ProjectileInfo plain = readPart<ProjectileInfo>("<ProjectileInfo/>");
    EXPECT_EQ(plain.mMoveType, cProjectileDirect);
    EXPECT_EQ(plain.mOrientType, cOrientNone);
    EXPECT_FLOAT_EQ(plain.mSpeed, 10.0f);
    EXPECT_FLOAT_EQ(plain.mAccelerationRate, 0.0f);
    EXPECT_FLOAT_EQ(plain.mSpinSpeed, 0.0f);
    EXPECT_FLOAT_EQ(plain.mArcHeight, 0.0f);
    EXPECT_FALSE(plain.mHideForBigAttack);
    EXPECT_TRUE(plain.mArt.empty() && plain.mPuppet.empty() && plain.mImpactEffectBig.empty());
    EXPECT_FALSE(ProjectileInfo().load(nullptr));

    const ProjectileInfo arrow = readPart<ProjectileInfo>(R"(<ProjectileInfo>
        <Art>a.png</Art><Art2>a2.png</Art2><LaunchArt>l.png</LaunchArt><LaunchArt2>l2</LaunchArt2>
        <Puppet>P</Puppet><ImpactEffect>i</ImpactEffect><ImpactEffectBig>ib</ImpactEffectBig>
        <MoveType>Chain</MoveType><MoveType>arc</MoveType><OrientType>Spin</OrientType>
        <OrientType>none</OrientType><Speed>900</Speed><SpinSpeed>2</SpinSpeed>
        <ArcHeight>60</ArcHeight><HideForBigAttack>false</HideForBigAttack></ProjectileInfo>)");
    EXPECT_EQ(arrow.mMoveType, cProjectileChain) << "words are exact; others leave the value";
    EXPECT_EQ(arrow.mOrientType, cOrientSpin);
    EXPECT_FLOAT_EQ(arrow.mSpeed, 900.0f);
    EXPECT_FLOAT_EQ(arrow.mSpinSpeed, 2.0f);
    EXPECT_FLOAT_EQ(arrow.mArcHeight, 60.0f);
    EXPECT_TRUE(arrow.mHideForBigAttack);
    EXPECT_EQ(arrow.mArt + arrow.mArt2 + arrow.mLaunchArt + arrow.mLaunchArt2,
              "a.pnga2.pngl.pngl2");
    EXPECT_EQ(arrow.mPuppet + arrow.mImpactEffect + arrow.mImpactEffectBig, "Piib");
}

TEST_F(ProtoTest, ProjectileNeedsFiniteFlightTime) {
    const struct {
        const char* children;
        float speed;
        bool warned;
    } cases[] = {
        {"<Speed>0</Speed>", 10.0f, true},
        {"<Speed>-5</Speed><AccelerationRate>0</AccelerationRate>", 10.0f, true},
        {"<Speed>nan</Speed>", 10.0f, true},
        {"<Speed>0</Speed><AccelerationRate>-1</AccelerationRate>", 10.0f, true},
        // With acceleration the speed is not used.
        {"<Speed>0</Speed><AccelerationRate>100</AccelerationRate>", 0.0f, false},
        {"<Speed>0.5</Speed>", 0.5f, false},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        const ProjectileInfo info = readPart<ProjectileInfo>(
            "<ProjectileInfo>" + std::string(c.children) + "</ProjectileInfo>");
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_FLOAT_EQ(info.mSpeed, c.speed) << c.children;
        EXPECT_EQ(output.rfind("**> ", 0) == 0, c.warned) << c.children << ": " << output;
    }
}

TEST_F(ProtoTest, ProjectileFlightTime) {
    const struct {
        int32_t move;
        int32_t orient;
        float accel;
        float distance;
        float seconds;
    } cases[] = {
        {cProjectileDirect, cOrientNone, 0.0f, 300.0f, 0.75f},
        {cProjectileArc, cOrientDirection, 0.0f, 300.0f, 0.75f},
        // A spinning arc flies 2 x 60 whatever the distance.
        {cProjectileArc, cOrientSpin, 0.0f, 300.0f, 0.3f},
        {cProjectileArc, cOrientSpin, 0.0f, 20.0f, 0.3f},
        {cProjectileDirect, cOrientSpin, 0.0f, 20.0f, 0.05f},
        // From rest: distance = a t^2 / 2.
        {cProjectileDirect, cOrientNone, 1000.0f, 500.0f, 1.0f},
        {cProjectileArc, cOrientSpin, 240.0f, 900.0f, 1.0f},
    };
    for (const auto& c : cases) {
        ProjectileInfo info;
        info.mSpeed = 400.0f;
        info.mArcHeight = 60.0f;
        info.mMoveType = c.move;
        info.mOrientType = c.orient;
        info.mAccelerationRate = c.accel;
        EXPECT_FLOAT_EQ(info.flightTime(c.distance), c.seconds)
            << c.move << " " << c.orient << " " << c.accel << " " << c.distance;
    }
}

TEST_F(ProtoTest, AtlasHelperIconAndAllyAbility) {
    const AtlasInfo atlas = readPart<AtlasInfo>(
        R"(<Atlas cellDimX="256" cellsPerRow="4" other="9">Fx/Train.png</Atlas>)");
    EXPECT_EQ(atlas.mImage, "Fx/Train.png");
    EXPECT_EQ(atlas.mCellDimX, 256);
    EXPECT_EQ(atlas.mCellDimY, 1);
    EXPECT_EQ(atlas.mCellsPerRow, 4);
    EXPECT_EQ(atlas.mCellsPerColumn, 1);

    const HelperIconInfo icon = readPart<HelperIconInfo>(R"(<HelperIconInfo offsetY="34"/>)");
    EXPECT_FLOAT_EQ(icon.mOffset.x, 0.0f);
    EXPECT_FLOAT_EQ(icon.mOffset.y, 34.0f);
    EXPECT_FLOAT_EQ(icon.mScale, 1.0f);
    EXPECT_FLOAT_EQ(readPart<HelperIconInfo>(R"(<HelperIconInfo scale="0.5"/>)").mScale, 0.5f);
    EXPECT_FALSE(AtlasInfo().load(nullptr));
    EXPECT_FALSE(HelperIconInfo().load(nullptr));

    ASSERT_TRUE(loadDatabase(R"(<Database><entity name="rage"/></Database>)"));
    const AllyAbilityInfo ability = readPart<AllyAbilityInfo>(R"(<AllyAbility>
        <Cost>2</Cost><RequiredTargetState>knockedout</RequiredTargetState>
        <AttachProto>rage</AttachProto><SwapWithAlly>false</SwapWithAlly>
        <RangeModifier>-1</RangeModifier><cost>9</cost></AllyAbility>)");
    EXPECT_EQ(ability.mCost, 2);
    EXPECT_EQ(ability.mRequiredTargetState, cStateKnockedOut);
    EXPECT_EQ(ability.mAttachProto, 0);
    EXPECT_TRUE(ability.mSwapWithAlly);
    EXPECT_EQ(ability.mRangeModifier, -1);
    const AllyAbilityInfo plain = readPart<AllyAbilityInfo>("<AllyAbility/>");
    EXPECT_EQ(plain.mRequiredTargetState, -1);
    EXPECT_EQ(plain.mAttachProto, -1);
    EXPECT_FALSE(plain.mSwapWithAlly);
    EXPECT_FALSE(AllyAbilityInfo().load(nullptr));
}

TEST_F(ProtoTest, ProtoOwnsItsParts) {
    testing::internal::CaptureStdout();
    ProtoEntity* proto = loadEntity(R"(<entity name="p"><Type>gear</Type>
        <BuffInfo><ConsumeType>Use</ConsumeType></BuffInfo>
        <BuffInfo><Effect type="heal" target="Hitpoints" relativity="absolute">300</Effect>
                  <Effect type="nonsense"/></BuffInfo>
        <DeployInfo relation="ally">Unit</DeployInfo><AllyAbility/><ProjectileInfo/>
        <HelperIconInfo/><Atlas>a.png</Atlas></entity>)");
    testing::internal::GetCapturedStdout();
    ASSERT_NE(proto, nullptr);
    ASSERT_NE(proto->mBuffInfo, nullptr);
    EXPECT_EQ(proto->mBuffInfo->mConsumeType, -1) << "a second BuffInfo replaces the first";
    EXPECT_EQ(proto->mBuffInfo->mEffects.size(), 1u);
    ASSERT_NE(proto->mDeployInfo, nullptr);
    EXPECT_EQ(proto->mDeployInfo->mRelation, cDeployRelationAlly);
    EXPECT_NE(proto->mAllyAbility, nullptr);
    EXPECT_NE(proto->mProjectileInfo, nullptr);
    EXPECT_NE(proto->mHelperIconInfo, nullptr);
    ASSERT_NE(proto->mAtlas, nullptr);
    EXPECT_EQ(proto->mAtlas->mImage, "a.png");

    ProtoEntity* bare = loadEntity(R"(<entity name="q"><Type>unit</Type></entity>)");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->mBuffInfo, nullptr);
    EXPECT_EQ(bare->mDeployInfo, nullptr);
    EXPECT_EQ(bare->mAllyAbility, nullptr);
    EXPECT_EQ(bare->mProjectileInfo, nullptr);
    EXPECT_EQ(bare->mHelperIconInfo, nullptr);
    EXPECT_EQ(bare->mAtlas, nullptr);
}
