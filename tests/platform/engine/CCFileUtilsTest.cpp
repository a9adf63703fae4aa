#include "platform/engine/CCFileUtils.h"

#include <gtest/gtest.h>

using namespace cocos2d;

namespace {

const std::string kData = std::string(TARNWICK_FIXTURES_DIR) + "/platform/engine/data";

class FileUtilsTest : public ::testing::Test {
protected:
    void TearDown() override { CCFileUtils::setResourcePath(""); }
};

} // namespace

TEST_F(FileUtilsTest, TheHighDefinitionSuffixComesOffTheFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"UI/Avatars/Face01-hd.png", "UI/Avatars/Face01.png"},
        {"Humans-hd", "Humans"},
        {"UI/Face01.png", "UI/Face01.png"},
        {"UI/hd-Face.png", "UI/hd-Face.png"},
        {"Units-hd/Knight.png", "Units-hd/Knight.png"},
        {"Knight-hd.sheet-hd.png", "Knight-hd.sheet.png"},
        {"-hd", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        std::string path = in;
        CCFileUtils::ccRemoveHDSuffixFromFile(path);
        EXPECT_EQ(path, out) << in;
    }
}

TEST_F(FileUtilsTest, RelativePathsResolveFromTheResourceRoot) {
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("UI\\Marker.txt"), "UI/Marker.txt");
    CCFileUtils::setResourcePath(kData);
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("UI\\Marker.txt"), kData + "/UI/Marker.txt");
    EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("/abs/file.png"), "/abs/file.png");
    CCFileUtils::setResourcePath(kData + "/");
    const std::string full = CCFileUtils::fullPathFromRelativePath("UI/Marker.txt");
    EXPECT_EQ(full, kData + "/UI/Marker.txt");
    EXPECT_TRUE(CCFileUtils::fileExists(full));
    EXPECT_FALSE(CCFileUtils::fileExists(CCFileUtils::fullPathFromRelativePath("UI/Gone.png")));
    EXPECT_FALSE(CCFileUtils::fileExists(CCFileUtils::fullPathFromRelativePath("UI")))
        << "a folder is not a file";
}
