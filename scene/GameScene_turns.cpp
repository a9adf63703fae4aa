#include "scene/GameScene.h"

#include "scene/ShellServices.h"
#include "scene/SubmitConfirmLayer.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/widgets/MessageLayer.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/PuzzleScript.h"
#include "rules/ServerTurn.h"

#include "platform/render/CCSprite.h"

#include <cstdio>
#include <ctime>
#include <mutex>

using namespace cocos2d;

namespace {

constexpr const char* cSubmitSound = SubmitConfirmLayer::cSubmitSound;
constexpr const char* cCancelSound = SubmitConfirmLayer::cCancelSound;
constexpr int64_t cThreeMinutes = 180;
constexpr int64_t cOneDay = 24 * 3600;
constexpr int32_t cMaxRunningGames = 40;

GameScene::Clock gClock = nullptr;

int64_t nowSeconds() {
    return gClock != nullptr ? gClock() : static_cast<int64_t>(std::time(nullptr));
}

} // namespace

void GameScene::setClock(Clock clock) {
    gClock = clock;
}

void GameScene::runJob(const char* text, int (GameScene::*worker)(),
                       void (GameScene::*completion)(int)) {
    retain();
    shellServices().runWithProgressHUD(
        [this, worker] { return (this->*worker)(); }, localizedString(text),
        [this, completion](int result) { (this->*completion)(result); });
    release();
}

void GameScene::ask(const char* title, const char* okSound, SEL_MenuHandler callback) {
    addChild(
        new ConfirmLayer(nullptr, callback, this, localizedCString(title), okSound, cCancelSound),
        cModalZOrder);
}

void GameScene::showNotice(const char* text) {
    addChild(new MessageLayer(localizedCString(text)), cModalZOrder);
}

void GameScene::onSubmitButton() {
    Game* game = mGame;
    const Player* player = game != nullptr ? game->getCurrentPlayer() : nullptr;
    if (player == nullptr)
        return;
    if (game->isLocalGame()) {
        if (mPuzzleScript != nullptr)
            mPuzzleScript->onSubmit();
        return;
    }
    if (game->getWinner(nullptr) == game->mCurrentPlayer) {
        ask("Submit Victory!", cSubmitSound, menu_selector(GameScene::onSubmitConfirmed));
        return;
    }
    const char* warning =
        player->mActionPoints > 0 ? localizedCString("You have unspent action points!") : nullptr;
    addChild(new SubmitConfirmLayer(warning, this, menu_selector(GameScene::onSubmitConfirmed),
                                    localizedCString("Submit Turn")),
             cModalZOrder);
}

void GameScene::onSubmitConfirmed(CCObject* taunt) {
    Game* game = mGame;
    if (game == nullptr || !game->finishTurn(SubmitConfirmLayer::tauntRequested(taunt) ? 1 : 0))
        return;
    if (game->mGameOver && currentPlayerInactive())
        playEndOfGameEffect(game->isCurrentPlayerWinner());
    runJob("Submitting...", &GameScene::submitTurnWorker, &GameScene::onSubmitTurnDone);
}

int GameScene::submitTurnWorker() {
    Game* game = mGame;
    if (game == nullptr)
        return -1;
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    const GameRecord* record = game->getGameRecord();
    if (record == nullptr)
        return -1;
    const int32_t current = game->mCurrentPlayer;
    int32_t taunt = game->countTaunts(current) > 0 ? 1 : 0;
    const int32_t winner = game->getWinner(nullptr);
    int32_t status = -1;
    int32_t substatus = -1;
    if (winner >= 0) {
        status = cGameInactive;
        substatus = winner == current ? cSubstatusWon : cSubstatusLost;
    }
    mSubmitRecordStamp = static_cast<uint64_t>(record->mLastTurnTime);

    int32_t version = 0;
    BConfig::instance().getInt(cOptSubmitTurnVersion, version);
    int result = 0;
    if (version > 2) {
        result = gamesList().submitServerTurn(game->mGameID, ServerTurn(*game), status, substatus);
    } else {
        const std::vector<uint8_t> state = game->saveToBuffer();
        result =
            gamesList().submitTurn(game->mGameID, state.data(), static_cast<int32_t>(state.size()),
                                   taunt, game->mTurnCount, status, substatus);
    }
    // The service may have replaced the record.
    record = game->getGameRecord();
    if (result == 0 && record != nullptr) {
        const PlayerRecord* local = record->getLocalPlayer();
        if (local != nullptr && local->mSubstatus == cSubstatusWon)
            game->recordEndOfGameStats();
    }
    if (taunt == 0)
        game->clearTaunts(current);
    return result;
}

void GameScene::onSubmitTurnDone(int result) {
    if (result != 0) {
        showNotice("Failed to submit turn.\nPlease check your internet connection\nor try "
                   "again later.");
        return;
    }
    Game* game = mGame;
    if (game == nullptr)
        return;
    refreshTurnButtons();
    hideScoreTally();
    const int32_t current = game->mCurrentPlayer;
    const bool taunts = game->countTaunts(current) > 0;
    if (taunts)
        game->playTaunts(current);
    else
        game->animateRackRefill(0);
    if (currentPlayerInactive()) {
        game->mFlags |= cGameEndShown;
        showEndOfGameSummary(game->isCurrentPlayerWinner(), false);
    }

    using namespace AchievementTracker;
    for (int32_t id : {cAchievementSubmit5Turns, cAchievementSubmit100Turns})
        setPendingValue(id, getProgress(id) + 1);
    if (taunts)
        setPendingValue(cAchievementTaunt, 0);
    if (game->mTurnCount > 2) {
        const int64_t now = nowSeconds() + gamesList().serverTimeOffset();
        const int64_t elapsed = now - static_cast<int64_t>(mSubmitRecordStamp);
        if (elapsed < cThreeMinutes)
            setPendingValue(cAchievementMoveIn3Min, 0);
        if (elapsed > cOneDay)
            setPendingValue(cAchievementMoveIn1Day, 0);
    }
    commitPending();

    // A debugging aid: carry on as the opponent, whose password the option
    // holds.
    const std::string password = BConfig::instance().stringById(cOptLoginOtherUserPW, "");
    if (!password.empty()) {
        {
            const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
            const GameRecord* record = game->getGameRecord();
            const PlayerRecord* opponent =
                record != nullptr ? record->getPlayer(current == 0 ? 1 : 0) : nullptr;
            if (opponent != nullptr)
                gamesList().setStoredUsername(opponent->mName);
        }
        gamesList().setStoredPassword(password);
        gamesList().login();
        gamesList().getGameState(game->mGameID);
        shellServices().gotoGame(game->mGameID, false);
    }
}

bool GameScene::currentPlayerInactive() const {
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    const PlayerRecord* player = mGame != nullptr ? mGame->getCurrentPlayerRecord() : nullptr;
    return player != nullptr && player->mStatus == cGameInactive;
}

void GameScene::onTileChestTapped() {
    if (mGame == nullptr || mGame->isReplaying())
        return;
    showNotice("Drop units or items into\nthe door to swap!");
    playSoundEffectSimple("sound/UI_Game_Chest_Tap.mp3");
}

const PlayerRecord* GameScene::cardPlayer(bool opponent) const {
    if (mGame == nullptr)
        return nullptr;
    const GameRecord* record =
        opponent ? gamesList().findGame(mGame->mGameID) : mGame->getGameRecord();
    if (record == nullptr)
        return nullptr;
    const int32_t current = mGame->mCurrentPlayer;
    return record->getPlayer(opponent ? (current == 0 ? 1 : 0) : current);
}

void GameScene::showPlayerCard() {
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    if (const PlayerRecord* player = cardPlayer(false))
        openPlayerCard(*player);
}

void GameScene::showOpponentPlayerCard() {
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    if (const PlayerRecord* player = cardPlayer(true))
        openPlayerCard(*player);
}

void GameScene::onActionPointsTap() {
    onActionPointsTapped(false);
}

void GameScene::onActionPointsHeld() {
    onActionPointsTapped(true);
}

void GameScene::onActionPointsTapped(bool wholeTurn) {
    Game* game = mGame;
    if (game == nullptr || (game->mFlags & cGameTurnFinished) != 0 || game->mGameOver)
        return;
    stopHudActions();
    clearEffects();
    if (game->isReplaying()) {
        game->skipReplay();
        return;
    }
    if (!game->canUndo())
        return;
    playResetFlash();
    bool whole = true;
    bool partialUndo = false;
    if (prefGetBool("Vellix_PartialUndo", partialUndo) && partialUndo &&
        game->mPuzzleCategory == -1 && game->mPuzzleIndex == -1)
        whole = wholeTurn;
    game->undo(whole);
    hideScoreTally();
    refreshPlayerHealth();
    hideTurnMarkers();
    refreshTurnButtons();
    refreshActionPoints();
    AchievementTracker::popScope(whole);
    AchievementTracker::setPendingValue(cAchievementUseUndo, 0);
    if (mPuzzleScript != nullptr)
        mPuzzleScript->onUndo(whole);
}

void GameScene::onBackButton() {
    Game* game = mGame;
    if (game != nullptr && (game->mFlags & cGameHasActions) != 0 && !game->mGameOver) {
        bool ownTurn = game->isLocalGame();
        if (!ownTurn) {
            const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
            const GameRecord* record = game->getGameRecord();
            ownTurn = record != nullptr && record->getPlayer(game->mCurrentPlayer) != nullptr &&
                      record->isLocalPlayersTurn(gamesList().getNickname());
        }
        if (ownTurn) {
            ask("Back (Resets Actions)", "sound/Game_Abandon_Turn.mp3",
                menu_selector(GameScene::onBackConfirmed));
            return;
        }
    }
    backToGames();
}

void GameScene::onResignButton() {
    if (mGame == nullptr)
        return;
    ask("Resign", "sound/Game_Resign.mp3", menu_selector(GameScene::onResignConfirmed));
}

void GameScene::onResignConfirmed(CCObject*) {
    runJob("Resigning...", &GameScene::resignWorker, &GameScene::onResignDone);
}

int GameScene::resignWorker() {
    if (mGame == nullptr)
        return -1;
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        if (mGame->getGameRecord() == nullptr)
            return -1;
    }
    return gamesList().updatePlayerStatus(mGame->mGameID, cGameInactive, cSubstatusResigned);
}

void GameScene::onResignDone(int result) {
    if (result != 0) {
        showNotice("Failed to resign.\nPlease try again later.");
        return;
    }
    Game* game = mGame;
    if (game == nullptr)
        return;
    const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
    const GameRecord* record = game->getGameRecord();
    if (record == nullptr || record->getPlayer(game->mCurrentPlayer == 0 ? 1 : 0) == nullptr)
        return;
    game->mGameOver = true;
    refreshTurnButtons();
    game->mFlags |= cGameEndShown;
    showEndOfGameSummary(false, false);
}

void GameScene::onDeleteButton() {
    if (mGame == nullptr)
        return;
    ask("Delete", "sound/Game_Delete.mp3", menu_selector(GameScene::onDeleteConfirmed));
}

void GameScene::onDeleteConfirmed(CCObject*) {
    runJob("Deleting...", &GameScene::deleteWorker, &GameScene::onDeleteDone);
}

int GameScene::deleteWorker() {
    if (mGame == nullptr)
        return -1;
    int32_t substatus = -1;
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        const GameRecord* record = mGame->getGameRecord();
        if (record == nullptr)
            return -1;
        // The local player's own outcome: the current index is the
        // opponent's during the opponent's turn.
        const PlayerRecord* player = nullptr;
        for (const auto& entry : record->mPlayers)
            if (entry != nullptr && entry->mIsLocal && player == nullptr)
                player = entry.get();
        if (player == nullptr)
            player = record->getPlayer(mGame->mCurrentPlayer);
        if (player != nullptr)
            substatus = player->mSubstatus;
    }
    return gamesList().updatePlayerStatus(mGame->mGameID, cGameDeleted, substatus);
}

void GameScene::onDeleteDone(int result) {
    if (result != 0)
        showNotice("Failed to delete.\nPlease try again later.");
}

void GameScene::loadNextPuzzle(int32_t categoryIndex, int32_t puzzleIndex) {
    if (mGame == nullptr)
        return;
    mPendingPuzzle = {categoryIndex, puzzleIndex};
    runJob("Loading Game...", &GameScene::loadGameWorker, &GameScene::onLoadGameDone);
}

int GameScene::loadGameWorker() {
    return 0;
}

void GameScene::onLoadGameDone(int) {
    const auto [category, index] = mPendingPuzzle;
    mPendingPuzzle = {-1, -1};
    if (category >= 0 && index >= 0)
        shellServices().launchPuzzleScene(category, index);
}

void GameScene::onRematchButton() {
    if (mGame == nullptr)
        return;
    int32_t running = 0;
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        running =
            gamesList().countGamesInState(cMyTurn) + gamesList().countGamesInState(cOpponentsTurn);
    }
    if (running < cMaxRunningGames)
        shellServices().showTeamSelectForOpponent(mGame->mGameID);
}

void GameScene::onNextGameButton() {
    if (mGame == nullptr)
        return;
    int64_t gameId = -1;
    bool hasState = false;
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        const GameRecord* next = gamesList().countGamesInState(cMyTurn) > 0
                                     ? gamesList().findNthGameInState(0, cMyTurn)
                                     : nullptr;
        if (next == nullptr)
            return;
        gameId = next->mGameID;
        hasState = next->mStateData != nullptr;
    }
    showNotice("Loading Game...");
    if (hasState) {
        shellServices().gotoGame(gameId, gamesList().followUpGameStatus(gameId));
        return;
    }
    mNextGameId = gameId;
    mNextGameStatusOk = false;
    runJob("Loading Game...", &GameScene::nextGameWorker, &GameScene::onNextGameDone);
}

int GameScene::nextGameWorker() {
    const int64_t gameId = mNextGameId;
    if (gameId < 0)
        return -1;
    mNextGameStatusOk = gamesList().followUpGameStatus(gameId);
    const auto stateOf = [gameId](bool& matchmade) {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        const GameRecord* record = gamesList().findGame(gameId);
        matchmade = record != nullptr && record->mWasMatchmade == 1;
        return record != nullptr && record->mStateData != nullptr;
    };
    bool matchmade = false;
    if (stateOf(matchmade))
        return 0;
    gamesList().getGameState(gameId);
    if (!stateOf(matchmade) && matchmade) {
        shellServices().startNewGameFromRecord(gameId, false);
        return 1;
    }
    return 0;
}

void GameScene::onNextGameDone(int) {
    if (mNextGameId >= 0)
        shellServices().gotoGame(mNextGameId, mNextGameStatusOk);
    mNextGameId = -1;
}
