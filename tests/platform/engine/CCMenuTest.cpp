#include "TouchProbes.h"

#include "platform/engine/CCMenu.h"

using namespace cocos2d;

namespace {

using Events = std::vector<std::string>;

// The owner of menu callbacks.
class Handler : public CCObject {
public:
    void tapped(CCObject*) { ProbeNode::events.push_back("tapped"); }
    // Closes the menu's layer from inside the callback.
    void close(CCObject* sender) {
        ProbeNode::events.push_back("close");
        static_cast<CCNode*>(sender)->getParent()->getParent()->removeFromParentAndCleanup(true);
    }
};

CCNode* imageOfSize(float width, float height) {
    CCNode* image = ProbeNode::node();
    image->setContentSize(CCSize(width, height));
    return image;
}

class MenuTest : public TouchTest {
protected:
    void SetUp() override {
        TouchTest::SetUp();
        mHandler = new Handler();
    }
    void TearDown() override {
        mHandler->release();
        TouchTest::TearDown();
    }

    // A running menu of one 40 x 20 item at the window's centre (480, 320).
    CCMenu* runMenu(SEL_MenuHandler selector, CCLayer** layerOut = nullptr) {
        CCLayer* root = runLayer();
        CCLayer* layer = CCLayer::node();
        root->addChild(layer);
        mNormal = imageOfSize(40, 20);
        mSelected = imageOfSize(40, 20);
        mItem = CCMenuItemSprite::itemFromNormalSprite(mNormal, mSelected, mHandler, selector);
        auto* items = CCMutableArray<CCMenuItem*>::array();
        items->addObject(mItem);
        CCMenu* menu = CCMenu::menuWithItemArray(items);
        layer->addChild(menu);
        if (layerOut)
            *layerOut = layer;
        return menu;
    }

    Handler* mHandler = nullptr;
    CCMenuItemSprite* mItem = nullptr;
    CCNode* mNormal = nullptr;
    CCNode* mSelected = nullptr;
};

} // namespace

TEST_F(MenuTest, ANewMenuStandsAtTheWindowCentre) {
    CCMenu* menu = runMenu(menu_selector(Handler::tapped));
    EXPECT_EQ(menu->getPosition(), CCPoint(480, 320));
    EXPECT_EQ(mItem->getContentSize(), CCSize(40, 20));
}

TEST_F(MenuTest, ItemsSelectOnBeganAndActivateOnReleaseInside) {
    runMenu(menu_selector(Handler::tapped));
    dispatcher()->addTargetedDelegate(TargetProbe::make("layer", true), 0, true);
    CCTouch* touch = touchAt(470, 315); // on the item
    send(Phase::Began, {touch});
    EXPECT_TRUE(mItem->getIsSelected());
    EXPECT_TRUE(mSelected->getIsVisible());
    EXPECT_FALSE(mNormal->getIsVisible());
    send(Phase::Moved, {touch});
    send(Phase::Ended, {touch});
    EXPECT_FALSE(mItem->getIsSelected());
    EXPECT_EQ(ProbeNode::events, Events{"tapped"}) << "the menu is asked before the layer";

    ProbeNode::events.clear();
    CCTouch* slide = touchAt(470, 315, 1);
    send(Phase::Began, {slide});
    slide->setTouchInfo(1, 600, 315); // off the item
    send(Phase::Moved, {slide});
    EXPECT_FALSE(mItem->getIsSelected());
    send(Phase::Ended, {slide});
    EXPECT_TRUE(ProbeNode::events.empty()) << "released outside: nothing fires";

    send(Phase::Began, {touchAt(100, 100, 2)});
    EXPECT_EQ(ProbeNode::events, Events{"layer began"}) << "a miss goes on to the layer";
}

TEST_F(MenuTest, DisabledOrHiddenItemsAreNotTouched) {
    CCMenu* menu = runMenu(menu_selector(Handler::tapped));
    mItem->setIsEnabled(false);
    send(Phase::Began, {touchAt(470, 315)});
    mItem->setIsEnabled(true);
    menu->getParent()->setIsVisible(false);
    send(Phase::Began, {touchAt(470, 315, 1)});
    EXPECT_EQ(menu->getSelectedItem(), nullptr);
}

TEST_F(MenuTest, ACallbackMayCloseTheLayerHoldingTheMenu) {
    CCLayer* layer = nullptr;
    runMenu(menu_selector(Handler::close), &layer);
    CCTouch* touch = touchAt(480, 320);
    send(Phase::Began, {touch});
    send(Phase::Ended, {touch});
    EXPECT_EQ(ProbeNode::events, Events{"close"});
    tick(0);
    EXPECT_EQ(ProbeNode::destroyed, 2) << "both images went with the menu";
    send(Phase::Began, {touchAt(480, 320, 1)});
    EXPECT_EQ(ProbeNode::events.size(), 1u);
}

TEST_F(MenuTest, VerticalAlignmentStacksItemsWithPadding) {
    struct Case {
        float padding;
        std::vector<float> ys;
    };
    const Case cases[] = {{0, {25, 0, -25}}, {10, {35, 0, -35}}, {-3, {22, 0, -22}}};
    for (const Case& c : cases) {
        auto* items = CCMutableArray<CCMenuItem*>::array();
        for (float height : {20.0f, 30.0f, 20.0f})
            items->addObject(
                CCMenuItemSprite::itemFromNormalSprite(imageOfSize(50, height), nullptr));
        CCMenu* menu = CCMenu::menuWithItemArray(items);
        menu->alignItemsVerticallyWithPadding(c.padding);
        std::vector<float> ys;
        for (CCNode* child : *menu->getChildren())
            ys.push_back(child->getPosition().y);
        EXPECT_EQ(ys, c.ys) << c.padding;
    }
}
