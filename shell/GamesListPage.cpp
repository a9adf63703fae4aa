#include "shell/GamesListPage.h"

#include "shell/ChatPage.h"
#include "shell/CocosV8Handler.h"
#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/ShellState.h"
#include "shell/TimeTexts.h"
#include "shell/Tray.h"

#include "content/LocalizedStrings.h"
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "platform/engine/CCFileUtils.h"
#include "rules/ServerTurn.h"
#include "scene/views/ImagePaths.h"
#include "service/ListNotifications.h"
#include "service/WebService.h"

#include <boost/algorithm/string/predicate.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

namespace {

using GameLock = std::lock_guard<boost::recursive_mutex>;

constexpr const char* cRandomEmblem = "UI/Random-Emblem-hd.png";

// The program's file version, most significant part first: Linux programs
// carry no version resource, so the build states it here.
constexpr uint16_t cFileVersion[4] = {1, 0, 0, static_cast<uint16_t>(kClientBuildVersion)};

// The nickname goes into markup (jQuery's html): '<' and '&', which alone
// start markup in text, are written as references, so it shows as typed.
std::string markupText(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += c == '<' ? "&lt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

bool lastTurnEarlier(const GameRecord* a, const GameRecord* b) {
    return a->mLastTurnTime < b->mLastTurnTime;
}

} // namespace

void onGamesListNotification(CocosV8Handler& handler, const std::string& name) {
    if (boost::algorithm::iequals(name, "AsyncGamesListUpdated"))
        handler.mRebuildGamesList = true;
    else if (boost::algorithm::iequals(name, "AsyncGamesListUpdatedAndUnchanged") &&
             !handler.mGamesListBuilt)
        handler.mRebuildGamesList = true;
}

void rebuildGamesList(CocosV8Handler& handler) {
    const GameLock lock(gameDataMutex());
    runInPage("addCreateEntry();");
    for (const LocalGameState state : {cMyTurn, cOpponentsTurn, cNotActive, cNotInGame})
        addGamesListSection(handler, state);
    runInPage("overrideStyleByLayoutType();");
    notifyNewTurns();
    if (handler.mDeferredGameID != 0) {
        handler.mGameToOpen = handler.mDeferredGameID;
        handler.mDeferredGameID = 0;
    } else if (const int64_t current = handler.mCurrentGameID; current != 0) {
        prepChat(handler, current, true);
    }
    handler.mGamesListBuilt = true;
}

void addGamesListSection(CocosV8Handler& handler, LocalGameState state) {
    WebService& service = handler.service();
    const GameLock lock(gameDataMutex());
    const int32_t count = service.countGamesInState(state);
    std::string title;
    formatLocalized(title, "%s\'s Turn", markupText(service.nickname()));
    // Without a semicolon, for every section.
    runInPage("$('#YourTurnText').html(" + singleQuotedForPage(title) + ")");
    std::vector<const GameRecord*> records;
    for (int32_t n = 0; n < count; ++n)
        if (const GameRecord* record = service.findNthGameInState(n, state))
            records.push_back(record);
    std::stable_sort(records.begin(), records.end(), lastTurnEarlier);
    const int64_t current = handler.mCurrentGameID;
    for (const GameRecord* record : records) {
        if (state == cMyTurn && record->mGameID == current)
            runInPage("selectGameIfNotActive('" + std::to_string(record->mGameID) + "');");
        addGameEntry(*record, state);
    }
}

void addGameEntry(const GameRecord& record, LocalGameState state) {
    const PlayerRecord* opponent = record.getOpponent();
    const PlayerRecord* local = record.getLocalPlayer();
    if (opponent == nullptr || local == nullptr)
        return;
    const SettingsManager& settings = SettingsManager::instance();
    const ProtoCiv* localTeam = settings.civForName(local->mCivName);
    const ProtoCiv* opponentTeam = settings.civForName(opponent->mCivName);
    const std::string localEmblem = localTeam ? localTeam->mEmblemImage : cRandomEmblem;
    // The opponent's team is not shown while the local player has none.
    const std::string opponentEmblem =
        localTeam && opponentTeam ? opponentTeam->mPlayerCardEmblemImage : cRandomEmblem;

    std::string date = formatDateByAge(record.mCreationTime);
    if (date.empty())
        date = "unknown";
    std::string created;
    formatLocalized(created, "Created: %@", date);
    std::string lastMove;
    formatLocalized(lastMove, "Last move: %@", formatTimeAgo(record.mLastTurnTime));

    std::string avatar = opponent->mAvatar;
    cocos2d::CCFileUtils::ccRemoveHDSuffixFromFile(avatar);
    std::string colourImage;
    findColorImagePath(avatar, colourImage);
    const bool secondPlayer = record.mPlayers.size() > 1 && record.mPlayers[1]->mIsLocal;

    runInPage("addGameEntry('" + std::to_string(record.mGameID) + "', " +
              singleQuotedForPage(opponent->mName) + ", " + singleQuotedForPage(avatar) + ", " +
              singleQuotedForPage(colourImage) + ", " + std::to_string(int32_t(state)) + ", " +
              singleQuotedForPage(lastMove) + ", " + singleQuotedForPage(created) + ", " +
              singleQuotedForPage(localEmblem) + ", " + singleQuotedForPage(opponentEmblem) +
              ", false, " + (secondPlayer ? "1" : "0") + ", " + std::to_string(opponent->mColor) +
              ", " + std::to_string(local->mNewChatCount) + " )");
}

void showCurrentPuzzleEntry(int32_t category, int32_t index) {
    if (category == -1 || index == -1)
        return;
    runInPage("showCurrentPuzzleEntry(\"NavPuzzleButton" + std::to_string(category) + "-" +
              std::to_string(index) + "\"); ");
}

void purgeGameFromPage(int64_t gameId) {
    // From a worker the page road queues it for the main thread.
    runInPage("purgeGameFromAll('" + std::to_string(gameId) +
              "'); hideBoardElements(); $('#GamesListScreen').show(); ");
}

std::string buildVersionText() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::printf("module filename %s\n", program.c_str());
    std::fflush(stdout);
    std::string text = "Build version: ";
    for (size_t i = 0; i < std::size(cFileVersion); ++i)
        text += (i > 0 ? "." : "") + std::to_string(cFileVersion[i]);
    return text;
}

void installGamesListHooks() {
    setListNotificationHook([](const std::string& name) {
        if (CocosV8Handler* handler = cocosV8Handler())
            onGamesListNotification(*handler, name);
    });
    setGamePurgeHook(purgeGameFromPage);
    shellSeams().buildVersionText = buildVersionText;
}
