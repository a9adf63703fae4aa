#include "rules/EntityGrid.h"

#include "rules/Entity.h"
#include "rules/Game.h"

#include "content/protos/ProtoEntity.h"

#include <cstdio>
#include <cstdlib>

int32_t EntityGrid::getEntityIdsInRange(std::vector<int32_t>& out, const GridSlot& centre,
                                        int32_t radius, bool diamond, const GridSlot& extent) {
    if (radius < 0)
        return 0;
    out.clear();
    const int32_t reachY = extent.y + radius;
    const int32_t reachX = extent.x + radius;
    for (int32_t dy = -reachY; dy <= reachY; ++dy) {
        for (int32_t dx = -reachX; dx <= reachX; ++dx) {
            if (diamond && std::abs(dx) + std::abs(dy) > radius)
                continue;
            const int32_t id = getEntityIdAt(GridSlot(centre.x + dx, centre.y + dy));
            if (id >= 0)
                out.push_back(id);
        }
    }
    return static_cast<int32_t>(out.size());
}

int32_t EntityGrid::getEntityIdsOnLine(std::vector<int32_t>& out, const GridSlot& from,
                                       const GridSlot& to, bool includeEnds) {
    out.clear();
    const int32_t dx = to.x - from.x;
    const int32_t dy = to.y - from.y;
    const bool reversed = dx < 0 || (dx == 0 && dy < 0);
    const GridSlot start = reversed ? to : from;
    const GridSlot end = reversed ? from : to;
    auto visit = [&](const GridSlot& cell) {
        if (!includeEnds && (cell == from || cell == to))
            return;
        const int32_t id = getEntityIdAt(cell);
        if (id >= 0)
            out.push_back(id);
    };
    if (dx == 0) {
        for (int32_t y = start.y; y <= end.y; ++y)
            visit(GridSlot(start.x, y));
    } else {
        // The row follows the slope one step at a time and never goes back.
        const float slope = static_cast<float>(dy) / static_cast<float>(dx);
        float error = 0.0f;
        int32_t y = start.y;
        for (int32_t x = start.x; x <= end.x; ++x) {
            visit(GridSlot(x, y));
            error += slope;
            if (error >= 0.5f) {
                error -= 1.0f;
                ++y;
            }
        }
    }
    return static_cast<int32_t>(out.size());
}

bool EntityGrid::countLiving(const EntityGrid* grid, int32_t player, int32_t* count) {
    if (grid == nullptr)
        return count != nullptr && *count > 0;
    for (int32_t i = 0; i < grid->getSlotCount(); ++i) {
        const Entity* entity = grid->getEntityAtIndex(i);
        if (entity == nullptr || !entity->isAlive())
            continue;
        if (player >= 0 && entity->mOwner != player)
            continue;
        const ProtoEntity* proto = entity->getProto();
        if (proto == nullptr || !proto->mKeepsPlayerInGame)
            continue;
        if (count == nullptr)
            return true;
        ++*count;
    }
    return count != nullptr && *count > 0;
}

void EntityGrid::shuffle(EntityGrid* grid) {
    if (grid == nullptr || grid->mGame == nullptr)
        return;
    RNG& rng = grid->mGame->mRng;
    for (int32_t i = grid->getSlotCount() - 1; i >= 0; --i) {
        const auto j = static_cast<int32_t>(rng.randInt(static_cast<uint32_t>(i)));
        grid->swapSlots(grid->coordsOfIndex(i), grid->coordsOfIndex(j));
    }
}

void EntityGrid::debugOutput() {
    std::printf("EntityGrid %s: debugOutput\n", mName.c_str());
    for (int32_t i = 0; i < getSlotCount(); ++i) {
        const int32_t id = mSlots[static_cast<size_t>(i)];
        if (id == -1) {
            std::printf("  (index %d is empty)\n", i);
            continue;
        }
        std::printf("  Entity %d (id: %d) proto: ", i, id);
        const Entity* entity = entityFor(id);
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (proto != nullptr)
            proto->dump();
        else
            std::printf("(none)\n");
    }
}
