// The saved-state archive and the game-state blob: a game a few actions into
// a turn survives a save and a load whole; the blob's envelope; older class
// versions, written by the archive writer at those versions; the fix-up of
// proto ids; and archives that must be refused without a change to the game.

#include "ExecuteTestSupport.h"
#include "GameArchiveTestSupport.h"

#include "rules/GameArchiveCheck.h"
#include "rules/GameRecord.h"

#include "content/settings/PremiumTileInfo.h"
#include "content/settings/ProtoGameBoard.h"
#include "content/settings/ProtoPremiumTile.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

using archive_test::archiveOf;
using archive_test::describe;
using archive_test::load;
using archive_test::nextDraws;

namespace {

// Reaches a grid's protected fields to make inconsistent grids.
struct GridAccess : EntityGrid {
    using EntityGrid::mCount;
    using EntityGrid::mGridType;
    using EntityGrid::mOwner;
    using EntityGrid::mSlots;
    using EntityGrid::mWidth;
};

template <class Field> Field& field(EntityGrid* grid, Field EntityGrid::*member) {
    return grid->*member;
}

// The position of pattern in bytes; fails the test when it is absent.
size_t find(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& pattern) {
    const auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    EXPECT_NE(found, bytes.end());
    return static_cast<size_t>(found - bytes.begin());
}

void putWord64(std::vector<uint8_t>& bytes, size_t at, uint64_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

} // namespace

class GameArchiveTest : public ExecuteTest {
protected:
    void TearDown() override {
        for (Game* game : mGames)
            game->release();
        undoStack().clear();
        ExecuteTest::TearDown();
    }

    Game* freshGame() {
        mGames.push_back(new Game());
        return mGames.back();
    }

    // Records an action of the test in the game's turn.
    CandidateAction* record(CandidateAction* action) {
        action->retain();
        mGame->mActions.push_back(action);
        return action;
    }

    // A game a few actions into a turn on the premium board: a deploy, a
    // move onto a teleporter, an attack, a heal, an equip, a power with
    // knockback, an ongoing link with its sub-action; a unit above its
    // maximum health, a knocked-out one, gear carried, taunts, knock-out
    // fades and a few values of every player.
    void playSomeActions() {
        board()->setProtoIndex(cPremiumBoard);
        gCurrentGame = mGame;
        BannerScene scene;
        Entity* runner = unit("soldier", 0, 1, 1);
        Entity* hurt = unit("soldier", 0, 1, 2);
        Entity* medic = unit("medic", 0, 0, 3);
        Entity* tether = unit("tether", 0, 1, 4);
        unit("soldier", 1, 2, 1);
        unit("soldier", 1, 3, 4);
        unit("soldier", 1, 4, 2);
        Entity* downed = unit("archer", 1, 5, 0, cStateKnockedOut);
        downed->mHealth = 0;
        Entity* fresh = tile("soldier", 0, 3);
        Entity* plate = tile("plate", 0, 0);
        Entity* gust = tile("gust", 0, 1);
        hurt->setHealth(600);
        record(run(cActionAttack, runner, GridSlot(2, 1)));
        record(run(cActionDeploy, fresh, GridSlot(0, 0)));
        record(run(cActionMove, runner, GridSlot(2, 0)));
        record(run(cActionHeal, medic, GridSlot(1, 2)));
        record(run(cActionEquip, plate, GridSlot(1, 2)));
        record(run(cActionAttack, tether, GridSlot(3, 4)));
        record(run(cActionCastPower, gust, GridSlot(4, 2)));
        mGame->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{runner->mId, 32}));
        mGame->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{medic->mId, 31}));
        mGame->mKnockOutFades.push_back(
            std::make_unique<KnockOutFadeInfo>(KnockOutFadeInfo{downed->mId, GridSlot(5, 0)}));
        mGame->mTurnCount = 3;
        player(0)->mArchiveValue = 7;
        player(1)->mLastTurn = true;
        player(1)->mScore = 35;
        player(0)->mCivAssigned = true;
        player(0)->mHasFinishedTurn = true;
        runner->mLastGridChangeTurn = 3;
        tether->mMaxHealthBonus = 50;
        tether->mPuppetUpgradeLevel = 2;
        tether->mShields = 10;
        mGame->mCurrentPlayer = -1;
    }

    std::vector<Game*> mGames;
};

TEST_F(GameArchiveTest, AGamePlayedForAFewActionsLoadsIntoAFreshGameUnchanged) {
    playSomeActions();
    ASSERT_GE(mGame->mActions.size(), 7u);
    ASSERT_FALSE(mGame->mActions.back()->mSubActions.empty());
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    ASSERT_FALSE(mGame->mProtoNames.empty());

    Game* loaded = freshGame();
    ASSERT_TRUE(load(*loaded, blob));
    // Players, grids, entities (health above the maximum included),
    // actions with their records and sub-actions, taunts, fades, the
    // proto-name map; every back-reference points at the loaded game.
    EXPECT_EQ(describe(*loaded), describe(*mGame));
    EXPECT_EQ(nextDraws(loaded->mRng), nextDraws(mGame->mRng));
    EXPECT_EQ(loaded->mGameID, 42);
    EXPECT_EQ(loaded->mActions[0]->mPlaybackState, cPlaybackConstructed);
    EXPECT_EQ(loaded->saveToBuffer(), blob);
}

TEST_F(GameArchiveTest, TheBlobIsTheHeaderThenTheCompressedArchive) {
    playSomeActions();
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    const std::vector<uint8_t> archive = archiveOf(*mGame);
    ASSERT_GT(blob.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(blob.begin(), blob.begin() + 8),
              (std::vector<uint8_t>{0xC0, 0xBA, 0xFE, 0xCA, 0, 0, 0, 0}));
    uint32_t rawSize = 0;
    std::memcpy(&rawSize, blob.data() + 8, 4);
    ASSERT_EQ(rawSize, archive.size());
    std::vector<uint8_t> inflated(rawSize);
    uLongf produced = rawSize;
    ASSERT_EQ(uncompress(inflated.data(), &produced, blob.data() + 12, blob.size() - 12), Z_OK);
    EXPECT_EQ(inflated, archive);

    // Any version word is read; a bare archive too.
    std::vector<uint8_t> versioned = blob;
    versioned[4] = 0x78;
    versioned[7] = 0x12;
    Game* fromVersioned = freshGame();
    EXPECT_TRUE(load(*fromVersioned, versioned));
    Game* fromBare = freshGame();
    EXPECT_TRUE(load(*fromBare, archive));
    EXPECT_EQ(describe(*fromBare), describe(*fromVersioned));
}

TEST_F(GameArchiveTest, ShortDamagedOrOversizedBlobsAreRefusedAndTheGameKeepsItsState) {
    playSomeActions();
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    Game* target = freshGame();
    ASSERT_TRUE(load(*target, blob));
    const std::string before = describe(*target);

    EXPECT_FALSE(target->loadFromBuffer(nullptr, 100, 7, true));
    const auto withRawSize = [&](uint32_t size) {
        std::vector<uint8_t> patched = blob;
        std::memcpy(patched.data() + 8, &size, 4);
        return patched;
    };
    uint32_t rawSize = 0;
    std::memcpy(&rawSize, blob.data() + 8, 4);
    const std::vector<uint8_t> archive = archiveOf(*mGame);
    const std::vector<std::vector<uint8_t>> refused = {
        {},
        std::vector<uint8_t>(blob.begin(), blob.begin() + 1),
        std::vector<uint8_t>(blob.begin(), blob.begin() + 11),
        std::vector<uint8_t>(blob.begin(), blob.begin() + 12),
        std::vector<uint8_t>(blob.begin(), blob.end() - 1),
        std::vector<uint8_t>(blob.begin(), blob.begin() + blob.size() / 2),
        withRawSize(rawSize + 1),
        withRawSize(rawSize - 1),
        withRawSize((64u << 20) + 1),
        withRawSize(0xFFFFFFFFu),
        // An archive cut short, read bare.
        std::vector<uint8_t>(archive.begin(), archive.begin() + 200),
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_FALSE(target->loadFromBuffer(refused[i].data(),
                                            static_cast<int32_t>(refused[i].size()), 7, true))
            << "case " << i;
        EXPECT_EQ(describe(*target), before) << "case " << i;
        EXPECT_EQ(target->mGameID, 42) << "case " << i;
    }
    EXPECT_EQ(undoStack().size(), 0u);
}

TEST_F(GameArchiveTest, ALoadWithASnapshotLeavesOnlyThatBlobOnTheUndoStack) {
    playSomeActions();
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    undoStack().push_back(std::make_unique<GameSnapshot>(GameSnapshot{{1, 2, 3}}));
    Game* target = freshGame();
    ASSERT_TRUE(load(*target, blob, false));
    EXPECT_EQ(undoStack().size(), 1u);
    ASSERT_TRUE(load(*target, blob, true));
    ASSERT_EQ(undoStack().size(), 1u);
    EXPECT_EQ(undoStack()[0]->mBuffer, blob);
    target->clearUndoStack();
    EXPECT_TRUE(undoStack().empty());
}

TEST_F(GameArchiveTest, OnLoadedFliesTheOpeningRackInOnceAndAwardsTheTurnStartScore) {
    FakeGamesList list;
    GameRecord& record = list.addRecord(42, 0, 0);
    record.mTurnCount = 1;
    // "Score" squares worth 5 at (2, 3) and (3, 4); a unit on the
    // ScoreMultiplier square (1, 4) doubles them.
    board()->setProtoIndex(cPremiumBoard);
    auto kind = std::make_unique<ProtoPremiumTile>();
    kind->mType = cPremiumScore;
    kind->mAmount = 5;
    SettingsManager::instance().mPremiumTiles.push_back(std::move(kind));
    for (const GridSlot square : {GridSlot(2, 3), GridSlot(3, 4)}) {
        auto entry = std::make_unique<PremiumTileEntry>();
        entry->mType = cPremiumScore;
        entry->mX = square.x;
        entry->mY = square.y;
        board()->getProtoGameBoard()->mPremiumTiles->mEntries.push_back(std::move(entry));
    }
    const int32_t second = unit("soldier", 0, 3, 4)->mId;
    const int32_t first = unit("soldier", 0, 2, 3)->mId;
    unit("soldier", 0, 1, 4);
    unit("soldier", 1, 4, 4);
    unit("soldier", 0, 0, 0, cStateKnockedOut);
    const std::vector<int32_t> rackIds = {tile("soldier", 0, 0)->mId, tile("plate", 0, 2)->mId};
    player(0)->mScore = 10;
    const std::vector<uint8_t> blob = mGame->saveToBuffer();

    Game* opened = freshGame();
    opened->mCurrentPlayer = 0;
    opened->mFlownRackTileIds = {rackIds[1]};
    ASSERT_TRUE(load(*opened, blob));
    EXPECT_EQ(opened->mNewRackTileIds, std::vector<int32_t>{rackIds[0]});
    EXPECT_EQ(opened->getPlayer(0)->mScore, 30);
    ASSERT_EQ(opened->mScoreFlyouts.size(), 2u);
    EXPECT_EQ(opened->mScoreFlyouts[0]->mEntityId, second);
    EXPECT_EQ(opened->mScoreFlyouts[0]->mPoints, 10);
    EXPECT_FLOAT_EQ(opened->mScoreFlyouts[1]->mScale, 1.15f);
    EXPECT_EQ(opened->mScoreFlyouts[1]->mEntityId, first);

    // From the second turn on nothing flies in; the other player scores nothing.
    record.mTurnCount = 2;
    Game* later = freshGame();
    later->mCurrentPlayer = 1;
    ASSERT_TRUE(load(*later, blob));
    EXPECT_TRUE(later->mNewRackTileIds.empty());
    EXPECT_EQ(later->getPlayer(0)->mScore, 10);
    EXPECT_EQ(later->getPlayer(1)->mScore, 0);
}

// A class version above the program's own fails the load.
TEST_F(GameArchiveTest, AClassVersionAboveOursIsRefused) {
    playSomeActions();
    for (const ArchiveClass archiveClass :
         {cArchiveGame, cArchiveEntity, cArchivePlayer, cArchiveCandidateAction,
          cArchiveActionResultInfo, cArchiveTileRack, cArchiveTileChest, cArchiveTauntInfo}) {
        Game* target = freshGame();
        EXPECT_FALSE(load(*target, archiveOf(*mGame, {{archiveClass, 30}})))
            << "class " << archiveClass;
        EXPECT_TRUE(target->mPlayers.empty());
    }
}

TEST_F(GameArchiveTest, AGameOfVersion7SkipsItsExtraListAndKeepsTheFadesAndNamesItHad) {
    playSomeActions();
    mGame->saveToBuffer();
    Game* target = freshGame();
    target->mProtoNames = {{0, "kept"}};
    ASSERT_TRUE(load(*target, archiveOf(*mGame, {{cArchiveGame, 7}})));
    EXPECT_EQ(target->mTaunts.size(), 2u);
    EXPECT_TRUE(target->mKnockOutFades.empty());
    EXPECT_EQ(target->mProtoNames, (std::map<int32_t, std::string>{{0, "kept"}}));
    EXPECT_EQ(target->mTurnCount, 3);
    // The fix-up still restores health from the fractions.
    EXPECT_EQ(target->getEntity(2)->mHealth, mGame->getEntity(2)->mHealth);

    // Versions below 4 carry neither the turn count nor the actions.
    Game* older = freshGame();
    older->mTurnCount = 9;
    ASSERT_TRUE(load(*older, archiveOf(*mGame, {{cArchiveGame, 3}})));
    EXPECT_EQ(older->mTurnCount, 9);
    EXPECT_TRUE(older->mActions.empty());
    EXPECT_TRUE(older->mTaunts.empty());
}

TEST_F(GameArchiveTest, OlderPlayersEntitiesAndRacksGetTheirDefaults) {
    playSomeActions();
    player(0)->mCivId = 1;
    player(0)->mCivAssigned = false;
    Entity* odd = mGame->getEntity(4);
    odd->mHealth = 345;
    odd->mShields = 10;
    odd->mOngoingTargetEntityID = 2;
    Game* target = freshGame();
    ASSERT_TRUE(load(*target, archiveOf(*mGame, {{cArchivePlayer, 4},
                                                 {cArchiveEntity, 6},
                                                 {cArchiveTileRack, 0},
                                                 {cArchiveGraveyard, 0}})));
    const Player* first = target->getPlayer(0);
    EXPECT_EQ(first->mCivId, 0);
    EXPECT_TRUE(first->mCivAssigned);
    EXPECT_EQ(first->mTileChest, nullptr);
    EXPECT_FALSE(first->mHasFinishedTurn);
    EXPECT_EQ(first->mVictoryUnitIds, player(0)->mVictoryUnitIds);
    EXPECT_EQ(first->mTileRack->getSlots(), player(0)->mTileRack->getSlots());
    // Version 6 carries the health itself, not a fraction; no shields, no
    // ongoing target, no puppet level.
    const Entity* loaded = target->getEntity(4);
    EXPECT_EQ(loaded->mHealth, 345);
    EXPECT_EQ(loaded->mSavedHealthFraction, -1.0f);
    EXPECT_EQ(loaded->mShields, 0);
    EXPECT_EQ(loaded->mOngoingTargetEntityID, -1);
    EXPECT_EQ(loaded->mMaxHealthBonus, odd->mMaxHealthBonus);
}

TEST_F(GameArchiveTest, OlderResultRecordsGetTheirDefaults) {
    playSomeActions();
    ActionResultInfo* source = mGame->mActions[0]->mResults[0];
    struct Case {
        unsigned version;
        float initialFraction;
        int32_t healthChange;
        float expectedFraction;
        int32_t expectedChange;
    };
    const Case cases[] = {
        {1, 85.0f, -1, -1.0f, 0}, // no initial fraction yet
        {2, 85.0f, -1, 0.85f, 0}, // a percentage
        {5, 0.5f, -1, 0.5f, 0},     {6, 1.5f, -1, 0.015f, -1}, {20, 1.5f, -20, 0.015f, -20},
        {21, 1.1f, -20, 1.1f, -20}, // a current record above the maximum is kept
    };
    source->mInitialState = cStateKnockedOut;
    source->mFinalState = cStateDead;
    source->mKilled = false;
    source->mInitialUpgradeBase = 2;
    source->mFinalUpgradeBase = 3;
    source->mInitialFlags = {true, false};
    source->mFinalFlags = {false, true};
    source->mInitialPuppetUpgradeLevel = 5;
    source->mSpotted = true;
    for (const Case& c : cases) {
        source->mInitialHealthFraction = c.initialFraction;
        source->mHealthChange = c.healthChange;
        Game* target = freshGame();
        ASSERT_TRUE(load(*target, archiveOf(*mGame, {{cArchiveActionResultInfo, c.version}})))
            << c.version;
        const ActionResultInfo* read = target->mActions[0]->mResults[0];
        EXPECT_FLOAT_EQ(read->mInitialHealthFraction, c.expectedFraction) << c.version;
        EXPECT_EQ(read->mHealthChange, c.expectedChange) << c.version;
        // Killed is derived below version 7, stored from 7.
        EXPECT_EQ(read->mKilled, c.version < 7) << c.version;
        EXPECT_EQ(read->mInitialAuraFlags.size(), 20u) << c.version;
        EXPECT_EQ(read->mInitialFlags.size(), 2u) << c.version;
        EXPECT_EQ(read->mSpotted, c.version >= 18) << c.version;
        if (c.version < 3) {
            EXPECT_EQ(read->mFinalSlot, GridSlot()) << c.version;
        }
    }

    // Below 17 the puppet levels come from the bases and the bloodrage bit.
    Game* target = freshGame();
    ASSERT_TRUE(load(*target, archiveOf(*mGame, {{cArchiveActionResultInfo, 16}})));
    const ActionResultInfo* read = target->mActions[0]->mResults[0];
    EXPECT_EQ(read->mInitialPuppetUpgradeLevel, 1);
    EXPECT_EQ(read->mFinalPuppetUpgradeLevel, 3);
    EXPECT_EQ(read->mFinalFlags, (std::vector<bool>{false, true}));
    EXPECT_EQ(read->mEquippedGearProtoID, -1);
}

// Inconsistent games written as they are: the load fails and the game it
// was read into keeps its state.
TEST_F(GameArchiveTest, InconsistentArchivesAreRefused) {
    playSomeActions();
    Game* other = freshGame();
    Player* p0 = player(0);
    Player* p1 = player(1);
    Entity* unit = mGame->getEntity(3);
    Entity* second = mGame->getEntity(4);
    EntityGrid* rack = p0->mTileRack;
    using Restore = std::function<void()>;
    struct Case {
        const char* name;
        std::function<Restore()> corrupt;
    };
    const auto setValue = [](auto& value, auto bad) -> Restore {
        const auto kept = value;
        value = bad;
        return [&value, kept] { value = kept; };
    };
    const Case cases[] = {
        {"one rack shared by both players", [&] { return setValue(p1->mTileRack, p0->mTileRack); }},
        {"equipment grid shared", [&] { return setValue(second->mInventory, unit->mInventory); }},
        {"entity id not its index", [&] { return setValue(unit->mId, 4); }},
        {"entity owner", [&] { return setValue(unit->mOwner, 2); }},
        {"entity state", [&] { return setValue(unit->mState, cEntityStateCount); }},
        {"health bonus", [&] { return setValue(unit->mMaxHealthBonus, 1 << 30); }},
        {"health far above the maximum", [&] { return setValue(unit->mHealth, 30000000); }},
        {"creator", [&] { return setValue(unit->mCreatorEntityID, 500); }},
        {"player index", [&] { return setValue(p1->mIndex, 0); }},
        {"score", [&] { return setValue(p1->mScore, -(1 << 30)); }},
        {"players",
         [&] {
             mGame->mPlayers.pop_back();
             return [&] { mGame->mPlayers.push_back(p1); };
         }},
        {"victory unit",
         [&] {
             p0->mVictoryUnitIds.push_back(999);
             return [&] { p0->mVictoryUnitIds.pop_back(); };
         }},
        {"a second game", [&] { return setValue(p0->mGame, other); }},
        {"grid slot", [&] { return setValue(field(rack, &GridAccess::mSlots)[1], 999); }},
        {"entity in two slots",
         [&] {
             const Restore slot = setValue(field(rack, &GridAccess::mSlots)[1], unit->mId);
             const Restore count = setValue(field(rack, &GridAccess::mCount), 1);
             return [slot, count] {
                 slot();
                 count();
             };
         }},
        {"equipment grid size",
         [&] {
             unit->mInventory->setSize(Entity::cInventoryWidth + 1, 1);
             return [unit] { unit->mInventory->setSize(Entity::cInventoryWidth, 1); };
         }},
        {"grid count", [&] { return setValue(field(rack, &GridAccess::mCount), 5); }},
        {"entity names another square", [&] { return setValue(unit->mSlot, GridSlot(6, 4)); }},
        {"entity names another grid", [&] { return setValue(unit->mGrid, p1->mTileRack); }},
        {"chest tile in no slot",
         [&] {
             // The tile keeps its state and its record of the chest.
             EntityGrid* chest = mGame->mTileChest;
             EXPECT_EQ(mGame->getEntity(chest->getEntityIdAtIndex(0))->mState, cStateInTileChest);
             const Restore slot = setValue(field(chest, &GridAccess::mSlots)[0], -1);
             const Restore count =
                 setValue(field(chest, &GridAccess::mCount), chest->getEntityCount() - 1);
             return [slot, count] {
                 slot();
                 count();
             };
         }},
        {"grid size", [&] { return setValue(field(board(), &GridAccess::mWidth), 6); }},
        {"grid type", [&] { return setValue(field(rack, &GridAccess::mGridType), 2); }},
        {"grid owner", [&] { return setValue(field(rack, &GridAccess::mOwner), 3); }},
        {"linear grid without slots",
         [&] {
             EntityGrid* graveyard = p0->mGraveyard;
             std::vector<int32_t> kept = graveyard->getSlots();
             field(graveyard, &GridAccess::mSlots).clear();
             field(graveyard, &GridAccess::mCount) = 0;
             return [graveyard, kept] {
                 field(graveyard, &GridAccess::mSlots) = kept;
                 field(graveyard, &GridAccess::mCount) = static_cast<int32_t>(
                     std::count_if(kept.begin(), kept.end(), [](int32_t id) { return id != -1; }));
             };
         }},
        {"action owns itself",
         [&] {
             CandidateAction* action = mGame->mActions[0];
             action->mSubActions.push_back(action);
             return [action] { action->mSubActions.pop_back(); };
         }},
        {"action result missing",
         [&] {
             CandidateAction* action = mGame->mActions[0];
             action->mResults.push_back(nullptr);
             return [action] { action->mResults.pop_back(); };
         }},
        {"sub-actions too deep",
         [&] {
             auto* top = new CandidateAction(mGame, 0);
             CandidateAction* last = top;
             for (int i = 0; i < GameIArchive::cMaxActionDepth + 2; ++i) {
                 last->mSubActions.push_back(new CandidateAction(mGame, 0));
                 last = last->mSubActions.back();
             }
             mGame->mActions.push_back(top);
             return [&, top] {
                 mGame->mActions.pop_back();
                 top->release();
             };
         }},
        {"taunt", [&] { return setValue(mGame->mTaunts[0]->mEntityId, 77); }},
        {"action type", [&] { return setValue(mGame->mActions[1]->mActionType, 11); }},
    };
    const std::vector<uint8_t> good = mGame->saveToBuffer();
    Game* target = freshGame();
    ASSERT_TRUE(load(*target, good));
    const std::string before = describe(*target);
    for (const Case& c : cases) {
        const Restore restore = c.corrupt();
        const std::vector<uint8_t> bytes = archiveOf(*mGame);
        restore();
        EXPECT_FALSE(load(*target, bytes)) << c.name;
        EXPECT_EQ(describe(*target), before) << c.name;
    }
    // The game written back as it was loads again.
    EXPECT_TRUE(load(*target, archiveOf(*mGame)));
}

// Counts and bytes patched into an archive: refused before anything is
// allocated for them.
TEST_F(GameArchiveTest, ImpossibleCountsAndBoolsAreRefused) {
    playSomeActions();
    player(1)->mVictoryUnitIds = {0x0A0B0C01, 0x0A0B0C02, 0x0A0B0C03};
    mGame->mTurnCount = 0x5A5A5A5A;
    mGame->saveToBuffer();
    const std::vector<uint8_t> archive = archiveOf(*mGame);
    Game* target = freshGame();

    std::vector<uint8_t> longName = archive;
    const std::string name = "TrainHazard";
    std::vector<uint8_t> pattern = {11, 0, 0, 0, 0, 0, 0, 0};
    pattern.insert(pattern.end(), name.begin(), name.end());
    putWord64(longName, find(archive, pattern), uint64_t{1} << 40);
    EXPECT_FALSE(load(*target, longName));

    // The victory ids' count sits before the list (with its item version).
    std::vector<uint8_t> longList = archive;
    const size_t ids = find(archive, {0x01, 0x0C, 0x0B, 0x0A, 0x02, 0x0C, 0x0B, 0x0A});
    size_t countAt = 0;
    for (size_t back : {8u, 12u}) {
        uint64_t value = 0;
        std::memcpy(&value, archive.data() + ids - back, sizeof value);
        if (value == 3)
            countAt = ids - back;
    }
    ASSERT_NE(countAt, 0u);
    putWord64(longList, countAt, uint64_t{1} << 36);
    EXPECT_FALSE(load(*target, longList));

    // The game-over flag comes right before the turn count.
    std::vector<uint8_t> badBool = archive;
    badBool[find(archive, {0x5A, 0x5A, 0x5A, 0x5A}) - 1] = 2;
    EXPECT_FALSE(load(*target, badBool));
    EXPECT_TRUE(target->mPlayers.empty());
}

// After the header (the signature's length and text, the library version,
// four type sizes and a word) comes the game's class preamble: its
// tracking flag first.
TEST_F(GameArchiveTest, ATrackingFlagOtherThanZeroOrOneIsRefused) {
    const std::vector<uint8_t> archive = archiveOf(*mGame);
    const size_t flagAt = 8 + std::strlen("serialization::archive") + 2 + 4 + 4;
    ASSERT_EQ(archive.at(flagAt), 1);
    Game* target = freshGame();
    for (const uint8_t flag : {uint8_t{2}, uint8_t{255}}) {
        std::vector<uint8_t> patched = archive;
        patched[flagAt] = flag;
        EXPECT_FALSE(load(*target, patched)) << int{flag};
    }
    EXPECT_TRUE(target->mPlayers.empty());
}

// Pointers cut short or naming what they cannot: the archive's header and
// the game's preamble, then the game's first pointer (its chest) as each
// case gives it: a class id, that class's tracking flag and version, an
// object id.
TEST_F(GameArchiveTest, PointersToUnknownClassesOrObjectsAreRefused) {
    const std::vector<uint8_t> archive = archiveOf(*mGame);
    const size_t pointerAt = 8 + std::strlen("serialization::archive") + 2 + 4 + 4 + 1 + 4 + 4;
    struct Case {
        const char* name;
        std::vector<uint8_t> pointer;
        const char* reason; // null: any refusal
    };
    const Case cases[] = {
        {"class id past the saved classes", {12, 0}, "pointer to an unknown class"},
        {"negative class id", {0xFE, 0xFF}, "pointer to an unknown class"},
        {"object id ahead of the objects read",
         {1, 0, 1, 0, 0, 0, 0, 5, 0, 0, 0},
         "reference to an object not yet read"},
        {"reference to the game as a chest",
         {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0},
         "reference to an object of another class"},
        {"a board where a chest goes",
         {2, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0},
         "pointer to an object of another class"},
        {"tracking flag of the class", {1, 0, 2}, "tracking flag neither 0 nor 1"},
        {"preamble cut short", {1, 0, 1, 0, 0}, nullptr},
        {"object id cut short", {1, 0, 1, 0, 0, 0, 0, 1, 0}, nullptr},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(archive.begin(), archive.begin() + pointerAt);
        bytes.insert(bytes.end(), c.pointer.begin(), c.pointer.end());
        Game* target = freshGame();
        ArchiveSource source(bytes.data(), bytes.size());
        std::optional<GameIArchive> ar;
        std::string reason;
        try {
            ar.emplace(source);
            ar->setRoot(target);
            *ar >> *target;
        } catch (const std::exception& e) {
            reason = e.what();
        }
        ASSERT_TRUE(ar) << c.name;
        GameArchiveCheck::discard(ar->getCreated(), *target);
        EXPECT_FALSE(reason.empty()) << c.name;
        if (c.reason != nullptr) {
            EXPECT_EQ(reason, c.reason) << c.name;
        }
        EXPECT_FALSE(load(*target, bytes)) << c.name;
        EXPECT_TRUE(target->mPlayers.empty()) << c.name;
    }
}

// The fix-up over the small test database: a reordered database still
// gives every entity the proto of its saved name; a name that is gone
// gives none; a load that fails leaves the remap as it was.
class GameArchiveFixupTest : public GameSetupTest {
protected:
    void TearDown() override {
        for (Game* game : mLoaded)
            game->release();
        GameSetupTest::TearDown();
    }

    // The test database with two entries moved and the sword left out when asked.
    static std::string reordered(bool dropSword) {
        std::string text = cTestDatabase;
        const auto cut = [&](const std::string& from, const std::string& to) {
            const size_t begin = text.find(from);
            const size_t end = text.find(to, begin) + to.size();
            std::string part = text.substr(begin, end - begin);
            text.erase(begin, end - begin);
            return part;
        };
        const std::string knight = cut("<entity name=\"knight\"", "</entity>");
        const std::string sword = cut("<entity name=\"sword\"", "</entity>");
        const size_t close = text.find("</Database>");
        text.insert(close, knight + (dropSword ? "" : sword));
        return text;
    }

    static std::vector<std::string> protoNames(const Game& game) {
        std::vector<std::string> names;
        for (const Entity* entity : game.mEntities)
            names.push_back(entity->getProto() != nullptr ? entity->getProto()->mName : "-");
        return names;
    }

    std::vector<Game*> mLoaded;
};

TEST_F(GameArchiveFixupTest, SavedIdsReachTheProtoOfTheSameNameAfterTheDatabaseIsReordered) {
    Game* game = newGame(5);
    ASSERT_NE(game, nullptr);
    const std::vector<std::string> before = protoNames(*game);
    ASSERT_NE(std::find(before.begin(), before.end(), "sword"), before.end());
    const std::vector<uint8_t> blob = game->saveToBuffer();
    std::vector<int32_t> health;
    for (const Entity* entity : game->mEntities)
        health.push_back(entity->mHealth);

    Database::clear();
    ASSERT_TRUE(loadTestDatabase(reordered(false).c_str()));
    ASSERT_NE(Database::getProtoIndexByName("knight"), cKnight);
    mLoaded.push_back(new Game());
    ASSERT_TRUE(load(*mLoaded.back(), blob));
    EXPECT_EQ(protoNames(*mLoaded.back()), before);
    std::vector<int32_t> restored;
    for (const Entity* entity : mLoaded.back()->mEntities)
        restored.push_back(entity->mHealth);
    EXPECT_EQ(restored, health);

    Database::clear();
    ASSERT_TRUE(loadTestDatabase(reordered(true).c_str()));
    mLoaded.push_back(new Game());
    ASSERT_TRUE(load(*mLoaded.back(), blob));
    std::vector<std::string> expected = before;
    std::replace(expected.begin(), expected.end(), std::string("sword"), std::string("-"));
    EXPECT_EQ(protoNames(*mLoaded.back()), expected);
}

// The remap of one load is not another game's: a game set up after a load
// under another database order, and a game whose archive names fewer ids
// than a stale remap holds, reach their protos by the current order.
TEST_F(GameArchiveFixupTest, ANewGameOrALaterLoadDoesNotResolveThroughAStaleRemap) {
    Game* game = newGame(5);
    ASSERT_NE(game, nullptr);
    const std::vector<uint8_t> blob = game->saveToBuffer();
    Database::clear();
    ASSERT_TRUE(loadTestDatabase(reordered(false).c_str()));
    mLoaded.push_back(new Game());
    ASSERT_TRUE(load(*mLoaded.back(), blob));
    ASSERT_FALSE(Database::getRemap().empty());

    Game* fresh = newGame(5);
    ASSERT_NE(fresh, nullptr);
    int32_t swords = 0;
    for (const Entity* entity : fresh->mEntities) {
        ASSERT_NE(entity->getProto(), nullptr);
        EXPECT_EQ(Database::getProtoIndexByName(entity->getProto()->mName), entity->mProtoId);
        swords += entity->getProto()->mName == "sword" ? 1 : 0;
    }
    ASSERT_GT(swords, 0);

    // Saved without the sword's name: its id stays as it is now.
    const int32_t sword = Database::getProtoIndexByName("sword");
    const int32_t knight = Database::getProtoIndexByName("knight");
    fresh->saveToBuffer();
    fresh->mProtoNames.erase(sword);
    const std::vector<uint8_t> partial = fresh->saveToBuffer();
    const std::vector<std::string> names = protoNames(*fresh);
    Database::setRemap(sword, knight);
    mLoaded.push_back(new Game());
    ASSERT_TRUE(load(*mLoaded.back(), partial));
    EXPECT_EQ(protoNames(*mLoaded.back()), names);
}

TEST_F(GameArchiveFixupTest, AFailedLoadUndoesItsRemap) {
    Game* game = newGame(5);
    ASSERT_NE(game, nullptr);
    game->mProtoNames = {{cKnight, "archer"}, {cArcher, "knight"}};
    game->mEntities.back()->mHealth = 30000000;
    const std::vector<uint8_t> blob = game->saveToBuffer();
    Database::setRemap(40, 1);
    const std::map<int32_t, int32_t> remap = Database::getRemap();
    mLoaded.push_back(new Game());
    EXPECT_FALSE(load(*mLoaded.back(), blob));
    EXPECT_EQ(Database::getRemap(), remap);
}

TEST_F(GameArchiveFixupTest, AnEntityWithoutMaximumHealthIsRestoredWithNone) {
    Game* game = newGame(5);
    ASSERT_NE(game, nullptr);
    Entity* sword = nullptr;
    for (Entity* entity : game->mEntities)
        if (entity->mProtoId == cSword)
            sword = entity;
    ASSERT_NE(sword, nullptr);
    ASSERT_EQ(sword->getMaxHealth(), 0);
    sword->mHealth = 20;
    mLoaded.push_back(new Game());
    ASSERT_TRUE(load(*mLoaded.back(), game->saveToBuffer()));
    EXPECT_EQ(mLoaded.back()->getEntity(sword->mId)->mSavedHealthFraction, 0.0f);
    EXPECT_EQ(mLoaded.back()->getEntity(sword->mId)->mHealth, 0);
}

// The library reads some of an archive through the stream: byte by byte,
// peeking, and in runs that may end early; each advances the same cursor
// the archive's own reads do.
TEST(ArchiveSourceTest, StreamReadsAndFieldReadsShareOneCursor) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    ArchiveSource source(bytes, sizeof bytes);
    EXPECT_EQ(source.in_avail(), 6);
    EXPECT_EQ(source.sgetc(), 1);
    EXPECT_EQ(source.sbumpc(), 1);
    EXPECT_EQ(source.value<uint16_t>(), 0x0302);
    char run[8] = {};
    EXPECT_EQ(source.sgetn(run, 2), 2);
    EXPECT_EQ(run[1], 5);
    EXPECT_EQ(source.remaining(), 1u);
    EXPECT_EQ(source.sgetn(run, 8), 1); // only what is left
    EXPECT_EQ(run[0], 6);
    EXPECT_EQ(source.sgetc(), std::char_traits<char>::eof());
    EXPECT_EQ(source.sbumpc(), std::char_traits<char>::eof());
    EXPECT_THROW(source.value<uint8_t>(), boost::archive::archive_exception);
}

// Flag runs of a record are read eight bytes at a time: runs ending inside
// and at the edges of a group of eight and of a 64-flag word load back flag
// for flag, and a byte other than 0 or 1 anywhere in a run is refused.
TEST_F(GameArchiveTest, FlagRunsOfAnyLengthLoadBackAndABadFlagByteIsRefused) {
    playSomeActions();
    ActionResultInfo* result = mGame->mActions.front()->mResults.front();
    for (const size_t size : {0u, 1u, 7u, 8u, 9u, 20u, 63u, 64u, 65u, 130u}) {
        FlagBits flags(size);
        for (size_t i = 0; i < size; ++i)
            flags[i] = (i * 7 + size) % 3 == 0;
        result->mInitialAuraFlags = flags;
        result->mFinalFlags = FlagBits(size, true);
        const std::vector<uint8_t> blob = mGame->saveToBuffer();
        Game* loaded = freshGame();
        ASSERT_TRUE(load(*loaded, blob)) << size;
        const ActionResultInfo* read = loaded->mActions.front()->mResults.front();
        EXPECT_EQ(read->mInitialAuraFlags, flags) << size;
        EXPECT_EQ(read->mFinalFlags, FlagBits(size, true)) << size;
        if (size == 0)
            continue;
        // The final flags, all set, are the record's only run of ones of that length.
        std::vector<uint8_t> archive = archiveOf(*mGame);
        std::vector<uint8_t> run(8);
        std::memcpy(run.data(), &size, 8);
        run.insert(run.end(), size, 1);
        const size_t at = find(archive, run) + 8 + (size - 1) / 2;
        for (const uint8_t bad : {uint8_t{2}, uint8_t{0x80}}) {
            archive[at] = bad;
            EXPECT_FALSE(load(*freshGame(), archive)) << size << " " << int{bad};
        }
    }
}
