#include "SceneTestSupport.h"

#include "scene/widgets/Button.h"

#include "puppet/PuppetInstance.h"
#include "rules/Game.h"
#include "rules/Player.h"

#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCScheduler.h"
#include "platform/render/CCLabelBMFont.h"
#include "platform/render/CCSprite.h"

#include <filesystem>

using namespace cocos2d;

namespace {

// A scene whose score hook records what it hears.
class HookedScene : public GameScene {
public:
    static HookedScene* make() {
        auto* scene = new HookedScene();
        scene->init();
        scene->autorelease();
        return scene;
    }
    void onScoreFlyoutDone(CCNode*, void* data) override {
        mHeard.push_back(int32_t(reinterpret_cast<intptr_t>(data)));
    }
    std::vector<int32_t> mHeard;
};

class GameSceneEffectsTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        // The sample content's notice font.
        for (const char* file : {"BigNotify.fnt", "BigNotify.png"})
            std::filesystem::copy_file(std::filesystem::path(TARNWICK_SOURCE_DIR) / "data" / file,
                                       mRoot / file);
        mGame = enter();
        ASSERT_NE(mGame, nullptr);
    }
    static float timeScale() { return CCScheduler::sharedScheduler()->getTimeScale(); }

    GameScene* mGame = nullptr;
};

// A node with an action that runs for a while.
CCNode* busyNode(float seconds) {
    CCNode* node = CCNode::node();
    node->runAction(CCDelayTime::actionWithDuration(seconds));
    return node;
}

} // namespace

TEST_F(GameSceneEffectsTest, NumberFlyoutsComeFromAPoolOfTenAndStayBelowTheTop) {
    // Reached through the interface the rules call.
    GameSceneInterface* scene = gGameScene;
    ASSERT_EQ(scene, mGame);
    for (int i = 0; i < 10; ++i)
        scene->showDamageFlyout(i, CCPoint(100, 100), 0);
    EXPECT_EQ(mGame->mDamageFlyouts.mIndex, 0);
    CCLabelBMFont* first = mGame->mDamageFlyouts.mEntries[0];
    run(0.5f);
    scene->showDamageFlyout(300, CCPoint(100, 620), 0.25f);
    EXPECT_STREQ(first->getString(), "-300");
    EXPECT_EQ(first->getPosition(), CCPoint(100, 640 - 30)) << "620 + 52 is above h - 30";
    EXPECT_EQ(first->getOpacity(), 0) << "the running animation was stopped";
    EXPECT_TRUE(first->getIsVisible());

    scene->showHealingFlyout(300, CCPoint(50, 60), 0);
    CCLabelBMFont* healing = mGame->mHealingFlyouts.mEntries[0];
    EXPECT_STREQ(healing->getString(), "+300");
    EXPECT_EQ(healing->getPosition(), CCPoint(50, 112));
    run(2.0f);
    EXPECT_FALSE(healing->getIsVisible()) << "hidden at the end of its run";
    EXPECT_EQ(healing->getPosition(), CCPoint(50, 119));

    mGame->showDamageFlyout(5, CCPoint(0, 0), 0);
    mGame->stopHudActions();
    EXPECT_FALSE(mGame->mDamageFlyouts.mEntries[1]->getIsVisible());
    EXPECT_EQ(mGame->mDamageFlyouts.mEntries[1]->numberOfRunningActions(), 0u);
}

TEST_F(GameSceneEffectsTest, TheScoreHookHearsOnlyCountedScoresOutsideAReplay) {
    HookedScene* scene = HookedScene::make();
    mScene->addChild(scene);
    Game* game = new Game();
    scene->setGame(game);
    game->release();
    gGameScene->showScoreFlyout(7, CCPoint(10, 10), 0, true);
    gGameScene->showScoreFlyout(8, CCPoint(10, 10), 0, false);
    game->mFlags |= cGameReplaying;
    gGameScene->showScoreFlyout(9, CCPoint(10, 10), 0, true);
    run(0.1f);
    EXPECT_EQ(scene->mHeard, (std::vector<int32_t>{7, 0, 0}));
    EXPECT_STREQ(scene->mScoreFlyouts.mEntries[0]->mLabel->getString(), "7");
}

TEST_F(GameSceneEffectsTest, AnAwardsScaleMultipliesTheFlyoutsScales) {
    mGame->showScoreFlyout(10, CCPoint(100, 100), 0, true, 1.3f);
    CCSprite* sprite = mGame->mScoreFlyouts.mEntries[0]->mSprite;
    EXPECT_FLOAT_EQ(sprite->getScale(), 0.9f * 1.3f);
    float peak = 0;
    for (int i = 0; i < 30; ++i) {
        director()->tick(0.005f);
        peak = std::max(peak, sprite->getScale());
    }
    EXPECT_NEAR(peak, 1.56f, 1e-4f);
    run(0.5f);
    EXPECT_NEAR(sprite->getScale(), 1.3f, 1e-4f);
}

TEST_F(GameSceneEffectsTest, TheBigAttackBannerStaysInsideAndRemovesItself) {
    gGameScene->showBigAttackBanner("", CCPoint(0, 300), nullptr, 0.0f, 1.0f);
    ASSERT_EQ(mGame->mEffectNodes.size(), 1u);
    auto* label = dynamic_cast<CCLabelBMFont*>(mGame->mEffectNodes[0]);
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->getString(), "<Big Attack>!");
    EXPECT_FALSE(label->getIsVisible());
    EXPECT_EQ(label->getZOrder(), 1000);
    const float halfWidth = label->getContentSize().width / 2;
    EXPECT_GT(halfWidth, 0);
    EXPECT_FLOAT_EQ(label->getPosition().x - halfWidth, 6.0f);
    EXPECT_EQ(label->getPosition().y, 295);

    // A follow-up runs before the banner goes.
    bool followed = false;
    struct Flag : CCObject {
        bool* flag;
        void set() { *flag = true; }
    };
    auto* flag = new Flag();
    flag->flag = &followed;
    gGameScene->showBigAttackBanner(
        "Cleave", CCPoint(480, 300),
        CCCallFunc::actionWithTarget(flag, callfunc_selector(Flag::set)), 0.5f, 1.0f);
    EXPECT_STREQ(dynamic_cast<CCLabelBMFont*>(mGame->mEffectNodes[1])->getString(), "Cleave!");
    label->retain();
    run(1.3f);
    EXPECT_EQ(label->getParent(), nullptr) << "the first banner went";
    EXPECT_FALSE(followed);
    run(0.5f);
    EXPECT_TRUE(followed);
    EXPECT_TRUE(mGame->mEffectNodes.empty());
    EXPECT_EQ(label->retainCount(), 1u);
    label->release();
    flag->release();
}

TEST_F(GameSceneEffectsTest, TheTurnNoticeAndResetFlashFadeAway) {
    gGameScene->showTurnNotice("Last turn");
    CCNode* notice = nullptr;
    for (size_t i = 0; i < mGame->getChildrenCount(); ++i) {
        CCNode* child = mGame->getChildren()->getObjectAtIndex(i);
        if (child->getZOrder() == GameScene::cModalZOrder)
            notice = child;
    }
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->getScale(), 10.0f);
    EXPECT_EQ(notice->getPosition(), CCPoint(480, 320));
    run(0.35f);
    EXPECT_EQ(notice->getScale(), 1.0f);
    notice->retain();
    run(3.4f);
    EXPECT_EQ(notice->getParent(), nullptr);
    notice->release();

    mGame->playResetFlash();
    EXPECT_EQ(mGame->mResetFlash->getOpacity(), 222);
    run(0.4f);
    EXPECT_EQ(mGame->mResetFlash->getOpacity(), 0);
}

TEST_F(GameSceneEffectsTest, SlowMotionHoldsForRealSecondsAndIgnoresASecondRequest) {
    gGameScene->startSlowMotion(0.1f, 0.8f, 0.5f);
    const float dt = 0.05f;
    run(0.45f, dt);
    EXPECT_EQ(timeScale(), 1.0f);
    EXPECT_FALSE(mGame->isSlowMotionActive());
    run(0.1f, dt);
    EXPECT_EQ(timeScale(), 0.1f);
    EXPECT_TRUE(mGame->isSlowMotionActive());
    gGameScene->startSlowMotion(0.5f, 5.0f, 0.0f); // ignored
    run(0.6f, dt);
    EXPECT_EQ(timeScale(), 0.1f);
    run(0.3f, dt);
    EXPECT_EQ(timeScale(), 1.0f);
    EXPECT_FALSE(mGame->isSlowMotionActive());

    gGameScene->startSlowMotion(0.0f, 1.0f, 0.0f); // scale 0: nothing
    run(0.2f, dt);
    EXPECT_EQ(timeScale(), 1.0f);
}

TEST_F(GameSceneEffectsTest, ASceneLeavingDuringTheHoldRestoresTheTimeScale) {
    for (bool slowed : {true, false}) {
        SCOPED_TRACE(slowed);
        GameScene* scene = enter();
        scene->startSlowMotion(0.2f, 5.0f, slowed ? 0.0f : 1.0f);
        run(0.1f);
        EXPECT_EQ(timeScale(), slowed ? 0.2f : 1.0f);
        scene->removeFromParentAndCleanup(true);
        EXPECT_EQ(timeScale(), 1.0f);
        EXPECT_FALSE(scene->isSlowMotionActive());
        run(2.0f);
        EXPECT_EQ(timeScale(), 1.0f) << "nothing stays scheduled";
    }
}

TEST_F(GameSceneEffectsTest, RemovingFinishedEffectsKeepsOnlyRunningOnesInOnePass) {
    CCNode* done1 = CCNode::node();
    CCNode* running = busyNode(5.0f);
    CCNode* done2 = CCNode::node();
    for (CCNode* node : {done1, running, done2}) {
        node->retain();
        mGame->addChild(node);
        mGame->addEffect(node);
    }
    mGame->addEffect(nullptr);
    running->retain(); // watched
    done1->retain();
    mGame->removeFinishedEffects();
    EXPECT_EQ(mGame->mEffects, (std::vector<CCNode*>{running}));
    EXPECT_EQ(done1->getParent(), nullptr);
    EXPECT_EQ(done1->retainCount(), 2u) << "the autorelease pool and the watch";
    EXPECT_EQ(running->getParent(), mGame);
    mGame->clearEffects();
    EXPECT_TRUE(mGame->mEffects.empty());
    EXPECT_EQ(running->getParent(), nullptr);
    running->release();
    done1->release();

    // The retained list.
    CCNode* listed = CCNode::node();
    mGame->addChild(listed);
    mGame->addEffectNode(listed);
    mGame->removeEffectNode(listed);
    EXPECT_TRUE(mGame->mEffectNodes.empty());
    EXPECT_EQ(listed->getParent(), nullptr);
    CCNode* unlisted = CCNode::node();
    mGame->addChild(unlisted);
    mGame->removeEffectNode(unlisted);
    EXPECT_EQ(unlisted->getParent(), nullptr) << "removed from its parent all the same";
    mGame->removeEffectNode(nullptr);
}

TEST_F(GameSceneEffectsTest, TheRegenerationEffectTurnsToTheNextGem) {
    setBaseFolder(std::filesystem::path(TARNWICK_FIXTURES_DIR) / "scene");
    Game* game = new Game();
    game->mPlayers.push_back(new Player(game, 0));
    game->mPlayers[0]->mActionPoints = 2;
    game->mCurrentPlayer = 0;
    mGame->setGame(game);
    game->release();
    gGameScene->playAPRegenEffect(0.2f);
    ASSERT_EQ(mGame->mEffects.size(), 1u);
    auto* effect = dynamic_cast<PuppetInstance*>(mGame->mEffects[0]);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->getParent(), mGame->mActionPointsButton);
    EXPECT_EQ(effect->getZOrder(), 10);
    EXPECT_FLOAT_EQ(effect->getRotation(), -72.0f - 72.0f * 2);
    EXPECT_FALSE(effect->getIsVisible());
    run(0.3f);
    EXPECT_TRUE(effect->getIsVisible());

    setBaseFolder(mRoot); // no such puppet here: nothing
    PuppetRegistry::clear();
    gGameScene->playAPRegenEffect(0.0f);
    EXPECT_EQ(mGame->mEffects.size(), 1u);
}
