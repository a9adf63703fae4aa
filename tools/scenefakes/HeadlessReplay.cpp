#include "tools/scenefakes/HeadlessReplay.h"

#include "tools/scenefakes/HeadlessAnimationDriver.h"
#include "tools/scenefakes/HeadlessGameScene.h"

#include "rules/Game.h"
#include "rules/core/RNG.h"

#include "platform/engine/CCDirector.h"

#include <algorithm>
#include <optional>

namespace {

// Seconds the taunts and the rack refill get after the replay.
constexpr float cAfterReplay = 3.0f;

} // namespace

std::string HeadlessReplayResult::problem() const {
    if (!mLoaded)
        return "the blob does not load";
    if (mReplayed && !mEnded)
        return "the replay did not end";
    if (!mSameBlob)
        return "the replayed game saves to other bytes";
    return {};
}

HeadlessReplayResult HeadlessReplay::run(const std::vector<uint8_t>& blob,
                                         const HeadlessReplayOptions& options) {
    HeadlessReplayResult result;
    HeadlessGameScene scene;
    std::optional<HeadlessAnimationDriver> driver;
    if (options.mServices != nullptr)
        setSceneServices(options.mServices);
    else
        driver.emplace();
    Game* game = new Game();
    Game* previous = gCurrentGame;
    gCurrentGame = game;
    scene.setGame(game);
    game->mCurrentPlayer = options.mOpener;
    result.mLoaded =
        game->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), options.mGameId, true);
    if (result.mLoaded) {
        const std::vector<uint8_t> opened = game->saveToBuffer();
        game->linkAt(cocos2d::CCPoint(0.0f, 0.0f), false);
        result.mReplayed = game->startReplay();
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        const auto limit = static_cast<int32_t>(options.mLimitSeconds / cTick);
        while (game->isReplaying() && result.mTicks < limit) {
            if (result.mTicks == options.mSkipAtTick)
                game->skipReplay();
            else
                director->tick(cTick);
            ++result.mTicks;
        }
        result.mEnded = !game->isReplaying();
        game->skipReplay();
        for (int32_t i = 0; i < static_cast<int32_t>(cAfterReplay / cTick); ++i)
            director->tick(cTick);
        result.mSameBlob = game->saveToBuffer() == opened;
        game->unlink(false);
        game->clearUndoStack();
    }
    scene.setGame(nullptr);
    gCurrentGame = previous;
    game->release();
    return result;
}

std::string HeadlessReplay::check(const std::vector<uint8_t>& blob, HeadlessReplayOptions options,
                                  RNG& skips, int32_t& replays) {
    const HeadlessReplayResult whole = run(blob, options);
    if (!whole.mReplayed)
        return whole.problem();
    ++replays;
    options.mSkipAtTick =
        static_cast<int32_t>(skips.randInt(static_cast<uint32_t>(std::max(whole.mTicks - 1, 0))));
    const std::string skipped = run(blob, options).problem();
    return skipped.empty() ? whole.problem() : "skipped: " + skipped;
}
