#include "scene/views/AlphaMask.h"
#include "scene/views/ImagePaths.h"

#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCNode.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace cocos2d;

namespace {

class AlphaMaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        mRoot = std::filesystem::path(::testing::TempDir()) /
                (std::string("alpha-mask-") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mRoot);
    }
    void TearDown() override {
        CCFileUtils::setResourcePath("");
        std::filesystem::remove_all(mRoot);
    }
    // A 4 x 2 RGBA image (rows from the top) whose alpha bytes are given.
    std::string writeAlphas(const std::string& name, const std::vector<uint8_t>& alphas) {
        std::vector<uint8_t> pixels;
        for (uint8_t a : alphas)
            pixels.insert(pixels.end(), {255, 255, 255, a});
        const std::string path = (mRoot / name).string();
        stbi_write_png(path.c_str(), 4, 2, 4, pixels.data(), 16);
        return path;
    }
    std::filesystem::path mRoot;
};

} // namespace

TEST_F(AlphaMaskTest, BitsAreSetFromAlpha128AndCountFromTheBottomRow) {
    // Top row: 127, 128, 0, 255; bottom row: 255, 0, 0, 0.
    const std::string file = writeAlphas("Part.png", {127, 128, 0, 255, 255, 0, 0, 0});
    AlphaMask mask;
    ASSERT_TRUE(mask.initWithImageFile(file));
    EXPECT_EQ(mask.getWidth(), 4);
    EXPECT_EQ(mask.getHeight(), 2);
    const bool want[] = {true, false, false, false, false, true, false, true};
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(mask.isOpaqueAt(bit), want[bit]) << bit;
    EXPECT_FALSE(mask.isOpaqueAt(8));
    EXPECT_FALSE(mask.isOpaqueAt(-1));
}

TEST_F(AlphaMaskTest, ImagesWithoutAlphaOrDeeperThan8BitsGiveNoMask) {
    const std::vector<uint8_t> rgb(4 * 2 * 3, 200);
    const std::string flat = (mRoot / "Flat.png").string();
    stbi_write_png(flat.c_str(), 4, 2, 3, rgb.data(), 12);
    std::ofstream(mRoot / "Text.png") << "no image";
    const std::string deep = std::string(TARNWICK_FIXTURES_DIR) + "/scene/views/Deep16.png";
    for (const std::string& file :
         {flat, deep, (mRoot / "Text.png").string(), (mRoot / "Missing.png").string()}) {
        EXPECT_EQ(AlphaMask::create(file), nullptr) << file;
        EXPECT_EQ(AlphaMask::indexForFile(file), -1) << file;
    }
}

TEST_F(AlphaMaskTest, TheCacheKeepsMasksByNameAndRetriesFailures) {
    const std::string later = (mRoot / "Later.png").string();
    EXPECT_EQ(AlphaMask::indexForFile(later), -1);
    writeAlphas("Later.png", std::vector<uint8_t>(8, 255));
    const int index = AlphaMask::indexForFile(later);
    ASSERT_GE(index, 0);
    EXPECT_EQ(AlphaMask::indexForFile(later), index);
    EXPECT_NE(AlphaMask::maskAtIndex(index), nullptr);
    EXPECT_EQ(AlphaMask::maskAtIndex(-1), nullptr);
    EXPECT_EQ(AlphaMask::maskAtIndex(index + 1000), nullptr);
}

TEST_F(AlphaMaskTest, HitsNeedTheContentRectangleAndAnOpaquePixel) {
    const std::string file = writeAlphas("Hit.png", {255, 0, 0, 255, 255, 255, 0, 0});
    const AlphaMask* mask = AlphaMask::create(file);
    ASSERT_NE(mask, nullptr);
    CCNode* node = new CCNode();
    node->setContentSize(CCSize(4, 2));
    node->setPosition(CCPoint(100, 50));
    struct Case {
        CCPoint world;
        bool withMask;
        bool withoutMask;
    };
    const Case cases[] = {
        {{100.5f, 50.5f}, true, true},  // bottom-left pixel, bit 0
        {{102.5f, 50.5f}, false, true}, // bottom row, transparent
        {{103.5f, 51.5f}, true, true},  // top-right pixel
        {{104.0f, 51.0f}, false, true}, // on the right edge: outside the mask
        {{101.0f, 52.0f}, false, true}, // on the top edge: outside the mask
        {{99.5f, 50.5f}, false, false}, // left of the node
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlphaMask::hitTest(c.world, node, mask), c.withMask)
            << c.world.x << "," << c.world.y;
        EXPECT_EQ(AlphaMask::hitTest(c.world, node, nullptr), c.withoutMask) << c.world.x;
    }
    node->release();
    delete mask;
}

TEST_F(AlphaMaskTest, ColourCompanionsAreFoundBesideTheImage) {
    CCFileUtils::setResourcePath(mRoot.string());
    std::filesystem::create_directories(mRoot / "Units");
    std::ofstream(mRoot / "Units/Knight_Color-hd.png") << "x";
    struct Case {
        const char* image;
        const char* colour;
        bool found;
    };
    const Case cases[] = {
        {"data/Units/Knight-hd.png", "data/Units/Knight_Color-hd.png", true},
        {"Units/Knight-hd.png", "Units/Knight_Color-hd.png", true},
        {"Units/Knight.pvr", "Units/Knight_Color.png", false},
        {"Units/Knight-hd.big.png", "Units/Knight_Color-hd.png", true},
        {"Units/Knight-iPad.png", "Units/Knight_Color-iPad.png", false},
        {"Units/Knight", "Units/Knight", false},
    };
    for (const Case& c : cases) {
        std::string colour;
        EXPECT_EQ(findColorImagePath(c.image, colour), c.found) << c.image;
        EXPECT_EQ(colour, c.colour) << c.image;
    }
}

TEST(ImagePathTest, PathsAreCutAtTheirLastDot) {
    struct Case {
        const char* path;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"Units/Knight.png", "Units/Knight", "png"},
        {"Knight.big.png", "Knight.big", "png"},
        {"Knight", "Knight", "Knight"},
        {"Knight.", "Knight", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        std::string before = c.path;
        std::string after = c.path;
        removePathExtension(before);
        keepPathExtension(after);
        EXPECT_EQ(before, c.before) << c.path;
        EXPECT_EQ(after, c.after) << c.path;
    }
}
