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

#include "rules/GameRecord.h"

class GamesList {
public:
    virtual ~GamesList();
    // The record of the game with that id; null when the list has none.
    virtual GameRecord* findGame(int64_t gameId) = 0;
    // The signed-in player's nickname; empty when not signed in.
    virtual std::string getNickname() const = 0;
    // Whether the client has a logged-in player; false here.
    virtual bool isLoggedIn() const;
    // How many listed games are in that state for the local player, and the
    // nth of them (from 0; null past the end); none here.
    virtual int32_t countGamesInState(LocalGameState state);
    virtual GameRecord* findNthGameInState(int32_t n, LocalGameState state);
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
