#pragma once

// What the rules read of the game service's list of the player's games: the
// record of a game by id, the login nickname that names the local player in
// the records, and whether a player is logged in (puzzle scripts ask).
//
// The service client implements GamesList and installs it once it is set
// up; until then (and in tests, which install their own lists) the built-in
// list holds no records and no nickname. Main thread only.

#include <boost/thread/recursive_mutex.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "rules/GameRecord.h"

class ServerTurn;

class GamesList {
public:
    virtual ~GamesList();
    // The record of the game with that id; null when the list has none.
    virtual GameRecord* findGame(int64_t gameId) = 0;
    // The signed-in player's nickname; empty when not signed in.
    virtual std::string getNickname() const = 0;
    // Whether the client has a logged-in player; false here.
    virtual bool isLoggedIn() const;
    // The number of listed games in that state for the local player, and
    // the n-th of them (from 0) or null; none here.
    virtual int32_t countGamesInState(LocalGameState state);
    virtual GameRecord* findNthGameInState(int32_t n, LocalGameState state);

    // Requests to the game service, with the service client's codes (0
    // success). The built-in list reaches no service: each request answers
    // 2 ("anything else") and followUpGameStatus false.
    // The turn's state; tauntRequest comes back as the reply's taunt flag.
    virtual int submitTurn(int64_t gameId, const uint8_t* state, int32_t stateSize,
                           int32_t& tauntRequest, int32_t turnCount, int32_t status,
                           int32_t substatus);
    // The turn record in place of the state.
    virtual int submitServerTurn(int64_t gameId, const ServerTurn& turn, int32_t status,
                                 int32_t substatus);
    virtual int updatePlayerStatus(int64_t gameId, int32_t status, int32_t substatus);
    // Settles a finished game with the service; true when it acted.
    virtual bool followUpGameStatus(int64_t gameId);
    // Fetches the game with its state into the list.
    virtual int getGameState(int64_t gameId);
    // Logs in with the stored user name and password.
    virtual int login();
    // The credentials the next login uses; ignored here.
    virtual void setStoredUsername(std::string_view value);
    virtual void setStoredPassword(std::string_view value);
    // Seconds the service's clock is ahead of this one; 0 here.
    virtual int32_t serverTimeOffset() const;
};

// The list in use: the installed one, else the built-in empty one.
GamesList& gamesList();
// Installs list (which must outlive its use); null restores the built-in one.
void setGamesList(GamesList* list);

// The one game lock: every access to the listed records from any thread, the
// engine tick and the opening and loading of a game take it. Recursive: code
// that holds it may take it again; another thread waits until it is free.
boost::recursive_mutex& gameDataMutex();
// Whether the calling thread holds the game lock, for debug checks; true
// where the C library does not tell.
bool gameDataMutexHeldHere();
