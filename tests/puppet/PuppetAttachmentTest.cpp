#include "PuppetTestSupport.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"
#include "puppet/PuppetInstance.h"
#include "scene/views/AlphaMask.h"

using namespace cocos2d;

namespace {

class PuppetAttachmentTest : public PuppetTest {
protected:
    // An attachment loaded from the text of its element.
    std::unique_ptr<PuppetAttachment> load(std::string_view text) {
        auto attachment = std::make_unique<PuppetAttachment>();
        EXPECT_TRUE(attachment->load(parseXml(text)));
        return attachment;
    }
    static void addSpriteFrame(const std::string& name) {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(
            CCSpriteFrame::frameWithRect(CCRect(0, 0, 8, 8)), name);
    }
};

TEST_F(PuppetAttachmentTest, KeyframeConvertsItsAttributes) {
    PuppetKeyframe pose;
    ASSERT_TRUE(pose.load(parseXml(R"(<a alpha="128" translationX="10" translationY="-3"
        rotation="45" scaleX="2" tintRed="255" tintBlue="51"/>)")));
    EXPECT_FLOAT_EQ(pose.mAlpha, 0.5019608f);
    EXPECT_FLOAT_EQ(pose.mTranslationX, 5.0f);
    EXPECT_FLOAT_EQ(pose.mTranslationY, -1.5f);
    EXPECT_FLOAT_EQ(pose.mRotation, 45.0f);
    EXPECT_FLOAT_EQ(pose.mScaleX, 2.0f);
    EXPECT_FLOAT_EQ(pose.mScaleY, 1.0f);
    EXPECT_FLOAT_EQ(pose.mTintRed, 1.0f);
    EXPECT_FLOAT_EQ(pose.mTintGreen, 0.0f);
    EXPECT_FLOAT_EQ(pose.mTintBlue, 0.2f);

    ASSERT_TRUE(pose.load(parseXml("<a/>")));
    EXPECT_FLOAT_EQ(pose.mAlpha, 1.0f) << "an absent alpha is not scaled";
    EXPECT_FLOAT_EQ(pose.mTranslationX, 0.0f);
    EXPECT_FLOAT_EQ(pose.mScaleX, 1.0f) << "load starts from the defaults";
    EXPECT_FALSE(pose.load(nullptr));
}

struct TextureCase {
    const char* what;
    std::vector<const char*> files;  // present under data/
    std::vector<const char*> frames; // registered sprite frames
    const char* textureName;
    const char* wantTexture;
    const char* wantColour;
};

TEST_F(PuppetAttachmentTest, TextureAndCompanionNames) {
    const TextureCase cases[] = {
        {"only the .pvr exists", {"Knight.pvr"}, {}, "Knight.png", "Knight.pvr", ""},
        {"companion file", {"Knight.pvr", "Knight_Color.png"}, {}, "Knight.png", "Knight.pvr",
         "Knight_Color.png"},
        {"companion frame", {"Knight.pvr"}, {"Knight_Color.png"}, "Knight.png", "Knight.pvr",
         "Knight_Color.png"},
        {"the image exists", {"Knight.png", "Knight.pvr"}, {}, "Knight.png", "Knight.png", ""},
        {"neither exists", {}, {}, "Knight.png", "Knight.png", ""},
        {"frame name without '.'", {}, {"Banner", "Banner_Color"}, "Banner", "Banner",
         "Banner_Color"},
        {"the whole extension goes", {"X.pvr"}, {}, "X.jpeg", "X.pvr", ""},
        {"hd suffix off the texture only", {"Art/Helm.png", "Art/Helm-hd_Color.png"}, {},
         "Art/Helm-hd.png", "Art/Helm.png", "Art/Helm-hd_Color.png"},
        {"no companion for the hd-less name", {"Art/Helm.png", "Art/Helm_Color.png"}, {},
         "Art/Helm-hd.png", "Art/Helm.png", ""},
    };
    for (const TextureCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(mFolder / "data" / "Art");
        for (const char* file : {"Knight.png", "Knight.pvr", "Knight_Color.png", "X.pvr"})
            std::filesystem::remove(dataFile(file));
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        for (const char* file : c.files)
            writeData(file, "x");
        for (const char* frame : c.frames)
            addSpriteFrame(frame);
        const auto attachment =
            load(std::string("<Attachment textureName=\"") + c.textureName + "\"/>");
        EXPECT_EQ(attachment->mTextureName, c.wantTexture);
        EXPECT_EQ(attachment->mColorTextureName, c.wantColour);
    }
}

TEST_F(PuppetAttachmentTest, AnEmptyAttachmentLoadsAndDrawsNothing) {
    const auto attachment = load("<Attachment/>");
    EXPECT_EQ(attachment->mTextureName, "");
    EXPECT_EQ(attachment->mColorTextureName, "");
    EXPECT_EQ(attachment->mPuppetName, "");
    EXPECT_EQ(attachment->mClickMask, -1);
    EXPECT_EQ(attachment->mTextStyle, nullptr);
    EXPECT_EQ(attachment->getTexture(), nullptr);
    EXPECT_EQ(attachment->createSprite(nullptr), nullptr);
    EXPECT_EQ(attachment->createColorSprite(), nullptr);
    EXPECT_FALSE(PuppetAttachment().load(nullptr));
}

TEST_F(PuppetAttachmentTest, TexturesLoadOnceAndAreHeldUntilTheAttachmentGoes) {
    writeImage("Art/Knight.png");
    writeImage("Art/Knight_Color.png");
    auto attachment = load(R"(<Attachment textureName="Art/Knight.png" puppetName="Units/Mage"
        translationY="24"/>)");
    EXPECT_EQ(attachment->mPuppetName, "Units/Mage");
    EXPECT_FLOAT_EQ(attachment->mBaseTransform.mTranslationY, 12.0f);

    CCTexture2D* texture = attachment->getTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(attachment->getTexture(), texture);
    EXPECT_EQ(texture->retainCount(), 2u) << "the cache's reference and the attachment's";

    auto* sprite = dynamic_cast<CCSprite*>(attachment->createSprite(nullptr));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getTexture(), texture);
    CCSprite* colour = attachment->createColorSprite();
    ASSERT_NE(colour, nullptr);
    CCTexture2D* colourTexture = colour->getTexture();
    EXPECT_NE(colourTexture, texture);
    EXPECT_EQ(attachment->createColorSprite()->getTexture(), colourTexture);
    CCPoolManager::sharedPoolManager()->finalize();

    texture->retain();
    colourTexture->retain();
    const uint32_t held = texture->retainCount();
    const uint32_t colourHeld = colourTexture->retainCount();
    attachment.reset();
    EXPECT_EQ(texture->retainCount(), held - 1);
    EXPECT_EQ(colourTexture->retainCount(), colourHeld - 1);
    texture->release();
    colourTexture->release();
}

TEST_F(PuppetAttachmentTest, SpriteFramesComeBeforeImageFiles) {
    writeImage("Banner.png");
    addSpriteFrame("Banner.png");
    const auto attachment = load(R"(<Attachment textureName="Banner.png"/>)");
    auto* sprite = dynamic_cast<CCSprite*>(attachment->createSprite(nullptr));
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->isFrameDisplayed(
        CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("Banner.png")));
}

TEST_F(PuppetAttachmentTest, AFailedTextureLoadIsTriedAgain) {
    const auto attachment = load(R"(<Attachment textureName="Late.png"/>)");
    EXPECT_EQ(attachment->getTexture(), nullptr);
    EXPECT_EQ(attachment->createSprite(nullptr), nullptr);
    writeImage("Late.png");
    EXPECT_NE(attachment->getTexture(), nullptr);
}

TEST_F(PuppetAttachmentTest, ClickMaskIsTheCachedMaskOfTheImage) {
    writeImage("Art/KnightMask.png");
    const auto attachment = load(R"(<Attachment clickMaskName="Art/KnightMask.png"/>)");
    ASSERT_GE(attachment->mClickMask, 0);
    const AlphaMask* mask = AlphaMask::maskAtIndex(attachment->mClickMask);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->getWidth(), 4);
    EXPECT_EQ(load(R"(<Attachment clickMaskName="Art/KnightMask.png"/>)")->mClickMask,
              attachment->mClickMask);
    EXPECT_EQ(load(R"(<Attachment clickMaskName="Art/Missing.png"/>)")->mClickMask, -1);
}

TEST_F(PuppetAttachmentTest, TheLastTextChildWins) {
    const auto attachment = load(R"(<Attachment>
        <text><key>First</key><font name="Serif" size="30"/></text>
        <text><key type="dynamic">Second</key></text>
    </Attachment>)");
    ASSERT_NE(attachment->mTextStyle, nullptr);
    EXPECT_EQ(attachment->mTextStyle->mKey, "Second");
    EXPECT_EQ(attachment->mTextStyle->mKeyType, cTextKeyDynamic);
    EXPECT_EQ(attachment->mTextStyle->mFontName, "") << "a new style starts from the defaults";
}

TEST_F(PuppetAttachmentTest, TextSpritesShowTheirKeysText) {
    // A strings table of one line (UTF-16LE).
    std::string strings;
    for (char ch : std::string_view(R"("Puppet_Test_Label" = "Level up!";)"))
        strings += {ch, '\0'};
    writeData("../lang/Localizable.strings", strings);
    BConfig::instance().setStringById(cOptLanguageDirectory, "lang");
    loadLocalizableStrings();
    BConfig::instance().reset();
    ASSERT_EQ(localizedString("Puppet_Test_Label"), "Level up!");

    const auto localized = load(R"(<Attachment><text><key>Puppet_Test_Label</key>
        <font name="Sans" size="20"/></text></Attachment>)");
    auto* label = dynamic_cast<CCLabelTTF*>(localized->createSprite(nullptr));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::string(label->getString()), "Level up!");
    EXPECT_EQ(label->getFontName(), "Sans");
    EXPECT_FLOAT_EQ(label->getFontSize(), 20.0f);
    EXPECT_GT(label->getContentSize().width, 0.0f) << "measured text";

    const auto dynamic =
        load(R"(<Attachment><text><key type="dynamic">Damage</key></text></Attachment>)");
    label = dynamic_cast<CCLabelTTF*>(dynamic->createSprite(nullptr));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::string(label->getString()), "") << "no puppet given";
    PuppetInstance puppet;
    puppet.setDynamicText("Damage", "42");
    label = dynamic_cast<CCLabelTTF*>(dynamic->createSprite(&puppet));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::string(label->getString()), "42");
    EXPECT_EQ(PuppetInstance().getDynamicText("Damage"), "");

    loadLocalizableStrings(); // the empty table again
}

} // namespace
