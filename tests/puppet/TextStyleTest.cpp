#include "PuppetTestSupport.h"

#include "content/BConfig.h"
#include "puppet/TextStyle.h"

using namespace cocos2d;

namespace {

class TextStyleTest : public PuppetTest {
protected:
    void TearDown() override {
        BConfig::instance().reset();
        PuppetTest::TearDown();
    }
    TextStyle load(std::string_view children) {
        TextStyle style;
        EXPECT_TRUE(style.load(parseXml("<text>" + std::string(children) + "</text>")));
        return style;
    }
};

void expectColour(const ccColor4B& colour, int r, int g, int b, int a) {
    EXPECT_EQ(colour.r, r);
    EXPECT_EQ(colour.g, g);
    EXPECT_EQ(colour.b, b);
    EXPECT_EQ(colour.a, a);
}

TEST_F(TextStyleTest, DefaultsDrawWhiteTextWithoutOutlineOrShadow) {
    const TextStyle style = load("");
    EXPECT_EQ(style.mKey, "");
    EXPECT_EQ(style.mKeyType, cTextKeyLocalized);
    EXPECT_EQ(style.mFontName, "");
    EXPECT_FLOAT_EQ(style.mFontSize, 0.0f);
    expectColour(style.mOutlineFill.outlineColor, 0, 0, 0, 255);
    EXPECT_FLOAT_EQ(style.mOutlineFill.outlineWidth, 0.0f);
    expectColour(style.mOutlineFill.fillColor, 255, 255, 255, 255);
    EXPECT_TRUE(style.mOutlineFill.gradient.getStops().empty());
    const DropShadowInfo& shadow = style.mDropShadow;
    EXPECT_EQ((std::vector<float>{shadow.offsetX, shadow.offsetY, shadow.alpha,
                                  shadow.brightness, shadow.blur}),
              (std::vector<float>{1, 1, 0, 0, 0}));
    EXPECT_FALSE(TextStyle().load(nullptr));
}

TEST_F(TextStyleTest, KeyTypes) {
    const struct {
        const char* key;
        int32_t want;
        const char* message;
    } cases[] = {
        {"<key>Hello</key>", cTextKeyLocalized, ""},
        {"<key type=\"DYNAMIC\">Hello</key>", cTextKeyDynamic, ""},
        {"<key type=\"Localized\">Hello</key>", cTextKeyLocalized, ""},
        {"<key type=\"spoken\">Hello</key>", cTextKeyLocalized, "unknown key type 'spoken'\n"},
        {"<key type=\"dynamic\">A</key><key type=\"spoken\">Hello</key>", cTextKeyDynamic,
         "unknown key type 'spoken'\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        const TextStyle style = load(c.key);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message) << c.key;
        EXPECT_EQ(style.mKeyType, c.want) << c.key;
        EXPECT_EQ(style.mKey, "Hello") << c.key;
    }
}

TEST_F(TextStyleTest, FontsByNameOrByOptions) {
    BConfig::instance().setString("HeaderFont", "Tarnwick Serif");
    BConfig::instance().setFloat("HeaderSize", 32.0f);
    BConfig::instance().define("UnsetSize");
    BConfig::instance().unset("UnsetSize");
    const struct {
        const char* font;
        const char* wantName;
        float wantSize;
    } cases[] = {
        {R"(<font name="Sans" size="18"/>)", "Sans", 18},
        {R"(<font type="plain" name="Sans" size="18"/>)", "Sans", 18},
        {R"(<font name="Sans" size="18"/><font size="20"/>)", "Sans", 20},
        {R"(<font type="Config" name="HeaderFont" size="HeaderSize"/>)", "Tarnwick Serif", 32},
        {R"(<font type="config" name="HeaderFont" size="UnsetSize"/>)", "Tarnwick Serif", 0},
        {R"(<font type="config" name="HeaderFont" size="24"/>)", "Tarnwick Serif", 24},
        {R"(<font name="Sans"/><font type="config" name="NoSuchFont" size="24"/>)", "Sans", 24},
    };
    for (const auto& c : cases) {
        const TextStyle style = load(c.font);
        EXPECT_EQ(style.mFontName, c.wantName) << c.font;
        EXPECT_FLOAT_EQ(style.mFontSize, c.wantSize) << c.font;
    }
}

TEST_F(TextStyleTest, ColoursStopAtTheFirstBadChannel) {
    const struct {
        const char* fill;
        int r, g, b, a;
    } cases[] = {
        {R"(<fillColor r="10" g="20" b="30" a="40"/>)", 10, 20, 30, 40},
        {R"(<fillColor r="10" g="x" b="30" a="40"/>)", 10, 0, 30, 40},
        {R"(<fillColor r="10" g="300" b="30" a="40"/>)", 10, 255, 255, 255},
        {R"(<fillColor r="10" g="-1" b="30" a="40"/>)", 10, 255, 255, 255},
        {R"(<fillColor r="10" g="20" b="30" a="256"/>)", 10, 20, 30, 255},
        {R"(<fillColor r="10" b="30"/>)", 10, 255, 255, 255},
        {R"(<fillColor r="10" g="20" b="30"/>)", 10, 20, 30, 255},
        {R"(<fillColor/>)", 255, 255, 255, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fill);
        // "x" reads as 0, as every integer attribute: only missing and
        // out-of-range channels stop.
        expectColour(load(c.fill).mOutlineFill.fillColor, c.r, c.g, c.b, c.a);
    }
}

TEST_F(TextStyleTest, OutlineGradientAndShadow) {
    const TextStyle style = load(R"(<outline r="9" g="8" b="7" a="6" width="1.5"/>
        <fillGradient><stop r="255" g="0" b="0" pos="0"/><stop g="200" pos="1"/></fillGradient>
        <dropShadow offsetX="2" offsetY="-3" alpha="0.5" brightness="0.2" blur="4"/>)");
    expectColour(style.mOutlineFill.outlineColor, 9, 8, 7, 6);
    EXPECT_FLOAT_EQ(style.mOutlineFill.outlineWidth, 1.5f);
    const auto& stops = style.mOutlineFill.gradient.getStops();
    ASSERT_EQ(stops.size(), 2u);
    expectColour(stops[0].color, 255, 0, 0, 255);
    // Without "r" nothing is read: the stop keeps its starting colour.
    expectColour(stops[1].color, 0, 0, 0, 255);
    EXPECT_FLOAT_EQ(stops[1].pos, 1.0f);
    const DropShadowInfo& shadow = style.mDropShadow;
    EXPECT_EQ((std::vector<float>{shadow.offsetX, shadow.offsetY, shadow.alpha,
                                  shadow.brightness, shadow.blur}),
              (std::vector<float>{2, -3, 0.5f, 0.2f, 4}));

    const DropShadowInfo empty = load("<dropShadow/>").mDropShadow;
    EXPECT_EQ((std::vector<float>{empty.offsetX, empty.offsetY, empty.alpha, empty.brightness,
                                  empty.blur}),
              (std::vector<float>{0, 0, 0, 0, 1}));
}

TEST_F(TextStyleTest, OutlineWidthAndShadowOffsetsFollowTheContentScale) {
    CCDirector::sharedDirector()->setContentScaleFactor(2.0f);
    const TextStyle style = load(R"(<outline width="1.5"/>
        <dropShadow offsetX="2" offsetY="-3" alpha="0.5" blur="4"/>)");
    EXPECT_FLOAT_EQ(style.mOutlineFill.outlineWidth, 3.0f);
    EXPECT_FLOAT_EQ(style.mDropShadow.offsetX, 4.0f);
    EXPECT_FLOAT_EQ(style.mDropShadow.offsetY, -6.0f);
    EXPECT_FLOAT_EQ(style.mDropShadow.alpha, 0.5f);
    EXPECT_FLOAT_EQ(style.mDropShadow.blur, 4.0f);
}

} // namespace
