#include "SceneTestSupport.h"

#include "content/settings/ProtoCiv.h"

#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCSpriteFrame.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTexture2D.h"

#include <fstream>
#include <string>

using namespace cocos2d;

namespace {

class GameSceneSheetsTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        setBaseFolder(mRoot);
        std::filesystem::create_directories(mRoot / "data" / "Civ");
        writeSolidPng("Civ/Tiles.png", 256, 128, {0, 255, 0, 255});
        mCiv.mSpriteSheet = "Civ/Tiles";
        mHud = enter();
    }
    void TearDown() override {
        director()->setIsHighDefinition(false);
        for (const char* name : {"tile", "ok"})
            frames()->removeSpriteFrameByName(name);
        SceneTest::TearDown();
    }

    void writeSheet(const std::string& name, const std::string& text) const {
        std::ofstream(mRoot / "data" / (name + ".xml")) << text;
    }
    static CCSpriteFrameCache* frames() { return CCSpriteFrameCache::sharedSpriteFrameCache(); }

    ProtoCiv mCiv{7};
    GameScene* mHud = nullptr;
};

} // namespace

TEST_F(GameSceneSheetsTest, HighDefinitionHalvesTheHdTwinsRectangles) {
    writeSheet("Civ/Tiles-hd", R"(<sheet imagePath="Civ/Tiles-hd.png">
        <sprite n="tile" x="100" y="40" w="64" h="64"/></sheet>)");
    director()->setIsHighDefinition(true);
    mHud->loadSpriteSheet(&mCiv);
    CCSpriteFrame* frame = frames()->spriteFrameByName("tile");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getRect(), CCRect(50, 20, 32, 32));
}

TEST_F(GameSceneSheetsTest, ASecondLoadKeepsTheFirstFramesAndUnloadRemovesThem) {
    writeSheet("Civ/Tiles", R"(<sheet imagePath="Civ/Tiles.png">
        <sprite n="tile" x="1" y="2" w="3" h="4"/><sprite n="bad" x="1" y="2" w="3"/></sheet>)");
    mHud->loadSpriteSheet(&mCiv);
    CCSpriteFrame* first = frames()->spriteFrameByName("tile");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(frames()->spriteFrameByName("bad"), nullptr) << "missing an attribute: skipped";
    mHud->loadSpriteSheet(&mCiv);
    EXPECT_EQ(frames()->spriteFrameByName("tile"), first);
    mHud->unloadSpriteSheet(&mCiv);
    EXPECT_EQ(frames()->spriteFrameByName("tile"), nullptr);
}

TEST_F(GameSceneSheetsTest, BrokenSheetsRegisterNothing) {
    const char* sheets[] = {
        "<sheet",                                                     // malformed
        R"(<sheet><sprite n="ok" x="0" y="0" w="1" h="1"/></sheet>)", // no image path
        R"(<sheet imagePath="Civ/None.png"><sprite n="ok" x="0" y="0" w="1" h="1"/></sheet>)",
    };
    mHud->loadSpriteSheet(&mCiv); // no file yet
    mHud->loadSpriteSheet(nullptr);
    for (const char* sheet : sheets) {
        writeSheet("Civ/Tiles", sheet);
        mHud->loadSpriteSheet(&mCiv);
        EXPECT_EQ(frames()->spriteFrameByName("ok"), nullptr) << sheet;
    }
}

// The sample civs' sheets: each frame is named after an image file the
// attachments name (which stays for drawing without a bound game); the
// "-hd" twin holds the same rectangles in points.
TEST_F(GameSceneSheetsTest, TheSampleSheetsNameTheAttachmentsImages) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    CCFileUtils::setResourcePath(std::string(TARNWICK_SOURCE_DIR) + "/data/");
    struct Case {
        const char* sheet;
        const char* frame;
        bool highDefinition;
        CCRect rect;
        int imageWidth;
    };
    const Case cases[] = {
        {"Civ/Humans/Tiles", "Civ/Humans/Helm.png", false, CCRect(0, 0, 40, 40), 160},
        {"Civ/Humans/Tiles", "Civ/Humans/Sword_Color.png", false, CCRect(120, 0, 40, 40), 160},
        {"Civ/Orcs/Tiles", "Civ/Orcs/Cleaver_Color.png", true, CCRect(40, 0, 40, 40), 160},
    };
    for (const Case& c : cases) {
        director()->setIsHighDefinition(c.highDefinition);
        mCiv.mSpriteSheet = c.sheet;
        mHud->loadSpriteSheet(&mCiv);
        CCSpriteFrame* frame = frames()->spriteFrameByName(c.frame);
        ASSERT_NE(frame, nullptr) << c.frame;
        EXPECT_EQ(frame->getRect(), c.rect) << c.frame;
        EXPECT_EQ(frame->getTexture()->getPixelsWide(), c.imageWidth) << c.frame;
        EXPECT_TRUE(std::filesystem::exists(resolvePath(std::string("data/") + c.frame)));
        mHud->unloadSpriteSheet(&mCiv);
        EXPECT_EQ(frames()->spriteFrameByName(c.frame), nullptr) << c.frame;
    }
    CCFileUtils::setResourcePath(mRoot.string());
}
