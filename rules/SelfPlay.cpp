#include "rules/SelfPlay.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/settings/SettingsManager.h"

#include <memory>
#include <utility>

namespace {

// The id of the self-played game in the stand-in games list.
constexpr int64_t cSelfPlayGameId = 1;

// A games list of one record, whose nickname is the player to move.
class SelfPlayGamesList : public GamesList {
public:
    SelfPlayGamesList() : mPrevious(&gamesList()) {
        mRecord.mGameID = cSelfPlayGameId;
        for (int32_t index = 0; index < 2; ++index) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = "player" + std::to_string(index);
            player->mStatus = cGameActive;
            player->mSubstatus = cSubstatusNone;
            mRecord.mPlayers.push_back(std::move(player));
        }
        mRecord.mCreationPlayer = mRecord.mPlayers[0]->mName;
        setGamesList(this);
    }
    ~SelfPlayGamesList() override { setGamesList(mPrevious); }

    GameRecord* findGame(int64_t gameId) override {
        return gameId == cSelfPlayGameId ? &mRecord : nullptr;
    }
    std::string getNickname() const override { return mRecord.mCurrentTurnPlayer; }

    // The player to move is the record's active turn player and the local one.
    void startTurn(int32_t player, int32_t turnCount) {
        mRecord.mCurrentTurnPlayer = mRecord.mPlayers[static_cast<size_t>(player)]->mName;
        mRecord.mTurnCount = turnCount;
    }

    GameRecord mRecord;

private:
    GamesList* mPrevious;
};

// A game released when it goes out of scope.
struct GameHolder {
    GameHolder() : mGame(new Game()) {}
    ~GameHolder() { mGame->release(); }
    GameHolder(const GameHolder&) = delete;
    GameHolder& operator=(const GameHolder&) = delete;
    Game* mGame;
};

// The grids an entity id can be in: chests, racks, graveyards, the board
// and every entity's equipment.
std::vector<const EntityGrid*> allGrids(const Game& game) {
    std::vector<const EntityGrid*> grids = {game.mTileChest, game.mGameBoard};
    for (const Player* player : game.mPlayers) {
        grids.push_back(player->mTileRack);
        grids.push_back(player->mGraveyard);
        grids.push_back(player->mTileChest);
    }
    for (const Entity* entity : game.mEntities)
        grids.push_back(entity->mInventory);
    return grids;
}

// Adds the units the action (or its sub-actions) took an item from.
void collectItemLosses(const CandidateAction* action, std::set<int32_t>& units) {
    if (action == nullptr)
        return;
    for (const ActionResultInfo* result : action->mResults)
        if (result != nullptr && result->mDestroyedGearProtoID >= 0)
            units.insert(result->mEntityID);
    for (const CandidateAction* subAction : action->mSubActions)
        collectItemLosses(subAction, units);
}

std::string entityName(const Entity& entity) {
    return "entity " + std::to_string(entity.mId);
}

} // namespace

std::vector<std::string> GameInvariants::check(const Game& game) {
    std::vector<std::string> problems;
    std::map<int32_t, const EntityGrid*> placed;
    for (const EntityGrid* grid : allGrids(game)) {
        if (grid == nullptr)
            continue;
        for (int32_t index = 0; index < grid->getSlotCount(); ++index) {
            const int32_t id = grid->getEntityIdAtIndex(index);
            if (id < 0)
                continue;
            const Entity* entity = game.getEntity(id);
            if (entity == nullptr) {
                problems.push_back("slot holds unknown id " + std::to_string(id));
                continue;
            }
            if (!placed.emplace(id, grid).second)
                problems.push_back(entityName(*entity) + " is in two slots");
            if (entity->mGrid != grid || !(entity->mSlot == grid->coordsOfIndex(index)))
                problems.push_back(entityName(*entity) + " does not name its grid and slot");
        }
    }
    // An item equipped and taken off again within one action shows only in
    // the records of the action (the last one: checks follow every action).
    std::set<int32_t> itemLosses;
    if (!game.mActions.empty())
        collectItemLosses(game.mActions.back(), itemLosses);
    for (const Entity* entity : game.mEntities) {
        if (!placed.contains(entity->mId) && entity->mState != cStateDead && entity->mState != -1)
            problems.push_back(entityName(*entity) + " is in no slot in state " +
                               std::to_string(entity->mState));
        if (entity->mHealth < 0 || entity->mHealth % 5 != 0)
            problems.push_back(entityName(*entity) + " has health " +
                               std::to_string(entity->mHealth));
        // Health may stay above the maximum after an item left the unit,
        // until the next change of health.
        std::vector<int32_t> items;
        if (entity->mInventory != nullptr)
            for (int32_t id : entity->mInventory->getSlots())
                if (id >= 0)
                    items.push_back(id);
        for (int32_t item : mItems[entity->mId])
            if (std::find(items.begin(), items.end(), item) == items.end())
                mMayExceedMaxHealth.insert(entity->mId);
        if (itemLosses.contains(entity->mId))
            mMayExceedMaxHealth.insert(entity->mId);
        mItems[entity->mId] = std::move(items);
        if (entity->mHealth <= entity->getMaxHealth())
            mMayExceedMaxHealth.erase(entity->mId);
        else if (!mMayExceedMaxHealth.contains(entity->mId))
            problems.push_back(entityName(*entity) + " has health " +
                               std::to_string(entity->mHealth) + " above its maximum " +
                               std::to_string(entity->getMaxHealth()));
    }
    for (const Player* player : game.mPlayers)
        if (player->mActionPoints < 0)
            problems.push_back("player " + std::to_string(player->mIndex) + " has " +
                               std::to_string(player->mActionPoints) + " action points");

    const std::vector<uint8_t> blob = const_cast<Game&>(game).saveToBuffer();
    GameHolder fresh;
    if (!fresh.mGame->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), -1, false))
        problems.push_back("the game's blob does not load");
    else if (fresh.mGame->saveToBuffer() != blob)
        problems.push_back("the loaded blob saves to other bytes");
    return problems;
}

SelfPlay::SelfPlay(SelfPlayOptions options) : mOptions(std::move(options)) {
    mRng.seed(static_cast<uint32_t>(mOptions.mSeed));
}

bool SelfPlay::setUpNewGame(Game& game, int32_t seed, const std::array<int32_t, 2>& civs) {
    gRng.seed(static_cast<uint32_t>(seed));
    if (!game.init(seed))
        return false;
    for (int32_t index = 0; index < 2; ++index)
        if (!game.setUpFirstState(index, civs[static_cast<size_t>(index)]))
            return false;
    return true;
}

std::vector<uint8_t> SelfPlay::setUpGame() {
    // Set-up looks the game up too: it must find the self-played record,
    // not whatever games list the process has installed.
    SelfPlayGamesList games;
    games.startTurn(0, 1);
    GameHolder holder;
    if (!setUpNewGame(*holder.mGame, mOptions.mSeed, mOptions.mCivs))
        return {};
    return holder.mGame->saveToBuffer();
}

std::vector<SelfPlay::Drop> SelfPlay::legalDrops(Game& game) {
    std::vector<Drop> drops;
    const Player* current = game.getCurrentPlayer();
    if (current == nullptr)
        return drops;
    for (Entity* entity : game.mEntities) {
        if (!entity->canBeDragged())
            continue;
        for (int32_t gridType : {cGridTileChest, cGridTileRack, cGridGameBoard}) {
            EntityGrid* grid = game.getGrid(gridType, entity->mOwner);
            if (grid == nullptr)
                continue;
            // A chest takes a tile whatever the square.
            const int32_t slots = gridType == cGridTileChest ? 1 : grid->getSlotCount();
            for (int32_t index = 0; index < slots; ++index) {
                const GridSlot slot =
                    gridType == cGridTileChest ? GridSlot(0, 0) : grid->coordsOfIndex(index);
                int32_t cost = 0;
                GridSlot target = slot;
                const int32_t kind = entity->classifyDrop(grid, slot, cost, target);
                if (kind < 0 || kind == cActionReturn || kind == cActionPlace ||
                    kind == cActionUseItem || cost > current->mActionPoints)
                    continue;
                const bool needsTarget =
                    kind == cActionHeal || kind == cActionEquip || kind == cActionAllyAbility;
                if (needsTarget && game.getEntity(grid->getEntityIdAt(target)) == nullptr)
                    continue;
                drops.push_back({entity->mId, gridType, slot.x, slot.y, kind});
            }
        }
    }
    return drops;
}

bool SelfPlay::playDrops(Game& game, SelfPlayTurn& turn, SelfPlayResult& result) {
    for (int32_t made = 0;; ++made) {
        std::vector<Drop> drops = legalDrops(game);
        if (drops.empty())
            break;
        if (made == mOptions.mMaxActionsPerTurn) {
            result.mActionCap = true;
            break;
        }
        // Refused drops are dropped from the choice; the classification
        // should never offer one.
        bool accepted = false;
        while (!drops.empty() && !accepted) {
            const size_t pick = mRng.randInt(static_cast<uint32_t>(drops.size() - 1));
            const Drop drop = drops[pick];
            accepted = game.dropEntity(drop.mEntityId, drop.mGridType, GridSlot(drop.mX, drop.mY));
            if (accepted)
                ++turn.mActions[static_cast<size_t>(drop.mKind)];
            else
                drops.erase(drops.begin() + static_cast<std::ptrdiff_t>(pick));
        }
        if (!accepted)
            break;
        ++result.mActions;
        if (mOptions.mCheckInvariants) {
            for (std::string& problem : mInvariants.check(game))
                result.mProblems.push_back("turn " + std::to_string(game.mTurnCount) + ": " +
                                           std::move(problem));
            if (!result.mProblems.empty())
                return false;
        }
    }
    return true;
}

std::vector<uint8_t> SelfPlay::playTurn(const std::vector<uint8_t>& blob, int32_t mover,
                                        int32_t recordTurns, SelfPlayTurn& turn,
                                        SelfPlayResult& result) {
    SelfPlayGamesList games;
    games.startTurn(mover, recordTurns);
    GameHolder holder;
    Game& game = *holder.mGame;
    game.mCurrentPlayer = mover;
    if (!game.loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), cSelfPlayGameId,
                             true) ||
        game.getCurrentPlayer() == nullptr) {
        result.mProblems.push_back("turn " + std::to_string(recordTurns) +
                                   ": the blob does not load");
        return {};
    }
    turn.mTurn = game.mTurnCount;
    turn.mPlayer = mover;
    if (!playDrops(game, turn, result))
        return {};
    turn.mActionPointsLeft = game.getCurrentPlayer()->mActionPoints;
    // Taunt at random, as a player may.
    if (!game.finishTurn(static_cast<int32_t>(mRng.randInt(1)))) {
        result.mProblems.push_back("turn " + std::to_string(recordTurns) +
                                   ": the turn does not finish");
        return {};
    }
    std::vector<uint8_t> next = game.saveToBuffer();
    for (const Player* player : game.mPlayers) {
        const auto index = static_cast<size_t>(player->mIndex);
        turn.mScore[index] = player->mScore;
        turn.mVictoryHealth[index] = player->getVictoryHealth();
        turn.mUnitsLeft[index] = player->countRemainingUnits();
    }
    turn.mNextTurn = game.mTurnCount;
    turn.mGameOver = game.mGameOver;
    result.mWinner = game.getWinner(&result.mReason);
    return next;
}

SelfPlayResult SelfPlay::run() {
    SelfPlayResult result;
    std::vector<uint8_t> blob = setUpGame();
    if (blob.empty())
        return result;
    result.mSetUp = true;
    int32_t turnCount = 1;
    for (;;) {
        // Turn 1 is player 0's; the turn passes at every turn end.
        const int32_t mover = (turnCount - 1) % 2;
        SelfPlayTurn turn;
        std::vector<uint8_t> next = playTurn(blob, mover, turnCount, turn, result);
        if (next.empty())
            break;
        blob = std::move(next);
        if (mCheckSavedTurn) {
            // The opener of the saved turn is the player to move next.
            const int32_t opener = (turn.mNextTurn - 1) % 2;
            SelfPlayGamesList games;
            games.startTurn(opener, turn.mNextTurn);
            const std::string problem = mCheckSavedTurn(blob, cSelfPlayGameId, opener);
            if (!problem.empty()) {
                result.mProblems.push_back("turn " + std::to_string(turnCount) + ": " + problem);
                break;
            }
        }
        result.mTurns = turn.mTurn;
        if (mOnTurn)
            mOnTurn(turn);
        // A winner, or attrition that leaves no side with units.
        if (result.mReason != 0 || turn.mGameOver)
            break;
        turnCount = turn.mNextTurn;
        if (turnCount > mOptions.mMaxTurns) {
            result.mTurnCap = true;
            break;
        }
    }
    result.mFinalBlob = std::move(blob);
    return result;
}
