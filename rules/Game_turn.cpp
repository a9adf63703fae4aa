// Game: the end of a turn (knock-out countdown, charges, action points,
// rack refill, taunts), the end of the game (victory health pools and
// attrition) and the statistics of a won game.

#include "rules/Game.h"

#include "rules/AchievementTable.h"
#include "rules/AchievementTracker.h"
#include "rules/CandidateAction.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/GameBoard.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"
#include "rules/SceneServices.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <string_view>
#include <utility>

namespace {

// Animation states of a taunt.
constexpr int32_t cAnimTaunt = 31;
constexpr int32_t cAnimTaunt2 = 32;
constexpr int32_t cAnimTaunt3 = 33;

int32_t otherPlayer(int32_t player) {
    return player == 0 ? 1 : 0;
}

// An entity of the player on the board that is neither knocked out nor dead.
bool isLivingBoardUnit(const Entity& entity, const Game& game, int32_t player) {
    return entity.mOwner == player && entity.mGrid != nullptr && entity.mGrid == game.mGameBoard &&
           entity.isAlive();
}

// The per-civ win achievements: the civ's first win and its 50th.
struct CivWins {
    std::string_view mCivName;
    int32_t mFirstWin;
    int32_t mFiftyWins;
};

constexpr CivWins cCivWins[] = {
    {"humans", cAchievementCouncilWin, cAchievementCouncilWin50},
    {"darkelves", cAchievementDarkElvesWin, cAchievementDarkElvesWin50},
    {"dwarves", cAchievementDwarvesWin, cAchievementDwarvesWin50},
    {"orcs", cAchievementTribeWin, cAchievementTribeWin50},
    {"kx4a", cAchievementKxFourWin, cAchievementKxFourWin50},
};

} // namespace

bool Game::finishTurn(int32_t tauntCount) {
    if ((mFlags & cGameTurnFinished) != 0)
        return true;
    // A damaged game without the other player is refused before anything
    // changes, so that a second call does not report success.
    const int32_t other = otherPlayer(mCurrentPlayer);
    Player* next = getPlayer(other);
    if (next == nullptr)
        return false;
    mFlags |= cGameTurnFinished;
    expireKnockedOutUnits();
    resetActionCounters();
    next->mActionPoints = SettingsManager::instance().mActionPointsPerTurn;
    if (gGameScene != nullptr && other == mCurrentPlayer)
        gGameScene->refreshPlayerBanners();
    reportEndOfGame();
    ++mTurnCount;
    refillRack(mCurrentPlayer, false, true);
    if (Player* current = getCurrentPlayer())
        current->mHasFinishedTurn = true;
    clearTaunts(mCurrentPlayer);
    clearTaunts(other);
    if (tauntCount > 0)
        chooseTaunts();
    return true;
}

void Game::expireKnockedOutUnits() {
    mKnockOutFades.clear();
    const Player* current = getCurrentPlayer();
    const int32_t threshold = SettingsManager::instance().mKnockoutDeathThreshold;
    for (Entity* entity : mEntities) {
        if (entity->mOwner != mCurrentPlayer || entity->mState != cStateKnockedOut)
            continue;
        if (++entity->mKnockedOutTurns < threshold)
            continue;
        auto fade = std::make_unique<KnockOutFadeInfo>();
        fade->mEntityId = entity->mId;
        fade->mSlot = entity->mSlot;
        // The graveyard makes the entity Dead. A unit with a view is to play
        // its "Death" animation at the recorded square, which needs the
        // scene's animation driver.
        if (current != nullptr && current->mGraveyard != nullptr && entity->mGrid != nullptr)
            entity->mGrid->moveEntityToFirstFree(entity->mId, current->mGraveyard);
        mKnockOutFades.push_back(std::move(fade));
    }
}

void Game::resetActionCounters() {
    for (Entity* entity : mEntities) {
        if (!isLivingBoardUnit(*entity, *this, mCurrentPlayer))
            continue;
        if (const ProtoEntity* proto = entity->getProto())
            entity->mCharge = proto->mMaxCharge;
    }
}

void Game::refillRack(int32_t playerIndex, bool unitsFirst, bool recordNew) {
    Player* player = getPlayer(playerIndex);
    if (player == nullptr || player->mTileRack == nullptr)
        return;
    const SettingsManager& settings = SettingsManager::instance();
    TileChest* chest = settings.mSplitTileChest ? player->mTileChest : mTileChest;
    if (chest == nullptr)
        return;
    const bool puzzle = mPuzzleIndex >= 0;
    int32_t unitDraws = unitsFirst && !puzzle ? settings.mInitialUnitWeighting : 0;
    // Tiles swapped into the chest this turn are drawn only when no other
    // tile is left.
    std::vector<int32_t> excluded;
    for (const CandidateAction* action : mActions)
        if (action != nullptr && action->mActionType == cActionSwap)
            excluded.push_back(action->mSourceEntity);

    TileRack* rack = player->mTileRack;
    while (rack->hasRoomFor(1)) {
        int32_t id = -1;
        if (unitDraws > 0) {
            --unitDraws;
            id = chest->takeTile(player->mCivId, cEntityUnit, excluded);
            if (id < 0)
                continue;
        } else {
            id = chest->takeTile(player->mCivId, -1, excluded);
            if (id < 0) {
                if (excluded.empty())
                    break;
                excluded.clear();
                continue;
            }
        }
        Entity* entity = getEntity(id);
        if (entity == nullptr)
            break;
        entity->mOwner = playerIndex;
        // A tile that cannot move would be drawn again and again: the
        // refill ends there.
        if (!chest->moveEntityToFirstFree(id, rack)) {
            entity->mOwner = -1;
            break;
        }
        const CocosEntityLink* view = entity->getEntityLink();
        if (cocos2d::CCRGBAProtocol* colored =
                cocos2d::ccRGBAProtocolOf(view != nullptr ? view->getMainNode() : nullptr))
            colored->setOpacity(0);
        if (recordNew || (!unitsFirst && !player->mHasFinishedTurn))
            mNewRackTileIds.push_back(id);
    }
    if (unitsFirst && !puzzle)
        EntityGrid::shuffle(rack);
}

bool Game::setUpFirstState(int32_t playerIndex, int32_t civId) {
    Player* player = getPlayer(playerIndex);
    if (player == nullptr || !player->setCiv(civId, false))
        return false;
    player->mCivAssigned = true;
    if (SettingsManager::instance().mSplitTileChest)
        player->createTileChest();
    refillRack(playerIndex, true, false);
    return true;
}

void Game::reportEndOfGame() {
    if (mGameOver || getWinner(nullptr) == -1)
        return;
    forceGameOver();
}

void Game::forceGameOver() {
    for (Player* player : mPlayers) {
        player->mActionPoints = 0;
        if (gGameScene != nullptr && player->mIndex == mCurrentPlayer)
            gGameScene->refreshPlayerBanners();
    }
    mGameOver = true;
}

int32_t Game::getWinner(int32_t* reason) const {
    if (reason != nullptr)
        *reason = 0;
    if (!SettingsManager::instance().mUseVictoryHealthPool)
        return -1;
    int32_t winner = -1;
    for (const Player* player : mPlayers)
        if (player->getVictoryHealth() < 1)
            winner = otherPlayer(player->mIndex);
    if (winner != -1) {
        if (reason != nullptr)
            *reason = 1;
        return winner;
    }
    if (!checkAttritionWinner(winner))
        return -1;
    if (reason != nullptr)
        *reason = 2;
    return winner;
}

bool Game::checkAttritionWinner(int32_t& outWinner) const {
    // The first turn end is not judged.
    if (mTurnCount < 2 || (mTurnCount < 3 && (mFlags & cGameTurnFinished) != 0))
        return false;
    outWinner = -1;
    if (!SettingsManager::instance().mSplitTileChest && mTileChest != nullptr &&
        mTileChest->getEntityCount() > 0)
        return false;
    int32_t sidesWithUnits = 0;
    for (const Player* player : mPlayers) {
        if (!player->hasUnitsLeft())
            continue;
        outWinner = player->mIndex;
        ++sidesWithUnits;
    }
    return sidesWithUnits <= 1;
}

void Game::clearTaunts(int32_t player) {
    // Entries whose entity does not exist are skipped, not a stop.
    for (size_t i = mTaunts.size(); i-- > 0;) {
        const Entity* entity = getEntity(mTaunts[i]->mEntityId);
        if (entity != nullptr && entity->mOwner == player)
            mTaunts.erase(mTaunts.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

int32_t Game::countTaunts(int32_t player) const {
    int32_t count = 0;
    for (const auto& taunt : mTaunts) {
        const Entity* entity = getEntity(taunt->mEntityId);
        if (entity != nullptr && entity->mOwner == player)
            ++count;
    }
    return count;
}

void Game::chooseTaunts() {
    std::vector<Entity*> candidates;
    for (int32_t i = 0; mGameBoard != nullptr && i < mGameBoard->getSlotCount(); ++i) {
        Entity* entity = mGameBoard->getEntityAtIndex(i);
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (proto == nullptr || proto->mType != cEntityUnit || !entity->isAlive() ||
            entity->mOwner != mCurrentPlayer || proto->mVictoryUnit)
            continue;
        candidates.push_back(entity);
    }
    const auto count = static_cast<uint32_t>(candidates.size());
    for (uint32_t i = 0; i + 1 < count; ++i)
        std::swap(candidates[i], candidates[i + 1 + mRng.randInt(count - 2 - i)]);
    for (Entity* entity : candidates) {
        // One draw per taunt keeps the saved generator in step.
        mRng.rand();
        auto taunt = std::make_unique<TauntInfo>();
        taunt->mEntityId = entity->mId;
        taunt->mAnimType = cAnimTaunt;
        if (entity->getProto()->mPuppetHandle >= 0) {
            const uint32_t variant = gRng.randInt(2);
            if (variant == 1)
                taunt->mAnimType = cAnimTaunt2;
            else if (variant == 2)
                taunt->mAnimType = cAnimTaunt3;
        }
        mTaunts.push_back(std::move(taunt));
    }
}

void Game::recordEndOfGameStats() {
    AchievementTracker::incrementProgress(cAchievementWin25);
    AchievementTracker::incrementProgress(cAchievementWin100);
    int32_t reason = 0;
    const int32_t winner = getWinner(&reason);
    if (reason == 1)
        AchievementTracker::queueValue(cAchievementWinByCrystal, 0);
    else if (reason == 2)
        AchievementTracker::queueValue(cAchievementWinByAttrition, 0);
    const Player* current = getCurrentPlayer();
    if (winner != -1 && current != nullptr &&
        current->getVictoryHealth() == current->getVictoryMaxHealth())
        AchievementTracker::queueValue(cAchievementNoDamageTaken, 0);
    const GameRecord* record = getGameRecord();
    if (record != nullptr && record->mWasMatchmade != 0)
        AchievementTracker::queueValue(cAchievementWinRandomGame, 0);
    const PlayerRecord* player = getCurrentPlayerRecord();
    if (player == nullptr)
        return;
    for (const CivWins& civ : cCivWins) {
        if (player->mCivName != civ.mCivName)
            continue;
        AchievementTracker::queueValue(civ.mFirstWin, 0);
        AchievementTracker::incrementProgress(civ.mFiftyWins);
        sceneServices().updateCivLeaderboards();
        return;
    }
}
