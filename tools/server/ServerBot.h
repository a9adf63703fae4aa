#pragma once

// The opponent bot: an account of the loopback server that plays its side of
// its games with the rules' self-play. A thread of its own looks for the
// unfinished games in which the bot is active and to move whenever the
// server wakes it (after every committed request) and once at start; for
// each it plays one turn on the stored blob, stores the new blob and hands
// the turn back, and when the turn decides the game it ends it (the bot's
// loss Lost, the other player's LostNotSeen). A game that changed meanwhile
// is left as it is; a turn that cannot be played is reported once on
// standard error and not tried again.
//
// A game created against the bot is accepted at once, inside the request:
// the bot takes a random civ and completes the first state as a player
// accepting an invitation does. The bot's choices come from generators
// seeded by the game id and turn count, so a game replays alike.
//
// The rules are one model per process: every use of them here runs under
// rulesMutex, never taken while the bot waits for the database; other users
// of the rules in the process (tests) take it too.

#include "tools/server/ServerDatabase.h"
#include "tools/server/ServerGames.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>

class ServerBot {
public:
    ServerBot(ServerDatabase& database, std::string nickname);
    ServerBot(const ServerBot&) = delete;
    ServerBot& operator=(const ServerBot&) = delete;
    ~ServerBot();

    // Finds the bot's account by its nickname, creating one (with a random
    // password) when there is none, and starts the thread. False with a
    // message when the name cannot be an account's.
    bool start(std::string& error);
    void stop();
    // Asks the thread to look for games waiting for the bot.
    void wake();
    // The nickname as the bot's account has it.
    const std::string& nickname() const { return mNickname; }

    static std::mutex& rulesMutex();

    // A random civ name for the bot in that game; empty when the settings
    // hold no civ.
    std::string pickCiv(int64_t gameId) const;
    // Accepts game, whose state its creator set up: the bot's civ and its
    // first state on the blob. False (game unchanged) when the blob does not
    // load or the bot is not in the game.
    bool accept(ServerGame& game);

private:
    void run();
    void playWaitingGames();
    void playGame(int64_t id);

    ServerDatabase& mDatabase;
    std::string mNickname;
    std::thread mThread;
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mWoken = true;
    bool mStopping = false;
    // Games (id, turn count) whose turn could not be played.
    std::set<std::pair<int64_t, int64_t>> mFailed;
};
