// The sample content's impact effect groups load whole from the data folder:
// a particle system and a puppet that plays "Play" each, and the sample
// unit whose ability spawns one.

#include "PuppetTestSupport.h"

#include "platform/render/CCParticleSystemQuad.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetTag.h"

namespace {

const std::filesystem::path cSource = TARNWICK_SOURCE_DIR;

class SampleEffectGroupsTest : public PuppetTest {
protected:
    void SetUp() override {
        PuppetTest::SetUp();
        setBaseFolder(cSource);
        cocos2d::CCFileUtils::setResourcePath((cSource / "data").string());
        ASSERT_TRUE(PuppetRegistry::loadAttachmentsFile("Attachments"));
    }
    void TearDown() override {
        EffectGroup::clearRegistry();
        PuppetTest::TearDown();
    }
};

TEST_F(SampleEffectGroupsTest, ImpactGroupsHaveAParticleAndAPlayingPuppet) {
    for (const char* name : {"Effects/FX-Impact01", "Effects/FX-ImpactBig01",
                             "Effects/FX-ImpactMagic01", "Effects/FX-ImpactMagicBig01",
                             "Effects/FX-ImpactRanged01", "Effects/FX-ImpactRangedBig01"}) {
        const EffectGroup* group = EffectGroup::get(EffectGroup::load(name));
        ASSERT_NE(group, nullptr) << name;
        ASSERT_EQ(group->mEntries.size(), 2u) << name;
        const auto& particle = group->mEntries[0];
        EXPECT_EQ(particle.mKind, EffectGroup::cParticle);
        cocos2d::CCParticleSystemQuad system;
        EXPECT_TRUE(system.initWithFile(particle.mFilename)) << particle.mFilename;
        const PuppetDefinition* puppet = PuppetRegistry::getPuppet(group->mEntries[1].mPuppet);
        ASSERT_NE(puppet, nullptr) << name;
        const PuppetAnim* play = puppet->getAnimForState(animStateFromName("Play"));
        ASSERT_NE(play, nullptr) << name;
        EXPECT_GT(play->mLength, 0.1f);
        ASSERT_NE(puppet->mParts[puppetPartSlotFromName("Torso")], nullptr);
        EXPECT_NE(PuppetRegistry::getAttachment(
                      puppet->mParts[puppetPartSlotFromName("Torso")]->mDefaultAttachment),
                  nullptr)
            << name;
    }
}

TEST_F(SampleEffectGroupsTest, TheClericsAbilitySpawnsAGroup) {
    const PuppetDefinition* cleric =
        PuppetRegistry::getPuppet(PuppetRegistry::loadPuppet("Civ/Humans/Cleric"));
    ASSERT_NE(cleric, nullptr);
    const auto& entry = cleric->mAnimEntries[animStateFromName("Ability")];
    ASSERT_NE(entry, nullptr);
    std::vector<const PuppetTag*> tags;
    entry->getTagsOfType(cTagSpawnEffectGroup, tags);
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(static_cast<const PuppetTagSpawnEffectGroup*>(tags[0])->mEffectGroup,
              EffectGroup::load("Effects/FX-ImpactMagic01"));
    EXPECT_GE(EffectGroup::load("Effects/FX-ImpactMagic01"), 0);
}

} // namespace
