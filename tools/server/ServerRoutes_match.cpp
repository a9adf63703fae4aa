// Matchmaking: a stored queue of waiting players. A request finds the player
// who has waited longest, else the bot, and makes a matched game of the two
// without state (the first player to move builds it), each player with its
// civ and the waiting player (or the requester, against the bot) to move
// first; with no one to pair, the player waits.

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerBot.h"
#include "tools/server/ServerGames.h"
#include "tools/server/ServerRoutes.h"

#include "rules/GameRecord.h"

#include <optional>

namespace {

// The player who has waited longest other than nickname, taken off the
// queue, with its civ.
std::optional<std::pair<ServerAccount, std::string>>
takeWaiting(RouteContext& context, ServerAccounts& accounts, const std::string& nickname) {
    SqlStatement query = context.database.prepare(
        "SELECT seq, nickname, civ FROM match_queue WHERE nickname <> ? ORDER BY seq LIMIT 1");
    query.bind(1, nickname);
    if (!query.step())
        return std::nullopt;
    context.database.prepare("DELETE FROM match_queue WHERE seq = ?")
        .bind(1, query.columnInt64(0))
        .step();
    std::optional<ServerAccount> account = accounts.byNickname(query.columnText(1));
    if (!account)
        return std::nullopt;
    return std::make_pair(std::move(*account), query.columnText(2));
}

} // namespace

void addMatchRoutes(ServerRoutes& routes) {
    routes["Match/matchmake"] = forAccount([](RouteContext& context, ServerAccounts& accounts,
                                              const ServerAccount& account) {
        const std::string civ = context.field("civName");
        if (civ.empty())
            return errorReply("InvalidCiv");
        SqlStatement queued =
            context.database.prepare("SELECT 1 FROM match_queue WHERE nickname = ?");
        if (queued.bind(1, account.mNickname).step())
            return errorReply("AlreadyQueued");

        ServerGames games(context.database);
        ServerGame game;
        game.mId = games.newId();
        if (auto waiting = takeWaiting(context, accounts, account.mNickname)) {
            game.mPlayers = {newSeat(waiting->first, waiting->second), newSeat(account, civ)};
        } else if (context.bot != nullptr && context.bot->nickname() != account.mNickname) {
            const std::optional<ServerAccount> bot = accounts.byNickname(context.bot->nickname());
            if (!bot)
                return errorReply("InvalidPlayer");
            game.mPlayers = {newSeat(account, civ), newSeat(*bot, context.bot->pickCiv(game.mId))};
        } else {
            context.database.prepare("INSERT INTO match_queue (nickname, civ) VALUES (?, ?)")
                .bind(1, account.mNickname)
                .bind(2, civ)
                .step();
            return ServerReply{200, xmlReply("Success", {}, "Queued")};
        }
        game.mCreationTime = serverClock(context.database);
        game.mCreationPlayer = game.mPlayers[0].mName;
        game.mCreationMethod = creationMethodNames()[2];
        game.mWasMatchmade = 1;
        game.mCurrentTurnPlayer = game.mPlayers[0].mName;
        games.store(game);
        return ServerReply{200, gameElement(game, false)};
    });
}
