// The list of the player's games: ordered insertion, lookup by id, counts
// by the local player's state, removal, and the refresh from
// Game/getGameList with its hash and the protected record of the game on
// screen.

#include "service/WebService.h"

#include "service/GameRecordReader.h"
#include "service/ListNotifications.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <algorithm>
#include <cassert>
#include <optional>

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

bool protectAsyncGame() {
    return BConfig::instance().isSetById(cOptProtectAsyncGame);
}

} // namespace

void WebService::insertGame(std::unique_ptr<GameRecord> record) {
    if (record == nullptr)
        return;
    const GameLock lock(gameDataMutex());
    const int64_t time = record->mLastTurnTime;
    const auto at = std::find_if(mGames.begin(), mGames.end(), [time](const auto& listed) {
        return listed->mLastTurnTime >= time;
    });
    mGames.insert(at, std::move(record));
}

GameRecord* WebService::findGame(int64_t gameId) {
    assert(gameDataMutexHeldHere() && "findGame needs the game lock: use withGame");
    const GameLock lock(gameDataMutex());
    for (const std::unique_ptr<GameRecord>& record : mGames)
        if (record->mGameID == gameId)
            return record.get();
    return nullptr;
}

void WebService::removeGame(int64_t gameId) {
    const GameLock lock(gameDataMutex());
    purgeGameFromAll(gameId);
    const auto found = std::find_if(mGames.begin(), mGames.end(), [gameId](const auto& listed) {
        return listed->mGameID == gameId;
    });
    if (found != mGames.end())
        mGames.erase(found);
}

void WebService::clearGames(int64_t keepId) {
    const GameLock lock(gameDataMutex());
    // 0 keeps nothing: it is the id of no protected game.
    const bool protect = keepId != 0 && protectAsyncGame();
    for (std::unique_ptr<GameRecord>& record : mGames)
        if (protect && record->mGameID == keepId && mUnlistedGame.get() != record.get())
            mUnlistedGame = std::move(record);
    mGames.clear();
}

int32_t WebService::countGamesInState(LocalGameState state) {
    const std::string name = nickname();
    const GameLock lock(gameDataMutex());
    return static_cast<int32_t>(
        std::count_if(mGames.begin(), mGames.end(), [&](const auto& record) {
            return record->getLocalPlayerGameState(name) == state;
        }));
}

GameRecord* WebService::findNthGameInState(int32_t n, LocalGameState state) {
    assert(gameDataMutexHeldHere() && "findNthGameInState needs the game lock");
    const std::string name = nickname();
    const GameLock lock(gameDataMutex());
    for (const std::unique_ptr<GameRecord>& record : mGames)
        if (record->getLocalPlayerGameState(name) == state && n-- == 0)
            return record.get();
    return nullptr;
}

void WebService::gameOnScreenChanged(int64_t gameId) {
    const GameLock lock(gameDataMutex());
    if (mUnlistedGame != nullptr && mUnlistedGame->mGameID != gameId)
        mUnlistedGame.reset();
}

void WebService::relistProtected(GameRecord* kept, const GameRecord& fresh) {
    std::unique_ptr<GameRecord> owned;
    if (mUnlistedGame.get() == kept) {
        owned = std::move(mUnlistedGame);
    } else {
        // Still listed (the reply did not clear the list): taken out so that
        // it is listed once, at the place of its new time.
        const auto found = std::find_if(mGames.begin(), mGames.end(),
                                        [kept](const auto& listed) { return listed.get() == kept; });
        if (found == mGames.end())
            return;
        owned = std::move(*found);
        mGames.erase(found);
    }
    owned->copyFrom(&fresh);
    insertGame(std::move(owned));
}

int WebService::getGameList() {
    std::string sentHash;
    {
        const GameLock lock(gameDataMutex());
        sentHash = mGamesHash;
    }
    const RequestStamp stamp = this->stamp(Endpoint::GetGameList);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "gameshash", sentHash);
    const bool delivered = request();
    const ServiceReply reply(request, delivered);
    return readGameList(reply.root());
}

int WebService::readGameList(const XmlNode* root) {
    if (root == nullptr)
        return cReplyOther;
    if (xmlNameEquals(root, "Error"))
        return xmlValueEquals(root, "NotLoggedIn") ? cReplyError : cReplyOther;
    if (!xmlNameEquals(root, "Games"))
        return cReplyOther;

    const int64_t protectedId = mProtectedGameId.load();
    const bool protect = protectAsyncGame();
    const std::string name = nickname();
    std::string oldHash;
    std::string newHash;
    {
        const GameLock lock(gameDataMutex());
        oldHash = mGamesHash;
        GameRecord* kept = protectedId != 0 ? findGame(protectedId) : nullptr;
        std::optional<std::vector<uint8_t>> keptState;
        if (kept != nullptr && kept->mStateData != nullptr)
            keptState.emplace(kept->mStateData.get(), kept->mStateData.get() + kept->mStateSize);

        const XmlNode* first = root->first_node();
        while (first != nullptr && first->type() != rapidxml::node_element)
            first = first->next_sibling();
        if (first != nullptr && xmlNameEquals(first, "Game"))
            clearGames(protect ? protectedId : 0);
        if (const XmlAttribute* hash = xmlFindAttribute(root, "hash"))
            mGamesHash.assign(hash->value(), hash->value_size());

        for (const XmlNode* child = root->first_node("Game"); child != nullptr;
             child = child->next_sibling("Game")) {
            auto record = std::make_unique<GameRecord>();
            if (!parseGameRecord(*record, child, name))
                continue;
            if (protect && kept != nullptr && record->mGameID == protectedId) {
                relistProtected(kept, *record);
                kept = nullptr;
                continue;
            }
            insertGame(std::move(record));
        }

        if (keptState) {
            if (GameRecord* listed = findGame(protectedId))
                listed->setState(keptState->data(), static_cast<int32_t>(keptState->size()));
        }
        newHash = mGamesHash;
    }
    postListNotification(oldHash == newHash ? "AsyncGamesListUpdatedAndUnchanged"
                                            : "AsyncGamesListUpdated");
    return cReplySuccess;
}
