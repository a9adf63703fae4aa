#pragma once

// One of the two sides of a Game: its index (also the owner value of its
// entities and grids), its civ, score and action points, the grids it owns
// (a rack, a graveyard and, when the rules give each player a chest of its
// own, a chest) and the ids of its victory units, whose summed health is the
// player's health pool.
//
// Game::init builds the players; Player::createGrids gives each its rack and
// graveyard, and the caller assigns the civ (setCiv) and, with split chests,
// the player's own chest (createTileChest).

#include "rules/CocosLink.h"

#include <cstdint>
#include <vector>

class Game;
class Graveyard;
class TileChest;
class TileRack;

class Player : public CocosLinkageDelegate {
public:
    Player(Game* game, int32_t index);
    // Frees the player's grids (its own chest whenever there is one) and
    // drops its view.
    ~Player() override;

    // Links its own view; the current player also links its rack and, with
    // split chests, its own chest, and refreshes the scene's banners. True
    // when every link made succeeded.
    bool linkAt(const cocos2d::CCPoint& position) override;
    // Drops the rack's and own chest's views, then its own.
    void unlink() override;

    // Clears mHasFinishedTurn; a "tileRackWidth" x 1 rack and a 1 x 1
    // graveyard. Always true.
    bool createGrids();
    // A chest of the player's own, filled from its civ's allocation; nothing
    // when it has one already. Always true.
    bool createTileChest();
    // False when no civ has that id; else takes it, and unless keepEntities
    // turns each of the player's entities into the civ's variant.
    bool setCiv(int32_t civId, bool keepEntities);
    // Adds amount (negative to spend) and tells the scene's banners and the
    // running puzzle script.
    void addActionPoints(int32_t amount);

    // A living unit of the player is in the rack or on the board, or (split
    // chests) any living unit in its own chest.
    bool hasUnitsLeft() const;
    // Living units of the player in the rack and on the board, plus (split
    // chests) all living units in its own chest.
    int32_t countRemainingUnits() const;
    // Current and maximum health summed over the victory units.
    int32_t getVictoryHealth() const;
    int32_t getVictoryMaxHealth() const;
    // Shares amount evenly (the remainder dropped) among the victory units
    // that are neither dead nor knocked out, recording each hit in the
    // executing action; nothing without one.
    void distributeVictoryDamage(int32_t amount);

    // The saved-state archive (Player_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

    Game* mGame;
    int32_t mIndex;
    int32_t mCivId = -1;
    int32_t mScore = 0;
    int32_t mActionPoints = 0;
    TileRack* mTileRack = nullptr;   // owned
    Graveyard* mGraveyard = nullptr; // owned
    // Read and written only by the saved-state archive.
    int32_t mArchiveValue = 0;
    // In the order they were added, no duplicates.
    std::vector<int32_t> mVictoryUnitIds;
    // The opponent reached "scoreToWin": this is the player's last turn.
    bool mLastTurn = false;
    bool mCivAssigned = false;
    bool mHasFinishedTurn = false;
    TileChest* mTileChest = nullptr; // owned; only with split chests

private:
    // The game's board, for the unit counts; null when none.
    const class EntityGrid* board() const;
};
