#include "rules/EntityGrid.h"

#include "rules/CocosEntityGridLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include <algorithm>
#include <utility>

using cocos2d::CCPoint;
using cocos2d::CCSize;

bool EntityGrid::linkAt(const CCPoint& position) {
    if (!link(position, CCSize(0.0f, 0.0f)))
        return false;
    if (!isFlagSet(cGridHidden)) {
        for (int32_t i = 0; i < getSlotCount(); ++i) {
            Entity* entity = getEntityAtIndex(i);
            if (entity == nullptr)
                continue;
            entity->linkAt(pointForCoords(coordsOfIndex(i), true));
            entity->refreshView();
        }
    }
    if (auto* view = dynamic_cast<CocosEntityGridLink*>(mLink))
        view->refreshEntities(!isViewHidden());
    return true;
}

void EntityGrid::unlink() {
    for (int32_t i = 0; i < getSlotCount(); ++i)
        if (Entity* entity = getEntityAtIndex(i))
            entity->unlink();
    CocosLinkageDelegate::unlink();
}

bool EntityGrid::canPlaceEntityAtPoint(int32_t id, const CCPoint& point) {
    return containsPoint(point) && canPlaceEntityAt(id, coordsForPoint(point));
}

bool EntityGrid::canPlaceEntityAt(int32_t id, const GridSlot& slot) {
    if (isLocked() || !hasRoomFor(1))
        return false;
    const int32_t index = indexOfCoords(slot);
    if (!isValidIndex(index))
        return false;
    const int32_t held = mSlots[static_cast<size_t>(index)];
    return held == -1 || held == id;
}

bool EntityGrid::placeEntityAtPoint(int32_t id, const CCPoint& point) {
    return containsPoint(point) && placeEntityAt(id, coordsForPoint(point));
}

bool EntityGrid::placeEntityAt(int32_t id, const GridSlot& slot) {
    Entity* entity = entityFor(id);
    if (entity == nullptr || !hasRoomFor(1))
        return false;
    const auto found = std::find(mSlots.begin(), mSlots.end(), id);
    if (found != mSlots.end()) {
        const auto current = static_cast<int32_t>(found - mSlots.begin());
        if (indexOfCoords(slot) != current) {
            if (!removeEntityAtIndex(current))
                return false;
            // A square that refuses the entity gets it back where it was.
            if (!addEntityAt(id, slot)) {
                storeAt(id, current);
                return false;
            }
        }
    } else if (entity->mGrid != nullptr && entity->mGrid != this) {
        if (!entity->mGrid->moveEntityTo(id, this, slot))
            return false;
    } else if (!addEntityAt(id, slot)) {
        return false;
    }
    onEntityPlaced(id, slot);
    return true;
}

bool EntityGrid::moveEntityToFirstFree(int32_t id, EntityGrid* target) {
    GridSlot slot;
    return target != nullptr && target->hasRoomFor(1) && target->getFirstFreeCoords(slot) &&
           moveEntityTo(id, target, slot);
}

bool EntityGrid::moveEntityTo(int32_t id, EntityGrid* target, const GridSlot& slot) {
    if (target == nullptr || !target->hasRoomFor(1) || !target->canPlaceEntityAt(id, slot))
        return false;
    const auto found = std::find(mSlots.begin(), mSlots.end(), id);
    const int32_t from = found != mSlots.end() ? static_cast<int32_t>(found - mSlots.begin()) : -1;
    if (from >= 0)
        removeEntityAtIndex(from);
    // A target that refuses after all leaves the entity where it was.
    if (!target->addEntityAt(id, slot)) {
        if (from >= 0)
            storeAt(id, from);
        return false;
    }
    onEntityRemoved(id, target);
    target->onEntityAdded(id, this);
    if (Entity* entity = entityFor(id); entity != nullptr && mGame != nullptr)
        entity->mLastGridChangeTurn = mGame->mTurnCount;
    return true;
}

void EntityGrid::onEntityRemoved(int32_t id, EntityGrid* target) {
    Entity* entity = entityFor(id);
    if (!hasLink() || entity == nullptr || target == nullptr)
        return;
    const bool hiddenHere = isFlagSet(cGridHidden);
    const bool hiddenThere = target->isFlagSet(cGridHidden);
    if (hiddenHere && !hiddenThere)
        entity->linkAt(getViewPosition());
    else if (!hiddenHere && hiddenThere)
        entity->unlink();
}

bool EntityGrid::swapSlots(const GridSlot& a, const GridSlot& b) {
    const int32_t first = indexOfCoords(a);
    const int32_t second = indexOfCoords(b);
    if (!isValidIndex(first) || !isValidIndex(second))
        return false;
    std::swap(mSlots[static_cast<size_t>(first)], mSlots[static_cast<size_t>(second)]);
    for (const int32_t index : {first, second}) {
        if (Entity* entity = getEntityAtIndex(index)) {
            entity->mGrid = this;
            entity->mSlot = coordsOfIndex(index);
        }
    }
    return true;
}
