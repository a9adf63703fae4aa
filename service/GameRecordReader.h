#pragma once

// Reading the service's "Game" elements into GameRecords: the record's
// attributes, its "players" and "chats" lists and its "state", the base64
// text of the game-state blob. nickname is the client's login nickname; a
// player whose name equals it exactly is the local one.
//
// A read that fails may leave the record partly filled: the caller deletes a
// new record or removes a listed one. Reading into an existing record changes
// only what the element carries, except that "players", "chats" and "state"
// replace their parts whole. Nothing here throws.

#include "rules/GameRecord.h"

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// False on a null element, an "id", "turn_count" or "was_matchmade" out of
// range, an "is_complete" that is no boolean word, a date that does not
// read, or a failing player or chat.
bool parseGameRecord(GameRecord& record, const XmlNode* element, std::string_view nickname);
// Replace the record's players (chat lines) by every child element of
// "players" ("chats"); false for a null element or a child that fails.
bool parsePlayerList(const XmlNode* element, GameRecord& record, std::string_view nickname);
bool parseChatList(const XmlNode* element, GameRecord& record);
// position: the player's index in the list; 0 reads "home_color", others
// "away_color".
bool parsePlayerRecord(PlayerRecord& player, const XmlNode* element, int32_t position,
                       std::string_view nickname);
bool parseChatRecord(ChatRecord& chat, const XmlNode* element);
void clearPlayerList(GameRecord& record);
void clearChatList(GameRecord& record);

// Decodes base64 text whole with libb64's stream decoder, 65536 characters
// at a time (characters outside the alphabet are skipped).
std::vector<uint8_t> decodeBase64(std::string_view text);
// Encodes bytes with libb64's stream encoder, 65536 bytes at a time: lines
// of 72 characters, each ended by a line break, the last one too.
std::string encodeBase64(std::string_view bytes);
