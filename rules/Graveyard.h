#pragma once

// The grid that receives a player's dead units: a growing list whose
// contents have no views. An entity that arrives dies.

#include "rules/EntityGrid.h"

class Graveyard : public EntityGrid {
public:
    Graveyard(int32_t owner, Game* game);

    // The entity's state becomes Dead (its tooltip indicator hidden first).
    void onEntityAdded(int32_t id, EntityGrid* source) override;

    // The saved-state archive (EntityGrid_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);
};
