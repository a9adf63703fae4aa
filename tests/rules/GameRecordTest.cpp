// The game record's queries, word tables, refresh and state bytes.

#include "rules/GameRecord.h"

#include <gtest/gtest.h>

#include <locale>
#include <tuple>

namespace {

PlayerRecord& addPlayer(GameRecord& record, std::string name, int32_t status, bool isLocal) {
    auto player = std::make_unique<PlayerRecord>();
    player->mName = std::move(name);
    player->mStatus = status;
    player->mIsLocal = isLocal;
    record.mPlayers.push_back(std::move(player));
    return *record.mPlayers.back();
}

// A global locale whose case mapping leaves 'i' alone, as a Turkish one
// does (its capital is a letter outside ASCII).
class DotlessCase : public std::ctype<char> {
protected:
    char do_toupper(char c) const override {
        return c == 'i' ? c : std::ctype<char>::do_toupper(c);
    }
    char do_tolower(char c) const override {
        return c == 'I' ? c : std::ctype<char>::do_tolower(c);
    }
    using std::ctype<char>::do_toupper;
    using std::ctype<char>::do_tolower;
};

} // namespace

TEST(GameRecordTest, NamesMatchWithoutCaseWhateverTheGlobalLocale) {
    GameRecord record;
    addPlayer(record, "Isaac", cGameActive, false);
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new DotlessCase));
    const int32_t found = record.findPlayerIndex("ISAAC");
    const int32_t foundLower = record.findPlayerIndex("isaac");
    std::locale::global(previous);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(foundLower, 0);
}

TEST(GameRecordTest, AnEmptyRecordHoldsTheStartValues) {
    const GameRecord record;
    EXPECT_EQ(record.mGameID, -1);
    EXPECT_EQ(record.mCreationTime, 0);
    EXPECT_FALSE(record.mHasLastTurnTime);
    EXPECT_EQ(record.mStateData, nullptr);
    EXPECT_EQ(record.mStateSize, 0);
    EXPECT_TRUE(record.mPlayers.empty() && record.mChats.empty());
    EXPECT_TRUE(record.mCreationMethod.empty());
    EXPECT_EQ(record.getLocalPlayer(), nullptr);
    EXPECT_EQ(record.getOpponent(), nullptr);
}

TEST(GameRecordTest, ANicknameDifferingInCaseFindsThePlayerButIsNotLocal) {
    // The reader sets mIsLocal by exact comparison; the queries ignore case.
    GameRecord record;
    addPlayer(record, "Alice", cGameActive, false);
    addPlayer(record, "Bob", cGameActive, false);
    record.mCurrentTurnPlayer = "ALICE";
    EXPECT_EQ(record.findPlayerIndex("alice"), 0);
    EXPECT_EQ(record.findOtherPlayerIndex("alice"), 1);
    EXPECT_EQ(record.findPlayerIndex("carol"), -1);
    EXPECT_EQ(record.getLocalPlayerGameState("alice"), cMyTurn);
    EXPECT_EQ(record.getLocalPlayerGameState("bob"), cOpponentsTurn);
    EXPECT_EQ(record.getLocalPlayerGameState("carol"), cNotInGame);
    record.mPlayers[0]->mStatus = cGameInactive;
    EXPECT_EQ(record.getLocalPlayerGameState("alice"), cNotActive);
    EXPECT_FALSE(record.isLocalPlayersTurn("alice"));
}

TEST(GameRecordTest, LocalPlayerAndOpponentFollowTheFirstPlayersLocalFlag) {
    GameRecord record;
    PlayerRecord& opponent = addPlayer(record, "bob", cGameActive, false);
    PlayerRecord& local = addPlayer(record, "alice", cGameActive, true);
    EXPECT_EQ(record.getLocalPlayer(), &local);
    EXPECT_EQ(record.getOpponent(), &opponent);

    std::swap(record.mPlayers[0], record.mPlayers[1]);
    EXPECT_EQ(record.getLocalPlayer(), &local);
    EXPECT_EQ(record.getOpponent(), &opponent);

    // With one player that is not local there is neither.
    record.mPlayers.erase(record.mPlayers.begin());
    EXPECT_EQ(record.getLocalPlayer(), nullptr);
    EXPECT_EQ(record.getOpponent(), nullptr);
}

TEST(GameRecordTest, WordTablesIgnoreCaseAndWriteUnknownOutsideTheTable) {
    const std::tuple<const char*, int32_t, int32_t> words[] = {
        {"active", 1, 0},   {"INACTIVE", 2, 0}, {"Deleted", 3, 0},   {"paused", 0, 0},
        {"", 0, 0},         {"none", 0, 1},     {"Won", 0, 2},       {"lost", 0, 3},
        {"resigned", 0, 4}, {"declined", 0, 5}, {"LostNotSeen", 0, 6}};
    for (const auto& [word, status, substatus] : words) {
        EXPECT_EQ(gameStatusFromString(word), status) << word;
        EXPECT_EQ(playerSubstatusFromString(word), substatus) << word;
    }
    EXPECT_STREQ(gameStatusToString(1), "active");
    EXPECT_STREQ(gameStatusToString(3), "deleted");
    EXPECT_STREQ(gameStatusToString(0), "unknown");
    EXPECT_STREQ(gameStatusToString(-1), "unknown");
    EXPECT_STREQ(gameStatusToString(4), "unknown");
    EXPECT_STREQ(playerSubstatusToString(6), "lostnotseen");
    EXPECT_STREQ(playerSubstatusToString(7), "unknown");
    EXPECT_EQ(creationMethodNames()[2], "MATCHMADE");
}

TEST(GameRecordTest, CopyFromRefreshesPlayersInPlaceAndKeepsIdentityAndState) {
    GameRecord kept;
    kept.mGameID = 7;
    kept.mCreationMethod = "CUSTOM";
    PlayerRecord& keptPlayer = addPlayer(kept, "alice", cGameActive, true);
    const uint8_t bytes[] = {1, 2, 3};
    kept.setState(bytes, 3);
    kept.mChats.push_back(std::make_unique<ChatRecord>(ChatRecord{"bob", "old", 1}));

    GameRecord fresh;
    fresh.mGameID = 8;
    fresh.mCreationMethod = "MATCHMADE";
    addPlayer(fresh, "alice", cGameInactive, true).mNewChatCount = 4;
    addPlayer(fresh, "bob", cGameActive, false);
    fresh.mChats.push_back(std::make_unique<ChatRecord>(ChatRecord{"bob", "hi", 10}));
    fresh.mChats.push_back(std::make_unique<ChatRecord>(ChatRecord{"alice", "yo", 11}));
    fresh.mLastTurnTime = 500;
    fresh.mHasLastTurnTime = true;
    fresh.mCurrentTurnPlayer = "bob";
    fresh.mTurnCount = 9;
    fresh.mIsComplete = true;

    kept.copyFrom(&fresh);
    kept.copyFrom(nullptr);
    ASSERT_EQ(kept.mPlayers.size(), 1u);
    EXPECT_EQ(kept.mPlayers[0].get(), &keptPlayer);
    EXPECT_EQ(keptPlayer.mStatus, cGameInactive);
    EXPECT_EQ(keptPlayer.mNewChatCount, 4);
    ASSERT_EQ(kept.mChats.size(), 2u);
    EXPECT_EQ(kept.mChats[1]->mText, "yo");
    EXPECT_NE(kept.mChats[0].get(), fresh.mChats[0].get());
    EXPECT_EQ(kept.mLastTurnTime, 500);
    EXPECT_TRUE(kept.mHasLastTurnTime);
    EXPECT_EQ(kept.mCurrentTurnPlayer, "bob");
    EXPECT_EQ(kept.mTurnCount, 9);
    EXPECT_TRUE(kept.mIsComplete);
    EXPECT_EQ(kept.mGameID, 7);
    EXPECT_EQ(kept.mCreationMethod, "CUSTOM");
    ASSERT_EQ(kept.mStateSize, 3);
    EXPECT_EQ(kept.mStateData[2], 3);
}

TEST(GameRecordTest, SetStateCopiesExactlyAndClearsForNothing) {
    GameRecord record;
    const uint8_t bytes[] = {9, 8, 7, 6};
    record.setState(bytes, 2);
    ASSERT_EQ(record.mStateSize, 2);
    EXPECT_NE(record.mStateData.get(), bytes);
    EXPECT_EQ(record.mStateData[1], 8);
    record.setState(bytes, 0);
    EXPECT_EQ(record.mStateData, nullptr);
    record.setState(bytes, 4);
    record.setState(nullptr, 4);
    EXPECT_EQ(record.mStateData, nullptr);
    EXPECT_EQ(record.mStateSize, 0);
}
