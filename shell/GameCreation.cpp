#include "shell/GameCreation.h"

#include "shell/BridgeUpdate.h"
#include "shell/GameOpening.h"
#include "shell/PageHost.h"

#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/core/RNG.h"
#include "service/WebService.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A civ of the settings by name; -1 for "Random" and names of no civ.
int32_t civIdOfName(const std::string& name) {
    int32_t civId = -1;
    SettingsManager::instance().civIDForName(name, civId);
    return civId;
}

// The record's state bytes and the local player's civ, as they were before
// an accept rewrote them.
struct SavedAcceptance {
    std::vector<uint8_t> state;
    std::string civName;

    void restore(GameRecord& record, PlayerRecord& local) const {
        record.setState(state.data(), static_cast<int32_t>(state.size()));
        local.mCivName = civName;
    }
};

} // namespace

int32_t pickRandomCivId() {
    const auto& civs = SettingsManager::instance().mCivs;
    if (std::none_of(civs.begin(), civs.end(), [](const auto& civ) { return civ != nullptr; }))
        return -1;
    // The matchmaking worker draws under the game lock too.
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    const uint32_t bound = static_cast<uint32_t>(civs.size() - 1);
    for (;;) {
        const uint32_t index = gRng.randInt(bound);
        if (index < civs.size() && civs[index] != nullptr)
            return static_cast<int32_t>(index);
    }
}

std::string randomCivName() {
    const int32_t index = pickRandomCivId();
    if (index < 0)
        return {};
    return SettingsManager::instance().mCivs[size_t(index)]->mName;
}

void resolveRandomTeam(std::string& team) {
    if (team != cRandomTeamName)
        return;
    std::string name = randomCivName();
    if (!name.empty())
        team = std::move(name);
}

int32_t createGameWithCiv(WebService& service, const std::string& team, const std::string& opponent,
                          int64_t& gameId) {
    std::vector<uint8_t> state;
    {
        // Setting a game up reads the games list, which wants the game lock.
        boost::recursive_mutex::scoped_lock lock(gameDataMutex());
        Game* game = new Game();
        // A negative seed: the game seeds itself.
        if (game->init(-1)) {
            game->setUpFirstState(0, civIdOfName(team));
            state = game->saveToBuffer();
        }
        game->release();
    }
    return service.createGame(opponent, team, state.data(), static_cast<int32_t>(state.size()),
                              gameId);
}

std::string creationFailureText(int32_t code) {
    const char* notice = nullptr;
    switch (code) {
    case 1:
    case 2:
        notice = "GeneralGameCreateFailure";
        break;
    case 3:
        notice = "You can't start a game with yourself.";
        break;
    case 4:
        notice = "Invalid player name.";
        break;
    case 5:
        notice = "TooManyGamesError";
        break;
    default:
        return {};
    }
    // The notices are fixed texts: they go into the statement as they are.
    return std::string(" hideBoardElements(); navigateToGamesList(); locAlert(\"") + notice +
           "\");";
}

bool createGameRequest(CocosV8Handler& handler, std::string team, const std::string& opponent) {
    resolveRandomTeam(team);
    // No civ to draw: the creation fails as a refusal does.
    if (team == cRandomTeamName) {
        runInPage(creationFailureText(1));
        return false;
    }
    int64_t gameId = 0;
    const int32_t code = createGameWithCiv(handler.service(), team, opponent, gameId);
    if (code != 0) {
        const std::string text = creationFailureText(code);
        if (!text.empty())
            runInPage(text);
        return false;
    }
    // The list is fetched at once with the new game as the current one; it
    // opens after the page's next rebuild.
    handler.mCurrentGameID = gameId;
    gamesListThreadProc(&handler, handler.service());
    runInPage("navigateTo('GamesList'); addCreateEntry();");
    handler.mDeferredGameID = gameId;
    handler.mCurrentGameID = 0;
    return true;
}

int32_t acceptGameWithCiv(CocosV8Handler& handler, const std::string& team, int64_t gameId) {
    WebService& service = handler.service();
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    GameRecord* record = service.findGame(gameId);
    if (record == nullptr || record->mStateData == nullptr || record->mStateSize <= 0)
        return 2;
    const int32_t local = record->findPlayerIndex(service.nickname());
    PlayerRecord* localRecord = record->getPlayer(local);
    // A team that names no civ ("Random" included) cannot complete a state.
    const ProtoCiv* civ = SettingsManager::instance().civForName(team);
    if (localRecord == nullptr || civ == nullptr)
        return 2;

    Game* game = new Game();
    game->mCurrentPlayer = local;
    if (!game->loadFromBuffer(record->mStateData.get(), record->mStateSize, gameId, true)) {
        game->release();
        return cAcceptStateUnreadable;
    }
    game->setUpFirstState(local, civ->mId);
    const std::vector<uint8_t> state = game->saveToBuffer();
    game->release();

    const SavedAcceptance saved{std::vector<uint8_t>(record->mStateData.get(),
                                                     record->mStateData.get() + record->mStateSize),
                                localRecord->mCivName};
    record->setState(state.data(), static_cast<int32_t>(state.size()));
    localRecord->mCivName = team;
    const int32_t code =
        service.matchAccepted(team, gameId, state.data(), static_cast<int32_t>(state.size()));
    if (code != 0) {
        // The request may have replaced the list: restore the record listed
        // now.
        GameRecord* listed = service.findGame(gameId);
        PlayerRecord* player = listed != nullptr ? listed->getPlayer(local) : nullptr;
        if (player != nullptr)
            saved.restore(*listed, *player);
    }
    return code;
}

BridgeResult bridgeCreateGame(CocosV8Handler& handler, const BridgeArguments& arguments) {
    return nlohmann::json(createGameRequest(handler, arguments.text(1), arguments.text(0)));
}

BridgeResult bridgeAcceptGame(CocosV8Handler& handler, const BridgeArguments& arguments) {
    std::string team = arguments.text(0);
    const int64_t gameId = arguments.gameId(1);
    resolveRandomTeam(team);
    // Only an accepted game opens.
    if (acceptGameWithCiv(handler, team, gameId) != 0)
        return std::nullopt;
    handler.service().followUpGameStatus(gameId);
    gotoGame(handler.service(), &handler, gameId, false);
    return std::nullopt;
}

BridgeResult bridgeDeclineGame(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const int64_t gameId = arguments.gameId(0);
    handler.service().updatePlayerStatus(gameId, cGameInactive, cSubstatusDeclined);
    // The entry goes whatever the answer.
    runInPage("purgeGameFromAll('" + std::to_string(gameId) + "');");
    return std::nullopt;
}
