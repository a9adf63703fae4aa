// One frame of the engine with a busy board: 2,000 running nodes, each with
// a three-action sequence (move, rotate, scale), repeated so that every
// frame also crosses from one action to the next somewhere in the tree.

#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionRotate.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCLayer.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCScene.h"
#include "platform/engine/CCSequence.h"

#include <benchmark/benchmark.h>

using namespace cocos2d;

namespace {

constexpr int kNodes = 2000;
constexpr float kFrame = 1.0f / 60.0f;

void BM_TickOfNodesRunningSequences(benchmark::State& state) {
    CCDirector* director = CCDirector::sharedDirector();
    director->setWinSizeInPixels(CCSize(1434, 990));
    CCScene* scene = CCScene::node();
    CCLayer* layer = CCLayer::node();
    scene->addChild(layer);
    for (int i = 0; i < kNodes; ++i) {
        CCNode* node = CCNode::node();
        layer->addChild(node, i % 7);
        // Staggered lengths, so that sequences change step in different frames.
        const float step = 0.2f + 0.001f * float(i % 100);
        node->runAction(CCRepeatForever::actionWithAction(
            CCSequence::actions(CCMoveBy::actionWithDuration(step, CCPoint(10, 5)),
                                CCRotateBy::actionWithDuration(step, 90),
                                CCScaleTo::actionWithDuration(step, 1.0f + 0.5f * float(i % 2)))));
    }
    director->runWithScene(scene);
    director->tick(0);
    for (auto _ : state)
        director->tick(kFrame);
    state.counters["nodes"] = kNodes;
    director->purgeDirector();
}

BENCHMARK(BM_TickOfNodesRunningSequences)->Unit(benchmark::kMicrosecond);

} // namespace
