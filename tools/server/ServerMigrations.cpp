#include "tools/server/ServerDatabase.h"

// Append new steps at the end with the next version; never edit a step that
// has shipped, since existing files have already run it.
const std::vector<ServerMigration>& serverMigrations() {
    static const std::vector<ServerMigration> migrations = {
        {1, "CREATE TABLE server_settings ("
            "  name TEXT PRIMARY KEY NOT NULL,"
            "  value TEXT NOT NULL)"},
    };
    return migrations;
}
