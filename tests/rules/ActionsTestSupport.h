#pragma once

// A real game for the drop and targeting tests: the content of
// tests/fixtures/rules/actions (a 7 x 5 board with a crystal per side in the
// middle row, deploy zones in columns 0-1 and 5-6, Teleporters at (2, 0)
// and (4, 4), a distinct cost per action type) loaded as start-up loads it,
// and a game set up from a fixed seed, local, at player 0's turn. Helpers
// put pieces on the board, the racks and into equipment directly.

#include "../content/protos/ProtoTestSupport.h"

#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"

#include "content/RegisteredOptions.h"
#include "content/settings/SettingsManager.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"

#include <array>
#include <string>
#include <utility>

inline const std::string cActionsFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/actions";

class ActionsGameTest : public ::testing::Test {
protected:
    // The game of another fixture folder holding the same five files.
    explicit ActionsGameTest(std::string fixture = cActionsFixture)
        : mFixture(std::move(fixture)) {}

    void SetUp() override {
        // Links the option registrations into the test program.
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        setBaseFolder(mFixture);
        const char* names[] = {"database", "settings", "gameboards", "civs", "PlayerColors"};
        for (size_t i = 0; i < mCrcs.size(); ++i)
            mCrcs[i] = {names[i], fileCrc(mFixture + "/data/" + names[i] + ".xml")};
        setDataFileCrcTable(mCrcs);
        ASSERT_TRUE(Database::init());
        ASSERT_TRUE(SettingsManager::instance().init());
        mGame = new Game();
        ASSERT_TRUE(mGame->init(7));
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
    }
    void TearDown() override {
        if (mGame != nullptr)
            mGame->release();
        SettingsManager::instance().clear();
        Database::clear();
        setDataFileCrcTable({});
        setBaseFolder({});
        if (cocos2d::CCDirector::hasSharedDirector())
            cocos2d::CCDirector::sharedDirector()->purgeDirector();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }

    GameBoard* board() const { return mGame->mGameBoard; }
    EntityGrid* rack(int32_t player = 0) const { return mGame->getGrid(cGridTileRack, player); }
    Entity* entity(int32_t id) const { return mGame->getEntity(id); }
    // The piece on a board square; null when empty.
    Entity* at(int32_t x, int32_t y) const {
        return mGame->getEntity(board()->getEntityIdAt(GridSlot(x, y)));
    }

    static int32_t proto(const char* name) { return Database::getProtoIdByName(name); }

    // A new piece on the board square, in that state.
    Entity* unit(const char* name, int32_t owner, int32_t x, int32_t y,
                 int32_t state = cStateDeployedToGameBoard) {
        Entity* made = entity(mGame->createEntity(proto(name), owner));
        EXPECT_NE(made, nullptr) << name;
        if (made == nullptr)
            return nullptr;
        EXPECT_TRUE(board()->addEntityAt(made->mId, GridSlot(x, y))) << name;
        made->mState = state;
        return made;
    }
    // A new tile on the owner's rack square.
    Entity* tile(const char* name, int32_t owner, int32_t x) {
        Entity* made = entity(mGame->createEntity(proto(name), owner));
        EXPECT_NE(made, nullptr) << name;
        if (made == nullptr)
            return nullptr;
        EXPECT_TRUE(rack(owner)->addEntityAt(made->mId, GridSlot(x, 0))) << name;
        made->mState = cStateOnTileRack;
        return made;
    }
    // A new item of that proto in the unit's equipment, Equipped.
    Entity* carry(Entity* unit, const char* name) {
        Entity* item = entity(mGame->createEntity(proto(name), unit->mOwner));
        EXPECT_TRUE(unit->mInventory->addEntity(item->mId)) << name;
        item->mState = cStateEquipped;
        return item;
    }

    std::string mFixture;
    Game* mGame = nullptr;
    std::array<DataFileCrc, 5> mCrcs;
};
