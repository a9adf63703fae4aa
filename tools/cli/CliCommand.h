// The commands of tarnwick-cli and the helpers they share. Each command lives
// in a file of its own and is listed in the command table of main.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Entity;

using CliArguments = std::vector<std::string_view>;

// Prints the usage of every command to stderr; returns the exit code 2.
int usage();

// The game-data steps of start-up, with the puzzle scripts' support
// installed first: every loader runs, a failing one prints its line; false
// (after the localised "Game Data Corrupt") when one failed. The sound
// setting and the sound sets load too; only with soundDevice does audio reach
// the sound device (else SDL's dummy driver takes it).
bool loadGameData(bool soundDevice = false);

const char* onOff(bool value);

// The proto name of an entity, "?" when it has none.
std::string protoName(const Entity* entity);

// The civ id named by a command argument; false (with a message) when no civ
// has that name.
bool civArgument(std::string_view name, int32_t& civId);

// A whole non-negative number; false for any other text.
bool numberArgument(std::string_view text, int32_t& out);

int runContent(const CliArguments& arguments);
int runOptions(const CliArguments& arguments);
int runStrings(const CliArguments& arguments);
int runProtos(const CliArguments& arguments);
int runPuppets(const CliArguments& arguments);
int runPuppet(const CliArguments& arguments);
int runSettings(const CliArguments& arguments);
int runNewGame(const CliArguments& arguments);
int runSelfPlay(const CliArguments& arguments);
int runSound(const CliArguments& arguments);
