#pragma once

// One accepted drop of the turn being built: the dropped entity, the type of
// the grid it went to and the target square. The game keeps the turn's
// commands in order; a submit may send them in place of the whole state.

#include "rules/GridSlot.h"

#include <cstdint>

class ServerGameCommand {
public:
    ServerGameCommand() = default;
    ServerGameCommand(int32_t entityId, int32_t gridType, const GridSlot& target)
        : mEntityId(entityId), mGridType(gridType), mTarget(target) {}
    virtual ~ServerGameCommand() = default;

    int32_t mEntityId = -1;
    int32_t mGridType = -1;
    GridSlot mTarget;
};
