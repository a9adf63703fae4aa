#include "rules/TileChest.h"

#include "rules/CocosTileChestLink.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/Player.h"

#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <new>

TileChest::TileChest(int32_t owner, Game* game) : EntityGrid(owner, game) {
    mGridType = cGridTileChest;
    mName = "\"Chest\"";
    setFlag(cGridLinear, true);
    setFlag(cGridHidden, true);
}

void TileChest::createLink() {
    mLink = new (std::nothrow) CocosTileChestLink(this);
}

void TileChest::onEntityAdded(int32_t id, EntityGrid* /*source*/) {
    Entity* entity = entityFor(id);
    if (entity != nullptr && entity->mState != cStateInTileChest)
        entity->changeState(cStateInTileChest);
    // A swap puts a tile back: the counter counts it too.
    if (auto* view = dynamic_cast<CocosTileChestLink*>(mLink))
        view->updateCountLabel();
}

void TileChest::onEntityRemoved(int32_t id, EntityGrid* target) {
    EntityGrid::onEntityRemoved(id, target);
    if (auto* view = dynamic_cast<CocosTileChestLink*>(mLink))
        view->updateCountLabel();
}

int32_t TileChest::takeTile(int32_t civId, int32_t type, const std::vector<int32_t>& excluded) {
    if (getEntityCount() == 0)
        return -1;
    for (int32_t index = getSlotCount() - 1; index >= 0; --index) {
        Entity* entity = getEntityAtIndex(index);
        const ProtoEntity* proto = entity != nullptr ? entity->getProto() : nullptr;
        if (proto == nullptr)
            continue;
        if (type != -1 && proto->mType != type)
            continue;
        if (std::find(excluded.begin(), excluded.end(), entity->mId) != excluded.end())
            continue;
        entity->applyCivVariant(civId);
        return entity->mId;
    }
    return -1;
}

const TileAllocation* TileChest::allocationFor(const TileChest& chest) {
    const Game* game = chest.getGame();
    if (game == nullptr)
        return nullptr;
    const SettingsManager& settings = SettingsManager::instance();
    if (game->mPuzzleIndex >= 0) {
        const ProtoPuzzle* puzzle = settings.getPuzzle(game->mPuzzleCategory, game->mPuzzleIndex);
        return puzzle != nullptr ? puzzle->mTileAllocation.get() : nullptr;
    }
    int32_t civId = 0;
    if (chest.getOwner() >= 0) {
        const Player* owner = game->getPlayer(chest.getOwner());
        if (owner == nullptr)
            return nullptr;
        civId = owner->mCivId;
    }
    const ProtoCiv* civ = settings.getCiv(civId);
    return civ != nullptr ? civ->mTileAllocation.get() : nullptr;
}

void TileChest::fill(TileChest* chest) {
    if (chest == nullptr || chest->getGame() == nullptr)
        return;
    const TileAllocation* allocation = allocationFor(*chest);
    if (allocation == nullptr)
        return;
    Game* game = chest->getGame();
    std::vector<const TileRecord*> records;
    for (auto entry = allocation->mEntries.rbegin(); entry != allocation->mEntries.rend();
         ++entry) {
        if (!TileAllocationEntry::expand(records, **entry))
            continue;
        for (const TileRecord* record : records) {
            const int32_t protoId = Database::getProtoIdByName(record->mName);
            for (int32_t copy = 0; copy < record->mCount; ++copy) {
                const int32_t id = game->createEntity(protoId, -1);
                Entity* entity = game->getEntity(id);
                if (entity == nullptr)
                    continue;
                entity->changeState(cStateInTileChest);
                chest->addEntity(id);
            }
        }
    }
    if (allocation->mRandomize)
        EntityGrid::shuffle(chest);
}
