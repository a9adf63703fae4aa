#pragma once

// One of the two sides of a Game: its index (also the owner value of its
// entities and grids), its graveyard and the ids of its victory units, whose
// summed health is the player's health pool.

#include "rules/CocosLink.h"

#include <cstdint>
#include <vector>

class Game;
class Graveyard;

class Player : public CocosLinkageDelegate {
public:
    Player(Game* game, int32_t index);
    // Frees the player's grids and drops its view.
    ~Player() override;

    Game* mGame;
    int32_t mIndex;
    Graveyard* mGraveyard = nullptr; // owned
    // In the order they were added, no duplicates.
    std::vector<int32_t> mVictoryUnitIds;
};
