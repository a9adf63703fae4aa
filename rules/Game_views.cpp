#include "rules/Game.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/Player.h"
#include "rules/SceneServices.h"
#include "rules/TileChest.h"

#include "content/settings/SettingsManager.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCTouchDispatcher.h"

#include <string>

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace {

// Touch priority of a game's registration; it swallows the touches it claims.
constexpr int cGameTouchPriority = 3;

// The notice that the opponent reached the score to win.
std::string lastTurnNotice(const GameRecord* record, int32_t currentPlayer) {
    const PlayerRecord* other =
        record != nullptr ? record->getPlayer(currentPlayer == 0 ? 1 : 0) : nullptr;
    return (other != nullptr ? other->mName : std::string()) + "\nreached " +
           std::to_string(SettingsManager::instance().mScoreToWin) +
           " points!\nYou get one last turn!";
}

} // namespace

bool Game::linkAt(const CCPoint& position, bool registerTouch) {
    if (!link(position, CCSize(0.0f, 0.0f)))
        return false;
    bool linked = true;
    if (mTileChest != nullptr)
        linked = mTileChest->linkAt(CCPoint(25.0f, 25.0f)) && linked;
    for (Player* player : mPlayers) {
        linked = player->linkAt(CCPoint(0.0f, 0.0f)) && linked;
        hideNewRackTiles();
    }
    if (mGameBoard != nullptr) {
        const CCPoint at =
            sceneServices().layoutMode() == 2 ? CCPoint(23.0f, 89.0f) : CCPoint(6.0f, 54.0f);
        linked = mGameBoard->linkAt(at) && linked;
    }
    if (!registerTouch) {
        showScoreFlyouts();
        const Player* current = getCurrentPlayer();
        if (current != nullptr && current->mLastTurn && gGameScene != nullptr)
            gGameScene->showTurnNotice(lastTurnNotice(getGameRecord(), mCurrentPlayer));
    } else {
        cocos2d::CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(
            this, cGameTouchPriority, true);
    }
    return linked;
}

void Game::unlink(bool removeTouch) {
    fadeOutPonderSound();
    if (removeTouch)
        cocos2d::CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    mTouchEntity = nullptr;
    if (mTileChest != nullptr)
        mTileChest->unlink();
    if (mGameBoard != nullptr)
        mGameBoard->unlink();
    for (Player* player : mPlayers)
        player->unlink();
    CocosLinkageDelegate::unlink();
}

void Game::showScoreFlyouts() {
    for (size_t i = mScoreFlyouts.size(); i-- > 0;) {
        const ScoreFlyoutInfo& flyout = *mScoreFlyouts[i];
        const Entity* entity = getEntity(flyout.mEntityId);
        if (entity == nullptr || !entity->hasLink())
            continue;
        if (gGameScene != nullptr) {
            const CCPoint at = entity->getViewPosition();
            gGameScene->showScoreFlyout(flyout.mPoints, CCPoint(at.x, at.y - 50.0f), 0.0f, true,
                                        flyout.mScale);
        }
        // The entry shown goes; those without views wait for theirs.
        mScoreFlyouts.erase(mScoreFlyouts.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // The awards raised the current player's score: its banner (label 0,
    // the local one) recomputes its text.
    if (gGameScene != nullptr)
        gGameScene->setPlayerHealthText(mCurrentPlayer, 0, -1);
}

void Game::hideNewRackTiles() {
    for (int32_t id : mNewRackTileIds) {
        const Entity* entity = getEntity(id);
        if (entity == nullptr || entity->mState != cStateOnTileRack)
            continue;
        const CocosEntityLink* view = entity->getEntityLink();
        cocos2d::CCNode* node = view != nullptr ? view->getMainNode() : nullptr;
        if (cocos2d::CCRGBAProtocol* colored = cocos2d::ccRGBAProtocolOf(node))
            colored->setOpacity(0);
    }
}
