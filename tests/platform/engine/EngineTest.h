#pragma once

// Shared fixture of the engine tests: a 960 x 640 pixel window at content
// scale 1, a hand-stepped director, and a purge after each test so that
// nothing outlives it (the leak checker sees every reference count). Probe
// classes record what the engine does to them.

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCScene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A node that counts its destruction and carries colour, opacity and a
// percentage, as sprites and progress timers do.
class ProbeNode : public cocos2d::CCNode,
                  public cocos2d::CCRGBAProtocol,
                  public cocos2d::CCProgressProtocol {
public:
    static ProbeNode* node() {
        auto* result = new ProbeNode();
        result->autorelease();
        return result;
    }
    ~ProbeNode() override { ++destroyed; }

    void setColor(const cocos2d::ccColor3B& value) override { color = value; }
    cocos2d::ccColor3B getColor() override { return color; }
    uint8_t getOpacity() override { return opacity; }
    void setOpacity(uint8_t value) override { opacity = value; }
    void setIsOpacityModifyRGB(bool) override {}
    bool getIsOpacityModifyRGB() override { return false; }
    void setPercentage(float value) override { percentage = value; }
    float getPercentage() override { return percentage; }

    // Callback shapes the actions and the scheduler call.
    void note(const std::string& what) {
        log.push_back(what);
        events.push_back(what);
    }
    void onCall() { note("call"); }
    void onCallN(cocos2d::CCNode* sender) { note(sender == this ? "callN self" : "callN other"); }
    void onCallND(cocos2d::CCNode*, void* data) { note(static_cast<const char*>(data)); }
    void removeSelf() {
        note("remove");
        removeFromParentAndCleanup(true);
    }
    void update(cocos2d::ccTime dt) override { note("update " + std::to_string(dt)); }

    static inline int destroyed = 0;
    static inline std::vector<std::string> events; // every probe's notes, in order
    std::vector<std::string> log;
    cocos2d::ccColor3B color = cocos2d::ccWHITE;
    uint8_t opacity = 255;
    float percentage = 0.0f;
};

// A node of class Base that records its lifecycle hooks into
// ProbeNode::events as "<name> enter", "<name> exit", "<name> cleanup" and
// "<name> appeared".
template <class Base> class Hooked : public Base {
public:
    static Hooked* make(const std::string& name) {
        auto* node = new Hooked();
        node->mName = name;
        if constexpr (requires { node->init(); })
            node->init();
        node->autorelease();
        return node;
    }
    void onEnter() override {
        ProbeNode::events.push_back(mName + " enter");
        Base::onEnter();
    }
    void onExit() override {
        ProbeNode::events.push_back(mName + " exit");
        Base::onExit();
    }
    void cleanup() override {
        ProbeNode::events.push_back(mName + " cleanup");
        Base::cleanup();
    }
    void onViewDidAppear(bool animated) override {
        ProbeNode::events.push_back(mName + " appeared");
        Base::onViewDidAppear(animated);
    }

private:
    std::string mName;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        director()->setWinSizeInPixels(cocos2d::CCSize(960, 640));
        ProbeNode::destroyed = 0;
        ProbeNode::events.clear();
    }
    void TearDown() override { director()->purgeDirector(); }

    static cocos2d::CCDirector* director() { return cocos2d::CCDirector::sharedDirector(); }

    // A running scene holding one running layer; returns the layer.
    cocos2d::CCLayer* runLayer() {
        cocos2d::CCScene* scene = cocos2d::CCScene::node();
        cocos2d::CCLayer* layer = cocos2d::CCLayer::node();
        scene->addChild(layer);
        director()->runWithScene(scene);
        director()->tick(0);
        return layer;
    }

    // A probe added to a running layer.
    ProbeNode* runningProbe() {
        cocos2d::CCLayer* layer = runLayer(); // drains the pool: make the probe after
        ProbeNode* probe = ProbeNode::node();
        layer->addChild(probe);
        return probe;
    }

    // Advances the director by n frames of dt seconds.
    static void tick(float dt, int n = 1) {
        for (int i = 0; i < n; ++i)
            director()->tick(dt);
    }
};
