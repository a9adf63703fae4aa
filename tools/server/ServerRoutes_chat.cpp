// Game chat: the lines of a game, each from a player at a server time. A
// posted line raises the other player's "new_chat_count"; fetching the
// lines sets the reader's back to 0.

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerGames.h"
#include "tools/server/ServerRoutes.h"

#include <algorithm>

namespace {

constexpr size_t cMaxChatBytes = 1024;

// A line of 1 to cMaxChatBytes bytes without control characters other than
// tabs and line breaks.
bool validChat(std::string_view text) {
    return !text.empty() && text.size() <= cMaxChatBytes &&
           std::none_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f;
           });
}

} // namespace

void addChatRoutes(ServerRoutes& routes) {
    // The game with its "chats" (no state).
    routes["Chat/getGameChats"] = forGame(
        "gameID", [](RouteContext& context, const ServerAccount&, ServerGame& game, int seat) {
            ServerGames games(context.database);
            game.mPlayers[static_cast<size_t>(seat)].mNewChatCount = 0;
            games.store(game);
            const std::vector<ServerChat> chats = games.chats(game.mId);
            return ServerReply{200, gameElement(game, false, &chats)};
        });
    routes["Chat/addGameChat"] =
        forGame("gameid", [](RouteContext& context, const ServerAccount& account, ServerGame& game,
                             int seat) {
            const std::string text = context.field("chat");
            if (!validChat(text))
                return errorReply("InvalidChat");
            ServerGames games(context.database);
            games.addChat(game.mId, {account.mNickname, text, serverClock(context.database)});
            for (size_t other = 0; other < game.mPlayers.size(); ++other)
                if (static_cast<int>(other) != seat)
                    ++game.mPlayers[other].mNewChatCount;
            games.store(game);
            return ServerReply{200, xmlReply("Success")};
        });
}
