#pragma once

// One match: the root of the model. The game owns its two players, every
// entity (an entity's id is its index in mEntities; the game holds one
// reference to each), the shared tile chest (unless each player has its
// own), the board, its generator, the actions and commands of the turn being
// built or replayed, and the short lists that drive the end-of-turn and
// replay presentation. Grids hold entity ids and resolve them here; they are
// found by grid type and player through getGrid.
//
// A new game: Game(), init(seed), then the caller gives each player its civ
// (Player::setCiv), with split chests its own chest
// (Player::createTileChest), fills the racks and sets mCurrentPlayer.
// gCurrentGame is the game being shown. Games are used on the main thread
// only. Files: Game.cpp (life cycle, set-up, lookups), Game_views.cpp
// (views and touch registration), Game_scoring.cpp (premium-square sums and
// score), Game_actionPasses.cpp (the passes over the board after an action),
// Game_archive.cpp (the saved-state archive and its fix-up), Game_blob.cpp
// (the game-state blob, loading, the undo stack), Game_drop.cpp (drops and
// performing actions), Game_undo.cpp (undo), Game_touch.cpp (touches),
// Game_turn.cpp (turn end, rack refill, end of game, taunts),
// Game_replay.cpp (the visual sequencer and the replay), Game_presentation.cpp
// (taunts played, the rack refill's flight, the ponder loop).

#include "rules/CocosLink.h"
#include "rules/GridSlot.h"
#include "rules/ObjectPool.h"
#include "rules/ServerGameCommand.h"
#include "rules/core/RNG.h"

#include "platform/engine/CCObject.h"
#include "platform/engine/CCTouchDelegate.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CandidateAction;
class Entity;
class EntityGrid;
class GameBoard;
class Player;
class TileChest;
class TooltipProtocol;
struct GameRecord;
struct PlayerColor;
struct PlayerRecord;

// Bits of Game::mFlags.
inline constexpr uint8_t cGameReplaying = 1;
inline constexpr uint8_t cGameTurnFinished = 2;
inline constexpr uint8_t cGameHasActions = 4;
inline constexpr uint8_t cGameEndShown = 8;
inline constexpr uint8_t cGameLocal = 16;

// A unit that will taunt, with its animation state ("Taunt" 31, "Taunt2" 32,
// "Taunt3" 33).
struct TauntInfo {
    int32_t mEntityId = -1;
    int32_t mAnimType = 0;
};

// A unit moved from the board to the graveyard at the turn end, with its
// last board square.
struct KnockOutFadeInfo {
    int32_t mEntityId = -1;
    GridSlot mSlot;
};

// A turn-start score award still to be shown above the unit.
struct ScoreFlyoutInfo {
    int32_t mPoints = 0;
    int32_t mEntityId = -1;
    float mScale = 1.0f;
};

class Game : public cocos2d::CCObject,
             public CocosLinkageDelegate,
             public cocos2d::CCTargetedTouchDelegate {
public:
    // An empty game with an auto-seeded generator.
    Game();
    // An empty game whose generator continues rng's (nothing is seeded).
    explicit Game(const RNG& rng);
    // Every load reads into a new scratch game, a block of some kilobytes:
    // kept blocks are reused rather than taken from the general allocator.
    static void* operator new(size_t size) { return ObjectPool<Game>::allocate(size); }
    static void operator delete(void* block, size_t size) {
        ObjectPool<Game>::deallocate(block, size);
    }
    // Drops the scene's hold and the views, then empties the game as reset does.
    ~Game() override;

    // Virtual operations.
    // Builds the views of a game that has none: its own, the shared chest's,
    // the players', the board's; registers for touches when asked, else
    // shows the waiting score flyouts and the last-turn notice. True when
    // every link succeeded.
    virtual bool linkAt(const cocos2d::CCPoint& position, bool registerTouch);
    // Stops the ponder loop, leaves the touch dispatcher when asked, and
    // drops every view.
    virtual void unlink(bool removeTouch);
    // Offers the entity's view the game's touches (no duplicates).
    virtual void addTouchTarget(Entity* entity);
    // False when the entity was not a target.
    virtual bool removeTouchTarget(Entity* entity);
    // Goes back to the state before the turn's last action, or with
    // wholeTurn to the state the turn started from, by reloading a snapshot
    // of the undo stack; the turn's commands go with the actions undone.
    virtual void undo(bool wholeTurn);
    virtual bool isReplaying() const;
    // Whether the turn has actions (to undo).
    virtual bool canUndo() const;
    virtual bool hasActions() const;
    // Queues the won game's statistics and achievements of the current
    // player for the platform (win reason, undamaged crystals, matchmade,
    // the civ's wins) and refreshes the civ leaderboards.
    virtual void recordEndOfGameStats();

    // Touches: the game claims a touch for the nearest draggable entity (or
    // the tile chest), forwards the gesture to it and turns a touch that
    // ends unmoved into a tap (Game_touch.cpp).
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // A pointer move: the scene follows it with the nearest tooltip target.
    // Touches and moves are taken in the running scene's coordinates.
    void ccRawMove(float x, float y, bool buttonDown) override;
    // The registered tooltip target within 40 units of the scene point whose
    // indicator is nearest (kind 1 ranks below every other kind; the later
    // one on a tie); null when none.
    TooltipProtocol* findNearestTooltipTarget(const cocos2d::CCPoint& point) const;
    using CocosLinkageDelegate::linkAt;
    using CocosLinkageDelegate::unlink;

    // Set-up of a new game from a seed (negative: auto-seeded): the proto
    // remap left by an earlier load emptied, the shared chest unless chests
    // are split, two players with their grids, first action points and civ
    // 0, then the board. False when no civ has id 0 or a part refuses; the
    // game is then to be discarded.
    bool init(int32_t seed);
    // Empties the game before a load: players, entities, actions, the
    // chest, the board and the turn-end lists; clears the replaying, turn
    // finished and has-actions bits.
    void reset();

    // The saved state (Game_archive.cpp, Game_blob.cpp).
    // The game-state blob: a 12-byte header (magic 0xCAFEBAC0, version 0,
    // the archive's size) and the archive compressed with zlib. Fills
    // mProtoNames from the proto database first when it is empty.
    std::vector<uint8_t> saveToBuffer();
    // Replaces the game's content with that of a blob, or of a bare archive
    // (no magic); the blob becomes the only undo snapshot when asked, the
    // game takes the id and onLoaded runs. False for a missing, short,
    // damaged or inconsistent blob: the game then keeps its content.
    bool loadFromBuffer(const uint8_t* buffer, int32_t size, int64_t gameId, bool pushSnapshot);
    // After every load: the turn-start score; a new game's opening rack is
    // flown in once.
    void onLoaded();
    // Units of the current player on "Score" squares earn their points
    // (with the score multiplier), each award queued as a score flyout;
    // once per turn, so not when undo reloads a snapshot taken during it.
    void awardTurnStartScore();
    // After the archive is read: the proto remap emptied, saved proto ids
    // re-resolved by name through mProtoNames, and health restored from the
    // saved fractions.
    void fixupAfterLoad();
    // Frees every snapshot of the undo stack.
    virtual void clearUndoStack();
    template <class Archive> void serialize(Archive& ar, unsigned version);

    // A new entity of that proto and owner; its id, or -1 when the proto id
    // names no proto (no id is used up then).
    int32_t createEntity(int32_t protoId, int32_t owner);
    // Takes back the entity just created, when it is still the newest one
    // and on no grid (an item its target refused), freeing its id; false
    // otherwise.
    bool discardNewestEntity(int32_t id);
    // Null for an id outside the table.
    Entity* getEntity(int32_t id) const;
    // The grid of that type (chest 0, rack 1, board 2, graveyard 3) of the
    // player (negative: the current one); null when there is none.
    EntityGrid* getGrid(int32_t gridType, int32_t player) const;
    // Null for an index outside the players.
    Player* getPlayer(int32_t index) const;
    Player* getCurrentPlayer() const;

    // The service's record of this game; null when the games list has none.
    GameRecord* getGameRecord() const;
    // The record's entry of the current player; null without one.
    PlayerRecord* getCurrentPlayerRecord() const;
    // The current player won, or declined an invitation to a game it created.
    bool isCurrentPlayerWinner() const;
    // A local game, or the record says it is the local player's turn.
    bool isLocalTurn() const;
    // The colours of the record's first and second player; the list's first
    // colour without a record; null for an index outside the list.
    PlayerColor* getHomeColor() const;
    PlayerColor* getAwayColor() const;
    bool isLocalGame() const { return (mFlags & cGameLocal) != 0; }

    // After-action passes over the board's units (Game_actionPasses.cpp).
    // Breaks the ongoing links (the items' first) that the action ended,
    // recording them in it.
    void updateOngoingLinks(CandidateAction* action);
    // Adds the ongoing effects of the turn's last action point to the action
    // as sub-actions: auto-attached items, ongoing attacks and heals.
    void applyOngoingEffects(CandidateAction* action);
    // The player's living board units on "VictoryDamageAdd" squares; 1 on a
    // board without premium squares.
    int32_t countUnitsOnVictoryDamageSquares(int32_t player) const;

    // Drops and actions (Game_drop.cpp).
    // Hands the drop of an entity on a square of the grid of that type (of
    // the entity's owner) to the entity's drop rules; true when an action
    // was performed.
    bool tryDrop(int32_t entityId, int32_t gridType, const GridSlot& target);
    // tryDrop, recording an accepted drop as a command of the turn.
    bool dropEntity(int32_t entityId, int32_t gridType, const GridSlot& target);
    // Snapshots the game for undo (except before the turn's first action,
    // which drops the previous turn's actions instead), executes the
    // action, records it and opens the next stat scope. Null: nothing.
    void performAction(CandidateAction* action);
    // The first recorded action (or, depth first, sub-action) in that
    // playback state; null when none.
    CandidateAction* findAction(int32_t playbackState) const;
    // Deletes the turn's last command, or all of them.
    void clearCommands(bool all);

    // Visual sequencing and replay (Game_replay.cpp). The actions' visuals
    // play one action at a time; views report the end of their part of a
    // step through onVisualStepDone.
    // Starts the visuals of the first recorded action from the undo stack's
    // size - 1 on that is neither failed nor done, unless it still plays;
    // with none left, ends a running replay.
    void processNextVisual();
    // An entity's view reports that its part of a visual step ended: the
    // first started action that takes it goes on, then the next visual
    // starts. Nothing for a null entity.
    virtual void onVisualStepDone(Entity* entity);
    // onVisualStepDone as the end of a node's action sequence (CCCallFuncND
    // with the entity as data).
    void visualStepDone(cocos2d::CCNode* node, void* entity);
    // Replays the recorded actions of the last turn from the views' initial
    // state (the model stays final); true when a replay started. Without
    // recorded actions the opponent's taunts play. False while one runs.
    virtual bool startReplay();
    // Puts every view in its end state at once and rewinds every recorded
    // action's views, last first; true.
    virtual bool finishVisualsNow();
    // Ends a running replay at once.
    virtual void skipReplay();
    // Closes a running replay: the state as opened is reloaded, flyouts,
    // taunts or the rack refill, the knock-out fades, the scene's turn start.
    virtual void endReplay();

    // The presentation around a turn (Game_presentation.cpp).
    // The player's queued taunts, spread over 1.5 s by their place in the
    // whole list.
    void playTaunts(int32_t player);
    // One taunt ended; after the last, the taunted side reacts (when the
    // turn has no actions) and the rack refill flies in.
    void onTauntFinished(cocos2d::CCNode* node, Entity* entity);
    // onTauntFinished as the end of a node's action sequence.
    void tauntFinished(cocos2d::CCNode* node, void* entity);
    // The player's standing units play their taunt reaction.
    void playTauntReactions(int32_t player);
    // The reacting units return to their idle animation.
    void stopTauntReactions();
    // Flies the tiles the last refill drew from the chest into the rack,
    // each only once (also across reloads).
    void animateRackRefill(float delay);
    // Empties the new rack tiles of the current game; nothing without one.
    static void clearNewRackTiles();
    // The throw of the k-th tile of a refill, pitched up by k.
    void playThrowToRackSound(int32_t k);
    // The landing of the k-th tile: its sound and a puff of smoke under node.
    void playRackLandEffect(int32_t k, cocos2d::CCNode* node);
    // The two as steps of a tile's flight (CCCallFuncND with k as data).
    void throwToRackStep(cocos2d::CCNode* node, void* k);
    void rackLandStep(cocos2d::CCNode* node, void* k);
    // A held tile's "ponder" loop: the first holder fades it in, the last
    // one out; a stop without a holder is ignored.
    void startPonderSound();
    void stopPonderSound();
    // Fades the ponder loop out and lets it go, whatever the count.
    void fadeOutPonderSound();
    // Pushes a snapshot of the game as it is now on the undo stack.
    void pushUndoSnapshot();

    // Turn end and end of game (Game_turn.cpp).
    // Ends the current player's turn once: knocked-out units count down,
    // charges refill, the other player gets its action points, the end of
    // the game is tested, the turn count advances, the rack is refilled
    // and, with a taunt count above 0, the taunts are chosen. False, with
    // nothing changed, when the other player is missing.
    bool finishTurn(int32_t tauntCount);
    // The current player's knocked-out units count one more turn; those at
    // "knockoutDeathThreshold" go to the graveyard with a fade record.
    void expireKnockedOutUnits();
    // The current player's living board units get their full charge.
    void resetActionCounters();
    // Draws tiles from the player's chest until the rack is full: first
    // "initialUnitWeighting" units-only draws when unitsFirst (not in a
    // puzzle, and then the rack is shuffled), the tiles swapped back this
    // turn last. recordNew lists the drawn ids for the refill animation.
    void refillRack(int32_t player, bool unitsFirst, bool recordNew);
    // A player's first state in a new online game, as its creator or the
    // player accepting it builds it: the civ (Player::setCiv, the player's
    // entities turned into its variants), the set-up flag, with split chests
    // a chest of its own, then the rack filled units first. False when there
    // is no such player or civ.
    bool setUpFirstState(int32_t player, int32_t civId);
    // Ends the game (no action points, mGameOver) once it has a winner.
    void reportEndOfGame();
    // The winner (-1 none) by an empty victory health pool (reason 1) or by
    // attrition (reason 2); -1 whenever "useVictoryHealthPool" is off.
    int32_t getWinner(int32_t* reason) const;
    // Whether attrition decides the game: from the second turn, with the
    // shared chest empty, at most one side has units left (outWinner the
    // side that has, -1 none).
    bool checkAttritionWinner(int32_t& outWinner) const;
    // Ends the game at once.
    void forceGameOver();
    // Removes the player's queued taunts.
    void clearTaunts(int32_t player);
    // The number of queued taunts of the player.
    int32_t countTaunts(int32_t player) const;
    // Queues a taunt for every living, non-victory board unit of the
    // current player, in an order shuffled with the game's generator.
    void chooseTaunts();

    // Shows the turn-start score awards of units that have views, and
    // forgets those shown.
    void showScoreFlyouts();
    // Makes the views of the tiles the last refill put in a rack transparent,
    // until the refill animation shows them.
    void hideNewRackTiles();

    // Premium squares and score (Game_scoring.cpp).
    // 1 + the "ScoreMultiplier" bonuses under the player's living board
    // units; 1 on a board without premium squares.
    int32_t getScoreMultiplier(int32_t player) const;
    // The unmitigated damage the player's attacks add against victory units:
    // "VictoryDamageAdd" bonuses under its own living board units plus
    // "VictoryDamageSubtract" bonuses under the other side's, each scaled by
    // the unit's premium bonus; 1 on a board without premium squares.
    int32_t getVictoryDamageModifier(int32_t player) const;
    // Adds points to the player's score and rewrites its banner text;
    // nothing for no points or a missing player.
    void addScore(int32_t player, int32_t points);
    // Rewrites the banner text of the player (label 0 for the current
    // player, 1 for the other) when a scene shows the game.
    void refreshBannerText(int32_t player) const;

    int64_t mGameID = -1;
    int32_t mCurrentPlayer = -1;
    std::vector<Player*> mPlayers;          // owned
    std::vector<Entity*> mEntities;         // one reference each
    std::vector<CandidateAction*> mActions; // one reference each
    // Rack tiles whose refill flight has been shown; kept across reloads.
    std::vector<int32_t> mFlownRackTileIds;
    // Tiles the last refill put in the current player's rack.
    std::vector<int32_t> mNewRackTileIds;
    std::vector<std::unique_ptr<ScoreFlyoutInfo>> mScoreFlyouts;
    TileChest* mTileChest = nullptr; // owned; null with split chests
    GameBoard* mGameBoard = nullptr; // owned
    RNG mRng;
    bool mGameOver = false;
    std::vector<Entity*> mTouchTargets; // not owned
    Entity* mTouchEntity = nullptr;
    int32_t mTurnCount = 1;
    uint8_t mFlags = 0;
    // The puzzle being played: its category in the settings' catalogue and
    // its place there; -1 in an online game.
    int32_t mPuzzleCategory = -1;
    int32_t mPuzzleIndex = -1;
    int32_t mTapPending = 0;
    // 0 idle, 1 touch began on an entity, 2 moved, 3 ended as a tap.
    int32_t mTouchPhase = 0;
    int32_t mPonderSoundId = -1;
    int32_t mPonderCount = 0;
    std::vector<std::unique_ptr<TauntInfo>> mTaunts;
    int32_t mTauntsRunning = 0;
    std::vector<int32_t> mTauntReactionIds;
    std::vector<std::unique_ptr<KnockOutFadeInfo>> mKnockOutFades;
    cocos2d::CCPoint mTouchStartPoint;
    float mTouchStartTime = 0.0f; // seconds
    // Proto id to proto name, filled at the first save.
    std::map<int32_t, std::string> mProtoNames;
    std::vector<std::unique_ptr<ServerGameCommand>> mCommands;
    // The action being executed (rules record their results in it) and the
    // one being played; set by the outermost action while it runs.
    CandidateAction* mExecutingAction = nullptr;
    CandidateAction* mPlayingAction = nullptr;
    // Set while undo reloads a snapshot taken during the turn, which holds
    // the turn-start score already: the load awards none.
    bool mSkipTurnStartScore = false;
};

// The game being shown; null when none. Not owned.
extern Game* gCurrentGame;

// One undo snapshot: a game-state blob.
struct GameSnapshot {
    std::vector<uint8_t> mBuffer;
};

// The undo stack of the current game, bottom first: one process-wide stack.
std::vector<std::unique_ptr<GameSnapshot>>& undoStack();
