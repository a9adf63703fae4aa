// Drops performed through the game: costs, commands, refusals; the undo
// stack over a turn of drops, single and whole-turn undo, and undo that
// restores the game byte for byte, turn-start score included.

#include "TurnTestSupport.h"

#include "rules/CandidateAction.h"

#include <vector>

namespace {

class DropUndoTest : public TurnTest {
protected:
    void TearDown() override {
        undoStack().clear();
        TurnTest::TearDown();
    }

    // Saves the game and loads it again as the opener does, so that the
    // undo stack holds the state the turn starts from.
    void open() {
        const std::vector<uint8_t> blob = mGame->saveToBuffer();
        ASSERT_TRUE(
            mGame->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), 42, true));
    }
    bool drop(const Entity* entity, int32_t gridType, GridSlot slot) const {
        return mGame->dropEntity(entity->mId, gridType, slot);
    }
    // The entity of that id in the game as it is now (a load replaces them).
    Entity* now(int32_t id) const { return mGame->getEntity(id); }
    size_t stackSize() const { return undoStack().size(); }
    std::vector<int32_t> commandIds() const {
        std::vector<int32_t> ids;
        for (const auto& command : mGame->mCommands)
            ids.push_back(command->mEntityId);
        return ids;
    }

    static std::vector<std::unique_ptr<GameSnapshot>>& undoStack() { return ::undoStack(); }
};

TEST_F(DropUndoTest, AnAcceptedDropSpendsItsCostAndRecordsACommand) {
    FakeSceneServices services;
    SoundRecorder sounds;
    Entity* soldier = tile("soldier", 0, 0);
    player(0)->mActionPoints = 5;
    ASSERT_TRUE(drop(soldier, cGridGameBoard, GridSlot(0, 0)));
    EXPECT_EQ(soldier->mGrid, board());
    EXPECT_EQ(player(0)->mActionPoints, 4);
    ASSERT_EQ(mGame->mCommands.size(), 1u);
    EXPECT_EQ(mGame->mCommands[0]->mGridType, cGridGameBoard);
    EXPECT_EQ(mGame->mCommands[0]->mTarget, GridSlot(0, 0));
    ASSERT_EQ(mGame->mActions.size(), 1u);
    EXPECT_EQ(mGame->mActions[0]->mActionType, cActionDeploy);
    EXPECT_TRUE(mGame->canUndo());

    // A move plays its sound.
    ASSERT_TRUE(drop(soldier, cGridGameBoard, GridSlot(2, 0)));
    EXPECT_EQ(sounds.played().back(), "panned:sound/Game_Release_ToMove_Character.mp3");
}

TEST_F(DropUndoTest, ADropThePlayerCannotAffordBecomesAReturn) {
    FakeSceneServices services;
    SoundRecorder sounds;
    Entity* soldier = tile("soldier", 0, 0);
    player(0)->mActionPoints = 0;
    bool accepted = true;
    EXPECT_TRUE(soldier->dropAt(board(), GridSlot(0, 0), accepted));
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(drop(soldier, cGridGameBoard, GridSlot(0, 0)));
    EXPECT_EQ(soldier->mGrid, rack(0));
    EXPECT_EQ(player(0)->mActionPoints, 0);
    EXPECT_TRUE(mGame->mCommands.empty());
    EXPECT_TRUE(mGame->mActions.empty());
    EXPECT_EQ(sounds.played().back(), "panned:sound/UI_Game_CantPlace.mp3");

    // Points equal to the cost are enough.
    player(0)->mActionPoints = 1;
    EXPECT_TRUE(drop(soldier, cGridGameBoard, GridSlot(0, 0)));
    EXPECT_EQ(player(0)->mActionPoints, 0);
}

TEST_F(DropUndoTest, RefusedDropsRecordNothing) {
    Entity* soldier = tile("soldier", 0, 0);
    player(0)->mActionPoints = 5;
    // Off the board, a square outside the deploy zone, a place in the rack,
    // an unknown entity, an unknown grid.
    EXPECT_FALSE(drop(soldier, cGridGameBoard, GridSlot(-1, -1)));
    EXPECT_FALSE(drop(soldier, cGridGameBoard, GridSlot(4, 0)));
    EXPECT_FALSE(drop(soldier, cGridTileRack, GridSlot(3, 0)));
    EXPECT_EQ(soldier->mSlot, GridSlot(3, 0)) << "a place in the rack moves the tile";
    EXPECT_FALSE(mGame->dropEntity(999, cGridGameBoard, GridSlot(0, 0)));
    EXPECT_FALSE(drop(soldier, 7, GridSlot(0, 0)));
    EXPECT_TRUE(mGame->mCommands.empty());
    EXPECT_TRUE(mGame->mActions.empty());
    EXPECT_EQ(player(0)->mActionPoints, 5);
    EXPECT_FALSE(mGame->canUndo());
}

TEST_F(DropUndoTest, SingleUndosWalkTheStackBackToTheOpponentsTurn) {
    // The opponent's last turn, recorded in the game as received.
    const int32_t enemy = unit("soldier", 1, 5, 0)->mId;
    auto* theirs = new CandidateAction(mGame, 1);
    theirs->init(enemy, cActionMove, GridSlot(5, 1), board());
    mGame->mActions.push_back(theirs);
    const int32_t soldier = tile("soldier", 0, 0)->mId;
    player(0)->mActionPoints = 5;
    open();
    ASSERT_EQ(stackSize(), 1u);
    ASSERT_EQ(mGame->mActions.size(), 1u);

    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(0, 0)));
    EXPECT_EQ(stackSize(), 1u) << "the first action takes no snapshot";
    ASSERT_EQ(mGame->mActions.size(), 1u);
    EXPECT_EQ(mGame->mActions[0]->mSourceEntity, soldier) << "the opponent's turn is released";
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(1, 0)));
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(2, 0)));
    EXPECT_EQ(stackSize(), 3u);
    EXPECT_EQ(commandIds().size(), 3u);

    const std::vector<size_t> stacks = {2, 1, 1};
    const std::vector<GridSlot> squares = {GridSlot(1, 0), GridSlot(0, 0), GridSlot(0, 0)};
    for (size_t undo = 0; undo < 3; ++undo) {
        mGame->undo(false);
        EXPECT_EQ(stackSize(), stacks[undo]) << "undo " << undo;
        EXPECT_EQ(mGame->mCommands.size(), 2 - undo) << "undo " << undo;
        EXPECT_EQ(mGame->canUndo(), undo < 2) << "undo " << undo;
        if (undo < 2) {
            EXPECT_EQ(now(soldier)->mSlot, squares[undo]) << "undo " << undo;
        }
    }
    EXPECT_EQ(now(soldier)->mGrid, rack(0));
    EXPECT_EQ(player(0)->mActionPoints, 5);
    ASSERT_EQ(mGame->mActions.size(), 1u);
    EXPECT_EQ(mGame->mActions[0]->mSourceEntity, enemy);
}

TEST_F(DropUndoTest, ASingleUndoRemovesOnlyTheLastCommand) {
    const int32_t first = tile("soldier", 0, 0)->mId;
    const int32_t second = tile("archer", 0, 1)->mId;
    player(0)->mActionPoints = 5;
    open();
    ASSERT_TRUE(drop(now(first), cGridGameBoard, GridSlot(0, 0)));
    ASSERT_TRUE(drop(now(second), cGridGameBoard, GridSlot(0, 1)));
    ASSERT_TRUE(drop(now(first), cGridGameBoard, GridSlot(1, 0)));
    mGame->undo(false);
    EXPECT_EQ(commandIds(), (std::vector<int32_t>{first, second}));
}

TEST_F(DropUndoTest, AnUndoForgetsTheActionsStillPlaying) {
    const int32_t soldier = tile("soldier", 0, 0)->mId;
    player(0)->mActionPoints = 5;
    open();
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(0, 0)));
    ASSERT_FALSE(mGame->mActions.empty());
    mGame->mPlayingAction = mGame->mActions.back();
    mGame->mExecutingAction = mGame->mActions.back();
    mGame->undo(false);
    EXPECT_EQ(mGame->mPlayingAction, nullptr);
    EXPECT_EQ(mGame->mExecutingAction, nullptr);
}

TEST_F(DropUndoTest, AWholeTurnUndoLeavesOneSnapshotAndNoCommands) {
    const int32_t soldier = tile("soldier", 0, 0)->mId;
    const int32_t archer = tile("archer", 0, 1)->mId;
    player(0)->mActionPoints = 5;
    open();
    const std::vector<uint8_t> start = mGame->saveToBuffer();
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(0, 0)));
    ASSERT_TRUE(drop(now(archer), cGridGameBoard, GridSlot(0, 1)));
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(1, 0)));
    mGame->undo(true);
    EXPECT_EQ(stackSize(), 1u);
    EXPECT_TRUE(mGame->mCommands.empty());
    EXPECT_FALSE(mGame->canUndo());
    EXPECT_EQ(mGame->saveToBuffer(), start);
    // The next action starts the turn afresh.
    ASSERT_TRUE(drop(now(archer), cGridGameBoard, GridSlot(0, 3)));
    EXPECT_EQ(stackSize(), 1u);
}

TEST_F(DropUndoTest, UndoRestoresTheGameExactlyScoreIncluded) {
    board()->setProtoIndex(cScoreBoard);
    unit("soldier", 0, 1, 1);
    const int32_t scorer = unit("soldier", 0, 1, 3)->mId;
    const int32_t archer = tile("archer", 0, 0)->mId;
    player(0)->mActionPoints = 5;
    player(0)->mScore = 3;
    open();
    ASSERT_EQ(player(0)->mScore, 3 + 5 + 5) << "the turn-start score of the received state";

    // The state before each action, then after the last.
    std::vector<std::vector<uint8_t>> before;
    const auto act = [&](int32_t id, GridSlot slot) {
        before.push_back(mGame->saveToBuffer());
        ASSERT_TRUE(drop(now(id), cGridGameBoard, slot));
    };
    act(archer, GridSlot(0, 0));
    act(scorer, GridSlot(2, 3));
    act(archer, GridSlot(0, 1));
    for (size_t undo = before.size(); undo-- > 0;) {
        mGame->undo(false);
        EXPECT_EQ(mGame->saveToBuffer(), before[undo]) << "before action " << undo;
        EXPECT_EQ(mGame->getPlayer(0)->mScore, 13) << "before action " << undo;
    }
}

TEST_F(DropUndoTest, AnUndoWhoseSnapshotFailsToLoadKeepsTheGameAndItsViews) {
    FakeSceneServices services;
    const int32_t soldier = tile("soldier", 0, 0)->mId;
    player(0)->mActionPoints = 5;
    open();
    ASSERT_TRUE(mGame->linkAt(cocos2d::CCPoint(0.0f, 0.0f), false));
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(0, 0)));
    ASSERT_TRUE(drop(now(soldier), cGridGameBoard, GridSlot(1, 0)));
    const std::vector<uint8_t> state = mGame->saveToBuffer();
    std::vector<uint8_t>& top = undoStack().back()->mBuffer;
    top.resize(top.size() / 2);

    mGame->undo(false);
    EXPECT_EQ(mGame->saveToBuffer(), state);
    EXPECT_EQ(stackSize(), 2u);
    EXPECT_EQ(commandIds().size(), 2u);
    EXPECT_TRUE(mGame->hasLink());
    EXPECT_TRUE(board()->hasLink());
    EXPECT_TRUE(rack(0)->hasLink());
    EXPECT_TRUE(now(soldier)->hasLink());
    mGame->unlink(false);
}

TEST_F(DropUndoTest, UndoWithAnEmptyStackDoesNothing) {
    mGame->clearUndoStack();
    unit("soldier", 0, 1, 1);
    const std::vector<uint8_t> state = mGame->saveToBuffer();
    mGame->undo(false);
    mGame->undo(true);
    EXPECT_EQ(mGame->saveToBuffer(), state);
}

} // namespace
