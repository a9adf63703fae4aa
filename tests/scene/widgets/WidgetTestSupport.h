#pragma once

// The fixture of the widget tests: the render tests' hand-stepped director
// (960 x 640 points, images written under a fresh resource root), a running
// scene whose plain layer is the game scene's node (gGameScene), the
// tooltip services installed, the option "Sound" set over the recording
// audio back end, and touches sent through the shared dispatcher in
// scene coordinates. Everything is dropped afterwards, so the leak checker
// sees every reference.

#include "../../platform/render/RenderTest.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "../../rules/NullGameScene.h"
#include "rules/SceneServices.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/widgets/TooltipManager.h"
#include "scene/widgets/TooltipServices.h"

#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSet.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"

#include <memory>
#include <string>
#include <vector>

// A game scene whose node is a plain layer; nothing else is shown.
class LayerScene : public NullGameScene {
public:
    explicit LayerScene(cocos2d::CCNode* node) : mNode(node) { gGameScene = this; }
    ~LayerScene() override { gGameScene = nullptr; }
    cocos2d::CCNode* getSceneNode() override { return mNode; }

private:
    cocos2d::CCNode* mNode;
};

// A delegate below the widgets that counts the touches it is offered.
class CountingDelegate : public cocos2d::CCObject, public cocos2d::CCTargetedTouchDelegate {
public:
    bool ccTouchBegan(cocos2d::CCTouch*, cocos2d::CCEvent*) override {
        ++mBegan;
        return true;
    }
    int mBegan = 0;
};

// A node that reports its destruction.
class WatchedNode : public cocos2d::CCNode {
public:
    explicit WatchedNode(bool* destroyed) : mDestroyed(destroyed) {}
    ~WatchedNode() override { *mDestroyed = true; }

private:
    bool* mDestroyed;
};

class WidgetTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        auto backend = std::make_unique<CocosDenshion::RecordingAudioBackend>();
        mAudio = backend.get();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
        BConfig::instance().defineById(cOptSound);
        gSoundsEnabled = true;
        mScene = cocos2d::CCScene::node();
        mLayer = cocos2d::CCLayer::node();
        mScene->addChild(mLayer);
        director()->runWithScene(mScene);
        director()->tick(0);
        mGameScene = std::make_unique<LayerScene>(mLayer);
        setSceneServices(&mServices);
    }
    void TearDown() override {
        cocos2d::CCTouchDispatcher::sharedDispatcher()->removeDelegate(&gTooltipManager);
        for (cocos2d::CCTouch* touch : mTouches)
            touch->release();
        mTouches.clear();
        gTooltipManager.purge();
        mGameScene.reset();
        setSceneServices(nullptr);
        BConfig::instance().reset();
        CocosDenshion::SimpleAudioEngine::end();
        RenderTest::TearDown();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }

    // Runs frames of dt seconds until the time has passed.
    static void run(float seconds, float dt = 1.0f / 60) {
        for (float t = 0; t + dt / 2 < seconds; t += dt)
            director()->tick(dt);
    }

    // A touch at a scene point (the view's y runs downwards).
    cocos2d::CCTouch* touchAt(float x, float y) {
        auto* touch = new cocos2d::CCTouch(0, x, director()->getWinSize().height - y);
        mTouches.push_back(touch);
        return touch;
    }
    using Entry = void (cocos2d::CCTouchDispatcher::*)(cocos2d::CCSet*, cocos2d::CCEvent*);
    static void send(Entry phase, cocos2d::CCTouch* touch) {
        auto* set = new cocos2d::CCSet();
        set->addObject(touch);
        (cocos2d::CCTouchDispatcher::sharedDispatcher()->*phase)(set, nullptr);
        set->release();
    }
    void press(cocos2d::CCTouch* touch) { send(&cocos2d::CCTouchDispatcher::touchesBegan, touch); }
    void moveTo(cocos2d::CCTouch* touch, float x, float y) {
        touch->setTouchInfo(0, x, director()->getWinSize().height - y);
        send(&cocos2d::CCTouchDispatcher::touchesMoved, touch);
    }
    void lift(cocos2d::CCTouch* touch) { send(&cocos2d::CCTouchDispatcher::touchesEnded, touch); }
    // A press and release at one point.
    void tap(float x, float y) {
        cocos2d::CCTouch* touch = touchAt(x, y);
        press(touch);
        lift(touch);
    }

    // The effects played since the last look, relative to the resource root.
    std::vector<std::string> playedSounds() {
        std::vector<std::string> played;
        const std::string root = mRoot.string() + "/";
        for (const std::string& call : mAudio->calls()) {
            if (!call.starts_with("playEffect "))
                continue;
            const size_t start = call.find(' ', 11) + 1;
            std::string path = call.substr(start, call.rfind(' ') - start);
            if (path.starts_with(root))
                path.erase(0, root.size());
            played.push_back(path);
        }
        mAudio->clear();
        return played;
    }

    CocosDenshion::RecordingAudioBackend* mAudio = nullptr;
    cocos2d::CCScene* mScene = nullptr;
    cocos2d::CCLayer* mLayer = nullptr; // the game scene's node
    std::unique_ptr<LayerScene> mGameScene;
    TooltipServices mServices;
    std::vector<cocos2d::CCTouch*> mTouches;
};
