#include "tools/server/ServerGames.h"

#include "tools/server/ServerRoutes.h"

#include "service/GameRecordReader.h"
#include "service/RequestHash.h"

#include <ctime>

namespace {

constexpr const char* cGameColumns =
    "id, creation_time, last_turn_time, creation_player, creation_method, "
    "current_turn_player, turn_count, was_matchmade, is_complete, state";
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
        std::string("INSERT OR REPLACE INTO games (") + cGameColumns +
        ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
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

std::vector<ServerGame> ServerGames::forPlayer(std::string_view nickname) {
    std::vector<ServerGame> games;
    SqlStatement query = mDatabase.prepare(
        std::string("SELECT ") + cGameColumns +
        ", last_turn_time IS NULL FROM games WHERE id IN "
        "(SELECT game_id FROM game_players WHERE name = ?) ORDER BY id");
    query.bind(1, nickname);
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

std::string gameElement(const ServerGame& game, bool withState) {
    std::string players;
    for (const ServerGamePlayer& player : game.mPlayers)
        players += xmlReply("player", playerAttributes(player));
    std::string inner = element("players", {}, players);
    if (withState && !game.mState.empty())
        inner += "<state>" + encodeBase64(game.mState) + "</state>";
    return element("Game", gameAttributes(game), inner);
}

std::string formatServerTime(int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}
