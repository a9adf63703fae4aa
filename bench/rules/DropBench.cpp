// Drop classification and the target tests on a mid-game board of the
// shipped content (9 x 5, humans against orcs, both sides with units out,
// a knocked-out unit, gear carried): every rack tile classified onto every
// board square (what a drag over the board asks), and the target tests of
// the board's highlight run for every unit of the current player over every
// square.

#include "MidGame.h"

#include "rules/Entity.h"
#include "rules/GameBoard.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ClassifyRackDropsOverTheBoard(benchmark::State& state) {
    MidGame& game = midGame();
    GameBoard* board = game.mGame->mGameBoard;
    const int32_t width = board->getWidth();
    const int32_t height = board->getHeight();
    int64_t drops = 0;
    for (auto _ : state) {
        for (Entity* tile : game.mRackTiles) {
            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x < width; ++x) {
                    int32_t cost = 0;
                    GridSlot slot;
                    benchmark::DoNotOptimize(tile->classifyDrop(board, GridSlot(x, y), cost, slot));
                    ++drops;
                }
            }
        }
    }
    state.counters["drops/s"] =
        benchmark::Counter(static_cast<double>(drops), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClassifyRackDropsOverTheBoard);

// The target tests of the board highlight while a unit is held: moves to
// every square, then attack, heal and ally ability against every occupant.
void BM_HighlightTargetTests(benchmark::State& state) {
    MidGame& game = midGame();
    GameBoard* board = game.mGame->mGameBoard;
    int64_t tests = 0;
    for (auto _ : state) {
        for (Entity* unit : game.mUnits) {
            for (int32_t i = 0; i < board->getSlotCount(); ++i) {
                const GridSlot slot = board->coordsOfIndex(i);
                benchmark::DoNotOptimize(unit->canMoveTo(slot));
                const int32_t id = board->getEntityIdAtIndex(i);
                if (id < 0)
                    continue;
                bool blocked = false;
                benchmark::DoNotOptimize(unit->canAttack(id, &blocked) ||
                                         unit->canHeal(id, true, true) ||
                                         unit->canUseAllyAbility(id));
                ++tests;
            }
        }
    }
    state.counters["targets/s"] =
        benchmark::Counter(static_cast<double>(tests), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HighlightTargetTests);

} // namespace
