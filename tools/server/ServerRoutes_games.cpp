// Games: the player's games list, creating a game, a game's state, the two
// submit forms, accepting an invitation, status updates, another player's
// record and the wins per civ. A game is named by its id in the field each
// path expects ("gameid" or "gameID"); a game the player is not in, or has
// deleted, is "InvalidGameID".

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerBot.h"
#include "tools/server/ServerGames.h"
#include "tools/server/ServerRoutes.h"

#include "service/GameRecordReader.h"
#include "service/ServiceReply.h"

#include "rules/GameRecord.h"
#include "rules/ServerTurn.h"

#include <boost/archive/binary_iarchive.hpp>

#include <cstring>
#include <exception>
#include <memory>
#include <set>
#include <sstream>

namespace {

// Games in which a player is active, at most, before it may create another.
constexpr int64_t cMaxRunningGames = 40;

ServerReply success() {
    return {200, xmlReply("Success")};
}

// A status field: -1 for "none" (submit forms only), the status otherwise;
// 0 for a word the table does not hold.
int32_t statusField(const RouteContext& context, bool noneAllowed) {
    const std::string word = context.field("status");
    if (noneAllowed && (word.empty() || word == "none"))
        return -1;
    return gameStatusFromString(word);
}

// The optional "substatus": -1 when absent, 0 for a word the table does not
// hold.
int32_t substatusField(const RouteContext& context) {
    const std::string* word = context.request.field("substatus");
    return word == nullptr ? -1 : playerSubstatusFromString(*word);
}

// Sets a player's status and, when given, substatus.
void setStatus(ServerGamePlayer& player, int32_t status, int32_t substatus) {
    player.mStatus = gameStatusToString(status);
    if (substatus > 0)
        player.mSubstatus = playerSubstatusToString(substatus);
}

// Where a turn record's archive holds its command count (8 bytes): every
// field before it has a fixed size, so it is where the archives of a record
// without commands and of one with a command first differ.
size_t commandCountOffset() {
    static const size_t offset = [] {
        ServerGameCommand command;
        ServerTurn none;
        ServerTurn one;
        one.mCommands = {&command};
        const std::string noneBytes = none.toArchive();
        const std::string oneBytes = one.toArchive();
        size_t at = 0;
        while (at < noneBytes.size() && noneBytes[at] == oneBytes[at])
            ++at;
        return at;
    }();
    return offset;
}

// Reads a turn record's archive whole, giving its taunt flag; false when the
// bytes are not one. A command count that the bytes cannot hold (each
// command takes some) is refused before the archive would make room for it.
bool readTurnRecord(const std::string& bytes, int32_t& taunt) {
    const size_t at = commandCountOffset();
    uint64_t count = 0;
    if (bytes.size() < at + sizeof count)
        return false;
    std::memcpy(&count, bytes.data() + at, sizeof count);
    if (count > bytes.size())
        return false;
    ServerTurn turn;
    bool read = false;
    try {
        std::istringstream stream(bytes, std::ios::binary);
        boost::archive::binary_iarchive archive(stream);
        archive >> turn;
        read = stream.peek() == std::char_traits<char>::eof();
        taunt = turn.mTaunt;
    } catch (const std::exception&) {
        read = false;
    }
    // The reader owns the commands; one listed twice is one object.
    const std::set<ServerGameCommand*> commands(turn.mCommands.begin(), turn.mCommands.end());
    for (ServerGameCommand* command : commands)
        delete command;
    return read;
}

bool isBot(const RouteContext& context, const ServerGame& game, int seat) {
    return context.bot != nullptr && seat >= 0 && seatOf(game, context.bot->nickname()) == seat;
}

ServerReply createGame(RouteContext& context, ServerAccounts& accounts,
                       const ServerAccount& account) {
    const std::optional<ServerAccount> other = accounts.byNickname(context.field("invAccount"));
    if (other && other->mId == account.mId)
        return errorReply("DuplicatePlayer");
    if (!other)
        return errorReply("InvalidPlayer");
    ServerGames games(context.database);
    if (games.countActive(account.mNickname) >= cMaxRunningGames)
        return errorReply("TooManyGamesAlready");
    const std::vector<uint8_t> state = decodeBase64(context.field("state"));
    const std::string civ = context.field("civName");
    if (state.empty())
        return errorReply("InvalidState");
    if (civ.empty())
        return errorReply("InvalidCiv");

    ServerGame game;
    game.mId = games.newId();
    game.mCreationTime = serverClock(context.database);
    game.mCreationPlayer = account.mNickname;
    const std::string method = context.field("creationMethod");
    game.mCreationMethod = method.empty() ? creationMethodNames()[0] : method;
    game.mCurrentTurnPlayer = account.mNickname;
    game.mState.assign(state.begin(), state.end());
    game.mPlayers = {newSeat(account, civ), newSeat(*other, "")};
    int64_t build = 0;
    if (parseDecimal(context.field("clientBuildVersion"), build))
        game.mPlayers[0].mBuildVersion = build;
    // The bot accepts at once: its civ and first state go into the state.
    if (isBot(context, game, 1) && !context.bot->accept(game))
        return errorReply("InvalidState");
    games.store(game);
    return {200, gameElement(game, true)};
}

ServerReply submitTurn(RouteContext& context, ServerAccounts&, const ServerAccount& account) {
    // The second form carries the turn record in place of the state.
    const std::string* record = context.request.field("serverTurn");
    int seat = -1;
    std::optional<ServerGame> found =
        requestedGame(context, record != nullptr ? "gameID" : "gameid", account.mNickname, seat);
    if (!found)
        return errorReply("InvalidGameID");
    ServerGame& game = *found;
    if (seatOf(game, game.mCurrentTurnPlayer) != seat || game.mPlayers.size() != 2)
        return errorReply("NotYourTurn");
    const int32_t status = statusField(context, true);
    const int32_t substatus = substatusField(context);
    if (status == 0)
        return errorReply("InvalidStatus");
    if (substatus == 0)
        return errorReply("InvalidSubstatus");

    ServerGames games(context.database);
    ServerGamePlayer& player = game.mPlayers[static_cast<size_t>(seat)];
    ServerGamePlayer& opponent = game.mPlayers[seat == 0 ? 1 : 0];
    int32_t taunt = 0;
    if (record != nullptr) {
        const std::vector<uint8_t> bytes = decodeBase64(*record);
        const std::string archive(bytes.begin(), bytes.end());
        if (!readTurnRecord(archive, taunt))
            return errorReply("InvalidTurn");
        games.addTurnRecord(game.mId, game.mTurnCount, account.mNickname, archive);
    } else {
        const std::vector<uint8_t> state = decodeBase64(context.field("state"));
        if (state.empty())
            return errorReply("InvalidState");
        game.mState.assign(state.begin(), state.end());
        parseDecimal(context.field("tauntRequest"), taunt);
        int64_t build = 0;
        if (parseDecimal(context.field("clientBuildVersion"), build))
            player.mBuildVersion = build;
    }
    opponent.mPlayTaunt = taunt;
    if (status > 0)
        setStatus(player, status, substatus);
    if (context.field("iscomplete") == "1")
        game.mIsComplete = true;
    passTurn(game, seat, serverClock(context.database));
    if (status == cGameInactive && (substatus == cSubstatusWon || substatus == cSubstatusLost))
        endGame(game, substatus == cSubstatusWon ? seat : 1 - seat,
                context.bot != nullptr ? context.bot->nickname() : std::string());
    games.store(game);
    if (record != nullptr)
        return success();
    return {200, gameElement(game, false, nullptr, {{"play_taunt", std::to_string(taunt)}})};
}

ServerReply updatePlayerStatus(RouteContext& context, const ServerAccount&, ServerGame& game,
                               int seat) {
    const int32_t status = statusField(context, false);
    const int32_t substatus = substatusField(context);
    if (status == 0)
        return errorReply("InvalidStatus");
    if (substatus == 0)
        return errorReply("InvalidSubstatus");
    ServerGames games(context.database);
    setStatus(game.mPlayers[static_cast<size_t>(seat)], status, substatus);
    if (status == cGameDeleted) {
        // Gone for that player; gone whole once no one else keeps it.
        bool kept = false;
        for (size_t other = 0; other < game.mPlayers.size(); ++other)
            kept = kept || (static_cast<int>(other) != seat && !isBot(context, game, other) &&
                            gameStatusFromString(game.mPlayers[other].mStatus) != cGameDeleted);
        if (kept)
            games.store(game);
        else
            games.remove(game.mId);
        return success();
    }
    if (context.field("iscomplete") == "1")
        game.mIsComplete = true;
    if (substatus == cSubstatusResigned || substatus == cSubstatusDeclined) {
        game.mIsComplete = true;
        // The bot settles a resignation at once, as a client's follow-up does.
        const int other = 1 - seat;
        if (substatus == cSubstatusResigned && game.mPlayers.size() == 2 &&
            isBot(context, game, other))
            setStatus(game.mPlayers[static_cast<size_t>(other)], cGameInactive, cSubstatusWon);
    }
    games.store(game);
    return success();
}

} // namespace

void addGameRoutes(ServerRoutes& routes) {
    // The player's games without their states, and the list's hash; only the
    // hash when the client's "gameshash" is already the current one.
    routes["Game/getGameList"] =
        forAccount([](RouteContext& context, ServerAccounts&, const ServerAccount& account) {
            const std::vector<ServerGame> games =
                ServerGames(context.database).forPlayer(account.mNickname);
            const std::string hash = gamesHash(games);
            std::string body = xmlReply("Games", {{"hash", hash}});
            if (context.field("gameshash") != hash && !games.empty()) {
                body.resize(body.size() - 2); // "/>"
                body += '>';
                for (const ServerGame& game : games)
                    body += gameElement(game, false);
                body += "</Games>";
            }
            return ServerReply{200, body};
        });
    // A game against the player "invAccount", the creator to move first, with
    // the creator's first state; against the bot accepted at once.
    routes["Game/createGame"] = forAccount(&createGame);
    routes["Game/getUserRecordByNickname"] =
        forAccount([](RouteContext& context, ServerAccounts& accounts, const ServerAccount&) {
            const std::optional<ServerAccount> other =
                accounts.byNickname(context.field("invAccount"));
            if (!other)
                return errorReply("InvalidPlayer");
            return ServerReply{
                200, xmlReply("player", {{"nickname", other->mNickname},
                                         {"home_color", std::to_string(other->mHomeColor)},
                                         {"away_color", std::to_string(other->mAwayColor)},
                                         {"avatar", other->mAvatar}})};
        });
    routes["Game/getGameState"] =
        forGame("gameid", [](RouteContext&, const ServerAccount&, ServerGame& game, int) {
            return ServerReply{200, gameElement(game, true)};
        });
    // The player to move hands the turn on: with the new state ("state") or
    // with the turn record ("serverTurn"), which is kept as it came and not
    // played onto the state. The turn count rises by one; a status of
    // Inactive with Won or Lost ends the game.
    routes["Game/submitTurn"] = forAccount(&submitTurn);
    // The invited player's civ and the state with its first state.
    routes["Game/matchAccepted"] = forGame(
        "gameid", [](RouteContext& context, const ServerAccount&, ServerGame& game, int seat) {
            const std::string civ = context.field("civName");
            const std::vector<uint8_t> state = decodeBase64(context.field("state"));
            if (civ.empty())
                return errorReply("InvalidCiv");
            if (state.empty())
                return errorReply("InvalidState");
            game.mPlayers[static_cast<size_t>(seat)].mCiv = civ;
            game.mState.assign(state.begin(), state.end());
            ServerGames(context.database).store(game);
            return success();
        });
    // Deleted takes the game out of the player's list; other words set the
    // player's status and substatus. A resignation or a declined invitation
    // completes the game.
    routes["Game/updatePlayerStatus"] = forGame("gameid", &updatePlayerStatus);
    // <player><civs><civ name="" wins=""/>...</civs></player>: the player's
    // won games by civ.
    routes["Game/getMyWinStatsByCiv"] =
        forAccount([](RouteContext& context, ServerAccounts&, const ServerAccount& account) {
            SqlStatement query = context.database.prepare(
                "SELECT civ, COUNT(*) FROM game_players WHERE name = ? AND lower(substatus) = "
                "'won' AND civ <> '' GROUP BY lower(civ) ORDER BY lower(civ)");
            query.bind(1, account.mNickname);
            std::string civs;
            while (query.step())
                civs += xmlReply("civ", {{"name", query.columnText(0)},
                                         {"wins", std::to_string(query.columnInt64(1))}});
            return ServerReply{200, "<player><civs>" + civs + "</civs></player>"};
        });
}
