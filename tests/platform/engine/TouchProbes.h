#pragma once

// Touch and keypad delegates that log what they receive into the shared
// event list ("name began", "name ended", "name set began 2", ...), with an
// optional action run inside ccTouchBegan.

#include "EngineTest.h"

#include "platform/engine/CCSet.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"

#include <functional>

class TargetProbe : public cocos2d::CCObject, public cocos2d::CCTargetedTouchDelegate {
public:
    // An autoreleased probe that answers claims to every ccTouchBegan.
    static TargetProbe* make(const std::string& name, bool claims) {
        auto* probe = new TargetProbe();
        probe->mName = name;
        probe->mClaims = claims;
        probe->autorelease();
        return probe;
    }
    ~TargetProbe() override { log("destroyed"); }

    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent*) override {
        log("began");
        if (onBegan)
            onBegan();
        return mClaims && (onlyId < 0 || touch->getId() == onlyId);
    }
    void ccTouchMoved(cocos2d::CCTouch*, cocos2d::CCEvent*) override { log("moved"); }
    void ccTouchEnded(cocos2d::CCTouch*, cocos2d::CCEvent*) override { log("ended"); }
    void ccTouchCancelled(cocos2d::CCTouch*, cocos2d::CCEvent*) override { log("cancelled"); }
    void ccRawMove(float x, float y, bool down) override {
        log("raw " + std::to_string(int(x)) + "," + std::to_string(int(y)) + (down ? " down" : ""));
    }

    std::function<void()> onBegan;
    int onlyId = -1; // when set, claims only the touch of that id

private:
    void log(const std::string& what) { ProbeNode::events.push_back(mName + " " + what); }

    std::string mName;
    bool mClaims = false;
};

class SetProbe : public cocos2d::CCObject, public cocos2d::CCStandardTouchDelegate {
public:
    static SetProbe* make(const std::string& name, bool wantsAll) {
        auto* probe = new SetProbe();
        probe->mName = name;
        probe->mWantsAll = wantsAll;
        probe->autorelease();
        return probe;
    }
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent*) override {
        log("began", touches);
    }
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent*) override {
        log("moved", touches);
    }
    void ccTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent*) override {
        log("ended", touches);
    }
    bool wantAllTouches() override { return mWantsAll; }

private:
    void log(const std::string& what, cocos2d::CCSet* touches) {
        ProbeNode::events.push_back(mName + " set " + what + " " +
                                    std::to_string(touches->count()));
    }

    std::string mName;
    bool mWantsAll = false;
};

// Builds touch sets and sends them through the shared dispatcher.
class TouchTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        mTouches.clear();
    }
    void TearDown() override {
        for (cocos2d::CCTouch* touch : mTouches)
            touch->release();
        EngineTest::TearDown();
    }

    // A touch kept for the whole test, at a view location.
    cocos2d::CCTouch* touchAt(float x, float y, int id = 0) {
        auto* touch = new cocos2d::CCTouch(id, x, y);
        mTouches.push_back(touch);
        return touch;
    }

    // The dispatcher's entry points, by phase.
    using Entry = void (cocos2d::CCTouchDispatcher::*)(cocos2d::CCSet*, cocos2d::CCEvent*);
    struct Phase {
        static constexpr Entry Began = &cocos2d::CCTouchDispatcher::touchesBegan;
        static constexpr Entry Moved = &cocos2d::CCTouchDispatcher::touchesMoved;
        static constexpr Entry Ended = &cocos2d::CCTouchDispatcher::touchesEnded;
        static constexpr Entry Cancelled = &cocos2d::CCTouchDispatcher::touchesCancelled;
    };
    static void send(Entry phase, std::initializer_list<cocos2d::CCTouch*> touches) {
        auto* set = new cocos2d::CCSet();
        for (cocos2d::CCTouch* touch : touches)
            set->addObject(touch);
        (dispatcher()->*phase)(set, nullptr);
        set->release();
    }

    static cocos2d::CCTouchDispatcher* dispatcher() {
        return cocos2d::CCTouchDispatcher::sharedDispatcher();
    }

    std::vector<cocos2d::CCTouch*> mTouches;
};
