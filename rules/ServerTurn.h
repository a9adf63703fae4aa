#pragma once

// The compact record of a submitted turn: the client's build number, the
// player, whether the player taunts, the turn count, the game's completion
// flag and the turn's commands in drop order. The commands stay the game's:
// a ServerTurn only lists them, and destroying it frees the list alone (a
// turn read back from an archive leaves its commands to the reader).
//
// Saved (class version 0, as are the commands) as a boost binary archive:
// the build number (8 bytes), player, taunt flag, turn and complete flag,
// then the command vector through pointers. The serialize operations are
// instantiated for boost's binary_oarchive and binary_iarchive.

#include "rules/ServerGameCommand.h"

#include <cstdint>
#include <string>
#include <vector>

class Game;

// The client's build version: the version check sends it as "buildVer", the
// game requests as "clientBuildVersion", and a turn record carries it.
inline constexpr int64_t kClientBuildVersion = 1039;

class ServerTurn {
public:
    static constexpr uint64_t cBuildNumber = kClientBuildVersion;

    ServerTurn() = default;
    // The record of the game's turn as it is submitted: its current player,
    // the taunt flag (the player has queued taunts), its turn count, the
    // completion flag of its record on the game service (0 without one) and
    // its commands.
    explicit ServerTurn(const Game& game);
    virtual ~ServerTurn() = default;

    // The binary archive of the record, with the archive's standard header.
    std::string toArchive() const;

    template <class Archive> void serialize(Archive& ar, unsigned version);

    uint64_t mBuildNumber = cBuildNumber;
    int32_t mPlayer = -1;
    int32_t mTaunt = 0;
    int32_t mTurn = 0;
    int32_t mComplete = 0;
    std::vector<ServerGameCommand*> mCommands; // not owned
};
