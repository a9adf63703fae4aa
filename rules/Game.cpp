#include "rules/Game.h"

#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/GamesList.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>

Game* gCurrentGame = nullptr;

namespace {

// Action points of the first player's first turn.
int32_t firstTurnActionPoints(const Game& game) {
    if (game.mPuzzleCategory != -1 || game.mPuzzleIndex != -1)
        return 5;
    int32_t points = SettingsManager::instance().mActionPointsPerTurn;
    prefGetInt("Vellix_FirstTurnAP", points);
    return points;
}

} // namespace

Game::Game() = default;

Game::Game(const RNG& rng) : mRng(rng) {}

Game::~Game() {
    if (gGameScene != nullptr && gGameScene->getGame() == this)
        gGameScene->setGame(nullptr);
    if (gCurrentGame == this)
        gCurrentGame = nullptr;
    // A game registered for touches is kept alive by the dispatcher, so none
    // is registered here.
    unlink(false);
    reset();
    mScoreFlyouts.clear();
    mCommands.clear();
}

bool Game::init(int32_t seed) {
    // A game set up twice starts over rather than leak the first set-up.
    reset();
    // New entities take the current proto ids; a remap a load made for its
    // own saved ids would send them to other protos.
    Database::restoreRemap({});
    if (seed < 0)
        mRng.autoSeed();
    else
        mRng.seed(static_cast<uint32_t>(seed));
    const SettingsManager& settings = SettingsManager::instance();
    if (!settings.mSplitTileChest) {
        mTileChest = new TileChest(-1, this);
        mTileChest->setSize(1, 1);
        TileChest::fill(mTileChest);
    }
    for (int32_t index = 0; index < 2; ++index) {
        auto* player = new Player(this, index);
        player->mActionPoints = index == 0 ? firstTurnActionPoints(*this) : 0;
        if (gGameScene != nullptr && index == mCurrentPlayer)
            gGameScene->refreshPlayerBanners();
        mPlayers.push_back(player);
        if (!player->createGrids())
            return false;
        if (settings.getCiv(0) == nullptr)
            return false;
        player->mCivId = 0;
    }
    mGameBoard = new GameBoard(-1, this);
    return mGameBoard->setUp();
}

void Game::reset() {
    mGameID = -1;
    std::vector<Player*> players;
    players.swap(mPlayers);
    for (Player* player : players)
        delete player;
    // Grids go before the entities they hold.
    delete mTileChest;
    mTileChest = nullptr;
    delete mGameBoard;
    mGameBoard = nullptr;
    // The table is emptied before the entities go, so nothing that runs
    // while they are destroyed finds one already freed.
    std::vector<Entity*> entities;
    entities.swap(mEntities);
    for (Entity* entity : entities)
        entity->release();
    std::vector<CandidateAction*> actions;
    actions.swap(mActions);
    for (CandidateAction* action : actions)
        action->release();
    mNewRackTileIds.clear();
    mScoreFlyouts.clear();
    mTaunts.clear();
    mKnockOutFades.clear();
    mFlags &= static_cast<uint8_t>(~(cGameReplaying | cGameTurnFinished | cGameHasActions));
}

void Game::addTouchTarget(Entity* entity) {
    if (std::find(mTouchTargets.begin(), mTouchTargets.end(), entity) == mTouchTargets.end())
        mTouchTargets.push_back(entity);
}

bool Game::removeTouchTarget(Entity* entity) {
    const auto found = std::find(mTouchTargets.begin(), mTouchTargets.end(), entity);
    if (found == mTouchTargets.end())
        return false;
    mTouchTargets.erase(found);
    return true;
}

bool Game::isReplaying() const {
    return (mFlags & cGameReplaying) != 0;
}

bool Game::canUndo() const {
    return (mFlags & cGameHasActions) != 0;
}

bool Game::hasActions() const {
    return (mFlags & cGameHasActions) != 0;
}

int32_t Game::createEntity(int32_t protoId, int32_t owner) {
    auto* entity = new Entity(this);
    const auto id = static_cast<int32_t>(mEntities.size());
    if (!entity->init(id, protoId, owner)) {
        entity->release();
        return -1;
    }
    mEntities.push_back(entity);
    return id;
}

bool Game::discardNewestEntity(int32_t id) {
    Entity* entity = getEntity(id);
    if (entity == nullptr || id != static_cast<int32_t>(mEntities.size()) - 1 ||
        entity->mGrid != nullptr)
        return false;
    removeTouchTarget(entity);
    if (mTouchEntity == entity)
        mTouchEntity = nullptr;
    mEntities.pop_back();
    entity->release();
    return true;
}

Entity* Game::getEntity(int32_t id) const {
    if (id < 0 || id >= static_cast<int32_t>(mEntities.size()))
        return nullptr;
    return mEntities[static_cast<size_t>(id)];
}

EntityGrid* Game::getGrid(int32_t gridType, int32_t player) const {
    if (gridType == cGridGameBoard)
        return mGameBoard;
    const Player* owner = getPlayer(player < 0 ? mCurrentPlayer : player);
    switch (gridType) {
    case cGridTileChest:
        if (!SettingsManager::instance().mSplitTileChest)
            return mTileChest;
        return owner != nullptr ? owner->mTileChest : nullptr;
    case cGridTileRack:
        return owner != nullptr ? owner->mTileRack : nullptr;
    case cGridGraveyard:
        return owner != nullptr ? owner->mGraveyard : nullptr;
    default:
        return nullptr;
    }
}

Player* Game::getPlayer(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(mPlayers.size()))
        return nullptr;
    return mPlayers[static_cast<size_t>(index)];
}

Player* Game::getCurrentPlayer() const {
    return getPlayer(mCurrentPlayer);
}

GameRecord* Game::getGameRecord() const {
    return gamesList().findGame(mGameID);
}

PlayerRecord* Game::getCurrentPlayerRecord() const {
    const GameRecord* record = getGameRecord();
    return record != nullptr ? record->getPlayer(mCurrentPlayer) : nullptr;
}

bool Game::isCurrentPlayerWinner() const {
    const GameRecord* record = getGameRecord();
    const PlayerRecord* player = record != nullptr ? record->getPlayer(mCurrentPlayer) : nullptr;
    if (player == nullptr)
        return false;
    return player->mSubstatus == cSubstatusWon ||
           (player->mSubstatus == cSubstatusDeclined && player->mName == record->mCreationPlayer);
}

bool Game::isLocalTurn() const {
    if (isLocalGame())
        return true;
    const GameRecord* record = getGameRecord();
    if (record == nullptr || record->getPlayer(mCurrentPlayer) == nullptr)
        return false;
    return record->isLocalPlayersTurn(gamesList().getNickname());
}

namespace {

// The colour of the record's player at seat in list; the list's first
// colour when there is no such player.
PlayerColor* seatColor(const GameRecord* record, int32_t seat,
                       const std::vector<std::unique_ptr<PlayerColor>>& list) {
    const PlayerRecord* player = record != nullptr ? record->getPlayer(seat) : nullptr;
    const int32_t index = player != nullptr ? player->mColor : 0;
    if (index < 0 || index >= static_cast<int32_t>(list.size()))
        return nullptr;
    return list[static_cast<size_t>(index)].get();
}

} // namespace

PlayerColor* Game::getHomeColor() const {
    return seatColor(getGameRecord(), 0, SettingsManager::instance().mHomeColors);
}

PlayerColor* Game::getAwayColor() const {
    return seatColor(getGameRecord(), 1, SettingsManager::instance().mAwayColors);
}
