#include "PuppetTestSupport.h"

using PuppetDefinitionTest = PuppetTest;

TEST_F(PuppetDefinitionTest, SizesAreHalvedAndScalesKept) {
    const struct {
        const char* children;
        float sizeX, sizeY, cornerX, cornerY, scaleX, scaleY;
    } cases[] = {
        {"", 0, 0, 0, 0, 1, 1},
        {"<SizeX>120</SizeX><SizeY>80</SizeY>", 60, 40, 0, 0, 1, 1},
        {"<CornerOffsetX>-10</CornerOffsetX><CornerOffsetY>7</CornerOffsetY>", 0, 0, -5, 3.5f, 1,
         1},
        {"<ScaleX>1.5</ScaleX><ScaleY>-2</ScaleY>", 0, 0, 0, 0, 1.5f, -2},
        {"<SizeX>10</SizeX><SizeX>30</SizeX>", 15, 0, 0, 0, 1, 1},
        {"<SizeX>12px</SizeX><SizeY>wide</SizeY><ScaleX/>", 6, 0, 0, 0, 0, 1},
        {"<sizex>10</sizex>", 0, 0, 0, 0, 1, 1},
    };
    for (const auto& c : cases) {
        const auto definition = loadDefinition(std::string("<Puppet>") + c.children + "</Puppet>");
        ASSERT_TRUE(definition);
        EXPECT_FLOAT_EQ(definition->mSizeX, c.sizeX) << c.children;
        EXPECT_FLOAT_EQ(definition->mSizeY, c.sizeY) << c.children;
        EXPECT_FLOAT_EQ(definition->mCornerOffsetX, c.cornerX) << c.children;
        EXPECT_FLOAT_EQ(definition->mCornerOffsetY, c.cornerY) << c.children;
        EXPECT_FLOAT_EQ(definition->mScaleX, c.scaleX) << c.children;
        EXPECT_FLOAT_EQ(definition->mScaleY, c.scaleY) << c.children;
    }
}

TEST_F(PuppetDefinitionTest, PartsLandInTheirSlots) {
    const auto definition = loadDefinition(R"(<Puppet>
        <Part type="torso" bone="Body" defaultAttachment="Art/Shield"/>
        <Part type="Cape" bone="Back"/>
        <Part type="Helm"/>
        <Part bone="Head"/>
        <Part type="Tail" bone="Back" defaultAttachment=""/>
        <Part type="Torso" bone="Chest" defaultAttachment="Art/Missing"/>
    </Puppet>)");
    ASSERT_EQ(definition->mParts.size(), 28u);
    const PuppetPartDef* torso = definition->mParts[4].get();
    ASSERT_NE(torso, nullptr);
    EXPECT_EQ(torso->mBone, PuppetRegistry::boneIndex("Chest")) << "the later part of the slot";
    EXPECT_EQ(torso->mDefaultAttachment, -1) << "its attachment file is missing";
    EXPECT_EQ(torso->mOrder, 3) << "the parts without type or bone are not counted";
    EXPECT_EQ(definition->mParts[9], nullptr) << "a part without bone is skipped";

    const struct {
        size_t position;
        const char* bone;
        int32_t order;
    } extras[] = {{26, "Back", 1}, {27, "Back", 2}};
    for (const auto& e : extras) {
        const PuppetPartDef* part = definition->mParts[e.position].get();
        ASSERT_NE(part, nullptr) << e.position;
        EXPECT_EQ(part->mBone, PuppetRegistry::boneIndex(e.bone)) << e.position;
        EXPECT_EQ(part->mOrder, e.order) << e.position;
        EXPECT_EQ(part->mDefaultAttachment, -1) << e.position;
    }
    EXPECT_EQ(PuppetRegistry::attachmentName(0), "Art/Shield") << "the replaced part's attachment";
}

TEST_F(PuppetDefinitionTest, AnimEntriesFillTheirStates) {
    const auto definition = loadDefinition(R"(<Puppet>
        <Anim type="idle" name="Anims/Idle"/>
        <Anim type="Attack" name="Anims/Swing"/>
        <Anim type="Attack" name="Anims/Missing"/>
        <Anim type="Death" name="Anims/Missing"/>
        <Anim type="Damaged"/>
        <Anim type="Dance" name="Anims/Swing"/>
        <Anim name="Anims/Swing"/>
        <Anim type="Move" name="Anims/Idle"><Tag Type="Attack" Time="0.2"/></Anim>
        <Anim type="Move" name="Anims/Swing"/>
    </Puppet>)");
    const int32_t idle = PuppetRegistry::loadAnim("Anims/Idle");
    const int32_t swing = PuppetRegistry::loadAnim("Anims/Swing");
    const struct {
        int32_t state;
        const PuppetAnim* anim;
    } cases[] = {
        {0, PuppetRegistry::getAnim(idle)},
        {9, PuppetRegistry::getAnim(swing)}, // the failing later entry keeps the earlier one
        {21, nullptr},                       // missing animation file
        {15, nullptr},                       // no "name"
        {8, PuppetRegistry::getAnim(swing)}, // the later entry replaces the earlier one
        {1, nullptr},
        {52, nullptr},
        {-1, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(definition->getAnimForState(c.state), c.anim) << c.state;
        if (c.state >= 0 && c.state < cAnimStateCount) {
            EXPECT_EQ(definition->mAnimEntries[c.state] != nullptr, c.anim != nullptr) << c.state;
        }
    }
    EXPECT_TRUE(definition->mAnimEntries[8]->mTags.empty());
    EXPECT_EQ(PuppetRegistry::animCount(), 2);
}

TEST_F(PuppetDefinitionTest, FileAttachmentsRegisterBeforeParts) {
    const auto definition = loadDefinition(R"(<Puppet>
        <Part type="Head" bone="Head" defaultAttachment="Inline/Face">
            <Replacement category="Charge" attachment="Inline/Glow"/>
        </Part>
        <Attachments>
            <Attachment name="Inline/Face" textureName="Face.png"/>
            <Attachment textureName="Unnamed.png"/>
            <Attachment name="Inline/Glow" textureName="Glow.png"/>
        </Attachments>
    </Puppet>)");
    const PuppetPartDef* head = definition->mParts[8].get();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->mDefaultAttachment, 0);
    ASSERT_EQ(head->mReplacements.size(), 1u);
    EXPECT_EQ(head->mReplacements[0].mAttachment, 1);
    EXPECT_EQ(PuppetRegistry::getAttachment(1)->mTextureName, "Glow.png");
    EXPECT_EQ(PuppetRegistry::attachmentCount(), 2);
}

TEST_F(PuppetDefinitionTest, PartPicksTheFirstActiveReplacementInFileOrder) {
    const auto definition = loadDefinition(R"(<Puppet>
        <Part type="MainHand" bone="Weapon" defaultAttachment="Art/Sword">
            <Replacement category="weapon" attachment="Art/Glow"/>
            <Replacement category="Charge" attachment="Art/Shield"/>
            <Replacement category="link" attachment=""/>
            <Replacement category="Skipped"/>
            <Replacement attachment="Art/Sword"/>
        </Part>
    </Puppet>)");
    const PuppetPartDef& part = *definition->mParts[1];
    ASSERT_EQ(part.mReplacements.size(), 3u);
    const int32_t sword = PuppetRegistry::loadAttachment("Art/Sword");
    const int32_t a = PuppetRegistry::loadAttachment("Art/Glow");
    const int32_t b = PuppetRegistry::loadAttachment("Art/Shield");
    const int32_t weapon = PuppetRegistry::categoryIndex("weapon");
    const int32_t charge = PuppetRegistry::categoryIndex("Charge");
    const int32_t link = PuppetRegistry::categoryIndex("link");
    const int32_t other = PuppetRegistry::categoryIndex("HealthFull");
    const struct {
        std::vector<int32_t> active;
        int32_t attachment;
    } cases[] = {
        {{weapon, charge}, a}, {{charge, weapon}, a}, {{charge}, b},  {{other, charge}, b},
        {{}, sword},           {{other}, sword},      {{link}, -1},   {{link, weapon}, a},
    };
    for (const auto& c : cases)
        EXPECT_EQ(part.pickAttachment(c.active), c.attachment) << ::testing::PrintToString(c.active);
}
