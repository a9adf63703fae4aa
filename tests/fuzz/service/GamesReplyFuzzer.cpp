// Reads arbitrary bytes as the reply of Game/getGameList into the client's
// games list (records, players, chats, base64 states), twice, the second time
// protecting a listed game, then asks the list's queries.

#include "service/WebService.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <cstdint>
#include <string_view>

namespace {

WebService& client() {
    static WebService instance;
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WebService& games = client();
    games.setNickname("alice");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool protect = size > 0 && (data[0] & 1) != 0;
    if (protect)
        BConfig::instance().setIntById(cOptProtectAsyncGame, 1);
    else
        BConfig::instance().unset("ProtectAsyncGame");

    for (int pass = 0; pass < 2; ++pass) {
        XMLHelper holder;
        holder.setText(bytes);
        XmlNode* root = nullptr;
        if (!holder.parse(root))
            root = nullptr;
        games.readGameList(root);
        // The second pass keeps the first listed game's record alive.
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        games.mProtectedGameId = games.mGames.empty() ? 0 : games.mGames.front()->mGameID;
    }

    for (const LocalGameState state : {cNotInGame, cMyTurn, cOpponentsTurn, cNotActive}) {
        const int32_t count = games.countGamesInState(state);
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        for (int32_t n = 0; n <= count; ++n)
            if (GameRecord* record = games.findNthGameInState(n, state)) {
                record->getLocalPlayer();
                record->getOpponent();
                gameStatusToString(record->mPlayers.empty() ? -1
                                                            : record->mPlayers[0]->mStatus);
            }
    }
    games.mProtectedGameId = 0;
    games.gameOnScreenChanged(0);
    games.clearGames(0);
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        games.mGamesHash.clear();
    }
    return 0;
}
