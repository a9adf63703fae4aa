#include "SettingsTestSupport.h"

#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/protos/AuraType.h"

namespace {

const std::string cFixtures = std::string(TARNWICK_FIXTURES_DIR) + "/content/settings";

class SettingsInitTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        setBaseFolder(cFixtures);
        const char* names[] = {"settings", "gameboards", "civs", "PlayerColors"};
        for (size_t i = 0; i < std::size(names); ++i)
            mTable[i] = {names[i], fileCrc(cFixtures + "/data/" + names[i] + ".xml")};
        setDataFileCrcTable(mTable);
    }
    void TearDown() override {
        setDataFileCrcTable({});
        setBaseFolder({});
        SettingsTest::TearDown();
    }
    DataFileCrc mTable[4];
};

} // namespace

TEST_F(SettingsTest, MissingElementsKeepTheDefaults) {
    ASSERT_TRUE(loadSettings("<BoardWidth>12</BoardWidth><scoring/><unknown>3</unknown>"));
    const SettingsManager& s = settings();
    EXPECT_FALSE(s.mInitialized);
    EXPECT_EQ(s.mBoardWidth, 0) << "names compare with case";
    EXPECT_EQ(s.mBoardHeight, 0);
    EXPECT_FLOAT_EQ(s.mBoardMaxDistanceWidthScale, 1.0f);
    EXPECT_EQ(s.mTileRackWidth, 0);
    EXPECT_EQ(s.mActionPointsPerTurn, 0);
    EXPECT_EQ(s.mKnockoutDeathThreshold, 0);
    EXPECT_EQ(s.mScoreToWin, -1);
    EXPECT_TRUE(s.mUseVictoryHealthPool);
    EXPECT_EQ(s.mVictoryDamageOnCorpseStomp, 0);
    EXPECT_EQ(s.mInitialUnitWeighting, 3);
    EXPECT_FALSE(s.mRestrictedTargeting || s.mRangedAttackBlocking ||
                 s.mRangedAttackBlockingVersion2 || s.mSplitTileChest);
    for (int32_t cost : s.mDefaultActionCost)
        EXPECT_EQ(cost, 0);
    // A scoring element without children scores nothing.
    ASSERT_NE(s.mScoringInfo, nullptr);
    const ScoringInfo& scoring = *s.mScoringInfo;
    EXPECT_EQ(scoring.mDeploy + scoring.mDamage + scoring.mKnockout + scoring.mEquip +
                  scoring.mHeal + scoring.mRevive + scoring.mScoreTile,
              0);
    EXPECT_TRUE(s.mPremiumTiles.empty());
    EXPECT_TRUE(s.mAuras.empty());
}

TEST_F(SettingsTest, ReadsEveryElement) {
    ASSERT_TRUE(loadSettings(R"(
        <boardWidth> 9</boardWidth><boardHeight>5x</boardHeight>
        <boardMaxDistanceWidthScale>0.8</boardMaxDistanceWidthScale>
        <tileRackWidth>6</tileRackWidth><actionPointsPerTurn>5</actionPointsPerTurn>
        <knockoutDeathThreshold>2</knockoutDeathThreshold><scoreToWin>0</scoreToWin>
        <initialUnitWeighting>1</initialUnitWeighting>
        <useVictoryHealthPool>FALSE</useVictoryHealthPool>
        <victoryDamageOnCorpseStomp>100</victoryDamageOnCorpseStomp>
        <restrictedTargeting>false</restrictedTargeting><splitTileChest/>
        <defaultActionCost type="Attack">1</defaultActionCost>
        <defaultActionCost type="castpower">3</defaultActionCost>
        <defaultActionCost type="Attack">2</defaultActionCost>
        <defaultActionCost type="Teleport">7</defaultActionCost>
        <defaultActionCost>8</defaultActionCost>
        <scoring><deploy>1</deploy></scoring>
        <scoring><deploy>10</deploy><damage>20</damage><knockout>50</knockout><equip>5</equip>
          <heal>15</heal><revive>40</revive><scoreTile>25</scoreTile><bonus>9</bonus></scoring>
        <premiumTile type="Power"><amount>100</amount></premiumTile>
        <Aura type="shields"><Effect>Fx/Shields</Effect></Aura><aura type="Power"/>)"));
    const SettingsManager& s = settings();
    EXPECT_EQ(s.mBoardWidth, 9);
    EXPECT_EQ(s.mBoardHeight, 5);
    EXPECT_FLOAT_EQ(s.mBoardMaxDistanceWidthScale, 0.8f);
    EXPECT_EQ(s.mTileRackWidth, 6);
    EXPECT_EQ(s.mActionPointsPerTurn, 5);
    EXPECT_EQ(s.mKnockoutDeathThreshold, 2);
    EXPECT_EQ(s.mScoreToWin, 0);
    EXPECT_EQ(s.mInitialUnitWeighting, 1);
    EXPECT_FALSE(s.mUseVictoryHealthPool);
    EXPECT_EQ(s.mVictoryDamageOnCorpseStomp, 100);
    EXPECT_TRUE(s.mRestrictedTargeting) << "a presence switch turns on even with \"false\"";
    EXPECT_TRUE(s.mSplitTileChest);
    EXPECT_FALSE(s.mRangedAttackBlocking);
    // The later cost of a type wins; unknown or missing types are skipped.
    EXPECT_EQ(s.mDefaultActionCost[cActionAttack], 2);
    EXPECT_EQ(s.mDefaultActionCost[cActionCastPower], 3);
    int32_t total = 0;
    for (int32_t cost : s.mDefaultActionCost)
        total += cost;
    EXPECT_EQ(total, 5);
    // The later scoring element replaces the earlier one.
    ASSERT_NE(s.mScoringInfo, nullptr);
    EXPECT_EQ(s.mScoringInfo->mDeploy, 10);
    EXPECT_EQ(s.mScoringInfo->mDamage, 20);
    EXPECT_EQ(s.mScoringInfo->mKnockout, 50);
    EXPECT_EQ(s.mScoringInfo->mEquip, 5);
    EXPECT_EQ(s.mScoringInfo->mHeal, 15);
    EXPECT_EQ(s.mScoringInfo->mRevive, 40);
    EXPECT_EQ(s.mScoringInfo->mScoreTile, 25);
    ASSERT_EQ(s.mPremiumTiles.size(), 1u);
    EXPECT_EQ(s.premiumTileKind(cPremiumPower), s.mPremiumTiles[0].get());
    EXPECT_EQ(s.premiumTileKind(cPremiumDefense), nullptr);
    ASSERT_EQ(s.mAuras.size(), 1u) << "\"aura\" in lower case is not an aura";
    EXPECT_EQ(s.mAuras[0]->mType, cAuraShields);
}

TEST_F(SettingsTest, Auras) {
    ASSERT_TRUE(loadSettings(R"(<Aura type="Glow"><Effect>Fx/Glow</Effect></Aura>
        <Aura type="bloodrage"><Effect>Fx/Rage</Effect><UpgradedEffect>Fx/Rage2</UpgradedEffect>
          <ZOrder>-2</ZOrder><OffsetY>12.5</OffsetY><Opacity>0.5</Opacity></Aura>)"));
    const auto& auras = settings().mAuras;
    ASSERT_EQ(auras.size(), 2u);
    EXPECT_EQ(auras[0]->mType, -1) << "an unknown name is kept as -1";
    EXPECT_EQ(auras[0]->mEffect, "Fx/Glow");
    EXPECT_EQ(auras[0]->mZOrder, 0);
    EXPECT_FLOAT_EQ(auras[0]->mOffsetY, 0.0f);
    EXPECT_FLOAT_EQ(auras[0]->mOpacity, 1.0f);
    EXPECT_EQ(auras[1]->mType, cAuraBloodrage);
    EXPECT_EQ(auras[1]->mUpgradedEffect, "Fx/Rage2");
    EXPECT_EQ(auras[1]->mZOrder, -2);
    EXPECT_FLOAT_EQ(auras[1]->mOffsetY, 12.5f);
    EXPECT_FLOAT_EQ(auras[1]->mOpacity, 0.5f);
    EXPECT_EQ(ProtoAura::typeFromName("SURGEWARD"), cAuraSurgeward);
    EXPECT_FALSE(ProtoAura().load(nullptr));
}

TEST_F(SettingsTest, RefusedFiles) {
    const struct {
        const char* elements;
        const char* message;
    } cases[] = {
        {R"(<Aura type="Power"/><Aura><Effect>Fx/Power</Effect></Aura>)",
         "**> Aura without a type in settings\n"},
        {"<boardWidth>-1</boardWidth><boardHeight>5</boardHeight>",
         "**> negative board size -1 x 5 in settings\n"},
        {"<boardWidth>9</boardWidth><boardHeight>-5</boardHeight>",
         "**> negative board size 9 x -5 in settings\n"},
    };
    for (const auto& c : cases) {
        settings().clear();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(loadSettings(c.elements)) << c.elements;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message) << c.elements;
    }
    // What was read before the failure stays.
    EXPECT_EQ(settings().mBoardWidth, 9);
    EXPECT_FALSE(settings().loadSettings(nullptr)) << "an empty file holds no settings";
}

TEST_F(SettingsTest, ClearRestoresDefaults) {
    ASSERT_TRUE(loadSettings(R"(<boardWidth>9</boardWidth><scoreToWin>5</scoreToWin><scoring/>
        <premiumTile type="Power"/><Aura type="Power"/>
        <defaultActionCost type="Move">1</defaultActionCost>)"));
    settings().clear();
    EXPECT_EQ(settings().mBoardWidth, 0);
    EXPECT_EQ(settings().mScoreToWin, -1);
    EXPECT_EQ(settings().mScoringInfo, nullptr);
    EXPECT_TRUE(settings().mPremiumTiles.empty());
    EXPECT_TRUE(settings().mAuras.empty());
    EXPECT_EQ(settings().mDefaultActionCost[cActionMove], 0);
}

TEST_F(SettingsInitTest, LoadsTheCheckedFile) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(settings().init());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Initializing settings manager.\nSettings manager complete.\n");
    EXPECT_TRUE(settings().mInitialized);
    EXPECT_EQ(settings().mBoardWidth, 7);
    EXPECT_EQ(settings().mBoardHeight, 4);
    EXPECT_EQ(settings().mTileRackWidth, 5);
    EXPECT_EQ(settings().mPremiumTiles.size(), 1u);
    EXPECT_EQ(settings().mAuras.size(), 1u);
}

TEST_F(SettingsInitTest, RefusesChangedOrMissingFile) {
    mTable[0].crc ^= 1;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(settings().init());
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Initializing settings manager.\n", 0),
              0u);
    EXPECT_EQ(settings().mBoardWidth, 0);

    mTable[0].crc ^= 1;
    setBaseFolder(cFixtures + "/nowhere");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(settings().init());
    testing::internal::GetCapturedStdout();
}

TEST_F(SettingsTest, ShippedSettingsLoad) {
    ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount); // links the registrations
    setBaseFolder(TARNWICK_SOURCE_DIR);
    BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
    loadLocalizableStrings();
    testing::internal::CaptureStdout();
    const bool loaded = Database::init() && settings().init();
    const std::string output = testing::internal::GetCapturedStdout();
    BConfig::instance().reset();
    setBaseFolder({});
    loadLocalizableStrings();
    ASSERT_TRUE(loaded) << output;
    EXPECT_EQ(output.find("**>"), std::string::npos) << output;

    const SettingsManager& s = settings();
    EXPECT_EQ(s.mBoardWidth, 9);
    EXPECT_EQ(s.mBoardHeight, 5);
    EXPECT_GT(s.mTileRackWidth, 0);
    EXPECT_GT(s.mActionPointsPerTurn, 0);
    EXPECT_GT(s.mKnockoutDeathThreshold, 0);
    ASSERT_NE(s.mScoringInfo, nullptr);
    EXPECT_GT(s.mDefaultActionCost[cActionAttack], 0);
    // Every kind and aura names a known type, each once, with its texts.
    std::vector<int32_t> kinds;
    for (const auto& kind : s.mPremiumTiles) {
        EXPECT_GE(kind->mType, 0) << premiumTileTypeName(kind->mType);
        EXPECT_EQ(s.premiumTileKind(kind->mType), kind.get()) << "one kind per type";
        EXPECT_FALSE(kind->mTooltipTitle.empty()) << premiumTileTypeName(kind->mType);
        EXPECT_FALSE(kind->mTooltipDescription.empty()) << premiumTileTypeName(kind->mType);
    }
    for (const auto& aura : s.mAuras) {
        EXPECT_GE(aura->mType, 0) << aura->mEffect;
        EXPECT_FALSE(aura->mEffect.empty());
    }
    const auto hasAura = [&](int32_t type) {
        for (const auto& aura : s.mAuras)
            if (aura->mType == type)
                return true;
        return false;
    };
    // The auras a premium square shows under a unit exist for the squares used.
    for (int32_t aura :
         {cAuraPremiumSquarePower, cAuraPremiumSquareDefense, cAuraPremiumSquareResist,
          cAuraPremiumSquareVictoryDamageAdd, cAuraPremiumSquareVictoryDamageSubtract})
        EXPECT_TRUE(hasAura(aura)) << cAuraTypeNames[aura];
    // So does the aura of every buff in the shipped database.
    for (int32_t id = 0; id < Database::protoCount(); ++id) {
        const BuffInfo* buff = Database::getProto(id)->mBuffInfo.get();
        if (buff && buff->mAuraType >= 0) {
            EXPECT_TRUE(hasAura(buff->mAuraType)) << Database::getProto(id)->mName;
        }
    }
}
