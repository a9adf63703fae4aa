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

    // Adds amount (negative to spend) and refreshes the scene's banners when
    // this is the current player.
    void addActionPoints(int32_t amount);
    // Shares amount evenly (the remainder dropped) among the victory units
    // that are neither dead nor knocked out, recording each hit in the
    // executing action; nothing without one.
    void distributeVictoryDamage(int32_t amount);

    Game* mGame;
    int32_t mIndex;
    int32_t mScore = 0;
    int32_t mActionPoints = 0;
    Graveyard* mGraveyard = nullptr; // owned
    // In the order they were added, no duplicates.
    std::vector<int32_t> mVictoryUnitIds;
};
