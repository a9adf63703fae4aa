#include "rules/TileRack.h"

#include "rules/CocosTileRackLink.h"
#include "rules/Entity.h"

#include <new>

TileRack::TileRack(int32_t owner, Game* game) : EntityGrid(owner, game) {
    mGridType = cGridTileRack;
    mName = "\"Tilerack\"";
}

void TileRack::createLink() {
    mLink = new (std::nothrow) CocosTileRackLink(this);
}

int32_t TileRack::zOrderForCoords(const GridSlot& slot) const {
    return ((mHeight - slot.y) * 5 + 55) * 2;
}

void TileRack::onEntityAdded(int32_t id, EntityGrid* /*source*/) {
    Entity* entity = entityFor(id);
    if (entity != nullptr && entity->mState != cStateOnTileRack)
        entity->changeState(cStateOnTileRack);
}
