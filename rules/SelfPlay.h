#pragma once

// Headless self-play: whole games played in memory by random legal drops,
// the program's end-to-end check of the rules.
//
// A game is set up for two civs from a seed as a new online game is (both
// racks filled units first) and saved. Each turn loads the last blob into a
// fresh Game whose current player is the player to move, as the opener
// does, under a stand-in game record that names that player the active
// "current_turn_player"; the player makes random drops that the game
// accepts (Place and Return are not drops the game accepts) until none it
// can afford is left, finishes the turn and saves the game as the opponent
// would receive it. The game ends when getWinner decides or at the turn cap.
// Drops are chosen with a generator seeded from the seed, so one seed plays
// one game. The optional invariant checks run after every action.

#include "rules/core/EntityState.h"
#include "rules/core/RNG.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

class Game;

// The checks of a game's consistency that self-play runs after every
// action: ids in at most one slot of all grids (equipment included), each
// entity in a slot naming that grid and slot, entities in no slot Dead or
// stateless, health a multiple of 5 and not below 0 (above the maximum only
// after an item left the unit), action points not negative, and the blob
// loaded into a fresh game (no current player) saving to the same bytes.
// It remembers the units' items from one check to the next, so one checker
// follows one game, and checks are to follow every action.
class GameInvariants {
public:
    // The problems found, one line each; empty when the game is sound.
    std::vector<std::string> check(const Game& game);

private:
    std::map<int32_t, std::vector<int32_t>> mItems;
    std::set<int32_t> mMayExceedMaxHealth;
};

struct SelfPlayOptions {
    int32_t mSeed = 1;
    // Civ ids of players 0 and 1.
    std::array<int32_t, 2> mCivs = {0, 0};
    // The last turn played when no one has won.
    int32_t mMaxTurns = 200;
    // Drops one turn may make at most (a guard against free actions).
    int32_t mMaxActionsPerTurn = 100;
    bool mCheckInvariants = false;
};

// One finished turn.
struct SelfPlayTurn {
    int32_t mTurn = 0;
    int32_t mPlayer = 0;
    // Accepted drops by ActionType.
    std::array<int32_t, cActionTypeCount> mActions{};
    int32_t mActionPointsLeft = 0;
    std::array<int32_t, 2> mScore{};
    std::array<int32_t, 2> mVictoryHealth{};
    std::array<int32_t, 2> mUnitsLeft{};
    // The game's turn count after the turn, and whether it is over.
    int32_t mNextTurn = 0;
    bool mGameOver = false;
};

struct SelfPlayResult {
    bool mSetUp = false;
    int32_t mWinner = -1;
    // 1 victory health, 2 attrition (Game::getWinner); attrition with no
    // winner is a draw.
    int32_t mReason = 0;
    int32_t mTurns = 0;
    int32_t mActions = 0;
    bool mTurnCap = false;
    // A turn stopped by mMaxActionsPerTurn.
    bool mActionCap = false;
    std::vector<std::string> mProblems;
    // The game as the last turn left it.
    std::vector<uint8_t> mFinalBlob;
};

class SelfPlay {
public:
    // A drop the game would accept: the entity, the grid type and square it
    // goes to, and its ActionType.
    struct Drop {
        int32_t mEntityId;
        int32_t mGridType;
        int32_t mX;
        int32_t mY;
        int32_t mKind;
    };

    explicit SelfPlay(SelfPlayOptions options);

    // Sets a game up from a seed as a new online game is: Game::init, then
    // the first states of players 0 and 1 (Game::setUpFirstState). The seed
    // also seeds the cosmetic generator, which picks the random entries of
    // the tile allocations. False when a step refuses.
    static bool setUpNewGame(Game& game, int32_t seed, const std::array<int32_t, 2>& civs);

    // Plays one game to its end or the turn cap.
    SelfPlayResult run();

    // Plays one turn of mover on a stored game, as run() plays each: blob
    // loaded as the opener does under a stand-in record naming mover the
    // turn player (its turn count recordTurns), random drops the game
    // accepts, the turn finished. The new blob; empty when the blob does
    // not load, a check fails or the turn does not finish (result's
    // problems say which). turn gets the turn's figures, result its actions
    // and caps, and the winner and reason as Game::getWinner gives them.
    std::vector<uint8_t> playTurn(const std::vector<uint8_t>& blob, int32_t mover,
                                  int32_t recordTurns, SelfPlayTurn& turn, SelfPlayResult& result);

    // Every drop the game's current player could make now and afford
    // (Place, Return and Use Item left out).
    static std::vector<Drop> legalDrops(Game& game);

    // Called after every finished turn.
    std::function<void(const SelfPlayTurn&)> mOnTurn;
    // Called with the blob of every finished turn as the opponent receives
    // it (the games list names the opponent the player to move, the record
    // has the game id given); a non-empty answer is a problem that stops
    // the game.
    std::function<std::string(const std::vector<uint8_t>& blob, int64_t gameId, int32_t opener)>
        mCheckSavedTurn;

private:
    // The new game's blob; empty when it cannot be set up.
    std::vector<uint8_t> setUpGame();
    // Makes the drops of the game's current player; false when the game
    // stopped (a problem was found).
    bool playDrops(Game& game, SelfPlayTurn& turn, SelfPlayResult& result);

    SelfPlayOptions mOptions;
    RNG mRng;
    GameInvariants mInvariants;
};
