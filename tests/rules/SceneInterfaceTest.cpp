#include "RulesTestSupport.h"

#include "rules/GameSceneInterface.h"
#include "rules/TooltipProtocol.h"

using cocos2d::CCPoint;

namespace {

// A scene that records the calls the rules make.
class RecordingGameScene : public GameSceneInterface {
public:
    RecordingGameScene() { gGameScene = this; }
    ~RecordingGameScene() override { gGameScene = nullptr; }

    cocos2d::CCNode* getSceneNode() override { return nullptr; }
    Game* getGame() const override { return mGame; }
    void setGame(Game* game) override {
        note("setGame");
        mGame = game;
    }
    PuzzleScript* getPuzzleScript() const override { return nullptr; }
    void addEffectNode(cocos2d::CCNode*) override { note("addEffectNode"); }
    void clearEffectNodes() override { note("clearEffectNodes"); }
    void removeFinishedEffects() override { note("removeFinishedEffects"); }
    cocos2d::CCSpriteFrame* getReachMarkerFrame() const override { return nullptr; }
    cocos2d::CCSpriteFrame* getHealMarkerFrame() const override { return nullptr; }
    void refreshPlayerBanners() override { note("refreshPlayerBanners"); }
    void hideTurnControls() override { note("hideTurnControls"); }
    void onTurnStarted() override { note("onTurnStarted"); }
    void onTileChestTapped() override { note("onTileChestTapped"); }
    void playAPRegenEffect(float) override { note("playAPRegenEffect"); }
    void setPlayerHealth(int32_t, float, bool, float) override { note("setPlayerHealth"); }
    void setPlayerHealthText(int32_t, int32_t, float) override { note("setPlayerHealthText"); }
    void showHealthNumbers() override { note("showHealthNumbers"); }
    void hideHealthNumbers() override { note("hideHealthNumbers"); }
    void setCrystalDebuffLevels(int32_t, int32_t, bool, float) override {
        note("setCrystalDebuffLevels");
    }
    void showTurnNotice(const std::string&) override { note("showTurnNotice"); }
    void showBigAttackBanner(const std::string&, const CCPoint&, cocos2d::CCFiniteTimeAction*,
                             float, float) override {
        note("showBigAttackBanner");
    }
    void showDamageFlyout(int32_t, const CCPoint&, float) override { note("showDamageFlyout"); }
    void showHealingFlyout(int32_t, const CCPoint&, float) override { note("showHealingFlyout"); }
    void showScoreFlyout(int32_t, const CCPoint&, float, bool, float) override {
        note("showScoreFlyout");
    }
    void startSlowMotion(float, float, float) override { note("startSlowMotion"); }
    void updateDrag(float, float, TooltipProtocol*, bool) override { note("updateDrag"); }

    void note(const std::string& call) { mCalls.push_back(call); }

    Game* mGame = nullptr;
    std::vector<std::string> mCalls;
};

// Scene services that record debug drawings and tooltip calls.
class DrawingServices : public FakeSceneServices {
public:
    void drawGridDebug(const GridDebugDrawing& drawing) override { mDrawings.push_back(drawing); }
    void showTooltip(TooltipProtocol*) override { mTooltipCalls.push_back("show"); }
    void hideTooltipIndicator(TooltipProtocol*) override { mTooltipCalls.push_back("hide"); }
    std::vector<GridDebugDrawing> mDrawings;
    std::vector<std::string> mTooltipCalls;
};

class PointTooltip : public TooltipProtocol {
public:
    CCPoint getTooltipPosition() const override { return CCPoint(100, 50); }
};

using SceneInterfaceTest = RulesTest;

} // namespace

TEST_F(SceneInterfaceTest, WithoutServicesNothingPlaysAndNoViewIsMade) {
    int32_t effect = -7;
    EXPECT_FALSE(playSoundEffect("sound/a.mp3", &effect, false));
    EXPECT_FALSE(playSoundEffectPanned("sound/a.mp3", CCPoint(1, 1), &effect, true));
    EXPECT_EQ(effect, -7);
    Entity* knight = entity(create(cKnight));
    EXPECT_FALSE(knight->linkAt(CCPoint(0, 0)));
    EXPECT_FALSE(knight->hasLink());
}

TEST_F(SceneInterfaceTest, AGameLeavingTheSceneUnbindsIt) {
    RecordingGameScene scene;
    Game* other = new Game();
    scene.setGame(other);
    mGame->release(); // not the scene's game: the scene keeps its own
    mGame = new Game();
    EXPECT_EQ(scene.getGame(), other);
    other->release();
    EXPECT_EQ(scene.getGame(), nullptr);
    EXPECT_EQ(scene.mCalls, (std::vector<std::string>{"setGame", "setGame"}));
}

TEST_F(SceneInterfaceTest, TooltipsHitWithinTwentyAndReachTheServices) {
    DrawingServices services;
    PointTooltip tooltip;
    EXPECT_EQ(tooltip.mTooltipKind, -1);
    EXPECT_EQ(tooltip.getTooltipIndicatorPosition(), CCPoint(100, 50));
    EXPECT_TRUE(tooltip.hitTestTooltip(CCPoint(120, 30)));
    EXPECT_FALSE(tooltip.hitTestTooltip(CCPoint(121, 50)));
    tooltip.showTooltip();
    tooltip.hideTooltipIndicator();
    EXPECT_EQ(services.mTooltipCalls, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(SceneInterfaceTest, DebugDrawingOutlinesRowsColumnsAndCentres) {
    DrawingServices services;
    MeasuredGrid grid(mGame, cocos2d::CCSize(50, 40), 0.8f);
    grid.setSize(9, 5);
    grid.linkAt(CCPoint(0, 0));
    grid.drawDebug();
    ASSERT_EQ(services.mDrawings.size(), 1u);
    const GridDebugDrawing& drawing = services.mDrawings[0];
    EXPECT_FLOAT_EQ(drawing.mColor.b, 1.0f);
    EXPECT_EQ(drawing.mLines.size(), 2u * (6 + 10 * 5)); // 6 row lines, 10 columns of 5 rows
    ASSERT_EQ(drawing.mPoints.size(), 45u);
    EXPECT_EQ(drawing.mPoints[44], grid.pointForCoords(GridSlot(8, 4), true));
}

TEST_F(SceneInterfaceTest, DebugOutputListsEverySlot) {
    EntityGrid rack(0, mGame);
    rack.setSize(2, 1);
    rack.addEntityAt(create(cKnight), GridSlot(1, 0));
    testing::internal::CaptureStdout();
    rack.debugOutput();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "EntityGrid defaultGrid: debugOutput\n"
              "  (index 0 is empty)\n"
              "  Entity 1 (id: 0) proto:     ProtoEntity 'knight' (id: 0): \"\", class "
              "\"Melee\" (art: )\n");
}
