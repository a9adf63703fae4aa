#pragma once

// The fixture of the game scene's tests: the widget tests' hand-stepped
// director, recording audio and touches, with the program's scene services
// installed instead of the widget tests' plain layer, and a way to make a
// running GameScene. The slow motion's time scale and the layout mode go
// back to their defaults afterwards.

#include "widgets/WidgetTestSupport.h"

#include "scene/GameScene.h"
#include "scene/GameSceneServices.h"

#include "content/DataPath.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetRegistry.h"

#include "platform/engine/CCScheduler.h"

class SceneTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        mGameScene.reset(); // no plain layer: the scenes made here are gGameScene
        setSceneServices(&mSceneServices);
        mActionPoints = SettingsManager::instance().mActionPointsPerTurn;
    }
    void TearDown() override {
        mScene->removeAllChildrenWithCleanup(true);
        director()->tick(0);
        SettingsManager::instance().mActionPointsPerTurn = mActionPoints;
        GameScene::setLayoutMode(0);
        cocos2d::CCScheduler::sharedScheduler()->setTimeScale(1.0f);
        PuppetRegistry::clear();
        setBaseFolder(".");
        WidgetTest::TearDown();
    }

    // A new scene on the running CCScene (so it has entered), or null.
    GameScene* enter() {
        GameScene* scene = GameScene::node();
        if (scene != nullptr)
            mScene->addChild(scene);
        return scene;
    }

    GameSceneServices mSceneServices;
    int32_t mActionPoints = 0;
};
