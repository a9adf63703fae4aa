// Games: the player's games list.

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerGames.h"
#include "tools/server/ServerRoutes.h"

void addGameRoutes(ServerRoutes& routes) {
    // The player's games without their states, and the list's hash; only the
    // hash when the client's "gameshash" is already the current one.
    routes["Game/getGameList"] = forAccount(
        [](RouteContext& context, ServerAccounts&, const ServerAccount& account) {
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
}
