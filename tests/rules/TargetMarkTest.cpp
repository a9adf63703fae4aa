#include "ActionsTestSupport.h"
#include "RulesTestSupport.h"

#include "rules/CocosEntityLink.h"

namespace {

// An entity view that records its markers and has a marker node.
class MarkerView : public FakeEntityLink {
public:
    explicit MarkerView(Entity* owner) : FakeEntityLink(owner) {
        mMarkerNode = cocos2d::CCNode::node();
        mMarkerNode->retain();
        mMarkerNode->setIsVisible(false);
    }
    ~MarkerView() override { mMarkerNode->release(); }
    void setTargetMarker(int32_t kind) override { mMarker = kind; }
    cocos2d::CCNode* getTargetMarkerNode() const override { return mMarkerNode; }
    void setAllyAbilityMarker(bool show) override { mAllyMarker = show ? 1 : 0; }

    cocos2d::CCNode* mMarkerNode;
    int32_t mMarker = -2;     // never set
    int32_t mAllyMarker = -1; // never set
};

class MarkerServices : public FakeSceneServices {
public:
    CocosEntityLink* createEntityLink(Entity* entity) override { return new MarkerView(entity); }
};

class TargetMarkTest : public ActionsGameTest {
protected:
    // Links the board and the views of the units on it, then shows the
    // highlight of the unit.
    void highlight(Entity* unit) {
        ASSERT_TRUE(board()->linkAt(cocos2d::CCPoint(0, 0)));
        board()->showSlotHighlight(unit->mId);
    }
    static MarkerView* viewOf(const Entity* unit) {
        return dynamic_cast<MarkerView*>(unit->getEntityLink());
    }
    void TearDown() override {
        board()->unlink();
        ActionsGameTest::TearDown();
    }

    MarkerServices mServices;
};

} // namespace

TEST_F(TargetMarkTest, AttackTargetsShowTheirKindAndBlockedOnesTheReachMarker) {
    Entity* lancer = unit("lancer", 0, 0, 0);
    Entity* adjacent = unit("knight", 1, 0, 1);
    Entity* prey = unit("knight", 1, 3, 0); // beyond range, along the row
    Entity* wall = unit("knight", 0, 2, 0); // stands before the prey
    highlight(lancer);
    EXPECT_EQ(viewOf(adjacent)->mMarker, 0);
    MarkerView* preyView = viewOf(prey);
    EXPECT_EQ(preyView->mMarker, -2);
    EXPECT_TRUE(preyView->mMarkerNode->getIsVisible());
    EXPECT_EQ(preyView->mMarkerNode->getScale(), 1.0f);
    EXPECT_EQ(preyView->mMarkerNode->numberOfRunningActions(), 1u);
    EXPECT_EQ(viewOf(wall)->mAllyMarker, 0);
    EXPECT_FALSE(viewOf(wall)->mMarkerNode->getIsVisible());

    board()->clearSlotHighlights(lancer->mId);
    EXPECT_EQ(viewOf(adjacent)->mMarker, CocosEntityLink::cHideTargetMarker);
    // Without the wall the lancer charges: an attack target of kind 4.
    wall->mState = cStateKnockedOut;
    board()->showSlotHighlight(lancer->mId);
    EXPECT_EQ(preyView->mMarker, 4);
}

TEST_F(TargetMarkTest, HealAndAllyAbilityTargets) {
    Entity* cleric = unit("cleric", 0, 2, 3);
    Entity* hurt = unit("knight", 0, 2, 1);
    hurt->mHealth = 500;
    Entity* whole = unit("knight", 0, 3, 3);
    highlight(cleric);
    MarkerView* hurtView = viewOf(hurt);
    EXPECT_TRUE(hurtView->mMarkerNode->getIsVisible());
    EXPECT_EQ(hurtView->mMarkerNode->getScale(), 3.0f);
    EXPECT_EQ(hurtView->mMarkerNode->numberOfRunningActions(), 1u);
    EXPECT_EQ(viewOf(whole)->mAllyMarker, 0);

    board()->clearSlotHighlights(cleric->mId);
    Entity* porter = unit("porter", 0, 4, 4);
    porter->link(cocos2d::CCPoint(0, 0), cocos2d::CCSize(0, 0));
    board()->showSlotHighlight(porter->mId);
    EXPECT_EQ(viewOf(whole)->mAllyMarker, 1);
    EXPECT_EQ(viewOf(cleric)->mAllyMarker, 0); // beyond its reach
}
