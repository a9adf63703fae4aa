#include "ProtoTestSupport.h"

#include "content/protos/AuraType.h"
#include "content/protos/BuffInfo.h"

#include <cmath>
#include <string>

namespace {

// A buff read from the text of a "BuffInfo" element.
std::unique_ptr<BuffInfo> readBuff(std::string_view element) {
    ParsedXml xml(element);
    auto buff = std::make_unique<BuffInfo>();
    EXPECT_TRUE(buff->load(xml.root));
    return buff;
}

std::string effect(const char* attributes, const char* value) {
    return std::string("<Effect ") + attributes + ">" + value + "</Effect>";
}

} // namespace

TEST_F(ProtoTest, BuffLoadReadsChildrenAndKeepsGoodEffects) {
    testing::internal::CaptureStdout();
    const auto buff = readBuff(R"(<BuffInfo Range="2">
        <ConsumeType>EndOfEnemyTurn</ConsumeType><ConsumeType>endofturn</ConsumeType>
        <Effect type="modifyStat" target="Power" relativity="absolute">50</Effect>
        <Effect type="modifyStat" target="power" relativity="absolute">10</Effect>
        <Effect type="addShields" target="Shields" relativity="multiply">1.5</Effect>
        <Aura>spottingbuff</Aura><OnePerCaster>false</OnePerCaster><UpgradesPuppet/>
        <EquipWithOngoingBegin/><Unknown/></BuffInfo>)");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "**> invalid buff target type\n");
    EXPECT_EQ(buff->mRange, 2);
    EXPECT_EQ(buff->mConsumeType, cConsumeEndOfEnemyTurn) << "consume words are exact";
    EXPECT_EQ(buff->mAuraType, cAuraSpottingBuff) << "aura words ignore case";
    ASSERT_EQ(buff->mEffects.size(), 2u) << "the bad effect is dropped, the others kept";
    EXPECT_EQ(buff->mEffects[0]->mTarget, cStatPower);
    EXPECT_FLOAT_EQ(buff->mEffects[0]->mValue, 50.0f);
    EXPECT_EQ(buff->mEffects[1]->mType, cBuffAddShields);
    EXPECT_EQ(buff->mEffects[1]->mRelativity, cRelativityMultiply);
    EXPECT_TRUE(buff->mOnePerCaster) << "presence, whatever the text";
    EXPECT_TRUE(buff->mUpgradesPuppet);
    EXPECT_TRUE(buff->mEquipWithOngoingBegin);
    EXPECT_FALSE(buff->mDiesWithCaster);
    EXPECT_FALSE(buff->mConsumesAllOthers);
    EXPECT_FALSE(buff->mUnequipWithOngoingEnd);
    EXPECT_TRUE(buff->hasEffectOfType(cBuffAddShields));
    EXPECT_FALSE(buff->hasEffectOfType(cBuffHeal));

    const auto empty = readBuff("<BuffInfo/>");
    EXPECT_EQ(empty->mConsumeType, -1);
    EXPECT_EQ(empty->mAuraType, -1);
    EXPECT_EQ(empty->mRange, 0);
    EXPECT_FALSE(BuffInfo().load(nullptr));
}

TEST_F(ProtoTest, BadBuffEffectsAreReported) {
    ASSERT_TRUE(loadDatabase(R"(<Database><entity name="shield"/></Database>)"));
    const struct {
        std::string element;
        const char* message;
    } cases[] = {
        {effect(R"(type="modifystat" target="Power")", "1"), "**> invalid buff effect type\n"},
        {effect(R"(type="modifyStat" target="Strength")", "1"), "**> invalid buff target type\n"},
        // A proto target needs its type first.
        {effect(R"(target="shield" type="UnequipProto")", "1"), "**> invalid buff target type\n"},
        {effect(R"(type="modifyStat" relativity="add")", "1"),
         "**> invalid buff relativity type\n"},
        {effect(R"(target="Power" relativity="absolute")", "5"),
         "**> improperly specified buff effect for Effect\n"},
        {"<Boost target=\"Power\"/>", "**> improperly specified buff effect for Boost\n"},
    };
    for (const auto& c : cases) {
        ParsedXml xml(c.element);
        BuffEffect buffEffect;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(buffEffect.load(xml.root)) << c.element;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message) << c.element;
    }
}

TEST_F(ProtoTest, BuffEffectProtoTargets) {
    ASSERT_TRUE(loadDatabase(R"(<Database><entity name="a"/><entity name="shield"/>
        <entity name="link"/></Database>)"));
    const struct {
        std::string element;
        int32_t target;
        int32_t targetProto;
        int32_t attachProto;
    } cases[] = {
        {effect(R"(type="UnequipProto" target="shield")", ""), cStatProto, 1, -1},
        {effect(R"(type="attachProtoToLinkedUnits" target="a" attachProto="link")", ""), cStatProto,
         0, 2},
        // An unknown proto leaves both at -1, so no stat matches it.
        {effect(R"(type="UnequipProto" target="nothing")", ""), -1, -1, -1},
        // A stat name stays a stat for these types too.
        {effect(R"(type="UnequipProto" target="Power")", ""), cStatPower, -1, -1},
        {effect(R"(type="modifyStat" attachProto="missing")", "2.5"), -1, -1, -1},
    };
    for (const auto& c : cases) {
        ParsedXml xml(c.element);
        BuffEffect buffEffect;
        ASSERT_TRUE(buffEffect.load(xml.root)) << c.element;
        EXPECT_EQ(buffEffect.mTarget, c.target) << c.element;
        EXPECT_EQ(buffEffect.mTargetProto, c.targetProto) << c.element;
        EXPECT_EQ(buffEffect.mAttachProto, c.attachProto) << c.element;
    }
}

TEST_F(ProtoTest, ApplyStatEffectsInListOrder) {
    const std::string multiply2 =
        effect(R"(type="modifyStat" target="Power" relativity="multiply")", "2");
    const std::string add10 =
        effect(R"(type="modifyStat" target="Power" relativity="absolute")", "10");
    const std::string raise3 =
        effect(R"(type="modifyStat" target="Power" relativity="increaseTo")", "3");
    const struct {
        std::string effects;
        float value;
        float factor;
        float expected;
    } cases[] = {
        {multiply2 + add10, 5.0f, 1.0f, 20.0f},
        {add10 + multiply2, 5.0f, 1.0f, 30.0f},
        {raise3, 5.0f, 1.0f, 5.0f},
        {raise3, 1.0f, 1.0f, 3.0f},
        {raise3, 5.0f, 2.0f, 6.0f},
        {add10, 5.0f, 0.5f, 10.0f},
        // Other stats, other types and a missing relativity change nothing.
        {effect(R"(type="modifyStat" target="Defense" relativity="absolute")", "10"), 5, 1, 5},
        {effect(R"(type="heal" target="Power" relativity="absolute")", "10"), 5, 1, 5},
        {effect(R"(type="modifyStat" target="Power")", "10"), 5, 1, 5},
    };
    for (const auto& c : cases) {
        const auto buff = readBuff("<BuffInfo>" + c.effects + "</BuffInfo>");
        float value = c.value;
        buff->applyStatEffects(cBuffModifyStat, cStatPower, value, c.factor);
        EXPECT_FLOAT_EQ(value, c.expected) << c.effects << " on " << c.value;
    }
    // An unordered compare leaves the value.
    const auto buff = readBuff("<BuffInfo>" + raise3 + "</BuffInfo>");
    float value = std::nanf("");
    buff->applyStatEffects(cBuffModifyStat, cStatPower, value, 1.0f);
    EXPECT_TRUE(std::isnan(value));
}

TEST_F(ProtoTest, CollectedProtoLists) {
    ASSERT_TRUE(loadDatabase(R"(<Database>
        <entity name="knight"/><entity name="archer"/><entity name="mark"/>
        <entity name="shield"/><entity name="weakenBuff"/>
        <entity name="aura"><BuffInfo>
          <Effect type="attachProtoToLinkedUnits" attachProto="mark"/>
          <Effect type="attachProtoToLinkedUnits" target="knight" attachProto="shield"/>
          <Effect type="attachProtoToLinkedUnits" target="archer" attachProto="weakenBuff"/>
          <Effect type="UnequipProto" target="weakenBuff"/>
          <Effect type="UnequipProto" target="shield"/>
        </BuffInfo></entity></Database>)"));
    const BuffInfo* buff = Database::getProto(5)->mBuffInfo.get();
    ASSERT_NE(buff, nullptr);
    ASSERT_EQ(buff->collectLinkedAttachProtos(0), 2);
    EXPECT_EQ(BuffInfo::linkedAttachProtos(), (std::vector<int32_t>{2, 3}));
    ASSERT_EQ(buff->collectLinkedAttachProtos(1), 2) << "the next call overwrites the list";
    EXPECT_EQ(BuffInfo::linkedAttachProtos(), (std::vector<int32_t>{2, 4}));
    ASSERT_EQ(buff->collectUnequipProtos(), 2);
    EXPECT_EQ(BuffInfo::unequipProtos(), (std::vector<int32_t>{4, 3}));
    EXPECT_EQ(BuffInfo().collectUnequipProtos(), 0);
    EXPECT_TRUE(BuffInfo::unequipProtos().empty());
}

TEST(AuraTypeTest, NamesIgnoreCase) {
    const struct {
        const char* name;
        int32_t type;
    } cases[] = {
        {"Power", cAuraPower},
        {"premiumsquarevictorydamagesubtract", cAuraPremiumSquareVictoryDamageSubtract},
        {"PremiumSquareVictoryDamageAdd", cAuraPremiumSquareVictoryDamageAdd},
        {"HIGHLIGHT", cAuraHighlight},
        {"Shield", -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(auraTypeFromName(c.name), c.type) << c.name;
}
