#pragma once

// The game's content for the opponent bot, read as the command-line tool
// reads it: the language and its strings, the protos and the settings from
// the base folder's data/ (content/DataPath.h). Headless: sounds go to no
// device and stay silent.

#include <string>

// False with a message when a part of the content does not load.
bool loadServerContent(std::string& error);
