#include "EngineTest.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCScheduler.h"
#include "platform/engine/CCTouch.h"

#include <cmath>

using namespace cocos2d;

namespace {

using HookNode = Hooked<CCNode>;

std::vector<int> tagsOf(CCNode* parent) {
    std::vector<int> tags;
    for (CCNode* child : *parent->getChildren())
        tags.push_back(child->getTag());
    return tags;
}

CCNode* taggedNode(int tag, int ownZ = 0) {
    CCNode* node = CCNode::node();
    node->setTag(tag);
    if (ownZ != 0) {
        // A node's own z-order comes from an earlier parent.
        CCNode* holder = CCNode::node();
        holder->addChild(node, ownZ);
        holder->removeChild(node, false);
    }
    return node;
}

class NodeTest : public EngineTest {};

} // namespace

TEST_F(NodeTest, ChildrenAreOrderedByZThenInsertion) {
    CCNode* parent = CCNode::node();
    parent->addChild(taggedNode(1), 5);
    parent->addChild(taggedNode(2), -1);
    parent->addChild(taggedNode(3), 5);
    parent->addChild(taggedNode(4), 0);
    parent->addChild(taggedNode(5, 7)); // keeps its own z-order 7
    parent->addChild(taggedNode(6), 0, 60);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 4, 60, 1, 3, 5}));
    EXPECT_EQ(parent->getChildByTag(5)->getZOrder(), 7);

    parent->reorderChild(parent->getChildByTag(1), 5);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 4, 60, 3, 1, 5})) << "behind its equals";
    parent->reorderChild(parent->getChildByTag(5), -2);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{5, 2, 4, 60, 3, 1}));

    CCNode* child = parent->getChildByTag(3);
    EXPECT_EQ(child->getParent(), parent);
    parent->removeChildByTag(3, true);
    EXPECT_EQ(parent->getChildByTag(3), nullptr);
    EXPECT_EQ(parent->getChildrenCount(), 5u);
    parent->removeAllChildrenWithCleanup(true);
    EXPECT_EQ(parent->getChildrenCount(), 0u);
}

TEST_F(NodeTest, EnterExitAndCleanupReachTheWholeSubtree) {
    CCLayer* layer = runLayer();
    HookNode* parent = HookNode::make("p");
    parent->addChild(HookNode::make("c"));
    layer->addChild(parent);
    EXPECT_TRUE(parent->getIsRunning());
    director()->viewDidAppear(false);
    parent->removeFromParentAndCleanup(true);
    EXPECT_EQ(ProbeNode::events,
              (std::vector<std::string>{"p enter", "c enter", "p appeared", "c appeared", "p exit",
                                        "c exit", "p cleanup", "c cleanup"}));
}

TEST_F(NodeTest, RemovalWithCleanupUnschedulesAndWithoutKeepsSchedulesPaused) {
    CCLayer* layer = runLayer();
    ProbeNode* probe = ProbeNode::node();
    probe->scheduleUpdate();
    tick(0.5f);
    EXPECT_TRUE(probe->log.empty()) << "updates wait until the node enters";
    layer->addChild(probe);
    tick(0.5f);
    EXPECT_EQ(probe->log, std::vector<std::string>{"update 0.500000"});

    probe->retain();
    layer->removeChild(probe, false);
    tick(0.5f);
    EXPECT_EQ(probe->log.size(), 1u);
    layer->addChild(probe);
    tick(0.5f);
    EXPECT_EQ(probe->log.size(), 2u);

    probe->runAction(CCDelayTime::actionWithDuration(10));
    layer->removeChild(probe, true);
    EXPECT_EQ(probe->numberOfRunningActions(), 0u);
    EXPECT_FALSE(director()->getScheduler()->isTargetPaused(probe));
    layer->addChild(probe);
    tick(0.5f);
    EXPECT_EQ(probe->log.size(), 2u) << "cleanup unscheduled the update";
    probe->release();
}

TEST_F(NodeTest, TransformsFollowPositionAnchorScaleAndClockwiseRotation) {
    CCNode* parent = CCNode::node();
    parent->setPosition(CCPoint(100, 50));
    CCNode* node = CCNode::node();
    parent->addChild(node);
    node->setContentSize(CCSize(40, 20));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setPosition(CCPoint(10, 10));
    EXPECT_EQ(node->getAnchorPointInPoints(), CCPoint(20, 10));

    struct Case {
        const char* what;
        float rotation, scaleX, scaleY;
        bool relative;
        CCPoint local;
        CCPoint world;
    };
    const Case cases[] = {
        {"anchor sits at the position", 0, 1, 1, true, {20, 10}, {110, 60}},
        {"corner", 0, 1, 1, true, {0, 0}, {90, 50}},
        {"scale about the anchor", 0, 2, 3, true, {0, 0}, {70, 30}},
        {"negative scale mirrors", 0, -1, 1, true, {40, 10}, {90, 60}},
        {"rotation is clockwise", 90, 1, 1, true, {40, 10}, {110, 40}},
        {"non-relative anchor: corner at the position", 0, 1, 1, false, {0, 0}, {110, 60}},
        {"non-relative anchor still centres rotation", 180, 1, 1, false, {0, 0}, {150, 80}},
    };
    for (const Case& c : cases) {
        node->setRotation(c.rotation);
        node->setScaleX(c.scaleX);
        node->setScaleY(c.scaleY);
        node->setIsRelativeAnchorPoint(c.relative);
        const CCPoint world = node->convertToWorldSpace(c.local);
        EXPECT_NEAR(world.x, c.world.x, 1e-4) << c.what;
        EXPECT_NEAR(world.y, c.world.y, 1e-4) << c.what;
        const CCPoint back = node->convertToNodeSpace(c.world);
        EXPECT_NEAR(back.x, c.local.x, 1e-4) << c.what;
        EXPECT_NEAR(back.y, c.local.y, 1e-4) << c.what;
        const CCPoint ar = node->convertToNodeSpaceAR(c.world);
        EXPECT_NEAR(ar.x, c.local.x - 20, 1e-4) << c.what;
        EXPECT_NEAR(ar.y, c.local.y - 10, 1e-4) << c.what;
    }
}

TEST_F(NodeTest, ScaleAnchorPointMovesTheCentreOfScaling) {
    CCNode* node = CCNode::node();
    node->setContentSize(CCSize(40, 20));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setScale(2);
    EXPECT_EQ(node->convertToWorldSpace(CCPoint(20, 10)), CCPoint(0, 0));
    node->setScaleAnchorPoint(CCPoint(0, 0));
    EXPECT_EQ(node->getScaleAnchorPoint(), CCPoint(0, 0));
    EXPECT_EQ(node->convertToWorldSpace(CCPoint(0, 0)), CCPoint(-20, -10))
        << "the corner stays where an unscaled node has it";
    EXPECT_EQ(node->convertToWorldSpace(CCPoint(20, 10)), CCPoint(20, 10));
}

TEST_F(NodeTest, TouchesConvertFromViewCoordinates) {
    CCNode* node = CCNode::node();
    node->setContentSize(CCSize(100, 100));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setPosition(CCPoint(200, 300));
    CCTouch touch(0, 210, 640 - 320); // view y runs downwards from the top
    EXPECT_EQ(node->convertTouchToNodeSpaceAR(&touch), CCPoint(10, 20));
    EXPECT_EQ(node->convertTouchToNodeSpace(&touch), CCPoint(60, 70));
    EXPECT_EQ(node->boundingBox(), CCRect(150, 250, 100, 100));
}
