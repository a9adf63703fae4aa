#include "EngineTest.h"

#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCApplication.h"

using namespace cocos2d;

namespace {

using Events = std::vector<std::string>;

using HookScene = Hooked<CCScene>;

class TestApplication : public CCApplication {
public:
    bool applicationDidFinishLaunching() override {
        launched = true;
        CCDirector::sharedDirector()->setAnimationInterval(0.25);
        return true;
    }
    bool launched = false;
};

class DirectorTest : public EngineTest {};

} // namespace

TEST_F(DirectorTest, SceneChangesApplyAtTheNextFrame) {
    director()->runWithScene(HookScene::make("a"));
    EXPECT_EQ(director()->getRunningScene(), nullptr);
    tick(0);
    director()->pushScene(HookScene::make("b"));
    tick(0);
    director()->replaceScene(HookScene::make("c"));
    tick(0);
    director()->popScene();
    tick(0);
    EXPECT_EQ(ProbeNode::events, (Events{"a enter", "a exit", "b enter", "b exit", "b cleanup",
                                         "c enter", "c exit", "c cleanup", "a enter"}));
}

TEST_F(DirectorTest, PoppingTheOnlySceneLeavesTheDirectorRunningWithNoScene) {
    director()->runWithScene(HookScene::make("a"));
    tick(0);
    director()->popScene();
    tick(0);
    EXPECT_EQ(ProbeNode::events, (Events{"a enter", "a exit", "a cleanup"}));
    EXPECT_TRUE(CCDirector::hasSharedDirector());
    EXPECT_EQ(director()->getRunningScene(), nullptr);
    director()->runWithScene(HookScene::make("b"));
    tick(0);
    EXPECT_EQ(ProbeNode::events.back(), "b enter");
}

TEST_F(DirectorTest, EndPurgesTheDirectorAtTheNextFrame) {
    director()->runWithScene(HookScene::make("a"));
    tick(0);
    director()->end();
    EXPECT_TRUE(CCDirector::hasSharedDirector());
    tick(0);
    EXPECT_FALSE(CCDirector::hasSharedDirector());
    EXPECT_EQ(ProbeNode::events, (Events{"a enter", "a exit", "a cleanup"}));
}

TEST_F(DirectorTest, PauseHoldsTheSchedulerButFramesGoOn) {
    ProbeNode* probe = runningProbe();
    probe->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0)));
    director()->pause();
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 0);
    director()->resume();
    tick(0.5f);
    EXPECT_FLOAT_EQ(probe->getPosition().x, 50);
    EXPECT_EQ(director()->getTotalFrames(), 3u);
}

TEST_F(DirectorTest, ViewPointsConvertToGLAndToTheScene) {
    // The large layout: a 1434 x 990 window at content scale 2 with the
    // board of 1024 x 768 at (395, 14), y downwards.
    director()->setWinSizeInPixels(CCSize(1434, 990));
    director()->setContentScaleFactor(2.0f);
    EXPECT_EQ(director()->getWinSize(), CCSize(717, 495));
    CCScene* scene = CCScene::node();
    scene->setPosition(CCPoint(395 / 2.0f, (990 - 14 - 768) / 2.0f));
    director()->runWithScene(scene);
    tick(0);
    EXPECT_EQ(director()->convertToGL(CCPoint(300, 100)), CCPoint(300, 395));
    EXPECT_EQ(director()->convertToUI(CCPoint(300, 395)), CCPoint(300, 100));
    EXPECT_EQ(director()->convertToScene(CCPoint(300, 100)), CCPoint(102.5f, 291));
}

TEST_F(DirectorTest, TheApplicationStartsAndTicksOnItsClock) {
    CCApplication::setSceneDims(395, 14, 1024, 768, 1434, 990);
    int dims[6] = {};
    CCApplication::getSceneDims(dims[0], dims[1], dims[2], dims[3], dims[4], dims[5]);
    EXPECT_EQ(std::vector<int>(dims, dims + 6), (std::vector<int>{395, 14, 1024, 768, 1434, 990}));

    TestApplication app;
    EXPECT_EQ(CCApplication::sharedApplication(), &app);
    double now = 10.0;
    app.setClock([&now] { return now; });
    EXPECT_FALSE(app.checkRunTick()) << "not started";
    ASSERT_TRUE(app.runStart(nullptr, 1434, 990));
    EXPECT_TRUE(app.launched);
    EXPECT_EQ(director()->getWinSizeInPixels(), CCSize(1434, 990));

    ProbeNode* probe = runningProbe();
    probe->runAction(CCMoveBy::actionWithDuration(1.0f, CCPoint(100, 0)));
    now += 0.125;
    EXPECT_FALSE(app.checkRunTick()) << "a frame every 0.25 s";
    now += 0.125;
    EXPECT_TRUE(app.checkRunTick());
    EXPECT_FALSE(app.checkRunTick()) << "that frame has begun";
    app.runTick();
    EXPECT_FLOAT_EQ(probe->getPosition().x, 25);
}
