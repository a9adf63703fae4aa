// One touch move of a rack tile dragged over a mid-game board of the shipped
// content, as the board program handles it: the game forwards the move to
// the held tile's view (conversion to the scene, the tile follows), the raw
// move feeds the scene's drag tooltip (the nearest tooltip target, the
// Highlight aura and tooltip panel of the unit under the tile), and the
// square a release there would take (the snapping rule). The moves walk a
// path over every board square. The floor does what no drag can skip with
// the library alone: the point converted to the scene, a node moved there
// and the square under it looked up.

#include "../rules/MidGame.h"

#include "scene/EntityView.h"
#include "scene/GameScene.h"
#include "scene/GameSceneServices.h"

#include "rules/CocosEntityLink.h"
#include "rules/TileRack.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCTouch.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

using namespace cocos2d;

namespace {

// The mid-game board drawn on a running game scene, a rack tile held.
class DragBench {
public:
    DragBench() : mGame(midGame()) {
        CCFileUtils::setResourcePath(
            (std::filesystem::path(TARNWICK_SOURCE_DIR) / "data").string());
        CCDirector* director = CCDirector::sharedDirector();
        director->setWinSizeInPixels(CCSize(960, 640));
        setSceneServices(&mServices);
        mScene = CCScene::node();
        mScene->retain();
        mBoard = GameScene::node();
        if (mBoard == nullptr)
            MidGame::fail("no game scene");
        mScene->addChild(mBoard);
        director->runWithScene(mScene);
        director->tick(0);
        Game* game = mGame.mGame;
        if (!game->linkAt(CCPoint(0, 0), false))
            MidGame::fail("the game's views");
        mTile = mGame.mRackTiles.front();
        mTileView = dynamic_cast<EntityView*>(mTile->getEntityLink());
        if (mTileView == nullptr)
            MidGame::fail("no view of the rack tile");
        const CCPoint from = director->convertToUI(mTileView->getPosition());
        mTouch = new CCTouch(0, from.x, from.y);
        if (!game->ccTouchBegan(mTouch, nullptr))
            MidGame::fail("the tile is not picked up");
        GameBoard* board = game->mGameBoard;
        for (int32_t i = 0; i < board->getSlotCount(); ++i) {
            // The centre and a point off it, towards the next square.
            const CCPoint centre = board->pointForCoords(board->coordsOfIndex(i), true);
            mPath.push_back(director->convertToUI(centre));
            mPath.push_back(director->convertToUI(CCPoint(centre.x + 20.0f, centre.y + 15.0f)));
        }
    }
    ~DragBench() {
        mGame.mGame->ccTouchCancelled(mTouch, nullptr);
        mTouch->release();
        mGame.mGame->unlink(false);
        // The game scene goes, so the next bench may make one.
        mScene->removeAllChildrenWithCleanup(true);
        mScene->release();
        setSceneServices(nullptr);
        CCPoolManager::sharedPoolManager()->finalize();
    }

    MidGame& mGame;
    GameSceneServices mServices;
    CCScene* mScene = nullptr;
    GameScene* mBoard = nullptr;
    Entity* mTile = nullptr;
    EntityView* mTileView = nullptr;
    CCTouch* mTouch = nullptr;
    std::vector<CCPoint> mPath; // view points
};

void BM_MoveADraggedTile(benchmark::State& state) {
    DragBench bench;
    Game* game = bench.mGame.mGame;
    size_t next = 0;
    for (auto _ : state) {
        const CCPoint& at = bench.mPath[next];
        next = (next + 1) % bench.mPath.size();
        bench.mTouch->setTouchInfo(0, at.x, at.y);
        game->ccTouchMoved(bench.mTouch, nullptr);
        game->ccRawMove(at.x, at.y, true);
        benchmark::DoNotOptimize(bench.mTileView->findDropSlot(at, *game->mGameBoard));
        CCPoolManager::sharedPoolManager()->pop();
    }
    if (!bench.mTileView->isDragging())
        state.SkipWithError("the tile does not follow the touch");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveADraggedTile);

void BM_FloorConvertMoveAndLookUp(benchmark::State& state) {
    DragBench bench;
    const CCDirector* director = CCDirector::sharedDirector();
    GameBoard* board = bench.mGame.mGame->mGameBoard;
    CCNode* node = bench.mTileView->getMainNode();
    size_t next = 0;
    for (auto _ : state) {
        const CCPoint& at = bench.mPath[next];
        next = (next + 1) % bench.mPath.size();
        const CCPoint point = director->convertToScene(at);
        node->setPosition(point);
        benchmark::DoNotOptimize(board->coordsForPoint(point));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FloorConvertMoveAndLookUp);

} // namespace
