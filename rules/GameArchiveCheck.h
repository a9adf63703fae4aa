#pragma once

// What a read of the saved state does with the objects it made. An archive
// comes from the network, so nothing it holds is used before it is checked:
// every object the read created must be owned exactly once by the game's
// tree (players, grids, entities with their equipment grids, actions with
// their records and sub-actions, taunts and fades), every pointer must name
// an object of the right class, every slot's entity must name that grid and
// square, an entity no slot holds must be dead or stateless, and the values
// the rules index or count with must be in range. A failed read frees what it created without
// following any pointer it read.

#include "rules/GameArchive.h"

#include <utility>
#include <vector>

class GameArchiveCheck {
public:
    // Largest magnitude accepted for health, score, action points and the
    // like, far above anything the rules reach, so sums of them cannot overflow.
    static constexpr int32_t cMaxValue = 1 << 24;

    // Throws an archive error when the game read into root, with the
    // objects the archive created, is not consistent.
    static void validate(const GameIArchive& ar, Game& root);
    // Frees every object of created, each once, after emptying the owning
    // fields of root and of those objects.
    static void discard(const std::vector<std::pair<void*, ArchiveClass>>& created, Game& root);
    // Points every back-reference of the game's objects at game.
    static void adopt(Game& game);
};
