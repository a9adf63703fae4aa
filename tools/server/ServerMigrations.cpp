#include "tools/server/ServerDatabase.h"

// Append new steps at the end with the next version; never edit a step that
// has shipped, since existing files have already run it.
const std::vector<ServerMigration>& serverMigrations() {
    static const std::vector<ServerMigration> migrations = {
        {1, "CREATE TABLE server_settings ("
            "  name TEXT PRIMARY KEY NOT NULL,"
            "  value TEXT NOT NULL)"},
        {2, "CREATE TABLE accounts ("
            "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
            "  login TEXT NOT NULL UNIQUE COLLATE NOCASE,"
            "  password TEXT NOT NULL,"
            "  nickname TEXT NOT NULL UNIQUE COLLATE NOCASE,"
            "  auth_key TEXT NOT NULL DEFAULT '',"
            "  home_color INTEGER NOT NULL DEFAULT 0,"
            "  away_color INTEGER NOT NULL DEFAULT 0,"
            "  avatar TEXT NOT NULL DEFAULT 'AVATAR_COUNCIL_FREE|0',"
            "  steam_id TEXT NOT NULL DEFAULT '');"
            "CREATE INDEX accounts_auth_key ON accounts (auth_key);"
            "CREATE INDEX accounts_steam_id ON accounts (steam_id);"
            "CREATE TABLE news ("
            "  id INTEGER PRIMARY KEY,"
            "  title TEXT NOT NULL,"
            "  body TEXT NOT NULL)"},
    };
    return migrations;
}
