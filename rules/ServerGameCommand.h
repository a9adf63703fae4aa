#pragma once

// One accepted drop of the turn being built: the dropped entity, the type of
// the grid it went to and the target square. The game keeps the turn's
// commands in order; a submit may send them in place of the whole state, as
// the commands of a ServerTurn (ServerTurn.h, which also holds the archive
// form).

#include "rules/GridSlot.h"

#include <cstdint>

class ServerGameCommand {
public:
    ServerGameCommand() = default;
    ServerGameCommand(int32_t entityId, int32_t gridType, const GridSlot& target)
        : mEntityId(entityId), mGridType(gridType), mTarget(target) {}
    virtual ~ServerGameCommand() = default;

    // The entity id, "mGridType", then the square as an object.
    template <class Archive> void serialize(Archive& ar, unsigned version);

    int32_t mEntityId = -1;
    int32_t mGridType = -1;
    GridSlot mTarget;
};
