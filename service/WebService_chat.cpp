// A game's chat: fetching the game with its lines, posting one line.

#include "service/WebService.h"

#include "service/ServerRequest.h"
#include "service/ServiceReply.h"

int WebService::getGameChats(int64_t gameId) {
    const RequestStamp stamp = this->stamp(Endpoint::GetGameChats);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "gameID", std::to_string(gameId));
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;
    if (!reply.rootIs("Game"))
        return reply.notLoggedInResult("Game");
    // A game whose lines do not read is dropped, and the fetch failed.
    return adoptGame(gameId, reply.root()) ? 0 : 2;
}

int WebService::addGameChat(int64_t gameId, const std::string& text) {
    const RequestStamp stamp = this->stamp(Endpoint::AddGameChat);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormInt64("gameid", gameId);
    request.addFormString("chat", text);
    stamp.addSignature(request);
    const PerformedRequest performed(request);
    return performed.reply.notLoggedInResult("Success");
}
