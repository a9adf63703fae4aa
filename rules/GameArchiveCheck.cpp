#include "rules/GameArchiveCheck.h"

#include "rules/core/EntityState.h"

#include <algorithm>

namespace {

[[noreturn]] void inconsistent(const char* what) {
    throw ArchiveRefusal(what);
}

bool isGridClass(ArchiveClass kind) {
    return kind == cArchiveEntityGrid || kind == cArchiveGameBoard || kind == cArchiveTileChest ||
           kind == cArchiveTileRack || kind == cArchiveGraveyard;
}

// The grid type each grid class carries.
int32_t gridTypeOf(ArchiveClass kind) {
    switch (kind) {
    case cArchiveTileChest:
        return cGridTileChest;
    case cArchiveTileRack:
        return cGridTileRack;
    case cArchiveGameBoard:
        return cGridGameBoard;
    case cArchiveGraveyard:
        return cGridGraveyard;
    default:
        return -1;
    }
}

// The slot that holds an entity.
struct Placement {
    const EntityGrid* grid = nullptr;
    GridSlot slot;
};

// Walks the game's tree of owned objects, claiming each; checks the values
// of each object on the way.
class Checker {
public:
    Checker(const GameIArchive& ar, Game& root)
        : mRoot(root), mKinds(keptTables().kinds), mPlaced(keptTables().placed) {
        // A hash table by address, at most half full; each object is created once.
        size_t size = 16;
        while (size < 2 * ar.getCreated().size())
            size *= 2;
        mKinds.assign(size, Created{nullptr, cArchiveGame, false});
        for (const auto& [object, kind] : ar.getCreated()) {
            size_t slot = slotOf(object);
            while (mKinds[slot].object != nullptr)
                slot = (slot + 1) & (mKinds.size() - 1);
            mKinds[slot] = {object, kind, false};
        }
        mCreatedCount = ar.getCreated().size();
        mEntityCount = static_cast<int64_t>(root.mEntities.size());
        mPlaced.assign(root.mEntities.size(), Placement());
    }

    void run() {
        claimGrid(mRoot.mTileChest, cArchiveTileChest, true);
        claimGrid(mRoot.mGameBoard, cArchiveGameBoard, false);
        if (mRoot.mPlayers.size() != 2)
            inconsistent("a game has two players");
        for (size_t index = 0; index < mRoot.mPlayers.size(); ++index)
            checkPlayer(mRoot.mPlayers[index], static_cast<int32_t>(index));
        for (size_t index = 0; index < mRoot.mEntities.size(); ++index)
            checkEntity(mRoot.mEntities[index], static_cast<int32_t>(index));
        // Every grid is claimed by now, equipment grids included.
        for (size_t index = 0; index < mRoot.mEntities.size(); ++index)
            checkPlacement(*mRoot.mEntities[index], mPlaced[index]);
        for (CandidateAction* action : mRoot.mActions)
            checkAction(action, false);
        for (const auto& taunt : mRoot.mTaunts) {
            claim(taunt.get(), cArchiveTauntInfo);
            checkId(taunt->mEntityId, "taunt entity");
        }
        for (const auto& fade : mRoot.mKnockOutFades) {
            claim(fade.get(), cArchiveKnockOutFadeInfo);
            checkId(fade->mEntityId, "fade entity");
        }
        // What no one owns (a second game among them) was never meant to be read.
        if (mClaimedCount != mCreatedCount)
            inconsistent("object owned by nothing");
    }

    ~Checker() {
        // Tables of a huge game are given back rather than kept.
        constexpr size_t cKeptEntries = 1u << 16;
        if (mKinds.capacity() > cKeptEntries)
            std::vector<Created>().swap(mKinds);
        if (mPlaced.capacity() > cKeptEntries)
            std::vector<Placement>().swap(mPlaced);
    }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

private:
    // An object the read created, and whether the tree owns it yet.
    struct Created {
        const void* object;
        ArchiveClass kind;
        bool claimed;
    };
    // The tables' storage, kept from check to check on a thread.
    struct Tables {
        std::vector<Created> kinds;
        std::vector<Placement> placed;
    };
    static Tables& keptTables() {
        thread_local Tables tables;
        return tables;
    }

    size_t slotOf(const void* object) const { return addressHash(object, 0) & (mKinds.size() - 1); }

    // The record of an object the read created; null for any other address.
    Created* find(const void* object) {
        for (size_t slot = slotOf(object); mKinds[slot].object != nullptr;
             slot = (slot + 1) & (mKinds.size() - 1))
            if (mKinds[slot].object == object)
                return &mKinds[slot];
        return nullptr;
    }

    // Takes ownership of an object of that class; it must exist and be
    // unowned so far.
    void claim(const void* object, ArchiveClass kind) {
        Created* found = object != nullptr ? find(object) : nullptr;
        if (found == nullptr || found->kind != kind)
            inconsistent("pointer to an object of another class");
        if (found->claimed)
            inconsistent("object owned twice");
        found->claimed = true;
        ++mClaimedCount;
    }

    // -1 or an entity's id.
    void checkId(int32_t id, const char* what) const {
        if (id != -1 && (id < 0 || id >= mEntityCount))
            inconsistent(what);
    }

    static void checkRange(int32_t value, int32_t low, int32_t high, const char* what) {
        if (value < low || value > high)
            inconsistent(what);
    }

    static void checkValue(int32_t value, const char* what) {
        checkRange(value, -GameArchiveCheck::cMaxValue, GameArchiveCheck::cMaxValue, what);
    }

    void checkBackReference(const Game* game) const {
        if (game != &mRoot)
            inconsistent("reference to another game");
    }

    void claimGrid(EntityGrid* grid, ArchiveClass kind, bool optional) {
        if (grid == nullptr && optional)
            return;
        claim(grid, kind);
        checkBackReference(grid->getGame());
        checkRange(grid->getOwner(), -1, 1, "grid owner");
        if (grid->getGridType() != gridTypeOf(kind))
            inconsistent("grid type");
        const auto slotCount = static_cast<int64_t>(grid->getSlots().size());
        if (grid->isFlagSet(cGridLinear)) {
            if (slotCount < 1)
                inconsistent("linear grid without slots");
        } else if (grid->getWidth() < 0 || grid->getHeight() < 0 ||
                   static_cast<int64_t>(grid->getWidth()) * grid->getHeight() != slotCount) {
            inconsistent("grid size");
        }
        int64_t occupied = 0;
        const std::vector<int32_t>& slots = grid->getSlots();
        for (size_t index = 0; index < slots.size(); ++index) {
            const int32_t id = slots[index];
            checkId(id, "grid slot");
            if (id == -1)
                continue;
            ++occupied;
            // An entity lies in one slot of one grid at most.
            Placement& placement = mPlaced[static_cast<size_t>(id)];
            if (placement.grid != nullptr)
                inconsistent("entity in two slots");
            placement = {grid, grid->coordsOfIndex(static_cast<int32_t>(index))};
        }
        if (occupied != grid->getEntityCount())
            inconsistent("grid count");
    }

    void checkPlayer(Player* player, int32_t index) {
        claim(player, cArchivePlayer);
        checkBackReference(player->mGame);
        if (player->mIndex != index)
            inconsistent("player index");
        checkValue(player->mScore, "player score");
        checkValue(player->mActionPoints, "player action points");
        claimGrid(player->mTileRack, cArchiveTileRack, true);
        claimGrid(player->mGraveyard, cArchiveGraveyard, true);
        claimGrid(player->mTileChest, cArchiveTileChest, true);
        for (int32_t id : player->mVictoryUnitIds)
            if (id < 0 || id >= mEntityCount)
                inconsistent("victory unit");
    }

    void checkEntity(Entity* entity, int32_t index) {
        claim(entity, cArchiveEntity);
        checkBackReference(entity->mGame);
        if (entity->mId != index)
            inconsistent("entity id");
        checkRange(entity->mOwner, -1, 1, "entity owner");
        checkRange(entity->mState, -1, cEntityStateCount - 1, "entity state");
        checkRange(entity->mHealth, 0, GameArchiveCheck::cMaxValue, "entity health");
        checkValue(entity->mMaxHealthBonus, "entity health bonus");
        checkId(entity->mCreatorEntityID, "creator entity");
        checkId(entity->mOngoingTargetEntityID, "ongoing target");
        // The grid an entity lies in is owned elsewhere in the tree (the end
        // of run finds one that is not).
        if (entity->mGrid != nullptr) {
            const Created* found = find(entity->mGrid);
            if (found == nullptr || !isGridClass(found->kind))
                inconsistent("entity grid");
        }
        claimGrid(entity->mInventory, cArchiveEntityGrid, true);
        if (entity->mInventory != nullptr &&
            entity->mInventory->getSlotCount() > Entity::cInventoryWidth)
            inconsistent("equipment grid size");
    }

    // The entity and the slot that holds it agree on grid and square. An
    // entity no slot holds is dead or has no state yet; it may still name
    // the grid it was removed from, as removal leaves that record.
    static void checkPlacement(const Entity& entity, const Placement& placement) {
        if (placement.grid == nullptr) {
            if (entity.mState != cStateDead && entity.mState != -1)
                inconsistent("placed entity in no slot");
            return;
        }
        if (entity.mGrid != placement.grid || entity.mSlot != placement.slot)
            inconsistent("entity and slot disagree");
    }

    void checkAction(CandidateAction* action, bool subAction) {
        if (action == nullptr && subAction)
            return;
        claim(action, cArchiveCandidateAction);
        checkBackReference(action->mGame);
        checkId(action->mSourceEntity, "action source");
        checkId(action->mTargetEntity, "action target");
        checkId(action->mLinkSourceEntity, "link source");
        checkId(action->mLinkTargetEntity, "link target");
        checkRange(action->mActionType, -1, cActionTypeCount - 1, "action type");
        checkRange(action->mSourceGrid, -1, cGridGraveyard, "action source grid");
        checkRange(action->mTargetGrid, -1, cGridGraveyard, "action target grid");
        checkRange(action->mSourceOwner, -1, 1, "action source owner");
        checkRange(action->mTargetOwner, -1, 1, "action target owner");
        checkRange(action->mInitialState, -1, cEntityStateCount - 1, "action state");
        checkRange(action->mTargetInitialState, -1, cEntityStateCount - 1, "action state");
        checkValue(action->mActionPointCost, "action cost");
        for (ActionResultInfo* result : action->mResults) {
            claim(result, cArchiveActionResultInfo);
            checkId(result->mEntityID, "result entity");
            checkRange(result->mInitialState, -1, cEntityStateCount - 1, "result state");
            checkRange(result->mFinalState, -1, cEntityStateCount - 1, "result state");
        }
        for (CandidateAction* sub : action->mSubActions)
            checkAction(sub, true);
    }

    Game& mRoot;
    std::vector<Created>& mKinds;
    size_t mCreatedCount = 0;
    size_t mClaimedCount = 0;
    int64_t mEntityCount = 0;
    // The grid and square of each entity's slot; no grid when none holds it.
    std::vector<Placement>& mPlaced;
};

// The grid part of an object the read made; null for other classes.
EntityGrid* gridPart(void* object, ArchiveClass kind) {
    switch (kind) {
    case cArchiveEntityGrid:
        return static_cast<EntityGrid*>(object);
    case cArchiveGameBoard:
        return static_cast<GameBoard*>(object);
    case cArchiveTileChest:
        return static_cast<TileChest*>(object);
    case cArchiveTileRack:
        return static_cast<TileRack*>(object);
    case cArchiveGraveyard:
        return static_cast<Graveyard*>(object);
    default:
        return nullptr;
    }
}

// Empties the owning fields and back-references of an object the read
// made (grids are emptied beforehand), then frees it.
void freeCreated(void* object, ArchiveClass kind) {
    switch (kind) {
    case cArchiveGame:
        static_cast<Game*>(object)->release();
        break;
    case cArchivePlayer: {
        auto* player = static_cast<Player*>(object);
        player->mGame = nullptr;
        player->mTileRack = nullptr;
        player->mGraveyard = nullptr;
        player->mTileChest = nullptr;
        delete player;
        break;
    }
    case cArchiveEntity: {
        auto* entity = static_cast<Entity*>(object);
        entity->mGame = nullptr;
        entity->mGrid = nullptr;
        entity->mInventory = nullptr;
        entity->release();
        break;
    }
    case cArchiveEntityGrid:
        delete static_cast<EntityGrid*>(object);
        break;
    case cArchiveGameBoard:
        delete static_cast<GameBoard*>(object);
        break;
    case cArchiveTileChest:
        delete static_cast<TileChest*>(object);
        break;
    case cArchiveTileRack:
        delete static_cast<TileRack*>(object);
        break;
    case cArchiveGraveyard:
        delete static_cast<Graveyard*>(object);
        break;
    case cArchiveCandidateAction: {
        auto* action = static_cast<CandidateAction*>(object);
        action->mGame = nullptr;
        action->mResults.clear();
        action->mSubActions.clear();
        action->release();
        break;
    }
    case cArchiveActionResultInfo:
        delete static_cast<ActionResultInfo*>(object);
        break;
    case cArchiveTauntInfo:
        delete static_cast<TauntInfo*>(object);
        break;
    case cArchiveKnockOutFadeInfo:
        delete static_cast<KnockOutFadeInfo*>(object);
        break;
    case cArchiveClassCount:
        break;
    }
}

// Forgets, without freeing, what the game's owning fields hold.
void releaseOwned(Game& game) {
    game.mTileChest = nullptr;
    game.mGameBoard = nullptr;
    game.mPlayers.clear();
    game.mEntities.clear();
    game.mActions.clear();
    for (auto& taunt : game.mTaunts)
        static_cast<void>(taunt.release());
    game.mTaunts.clear();
    for (auto& fade : game.mKnockOutFades)
        static_cast<void>(fade.release());
    game.mKnockOutFades.clear();
}

void adoptAction(CandidateAction* action, Game& game) {
    if (action == nullptr)
        return;
    action->mGame = &game;
    for (CandidateAction* sub : action->mSubActions)
        adoptAction(sub, game);
}

} // namespace

void GameArchiveCheck::validate(const GameIArchive& ar, Game& root) {
    Checker(ar, root).run();
}

void GameArchiveCheck::discard(const std::vector<std::pair<void*, ArchiveClass>>& created,
                               Game& root) {
    releaseOwned(root);
    // Owning fields first, so no destructor reaches another object.
    for (const auto& [object, kind] : created) {
        if (kind == cArchiveGame)
            releaseOwned(*static_cast<Game*>(object));
        // A grid's destructor reaches the entities of its slots through its game.
        if (EntityGrid* grid = gridPart(object, kind)) {
            grid->mGame = nullptr;
            grid->mSlots.clear();
            grid->mCount = 0;
        }
    }
    for (const auto& [object, kind] : created)
        freeCreated(object, kind);
}

void GameArchiveCheck::adopt(Game& game) {
    const auto adoptGrid = [](EntityGrid* grid, Game& owner) {
        if (grid != nullptr)
            grid->mGame = &owner;
    };
    adoptGrid(game.mTileChest, game);
    adoptGrid(game.mGameBoard, game);
    for (Player* player : game.mPlayers) {
        player->mGame = &game;
        adoptGrid(player->mTileRack, game);
        adoptGrid(player->mGraveyard, game);
        adoptGrid(player->mTileChest, game);
    }
    for (Entity* entity : game.mEntities) {
        entity->mGame = &game;
        adoptGrid(entity->mInventory, game);
    }
    for (CandidateAction* action : game.mActions)
        adoptAction(action, game);
}
