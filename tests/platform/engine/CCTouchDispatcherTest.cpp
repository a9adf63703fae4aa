#include "TouchProbes.h"

#include "platform/engine/CCKeypadDispatcher.h"

using namespace cocos2d;

namespace {

using Events = std::vector<std::string>;

class TouchDispatcherTest : public TouchTest {};

} // namespace

TEST_F(TouchDispatcherTest, TargetedDelegatesAreAskedByPriorityThenMostRecentFirst) {
    dispatcher()->addTargetedDelegate(TargetProbe::make("a0", false), 0, true);
    dispatcher()->addTargetedDelegate(TargetProbe::make("b-5", false), -5, true);
    dispatcher()->addTargetedDelegate(TargetProbe::make("c0", false), 0, true);
    dispatcher()->addTargetedDelegate(TargetProbe::make("d3", false), 3, true);
    dispatcher()->addStandardDelegate(SetProbe::make("s", false), 10);
    send(Phase::Began, {touchAt(1, 1)});
    EXPECT_EQ(ProbeNode::events,
              (Events{"b-5 began", "c0 began", "a0 began", "d3 began", "s set began 1"}));
}

TEST_F(TouchDispatcherTest, ASwallowedTouchGoesOnlyToItsClaimerAndToDelegatesWantingAll) {
    dispatcher()->addTargetedDelegate(TargetProbe::make("below", true), 3, true);
    dispatcher()->addTargetedDelegate(TargetProbe::make("button", true), 0, true);
    dispatcher()->addStandardDelegate(SetProbe::make("scene", true), 10);
    dispatcher()->addStandardDelegate(SetProbe::make("plain", false), 10);
    CCTouch* touch = touchAt(1, 1);
    send(Phase::Began, {touch});
    send(Phase::Moved, {touch});
    send(Phase::Ended, {touch});
    send(Phase::Moved, {touch}); // after the end nobody holds the claim
    EXPECT_EQ(ProbeNode::events, (Events{"button began", "scene set began 1", "button moved",
                                         "scene set moved 1", "button ended", "scene set ended 1",
                                         "plain set moved 1", "scene set moved 1"}));
}

TEST_F(TouchDispatcherTest, ANonSwallowingClaimerLetsOthersSeeTheTouch) {
    dispatcher()->addTargetedDelegate(TargetProbe::make("watcher", true), 0, false);
    dispatcher()->addTargetedDelegate(TargetProbe::make("game", true), 3, true);
    dispatcher()->addStandardDelegate(SetProbe::make("plain", false), 10);
    CCTouch* touch = touchAt(1, 1);
    send(Phase::Began, {touch});
    send(Phase::Cancelled, {touch});
    EXPECT_EQ(ProbeNode::events,
              (Events{"watcher began", "game began", "watcher cancelled", "game cancelled"}));
}

TEST_F(TouchDispatcherTest, EachTouchOfASetIsRoutedOnItsOwn) {
    TargetProbe* picky = TargetProbe::make("picky", true);
    picky->onlyId = 0;
    dispatcher()->addTargetedDelegate(picky, 0, true);
    dispatcher()->addStandardDelegate(SetProbe::make("plain", false), 10);
    CCTouch* first = touchAt(1, 1, 0);
    CCTouch* second = touchAt(2, 2, 1);
    send(Phase::Began, {first, second});
    send(Phase::Moved, {first, second});
    EXPECT_EQ(ProbeNode::events, (Events{"picky began", "picky began", "plain set began 1",
                                         "picky moved", "plain set moved 1"}));
    ProbeNode::events.clear();
    dispatcher()->removeDelegate(picky);
    send(Phase::Moved, {first, second});
    EXPECT_EQ(ProbeNode::events, Events{"plain set moved 2"}) << "the claim went with it";
}

TEST_F(TouchDispatcherTest, DelegatesAddedOrRemovedDuringADispatchTakeEffectAfterIt) {
    TargetProbe* first = TargetProbe::make("first", false);
    TargetProbe* removed = TargetProbe::make("removed", false);
    TargetProbe* added = TargetProbe::make("added", true);
    first->onBegan = [=] {
        dispatcher()->removeDelegate(removed);
        dispatcher()->addTargetedDelegate(added, -100, true);
    };
    dispatcher()->addTargetedDelegate(removed, 5, true);
    dispatcher()->addTargetedDelegate(first, 0, true);
    send(Phase::Began, {touchAt(1, 1)});
    EXPECT_EQ(ProbeNode::events, Events{"first began"});
    ProbeNode::events.clear();
    first->onBegan = nullptr;
    send(Phase::Began, {touchAt(2, 2)});
    EXPECT_EQ(ProbeNode::events, Events{"added began"});
    EXPECT_FALSE(dispatcher()->isRegistered(removed));
}

TEST_F(TouchDispatcherTest, ADelegateMayRemoveAndDropItselfInsideItsOwnCall) {
    // A modal layer swallows the tap, unregisters and lets go of its last
    // reference from inside its own handler; it dies only after the dispatch.
    dispatcher()->addTargetedDelegate(TargetProbe::make("below", true), 3, true);
    TargetProbe* modal = TargetProbe::make("modal", true);
    modal->retain(); // the creator's reference
    modal->onBegan = [modal] {
        dispatcher()->removeDelegate(modal);
        modal->release();
    };
    dispatcher()->addTargetedDelegate(modal, 0, true);
    tick(0);
    CCTouch* touch = touchAt(1, 1);
    send(Phase::Began, {touch});
    send(Phase::Ended, {touch});
    EXPECT_EQ(ProbeNode::events, Events{"modal began"}) << "swallowed, and no end after removal";
    tick(0);
    EXPECT_EQ(ProbeNode::events.back(), "modal destroyed");
    send(Phase::Began, {touchAt(2, 2)});
    EXPECT_EQ(ProbeNode::events.back(), "below began");
}

TEST_F(TouchDispatcherTest, RawMovesReachEveryDelegate) {
    dispatcher()->addTargetedDelegate(TargetProbe::make("a", false), 0, true);
    dispatcher()->addTargetedDelegate(TargetProbe::make("b", false), 3, true);
    dispatcher()->rawMove(12, 34, true);
    EXPECT_EQ(ProbeNode::events, (Events{"a raw 12,34 down", "b raw 12,34 down"}));
}

namespace {

class KeyProbe : public CCObject, public CCKeypadDelegate {
public:
    static KeyProbe* make(const std::string& name) {
        auto* probe = new KeyProbe();
        probe->mName = name;
        probe->autorelease();
        return probe;
    }
    void keyBackClicked() override {
        ProbeNode::events.push_back(mName + " back");
        if (onBack)
            onBack();
    }
    void keyMenuClicked() override { ProbeNode::events.push_back(mName + " menu"); }
    std::function<void()> onBack;

private:
    std::string mName;
};

} // namespace

TEST_F(TouchDispatcherTest, KeypadKeysReachEveryDelegateWithTheSameDeferral) {
    CCKeypadDispatcher* keypad = CCKeypadDispatcher::sharedDispatcher();
    KeyProbe* first = KeyProbe::make("first");
    KeyProbe* second = KeyProbe::make("second");
    KeyProbe* late = KeyProbe::make("late");
    keypad->addDelegate(first);
    keypad->addDelegate(second);
    second->onBack = [=] {
        keypad->removeDelegate(first);
        keypad->addDelegate(late);
    };
    EXPECT_TRUE(keypad->dispatchKeypadMSG(kTypeBackClicked));
    EXPECT_EQ(ProbeNode::events, Events{"second back"}) << "most recent first; first removed";
    second->onBack = nullptr;
    keypad->dispatchKeypadMSG(kTypeMenuClicked);
    EXPECT_EQ(ProbeNode::events, (Events{"second back", "late menu", "second menu"}));
    EXPECT_FALSE(keypad->dispatchKeypadMSG(ccKeypadMSGType(99)));
}

namespace {

// The game scene's way in: touch on before the node's own entering, then its
// own registration as a standard delegate at priority 10.
class SceneLayer : public CCLayer {
public:
    void onEnter() override {
        setIsTouchEnabled(true);
        CCTouchDispatcher::sharedDispatcher()->addStandardDelegate(this, 10);
        CCNode::onEnter();
    }
    void onExit() override {
        CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
        CCNode::onExit();
    }
    void ccTouchesBegan(CCSet*, CCEvent*) override { ProbeNode::events.push_back("scene"); }
};

} // namespace

TEST_F(TouchDispatcherTest, LayersRegisterOnlyWhileRunning) {
    CCLayer* root = runLayer();
    CCLayer* layer = CCLayer::node();
    layer->setIsTouchEnabled(true);
    EXPECT_FALSE(dispatcher()->isRegistered(layer)) << "not running yet";
    root->addChild(layer);
    EXPECT_TRUE(dispatcher()->isRegistered(layer));
    layer->setIsTouchEnabled(false);
    EXPECT_FALSE(dispatcher()->isRegistered(layer));
    layer->setIsTouchEnabled(true);
    EXPECT_TRUE(dispatcher()->isRegistered(layer));
    layer->removeFromParentAndCleanup(true);
    EXPECT_FALSE(dispatcher()->isRegistered(layer));

    auto* scene = new SceneLayer();
    scene->init();
    root->addChild(scene);
    scene->release();
    send(Phase::Began, {touchAt(1, 1)});
    EXPECT_EQ(ProbeNode::events, Events{"scene"}) << "registered once, at priority 10";
    scene->removeFromParentAndCleanup(true);
    EXPECT_FALSE(dispatcher()->isRegistered(scene));
}
