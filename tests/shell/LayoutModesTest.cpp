#include "shell/LayoutModes.h"

#include "content/BConfig.h"
#include "content/Preferences.h"
#include "scene/GameScene.h"

#include <gtest/gtest.h>

TEST(LayoutModes, ChosenByTheDesktopUnlessMediumIsAskedFor) {
    struct Case {
        int width;
        int height;
        bool forceMedium;
        bool storedMedium;
        bool apply;
        int mode;
    };
    const Case cases[] = {
        {1434, 990, false, false, true, 2}, {1433, 990, false, false, true, 1},
        {1434, 989, false, false, true, 1}, {1920, 1080, true, false, true, 1},
        {1920, 1080, false, true, true, 1}, {1920, 1080, false, true, false, 2},
        {800, 600, false, false, false, 1},
    };
    for (const Case& c : cases) {
        setDesktopModeOverride(DesktopMode{c.width, c.height, 4});
        BConfig::instance().reset();
        if (c.forceMedium)
            BConfig::instance().parseLine("forceLayoutMedium", nullptr);
        builtInPreferenceStore().clear();
        if (c.storedMedium)
            prefSetBool("Vellix_MediumLayout", true);
        GameScene::setLayoutMode(-1);
        EXPECT_EQ(chooseLayoutMode(c.apply), c.mode) << c.width << "x" << c.height;
        EXPECT_EQ(GameScene::layoutMode(), c.apply ? c.mode : -1);
    }
    setDesktopModeOverride(std::nullopt);
    BConfig::instance().reset();
}

TEST(LayoutModes, RectanglesOfEachMode) {
    struct Case {
        int mode;
        int width;
        int height;
        LayoutRect board;
        LayoutRect navMenu;
        LayoutRect chat;
    };
    const Case cases[] = {
        {0, 800, 600, {315, 14, 480, 320}, {4, 44, 300, 540}, {315, 380, 480, 205}},
        {1, 1280, 680, {313, 14, 960, 640}, {6, 58, 302, 299}, {7, 364, 300, 288}},
        {2, 1434, 990, {395, 14, 1024, 768}, {14, 54, 370, 922}, {395, 795, 1025, 183}},
    };
    for (const Case& c : cases) {
        int width = 0;
        int height = 0;
        LayoutRect board, navMenu, chat;
        ASSERT_TRUE(layoutWindowSize(c.mode, width, height));
        ASSERT_TRUE(layoutBoardRect(c.mode, board));
        ASSERT_TRUE(layoutNavMenuRect(c.mode, navMenu));
        ASSERT_TRUE(layoutChatRect(c.mode, chat));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(board, c.board) << c.mode;
        EXPECT_EQ(navMenu, c.navMenu) << c.mode;
        EXPECT_EQ(chat, c.chat) << c.mode;
    }
    for (int mode : {3, -1}) {
        int width = 7;
        int height = 7;
        LayoutRect rect{1, 2, 3, 4};
        EXPECT_FALSE(layoutWindowSize(mode, width, height));
        EXPECT_FALSE(layoutBoardRect(mode, rect));
        EXPECT_FALSE(layoutNavMenuRect(mode, rect));
        EXPECT_FALSE(layoutChatRect(mode, rect));
        EXPECT_EQ(width, 7);
        EXPECT_EQ(rect, (LayoutRect{1, 2, 3, 4})) << "nothing written";
    }
}
