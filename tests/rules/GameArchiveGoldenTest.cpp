// The saved-state archive byte for byte. A small game holding every saved
// class (the game, both players, entities in every kind of grid, an action
// with a record and a sub-action with its own, a taunt, a knock-out fade,
// the proto-name map) is saved through the blob, and the archive inside must
// equal bytes built here field by field from the format's field tables, each
// field labelled with its offset; those bytes then load into a fresh game
// that equals the first and saves back to the same bytes.
//
// The framing is boost's binary archive (library 1.74 conventions, little
// endian, 64-bit): the header is the signature string, the library version
// (2 bytes) and the sizes of int, long, float and double and an int 1;
// a string or collection count is 8 bytes; the first time a class is
// written its class information follows (a tracking byte and a 4-byte
// version), introduced through a pointer by its 2-byte class id; a tracked
// object (one of a class ever saved through a pointer) is given the next
// 4-byte object id; a pointer to an object already written is its class id
// and object id; a null pointer is class id -1; a vector of pointers or of
// records also carries a 4-byte item version after its count; vectors of
// ints are written as one block, vectors of bools one byte per bool.

#include "ExecuteTestSupport.h"
#include "GameArchiveTestSupport.h"

#include "rules/GameBoard.h"
#include "rules/Graveyard.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include <boost/archive/basic_archive.hpp>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

using archive_test::archiveOf;
using archive_test::describe;
using archive_test::load;

namespace {

// Bytes built field by field, each field's offset labelled.
class GoldenBytes {
public:
    // Labels the field that starts at the present offset.
    GoldenBytes& at(std::string label) {
        mLabels.emplace_back(mBytes.size(), std::move(label));
        return *this;
    }
    GoldenBytes& u8(uint8_t value) { return raw(&value, 1); }
    GoldenBytes& flag(bool value) { return u8(value ? 1 : 0); }
    GoldenBytes& i16(int16_t value) { return raw(&value, 2); }
    GoldenBytes& i32(int32_t value) { return raw(&value, 4); }
    GoldenBytes& u32(uint32_t value) { return raw(&value, 4); }
    GoldenBytes& u64(uint64_t value) { return raw(&value, 8); }
    GoldenBytes& f32(float value) { return raw(&value, 4); }
    GoldenBytes& text(const std::string& value) {
        u64(value.size());
        return raw(value.data(), value.size());
    }

    // Where an offset lies: the label of its field and the offset in it.
    std::string describeOffset(size_t offset) const {
        std::string label = "(before the first field)";
        size_t start = 0;
        for (const auto& [begin, name] : mLabels)
            if (begin <= offset) {
                label = name;
                start = begin;
            }
        return label + " at offset " + std::to_string(start) + " + " +
               std::to_string(offset - start);
    }

    std::vector<uint8_t> mBytes;

private:
    GoldenBytes& raw(const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        mBytes.insert(mBytes.end(), bytes, bytes + size);
        return *this;
    }

    std::vector<std::pair<size_t, std::string>> mLabels;
};

// Boost's framing on top of GoldenBytes: which classes have had their class
// information written and the next object id.
class GoldenArchive : public GoldenBytes {
public:
    static constexpr int16_t cNullPointer = -1;

    void header() {
        at("archive header").text("serialization::archive");
        i16(static_cast<int16_t>(boost::archive::BOOST_ARCHIVE_VERSION()));
        u8(sizeof(int)).u8(sizeof(long)).u8(sizeof(float)).u8(sizeof(double)).i32(1);
    }

    // The preamble of a tracked object written by value (the root game, a
    // grid's base part): class information the first time, then its id.
    uint32_t trackedObject(ArchiveClass archiveClass, uint32_t version) {
        if (mClassesWritten.insert(archiveClass).second)
            flag(true).u32(version);
        u32(mNextObjectId);
        return mNextObjectId++;
    }

    // A pointer to an object not written before: class id, class
    // information the first time, its id. The object's fields follow.
    uint32_t newObject(ArchiveClass archiveClass, uint32_t version) {
        i16(static_cast<int16_t>(archiveClass));
        if (mClassesWritten.insert(archiveClass).second)
            flag(true).u32(version);
        u32(mNextObjectId);
        return mNextObjectId++;
    }

    // A pointer to an object already written.
    void reference(ArchiveClass archiveClass, uint32_t objectId) {
        i16(static_cast<int16_t>(archiveClass)).u32(objectId);
    }

    void nullPointer() { i16(cNullPointer); }

    // An untracked class written by value: class information the first time
    // (version 0 for each of them).
    void untracked(const std::string& type) {
        if (mUntrackedWritten.insert(type).second)
            flag(false).u32(0);
    }

    // The start of a vector of pointers or of records.
    void vectorOf(const std::string& type, uint64_t count) {
        untracked("vector of " + type);
        u64(count).u32(0);
    }

    void ints(const std::vector<int32_t>& values) {
        u64(values.size());
        for (int32_t value : values)
            i32(value);
    }

    void bools(const std::vector<bool>& values) {
        u64(values.size());
        for (bool value : values)
            flag(value);
    }

    void slot(int32_t x, int32_t y) {
        untracked("GridSlot");
        i32(x).i32(y);
    }

private:
    std::set<int32_t> mClassesWritten;
    std::set<std::string> mUntrackedWritten;
    uint32_t mNextObjectId = 0;
};

// The archive inside a blob.
std::vector<uint8_t> inflateBlob(const std::vector<uint8_t>& blob) {
    uint32_t rawSize = 0;
    std::memcpy(&rawSize, blob.data() + 8, 4);
    std::vector<uint8_t> archive(rawSize);
    uLongf produced = rawSize;
    EXPECT_EQ(uncompress(archive.data(), &produced, blob.data() + 12, blob.size() - 12), Z_OK);
    return archive;
}

// The 624 state words MT19937 reaches after its first reload from a seed,
// from the standard library's engine (whose text form lists the last 624
// words produced).
std::vector<uint32_t> reloadedState(uint32_t seed) {
    std::mt19937 engine(seed);
    engine.discard(624);
    std::stringstream text;
    text << engine;
    std::vector<uint32_t> words(624);
    for (uint32_t& word : words)
        text >> word;
    return words;
}

// The fields of one grid after its preamble: the EntityGrid table, then
// the game board's proto index when given.
struct GridFields {
    int32_t gridType;
    int32_t owner;
    std::vector<int32_t> slots;
    int32_t count;
    int32_t width;
    int32_t height;
    std::vector<bool> flags;
};

} // namespace

class GameArchiveGoldenTest : public ActionsGameTest {
protected:
    GameArchiveGoldenTest() : ActionsGameTest(cExecuteFixture) {}

    void TearDown() override {
        for (Game* game : mGames)
            game->release();
        undoStack().clear();
        ActionsGameTest::TearDown();
    }

    Game* newGame() {
        mGames.push_back(new Game());
        return mGames.back();
    }

    Entity* make(Game* game, const char* name, int32_t owner, int32_t state) {
        Entity* made = game->getEntity(game->createEntity(proto(name), owner));
        EXPECT_NE(made, nullptr) << name;
        made->mState = state;
        return made;
    }

    static ActionResultInfo* record(CandidateAction* action, int32_t entityId) {
        action->mResults.push_back(new ActionResultInfo(entityId));
        return action->mResults.back();
    }

    // The small game: a shared chest, a 3 x 2 board, two players with
    // 2-slot racks and graveyards, player 1 with a chest of its own, seven
    // entities (on the board with equipment, equipped, knocked out, on a
    // rack, in each chest, dead in a graveyard), one attack with a record
    // and a sub-action, a taunt, a fade. Every field holds a value its
    // neighbours do not, so two fields written in each other's place show.
    Game* smallGame() {
        Game* game = newGame();
        game->mRng.seed(cSeed);
        for (int i = 0; i < 10; ++i)
            game->mRng.randInt();
        game->mTileChest = new TileChest(-1, game);
        game->mTileChest->setSize(1, 1);
        game->mGameBoard = new GameBoard(-1, game);
        game->mGameBoard->setSize(3, 2);
        game->mGameBoard->setProtoIndex(1);
        for (int32_t index = 0; index < 2; ++index) {
            auto* player = new Player(game, index);
            player->createGrids();
            player->mTileRack->setSize(2, 1);
            game->mPlayers.push_back(player);
        }
        Player* first = game->getPlayer(0);
        Player* second = game->getPlayer(1);
        second->mTileChest = new TileChest(1, game);
        second->mTileChest->setSize(1, 1);

        Entity* soldier = make(game, "soldier", 0, cStateDeployedToGameBoard);
        Entity* archer = make(game, "archer", 1, cStateKnockedOut);
        Entity* plate = make(game, "plate", 0, cStateEquipped);
        Entity* medic = make(game, "medic", 0, cStateOnTileRack);
        Entity* spare = make(game, "soldier", -1, cStateInTileChest);
        Entity* own = make(game, "archer", 1, cStateInTileChest);
        Entity* gust = make(game, "gust", 1, cStateDead);
        EXPECT_TRUE(game->mGameBoard->addEntityAt(soldier->mId, GridSlot(1, 0)));
        EXPECT_TRUE(game->mGameBoard->addEntityAt(archer->mId, GridSlot(2, 1)));
        EXPECT_TRUE(soldier->mInventory->addEntity(plate->mId));
        EXPECT_TRUE(first->mTileRack->addEntityAt(medic->mId, GridSlot(1, 0)));
        EXPECT_TRUE(game->mTileChest->addEntity(spare->mId));
        EXPECT_TRUE(second->mTileChest->addEntity(own->mId));
        EXPECT_TRUE(second->mGraveyard->addEntity(gust->mId));

        soldier->mMaxHealthBonus = 50;
        soldier->mHealth = 525;
        soldier->mShields = 10;
        soldier->mKnockedOutTurns = 2;
        soldier->mCharge = 3;
        soldier->mCreatorEntityID = 4;
        soldier->mLastGridChangeTurn = 5;
        soldier->mPuppetUpgradeLevel = 6;
        soldier->mOngoingTargetEntityID = archer->mId;
        archer->mHealth = 0;
        archer->mKnockedOutTurns = 1;

        first->mScore = 15;
        first->mActionPoints = 4;
        first->mArchiveValue = 7;
        first->mVictoryUnitIds = {soldier->mId, medic->mId};
        first->mCivId = 1;
        first->mCivAssigned = true;
        second->mScore = 35;
        second->mActionPoints = 2;
        second->mArchiveValue = 9;
        second->mLastTurn = true;
        second->mCivId = 0;
        second->mHasFinishedTurn = true;

        auto* attack = new CandidateAction(game, 2);
        game->mActions.push_back(attack);
        attack->mSourceEntity = soldier->mId;
        attack->mActionType = cActionAttack;
        attack->mSourceGrid = cGridGameBoard;
        attack->mSourceOwner = 0;
        attack->mSourceSlot = GridSlot(1, 0);
        attack->mTargetGrid = cGridTileRack;
        attack->mTargetOwner = 1;
        attack->mTargetSlot = GridSlot(2, 1);
        attack->mTargetEntity = archer->mId;
        attack->mInitialState = cStateDeployedToGameBoard;
        attack->mTargetInitialState = cStateMoving;
        attack->mInitialVictoryHealthFraction[0] = 0.75f;
        attack->mInitialVictoryHealthFraction[1] = 0.5f;
        attack->mFinalVictoryHealthFraction[0] = 0.25f;
        attack->mFinalVictoryHealthFraction[1] = 0.125f;
        attack->mInitialAssaultDebuff[0] = 11;
        attack->mInitialAssaultDebuff[1] = 12;
        attack->mFinalAssaultDebuff[0] = 13;
        attack->mFinalAssaultDebuff[1] = 14;
        attack->mLinkSourceEntity = soldier->mId;
        attack->mLinkTargetEntity = archer->mId;

        ActionResultInfo* hit = record(attack, archer->mId);
        hit->mInitialState = cStateDeployedToGameBoard;
        hit->mFinalState = cStateKnockedOut;
        hit->mHealthChange = -800;
        hit->mScore = 20;
        hit->mInitialHealthFraction = 1.0f;
        hit->mInitialSlot = GridSlot(2, 1);
        hit->mFinalSlot = GridSlot(2, 0);
        hit->mPower = 100;
        hit->mFinalHealthFraction = 0.5f;
        hit->mKilled = true;
        hit->mInitialAuraFlags[3] = true;
        hit->mFinalAuraFlags[19] = true;
        hit->mInitialUpgradeBase = 21;
        hit->mFinalUpgradeBase = 22;
        hit->mMaxHealthChanged = false;
        hit->mChainTarget = true;
        hit->mInitialFlags = {true, false};
        hit->mFinalFlags = {false, true};
        hit->mDestroyedGearProtoID = plate->mProtoId;
        hit->mInitialCharge = 23;
        hit->mFinalCharge = 24;
        hit->mEstablishedOngoingLink = true;
        hit->mBrokeOngoingLink = false;
        hit->mFinalOngoingTarget = soldier->mId;
        hit->mInitialPuppetUpgradeLevel = 25;
        hit->mFinalPuppetUpgradeLevel = 26;
        hit->mSpotted = false;
        hit->mBackstabbed = true;
        hit->mInitialOngoingTarget = medic->mId;
        hit->mEquippedGearProtoID = gust->mProtoId;

        auto* ongoing = new CandidateAction(game, 0);
        attack->mSubActions.push_back(ongoing);
        ongoing->mSourceEntity = soldier->mId;
        ongoing->mActionType = cActionHeal;
        ongoing->mSourceGrid = cGridGameBoard;
        ongoing->mSourceSlot = GridSlot(1, 0);
        ongoing->mTargetGrid = cGridGameBoard;
        ongoing->mTargetSlot = GridSlot(1, 1);
        ongoing->mIsSubAction = true;
        ActionResultInfo* heal = record(ongoing, soldier->mId);
        heal->mHealthChange = 25;
        heal->mInitialFlags.clear();
        heal->mFinalFlags.clear();

        game->mGameOver = true;
        game->mTurnCount = 6;
        game->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{soldier->mId, 32}));
        game->mKnockOutFades.push_back(
            std::make_unique<KnockOutFadeInfo>(KnockOutFadeInfo{archer->mId, GridSlot(2, 1)}));
        for (const char* name : {"soldier", "archer", "plate", "medic", "gust"})
            game->mProtoNames[proto(name)] = name;
        return game;
    }

    static constexpr uint32_t cSeed = 20240611;
    std::vector<Game*> mGames;
};

TEST_F(GameArchiveGoldenTest, TheArchiveHoldsTheFieldsInTheirTableOrderByteForByte) {
    Game* game = smallGame();
    const int32_t soldier = proto("soldier");
    const int32_t archer = proto("archer");
    const int32_t plate = proto("plate");
    const int32_t medic = proto("medic");
    const int32_t gust = proto("gust");
    // Health travels as a fraction of the maximum: 525 of 1000 + 50.
    ASSERT_EQ(game->getEntity(0)->getMaxHealth(), 1050);

    GoldenArchive g;
    g.header();
    g.at("Game preamble");
    const uint32_t gameId = g.trackedObject(cArchiveGame, 10);

    // A grid behind its pointer's preamble: the EntityGrid fields, for a
    // subclass as its base part; then the board's proto index.
    const auto grid = [&](const std::string& name, const GridFields& f, bool subclass,
                          std::optional<int32_t> protoIndex) {
        if (subclass) {
            g.at(name + " EntityGrid base");
            g.trackedObject(cArchiveEntityGrid, 1);
        }
        g.at(name + " 1 mGridType").i32(f.gridType);
        g.at(name + " 2 owner").i32(f.owner);
        g.at(name + " 3 game");
        g.reference(cArchiveGame, gameId);
        g.at(name + " 4 slots");
        g.ints(f.slots);
        g.at(name + " 5 count").i32(f.count);
        g.at(name + " 6 width").i32(f.width);
        g.at(name + " 7 height").i32(f.height);
        g.at(name + " 8 flags");
        g.bools(f.flags);
        if (protoIndex)
            g.at(name + " protoIndex").i32(*protoIndex);
    };
    const std::vector<bool> listFlags = {true, true};
    const std::vector<bool> plainFlags = {false, false};

    g.at("Game 1 mTileChest");
    const uint32_t chestId = g.newObject(cArchiveTileChest, 0);
    grid("shared chest", {cGridTileChest, -1, {4}, 1, 1, 1, listFlags}, true, std::nullopt);
    g.at("Game 2 mGameBoard");
    const uint32_t boardId = g.newObject(cArchiveGameBoard, 1);
    grid("board", {cGridGameBoard, -1, {-1, 0, -1, -1, -1, 1}, 2, 3, 2, plainFlags}, true, 1);

    g.at("Game 3 mPlayers");
    g.vectorOf("Player*", 2);
    struct PlayerFields {
        int32_t score, actionPoints, archiveValue;
        bool lastTurn;
        std::vector<int32_t> victoryUnits;
        int32_t civId;
        bool civAssigned;
        std::vector<int32_t> rackSlots, graveyardSlots, chestSlots;
        bool finished;
    };
    const PlayerFields players[] = {
        {15, 4, 7, false, {0, 3}, 1, true, {-1, 3}, {-1}, {}, false},
        {35, 2, 9, true, {}, 0, false, {-1, -1}, {6}, {5}, true},
    };
    uint32_t rackIds[2] = {};
    uint32_t graveyardIds[2] = {};
    uint32_t ownChestId = 0;
    for (int32_t index = 0; index < 2; ++index) {
        const PlayerFields& p = players[index];
        const std::string name = "Player " + std::to_string(index);
        const auto occupied = [](const std::vector<int32_t>& slots) {
            return static_cast<int32_t>(
                std::count_if(slots.begin(), slots.end(), [](int32_t id) { return id != -1; }));
        };
        g.at(name + " preamble");
        g.newObject(cArchivePlayer, 8);
        g.at(name + " 1 mGame");
        g.reference(cArchiveGame, gameId);
        g.at(name + " 2 mIndex").i32(index);
        g.at(name + " 3 mScore").i32(p.score);
        g.at(name + " 4 mTileRack");
        rackIds[index] = g.newObject(cArchiveTileRack, 1);
        grid(name + " rack",
             {cGridTileRack, index, p.rackSlots, occupied(p.rackSlots), 2, 1, plainFlags}, true,
             std::nullopt);
        g.at(name + " 5 mActionPoints").i32(p.actionPoints);
        g.at(name + " 6 mGraveyard");
        graveyardIds[index] = g.newObject(cArchiveGraveyard, 1);
        grid(name + " graveyard",
             {cGridGraveyard, index, p.graveyardSlots, occupied(p.graveyardSlots), 1, 1, listFlags},
             true, std::nullopt);
        g.at(name + " 7 archive-only i32").i32(p.archiveValue);
        g.at(name + " 8 mLastTurn").flag(p.lastTurn);
        g.at(name + " 9 mVictoryUnitIds");
        g.ints(p.victoryUnits);
        g.at(name + " 10 mCivId").i32(p.civId);
        g.at(name + " 11 mCivAssigned").flag(p.civAssigned);
        g.at(name + " 12 mTileChest");
        if (p.chestSlots.empty()) {
            g.nullPointer();
        } else {
            ownChestId = g.newObject(cArchiveTileChest, 0);
            grid(name + " chest", {cGridTileChest, index, p.chestSlots, 1, 1, 1, listFlags}, true,
                 std::nullopt);
        }
        g.at(name + " 13 mHasFinishedTurn").flag(p.finished);
    }

    g.at("Game 4 mEntities");
    g.vectorOf("Entity*", 7);
    struct EntityFields {
        int32_t protoId, owner, state, shields;
        ArchiveClass gridClass;
        uint32_t gridId;
        int32_t x, y;
        std::vector<int32_t> items;
        int32_t knockedOutTurns, charge, creator, lastGridChange, bonus, upgrade, ongoing;
        float fraction;
    };
    const std::vector<int32_t> noItems(20, -1);
    std::vector<int32_t> plateCarried = noItems;
    plateCarried[0] = 2;
    // The id of the equipment grid of entity 0, which holds entity 2.
    uint32_t soldierItemsId = 0;
    const EntityFields entities[] = {
        {soldier, 0, cStateDeployedToGameBoard, 10, cArchiveGameBoard, boardId, 1, 0, plateCarried,
         2, 3, 4, 5, 50, 6, 1, 0.5f},
        {archer, 1, cStateKnockedOut, 0, cArchiveGameBoard, boardId, 2, 1, noItems, 1, 0, -1, -1, 0,
         0, -1, 0.0f},
        {plate, 0, cStateEquipped, 0, cArchiveEntityGrid, 0, 0, 0, noItems, 0, 0, -1, -1, 0, 0, -1,
         0.0f},
        {medic, 0, cStateOnTileRack, 0, cArchiveTileRack, rackIds[0], 1, 0, noItems, 0, 0, -1, -1,
         0, 0, -1, 1.0f},
        {soldier, -1, cStateInTileChest, 0, cArchiveTileChest, chestId, 0, 0, noItems, 0, 0, -1, -1,
         0, 0, -1, 1.0f},
        {archer, 1, cStateInTileChest, 0, cArchiveTileChest, ownChestId, 0, 0, noItems, 0, 0, -1,
         -1, 0, 0, -1, 1.0f},
        {gust, 1, cStateDead, 0, cArchiveGraveyard, graveyardIds[1], 0, 0, noItems, 0, 0, -1, -1, 0,
         0, -1, 0.0f},
    };
    for (int32_t id = 0; id < 7; ++id) {
        const EntityFields& e = entities[id];
        const std::string name = "Entity " + std::to_string(id);
        g.at(name + " preamble");
        g.newObject(cArchiveEntity, 10);
        g.at(name + " 1 mGame");
        g.reference(cArchiveGame, gameId);
        g.at(name + " 2 mId").i32(id);
        g.at(name + " 3 mProtoId").i32(e.protoId);
        g.at(name + " 4 mOwner").i32(e.owner);
        g.at(name + " 5 mState").i32(e.state);
        g.at(name + " 7 mShields").i32(e.shields);
        g.at(name + " 8 mGrid");
        g.reference(e.gridClass, e.gridClass == cArchiveEntityGrid ? soldierItemsId : e.gridId);
        g.at(name + " 9 mSlot");
        g.slot(e.x, e.y);
        g.at(name + " 10 mInventory");
        const uint32_t itemsId = g.newObject(cArchiveEntityGrid, 1);
        if (id == 0)
            soldierItemsId = itemsId;
        grid(name + " equipment",
             {-1, e.owner, e.items, id == 0 ? 1 : 0, Entity::cInventoryWidth, 1, plainFlags}, false,
             std::nullopt);
        g.at(name + " 11 mKnockedOutTurns").i32(e.knockedOutTurns);
        g.at(name + " 12 mCharge").i32(e.charge);
        g.at(name + " 13 mCreatorEntityID").i32(e.creator);
        g.at(name + " 14 archive-only i32").i32(e.lastGridChange);
        g.at(name + " 15 mMaxHealthBonus").i32(e.bonus);
        g.at(name + " 16 mPuppetUpgradeLevel").i32(e.upgrade);
        g.at(name + " 17 mOngoingTargetEntityID").i32(e.ongoing);
        g.at(name + " 18 health fraction").f32(e.fraction);
    }

    g.at("Game 5 mRng");
    g.untracked("RNG");
    g.at("RNG mtState").u64(625);
    for (uint32_t word : reloadedState(cSeed))
        g.u32(word);
    g.at("RNG words left").u32(624 - 10);
    g.at("Game 6 mGameOver").flag(true);
    g.at("Game 7 mTurnCount").i32(6);

    // One action: the fields of its table, its records and sub-actions.
    struct ActionFields {
        int32_t source, type, sourceGrid, sourceOwner, sourceX, sourceY;
        int32_t targetGrid, targetOwner, targetX, targetY, target, initialState, targetState;
        float victory[4];
        int32_t debuff[4];
        int32_t linkSource, linkTarget;
        bool subAction;
        int32_t cost;
    };
    const auto result = [&](const std::string& name, const ActionResultInfo& r) {
        g.at(name + " preamble");
        g.newObject(cArchiveActionResultInfo, 21);
        g.at(name + " 1 mEntityID").i32(r.mEntityID);
        g.at(name + " 2 mInitialState").i32(r.mInitialState);
        g.at(name + " 3 mFinalState").i32(r.mFinalState);
        g.at(name + " 4 mHealthChange").i32(r.mHealthChange);
        g.at(name + " 5 mScore").i32(r.mScore);
        g.at(name + " 6 mInitialHealthFraction").f32(r.mInitialHealthFraction);
        g.at(name + " 7 mInitialSlot");
        g.slot(r.mInitialSlot.x, r.mInitialSlot.y);
        g.at(name + " 8 mFinalSlot");
        g.slot(r.mFinalSlot.x, r.mFinalSlot.y);
        g.at(name + " 9 mPower").i32(r.mPower);
        g.at(name + " 10 mFinalHealthFraction").f32(r.mFinalHealthFraction);
        g.at(name + " 11 mKilled").flag(r.mKilled);
        g.at(name + " 12 mInitialAuraFlags");
        g.bools(r.mInitialAuraFlags);
        g.at(name + " 13 mFinalAuraFlags");
        g.bools(r.mFinalAuraFlags);
        g.at(name + " 14 mInitialUpgradeBase").i32(r.mInitialUpgradeBase);
        g.at(name + " 15 mFinalUpgradeBase").i32(r.mFinalUpgradeBase);
        g.at(name + " 16 mMaxHealthChanged").flag(r.mMaxHealthChanged);
        g.at(name + " 17 mChainTarget").flag(r.mChainTarget);
        g.at(name + " 18 mInitialFlags");
        g.bools(r.mInitialFlags);
        g.at(name + " 19 mFinalFlags");
        g.bools(r.mFinalFlags);
        g.at(name + " 20 mDestroyedGearProtoID").i32(r.mDestroyedGearProtoID);
        g.at(name + " 21 mInitialCharge").i32(r.mInitialCharge);
        g.at(name + " 22 mFinalCharge").i32(r.mFinalCharge);
        g.at(name + " 23 mEstablishedOngoingLink").flag(r.mEstablishedOngoingLink);
        g.at(name + " 24 mBrokeOngoingLink").flag(r.mBrokeOngoingLink);
        g.at(name + " 25 mFinalOngoingTarget").i32(r.mFinalOngoingTarget);
        g.at(name + " 26 mInitialPuppetUpgradeLevel").i32(r.mInitialPuppetUpgradeLevel);
        g.at(name + " 27 mFinalPuppetUpgradeLevel").i32(r.mFinalPuppetUpgradeLevel);
        g.at(name + " 28 mSpotted").flag(r.mSpotted);
        g.at(name + " 29 mBackstabbed").flag(r.mBackstabbed);
        g.at(name + " 30 mInitialOngoingTarget").i32(r.mInitialOngoingTarget);
        g.at(name + " 31 mEquippedGearProtoID").i32(r.mEquippedGearProtoID);
    };
    const auto action = [&](const std::string& name, const ActionFields& a,
                            const ActionResultInfo& record) {
        g.at(name + " preamble");
        g.newObject(cArchiveCandidateAction, 5);
        g.at(name + " 1 mGame");
        g.reference(cArchiveGame, gameId);
        g.at(name + " 2 mSourceEntity").i32(a.source);
        g.at(name + " 3 mActionType").i32(a.type);
        g.at(name + " 4 mSourceGrid").i32(a.sourceGrid);
        g.at(name + " 5 mSourceOwner").i32(a.sourceOwner);
        g.at(name + " 6 mSourceSlot");
        g.slot(a.sourceX, a.sourceY);
        g.at(name + " 7 mTargetGrid").i32(a.targetGrid);
        g.at(name + " 8 mTargetOwner").i32(a.targetOwner);
        g.at(name + " 9 mTargetSlot");
        g.slot(a.targetX, a.targetY);
        g.at(name + " 10 mTargetEntity").i32(a.target);
        g.at(name + " 11 mInitialState").i32(a.initialState);
        g.at(name + " 12 mTargetInitialState").i32(a.targetState);
        g.at(name + " 13 mResults");
        g.vectorOf("ActionResultInfo*", 1);
        result(name + " record", record);
        g.at(name + " 14-17 victory health fractions");
        for (float fraction : a.victory)
            g.f32(fraction);
        g.at(name + " 18-21 assault debuffs");
        for (int32_t debuff : a.debuff)
            g.i32(debuff);
        g.at(name + " 22 mLinkSourceEntity").i32(a.linkSource);
        g.at(name + " 23 mLinkTargetEntity").i32(a.linkTarget);
    };

    // The records' values are those the game holds; their order is the table's.
    const CandidateAction& attack = *game->mActions[0];
    const ActionResultInfo& hit = *attack.mResults[0];
    const ActionResultInfo& heal = *attack.mSubActions[0]->mResults[0];
    ASSERT_EQ(hit.mInitialAuraFlags.size(), 20u);
    ASSERT_TRUE(heal.mInitialFlags.empty());

    g.at("Game 8 mActions");
    g.vectorOf("CandidateAction*", 1);
    action("Action",
           {0,
            cActionAttack,
            cGridGameBoard,
            0,
            1,
            0,
            cGridTileRack,
            1,
            2,
            1,
            1,
            cStateDeployedToGameBoard,
            cStateMoving,
            {0.75f, 0.5f, 0.25f, 0.125f},
            {11, 12, 13, 14},
            0,
            1,
            false,
            2},
           hit);
    g.at("Action 24 mSubActions");
    g.vectorOf("CandidateAction*", 1);
    action("Sub-action",
           {0,
            cActionHeal,
            cGridGameBoard,
            -1,
            1,
            0,
            cGridGameBoard,
            -1,
            1,
            1,
            -1,
            -1,
            -1,
            {-1.0f, -1.0f, -1.0f, -1.0f},
            {-1, -1, -1, -1},
            -1,
            -1,
            true,
            0},
           heal);
    g.at("Sub-action 24 mSubActions");
    g.vectorOf("CandidateAction*", 0);
    g.at("Sub-action 25 mIsSubAction").flag(true);
    g.at("Sub-action 26 mActionPointCost").i32(0);
    g.at("Action 25 mIsSubAction").flag(false);
    g.at("Action 26 mActionPointCost").i32(2);

    g.at("Game 9 mTaunts");
    g.vectorOf("TauntInfo*", 1);
    g.at("Taunt preamble");
    g.newObject(cArchiveTauntInfo, 0);
    g.at("Taunt entity id").i32(0);
    g.at("Taunt mAnimType").i32(32);
    g.at("Game 11 mKnockOutFades");
    g.vectorOf("KnockOutFadeInfo*", 1);
    g.at("Fade preamble");
    g.newObject(cArchiveKnockOutFadeInfo, 0);
    g.at("Fade entity id").i32(1);
    g.at("Fade slot");
    g.slot(2, 1);
    g.at("Game 12 mProtoNames");
    g.untracked("map of proto names");
    g.u64(5).u32(0);
    std::map<int32_t, std::string> names = {{soldier, "soldier"},
                                            {archer, "archer"},
                                            {plate, "plate"},
                                            {medic, "medic"},
                                            {gust, "gust"}};
    for (const auto& [id, protoName] : names) {
        g.at("proto name " + protoName);
        g.untracked("proto name pair");
        g.i32(id).text(protoName);
    }
    g.at("(end of the archive)");

    // Saved through the blob, the archive is those bytes.
    const std::vector<uint8_t> archive = inflateBlob(game->saveToBuffer());
    const std::vector<uint8_t>& expected = g.mBytes;
    const size_t common = std::min(archive.size(), expected.size());
    size_t differ = 0;
    while (differ < common && archive[differ] == expected[differ])
        ++differ;
    EXPECT_EQ(archive.size(), expected.size());
    EXPECT_EQ(differ, std::max(archive.size(), expected.size()))
        << "first difference: " << g.describeOffset(differ);

    // The bytes load into a fresh game equal to the saved one, which saves
    // them back unchanged.
    Game* loaded = newGame();
    ASSERT_TRUE(load(*loaded, expected));
    EXPECT_EQ(describe(*loaded), describe(*game));
    EXPECT_EQ(loaded->getEntity(0)->mHealth, 525);
    EXPECT_EQ(loaded->mActions[0]->mSubActions[0]->mResults[0]->mHealthChange, 25);
    EXPECT_EQ(archiveOf(*loaded), expected);
}
