#pragma once

// One match: the root of the model. The game owns its players and every
// entity (an entity's id is its index in mEntities; the game holds one
// reference to each), its generator and the actions of the turn being
// built or replayed. Grids hold entity ids and resolve them here.
//
// Games are used on the main thread only.

#include "rules/CocosLink.h"
#include "rules/core/RNG.h"

#include "platform/engine/CCObject.h"
#include "platform/engine/CCTouchDelegate.h"

#include <cstdint>
#include <vector>

class CandidateAction;
class Entity;
class GameBoard;
class Player;
struct GameRecord;

// Bits of Game::mFlags.
inline constexpr uint8_t cGameReplaying = 1;
inline constexpr uint8_t cGameTurnFinished = 2;
inline constexpr uint8_t cGameHasActions = 4;
inline constexpr uint8_t cGameEndShown = 8;
inline constexpr uint8_t cGameLocal = 16;

class Game : public cocos2d::CCObject,
             public CocosLinkageDelegate,
             public cocos2d::CCTargetedTouchDelegate {
public:
    // An empty game with an auto-seeded generator.
    Game();
    // Releases the scene's hold, the board, the entities, players and actions.
    ~Game() override;

    // Virtual operations.
    // Offers the entity's view the game's touches (no duplicates).
    virtual void addTouchTarget(Entity* entity);
    // False when the entity was not a target.
    virtual bool removeTouchTarget(Entity* entity);
    virtual bool isReplaying() const;

    // A new entity of that proto and owner; its id, or -1 when the proto id
    // names no proto (no id is used up then).
    int32_t createEntity(int32_t protoId, int32_t owner);
    // Null for an id outside the table.
    Entity* getEntity(int32_t id) const;
    // Null for an index outside the players.
    Player* getPlayer(int32_t index) const;
    Player* getCurrentPlayer() const;
    // The service's record of this game; null when the games list has none.
    GameRecord* getGameRecord() const;
    // A local game, or the record says it is the local player's turn.
    bool isLocalTurn() const;
    bool isLocalGame() const { return (mFlags & cGameLocal) != 0; }
    // Lets go of one hold on the "ponder" loop; the last one stops it.
    void stopPonderSound();

    // Premium squares and score (Game_scoring.cpp).
    // 1 + the "ScoreMultiplier" bonuses under the player's living board
    // units; 1 on a board without premium squares.
    int32_t getScoreMultiplier(int32_t player) const;
    // The unmitigated damage the player's attacks add against victory units:
    // "VictoryDamageAdd" bonuses under its own living board units plus
    // "VictoryDamageSubtract" bonuses under the other side's, each scaled by
    // the unit's premium bonus; 1 on a board without premium squares.
    int32_t getVictoryDamageModifier(int32_t player) const;
    // Adds points x the player's score multiplier to its score and rewrites
    // its banner text; the points added. Nothing for a missing player.
    int32_t addScore(int32_t player, int32_t points);
    // Rewrites the banner text of the player (label 0 for the current
    // player, 1 for the other) when a scene shows the game.
    void refreshBannerText(int32_t player) const;

    int64_t mGameID = -1;
    int32_t mCurrentPlayer = -1;
    std::vector<Player*> mPlayers;          // owned
    std::vector<Entity*> mEntities;         // one reference each
    std::vector<CandidateAction*> mActions; // one reference each
    GameBoard* mGameBoard = nullptr;        // owned
    RNG mRng;
    std::vector<Entity*> mTouchTargets; // not owned
    Entity* mTouchEntity = nullptr;
    int32_t mTurnCount = 1;
    uint8_t mFlags = 0;
    // The puzzle being played: its category in the settings' catalogue and
    // its place there; -1 in an online game.
    int32_t mPuzzleCategory = -1;
    int32_t mPuzzleIndex = -1;
    int32_t mPonderSoundId = -1;
    int32_t mPonderCount = 0;
    // The action being executed (rules record their results in it) and the
    // one being played; set by the outermost action while it runs.
    CandidateAction* mExecutingAction = nullptr;
    CandidateAction* mPlayingAction = nullptr;
};
