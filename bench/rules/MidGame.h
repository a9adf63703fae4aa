#pragma once

// The game the rules benchmarks run on, set up once from the shipped content:
// a 9 x 5 board, humans against orcs, both sides with units out, a
// knocked-out unit, gear carried, six tiles in player 0's rack, local and at
// player 0's turn.

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

// One piece put on the board.
struct MidGamePiece {
    const char* name;
    int32_t owner;
    int32_t x;
    int32_t y;
    int32_t state;
};

// Built once by midGame(); the benchmarks share it.
class MidGame {
public:
    MidGame() {
        if (registeredOptionCount() != cRegisteredOptionCount)
            fail("options not registered");
        setBaseFolder(TARNWICK_SOURCE_DIR);
        if (!Database::init() || !SettingsManager::instance().init())
            fail("the shipped content does not load");
        mGame = new Game();
        if (!mGame->init(11))
            fail("no game");
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        const MidGamePiece pieces[] = {
            {"knight", 0, 2, 1, cStateDeployedToGameBoard},
            {"archer", 0, 1, 2, cStateDeployedToGameBoard},
            {"cleric", 0, 2, 3, cStateDeployedToGameBoard},
            {"wizard", 0, 3, 2, cStateDeployedToGameBoard},
            {"knight", 0, 0, 4, cStateKnockedOut},
            {"warrior", 1, 4, 1, cStateDeployedToGameBoard},
            {"axethrower", 1, 6, 2, cStateDeployedToGameBoard},
            {"witch", 1, 5, 3, cStateDeployedToGameBoard},
            {"grenadier", 1, 7, 0, cStateDeployedToGameBoard},
            {"warrior", 1, 3, 4, cStateKnockedOut},
        };
        for (const MidGamePiece& piece : pieces) {
            Entity* unit = make(piece.name, piece.owner);
            if (!mGame->mGameBoard->addEntityAt(unit->mId, GridSlot(piece.x, piece.y)))
                fail(piece.name);
            unit->mState = piece.state;
            unit->mHealth = unit->mHealth * 3 / 5 / 5 * 5;
        }
        Entity* knight = mGame->getEntity(mGame->mGameBoard->getEntityIdAt(GridSlot(2, 1)));
        Entity* sword = make("weapon", 0);
        knight->mInventory->addEntity(sword->mId);
        sword->mState = cStateEquipped;
        const char* rackTiles[] = {"knight", "archer", "weapon", "armor", "inspiration", "cleric"};
        EntityGrid* rack = mGame->getGrid(cGridTileRack, 0);
        for (const char* name : rackTiles) {
            Entity* tile = make(name, 0);
            if (!rack->addEntity(tile->mId))
                fail(name);
            tile->mState = cStateOnTileRack;
            mRackTiles.push_back(tile);
        }
        for (int32_t i = 0; i < mGame->mGameBoard->getSlotCount(); ++i) {
            Entity* unit = mGame->mGameBoard->getEntityAtIndex(i);
            if (unit != nullptr && unit->mOwner == 0)
                mUnits.push_back(unit);
        }
    }

    Entity* make(const char* name, int32_t owner) {
        Entity* made =
            mGame->getEntity(mGame->createEntity(Database::getProtoIdByName(name), owner));
        if (made == nullptr)
            fail(name);
        return made;
    }

    [[noreturn]] static void fail(const char* what) {
        std::fprintf(stderr, "bench set-up failed: %s\n", what);
        std::exit(1);
    }

    Game* mGame = nullptr;
    std::vector<Entity*> mRackTiles;
    std::vector<Entity*> mUnits;
};

inline MidGame& midGame() {
    static MidGame game;
    return game;
}
