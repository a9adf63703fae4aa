#include "DemoGameRoad.h"

#include "shell/MainLoop.h"
#include "shell/ShellState.h"

#include "platform/browser/BridgeDispatcher.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCEGLView.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/SelfPlay.h"
#include "scene/GameScene.h"
#include "scene/SubmitConfirmLayer.h"
#include "service/WebService.h"

#include <SDL.h>

#include <cstdio>

using namespace cocos2d;

namespace {

// Frames between steps, so each screenshot shows the settled step.
constexpr int cSettleFrames = 30;
constexpr uint32_t cAskInterval = 1500;
constexpr int cDragMoves = 8;
constexpr int cReplayFrames = 1200;

// The oldest listed game against the bot (the seeded one, before the games
// a run creates) that waits for the local player, 0 when none; its turn
// count goes to turnCount.
int64_t botGameWaiting(int32_t& turnCount) {
    WebService& service = webService();
    const std::string nickname = service.nickname();
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    int64_t found = 0;
    for (const auto& record : service.mGames) {
        if (record->getLocalPlayerGameState(nickname) != cMyTurn ||
            record->findPlayerIndex("Bot") < 0 || (found != 0 && record->mGameID > found))
            continue;
        turnCount = record->mTurnCount;
        found = record->mGameID;
    }
    return found;
}

// A window pixel of a point in the scene node's parent space.
void windowPixel(const CCNode* parent, const CCPoint& point, int& x, int& y) {
    CCDirector* director = CCDirector::sharedDirector();
    const CCPoint ui = director->convertToUI(parent->convertToWorldSpace(point));
    const float scale = director->getContentScaleFactor();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    x = int(ui.x * scale) + (view != nullptr ? view->getTranslateX() : 0);
    y = int(ui.y * scale) + (view != nullptr ? view->getTranslateY() : 0);
}

void mouse(uint32_t type, int x, int y) {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (view == nullptr)
        return;
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = SDL_BUTTON_LMASK;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
    }
    view->handleEvent(event);
}

SubmitConfirmLayer* confirmLayer(CCNode* scene) {
    if (scene == nullptr || scene->getChildren() == nullptr)
        return nullptr;
    for (unsigned i = 0; i < scene->getChildrenCount(); ++i)
        if (auto* layer =
                dynamic_cast<SubmitConfirmLayer*>(scene->getChildren()->getObjectAtIndex(i)))
            return layer;
    return nullptr;
}

} // namespace

DemoGameRoad::DemoGameRoad(std::function<bool(const char*)> shoot, uint32_t timeoutMs)
    : mShoot(std::move(shoot)), mTimeout(timeoutMs), mStart(shellMilliseconds()) {}

void DemoGameRoad::fail(const std::string& why) {
    std::fprintf(stderr, "tarnwick-demo: %s\n", why.c_str());
    mResult = Result::Failed;
    mStage = Stage::End;
    quitApplication();
}

void DemoGameRoad::clickEntry(uint32_t now) {
    answerBridgeCall("selectGame", "[\"" + std::to_string(mGameId) + "\", true]");
    mLastAsk = now;
}

bool DemoGameRoad::settled() {
    if (mFrames < cSettleFrames * 4)
        return false;
    if (!gCurrentGame->isReplaying())
        return true;
    // A replay that has not ended after a while is skipped, as a tap would.
    if (mFrames > cReplayFrames) {
        std::printf("skipping the replay\n");
        gCurrentGame->skipReplay();
    }
    return false;
}

bool DemoGameRoad::startDrag() {
    Game* game = gCurrentGame;
    if (game == nullptr || gGameScene == nullptr)
        return false;
    // Rack units onto the board first: a deploy the rules accept.
    std::vector<SelfPlay::Drop> drops = SelfPlay::legalDrops(*game);
    std::stable_partition(drops.begin(), drops.end(), [game](const SelfPlay::Drop& drop) {
        const Entity* entity = game->getEntity(drop.mEntityId);
        return drop.mGridType == cGridGameBoard && entity != nullptr &&
               entity->mState == cStateOnTileRack;
    });
    if (size_t(mAttempt) >= drops.size())
        return false;
    const SelfPlay::Drop& drop = drops[size_t(mAttempt)];
    const Entity* entity = game->getEntity(drop.mEntityId);
    EntityGrid* grid = game->getGrid(drop.mGridType, entity->mOwner);
    CocosEntityLink* link = entity->getEntityLink();
    CCNode* node = link != nullptr ? link->getMainNode() : nullptr;
    if (grid == nullptr || node == nullptr || node->getParent() == nullptr)
        return false;
    windowPixel(node->getParent(), node->getPosition(), mFromX, mFromY);
    windowPixel(node->getParent(), grid->pointForCoords(GridSlot(drop.mX, drop.mY), true), mToX,
                mToY);
    std::printf("dragging entity %d to (%d, %d): pixels (%d, %d) to (%d, %d)\n", drop.mEntityId,
                drop.mX, drop.mY, mFromX, mFromY, mToX, mToY);
    mCommands = game->mCommands.size();
    mDragStep = 0;
    return true;
}

DemoGameRoad::Result DemoGameRoad::step() {
    if (mInStep)
        return mResult;
    mInStep = true;
    const Result result = stepOnce();
    mInStep = false;
    return result;
}

DemoGameRoad::Result DemoGameRoad::stepOnce() {
    if (mStage == Stage::End)
        return mResult;
    const uint32_t now = shellMilliseconds();
    if (uint32_t(now - mStart) > mTimeout) {
        fail("the road timed out");
        return mResult;
    }
    ++mFrames;
    switch (mStage) {
    case Stage::AskList:
        answerBridgeCall("enableGamesList", "[true]");
        answerBridgeCall("manualRequestGamesList", "[]");
        mLastAsk = now;
        mStage = Stage::WaitList;
        break;
    case Stage::WaitList:
        mGameId = botGameWaiting(mTurnCount);
        if (mGameId == 0) {
            if (uint32_t(now - mLastAsk) > cAskInterval) {
                answerBridgeCall("manualRequestGamesList", "[]");
                mLastAsk = now;
            }
            break;
        }
        std::printf("the game against the bot: %lld\n", static_cast<long long>(mGameId));
        if (!mShoot("games-list.png"))
            return fail("no screenshot"), mResult;
        // What the page's entry calls when clicked.
        clickEntry(now);
        mFrames = 0;
        mStage = Stage::WaitBoard;
        break;
    case Stage::WaitBoard:
        if (gCurrentGame == nullptr || gCurrentGame->mGameID != mGameId || gGameScene == nullptr) {
            // An opening asked for within 2 s of the last one (or of the
            // clock's start) is dropped: the entry is clicked again.
            if (uint32_t(now - mLastAsk) > cAskInterval * 2) {
                clickEntry(now);
            }
            mFrames = 0;
            break;
        }
        if (mFrames == 1)
            answerBridgeCall("showGameView", "[]");
        if (!settled())
            break;
        if (!mShoot("board.png"))
            return fail("no screenshot"), mResult;
        if (!startDrag())
            return fail("no legal drop to drag"), mResult;
        mStage = Stage::Drag;
        break;
    case Stage::Drag: {
        const float t = float(mDragStep) / cDragMoves;
        if (mDragStep == 0)
            mouse(SDL_MOUSEBUTTONDOWN, mFromX, mFromY);
        else if (mDragStep <= cDragMoves)
            mouse(SDL_MOUSEMOTION, mFromX + int(float(mToX - mFromX) * t),
                  mFromY + int(float(mToY - mFromY) * t));
        else {
            mouse(SDL_MOUSEBUTTONUP, mToX, mToY);
            mFrames = 0;
            mStage = Stage::WaitDrop;
        }
        ++mDragStep;
        break;
    }
    case Stage::WaitDrop:
        if (mFrames < cSettleFrames * 2)
            break;
        if (gCurrentGame == nullptr || gCurrentGame->mCommands.size() <= mCommands) {
            ++mAttempt;
            if (mAttempt > 5 || !startDrag())
                return fail("the drop was not accepted"), mResult;
            mStage = Stage::Drag;
            break;
        }
        if (!mShoot("drop.png"))
            return fail("no screenshot"), mResult;
        if (auto* scene = dynamic_cast<GameScene*>(gGameScene))
            scene->onSubmitButton();
        mFrames = 0;
        mStage = Stage::Submit;
        break;
    case Stage::Submit: {
        if (mFrames < cSettleFrames)
            break;
        SubmitConfirmLayer* layer =
            confirmLayer(gGameScene != nullptr ? gGameScene->getSceneNode() : nullptr);
        if (layer == nullptr)
            return fail("no submit question"), mResult;
        // The question's OK: the turn goes out through the shell's job.
        mSubmitted = gCurrentGame;
        layer->onOk();
        if (!mShoot("submitted.png"))
            return fail("no screenshot"), mResult;
        mLastAsk = now;
        mStage = Stage::WaitBack;
        break;
    }
    case Stage::WaitBack: {
        int32_t turns = 0;
        const int64_t back = botGameWaiting(turns);
        if (back == mGameId && turns > mTurnCount) {
            std::printf("the bot answered: turn %d\n", turns);
            // The entry clicked again: the game opens with the bot's turn.
            clickEntry(now);
            mFrames = 0;
            mStage = Stage::Reopened;
            break;
        }
        if (uint32_t(now - mLastAsk) > cAskInterval) {
            answerBridgeCall("manualRequestGamesList", "[]");
            mLastAsk = now;
        }
        break;
    }
    case Stage::Reopened:
        // A new game object: the one submitted goes after it loaded.
        if (gCurrentGame == nullptr || gCurrentGame == mSubmitted ||
            gCurrentGame->mGameID != mGameId) {
            if (uint32_t(now - mLastAsk) > cAskInterval * 2) {
                clickEntry(now);
            }
            mFrames = 0;
            break;
        }
        if (!settled())
            break;
        if (!mShoot("back.png"))
            return fail("no screenshot"), mResult;
        mResult = Result::Done;
        mStage = Stage::End;
        break;
    case Stage::End:
        break;
    }
    return mResult;
}
