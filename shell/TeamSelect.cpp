#include "shell/TeamSelect.h"

#include "shell/GameCreation.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"

#include "content/AvatarPack.h"
#include "content/LocalizedStrings.h"
#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"
#include "rules/GameRecord.h"
#include "scene/views/ImagePaths.h"
#include "service/WebService.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

constexpr int32_t cRosterColumns = 3;
constexpr const char* cRandomEmblem = "UI/Random-Emblem-hd.png";
constexpr const char* cDataAddress = "tarnwick://data/";

void addToRoster(std::string_view team, std::string_view displayName, std::string_view emblem,
                 int32_t column, int32_t row) {
    runInPage("addToTeamSelectRoster(" + singleQuotedForPage(team) + ", " +
              singleQuotedForPage(displayName) + ", " +
              singleQuotedForPage(std::string(cDataAddress) + std::string(emblem)) + ", " +
              std::to_string(column) + ", " + std::to_string(row) + ");");
}

// One player of the page's header.
struct HeaderPlayer {
    std::string name;
    int32_t color = 0;
    std::string avatar;
};

// The avatar's colour layer, empty when it has none.
std::string colorLayerOf(const std::string& avatar) {
    std::string layer;
    return findColorImagePath(avatar, layer) ? layer : std::string();
}

void setAvatars(const HeaderPlayer& first, const HeaderPlayer& second) {
    runInPage("setTeamSelectAvatars(" + singleQuotedForPage(first.name) + ", " +
              singleQuotedForPage(second.name) + ", " + std::to_string(first.color) + ", " +
              std::to_string(second.color) + ", " +
              singleQuotedForPage(std::string(cDataAddress) + first.avatar) + ", " +
              singleQuotedForPage(std::string(cDataAddress) + second.avatar) + ", " +
              singleQuotedForPage(colorLayerOf(first.avatar)) + ", " +
              singleQuotedForPage(colorLayerOf(second.avatar)) + ", 1);");
}

std::string teamSelectTitle(const std::string& displayName, bool newGame, bool matchmake,
                            bool rematch) {
    if (matchmake)
        return localizedString("Find a random opponent");
    const char* key = !newGame  ? "%@ has invited you to play"
                      : rematch ? "Invite %@ to play again"
                                : "Start game with %@";
    std::string title;
    formatLocalized(title, key, displayName);
    return title;
}

} // namespace

void populateTeamSelect(WebService& service, const std::string& opponent, int64_t gameId,
                        bool matchmake, bool rematch) {
    const bool newGame = gameId <= 0;
    runInPage("clearTeamSelectRoster();");
    addRandomTeamToRoster();
    int32_t position = 1;
    for (const auto& civ : SettingsManager::instance().mCivs) {
        if (civ == nullptr)
            continue;
        addCivToRoster(*civ, position % cRosterColumns, position / cRosterColumns);
        ++position;
    }

    HeaderPlayer other;
    int32_t otherHome = 0;
    int32_t otherAway = 0;
    if (matchmake) {
        other.name = cUnknownOpponentName;
        other.avatar = cUnknownAvatar;
    } else if (service.getUserRecordByNickname(opponent, other.name, otherHome, otherAway,
                                               other.avatar) != 0) {
        runInPage("navigateToCreateGame(); locAlert('Invalid player name.');");
    }
    const std::string displayName = other.name.empty() ? opponent : other.name;
    runInPage("setTeamSelectTitle(" +
              singleQuotedForPage(teamSelectTitle(displayName, newGame, matchmake, rematch)) +
              "); ");

    HeaderPlayer local{service.nickname(), 0, AvatarPack::getDefaultAvatar()};
    if (newGame) {
        local.color = service.mLocalHomeColor;
        other.color = otherAway;
        setAvatars(local, other);
    } else {
        other.color = otherHome;
        local.color = service.mLocalAwayColor;
        setAvatars(other, local);
    }
}

void addRandomTeamToRoster() {
    addToRoster(cRandomTeamName, localizedString("Random"), cRandomEmblem, 0, 0);
}

void addCivToRoster(const ProtoCiv& civ, int32_t column, int32_t row) {
    addToRoster(civ.mName, civ.mDisplayName, civ.mLargeEmblemImage, column, row);
}

std::string teamDetailsColor(const ProtoCiv& civ) {
    // Components outside 0 to 255 are held to it, so each stays two digits.
    const auto half = [](int32_t component) { return std::clamp(component, 0, 255) / 2; };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", half(civ.mBackgroundR),
                  half(civ.mBackgroundG), half(civ.mBackgroundB));
    return text;
}

void populateTeamDetails(const ProtoCiv& civ) {
    std::string longDescription = civ.mLongDescription;
    std::replace(longDescription.begin(), longDescription.end(), '\n', ' ');
    runInPage("addTeamLongDesc(" + doubleQuotedForPage(longDescription) + ");");
    runInPage(
        "addTeamDetails(" + doubleQuotedForPage(civ.mName) + ", " +
        doubleQuotedForPage(civ.mDisplayName) + ", " + doubleQuotedForPage(teamDetailsColor(civ)) +
        ", " + doubleQuotedForPage(civ.mShortDescription) + ", " +
        doubleQuotedForPage(civ.mTeamDetailImage) + ", " + doubleQuotedForPage(civ.mEmblemImage) +
        ", " + doubleQuotedForPage(civ.mTeamBonusIcon) + ", " +
        doubleQuotedForPage(civ.mTeamBonusTitle) + ", " +
        doubleQuotedForPage(civ.mTeamBonusDescription) + ");");
    if (civ.mTileAllocation == nullptr)
        return;
    int32_t column = 0;
    for (const int32_t protoId : civ.mTileAllocation->mProtoIds) {
        const ProtoEntity* proto = Database::getProto(protoId);
        if (proto == nullptr)
            continue;
        const int32_t count = civ.mTileAllocation->countTile(proto->mName);
        std::string label = proto->mDisplayName;
        if (count != 1)
            formatLocalized(label, "%@ (x%d)", proto->mDisplayName, count);
        const std::string& help =
            proto->mDetailedHelp.empty() ? proto->mShortHelp : proto->mDetailedHelp;
        runInPage("addDetailEntry(" + std::to_string(column) + ", " + doubleQuotedForPage(label) +
                  ", " + doubleQuotedForPage(proto->mClassDisplayName) + ", " +
                  doubleQuotedForPage(proto->mLargePortrait) + ", " + doubleQuotedForPage(help) +
                  ");");
        column = 1 - column;
    }
}

void showTeamDetailsFromBoard(int32_t civId) {
    if (const ProtoCiv* civ = SettingsManager::instance().getCiv(civId))
        runInPage("showTeamDetails(" + singleQuotedForPage(civ->mName) +
                  "); addTeamHelpBackButton('GameBoard', true);");
}

bool showTeamSelectAgainstOpponentOf(WebService& service, int64_t gameId, int64_t pageGameId) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    const GameRecord* record = service.findGame(gameId);
    if (record == nullptr || record->mPlayers.size() < 2)
        return false;
    const PlayerRecord* opponent = record->getOpponent();
    if (opponent == nullptr)
        return false;
    runInPage("showTeamSelect('" + std::to_string(pageGameId) + "', " +
              singleQuotedForPage(opponent->mName) + ", false);");
    return true;
}

void showTeamSelectForOpponent(WebService& service, int64_t gameId) {
    // A new game (id 0) against the same player.
    showTeamSelectAgainstOpponentOf(service, gameId, 0);
}

BridgeResult bridgePopulateTeamSelect(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const std::string opponent = arguments.text(0);
    const int64_t gameId = arguments.gameId(1);
    handler.mCurrentGameID = gameId;
    handler.mTeamSelectOpponent = opponent;
    handler.mTeamSelectMatchmake = arguments.boolean(2);
    populateTeamSelect(handler.service(), opponent, gameId, handler.mTeamSelectMatchmake,
                       arguments.boolean(3));
    return std::nullopt;
}

BridgeResult bridgeTeamRosterSelection(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const std::string request = "requestGame('" + std::to_string(handler.mCurrentGameID.load()) +
                                "', " + singleQuotedForPage(handler.mTeamSelectOpponent) + ", " +
                                singleQuotedForPage(arguments.text(0)) + ", " +
                                (handler.mTeamSelectMatchmake ? "1" : "0") + ");";
    runInPage("clearButton(\"TeamSelectCreateGame\");");
    runInPage("fixupButtonWithHeight(\"TeamSelectCreateGame\", 45, 25, "
              "\"AccountGreenButton-Dn.png\", \"AccountGreenButton-Up.png\", function() { " +
              request + "}, 210, 210, 39); ");
    runInPage("$('#TeamSelectCreateGame').css(\"background\", "
              "\"url('tarnwick://UI/AccountGreenButton-Up.png') transparent no-repeat\");");
    return std::nullopt;
}

BridgeResult bridgePopulateTeamDetails(CocosV8Handler&, const BridgeArguments& arguments) {
    if (const ProtoCiv* civ = SettingsManager::instance().civForName(arguments.text(0)))
        populateTeamDetails(*civ);
    return std::nullopt;
}
