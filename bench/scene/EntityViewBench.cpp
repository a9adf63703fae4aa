// Linking every entity view of a mid-game board of the shipped content (the
// board's units, one carrying gear, and player 0's rack tiles) on a game
// scene: what a reload or the binding of a game costs the views. The floor
// makes the same main nodes straight from the library (a puppet instance of
// the entity's puppet in its colour, else a sprite of its art), adds them to
// the scene and removes them again, with nothing hung on them.

#include "../rules/MidGame.h"

#include "scene/EntityView.h"
#include "scene/GameScene.h"
#include "scene/GameSceneServices.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"
#include "rules/EntityGrid.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCSprite.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

using namespace cocos2d;

namespace {

// The mid-game board's entities with their squares, on a game scene.
class ViewBench {
public:
    ViewBench() : mGame(midGame()) {
        CCFileUtils::setResourcePath(
            (std::filesystem::path(TARNWICK_SOURCE_DIR) / "data").string());
        CCDirector::sharedDirector()->setWinSizeInPixels(CCSize(960, 640));
        setSceneServices(&mServices);
        mScene = GameScene::node();
        if (mScene == nullptr)
            MidGame::fail("no game scene");
        mScene->retain();
        for (EntityGrid* grid : {static_cast<EntityGrid*>(mGame.mGame->mGameBoard),
                                 mGame.mGame->getGrid(cGridTileRack, 0)})
            for (int32_t i = 0; i < grid->getSlotCount(); ++i)
                if (Entity* entity = grid->getEntityAtIndex(i)) {
                    mEntities.push_back(entity);
                    mPoints.push_back(grid->pointForCoords(entity->mSlot, true));
                }
    }
    ~ViewBench() {
        for (Entity* entity : mEntities)
            entity->unlink();
        mScene->release();
        setSceneServices(nullptr);
        CCPoolManager::sharedPoolManager()->finalize();
    }

    MidGame& mGame;
    GameSceneServices mServices;
    GameScene* mScene = nullptr;
    std::vector<Entity*> mEntities;
    std::vector<CCPoint> mPoints;
};

void BM_LinkEveryViewOfAMidGameBoard(benchmark::State& state) {
    ViewBench bench;
    for (auto _ : state) {
        for (size_t i = 0; i < bench.mEntities.size(); ++i)
            bench.mEntities[i]->linkAt(bench.mPoints[i]);
        CCPoolManager::sharedPoolManager()->pop();
    }
    if (dynamic_cast<EntityView*>(bench.mEntities.front()->getEntityLink()) == nullptr)
        state.SkipWithError("no entity view was made");
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(bench.mEntities.size()));
}
BENCHMARK(BM_LinkEveryViewOfAMidGameBoard)->Unit(benchmark::kMicrosecond);

void BM_FloorMakeTheMainNodesDirectly(benchmark::State& state) {
    ViewBench bench;
    for (auto _ : state) {
        for (size_t i = 0; i < bench.mEntities.size(); ++i) {
            const Entity* entity = bench.mEntities[i];
            CCNode* node = nullptr;
            if (entity->getPuppetHandle() >= 0)
                node = PuppetInstance::create(entity->getPuppetHandle(), entity->getTeamColor());
            else
                node = CCSprite::spriteWithFile(entity->getProto()->mArt);
            node->setPosition(bench.mPoints[i]);
            bench.mScene->addChild(node);
            node->removeFromParentAndCleanup(true);
        }
        CCPoolManager::sharedPoolManager()->pop();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(bench.mEntities.size()));
}
BENCHMARK(BM_FloorMakeTheMainNodesDirectly)->Unit(benchmark::kMicrosecond);

} // namespace
