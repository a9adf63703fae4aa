#pragma once

// A running GameScene over the shipped content (protos and settings of the
// source tree's data): the fixture of the scene tests that play real games.
// The test makes mGame; it is released, and the content cleared, afterwards.

#include "SceneTestSupport.h"

#include "content/protos/Database.h"
#include "rules/Game.h"

#include "platform/engine/CCFileUtils.h"

#include <filesystem>

class SampleSceneTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        const std::filesystem::path source = TARNWICK_SOURCE_DIR;
        setBaseFolder(source);
        cocos2d::CCFileUtils::setResourcePath((source / "data").string());
        Database::clear();
        ASSERT_TRUE(Database::init());
        ASSERT_TRUE(SettingsManager::instance().init());
        mBoardScene = enter();
        ASSERT_NE(mBoardScene, nullptr);
    }
    void TearDown() override {
        gCurrentGame = nullptr;
        if (mGame != nullptr)
            mGame->release();
        mGame = nullptr;
        SettingsManager::instance().clear();
        Database::clear();
        SceneTest::TearDown();
    }

    GameScene* mBoardScene = nullptr;
    Game* mGame = nullptr;
};
