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
        {3, "CREATE TABLE games ("
            "  id INTEGER PRIMARY KEY,"
            "  creation_time INTEGER NOT NULL,"
            "  last_turn_time INTEGER,"
            "  creation_player TEXT NOT NULL,"
            "  creation_method TEXT NOT NULL DEFAULT 'CUSTOM',"
            "  current_turn_player TEXT NOT NULL DEFAULT '',"
            "  turn_count INTEGER NOT NULL DEFAULT 0,"
            "  was_matchmade INTEGER NOT NULL DEFAULT 0,"
            "  is_complete INTEGER NOT NULL DEFAULT 0,"
            "  state BLOB NOT NULL DEFAULT x'');"
            "CREATE TABLE game_players ("
            "  game_id INTEGER NOT NULL REFERENCES games (id) ON DELETE CASCADE,"
            "  seat INTEGER NOT NULL,"
            "  name TEXT NOT NULL COLLATE NOCASE,"
            "  status TEXT NOT NULL DEFAULT 'active',"
            "  substatus TEXT NOT NULL DEFAULT 'none',"
            "  civ TEXT NOT NULL DEFAULT '',"
            "  avatar TEXT NOT NULL DEFAULT 'AVATAR_COUNCIL_FREE|0',"
            "  home_color INTEGER NOT NULL DEFAULT 0,"
            "  away_color INTEGER NOT NULL DEFAULT 0,"
            "  new_chat_count INTEGER NOT NULL DEFAULT 0,"
            "  play_taunt INTEGER NOT NULL DEFAULT 0,"
            "  build_version INTEGER NOT NULL DEFAULT 0,"
            "  PRIMARY KEY (game_id, seat));"
            "CREATE INDEX game_players_name ON game_players (name)"},
    };
    return migrations;
}
