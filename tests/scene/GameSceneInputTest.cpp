// The scene's own input: health numbers while the board is touched (not
// shown during a replay, always hidden at the end), fake cursors under the
// option "FakeCursor", and the Back key.

#include "SceneTestSupport.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "rules/Game.h"

#include "platform/engine/CCSet.h"
#include "platform/engine/CCTouch.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class ReplayingGame : public Game {
public:
    bool isReplaying() const override { return mReplaying; }
    bool mReplaying = false;
};

class GameSceneInputTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        writeSolidPng("UI/FakeCursor.png", 8, 8, {255, 255, 255, 255});
        mBoardScene = enter();
        ASSERT_NE(mBoardScene, nullptr);
        // The banners' health labels, which the scene holds one reference of.
        for (CCLabelTTF** label :
             {&mBoardScene->mLocalHealthLabel, &mBoardScene->mOpponentHealthLabel}) {
            if (*label == nullptr) {
                *label = CCLabelTTF::labelWithString("800", "Tarnwick Sans", 14);
                ASSERT_NE(*label, nullptr);
                (*label)->retain();
                mBoardScene->addChild(*label);
            }
        }
    }
    void TearDown() override {
        for (CCSet* made : mSets)
            made->release();
        BConfig::instance().unsetById(cOptFakeCursor);
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        SceneTest::TearDown();
    }
    // A game bound to the scene, held by it alone.
    ReplayingGame* bind() {
        auto* game = new ReplayingGame();
        mBoardScene->setGame(game);
        game->release();
        return game;
    }
    // A set of the touches, kept for the test's length.
    CCSet* set(std::initializer_list<CCTouch*> touches) {
        auto* made = new CCSet();
        mSets.push_back(made);
        for (CCTouch* touch : touches)
            made->addObject(touch);
        return made;
    }
    CCTouch* touch(int id, float x, float y) {
        auto* made = new CCTouch(id, x, y);
        mTouches.push_back(made);
        return made;
    }
    uint8_t healthOpacity() const { return mBoardScene->mLocalHealthLabel->getOpacity(); }

    GameScene* mBoardScene = nullptr;
    std::vector<CCSet*> mSets;
};

} // namespace

TEST_F(GameSceneInputTest, HealthNumbersFollowPrimaryTouchesButNotInAReplay) {
    ReplayingGame* game = bind();
    ASSERT_NE(mBoardScene->mLocalHealthLabel, nullptr);
    mBoardScene->mLocalHealthLabel->setOpacity(0);
    CCSet* secondary = set({touch(1, 10, 10)});
    mBoardScene->ccTouchesBegan(secondary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 0) << "no primary touch";
    CCSet* primary = set({touch(0, 10, 10)});
    mBoardScene->ccTouchesBegan(primary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 255);
    mBoardScene->ccTouchesEnded(secondary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 255) << "no primary touch";
    mBoardScene->ccTouchesEnded(primary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 0);

    game->mReplaying = true;
    mBoardScene->ccTouchesBegan(primary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 0);
    mBoardScene->mLocalHealthLabel->setOpacity(255);
    mBoardScene->ccTouchesCancelled(primary, nullptr);
    run(0.1f);
    EXPECT_EQ(healthOpacity(), 0) << "the end fades them during a replay too";
}

TEST_F(GameSceneInputTest, FakeCursorsComeAndGoWithTheirOwnTouches) {
    CCTouch* early = touch(0, 5, 5);
    mBoardScene->ccTouchesBegan(set({early}), nullptr);
    EXPECT_TRUE(mBoardScene->fakeCursors().empty()) << "the option is not set";

    BConfig::instance().defineById(cOptFakeCursor);
    CCTouch* first = touch(0, 10, 10);
    CCTouch* second = touch(1, 50, 20);
    mBoardScene->ccTouchesBegan(set({first, second}), nullptr);
    ASSERT_EQ(mBoardScene->fakeCursors().size(), 2u);
    CCSprite* firstCursor = mBoardScene->fakeCursors()[0].first;
    CCSprite* secondCursor = mBoardScene->fakeCursors()[1].first;
    EXPECT_EQ(firstCursor->getZOrder(), 100000);
    EXPECT_EQ(secondCursor->getParent(), mBoardScene);

    mBoardScene->ccTouchesEnded(set({early}), nullptr);
    EXPECT_EQ(mBoardScene->fakeCursors().size(), 2u) << "a touch without a cursor";

    second->setTouchInfo(1, 60, 30);
    mBoardScene->ccTouchesMoved(set({second}), nullptr);
    const CCPoint moved = director()->convertToGL(CCPoint(60, 30));
    EXPECT_FLOAT_EQ(secondCursor->getPosition().x, moved.x);
    EXPECT_FLOAT_EQ(secondCursor->getPosition().y, moved.y);

    mBoardScene->ccTouchesEnded(set({first}), nullptr);
    ASSERT_EQ(mBoardScene->fakeCursors().size(), 1u);
    EXPECT_EQ(mBoardScene->fakeCursors()[0].second, second);
    firstCursor->retain();
    run(0.15f);
    EXPECT_EQ(firstCursor->getParent(), mBoardScene) << "still fading";
    run(0.1f);
    EXPECT_EQ(firstCursor->getParent(), nullptr);
    EXPECT_EQ(secondCursor->getParent(), mBoardScene);
    firstCursor->release();
}

TEST_F(GameSceneInputTest, BackPrintsAndCancelsTheBoundGamesTouch) {
    testing::internal::CaptureStdout();
    mBoardScene->keyBackClicked();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "keybackclicked.\n");
    ReplayingGame* game = bind();
    game->mTouchPhase = 1;
    testing::internal::CaptureStdout();
    mBoardScene->keyBackClicked();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "keybackclicked.\n");
    EXPECT_EQ(game->mTouchPhase, 0);
}
