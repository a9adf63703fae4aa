#include "rules/EntityGrid.h"

#include "rules/CocosEntityGridLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include <algorithm>
#include <new>

EntityGrid::EntityGrid(int32_t owner, Game* game) : mOwner(owner), mGame(game), mFlags(2, false) {}

EntityGrid::~EntityGrid() {
    mSlots.clear();
    mCount = 0;
    unlink();
}

void EntityGrid::createLink() {
    mLink = new (std::nothrow) CocosEntityGridLink(this);
}

bool EntityGrid::setSize(int32_t width, int32_t height) {
    mWidth = width;
    mHeight = height;
    mSlots.assign(static_cast<size_t>(std::max(0, width) * std::max(0, height)), -1);
    mCount = 0;
    return true;
}

int32_t EntityGrid::getSlotCount() const {
    return static_cast<int32_t>(mSlots.size());
}

Entity* EntityGrid::getEntityAtIndex(int32_t index) const {
    return entityFor(getEntityIdAtIndex(index));
}

int32_t EntityGrid::getEntityIdAt(const GridSlot& slot) const {
    return getEntityIdAtIndex(indexOfCoords(slot));
}

int32_t EntityGrid::getEntityIdAtIndex(int32_t index) const {
    return isValidIndex(index) ? mSlots[static_cast<size_t>(index)] : -1;
}

GridSlot EntityGrid::findEntityCoords(GridSlot& out, int32_t id) const {
    out = GridSlot();
    for (int32_t i = 0; i < getSlotCount(); ++i) {
        if (mSlots[static_cast<size_t>(i)] == id) {
            out = coordsOfIndex(i);
            break;
        }
    }
    return out;
}

bool EntityGrid::hasRoomFor(int32_t n) const {
    if (isFlagSet(cGridLinear))
        return true;
    return static_cast<int64_t>(mCount) + n <= static_cast<int64_t>(mWidth) * mHeight;
}

int32_t EntityGrid::getEntityCount() const {
    return mCount;
}

bool EntityGrid::getFirstFreeCoords(GridSlot& out) {
    const int32_t index = firstFreeIndex();
    if (index < 0)
        return false;
    out = coordsOfIndex(index);
    return true;
}

bool EntityGrid::addEntity(int32_t id) {
    return storeAt(id, firstFreeIndex());
}

bool EntityGrid::addEntityAt(int32_t id, const GridSlot& slot) {
    return storeAt(id, indexOfCoords(slot));
}

bool EntityGrid::addUniqueEntity(int32_t id) {
    if (!hasRoomFor(1))
        return false;
    if (std::find(mSlots.begin(), mSlots.end(), id) != mSlots.end())
        return false;
    return addEntity(id);
}

bool EntityGrid::addEntities(const std::vector<int32_t>& ids) {
    if (!hasRoomFor(static_cast<int32_t>(ids.size())))
        return false;
    for (int32_t id : ids)
        if (!addEntity(id))
            return false;
    return true;
}

bool EntityGrid::removeEntity(int32_t id) {
    const auto found = std::find(mSlots.begin(), mSlots.end(), id);
    if (found == mSlots.end())
        return false;
    return removeEntityAtIndex(static_cast<int32_t>(found - mSlots.begin()));
}

bool EntityGrid::removeEntityAtIndex(int32_t index) {
    if (!isValidIndex(index))
        return false;
    // Only a slot that held an entity lowers the count, so the count stays
    // the number of occupied slots.
    if (mSlots[static_cast<size_t>(index)] != -1)
        --mCount;
    mSlots[static_cast<size_t>(index)] = -1;
    return true;
}

void EntityGrid::clampCoords(GridSlot& slot) const {
    slot.x = std::min(std::max(slot.x, 0), mWidth - 1);
    slot.y = std::min(std::max(slot.y, 0), mHeight - 1);
}

int32_t EntityGrid::zOrderForCoords(const GridSlot& slot) const {
    return ((mHeight - slot.y) * 5 + 5) * 2;
}

void EntityGrid::onEntityAdded(int32_t /*id*/, EntityGrid* /*source*/) {}

void EntityGrid::onEntityPlaced(int32_t /*id*/, const GridSlot& /*slot*/) {}

void EntityGrid::showSlotHighlight(int32_t /*id*/) {}

void EntityGrid::clearSlotHighlights(int32_t /*id*/) {}

bool EntityGrid::isFlagSet(int32_t bit) const {
    return bit >= 0 && bit < static_cast<int32_t>(mFlags.size()) &&
           mFlags[static_cast<size_t>(bit)];
}

void EntityGrid::setFlag(int32_t bit, bool on) {
    if (bit >= 0 && bit < static_cast<int32_t>(mFlags.size()))
        mFlags[static_cast<size_t>(bit)] = on;
}

std::string EntityGrid::getName() const {
    return mName;
}

GridSlot EntityGrid::coordsOfIndex(int32_t index) const {
    if (!isValidIndex(index) || mWidth <= 0)
        return GridSlot();
    return GridSlot(index % mWidth, index / mWidth);
}

int32_t EntityGrid::indexOfCoords(const GridSlot& slot) const {
    if (isFlagSet(cGridLinear))
        return slot.y;
    if (slot.x < 0 || slot.x >= mWidth || slot.y < 0 || slot.y >= mHeight)
        return -1;
    return slot.x + slot.y * mWidth;
}

Entity* EntityGrid::entityFor(int32_t id) const {
    return mGame != nullptr ? mGame->getEntity(id) : nullptr;
}

int32_t EntityGrid::firstFreeIndex() {
    if (!hasRoomFor(1))
        return -1;
    const auto found = std::find(mSlots.begin(), mSlots.end(), -1);
    if (found != mSlots.end())
        return static_cast<int32_t>(found - mSlots.begin());
    if (!isFlagSet(cGridLinear))
        return -1;
    mSlots.push_back(-1);
    return getSlotCount() - 1;
}

bool EntityGrid::storeAt(int32_t id, int32_t index) {
    if (!isValidIndex(index) || !hasRoomFor(1) || mSlots[static_cast<size_t>(index)] != -1)
        return false;
    Entity* entity = entityFor(id);
    if (entity == nullptr)
        return false;
    mSlots[static_cast<size_t>(index)] = id;
    ++mCount;
    entity->mGrid = this;
    entity->mSlot = coordsOfIndex(index);
    entity->refreshView();
    return true;
}

bool EntityGrid::isValidIndex(int32_t index) const {
    return index >= 0 && index < getSlotCount();
}
