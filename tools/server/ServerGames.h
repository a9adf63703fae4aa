#pragma once

// The loopback server's games: each with its id, times, creation player and
// method, the players in seat order, the current turn player, the turn
// count, the matchmade and complete flags and the state bytes (the
// game-state blob, kept opaque), its chat lines and the turn records of the
// second submit form. A player is named by its nickname, compared ignoring
// ASCII case; a player who deleted a game no longer sees it, and a game every
// player deleted is gone. Callers run inside a database transaction.

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerDatabase.h"
#include "tools/server/ServerRoutes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

struct ServerAccount;

struct ServerGame {
    int64_t mId = 0;
    int64_t mCreationTime = 0;            // seconds since 1970 UTC
    std::optional<int64_t> mLastTurnTime; // none before the first turn
    std::string mCreationPlayer;
    std::string mCreationMethod = "CUSTOM";
    std::string mCurrentTurnPlayer;
    int64_t mTurnCount = 0;
    int64_t mWasMatchmade = 0;
    bool mIsComplete = false;
    std::string mState; // the blob's bytes
    std::vector<ServerGamePlayer> mPlayers;
};

// One line of a game's chat.
struct ServerChat {
    std::string mFrom;
    std::string mText;
    int64_t mSentTime = 0; // seconds since 1970 UTC
};

class ServerGames {
public:
    explicit ServerGames(ServerDatabase& database) : mDatabase(database) {}

    // Stores game with its players, replacing a stored game of its id (its
    // chat lines and turn records stay).
    void store(const ServerGame& game);
    // The games that have a player of that name who has not deleted them,
    // by id.
    std::vector<ServerGame> forPlayer(std::string_view nickname);
    // The game of that id; none when there is no such game.
    std::optional<ServerGame> find(int64_t id);
    // The game of that id when the player of that name is in it and has not
    // deleted it.
    std::optional<ServerGame> findFor(int64_t id, std::string_view nickname);
    // An id no game has.
    int64_t newId();
    // Removes the game with its players, chat lines and turn records.
    void remove(int64_t id);
    // The games in which the player of that name is active.
    int64_t countActive(std::string_view nickname);
    // The ids of the unfinished games in which the player of that name is
    // active and to move.
    std::vector<int64_t> waitingFor(std::string_view nickname);

    void addChat(int64_t id, const ServerChat& chat);
    // The game's chat lines in the order they were added.
    std::vector<ServerChat> chats(int64_t id);
    // Keeps a submitted turn record (its archive bytes) under the game's
    // turn count.
    void addTurnRecord(int64_t id, int64_t turn, std::string_view player, std::string_view bytes);
    // The game's turn records by turn count.
    std::vector<std::string> turnRecords(int64_t id);

private:
    // The games of a WHERE clause with up to two parameters: id when not
    // negative, then nickname when not empty.
    std::vector<ServerGame> select(std::string_view where, int64_t id, std::string_view nickname);

    ServerDatabase& mDatabase;
};

// The games list's hash: SHA-256 over every field of the games, in order,
// states included; the same rows give the same hash.
std::string gamesHash(const std::vector<ServerGame>& games);
// The service's "Game" element of game, with its "state" child (base64) when
// withState is set, a "chats" child of those lines when given, and the extra
// attributes after the game's own.
std::string gameElement(const ServerGame& game, bool withState,
                        const std::vector<ServerChat>* chats = nullptr,
                        const std::vector<std::pair<std::string, std::string>>& extra = {});

// The game whose id the request's form part of that name holds (a whole
// decimal number above 0), when the player of that nickname sits in it and
// has not deleted it; seat gets the player's seat.
std::optional<ServerGame> requestedGame(const RouteContext& context, std::string_view field,
                                        std::string_view nickname, int& seat);

// A handler for the logged-in player's requested game, given with the
// player's seat; changes to the game are the handler's to store.
using GameHandler =
    std::function<ServerReply(RouteContext&, const ServerAccount&, ServerGame&, int seat)>;
// The route that finds the request's account and, by the form part named
// field, its game, and runs handler; "NotLoggedIn" as forAccount answers,
// "InvalidGameID" for a game that isn't the player's.
RouteHandler forGame(std::string field, GameHandler handler);

// A new game's seat for the account with that civ: its nickname, avatar
// and colours, active with no substatus.
ServerGamePlayer newSeat(const ServerAccount& account, std::string civ);

// The seat of the player of that name (ASCII case ignored); -1 when none.
int seatOf(const ServerGame& game, std::string_view nickname);
// Hands the turn from the player at seat to the other one: the turn count
// raised and the last-turn time set to now.
void passTurn(ServerGame& game, int seat, int64_t now);
// Ends the game with the player at seat winner the winner (-1: no winner):
// the game complete, the winner Inactive and Won; a loser already inactive
// or named bot Inactive and Lost, any other loser LostNotSeen until its
// client settles the game; with no winner both Inactive.
void endGame(ServerGame& game, int winner, std::string_view bot);
// "year-month-day hour:minute:second" in UTC, as the service writes times.
std::string formatServerTime(int64_t seconds);
