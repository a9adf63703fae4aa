#pragma once

// One piece a board places before play, read from a board's "preplace"
// element: proto name, square, owning player, whether it counts towards the
// player's victory health pool, and the fraction of its health it starts with.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>

struct PreplacedEntity {
    // "name", "x", "y" and "player" are required (a number out of range
    // fails); "healthFraction" and "victoryHealthPool" keep their defaults
    // when absent or unreadable.
    bool load(const XmlNode* element);

    std::string mName;
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mPlayer = 0;
    bool mVictoryHealthPool = false;
    float mHealthFraction = 1.0f;
};
