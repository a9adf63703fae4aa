// The turn record: what a ServerTurn takes from the game, that it leaves the
// game's commands alone, and its archive byte for byte.

#include "TurnTestSupport.h"

#include "rules/GameRecord.h"
#include "rules/ServerTurn.h"

#include <boost/archive/binary_iarchive.hpp>

#include <sstream>

namespace {

std::string hex(const std::string& bytes) {
    static constexpr char cDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += cDigits[byte >> 4];
        text += cDigits[byte & 15];
    }
    return text;
}

TEST(ServerTurnArchive, ScalarsThenCommandsInDropOrder) {
    ServerGameCommand deploy(5, 2, GridSlot(3, 4));
    ServerGameCommand swap(9, 0, GridSlot(0, 7));
    ServerTurn turn;
    turn.mPlayer = 1;
    turn.mTaunt = 1;
    turn.mTurn = 7;
    turn.mComplete = 0;
    turn.mCommands = {&deploy, &swap};
    // Our own golden bytes, as this boost writes them: the archive header,
    // the ServerTurn (class header, 1039 in 8 bytes, four i32 scalars), the
    // command vector (class header, count, item version), then each command
    // through its pointer (class id, and for the first one the class header
    // and object id 0; object id 1 for the second) with its id, grid type
    // and GridSlot (class header the first time, then x and y).
    const std::string golden =
        "1600000000000000"                             // signature length
        "73657269616c697a6174696f6e3a3a61726368697665" // "serialization::archive"
        "1200"                                         // library version 18
        "04080408"
        "01000000" // sizes; byte order
        "00"
        "00000000"         // ServerTurn: untracked, version 0
        "0f04000000000000" // build number 1039
        "01000000"
        "01000000"
        "07000000"
        "00000000" // player, taunt, turn, complete
        "00"
        "00000000" // the vector's class header
        "0200000000000000"
        "00000000" // two commands, item version
        "0200"
        "01"
        "00000000"
        "00000000" // class 2, tracked, version 0, object 0
        "05000000"
        "02000000" // entity 5, board
        "00"
        "00000000" // GridSlot: untracked, version 0
        "03000000"
        "04000000" // (3, 4)
        "0200"
        "01000000" // class 2, object 1
        "09000000"
        "00000000"
        "00000000"
        "07000000"; // entity 9, chest, (0, 7)
    EXPECT_EQ(hex(turn.toArchive()), golden);
}

TEST(ServerTurnArchive, ReadsBackWhatItWrote) {
    ServerGameCommand move(4, 2, GridSlot(1, 2));
    ServerTurn turn;
    turn.mPlayer = 0;
    turn.mTurn = 12;
    turn.mComplete = 1;
    turn.mCommands = {&move, &move};
    std::istringstream bytes(turn.toArchive(), std::ios::binary);
    ServerTurn read;
    {
        boost::archive::binary_iarchive archive(bytes);
        archive >> read;
    }
    EXPECT_EQ(read.mBuildNumber, 1039u);
    EXPECT_EQ(read.mPlayer, 0);
    EXPECT_EQ(read.mTurn, 12);
    EXPECT_EQ(read.mComplete, 1);
    ASSERT_EQ(read.mCommands.size(), 2u);
    // One command listed twice is one object in the archive.
    EXPECT_EQ(read.mCommands[0], read.mCommands[1]);
    EXPECT_EQ(read.mCommands[0]->mEntityId, 4);
    EXPECT_EQ(read.mCommands[0]->mTarget, GridSlot(1, 2));
    delete read.mCommands[0];
}

TEST_F(TurnTest, ServerTurnListsTheGamesTurnAndLeavesItsCommands) {
    FakeGamesList games;
    games.addRecord(42, 0, 0).mIsComplete = true;
    mGame->mGameID = 42;
    mGame->mCurrentPlayer = 1;
    mGame->mTurnCount = 6;
    const Entity* soldier = unit("soldier", 1, 4, 1);
    mGame->mTaunts.push_back(std::make_unique<TauntInfo>(TauntInfo{soldier->mId, 31}));
    {
        const ServerTurn empty(*mGame);
        EXPECT_TRUE(empty.mCommands.empty());
    }
    mGame->mCommands.push_back(std::make_unique<ServerGameCommand>(3, 2, GridSlot(1, 1)));
    mGame->mCommands.push_back(std::make_unique<ServerGameCommand>(8, 1, GridSlot(2, 0)));
    {
        const ServerTurn turn(*mGame);
        EXPECT_EQ(turn.mBuildNumber, 1039u);
        EXPECT_EQ(turn.mPlayer, 1);
        EXPECT_EQ(turn.mTaunt, 1);
        EXPECT_EQ(turn.mTurn, 6);
        EXPECT_EQ(turn.mComplete, 1);
        ASSERT_EQ(turn.mCommands.size(), 2u);
        EXPECT_EQ(turn.mCommands[1], mGame->mCommands[1].get());
    }
    ASSERT_EQ(mGame->mCommands.size(), 2u);
    EXPECT_EQ(mGame->mCommands[0]->mEntityId, 3);
    EXPECT_EQ(mGame->mCommands[1]->mTarget, GridSlot(2, 0));
}

} // namespace
