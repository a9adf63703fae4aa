// The replay's rewind: restoreInitialState turns the views back to the
// records' initial half, through the view calls the rules make, and leaves
// the model as execution left it.

#include "ExecuteTestSupport.h"

#include "content/protos/AuraType.h"

#include "platform/engine/CCNode.h"

using cocos2d::CCPoint;

class RestoreTest : public ExecuteTest {
protected:
    void SetUp() override {
        ExecuteTest::SetUp();
        mServices = std::make_unique<LoggingSceneServices>();
        mScene = std::make_unique<BannerScene>();
    }
    void TearDown() override {
        mGame->unlink(false);
        mScene.reset();
        mServices.reset();
        ExecuteTest::TearDown();
    }
    // Views for the board's and player 0's rack's pieces.
    void showGame() {
        board()->linkAt(CCPoint(40.0f, 20.0f));
        rack(0)->linkAt(CCPoint(40.0f, 300.0f));
    }
    CCPoint nodeAt(const Entity* entity) const {
        return viewOf(entity)->getMainNode()->getPosition();
    }
    CCPoint boardPoint(int32_t x, int32_t y) const {
        return board()->pointForCoords(GridSlot(x, y), true);
    }

    std::unique_ptr<LoggingSceneServices> mServices;
    std::unique_ptr<BannerScene> mScene;
};

namespace {

bool samePoint(const CCPoint& a, const CCPoint& b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

TEST_F(RestoreTest, AMoveGoesBackToItsSquareWithThatSquaresPremiumAura) {
    board()->setProtoIndex(cPremiumBoard);
    Entity* walker = unit("soldier", 0, 1, 0);
    showGame();
    CandidateAction* leave = run(cActionMove, walker, GridSlot(3, 0));
    CandidateAction* arrive = run(cActionMove, walker, GridSlot(3, 3));
    ASSERT_FALSE(samePoint(boardPoint(1, 0), boardPoint(3, 0)));

    arrive->restoreInitialState();
    EXPECT_EQ(arrive->mPlaybackState, cPlaybackInitialStateRestored);
    EXPECT_TRUE(samePoint(nodeAt(walker), boardPoint(3, 0)));
    EXPECT_TRUE(viewOf(walker)->hides(cAuraPremiumSquarePower));
    leave->restoreInitialState();
    EXPECT_TRUE(samePoint(nodeAt(walker), boardPoint(1, 0)));
    EXPECT_TRUE(viewOf(walker)->shows(cAuraPremiumSquareVictoryDamageAdd));
    EXPECT_TRUE(viewOf(walker)->logged("state 2"));
    EXPECT_TRUE(viewOf(walker)->logged("health 100"));

    // Only the views moved.
    EXPECT_EQ(walker->mSlot, GridSlot(3, 3));
    EXPECT_EQ(at(3, 3), walker);
}

TEST_F(RestoreTest, ADeployedTileIsHiddenAgain) {
    Entity* fresh = tile("soldier", 0, 2);
    showGame();
    CandidateAction* deploy = run(cActionDeploy, fresh, GridSlot(1, 1));
    deploy->restoreInitialState();

    LoggingEntityLink* view = viewOf(fresh);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->logged("health bar off"));
    EXPECT_TRUE(view->logged("team off"));
    EXPECT_EQ(view->opacity(), 0);
    EXPECT_TRUE(view->logged("state 1"));
    EXPECT_EQ(fresh->mState, cStateDeployedToGameBoard);
}

TEST_F(RestoreTest, AnEquippedItemIsTakenOffTheTargetsDisplay) {
    Entity* wearer = unit("soldier", 0, 1, 1);
    Entity* plate = tile("plate", 0, 0);
    showGame();
    CandidateAction* equip = run(cActionEquip, plate, GridSlot(1, 1));
    equip->restoreInitialState();
    EXPECT_TRUE(viewOf(wearer)->logged("unequip plate"));
    EXPECT_EQ(plate->mGrid, wearer->mInventory);
}

TEST_F(RestoreTest, AnAttackRestoresHealthAurasAndTheLinkItMade) {
    Entity* tether = unit("tether", 0, 1, 1);
    Entity* target = unit("soldier", 1, 3, 1);
    target->setHealth(100);
    showGame();
    CandidateAction* attack = run(cActionAttack, tether, GridSlot(3, 1));
    ASSERT_EQ(target->mState, cStateKnockedOut);
    attack->restoreInitialState();

    EXPECT_TRUE(viewOf(tether)->logged("unlink " + std::to_string(target->mId)));
    LoggingEntityLink* hit = viewOf(target);
    EXPECT_TRUE(hit->logged("state 2"));
    EXPECT_TRUE(hit->logged("health 10"));
    EXPECT_TRUE(hit->hides(cAuraKnockedOut));
    EXPECT_FALSE(hit->hides(cAuraPremiumSquarePower));
    // The sub-action (the link's strike) is rewound too.
    ASSERT_EQ(attack->mSubActions.size(), 1u);
    EXPECT_EQ(attack->mSubActions[0]->mPlaybackState, cPlaybackInitialStateRestored);
    EXPECT_EQ(target->mState, cStateKnockedOut);
}

TEST_F(RestoreTest, AnEntityWithoutAViewIsLinkedAgainAtItsInitialSquare) {
    Entity* walker = unit("soldier", 0, 1, 1);
    CandidateAction* move = run(cActionMove, walker, GridSlot(2, 1));
    showGame();
    walker->unlink();
    ASSERT_FALSE(walker->hasLink());
    const int made = mServices->mLinksMade;

    move->restoreInitialState();
    EXPECT_TRUE(walker->hasLink());
    EXPECT_EQ(mServices->mLinksMade, made + 1);
    EXPECT_EQ(viewOf(walker)->opacity(), 255);
    EXPECT_TRUE(samePoint(nodeAt(walker), boardPoint(1, 1)));
}

TEST_F(RestoreTest, TheBannersShowTheInitialVictoryHealthAndDebuffs) {
    Entity* crystal = at(0, 2);
    crystal->setHealth(400);
    Entity* walker = unit("soldier", 0, 1, 1);
    showGame();
    CandidateAction* move = run(cActionMove, walker, GridSlot(2, 1));
    move->restoreInitialState();

    using Health = std::pair<int32_t, float>;
    EXPECT_EQ(mScene->mHealth, (std::vector<Health>{{0, 0.5f}, {1, 1.0f}}));
    // The bare board counts 1 for each side.
    using Debuff = std::pair<int32_t, int32_t>;
    EXPECT_EQ(mScene->mDebuffs, (std::vector<Debuff>{{0, 1}, {1, 1}}));
    ASSERT_FALSE(mScene->mHealthTexts.empty());
    EXPECT_EQ(mScene->mHealthTexts.front(), (std::pair<int32_t, float>{0, 0.5f}));
}

TEST_F(RestoreTest, WithoutItsSourceTheRewindDoesNothing) {
    Entity* walker = unit("soldier", 0, 1, 1);
    showGame();
    CandidateAction* move = run(cActionMove, walker, GridSlot(2, 1));
    move->mSourceEntity = 999;
    move->restoreInitialState();
    EXPECT_EQ(move->mPlaybackState, cPlaybackExecuted);
    EXPECT_TRUE(viewOf(walker)->mLog.empty());
    EXPECT_TRUE(mScene->mHealth.empty());
}
