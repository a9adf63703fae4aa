#pragma once

// The chest the tiles wait in: a growing list of entity ids whose contents
// have no views. A game's shared chest has owner -1, a player's own chest
// (setting "splitTileChest") the player's index; the tiles in it have
// owner -1 and state InTileChest whatever the chest's owner.
//
// A chest is filled once, when its game is set up, from a tile allocation:
// a puzzle's, or the civ's of the chest's owner. Draws take from the end.

#include "rules/EntityGrid.h"

#include <cstdint>
#include <vector>

class TileAllocation;

class TileChest : public EntityGrid {
public:
    TileChest(int32_t owner, Game* game);

    // Makes the chest view (CocosTileChestLink).
    void createLink() override;
    // An arriving entity enters InTileChest; the view's counter follows.
    void onEntityAdded(int32_t id, EntityGrid* source) override;
    // The grid's behaviour, then the view's counter follows.
    void onEntityRemoved(int32_t id, EntityGrid* target) override;

    // Virtual operations after those of EntityGrid.
    // The id of the last tile (in slot order) of that proto type (-1 any)
    // whose id is not excluded, switched to the civ's variant; -1 when none.
    virtual int32_t takeTile(int32_t civId, int32_t type, const std::vector<int32_t>& excluded);

    // Fills the chest from its allocation: entries last to first, each
    // expanded (random entries draw from gRng) into new entities of owner
    // -1; then shuffled with the game's generator when the allocation says
    // so. Nothing when there is no allocation.
    static void fill(TileChest* chest);
    // The allocation a chest fills from: the puzzle's in a puzzle, else the
    // civ's of the chest's owner; a chest without an owner player (the
    // shared chest, filled before any player exists) takes civ 0's, the civ
    // every player holds when set-up ends. Null when none resolves.
    static const TileAllocation* allocationFor(const TileChest& chest);

    // The saved-state archive (EntityGrid_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);
};
