// A second-team sprite as drawn offscreen: mirrored about its square, so
// the right half of its image shows on the left.

#include "../platform/render/RenderTest.h"
#include "EntityViewTestSupport.h"

#include "scene/EntityView.h"
#include "scene/GameSceneServices.h"
#include "scene/widgets/TooltipLayer.h"

#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCScene.h"
#include "platform/render/CCEGLView.h"

using namespace cocos2d;

namespace {

class EntityViewRenderTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        setSceneServices(&mServices);
    }
    void TearDown() override {
        setSceneServices(nullptr);
        Database::clear();
        director()->setOpenGLView(nullptr);
        RenderTest::TearDown();
        CCPoolManager::sharedPoolManager()->finalize();
    }

    // A local game of two players, the first to move.
    static Game* twoPlayerGame() {
        Game* game = new Game();
        game->mFlags |= cGameLocal;
        game->mPlayers = {new Player(game, 0), new Player(game, 1)};
        game->mCurrentPlayer = 0;
        return game;
    }

    GameSceneServices mServices;
};

} // namespace

TEST_F(EntityViewRenderTest, ASecondTeamSpriteIsDrawnMirrored) {
    // Left half red, right half blue, anchored at its left quarter.
    writePng("Halves.png", 40, 20, [](int x, int) {
        return x < 20 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    });
    loadProtos(R"(<Database><entity name="scout"><Type>gear</Type><Art>Halves.png</Art>
        <AnchorPoint x="0.25" y="0.5"/></entity></Database>)");

    CCEGLView view;
    ASSERT_TRUE(view.Create("entity", 480, 320));
    director()->setOpenGLView(&view);
    CCScene* scene = CCScene::node();
    director()->runWithScene(scene);
    Game* game = twoPlayerGame();
    Entity* scout = game->getEntity(game->createEntity(0, 1));
    ASSERT_TRUE(scout->linkAt(CCPoint(200, 200)));
    scene->addChild(scout->getEntityLink()->getMainNode());
    director()->tick(0);
    // Anchor x 1 - 0.25: the node spans x 170..210 and y 190..210.
    EXPECT_GT(viewPixel(view, 180, 200).b, 200) << "blue on the left";
    EXPECT_GT(viewPixel(view, 200, 200).r, 200) << "red on the right";
    game->release();
}

TEST_F(EntityViewRenderTest, AUnitsTooltipPanelDrawsItsHealthBarToTheHealthFraction) {
    writeSolidPng("HelpTooltip_BG.png", 300, 260, {40, 40, 40, 255});
    writeSolidPng("HelpTooltip_HPBar.png", 100, 10, {0, 220, 0, 255});
    writeSolidPng("Units/Archer.png", 20, 20, {0, 0, 255, 255});
    loadProtos(R"(<Database><entity name="brute"><Type>unit</Type><Hitpoints>800</Hitpoints>
        <Art>Units/Archer.png</Art></entity></Database>)");

    CCEGLView view;
    ASSERT_TRUE(view.Create("tooltip", 480, 320));
    director()->setOpenGLView(&view);
    CCScene* scene = CCScene::node();
    director()->runWithScene(scene);
    Game* game = twoPlayerGame();
    Entity* brute = game->getEntity(game->createEntity(0, 0));
    brute->mHealth = 400;
    ASSERT_TRUE(brute->linkAt(CCPoint(200, 200)));
    auto* owner = dynamic_cast<EntityView*>(brute->getEntityLink());
    ASSERT_NE(owner, nullptr);
    auto* panel = new TooltipLayer(owner, false);
    panel->setPosition(CCPoint(100, 300)); // the panel's top left
    scene->addChild(panel);
    director()->tick(0);
    // The bar spans x 145..245 of the window at y 300 - 67; half of it fills.
    EXPECT_GT(viewPixel(view, 160, 233).g, 200) << "inside the filled half";
    EXPECT_LT(viewPixel(view, 230, 233).g, 60) << "past the health fraction";
    scene->removeAllChildrenWithCleanup(true);
    game->release();
}
