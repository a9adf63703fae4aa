#include "PuppetTestSupport.h"

using PuppetRegistryTest = PuppetTest;

TEST_F(PuppetRegistryTest, SameNameSameIndex) {
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Mage"), 1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
    EXPECT_EQ(PuppetRegistry::puppetCount(), 2);
}

TEST_F(PuppetRegistryTest, LoadedNamesAreNotReadAgain) {
    const int32_t puppet = PuppetRegistry::loadPuppet("Units/Archer");
    const int32_t attachment = PuppetRegistry::loadAttachment("Art/Sword");
    const int32_t anim = PuppetRegistry::loadAnim("Anims/Idle");
    std::filesystem::remove_all(mFolder / "data");
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), puppet);
    EXPECT_EQ(PuppetRegistry::loadAttachment("Art/Sword"), attachment);
    EXPECT_EQ(PuppetRegistry::loadAnim("Anims/Idle"), anim);
}

TEST_F(PuppetRegistryTest, FailuresTakeNoIndex) {
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Missing"), -1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Missing"), -1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Empty"), -1) << "a file without an element";
    EXPECT_EQ(PuppetRegistry::loadPuppet("units/archer"), -1) << "names keep their case";
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
}

TEST_F(PuppetRegistryTest, FailedNamesAreTriedAgain) {
    writeData("Units/Late.Puppet", "<Puppet><Part");
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Late"), -1) << "malformed";
    EXPECT_EQ(PuppetRegistry::loadAttachment("Art/Late"), -1);
    EXPECT_EQ(PuppetRegistry::loadAnim("Anims/Late"), -1);
    EXPECT_EQ(PuppetRegistry::puppetCount() + PuppetRegistry::attachmentCount() +
                  PuppetRegistry::animCount(),
              0);

    writeData("Units/Late.Puppet", "<Puppet/>");
    writeData("Art/Late.PuppetAttachment", "<Attachment/>");
    writeData("Anims/Late.PuppetAnim", "<PuppetAnim/>");
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Late"), 0);
    EXPECT_EQ(PuppetRegistry::loadAttachment("Art/Late"), 0);
    EXPECT_EQ(PuppetRegistry::loadAnim("Anims/Late"), 0);
}

TEST_F(PuppetRegistryTest, APuppetLoadsWhatItNamesFirst) {
    ASSERT_EQ(PuppetRegistry::loadPuppet("Units/Knight"), 0);
    EXPECT_EQ(PuppetRegistry::attachmentName(0), "Art/Shield");
    EXPECT_EQ(PuppetRegistry::attachmentName(1), "Art/Sword");
    EXPECT_EQ(PuppetRegistry::animName(0), "Anims/Idle");
    EXPECT_EQ(PuppetRegistry::boneName(0), "Body");
    EXPECT_EQ(PuppetRegistry::getAttachment(1)->mTextureName, "Sword.png");
    EXPECT_NE(PuppetRegistry::getPuppet(0)->getAnimForState(0), nullptr);
}

TEST_F(PuppetRegistryTest, IndexAccessorsGiveNullOutOfRange) {
    PuppetRegistry::loadPuppet("Units/Knight");
    for (int32_t index : {-1, 1})
        EXPECT_EQ(PuppetRegistry::getPuppet(index), nullptr) << index;
    for (int32_t index : {-1, 2})
        EXPECT_EQ(PuppetRegistry::getAttachment(index), nullptr) << index;
    for (int32_t index : {-1, 1})
        EXPECT_EQ(PuppetRegistry::getAnim(index), nullptr) << index;
    EXPECT_NE(PuppetRegistry::getAttachment(1), nullptr);
}

TEST_F(PuppetRegistryTest, BonesAndCategoriesGetDenseIds) {
    EXPECT_EQ(PuppetRegistry::boneIndex("BoneRoot"), 0);
    EXPECT_EQ(PuppetRegistry::boneIndex("BoneLaunchpoint"), 1);
    EXPECT_EQ(PuppetRegistry::boneIndex("BoneRoot"), 0);
    EXPECT_EQ(PuppetRegistry::categoryIndex("weapon"), 0) << "categories count on their own";
    EXPECT_EQ(PuppetRegistry::categoryIndex("Charge"), 1);
    EXPECT_EQ(PuppetRegistry::categoryIndex("weapon"), 0);
    EXPECT_EQ(PuppetRegistry::categoryIndex("Weapon"), 2);
    EXPECT_EQ(PuppetRegistry::boneIndex("boneroot"), 2);
}

TEST_F(PuppetRegistryTest, AttachmentsFileRegistersNamedAttachments) {
    ASSERT_TRUE(PuppetRegistry::loadAttachmentsFile("Attachments"));
    EXPECT_EQ(PuppetRegistry::attachmentCount(), 2) << "the unnamed one and the other element";
    const int32_t hood = PuppetRegistry::loadAttachment("Shared/Hood");
    EXPECT_EQ(hood, 1) << "found by its element name, no file";
    EXPECT_EQ(PuppetRegistry::getAttachment(hood)->mTextureName, "Hood.png");
}

TEST_F(PuppetRegistryTest, BadAttachmentsFilesFailAndLoseNothing) {
    PuppetRegistry::loadAttachment("Art/Sword");
    writeData("Broken.xml", "<Attachments><Attachment name=\"A\"");
    writeData("Blank.xml", "\n");
    for (const char* name : {"Missing", "Broken", "Blank"})
        EXPECT_FALSE(PuppetRegistry::loadAttachmentsFile(name)) << name;
    EXPECT_EQ(PuppetRegistry::attachmentCount(), 1);
    EXPECT_EQ(PuppetRegistry::loadAttachment("Art/Sword"), 0);
}

TEST_F(PuppetRegistryTest, ClearEmptiesEveryStoreAndMap) {
    PuppetRegistry::loadAttachmentsFile("Attachments");
    PuppetRegistry::loadPuppet("Units/Knight");
    PuppetRegistry::categoryIndex("weapon");
    PuppetRegistry::clear();
    EXPECT_EQ(PuppetRegistry::puppetCount(), 0);
    EXPECT_EQ(PuppetRegistry::attachmentCount(), 0);
    EXPECT_EQ(PuppetRegistry::animCount(), 0);
    EXPECT_EQ(PuppetRegistry::getPuppet(0), nullptr);
    EXPECT_EQ(PuppetRegistry::boneIndex("Weapon"), 0);
    EXPECT_EQ(PuppetRegistry::categoryIndex("Charge"), 0);
    EXPECT_EQ(PuppetRegistry::loadAttachment("Shared/Cape"), -1) << "its name is forgotten";
    EXPECT_EQ(PuppetRegistry::loadAnim("Anims/Swing"), 0);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
}
