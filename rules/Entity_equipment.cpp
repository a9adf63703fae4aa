#include "rules/Entity.h"

#include "rules/EntityGrid.h"

#include "content/protos/Database.h"

namespace {

// The first Equipped item of that proto in the grid; null when none.
Entity* findEquipped(const EntityGrid* items, int32_t protoId) {
    if (items == nullptr || protoId < 0)
        return nullptr;
    for (int32_t i = 0; i < items->getSlotCount(); ++i) {
        Entity* item = items->getEntityAtIndex(i);
        if (item != nullptr && item->mProtoId == protoId && item->mState == cStateEquipped)
            return item;
    }
    return nullptr;
}

} // namespace

bool Entity::hasEquippedProto(int32_t protoId) const {
    return findEquipped(mInventory, protoId) != nullptr;
}

Entity* Entity::getBloodrageBuffItem() const {
    return findEquipped(mInventory, Database::getProtoIdByName("bloodrageBuff"));
}

bool Entity::hasBloodrageBuff() const {
    return getBloodrageBuffItem() != nullptr;
}
