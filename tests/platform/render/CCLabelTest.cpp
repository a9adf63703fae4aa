#include "RenderTest.h"

#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCTexture2D.h"

using namespace cocos2d;

namespace {

class LabelTest : public RenderTest {
protected:
    // A two-glyph font: "1" 10 wide, "0" 12 wide, kerning -2 between them,
    // 20 high lines, on one page.
    void writeDigitsFont(const std::string& name, const std::string& page) {
        writeText(
            name,
            "info face=\"Digits\" size=20\n"
            "common lineHeight=20 base=16 scaleW=32 scaleH=32 pages=1\n"
            "page id=0 file=\"" +
                page +
                "\"\n"
                "chars count=2\n"
                "char id=49 x=0 y=0 width=8 height=16 xoffset=1 yoffset=2 xadvance=10 page=0\n"
                "char id=48 x=8 y=0 width=10 height=16 xoffset=1 yoffset=2 xadvance=12 page=0\n"
                "kernings count=1\n"
                "kerning first=49 second=48 amount=-2\n");
        const size_t slash = name.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
        writeSolidPng(folder + page, 32, 32, {255, 255, 255, 255});
    }
};

} // namespace

TEST_F(LabelTest, UnboxedLabelsMeasureTheirText) {
    CCLabelTTF* short_ = CCLabelTTF::labelWithString("Hi", "Tarnwick Sans", 20);
    CCLabelTTF* long_ = CCLabelTTF::labelWithString("Hi there, knight", "Tarnwick Sans", 20);
    CCLabelTTF* big = CCLabelTTF::labelWithString("Hi", "Tarnwick Sans", 40);
    const CCSize s = short_->getContentSize();
    EXPECT_GT(s.width, 10);
    EXPECT_GT(s.height, 18);
    EXPECT_LT(s.height, 30);
    EXPECT_GT(long_->getContentSize().width, 4 * s.width);
    EXPECT_FLOAT_EQ(long_->getContentSize().height, s.height);
    EXPECT_NEAR(big->getContentSize().width, 2 * s.width, 3);

    short_->setString("Hi there, knight");
    EXPECT_EQ(short_->getContentSize(), long_->getContentSize());
    EXPECT_STREQ(short_->getString(), "Hi there, knight");

    CCLabelTTF* empty = CCLabelTTF::labelWithString("", "Tarnwick Sans", 20);
    EXPECT_FLOAT_EQ(empty->getContentSize().width, 0);
}

TEST_F(LabelTest, BoxedLabelsTakeTheBoxAndShrinkTowardsTheSecondSize) {
    const char* text = "Tap this when you are ready to confirm your turn";
    struct Case {
        float secondSize;
        bool shrinks;
    };
    const Case cases[] = {{8, true}, {-1, false}, {26, false}};
    for (const Case& c : cases) {
        CCLabelTTF* label = CCLabelTTF::labelWithString(
            text, CCSize(120, 30), CCTextAlignmentCenter, "ArialRoundedMTBold", 26, c.secondSize);
        EXPECT_EQ(label->getContentSize(), CCSize(120, 30)) << c.secondSize;
        if (c.shrinks) {
            EXPECT_LT(label->getDrawnFontSize(), 26) << c.secondSize;
            EXPECT_GE(label->getDrawnFontSize(), 8) << c.secondSize;
        } else {
            EXPECT_FLOAT_EQ(label->getDrawnFontSize(), 26) << c.secondSize;
        }
    }
}

TEST_F(LabelTest, HighDefinitionLabelsKeepTheirSizeInPoints) {
    const CCSize plain =
        CCLabelTTF::labelWithString("Knight", "Tarnwick Serif", 24)->getContentSize();
    highDefinition();
    CCLabelTTF* hd = CCLabelTTF::labelWithString("Knight", "Tarnwick Serif", 24);
    EXPECT_NEAR(hd->getContentSize().width, plain.width, 2);
    EXPECT_NEAR(hd->getContentSize().height, plain.height, 2);
    EXPECT_EQ(hd->getTexture()->getPixelsWide(), int(hd->getContentSize().width * 2));
}

TEST_F(LabelTest, ShadowOutlineAndGradientAreDrawnIntoTheText) {
    const DropShadowInfo shadow(1.0f, 1.0f, 0.9f, 0.0f, 2.0f);
    OutlineFillInfo outline(ccc4(153, 146, 64, 255), 0.5f, ccc4(255, 255, 255, 255));
    outline.gradient.addColor(ccc4(181, 181, 181, 255), 1.0f);
    outline.gradient.addColor(ccc4(255, 255, 255, 255), 0.1f);
    outline.gradient.addColor(ccc4(211, 211, 211, 255), 0.6f);
    EXPECT_FLOAT_EQ(outline.gradient.getStops()[1].pos, 0.6f); // kept in order
    EXPECT_EQ(outline.gradient.colorAt(0.0f), ccc4(255, 255, 255, 255));
    EXPECT_EQ(outline.gradient.colorAt(0.35f), ccc4(233, 233, 233, 255));

    CCLabelTTF* plain = CCLabelTTF::labelWithString("Victory", "Tarnwick Serif", 36);
    CCLabelTTF* styled =
        CCLabelTTF::labelWithString("Victory", "Tarnwick Serif", 36, &shadow, &outline);
    // The outline and the blurred shadow widen the text.
    EXPECT_GT(styled->getContentSize().width, plain->getContentSize().width);
    ASSERT_NE(styled->getTexture(), nullptr);
    // Some pixel is the dark shadow, some the light fill.
    bool dark = false, light = false;
    const auto& pixels = styled->getTexture()->getPixels();
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i + 3] > 100 && pixels[i] < 30)
            dark = true;
        if (pixels[i + 3] > 200 && pixels[i] > 200)
            light = true;
    }
    EXPECT_TRUE(dark);
    EXPECT_TRUE(light);
}

TEST_F(LabelTest, BitmapFontsParseAndMeasure) {
    writeDigitsFont("Fonts/number.fnt", "number.png");
    const CCBMFontConfiguration* config =
        CCBMFontConfiguration::configurationWithFile("Fonts/number.fnt");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->lineHeight, 20);
    EXPECT_EQ(config->base, 16);
    EXPECT_EQ(config->pages.at(0), "number.png");
    EXPECT_EQ(config->glyphs.at('0').width, 10);
    EXPECT_EQ(config->glyphs.at('1').xAdvance, 10);
    EXPECT_EQ(config->kerning('1', '0'), -2);
    EXPECT_EQ(config->kerning('0', '1'), 0);

    struct Case {
        const char* text;
        float width;
        float height;
        size_t glyphs;
    };
    const Case cases[] = {
        {"10", 20, 20, 2},    // 10 + (-2) + 12
        {"01", 22, 20, 2},    // no kerning that way round
        {"1x0", 20, 20, 2},   // unknown characters draw nothing
        {"1\n00", 24, 40, 3}, // the widest line
        {"", 0, 0, 0},
    };
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("", "Fonts/number.fnt");
    ASSERT_NE(label, nullptr);
    for (const Case& c : cases) {
        label->setString(c.text);
        EXPECT_EQ(label->getContentSize(), CCSize(c.width, c.height)) << c.text;
        EXPECT_EQ(label->getGlyphCount(), c.glyphs) << c.text;
    }
    EXPECT_EQ(CCLabelBMFont::labelWithString("1", "Fonts/missing.fnt"), nullptr);
    writeText("Fonts/bad.fnt", "char id=48 x=0\n");
    EXPECT_EQ(CCLabelBMFont::labelWithString("1", "Fonts/bad.fnt"), nullptr);
}

TEST_F(LabelTest, HighDefinitionBitmapFontsMeasureInPoints) {
    highDefinition();
    writeDigitsFont("number.fnt", "number.png");
    writeText("number-hd.fnt",
              "common lineHeight=40 base=32 scaleW=64 scaleH=64 pages=1\n"
              "page id=0 file=\"number-hd.png\"\n"
              "char id=49 x=0 y=0 width=16 height=32 xoffset=2 yoffset=4 xadvance=20 page=0\n");
    writeSolidPng("number-hd.png", 64, 64, {255, 255, 255, 255});
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("11", "number.fnt");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getContentSize(), CCSize(20, 20));
}
