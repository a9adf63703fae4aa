#include "tools/server/ServerGames.h"

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerRoutes.h"

#include "service/GameRecordReader.h"
#include "service/RequestHash.h"

#include "rules/GameRecord.h"

#include <strings.h>

#include <ctime>

namespace {

constexpr const char* cGameColumns =
    "id, creation_time, last_turn_time, creation_player, creation_method, "
    "current_turn_player, turn_count, was_matchmade, is_complete, state";
// The games in which the named player sits and has not deleted the game.
constexpr const char* cSeatedPlayer =
    "id IN (SELECT game_id FROM game_players WHERE name = ? AND lower(status) <> 'deleted')";
constexpr const char* cPlayerColumns =
    "name, status, substatus, civ, avatar, home_color, away_color, new_chat_count, "
    "play_taunt, build_version";

std::vector<ServerGamePlayer> playersOf(ServerDatabase& database, int64_t gameId) {
    std::vector<ServerGamePlayer> players;
    SqlStatement query = database.prepare(std::string("SELECT ") + cPlayerColumns +
                                          " FROM game_players WHERE game_id = ? ORDER BY seat");
    query.bind(1, gameId);
    while (query.step()) {
        ServerGamePlayer player;
        player.mName = query.columnText(0);
        player.mStatus = query.columnText(1);
        player.mSubstatus = query.columnText(2);
        player.mCiv = query.columnText(3);
        player.mAvatar = query.columnText(4);
        player.mHomeColor = query.columnInt64(5);
        player.mAwayColor = query.columnInt64(6);
        player.mNewChatCount = query.columnInt64(7);
        player.mPlayTaunt = query.columnInt64(8);
        player.mBuildVersion = query.columnInt64(9);
        players.push_back(std::move(player));
    }
    return players;
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

std::string element(std::string_view name, const Attributes& attributes, std::string_view inner) {
    std::string out = xmlReply(name, attributes);
    if (inner.empty())
        return out;
    out.resize(out.size() - 2); // "/>"
    out += '>';
    out += inner;
    out += "</";
    out += name;
    out += '>';
    return out;
}

Attributes gameAttributes(const ServerGame& game) {
    Attributes attributes = {
        {"id", std::to_string(game.mId)},
        {"creation_datetime", formatServerTime(game.mCreationTime)},
        {"last_turn_datetime", game.mLastTurnTime ? formatServerTime(*game.mLastTurnTime) : ""},
        {"creation_player", game.mCreationPlayer},
        {"creation_method", game.mCreationMethod},
        {"current_turn_player", game.mCurrentTurnPlayer},
        {"turn_count", std::to_string(game.mTurnCount)},
        {"was_matchmade", std::to_string(game.mWasMatchmade)},
        {"is_complete", game.mIsComplete ? "true" : "false"}};
    return attributes;
}

Attributes playerAttributes(const ServerGamePlayer& player) {
    return {{"name", player.mName},
            {"status", player.mStatus},
            {"substatus", player.mSubstatus},
            {"civ_name", player.mCiv},
            {"avatar", player.mAvatar},
            {"home_color", std::to_string(player.mHomeColor)},
            {"away_color", std::to_string(player.mAwayColor)},
            {"new_chat_count", std::to_string(player.mNewChatCount)},
            {"play_taunt", std::to_string(player.mPlayTaunt)},
            {"build_ver", std::to_string(player.mBuildVersion)}};
}

} // namespace

void ServerGames::store(const ServerGame& game) {
    mDatabase.prepare("DELETE FROM game_players WHERE game_id = ?").bind(1, game.mId).step();
    SqlStatement insert = mDatabase.prepare(
        std::string("INSERT INTO games (") + cGameColumns +
        ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (id) DO UPDATE SET "
        "creation_time = excluded.creation_time, last_turn_time = excluded.last_turn_time, "
        "creation_player = excluded.creation_player, creation_method = "
        "excluded.creation_method, current_turn_player = excluded.current_turn_player, "
        "turn_count = excluded.turn_count, was_matchmade = excluded.was_matchmade, "
        "is_complete = excluded.is_complete, state = excluded.state");
    insert.bind(1, game.mId).bind(2, game.mCreationTime);
    if (game.mLastTurnTime)
        insert.bind(3, *game.mLastTurnTime);
    insert.bind(4, game.mCreationPlayer)
        .bind(5, game.mCreationMethod)
        .bind(6, game.mCurrentTurnPlayer)
        .bind(7, game.mTurnCount)
        .bind(8, game.mWasMatchmade)
        .bind(9, game.mIsComplete ? 1 : 0)
        .bindBlob(10, game.mState)
        .step();
    for (size_t seat = 0; seat < game.mPlayers.size(); ++seat) {
        const ServerGamePlayer& player = game.mPlayers[seat];
        mDatabase
            .prepare(std::string("INSERT INTO game_players (game_id, seat, ") + cPlayerColumns +
                     ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, game.mId)
            .bind(2, static_cast<int64_t>(seat))
            .bind(3, player.mName)
            .bind(4, player.mStatus)
            .bind(5, player.mSubstatus)
            .bind(6, player.mCiv)
            .bind(7, player.mAvatar)
            .bind(8, player.mHomeColor)
            .bind(9, player.mAwayColor)
            .bind(10, player.mNewChatCount)
            .bind(11, player.mPlayTaunt)
            .bind(12, player.mBuildVersion)
            .step();
    }
}

std::vector<ServerGame> ServerGames::select(std::string_view where, int64_t id,
                                            std::string_view nickname) {
    std::vector<ServerGame> games;
    SqlStatement query =
        mDatabase.prepare(std::string("SELECT ") + cGameColumns +
                          ", last_turn_time IS NULL FROM games WHERE " + std::string(where));
    int index = 1;
    if (id >= 0)
        query.bind(index++, id);
    if (!nickname.empty())
        query.bind(index, nickname);
    while (query.step()) {
        ServerGame game;
        game.mId = query.columnInt64(0);
        game.mCreationTime = query.columnInt64(1);
        if (query.columnInt64(10) == 0)
            game.mLastTurnTime = query.columnInt64(2);
        game.mCreationPlayer = query.columnText(3);
        game.mCreationMethod = query.columnText(4);
        game.mCurrentTurnPlayer = query.columnText(5);
        game.mTurnCount = query.columnInt64(6);
        game.mWasMatchmade = query.columnInt64(7);
        game.mIsComplete = query.columnInt64(8) != 0;
        game.mState = query.columnText(9);
        games.push_back(std::move(game));
    }
    for (ServerGame& game : games)
        game.mPlayers = playersOf(mDatabase, game.mId);
    return games;
}

std::vector<ServerGame> ServerGames::forPlayer(std::string_view nickname) {
    return select(std::string(cSeatedPlayer) + " ORDER BY id", -1, nickname);
}

std::optional<ServerGame> ServerGames::find(int64_t id) {
    std::vector<ServerGame> games = select("id = ?", id, {});
    if (games.empty())
        return std::nullopt;
    return std::move(games.front());
}

std::optional<ServerGame> ServerGames::findFor(int64_t id, std::string_view nickname) {
    if (nickname.empty())
        return std::nullopt;
    std::vector<ServerGame> games =
        select(std::string("id = ? AND ") + cSeatedPlayer, id, nickname);
    if (games.empty())
        return std::nullopt;
    return std::move(games.front());
}

int64_t ServerGames::newId() {
    SqlStatement query = mDatabase.prepare("SELECT COALESCE(MAX(id), 0) + 1 FROM games");
    return query.step() ? query.columnInt64(0) : 1;
}

void ServerGames::remove(int64_t id) {
    for (const char* sql :
         {"DELETE FROM game_chats WHERE game_id = ?", "DELETE FROM game_turns WHERE game_id = ?",
          "DELETE FROM game_players WHERE game_id = ?", "DELETE FROM games WHERE id = ?"})
        mDatabase.prepare(sql).bind(1, id).step();
}

int64_t ServerGames::countActive(std::string_view nickname) {
    SqlStatement query = mDatabase.prepare(
        "SELECT COUNT(*) FROM game_players WHERE name = ? AND lower(status) = 'active'");
    query.bind(1, nickname);
    return query.step() ? query.columnInt64(0) : 0;
}

std::vector<int64_t> ServerGames::waitingFor(std::string_view nickname) {
    std::vector<int64_t> ids;
    SqlStatement query = mDatabase.prepare(
        "SELECT games.id FROM games JOIN game_players ON game_players.game_id = games.id "
        "WHERE game_players.name = ?1 AND lower(game_players.status) = 'active' AND "
        "games.is_complete = 0 AND games.current_turn_player = ?1 COLLATE NOCASE "
        "ORDER BY games.id");
    query.bind(1, nickname);
    while (query.step())
        ids.push_back(query.columnInt64(0));
    return ids;
}

void ServerGames::addChat(int64_t id, const ServerChat& chat) {
    mDatabase
        .prepare("INSERT INTO game_chats (game_id, sender, text, sent_time) VALUES (?, ?, ?, ?)")
        .bind(1, id)
        .bind(2, chat.mFrom)
        .bind(3, chat.mText)
        .bind(4, chat.mSentTime)
        .step();
}

std::vector<ServerChat> ServerGames::chats(int64_t id) {
    std::vector<ServerChat> lines;
    SqlStatement query = mDatabase.prepare(
        "SELECT sender, text, sent_time FROM game_chats WHERE game_id = ? ORDER BY id");
    query.bind(1, id);
    while (query.step())
        lines.push_back({query.columnText(0), query.columnText(1), query.columnInt64(2)});
    return lines;
}

void ServerGames::addTurnRecord(int64_t id, int64_t turn, std::string_view player,
                                std::string_view bytes) {
    mDatabase
        .prepare("INSERT OR REPLACE INTO game_turns (game_id, turn, player, record) "
                 "VALUES (?, ?, ?, ?)")
        .bind(1, id)
        .bind(2, turn)
        .bind(3, player)
        .bindBlob(4, bytes)
        .step();
}

std::vector<std::string> ServerGames::turnRecords(int64_t id) {
    std::vector<std::string> records;
    SqlStatement query =
        mDatabase.prepare("SELECT record FROM game_turns WHERE game_id = ? ORDER BY turn");
    query.bind(1, id);
    while (query.step())
        records.push_back(query.columnText(0));
    return records;
}

std::string gamesHash(const std::vector<ServerGame>& games) {
    // Every field with its length, so that no two lists read alike.
    std::string text;
    const auto add = [&text](std::string_view field) {
        text += std::to_string(field.size());
        text += ':';
        text += field;
    };
    for (const ServerGame& game : games) {
        for (const auto& [name, value] : gameAttributes(game))
            add(value);
        add(game.mState);
        for (const ServerGamePlayer& player : game.mPlayers)
            for (const auto& [name, value] : playerAttributes(player))
                add(value);
        text += ';';
    }
    return sha256Hex(text);
}

std::string gameElement(const ServerGame& game, bool withState,
                        const std::vector<ServerChat>* chats, const Attributes& extra) {
    std::string players;
    for (const ServerGamePlayer& player : game.mPlayers)
        players += xmlReply("player", playerAttributes(player));
    std::string inner = element("players", {}, players);
    if (chats != nullptr) {
        std::string lines;
        for (const ServerChat& chat : *chats)
            lines += xmlReply(
                "chat", {{"from", chat.mFrom}, {"sent_datetime", formatServerTime(chat.mSentTime)}},
                chat.mText);
        inner += "<chats>" + lines + "</chats>";
    }
    if (withState && !game.mState.empty())
        inner += "<state>" + encodeBase64(game.mState) + "</state>";
    Attributes attributes = gameAttributes(game);
    attributes.insert(attributes.end(), extra.begin(), extra.end());
    return element("Game", attributes, inner);
}

std::optional<ServerGame> requestedGame(const RouteContext& context, std::string_view field,
                                        std::string_view nickname, int& seat) {
    int64_t id = 0;
    if (!gameIdField(context, field, id))
        return std::nullopt;
    std::optional<ServerGame> game = ServerGames(context.database).findFor(id, nickname);
    seat = game ? seatOf(*game, nickname) : -1;
    if (seat < 0)
        return std::nullopt;
    return game;
}

RouteHandler forGame(std::string field, GameHandler handler) {
    return forAccount([field = std::move(field), handler = std::move(handler)](
                          RouteContext& context, ServerAccounts&, const ServerAccount& account) {
        int seat = -1;
        std::optional<ServerGame> game = requestedGame(context, field, account.mNickname, seat);
        if (!game)
            return errorReply("InvalidGameID");
        return handler(context, account, *game, seat);
    });
}

ServerGamePlayer newSeat(const ServerAccount& account, std::string civ) {
    ServerGamePlayer player;
    player.mName = account.mNickname;
    player.mCiv = std::move(civ);
    player.mAvatar = account.mAvatar;
    player.mHomeColor = account.mHomeColor;
    player.mAwayColor = account.mAwayColor;
    return player;
}

int seatOf(const ServerGame& game, std::string_view nickname) {
    for (size_t seat = 0; seat < game.mPlayers.size(); ++seat) {
        const std::string& name = game.mPlayers[seat].mName;
        if (name.size() == nickname.size() &&
            strncasecmp(name.data(), nickname.data(), name.size()) == 0)
            return static_cast<int>(seat);
    }
    return -1;
}

void passTurn(ServerGame& game, int seat, int64_t now) {
    if (game.mPlayers.size() == 2)
        game.mCurrentTurnPlayer = game.mPlayers[seat == 0 ? 1 : 0].mName;
    ++game.mTurnCount;
    game.mLastTurnTime = now;
}

void endGame(ServerGame& game, int winner, std::string_view bot) {
    game.mIsComplete = true;
    for (size_t seat = 0; seat < game.mPlayers.size(); ++seat) {
        ServerGamePlayer& player = game.mPlayers[seat];
        const bool inactive = gameStatusFromString(player.mStatus) == cGameInactive;
        if (winner < 0) {
            player.mStatus = gameStatusToString(cGameInactive);
        } else if (static_cast<int>(seat) == winner) {
            player.mStatus = gameStatusToString(cGameInactive);
            player.mSubstatus = playerSubstatusToString(cSubstatusWon);
        } else if (inactive || seatOf(game, bot) == static_cast<int>(seat)) {
            player.mStatus = gameStatusToString(cGameInactive);
            player.mSubstatus = playerSubstatusToString(cSubstatusLost);
        } else {
            player.mSubstatus = playerSubstatusToString(cSubstatusLostNotSeen);
        }
    }
}

std::string formatServerTime(int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}
