// The game requests: creating, matching, accepting, fetching, submitting and
// settling games, another player's record and the local player's wins.

#include "service/WebService.h"

#include "service/GameRecordReader.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"

#include "rules/Game.h"

#include "content/AvatarPack.h"
#include "content/settings/SettingsManager.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

std::atomic<bool> gGameInitFailed{false};

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

std::string_view asText(const uint8_t* bytes, int32_t size) {
    return {reinterpret_cast<const char*>(bytes), static_cast<size_t>(size)};
}

// The submit forms send -1 as "none".
void addSubmitStatus(ServerRequest& request, int32_t status) {
    if (status == -1)
        request.addFormStatusNone();
    else
        request.addFormString("status", gameStatusToString(status));
}

// A negative substatus is not sent.
void addSubstatus(ServerRequest& request, int32_t substatus) {
    if (substatus >= 0)
        request.addFormString("substatus", playerSubstatusToString(substatus));
}

// The first child element of element; null when it has none.
const XmlNode* firstChildElement(const XmlNode* element) {
    const XmlNode* child = element->first_node();
    while (child != nullptr && child->type() != rapidxml::node_element)
        child = child->next_sibling();
    return child;
}

} // namespace

bool WebService::adoptGame(int64_t gameId, const XmlNode* element) {
    const std::string name = nickname();
    // Held across the lookup and the read: the games-list worker may
    // otherwise delete the record in between.
    const GameLock lock(gameDataMutex());
    if (GameRecord* listed = findGame(gameId)) {
        if (parseGameRecord(*listed, element, name))
            return true;
        removeGame(gameId);
        return false;
    }
    auto record = std::make_unique<GameRecord>();
    if (!parseGameRecord(*record, element, name))
        return false;
    insertGame(std::move(record));
    return true;
}

WebService::ReturnedGame WebService::adoptReturnedGame(const XmlNode& element, int64_t& gameId) {
    int64_t id = -1;
    if (!replyAttributeDecimal(element, "id", id))
        return ReturnedGame::NoId;
    gameId = id;
    return adoptGame(id, &element) ? ReturnedGame::Listed : ReturnedGame::Unread;
}

int32_t WebService::isCompleteFlag(int64_t gameId) {
    return withGame(gameId, [](const GameRecord* record) {
        return record != nullptr && record->mIsComplete ? 1 : 0;
    });
}

int WebService::createGame(const std::string& opponent, const std::string& civName,
                           const uint8_t* state, int32_t stateSize, int64_t& gameId) {
    gameId = -1;
    if (state == nullptr || stateSize <= 0)
        return 1;
    if (countGamesInState(cOpponentsTurn) + countGamesInState(cMyTurn) >= kMaxRunningGames)
        return 5;

    const RequestStamp stamp = this->stamp(Endpoint::CreateGame);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormString("invAccount", opponent);
    request.addFormString("civName", civName);
    request.addFormInt("wasRematch", 0);
    request.addFormInt64("rematchGameID", 0);
    request.addFormInt64("clientBuildVersion", kClientBuildVersion);
    request.addFormString("creationMethod", creationMethodNames()[0]);
    stamp.addSignature(request);
    request.addFormString("state", encodeBase64(asText(state, stateSize)));
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (reply.rootIs("Game"))
        return adoptReturnedGame(*reply.root(), gameId) == ReturnedGame::Listed ? 0 : 1;
    if (!reply.rootIs("Error"))
        return 1;
    const struct {
        const char* text;
        int code;
    } errors[] = {{"InvalidCurrentTurnPlayer", 4},
                  {"InvalidPlayer", 4},
                  {"NotLoggedIn", 2},
                  {"DuplicatePlayer", 3},
                  {"TooManyGamesAlready", 5}};
    for (const auto& error : errors)
        if (reply.rootTextIs(error.text))
            return error.code;
    return 1;
}

int WebService::matchmake(const std::string& civName, int64_t& gameId) {
    gameId = -1;
    const RequestStamp stamp = this->stamp(Endpoint::Matchmake);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "civName", civName);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    // Without a usable id nothing was matched: 1 would open no game.
    if (reply.rootIs("Game"))
        return adoptReturnedGame(*reply.root(), gameId) == ReturnedGame::Listed ? 1 : 2;
    if (reply.rootIs("Success"))
        return reply.rootTextIs("Queued") ? 0 : 2;
    if (reply.rootIs("Error")) {
        if (reply.rootTextIs("NotLoggedIn"))
            return 3;
        if (reply.rootTextIs("AlreadyQueued"))
            return 4;
    }
    return 2;
}

int WebService::matchAccepted(const std::string& civName, int64_t gameId, const uint8_t* state,
                              int32_t stateSize) {
    if (state == nullptr || stateSize <= 0)
        return 2;
    const RequestStamp stamp = this->stamp(Endpoint::MatchAccepted);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormString("civName", civName);
    request.addFormInt64("gameid", gameId);
    stamp.addSignature(request);
    request.addFormString("state", encodeBase64(asText(state, stateSize)));
    const PerformedRequest performed(request);
    return performed.reply.notLoggedInResult("Success");
}

int WebService::getGameState(int64_t gameId) {
    const auto start = std::chrono::steady_clock::now();
    const RequestStamp stamp = this->stamp(Endpoint::GetGameState);
    ServerRequest request(stamp.mUrl);
    request.addFormInt64("gameid", gameId);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (!reply.rootIs("Game"))
        return reply.notLoggedInResult("Game");
    if (!adoptGame(gameId, reply.root()))
        return 2;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("retrieved game in %0.3f sec\n", elapsed.count());
    return 0;
}

int WebService::submitTurn(int64_t gameId, const uint8_t* state, int32_t stateSize,
                           int32_t& tauntRequest, int32_t turnCount, int32_t status,
                           int32_t substatus) {
    if (state == nullptr || stateSize <= 0 || gGameInitFailed)
        return 2;
    const RequestStamp stamp = this->stamp(Endpoint::SubmitTurn);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormInt64("gameid", gameId);
    request.addFormInt("tauntRequest", tauntRequest);
    request.addFormInt64("clientBuildVersion", kClientBuildVersion);
    request.addFormInt("currentTurnCount", turnCount);
    stamp.addSignature(request);
    request.addFormString("state", encodeBase64(asText(state, stateSize)));
    addSubmitStatus(request, status);
    addSubstatus(request, substatus);
    request.addFormInt("iscomplete", isCompleteFlag(gameId));
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (!reply.rootIs("Game"))
        return reply.notLoggedInResult("Game");
    int64_t id = -1;
    if (!replyAttributeDecimal(*reply.root(), "id", id) ||
        reply.attribute("current_turn_player") == nullptr)
        return 2;
    const std::string name = nickname();
    withGame(gameId, [&](GameRecord* record) {
        if (record == nullptr)
            return;
        // The element's read may fail part way: the record still holds the
        // turn the service took.
        parseGameRecord(*record, reply.root(), name);
        record->setState(state, stateSize);
    });
    // The turn is stored: a reply without "play_taunt" asks for no taunt.
    int32_t playTaunt = 0;
    if (reply.attribute("play_taunt") != nullptr &&
        !replyAttributeDecimal(*reply.root(), "play_taunt", playTaunt))
        return 2;
    tauntRequest = playTaunt;
    getGameList();
    return 0;
}

int WebService::submitServerTurn(int64_t gameId, const ServerTurn& turn, int32_t status,
                                 int32_t substatus) {
    if (gGameInitFailed)
        return 2;
    std::string archive;
    try {
        archive = turn.toArchive();
    } catch (const std::exception& error) {
        std::printf("submitServerTurn: the turn record was not written: %s\n", error.what());
        return 2;
    }
    const RequestStamp stamp = this->stamp(Endpoint::SubmitTurn);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    request.addFormInt64("gameID", gameId);
    addSubmitStatus(request, status);
    addSubstatus(request, substatus);
    request.addFormString("serverTurn", encodeBase64(archive));
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (!reply.rootIs("Success"))
        return reply.notLoggedInResult("Success");
    withGame(gameId, [](GameRecord* record) {
        // Not the local player's turn until the next refresh says so.
        if (PlayerRecord* local = record != nullptr ? record->getLocalPlayer() : nullptr)
            local->mStatus = cGameNoStatus;
    });
    return 0;
}

int WebService::updatePlayerStatus(int64_t gameId, int32_t status, int32_t substatus) {
    const RequestStamp stamp = this->stamp(Endpoint::UpdatePlayerStatus);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    request.addFormInt64("gameid", gameId);
    request.addFormString("status", gameStatusToString(status));
    stamp.addSignature(request);
    addSubstatus(request, substatus);
    request.addFormInt("iscomplete", isCompleteFlag(gameId));
    const PerformedRequest performed(request);
    if (!performed.reply.rootIs("Success"))
        return 2;
    if (status == cGameDeleted)
        removeGame(gameId);
    getGameList();
    return 0;
}

int WebService::getUserRecordByNickname(const std::string& accountName, std::string& outNickname,
                                        int32_t& outHomeColor, int32_t& outAwayColor,
                                        std::string& outAvatar) {
    const RequestStamp stamp = this->stamp(Endpoint::GetUserRecordByNickname);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "invAccount", accountName);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (reply.rootIs("Error") && reply.rootTextIs("InvalidPlayer"))
        return 2;
    if (!reply.rootIs("player"))
        return 1;
    const XmlNode& root = *reply.root();
    if (!xmlAttrString(&root, "nickname", outNickname) ||
        !replyAttributeDecimal(root, "home_color", outHomeColor) ||
        !replyAttributeDecimal(root, "away_color", outAwayColor))
        return 1;
    const char* avatar = reply.attribute("avatar");
    if (avatar == nullptr)
        return 1;
    outAvatar = parseAvatarString(avatar);
    return 0;
}

int WebService::getMyWinStatsByCiv(std::vector<int64_t>& wins) {
    const SettingsManager& settings = SettingsManager::instance();
    wins.assign(settings.mCivs.size(), 0);
    const RequestStamp stamp = this->stamp(Endpoint::GetMyWinStatsByCiv);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;

    if (!reply.rootIs("player"))
        return 1;
    const XmlNode* list = firstChildElement(reply.root());
    if (list == nullptr)
        return 0;
    for (const XmlNode* civ = list->first_node("civ"); civ != nullptr;
         civ = civ->next_sibling("civ")) {
        std::string name;
        xmlAttrString(civ, "name", name);
        const int32_t index = settings.civIndexForName(name);
        if (index < 0 || static_cast<size_t>(index) >= wins.size())
            continue;
        int64_t count = 0;
        if (!replyAttributeDecimal(*civ, "wins", count))
            count = 0;
        wins[static_cast<size_t>(index)] = count;
    }
    return 0;
}

bool WebService::followUpGameStatus(int64_t gameId) {
    struct Seen {
        int32_t localStatus = cGameNoStatus;
        int32_t localSubstatus = cSubstatusUnknown;
        int32_t opponentSubstatus = cSubstatusUnknown;
    };
    const std::optional<Seen> seen = withGame(gameId, [](const GameRecord* record) {
        std::optional<Seen> players;
        if (record == nullptr)
            return players;
        players.emplace();
        if (const PlayerRecord* local = record->getLocalPlayer()) {
            players->localStatus = local->mStatus;
            players->localSubstatus = local->mSubstatus;
        }
        if (const PlayerRecord* opponent = record->getOpponent())
            players->opponentSubstatus = opponent->mSubstatus;
        return players;
    });
    if (!seen)
        return false;

    if (seen->localSubstatus == cSubstatusLostNotSeen) {
        updatePlayerStatus(gameId, cGameInactive, cSubstatusLost);
        getGameState(gameId);
        return true;
    }
    if (seen->opponentSubstatus != cSubstatusResigned || seen->localStatus != cGameActive)
        return false;

    const int updated = updatePlayerStatus(gameId, cGameInactive, cSubstatusWon);
    getGameState(gameId);
    if (updated != 0)
        return true;
    const std::string name = nickname();
    // The record is the game's while it loads (its players and the
    // matchmade flag feed the statistics).
    const GameLock lock(gameDataMutex());
    const GameRecord* record = findGame(gameId);
    if (record == nullptr || record->mStateData == nullptr || record->mStateSize <= 0)
        return true;
    Game* game = new Game();
    game->mCurrentPlayer = record->findPlayerIndex(name);
    if (game->loadFromBuffer(record->mStateData.get(), record->mStateSize, gameId, true))
        game->recordEndOfGameStats();
    game->release();
    return true;
}
