#pragma once

// The loopback server's games: each with its id, times, creation player and
// method, the players in seat order, the current turn player, the turn
// count, the matchmade and complete flags and the state bytes (the
// game-state blob, kept opaque). A player is named by its nickname, compared
// ignoring ASCII case. Callers run inside a database transaction.

#include "tools/server/ServerDatabase.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ServerGamePlayer {
    std::string mName;
    std::string mStatus = "active";
    std::string mSubstatus = "none";
    std::string mCiv;
    std::string mAvatar = "AVATAR_COUNCIL_FREE|0";
    int64_t mHomeColor = 0;
    int64_t mAwayColor = 0;
    int64_t mNewChatCount = 0;
    int64_t mPlayTaunt = 0;
    int64_t mBuildVersion = 0;
};

struct ServerGame {
    int64_t mId = 0;
    int64_t mCreationTime = 0;                // seconds since 1970 UTC
    std::optional<int64_t> mLastTurnTime;     // none before the first turn
    std::string mCreationPlayer;
    std::string mCreationMethod = "CUSTOM";
    std::string mCurrentTurnPlayer;
    int64_t mTurnCount = 0;
    int64_t mWasMatchmade = 0;
    bool mIsComplete = false;
    std::string mState; // the blob's bytes
    std::vector<ServerGamePlayer> mPlayers;
};

class ServerGames {
public:
    explicit ServerGames(ServerDatabase& database) : mDatabase(database) {}

    // Stores game with its players, replacing a stored game of its id.
    void store(const ServerGame& game);
    // The games that have a player of that name, by id.
    std::vector<ServerGame> forPlayer(std::string_view nickname);

private:
    ServerDatabase& mDatabase;
};

// The games list's hash: SHA-256 over every field of the games, in order,
// states included; the same rows give the same hash.
std::string gamesHash(const std::vector<ServerGame>& games);
// The service's "Game" element of game, with its "state" child (base64) when
// withState is set.
std::string gameElement(const ServerGame& game, bool withState);
// "year-month-day hour:minute:second" in UTC, as the service writes times.
std::string formatServerTime(int64_t seconds);
