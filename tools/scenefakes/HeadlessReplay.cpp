#include "tools/scenefakes/HeadlessReplay.h"

#include "tools/scenefakes/HeadlessAnimationDriver.h"
#include "tools/scenefakes/HeadlessGameScene.h"

#include "rules/Game.h"

#include "platform/engine/CCDirector.h"

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
    HeadlessAnimationDriver driver;
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
