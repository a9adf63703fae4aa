#include "FakeGamesList.h"
#include "SceneTestSupport.h"

#include "scene/widgets/Button.h"

#include "content/RegisteredOptions.h"
#include "puppet/PuppetInstance.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"

#include "platform/engine/CCApplication.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCSpriteFrameCache.h"

#include <algorithm>

using namespace cocos2d;

namespace {

// A game that counts its destructions.
class CountedGame : public Game {
public:
    explicit CountedGame(int* destroyed) : mDestroyed(destroyed) {}
    ~CountedGame() override { ++*mDestroyed; }

private:
    int* mDestroyed;
};

// A game that counts the replays asked of it.
class ReplayCountingGame : public Game {
public:
    bool startReplay() override {
        ++mReplays;
        return false;
    }
    int mReplays = 0;
};

using GameSceneTest = SceneTest;

} // namespace

TEST_F(GameSceneTest, SceneWithGameSitsAtTheBoardsLowerLeftCorner) {
    CCApplication::setSceneDims(395, 14, 1024, 768, 1434, 990);
    director()->setContentScaleFactor(2.0f);
    Game* game = new Game();
    gCurrentGame = game;
    CCScene* scene = GameScene::sceneWithGame();
    EXPECT_EQ(scene->getPosition(), CCPoint(197.5f, 104.0f));
    ASSERT_EQ(scene->getChildrenCount(), 1u);
    auto* layer = dynamic_cast<GameScene*>(scene->getChildren()->getObjectAtIndex(0));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(gGameScene, layer);
    EXPECT_EQ(layer->getGame(), game);
    game->release(); // the scene and the game's touch registration hold it now
    EXPECT_EQ(game->retainCount(), 2u);
    gCurrentGame = nullptr;
    director()->setContentScaleFactor(1.0f);
    CCApplication::setSceneDims(0, 0, 0, 0, 0, 0);
}

TEST_F(GameSceneTest, TheHudLiesInsideTheBoardsRectangleOfTheWindow) {
    // The large layout: the board of 1024 x 768 at (395, 14) in a window of
    // 1434 x 990 (pixels, y downwards) at content scale 2.
    const CCSize pixels = director()->getWinSizeInPixels();
    director()->setWinSizeInPixels(CCSize(1434, 990));
    CCApplication::setSceneDims(395, 14, 1024, 768, 1434, 990);
    director()->setContentScaleFactor(2.0f);
    EXPECT_EQ(director()->getWinSize(), CCSize(512, 384));
    GameScene::setLayoutMode(2);
    CCScene* scene = GameScene::sceneWithGame();
    mScene->addChild(scene);
    ASSERT_EQ(scene->getChildrenCount(), 1u);
    auto* layer = dynamic_cast<GameScene*>(scene->getChildren()->getObjectAtIndex(0));
    ASSERT_NE(layer, nullptr);
    const std::pair<const char*, CCNode*> nodes[] = {
        {"VS badge (top banner)", layer->mVsBadge},
        {"local banner", layer->mLocalBanner},
        {"opponent banner", layer->mOpponentBanner},
        {"Settings", layer->mSettingsButton},
        {"Submit", layer->mSubmitButton},
        {"action points", layer->mActionPointsButton},
        {"flash", layer->mResetFlash},
    };
    for (const auto& [name, node] : nodes) {
        SCOPED_TRACE(name);
        ASSERT_NE(node, nullptr);
        const CCPoint world = node->getParent()->convertToWorldSpace(node->getPosition());
        const float x = world.x * 2.0f, y = 990 - world.y * 2.0f; // window pixels
        EXPECT_TRUE(x >= 395 && x <= 395 + 1024 && y >= 14 && y <= 14 + 768)
            << "at (" << x << ", " << y << ")";
    }
    // Touches still come in the whole window's points.
    EXPECT_EQ(director()->convertToGL(CCPoint(300, 100)), CCPoint(300, 395));
    director()->setContentScaleFactor(1.0f);
    director()->setWinSizeInPixels(pixels);
    CCApplication::setSceneDims(0, 0, 0, 0, 0, 0);
}

TEST_F(GameSceneTest, ASecondSceneWarnsAndTakesOverOnlyItClearsThePointer) {
    GameScene* older = GameScene::node();
    older->retain();
    EXPECT_EQ(gGameScene, older);
    testing::internal::CaptureStdout();
    GameScene* newer = GameScene::node();
    newer->retain();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "**> gGameScene not NULL! Bad.\n");
    EXPECT_EQ(gGameScene, newer);
    older->release();
    director()->tick(0); // the autorelease pool lets go
    EXPECT_EQ(gGameScene, newer) << "the older scene leaves the pointer alone";
    newer->release();
    director()->tick(0);
    EXPECT_EQ(gGameScene, nullptr);
}

TEST_F(GameSceneTest, RebindingFreesTheLastReferenceOfTheOldGameOnce) {
    int destroyed = 0;
    GameScene* scene = enter();
    auto* first = new CountedGame(&destroyed);
    scene->setGame(first);
    first->release(); // only the scene holds it
    Game* second = new Game();
    scene->setGame(second);
    director()->tick(0); // the old game's touch registration lets go with the frame
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(scene->getGame(), second);
    second->release();
    scene->setGame(nullptr);
    EXPECT_EQ(scene->getGame(), nullptr);
}

TEST_F(GameSceneTest, AmbientMusicPlaysOnlyWithSoundForAGameNotOver) {
    struct Case {
        bool sound;
        bool gameOver;
        bool bound;
        bool plays;
    };
    for (const Case& c : {Case{true, false, true, true}, Case{false, false, true, false},
                          Case{true, true, true, false}, Case{true, false, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.sound << c.gameOver << c.bound);
        if (c.sound)
            BConfig::instance().defineById(cOptSound);
        else
            BConfig::instance().unsetById(cOptSound);
        GameScene* scene = GameScene::node();
        Game* game = new Game();
        game->mGameOver = c.gameOver;
        if (c.bound)
            scene->setGame(game);
        game->release();
        mAudio->clear();
        mScene->addChild(scene);
        const auto& calls = mAudio->calls();
        const bool played = std::count_if(calls.begin(), calls.end(), [](const std::string& call) {
                                return call.starts_with("playMusic ") &&
                                       call.ends_with("/sound/Amb_Field_LP.mp3 loop=1");
                            }) == 1;
        EXPECT_EQ(played, c.plays);
        scene->removeFromParentAndCleanup(true);
    }
}

TEST_F(GameSceneTest, TheHudIsBuiltInPlaceMostlyHidden) {
    writeSolidPng("UI/PlayerBanner.png", 300, 40, {40, 40, 40, 255});
    writeSolidPng("UI/PlayerBanner_Color.png", 300, 40, {255, 255, 255, 255});
    writeSolidPng("ScoreTallyBG.png", 60, 30, {0, 0, 0, 255});
    SettingsManager::instance().mActionPointsPerTurn = 5;
    GameScene* scene = enter();
    ASSERT_NE(scene, nullptr);
    const float w = 960, h = 640;
    struct Row {
        const char* name;
        CCNode* node;
        CCNode* parent;
        int z;
        CCPoint position;
        bool visible;
    };
    std::vector<Row> rows = {
        {"Submit", scene->mSubmitButton, scene, 1, CCPoint(w - 41, 25), false},
        {"Settings", scene->mSettingsButton, scene, 1, CCPoint(64, h - 18), true},
        {"Rematch", scene->mRematchButton, scene, 1001, CCPoint(w - 41, 65), false},
        {"Next Game", scene->mNextGameButton, scene, 1001, CCPoint(w - 41, 25), false},
        {"action points", scene->mActionPointsButton, scene, 1, CCPoint(75, 26), true},
        {"arrow", scene->mActionPointsArrow, scene->mActionPointsButton, 2, CCPoint(-16, 2.5f),
         true},
        {"replay bar", scene->mReplayBar, scene, 1000, CCPoint(245, 25), false},
        {"skip", scene->mReplaySkipButton, scene, 1, CCPoint(76, 26), false},
        {"Submit overlay", scene->mSubmitOverlay, scene, 5, CCPoint(w - 41, 25), false},
        {"Rematch overlay", scene->mRematchOverlay, scene, 1002, CCPoint(w - 41, 65), false},
        {"local banner", scene->mLocalBanner, scene, 5, CCPoint(w / 2, h - 20), true},
        {"opponent banner", scene->mOpponentBanner, scene, 5, CCPoint(w / 2, h - 20), true},
        {"VS", scene->mVsBadge, scene, 6, CCPoint(w / 2, h - 16), true},
        {"flash", scene->mResetFlash, scene, 50000, CCPoint(w / 2, h / 2), true},
        {"tally", scene->mScoreTallyBackground, scene, 1, CCPoint(w / 2 - 112, h - 30), true},
        {"tally label", scene->mScoreTallyLabel, scene->mScoreTallyBackground, 1, CCPoint(30, 15),
         true},
    };
    for (int i = 0; i < 10; ++i) {
        rows.push_back({"damage", scene->mDamageFlyouts.mEntries[size_t(i)], scene, 2000,
                        CCPoint(300, 300), false});
        rows.push_back({"healing", scene->mHealingFlyouts.mEntries[size_t(i)], scene, 2000,
                        CCPoint(300, 300), false});
        rows.push_back({"score", scene->mScoreFlyouts.mEntries[size_t(i)]->mSprite, scene, 2000,
                        CCPoint(300, 300), false});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.node, nullptr);
        EXPECT_EQ(row.node->getParent(), row.parent);
        EXPECT_EQ(row.node->getZOrder(), row.z);
        EXPECT_EQ(row.node->getPosition(), row.position);
        EXPECT_EQ(row.node->getIsVisible(), row.visible);
    }
    EXPECT_EQ(scene->mResetFlash->getOpacity(), 0);
    EXPECT_EQ(scene->mLocalBanner->getAnchorPoint(), CCPoint(1.0f, 0.5f));
    EXPECT_TRUE(scene->mLocalBanner->isFlipX());
    EXPECT_EQ(scene->mLocalBanner->getContentSize().width, 300);
    ASSERT_NE(scene->mLocalBannerColor, nullptr);
    EXPECT_EQ(scene->mLocalBannerColor->getParent(), scene->mLocalBanner);
    EXPECT_EQ(scene->mOpponentBannerColor->getColor(), ccc3(234, 50, 50));

    ASSERT_EQ(scene->mActionPointGems.size(), 5u);
    const float rotations[] = {-91, -163, -235, -307, -379};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(scene->mActionPointGems[i]->getParent(), scene->mActionPointsButton);
        EXPECT_EQ(scene->mActionPointGems[i]->getZOrder(), 3);
        EXPECT_FLOAT_EQ(scene->mActionPointGems[i]->getRotation(), rotations[i]);
    }
    EXPECT_EQ(scene->mHelpButton, nullptr);
    EXPECT_EQ(scene->mPendingPuzzle, (std::array<int32_t, 2>{-1, -1}));
    EXPECT_EQ(scene->mNextGameId, -1);
}

TEST_F(GameSceneTest, TheLargeLayoutTakesTheLargeBannerWithoutColourLayers) {
    writeSolidPng("UI/PlayerBanner.png", 300, 40, {40, 40, 40, 255});
    writeSolidPng("UI/PlayerBanner-iPad.png", 420, 50, {40, 40, 40, 255});
    GameScene::setLayoutMode(2);
    EXPECT_EQ(sceneServices().layoutMode(), 2);
    SettingsManager::instance().mActionPointsPerTurn = 0;
    GameScene* scene = enter();
    EXPECT_EQ(scene->mLocalBanner->getContentSize().width, 420);
    EXPECT_EQ(scene->mOpponentBanner->getContentSize().width, 420);
    EXPECT_EQ(scene->mLocalBannerColor, nullptr);
    EXPECT_EQ(scene->mOpponentBannerColor, nullptr);
    EXPECT_TRUE(scene->mActionPointGems.empty());
}

TEST_F(GameSceneTest, FiveReticleFramesAreCachedAndTheMarkersAnswerTwo) {
    const char* files[] = {"AttackReticle.png", "AttackReticle2.png", "NO_Symbol.png",
                           "HealReticle.png", "AllyReticle01_OutsideRing.png"};
    for (const char* file : files)
        writeSolidPng(file, 20, 20, {255, 0, 0, 255});
    GameScene* scene = enter();
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    for (const char* name : {"attackReticle", "attackReticle2", "attackBlockedReticle",
                             "healReticle", "abilityReticle"})
        EXPECT_NE(cache->spriteFrameByName(name), nullptr) << name;
    ASSERT_NE(gGameScene, nullptr);
    EXPECT_EQ(gGameScene->getReachMarkerFrame(), cache->spriteFrameByName("attackBlockedReticle"));
    EXPECT_EQ(gGameScene->getHealMarkerFrame(), cache->spriteFrameByName("healReticle"));
    EXPECT_EQ(scene->getSceneNode(), scene);
}

TEST_F(GameSceneTest, WithoutPartialUndoTheActionPointsTooltipOffersAReset) {
    writeSolidPng("HelpTooltip_BG.png", 300, 180, {20, 20, 20, 255});
    writeSolidPng("UI/Avatars/Avatar_Undo.png", 64, 64, {255, 0, 0, 255});
    GameScene* scene = enter();
    CCSprite* background = CCSprite::spriteWithFile("HelpTooltip_BG.png");
    scene->mActionPointsButton->buildTooltip(background);
    ASSERT_EQ(background->getChildrenCount(), 5u);
    auto* help = dynamic_cast<CCLabelTTF*>(background->getChildren()->getObjectAtIndex(4));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(std::string(help->getString()).ends_with("Tap this to Reset your turn!"));
}

TEST_F(GameSceneTest, AnUnknownTestPuppetStillSitsAtItsPlace) {
    BConfig::instance().setStringById(cOptTestPuppet, "NoSuchPuppet");
    GameScene* scene = enter();
    BConfig::instance().unsetById(cOptTestPuppet);
    PuppetInstance* puppet = nullptr;
    for (size_t i = 0; i < scene->getChildrenCount(); ++i)
        if (auto* found = dynamic_cast<PuppetInstance*>(scene->getChildren()->getObjectAtIndex(i)))
            puppet = found;
    ASSERT_NE(puppet, nullptr);
    EXPECT_EQ(puppet->getPosition(), CCPoint(100, 100));
    EXPECT_EQ(puppet->getZOrder(), 1000);
}

TEST_F(GameSceneTest, MissingArtAndFontsStillBuildTheScene) {
    GameScene* scene = enter();
    ASSERT_NE(scene, nullptr);
    scene->showDamageFlyout(300, CCPoint(10, 10), 0);
    EXPECT_STREQ(scene->mDamageFlyouts.mEntries[0]->getString(), "-300");
    EXPECT_EQ(scene->mReticleFrames[0], nullptr);
    run(2.0f);
}

TEST_F(GameSceneTest, ViewDidAppearClearsTheBindMarkOnlyWithAGame) {
    GameScene* scene = enter();
    scene->mJustBound = true;
    scene->onViewDidAppear(false);
    EXPECT_TRUE(scene->mJustBound) << "no game: nothing";
    Game* game = new Game();
    scene->setGame(game);
    game->release();
    scene->mJustBound = true;
    scene->onViewDidAppear(false);
    EXPECT_FALSE(scene->mJustBound);
}

TEST_F(GameSceneTest, AGameJustBoundReplaysOnceWhenTheSceneAppearsUnlessItIsLocal) {
    FakeGamesList games;
    games.add(-1, {"Ada", "Bram"}); // an online game binds only with its record
    GameScene* scene = enter();
    for (bool local : {false, true}) {
        auto* game = new ReplayCountingGame();
        if (local)
            game->mFlags |= cGameLocal;
        scene->setGame(game);
        EXPECT_TRUE(scene->mJustBound);
        scene->onViewDidAppear(false);
        scene->onViewDidAppear(false);
        EXPECT_EQ(game->mReplays, local ? 0 : 1);
        scene->setGame(nullptr);
        game->release();
    }
}

TEST_F(GameSceneTest, TouchesKeysAndTheSoundPanFollowTheScene) {
    GameScene* scene = enter();
    auto* touches = cocos2d::CCTouchDispatcher::sharedDispatcher();
    EXPECT_TRUE(touches->isRegistered(scene));
    EXPECT_TRUE(scene->wantAllTouches());
    EXPECT_FLOAT_EQ(soundPanForPosition(CCPoint(960, 0)), 0.5f) << "the scene spans the pan";
    scene->removeFromParentAndCleanup(true);
    EXPECT_FALSE(touches->isRegistered(scene));
    director()->tick(0); // the scene goes
    EXPECT_EQ(gGameScene, nullptr);
    EXPECT_FLOAT_EQ(soundPanForPosition(CCPoint(960, 0)), 1.5f) << "240 either side again";
}

TEST_F(GameSceneTest, BackToGamesDropsTheTurnsPendingStatistics) {
    GameScene* scene = enter();
    AchievementTracker::pushScope();
    AchievementTracker::setPendingValue(3, 7);
    ASSERT_GE(AchievementTracker::currentScope(), 0);
    scene->backToGames();
    EXPECT_EQ(AchievementTracker::currentScope(), -1);
    AchievementTracker::reset();
}
