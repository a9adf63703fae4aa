#pragma once

// One of the player's online games as the game service reports it, with the
// fields the rules read: the players in seat order (index 0 the first
// player) with their colour index, civ, status and substatus, whose turn it
// is, the turn count and the completion flag. The service client reads
// these records from its replies and keeps them in its games list
// (GamesList.h); the rules only read them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A player's status in a game.
enum GameStatus : int32_t {
    cGameNoStatus = 0,
    cGameActive = 1,
    cGameInactive = 2,
    cGameDeleted = 3,
};

// A player's substatus in a game.
enum PlayerSubstatus : int32_t {
    cSubstatusUnknown = 0,
    cSubstatusNone = 1,
    cSubstatusWon = 2,
    cSubstatusLost = 3,
    cSubstatusResigned = 4,
    cSubstatusDeclined = 5,
    cSubstatusLostNotSeen = 6,
};

struct PlayerRecord {
    std::string mName;
    int32_t mStatus = cGameNoStatus;
    int32_t mSubstatus = cSubstatusUnknown;
    std::string mCivName;
    int32_t mColor = 0;     // index into the home or away colour list
    int32_t mPlayTaunt = 0; // 1: play the opponent's taunts on opening
};

struct GameRecord {
    // The player at seat index; null outside the list.
    PlayerRecord* getPlayer(int32_t index) const;
    // The index of the first player of that name (ASCII case ignored), or -1.
    int32_t findPlayerIndex(std::string_view name) const;
    // True when a player of that name is in the game, is active, and is the
    // current turn player (names compare without regard to ASCII case).
    bool isLocalPlayersTurn(std::string_view name) const;

    int64_t mGameID = -1;
    std::string mCreationPlayer;
    std::vector<std::unique_ptr<PlayerRecord>> mPlayers;
    std::string mCurrentTurnPlayer;
    int32_t mTurnCount = 0;
    int32_t mWasMatchmade = 0;
    bool mIsComplete = false;
};
