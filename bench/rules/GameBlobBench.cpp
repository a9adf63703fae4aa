// The game-state blob of a mid-game: saving it, loading it into a game, and
// beside them the floors under each: zlib's own inflate of the same blob's
// body (under any load) and zlib's compress of the same archive (under any
// save). The game is a copy of the shared mid-game with actions of the turn
// executed and recorded: attacks by player 0's units and drops of its rack
// tiles on the board, repeated up to 7, 70 or 700 recorded actions.

#include "MidGame.h"

#include "rules/CandidateAction.h"

#include <libdeflate.h>
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace {

class MidGameBlob {
public:
    explicit MidGameBlob(size_t actionCount) {
        const std::vector<uint8_t> start = midGame().mGame->saveToBuffer();
        mGame = new Game();
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        if (!mGame->loadFromBuffer(start.data(), static_cast<int32_t>(start.size()), -1, false))
            MidGame::fail("the mid-game does not load");
        playSomeActions();
        repeatActions(actionCount);
        mBlob = mGame->saveToBuffer();
        mRawSize =
            static_cast<uLongf>(mBlob[8] | mBlob[9] << 8 | mBlob[10] << 16 | mBlob[11] << 24);
        mArchive.resize(mRawSize);
        uLongf produced = mRawSize;
        if (uncompress(mArchive.data(), &produced, mBlob.data() + 12, mBlob.size() - 12) != Z_OK ||
            produced != mRawSize)
            MidGame::fail("the blob does not inflate");
    }

    Game* mGame = nullptr;
    std::vector<uint8_t> mBlob;
    // The archive inside the blob.
    std::vector<uint8_t> mArchive;
    uLongf mRawSize = 0;

private:
    void record(int32_t source, int32_t type, const GridSlot& slot, int32_t cost) {
        auto* action = new CandidateAction(mGame, cost);
        if (action->init(source, type, slot, mGame->mGameBoard))
            action->execute();
        mGame->mActions.push_back(action);
    }

    // Copies of the recorded actions (read back from a blob) until there
    // are exactly count.
    void repeatActions(size_t count) {
        const std::vector<uint8_t> played = mGame->saveToBuffer();
        while (mGame->mActions.size() < count) {
            Game* copy = new Game();
            if (!copy->loadFromBuffer(played.data(), static_cast<int32_t>(played.size()), -1,
                                      false) ||
                copy->mActions.empty())
                MidGame::fail("no actions to repeat");
            for (CandidateAction* action : copy->mActions) {
                adopt(action);
                mGame->mActions.push_back(action);
            }
            copy->mActions.clear();
            copy->release();
        }
        while (mGame->mActions.size() > count) {
            mGame->mActions.back()->release();
            mGame->mActions.pop_back();
        }
    }

    void adopt(CandidateAction* action) {
        action->mGame = mGame;
        for (CandidateAction* sub : action->mSubActions)
            if (sub != nullptr)
                adopt(sub);
    }

    // Every attack player 0's units can make, then the first drop of each
    // rack tile the rules accept.
    void playSomeActions() {
        GameBoard* board = mGame->mGameBoard;
        for (int32_t i = 0; i < board->getSlotCount(); ++i) {
            Entity* unit = board->getEntityAtIndex(i);
            if (unit == nullptr || unit->mOwner != 0 || !unit->isAlive())
                continue;
            for (int32_t j = 0; j < board->getSlotCount(); ++j) {
                const int32_t target = board->getEntityIdAtIndex(j);
                if (target >= 0 && unit->canAttack(target))
                    record(unit->mId, cActionAttack, board->coordsOfIndex(j), 1);
            }
        }
        EntityGrid* rack = mGame->getGrid(cGridTileRack, 0);
        for (int32_t r = 0; r < rack->getSlotCount(); ++r) {
            Entity* tile = rack->getEntityAtIndex(r);
            for (int32_t j = 0; tile != nullptr && j < board->getSlotCount(); ++j) {
                int32_t cost = 0;
                GridSlot slot;
                const int32_t type = tile->classifyDrop(board, board->coordsOfIndex(j), cost, slot);
                if (type > cActionPlace) {
                    record(tile->mId, type, slot, cost);
                    break;
                }
            }
        }
    }
};

MidGameBlob& midGameBlob(const benchmark::State& state) {
    static std::map<int64_t, std::unique_ptr<MidGameBlob>> blobs;
    std::unique_ptr<MidGameBlob>& blob = blobs[state.range(0)];
    if (!blob)
        blob = std::make_unique<MidGameBlob>(static_cast<size_t>(state.range(0)));
    return *blob;
}

// Games with 7, 70 and 700 recorded actions.
void actionCounts(benchmark::internal::Benchmark* bench) {
    bench->Arg(7)->Arg(70)->Arg(700);
}

void setCounters(benchmark::State& state, const MidGameBlob& blob) {
    state.counters["blob bytes"] = static_cast<double>(blob.mBlob.size());
    state.counters["archive bytes"] = static_cast<double>(blob.mRawSize);
    state.counters["actions"] = static_cast<double>(blob.mGame->mActions.size());
}

void BM_SaveMidGameBlob(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(blob.mGame->saveToBuffer());
    setCounters(state, blob);
}
BENCHMARK(BM_SaveMidGameBlob)->Apply(actionCounts);

void BM_LoadMidGameBlob(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    Game* target = new Game();
    for (auto _ : state) {
        const bool loaded = target->loadFromBuffer(
            blob.mBlob.data(), static_cast<int32_t>(blob.mBlob.size()), -1, false);
        if (!loaded)
            state.SkipWithError("the blob does not load");
    }
    target->release();
    setCounters(state, blob);
}
BENCHMARK(BM_LoadMidGameBlob)->Apply(actionCounts);

void BM_SaveAndLoadMidGameBlob(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    Game* target = new Game();
    for (auto _ : state) {
        const std::vector<uint8_t> saved = blob.mGame->saveToBuffer();
        if (!target->loadFromBuffer(saved.data(), static_cast<int32_t>(saved.size()), -1, false))
            state.SkipWithError("the blob does not load");
    }
    target->release();
    setCounters(state, blob);
}
BENCHMARK(BM_SaveAndLoadMidGameBlob)->Apply(actionCounts);

// zlib alone: the blob's body inflated into the archive's size.
void BM_InflateMidGameBlob(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    std::vector<uint8_t> raw(blob.mRawSize);
    for (auto _ : state) {
        uLongf produced = blob.mRawSize;
        if (uncompress(raw.data(), &produced, blob.mBlob.data() + 12, blob.mBlob.size() - 12) !=
            Z_OK)
            state.SkipWithError("the blob does not inflate");
        benchmark::DoNotOptimize(raw.data());
    }
    setCounters(state, blob);
}
BENCHMARK(BM_InflateMidGameBlob)->Apply(actionCounts);

// libdeflate's inflate of the same blob, the decompressor the load uses:
// beside zlib's floor, it shows how much of the load is the inflating.
void BM_LibdeflateMidGameBlob(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    std::vector<uint8_t> raw(blob.mRawSize);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (libdeflate_zlib_decompress(decompressor, blob.mBlob.data() + 12, blob.mBlob.size() - 12,
                                       raw.data(), raw.size(), nullptr) != LIBDEFLATE_SUCCESS)
            state.SkipWithError("the blob does not inflate");
        benchmark::DoNotOptimize(raw.data());
    }
    libdeflate_free_decompressor(decompressor);
    setCounters(state, blob);
}
BENCHMARK(BM_LibdeflateMidGameBlob)->Apply(actionCounts);

// zlib alone: the same archive compressed into a blob's room.
void BM_CompressMidGameArchive(benchmark::State& state) {
    MidGameBlob& blob = midGameBlob(state);
    std::vector<uint8_t> compressed(compressBound(blob.mRawSize));
    for (auto _ : state) {
        uLongf size = compressed.size();
        if (compress(compressed.data(), &size, blob.mArchive.data(), blob.mRawSize) != Z_OK)
            state.SkipWithError("the archive does not compress");
        benchmark::DoNotOptimize(compressed.data());
    }
    setCounters(state, blob);
}
BENCHMARK(BM_CompressMidGameArchive)->Apply(actionCounts);

} // namespace
