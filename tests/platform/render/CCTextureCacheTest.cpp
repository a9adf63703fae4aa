#include "RenderTest.h"

#include "platform/render/CCImage.h"
#include "platform/render/CCTexture2D.h"

using namespace cocos2d;

namespace {

class TextureCacheTest : public RenderTest {
protected:
    CCTextureCache* cache() { return CCTextureCache::sharedTextureCache(); }
};

} // namespace

TEST_F(TextureCacheTest, TheSamePathGivesTheSameTextureAndBadFilesGiveNone) {
    writeSolidPng("UI/Box.png", 8, 4, {255, 0, 0, 255});
    writeText("UI/Broken.png", "not an image");
    CCTexture2D* box = cache()->addImage("UI/Box.png");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(cache()->addImage("UI/Box.png"), box);
    EXPECT_EQ(box->getPixelsWide(), 8);
    EXPECT_EQ(box->getPixelsHigh(), 4);
    EXPECT_EQ(cache()->addImage("UI/Missing.png"), nullptr);
    EXPECT_EQ(cache()->addImage("UI/Broken.png"), nullptr);
    EXPECT_EQ(cache()->addImage(""), nullptr);
    EXPECT_EQ(cache()->count(), 1u);
}

TEST_F(TextureCacheTest, UnusedTexturesGoAndHeldOnesStay) {
    writeSolidPng("A.png", 2, 2, {1, 2, 3, 255});
    writeSolidPng("B.png", 2, 2, {1, 2, 3, 255});
    CCTexture2D* held = cache()->addImage("A.png");
    held->retain();
    cache()->addImage("B.png");
    cache()->removeUnusedTextures();
    EXPECT_EQ(cache()->textureForKey("A.png"), held);
    EXPECT_EQ(cache()->textureForKey("B.png"), nullptr);
    held->release();
    cache()->removeUnusedTextures();
    EXPECT_EQ(cache()->count(), 0u);
}

TEST_F(TextureCacheTest, HighDefinitionPrefersHdFilesAndMeasuresInPoints) {
    writeSolidPng("Knight.png", 32, 16, {0, 0, 255, 255});
    writeSolidPng("Knight-hd.png", 64, 32, {0, 0, 255, 255});
    writeSolidPng("Plain.png", 32, 16, {0, 0, 255, 255});
    struct Case {
        bool hd;
        const char* path;
        int pixelsWide;
        float pointsWide;
    };
    const Case cases[] = {
        {false, "Knight.png", 32, 32},   {true, "Knight.png", 64, 32},
        {true, "Plain.png", 32, 32},     {false, "Knight-hd.png", 64, 32},
        {true, "Knight-hd.png", 64, 32},
    };
    for (const Case& c : cases) {
        director()->setContentScaleFactor(2.0f);
        director()->setIsHighDefinition(c.hd);
        CCTextureCache::purgeSharedTextureCache();
        CCTexture2D* texture = cache()->addImage(c.path);
        ASSERT_NE(texture, nullptr) << c.path;
        EXPECT_EQ(texture->getPixelsWide(), c.pixelsWide) << c.hd << " " << c.path;
        EXPECT_FLOAT_EQ(texture->getContentSize().width, c.pointsWide) << c.hd << " " << c.path;
    }
}

TEST_F(TextureCacheTest, TexturesKeepPremultipliedPixelsUntilUploaded) {
    writeSolidPng("Half.png", 1, 1, {200, 100, 50, 128});
    CCTexture2D* texture = cache()->addImage("Half.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->isUploaded());
    const std::vector<uint8_t> expected = {100, 50, 25, 128};
    EXPECT_EQ(texture->getPixels(), expected);
}

TEST_F(TextureCacheTest, ImagesReportTheirAlphaAndDepth) {
    writeSolidPng("Rgba.png", 3, 2, {9, 9, 9, 10});
    struct Case {
        std::string path;
        bool loads;
        bool alpha;
        int bits;
    };
    const std::string fixtures = std::string(TARNWICK_FIXTURES_DIR) + "/scene/views/";
    const Case cases[] = {
        {(mRoot / "Rgba.png").string(), true, true, 8},
        {fixtures + "Deep16.png", true, true, 16},
        {(mRoot / "None.png").string(), false, false, 0},
        {mRoot.string(), false, false, 0}, // a folder
    };
    for (const Case& c : cases) {
        CCImage image;
        EXPECT_EQ(image.initWithImageFile(c.path), c.loads) << c.path;
        EXPECT_EQ(image.hasAlpha(), c.alpha) << c.path;
        EXPECT_EQ(image.getBitsPerComponent(), c.bits) << c.path;
    }
}
