#pragma once

// A player's rack: a row of "tileRackWidth" slots holding the tiles drawn
// from the chest, in state OnTileRack, until they are dropped on the board.
// Its owner is the player's index. Rack tiles draw above the board's rows.

#include "rules/EntityGrid.h"

class TileRack : public EntityGrid {
public:
    TileRack(int32_t owner, Game* game);

    // Makes the rack view (CocosTileRackLink).
    void createLink() override;

    // ((height - y) * 5 + 55) * 2.
    int32_t zOrderForCoords(const GridSlot& slot) const override;
    // An arriving entity enters OnTileRack.
    void onEntityAdded(int32_t id, EntityGrid* source) override;

    // The saved-state archive (EntityGrid_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);
};
