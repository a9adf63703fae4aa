#pragma once

// The fixtures of the scene tests on the shipped content: its database and
// settings loaded; then also a running GameScene; then also a local game.

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

// A running GameScene over the shipped content; the test makes mGame, which
// is released afterwards.
class ShippedSceneTest : public ShippedContentTest {
protected:
    void SetUp() override {
        ShippedContentTest::SetUp();
        if (HasFatalFailure())
            return;
        mBoardScene = enter();
        ASSERT_NE(mBoardScene, nullptr);
    }
    void TearDown() override {
        gCurrentGame = nullptr;
        if (mGame != nullptr) {
            // The undo stack outlives the game.
            mGame->clearUndoStack();
            mGame->release();
        }
        mGame = nullptr;
        ShippedContentTest::TearDown();
    }

    GameScene* mBoardScene = nullptr;
    Game* mGame = nullptr;
};

// A local game of seed 11 at player 0's turn, made current, on that scene.
class ShippedGameTest : public ShippedSceneTest {
protected:
    void SetUp() override {
        ShippedSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        mGame = new Game();
        ASSERT_TRUE(mGame->init(11));
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        gCurrentGame = mGame;
    }
    void TearDown() override {
        if (mGame != nullptr)
            mGame->unlink(false);
        ShippedSceneTest::TearDown();
    }

    // A new entity of that proto, on no grid yet.
    Entity* make(const char* name, int32_t owner) {
        Entity* made =
            mGame->getEntity(mGame->createEntity(Database::getProtoIdByName(name), owner));
        EXPECT_NE(made, nullptr) << name;
        return made;
    }
};
