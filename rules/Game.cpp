#include "rules/Game.h"

#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/SceneServices.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <algorithm>

Game::Game() = default;

Game::~Game() {
    if (gGameScene != nullptr && gGameScene->getGame() == this)
        gGameScene->setGame(nullptr);
    unlink();
    // Grids go first, while the entities still exist.
    delete mGameBoard;
    mGameBoard = nullptr;
    for (Player* player : mPlayers)
        delete player;
    mPlayers.clear();
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

Entity* Game::getEntity(int32_t id) const {
    if (id < 0 || id >= static_cast<int32_t>(mEntities.size()))
        return nullptr;
    return mEntities[static_cast<size_t>(id)];
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

bool Game::isLocalTurn() const {
    if (isLocalGame())
        return true;
    const GameRecord* record = getGameRecord();
    if (record == nullptr || record->getPlayer(mCurrentPlayer) == nullptr)
        return false;
    return record->isLocalPlayersTurn(gamesList().getNickname());
}

void Game::stopPonderSound() {
    --mPonderCount;
    if (mPonderCount != 0 || !BConfig::instance().isSetById(cOptSound))
        return;
    // The loop stops outright; its fade-out joins with the replay's sounds.
    if (mPonderSoundId >= 0)
        stopSoundEffect(mPonderSoundId);
    mPonderSoundId = -1;
}
