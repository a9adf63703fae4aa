#include "PuppetTestSupport.h"

namespace {

class PuppetTagTest : public PuppetTest {
protected:
    // The entry of the "Attack" animation of a puppet whose Attack holds tags.
    const PuppetAnimEntry& loadAttackTags(const std::string& tags) {
        mDefinition = loadDefinition("<Puppet><Anim type=\"Attack\" name=\"Anims/Swing\">" + tags +
                                     "</Anim></Puppet>");
        static const PuppetAnimEntry empty;
        const PuppetAnimEntry* entry = mDefinition ? mDefinition->mAnimEntries[9].get() : nullptr;
        EXPECT_NE(entry, nullptr);
        return entry ? *entry : empty;
    }

    template <class Tag> const Tag& onlyTag(const PuppetAnimEntry& entry, int32_t type) {
        std::vector<const PuppetTag*> tags;
        entry.getTagsOfType(type, tags);
        EXPECT_EQ(tags.size(), 1u);
        static const Tag none;
        return tags.empty() ? none : static_cast<const Tag&>(*tags[0]);
    }

    std::unique_ptr<PuppetDefinition> mDefinition;
};

} // namespace

TEST_F(PuppetTagTest, CreateKnowsTheSixTypesInAnyCase) {
    const struct {
        const char* name;
        int32_t type; // -2: no tag
    } cases[] = {
        {"OverrideAttachment", 0}, {"playsound", 1}, {"SpawnParticle", 2},
        {"SPAWNEFFECTGROUP", 3},   {"attack", 4},    {"Ability", 5},
        {"BoneRelative", -2},      {"", -2},         {"Attack2", -2},
    };
    for (const auto& c : cases) {
        const auto tag = PuppetTag::create(c.name);
        EXPECT_EQ(tag ? tag->getType() : -2, c.type) << c.name;
        if (tag) {
            EXPECT_EQ(tag->mTime, -1.0f) << c.name;
        }
    }
}

TEST_F(PuppetTagTest, UnusableTagsAreDropped) {
    const PuppetAnimEntry& entry = loadAttackTags(R"(
        <Tag Type="attack" Time="0.4"/>
        <Tag Type="BoneRelative" Time="0.1"/>
        <Tag Time="0.1"/>
        <Tag Type="Ability"/>
        <Tag Type="Ability" Time="1e999"/>
        <Tag Type="PlaySound" Time="0.1"/>
        <Tag Type="PlaySound" Time="0.1" Filename=""/>
        <Tag Type="SpawnParticle" Time="0.1" Bone="Hand"/>
        <Tag Type="SpawnEffectGroup" Time="0.1" Filename=""/>
        <Tag Type="OverrideAttachment" Time="0.1" Attachment="Art/Glow"/>
        <Tag Type="OverrideAttachment" Time="0.1" Part="Helm" Attachment=""/>
        <tag Type="Attack" Time="0.1"/>
        <Tag Type="Ability" Time="0.7"/>
    )");
    ASSERT_EQ(entry.mTags.size(), 2u);
    std::vector<const PuppetTag*> attacks;
    entry.getTagsOfType(cTagAttack, attacks);
    ASSERT_EQ(attacks.size(), 1u);
    EXPECT_FLOAT_EQ(attacks[0]->mTime, 0.4f);
    EXPECT_EQ(entry.mTags[1]->getType(), cTagAbility);
    EXPECT_EQ(PuppetRegistry::attachmentCount(), 0) << "refused overrides load no attachment";
}

TEST_F(PuppetTagTest, TagsOfTypeAppendInOrder) {
    const PuppetAnimEntry& entry = loadAttackTags(R"(
        <Tag Type="Attack" Time="0.3"/>
        <Tag Type="Ability" Time="0.5"/>
        <Tag Type="Attack" Time="0.6"/>
    )");
    std::vector<const PuppetTag*> tags = {nullptr};
    entry.getTagsOfType(cTagAttack, tags);
    ASSERT_EQ(tags.size(), 3u) << "the list is not cleared";
    EXPECT_FLOAT_EQ(tags[1]->mTime, 0.3f);
    EXPECT_FLOAT_EQ(tags[2]->mTime, 0.6f);
    entry.getTagsOfType(cTagPlaySound, tags);
    EXPECT_EQ(tags.size(), 3u);
}

TEST_F(PuppetTagTest, PlaySoundIsPositionalByDefault) {
    const struct {
        const char* attributes;
        bool positional, loop;
    } cases[] = {
        {"", true, false},
        {"loop=\"1\"", true, true},
        {"positional=\"false\" loop=\"TRUE\"", false, true},
        {"positional=\"0\" loop=\"yes\"", false, false},
        {"positional=\"no\"", true, false},
    };
    for (const auto& c : cases) {
        PuppetRegistry::clear();
        const PuppetAnimEntry& entry = loadAttackTags(
            std::string("<Tag Type=\"PlaySound\" Time=\"0\" Filename=\"Swing.wav\" ") +
            c.attributes + "/>");
        const auto& sound = onlyTag<PuppetTagPlaySound>(entry, cTagPlaySound);
        EXPECT_EQ(sound.mFilename, "Swing.wav");
        EXPECT_EQ(sound.mPositional, c.positional) << c.attributes;
        EXPECT_EQ(sound.mLoop, c.loop) << c.attributes;
    }
}

TEST_F(PuppetTagTest, OverrideShowsItsReplacementWhileTheCategoryIsActive) {
    const PuppetAnimEntry& entry = loadAttackTags(R"(
        <Tag Type="OverrideAttachment" Time="0.2" StopTime="0.8" Part="Helm" Attachment="Art/Shield">
            <Replacement category="weapon" attachment="Art/Glow"/>
            <Replacement category="link" attachment=""/>
        </Tag>
        <Tag Type="OverrideAttachment" Time="0.3" Part="Wing" Attachment="Art/Missing"/>
    )");
    ASSERT_EQ(entry.mTags.size(), 2u);
    const auto& helm = static_cast<const PuppetTagOverrideAttachment&>(*entry.mTags[0]);
    EXPECT_EQ(helm.mPartSlot, 9);
    EXPECT_FLOAT_EQ(helm.mStopTime, 0.8f);
    const int32_t shield = PuppetRegistry::loadAttachment("Art/Shield");
    const int32_t glow = PuppetRegistry::loadAttachment("Art/Glow");
    const int32_t weapon = PuppetRegistry::categoryIndex("weapon");
    const int32_t link = PuppetRegistry::categoryIndex("link");
    EXPECT_EQ(helm.pickAttachment({weapon}), glow);
    EXPECT_EQ(helm.pickAttachment({}), shield);
    EXPECT_EQ(helm.pickAttachment({PuppetRegistry::categoryIndex("Charge")}), shield);
    EXPECT_EQ(helm.pickAttachment({link}), -1);
    EXPECT_EQ(helm.pickAttachment({link, weapon}), glow);

    const auto& wing = static_cast<const PuppetTagOverrideAttachment&>(*entry.mTags[1]);
    EXPECT_EQ(wing.mPartSlot, -1) << "no slot of that name, still loaded";
    EXPECT_EQ(wing.mAttachment, -1) << "its attachment is missing, still loaded";
    EXPECT_FLOAT_EQ(wing.mStopTime, -1.0f);
}

TEST_F(PuppetTagTest, BoneRelativeTags) {
    const PuppetAnimEntry& entry = loadAttackTags(R"(
        <Tag Type="SpawnParticle" Time="0.1" Bone="Hand" OffsetX="4" OffsetY="-2.5" Filename="Effects/Sparkle.plist"/>
        <Tag Type="SpawnEffectGroup" Time="0.2" Bone="" Filename="Effects/Missing"/>
    )");
    const auto& particle = onlyTag<PuppetTagSpawnParticle>(entry, cTagSpawnParticle);
    EXPECT_EQ(particle.mBone, PuppetRegistry::boneIndex("Hand"));
    EXPECT_FLOAT_EQ(particle.mOffset.x, 4.0f);
    EXPECT_FLOAT_EQ(particle.mOffset.y, -2.5f);
    EXPECT_EQ(particle.mFilename, "Effects/Sparkle.plist");
    const auto& group = onlyTag<PuppetTagSpawnEffectGroup>(entry, cTagSpawnEffectGroup);
    EXPECT_EQ(group.mBone, -1);
    EXPECT_EQ(group.mOffset, cocos2d::CCPoint(0, 0));
    EXPECT_EQ(group.mEffectGroup, -1);
}

TEST_F(PuppetTagTest, WindowsCollectTagsAndWrapPastTheEnd) {
    const PuppetAnimEntry& entry = loadAttackTags(R"(
        <Tag Type="Attack" Time="0.0"/>
        <Tag Type="Ability" Time="0.5"/>
        <Tag Type="Attack" Time="1.0"/>
    )");
    const struct {
        float from, to;
        std::vector<float> times;
    } cases[] = {
        {0.0f, 0.5f, {0.0f}},       {0.5f, 1.1f, {0.5f, 1.0f}}, {0.9f, 0.2f, {0.0f, 1.0f}},
        {0.5f, 0.5f, {}},           {0.0f, 1.0f, {0.0f, 0.5f}}, {1.0f, 0.0f, {1.0f}},
        {-1.0f, 0.0f, {}},          {0.6f, 0.5f, {0.0f, 1.0f}},
    };
    for (const auto& c : cases) {
        std::vector<const PuppetTag*> tags;
        entry.collectTagsInWindow(c.from, c.to, tags);
        std::vector<float> times;
        for (const PuppetTag* tag : tags)
            times.push_back(tag->mTime);
        EXPECT_EQ(times, c.times) << c.from << ".." << c.to;
    }
}
