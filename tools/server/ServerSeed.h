#pragma once

// The seed of a new database: an XML file whose root "ServerSeed" holds one
// element per thing to store, each read by the handler of its name, e.g.
//   <ServerSeed><Setting name="clockOffset" value="-30"/></ServerSeed>
// Areas of the service add their element names to seedHandlers.

#include "tools/server/ServerDatabase.h"

#include "content/XMLHelper.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>

using SeedHandler = std::function<void(ServerDatabase&, const XmlNode&)>;

// Element name to handler.
const std::map<std::string, SeedHandler, std::less<>>& seedHandlers();

// Stores every element of the seed file; throws ServerDatabaseError for an
// unreadable file, broken XML, another root or an unknown element.
void applyServerSeed(ServerDatabase& database, const std::filesystem::path& file);
