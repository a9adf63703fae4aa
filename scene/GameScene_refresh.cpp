// The HUD kept in step with the bound game: which turn buttons show and
// pulse, the action-point gems, the rack and chest around a replay, the
// turn's start and the game's chat read mark.

#include "scene/GameScene.h"

#include "scene/widgets/Button.h"
#include "scene/widgets/HeaderTextStyle.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/settings/SettingsManager.h"
#include "puppet/PuppetInstance.h"
#include "rules/CocosEntityGridLink.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCCallFunc.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <boost/thread/recursive_mutex.hpp>

#include <mutex>

using namespace cocos2d;

namespace {

// Pulses run "for ever": until the next refresh stops them.
constexpr unsigned cPulseRepeats = 100000;

void setVisible(CCNode* node, bool visible) {
    if (node != nullptr)
        node->setIsVisible(visible);
}

void enable(Button* button) {
    if (button->mDisabled) {
        button->mDisabled = false;
        button->showReleased();
    }
}

// The current player's rack and the chest in use (the player's own with
// split chests, else the shared one) shown or hidden with their tiles.
void showTurnGrids(Game& game, bool shown) {
    Player* player = game.getCurrentPlayer();
    TileChest* chest =
        SettingsManager::instance().mSplitTileChest ? player->mTileChest : game.mTileChest;
    for (EntityGrid* grid :
         {static_cast<EntityGrid*>(player->mTileRack), static_cast<EntityGrid*>(chest)}) {
        if (grid == nullptr)
            continue;
        grid->setViewHidden(!shown);
        if (auto* view = dynamic_cast<CocosEntityGridLink*>(grid->getLink()))
            view->refreshEntities(shown);
    }
}

} // namespace

void GameScene::refreshTurnButtons() {
    if (!mHighlightSubmit)
        return; // a tutorial has hidden Submit
    bool pulse = false;
    Game* game = mGame;
    const Player* current = game != nullptr ? game->getCurrentPlayer() : nullptr;
    const PlayerRecord* record = game != nullptr ? game->getCurrentPlayerRecord() : nullptr;
    if (current != nullptr && (record != nullptr || game->isLocalGame())) {
        const bool localTurn = game->isLocalTurn();
        if (localTurn && !game->mGameOver && game->canUndo()) {
            enable(mSubmitButton);
            mSubmitButton->setIsVisible(true);
            mRematchButton->setIsVisible(false);
            mNextGameButton->setIsVisible(false);
            pulse = current->mActionPoints == 0;
        } else {
            const bool waiting = !localTurn && gamesList().countGamesInState(cMyTurn) >= 1;
            const bool rematch =
                !game->isLocalGame() &&
                (game->mGameOver || (record != nullptr && record->mStatus != cGameActive &&
                                     record->mStatus != cGameNoStatus));
            if (rematch)
                enable(mRematchButton);
            mRematchButton->setIsVisible(rematch);
            if (waiting) {
                mSubmitButton->setIsVisible(false);
                mNextGameButton->setIsVisible(true);
                enable(mNextGameButton);
            } else {
                // Next Game goes with the last waiting game: shown before,
                // it would stay over a disabled Submit and open nothing.
                mNextGameButton->setIsVisible(false);
                mSubmitButton->setEnabled(false);
                mSubmitButton->setIsVisible(true);
            }
        }
    }
    if (mSubmitOverlay != nullptr) {
        mSubmitOverlay->stopAllActions();
        if (pulse) {
            mSubmitOverlay->runAction(CCSequence::actions(
                CCShow::action(), CCRepeat::actionWithAction(
                                      CCSequence::actions(CCFadeTo::actionWithDuration(0.5f, 255),
                                                          CCFadeTo::actionWithDuration(0.5f, 127)),
                                      cPulseRepeats)));
        } else {
            mSubmitOverlay->setIsVisible(false);
        }
    }
    if (mRematchOverlay != nullptr) {
        mRematchOverlay->stopAllActions();
        if (mRematchButton->getIsVisible()) {
            mRematchOverlay->setOpacity(0);
            mRematchOverlay->runAction(CCSequence::actions(
                CCDelayTime::actionWithDuration(3.0f), CCShow::action(),
                CCFadeTo::actionWithDuration(1.0f, 255),
                CCRepeat::actionWithAction(
                    CCSequence::actions(CCFadeTo::actionWithDuration(0.8f, 127),
                                        CCFadeTo::actionWithDuration(0.8f, 255)),
                    cPulseRepeats)));
        } else {
            mRematchOverlay->setIsVisible(false);
        }
    }
}

void GameScene::refreshActionPoints() {
    Game* game = gCurrentGame;
    const Player* current = game != nullptr ? game->getCurrentPlayer() : nullptr;
    if (current == nullptr || !mHighlightReset)
        return;
    mActionPointsButton->setIsVisible(!game->mGameOver);
    if (mActionPointsArrow != nullptr)
        mActionPointsArrow->setOpacity(game->canUndo() ? 255 : 0);
    int32_t shown = 0;
    for (size_t i = 0; i < mActionPointGems.size(); ++i) {
        CCSprite* gem = mActionPointGems[i];
        if (int32_t(i) < current->mActionPoints) {
            if (gem->getIsVisible())
                continue;
            gem->stopAllActions();
            gem->setScale(2.0f);
            gem->setOpacity(255);
            gem->runAction(CCSequence::actions(
                CCDelayTime::actionWithDuration(0.15f * float(shown)), CCShow::action(),
                CCEaseIn::actionWithAction(CCScaleTo::actionWithDuration(0.25f, 1.0f), 2.0f)));
            ++shown;
        } else {
            gem->stopAllActions();
            gem->runAction(CCSequence::actions(
                CCScaleTo::actionWithDuration(0.1f, 2.0f), CCDelayTime::actionWithDuration(0.1f),
                CCFadeTo::actionWithDuration(0.2f, 0), CCHide::action()));
        }
    }
    refreshTurnButtons();
}

void GameScene::hideTurnControls() {
    Game* game = gCurrentGame;
    if (game == nullptr || game->getCurrentPlayer() == nullptr)
        return;
    showTurnGrids(*game, false);
    setVisible(mSubmitButton, false);
    setVisible(mRematchButton, false);
    if (mRematchOverlay != nullptr) {
        mRematchOverlay->stopAllActions();
        mRematchOverlay->setIsVisible(false);
    }
    setVisible(mNextGameButton, false);
    setVisible(mActionPointsButton, false);
    if (mEndEffectPuppet != nullptr) {
        mEndEffectPuppet->stopAllActions();
        mEndEffectPuppet->setIsVisible(false);
        mEndEffectPuppet->stopSounds();
    }
    setVisible(mReplayBar, true);
    setVisible(mReplaySkipButton, !game->mGameOver);
    mDragTooltipEntity = nullptr;
}

void GameScene::onTurnStarted() {
    Game* game = mGame;
    const Player* current = game != nullptr ? game->getCurrentPlayer() : nullptr;
    if (current == nullptr)
        return;
    showTurnGrids(*game, true);
    refreshPlayerHealth();
    refreshTurnButtons();
    refreshCrystalDebuffs(0.0f);
    setVisible(mActionPointsButton, !game->mGameOver);
    setVisible(mReplayBar, false);
    setVisible(mReplaySkipButton, false);
    bool complete = game->mGameOver;
    if (!complete) {
        std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        const GameRecord* record = game->getGameRecord();
        complete = record != nullptr && record->mIsComplete;
    }
    if (complete)
        showEndOfGameSummary(game->isCurrentPlayerWinner(), false);
    if (current->mActionPoints > SettingsManager::instance().mActionPointsPerTurn)
        showBonusActionNotice();
    mDragTooltipEntity = nullptr;
}

void GameScene::showBonusActionNotice() {
    const DropShadowInfo shadow = headerTextShadow();
    const OutlineFillInfo outline = headerTextOutline();
    CCLabelTTF* notice =
        CCLabelTTF::labelWithString(localizedCString("Bonus Action for going second!"),
                                    getHeaderFontName(), 30.0f, &shadow, &outline);
    addChild(notice, 1000);
    notice->setPosition(CCPoint(-300, 80));
    notice->setOpacity(0);
    notice->runAction(CCSequence::actions(
        CCSpawn::actions(CCMoveTo::actionWithDuration(0.2f, CCPoint(150, 80)),
                         CCFadeIn::actionWithDuration(0.2f)),
        CCDelayTime::actionWithDuration(3.0f),
        CCSpawn::actions(CCMoveTo::actionWithDuration(0.2f, CCPoint(-300, 80)),
                         CCFadeOut::actionWithDuration(0.2f)),
        CCCallFuncN::actionWithTarget(this, callfuncN_selector(GameScene::removeEffectNode))));
    addEffectNode(notice);
}

void GameScene::markChatRead() {
    std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    if (mGame == nullptr || mGame->getCurrentPlayer() == nullptr)
        return;
    GameRecord* record = gamesList().findGame(mGame->mGameID);
    if (record == nullptr)
        return;
    if (PlayerRecord* local = record->getPlayer(record->findPlayerIndex(gamesList().getNickname())))
        local->mNewChatCount = 0;
}

void GameScene::hideScoreTally() {
    if (mScoreTallyBackground == nullptr || mScoreTallyLabel == nullptr)
        return;
    mScoreTallyCount = 0;
    mScoreTallyBackground->setIsVisible(false);
}
