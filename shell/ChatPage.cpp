#include "shell/ChatPage.h"

#include "shell/CocosV8Handler.h"
#include "shell/GamesListPage.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"

#include "scene/views/ImagePaths.h"
#include "service/WebService.h"

#include <mutex>
#include <string>

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

// One player's four arguments of prepChat: name, avatar address, the
// avatar's colour image and the colour index.
std::string chatPlayerArguments(const PlayerRecord& player) {
    std::string colourImage;
    findColorImagePath(player.mAvatar, colourImage);
    return "'" + escapedForPage(player.mName) + "', 'tarnwick://data/" +
           escapedForPage(player.mAvatar) + "', '" + escapedForPage(colourImage) + "'," +
           std::to_string(player.mColor);
}

} // namespace

void refreshChat(CocosV8Handler& handler, int64_t gameId, bool force) {
    WebService& service = handler.service();
    // Held across the fetch, so the page never sees a half-read record.
    const GameLock lock(gameDataMutex());
    const GameRecord* record = service.findGame(gameId);
    if (record == nullptr)
        return;
    const PlayerRecord* local = record->getLocalPlayer();
    if (local == nullptr || (!force && local->mNewChatCount <= 0))
        return;
    // A failed fetch still redraws from the record; one that could not read
    // the game removed it, and the record in hand with it.
    service.getGameChats(gameId);
    record = service.findGame(gameId);
    if (record == nullptr)
        return;
    PlayerRecord* reader = record->getLocalPlayer();
    if (reader == nullptr)
        return;
    runInPage("$('#ChatText').empty();");
    const std::string& firstName = record->mPlayers.front()->mName;
    for (auto line = record->mChats.rbegin(); line != record->mChats.rend(); ++line) {
        // The side follows the seats: 1 marks the first player's lines.
        const char* side = (*line)->mFrom == firstName ? "1" : "0";
        runInPage("showChat(\"" + std::string(side) + "\", \"" + escapedForPage((*line)->mText) +
                  "\");");
    }
    runInPage("$('#ChatText').scrollTop(10000);");
    if (reader->mNewChatCount > 0)
        runInPage("$('#ChatText').scrollTop(10000);");
    reader->mNewChatCount = 0;
    addGameEntry(*record, record->getLocalPlayerGameState(service.nickname()));
}

void prepChat(CocosV8Handler& handler, int64_t gameId, bool flag) {
    const GameLock lock(gameDataMutex());
    const GameRecord* record = handler.service().findGame(gameId);
    if (record == nullptr || record->mPlayers.size() < 2)
        return;
    runInPage("prepChat(" + chatPlayerArguments(*record->mPlayers[0]) + "," +
              chatPlayerArguments(*record->mPlayers[1]) + ", " + (flag ? "1" : "0") + ");");
}
