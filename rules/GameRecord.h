#pragma once

// One of the player's online games as the game service reports it: the
// record the rules, the board scene and the service client share. The
// service client reads these records from its replies (service/
// GameRecordReader.h) and keeps them in its games list (GamesList.h); the
// rules and the scene only read them. A record owns its players, its chat
// lines and its state bytes (the game-state blob, kept opaque here).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A player's status in a game. Words are matched ignoring case; any other
// word is cGameNoStatus, written "unknown".
enum GameStatus : int32_t {
    cGameNoStatus = 0,
    cGameActive = 1,
    cGameInactive = 2,
    cGameDeleted = 3,
};

// A player's substatus in a game, matched and written like GameStatus.
enum PlayerSubstatus : int32_t {
    cSubstatusUnknown = 0,
    cSubstatusNone = 1,
    cSubstatusWon = 2,
    cSubstatusLost = 3,
    cSubstatusResigned = 4,
    cSubstatusDeclined = 5,
    cSubstatusLostNotSeen = 6,
};

// The local player's state in a listed game.
enum LocalGameState : int32_t {
    cNotInGame = 0,
    cMyTurn = 1,
    cOpponentsTurn = 2,
    cNotActive = 3,
};

// "active" .. "deleted" (ignoring case) to their value; 0 for other words.
int32_t gameStatusFromString(std::string_view word);
// "none" .. "lostnotseen" (ignoring case) to their value; 0 for other words.
int32_t playerSubstatusFromString(std::string_view word);
// The word of a value; "unknown" outside the table (negative values too).
const char* gameStatusToString(int32_t status);
const char* playerSubstatusToString(int32_t substatus);
// "CUSTOM", "FACEBOOK", "MATCHMADE": the creation methods by index.
const std::array<std::string, 3>& creationMethodNames();

struct PlayerRecord {
    std::string mName;
    int32_t mStatus = cGameNoStatus;
    int32_t mSubstatus = cSubstatusUnknown;
    int32_t mNewChatCount = 0;
    std::string mCivName;
    std::string mAvatar;    // the resolved avatar image path
    int32_t mColor = 0;     // index into the home or away colour list
    bool mIsLocal = false;  // the name equals the client's nickname exactly
    int32_t mPlayTaunt = 0; // 1: play the opponent's taunts on opening
    int32_t mBuildVersion = 0;
};

struct ChatRecord {
    std::string mFrom;
    std::string mText;
    int64_t mSentTime = 0; // seconds since 1970 UTC
};

struct GameRecord {
    GameRecord() = default;
    GameRecord(const GameRecord&) = delete;
    GameRecord& operator=(const GameRecord&) = delete;

    // The player at seat index; null outside the list.
    PlayerRecord* getPlayer(int32_t index) const;
    // The index of the first player of that name (ASCII case ignored), or -1.
    int32_t findPlayerIndex(std::string_view name) const;
    // The index of the first player of another name (ASCII case ignored), or
    // -1.
    int32_t findOtherPlayerIndex(std::string_view name) const;
    // True when a player of that name is in the game, is active, and is the
    // current turn player (names compare without regard to ASCII case).
    bool isLocalPlayersTurn(std::string_view name) const;
    // The first player when it is the local one, else the second; null with
    // no such player.
    PlayerRecord* getLocalPlayer() const;
    // The other player of getLocalPlayer's pick; null with fewer than two.
    PlayerRecord* getOpponent() const;
    // The state of the player called nickname (ASCII case ignored) here.
    LocalGameState getLocalPlayerGameState(std::string_view nickname) const;

    // Refreshes this kept record from a freshly read one: the players at the
    // positions both hold (the player objects stay), the chat lines, the
    // last-turn time, the turn player and count and the completion flag. The
    // id, creation fields, matchmade flag and state bytes stay. Nothing
    // happens for null.
    void copyFrom(const GameRecord* fresh);
    // Replaces the state bytes by a copy of size bytes; none for a null or
    // empty buffer.
    void setState(const uint8_t* bytes, int32_t size);

    int64_t mGameID = -1;
    int64_t mCreationTime = 0; // seconds since 1970 UTC
    int64_t mLastTurnTime = 0; // seconds since 1970 UTC
    bool mHasLastTurnTime = false;
    std::string mCreationPlayer;
    std::vector<std::unique_ptr<PlayerRecord>> mPlayers;
    std::string mCurrentTurnPlayer;
    std::unique_ptr<uint8_t[]> mStateData; // the game-state blob; null when none
    int32_t mStateSize = 0;
    std::vector<std::unique_ptr<ChatRecord>> mChats;
    int32_t mTurnCount = 0;
    int32_t mWasMatchmade = 0;
    std::string mCreationMethod;
    bool mIsComplete = false;
};
