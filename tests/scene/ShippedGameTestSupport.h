#pragma once

// The fixtures of the scene tests on the shipped content: its database and
// settings loaded; then also a running GameScene and a local game of seed
// 11 at player 0's turn, made current.

#include "SceneTestSupport.h"

#include "content/protos/Database.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "platform/engine/CCFileUtils.h"

#include <filesystem>

class ShippedContentTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        const std::filesystem::path source = TARNWICK_SOURCE_DIR;
        setBaseFolder(source);
        cocos2d::CCFileUtils::setResourcePath((source / "data").string());
        Database::clear();
        ASSERT_TRUE(Database::init());
        ASSERT_TRUE(SettingsManager::instance().init());
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        Database::clear();
        SceneTest::TearDown();
    }
};

class ShippedGameTest : public ShippedContentTest {
protected:
    void SetUp() override {
        ShippedContentTest::SetUp();
        if (HasFatalFailure())
            return;
        mBoardScene = enter();
        ASSERT_NE(mBoardScene, nullptr);
        mGame = new Game();
        ASSERT_TRUE(mGame->init(11));
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        gCurrentGame = mGame;
    }
    void TearDown() override {
        gCurrentGame = nullptr;
        if (mGame != nullptr) {
            mGame->unlink(false);
            // The undo stack outlives the game.
            mGame->clearUndoStack();
            mGame->release();
        }
        ShippedContentTest::TearDown();
    }

    // A new entity of that proto, on no grid yet.
    Entity* make(const char* name, int32_t owner) {
        Entity* made =
            mGame->getEntity(mGame->createEntity(Database::getProtoIdByName(name), owner));
        EXPECT_NE(made, nullptr) << name;
        return made;
    }

    GameScene* mBoardScene = nullptr;
    Game* mGame = nullptr;
};
