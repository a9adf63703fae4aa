#include "shell/Tray.h"

#include "shell/MainLoop.h"
#include "shell/PageHost.h"
#include "shell/ShellState.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "rules/GamesList.h"
#include "scene/sound/SoundPlayback.h"

#include <SDL.h>
#include <utf8.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

bool gTrayHelpShown = false;
bool gTrayDoubleClicked = false;
bool gTrayIconWaiting = false;
bool gBalloonOpensGame = false;
int32_t gLastWaitingCount = 0;
std::map<int, int64_t> gTrayMenuGames;

namespace {

TrayBackend* gInstalled = nullptr;

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

TrayMenuItem menuItem(int id, std::string text = {}, bool isDefault = false) {
    TrayMenuItem item;
    item.id = id;
    item.text = std::move(text);
    item.isDefault = isDefault;
    return item;
}

int32_t waitingCount() {
    return gamesList().countGamesInState(cMyTurn);
}

// Sound back and the main window shown, restored and in front.
void restoreMainWindow() {
    recordShellCall("restoreMainWindow");
    resumeAudio();
    loadSoundSetting();
    if (gMainWindow != nullptr) {
        SDL_ShowWindow(gMainWindow);
        SDL_RestoreWindow(gMainWindow);
        SDL_RaiseWindow(gMainWindow);
    }
    gAppMinimized = false;
}

std::string formatted(std::string_view key, const std::string& name) {
    std::string out;
    formatLocalized(out, key, name.c_str());
    return out;
}

std::string formatted(std::string_view key, int32_t number) {
    std::string out;
    formatLocalized(out, key, number);
    return out;
}

// The game item of a waiting game: the opponent's name and both civ icons;
// no text for a game that left the list or lacks a player.
TrayMenuItem gameItem(int id, int64_t gameId) {
    TrayMenuItem item;
    item.id = id;
    const GameRecord* record = gamesList().findGame(gameId);
    const PlayerRecord* local = record != nullptr ? record->getLocalPlayer() : nullptr;
    const PlayerRecord* opponent = record != nullptr ? record->getOpponent() : nullptr;
    if (local != nullptr && opponent != nullptr) {
        item.text = opponent->mName;
        item.localCivIcon = civIconBitmap(local->mCivName);
        item.opponentCivIcon = civIconBitmap(opponent->mCivName);
    }
    return item;
}

} // namespace

TrayBackend::~TrayBackend() = default;

void LoggingTrayBackend::log(const std::string& line) {
    std::printf("Tray: %s\n", line.c_str());
    std::fflush(stdout);
    mLines.push_back(line);
}

void LoggingTrayBackend::setIcon(bool waiting) {
    log(waiting ? "icon waiting" : "icon normal");
}

void LoggingTrayBackend::setTip(const std::string& tip) {
    log("tip " + tip);
}

bool LoggingTrayBackend::showBalloon(const std::string& title, const std::string& text) {
    log((refuseBalloons ? "balloon refused " : "balloon ") + title + ": " + text);
    return !refuseBalloons;
}

void LoggingTrayBackend::showMenu(const std::vector<TrayMenuItem>& items) {
    std::string line = "menu";
    for (const TrayMenuItem& item : items)
        line += " " + std::to_string(item.id) + (item.text.empty() ? "" : " '" + item.text + "'");
    log(line);
}

void LoggingTrayBackend::remove() {
    log("removed");
}

TrayBackend& trayBackend() {
    static LoggingTrayBackend logging;
    return gInstalled != nullptr ? *gInstalled : logging;
}

void setTrayBackend(TrayBackend* backend) {
    gInstalled = backend;
}

std::string civIconBitmap(const std::string& civName) {
    for (const char* civ : {"humans", "darkelves", "dwarves", "orcs", "kx4a"})
        if (sameIgnoringCase(civName, civ))
            return std::string("interface/TrayCiv_") + civ + ".png";
    return "interface/TrayCiv_other.png";
}

std::vector<TrayMenuItem> buildTrayMenu() {
    std::vector<TrayMenuItem> items;
    {
        // The records may be deleted by the games-list worker meanwhile.
        boost::recursive_mutex::scoped_lock lock(gameDataMutex());
        GamesList& list = gamesList();
        if (list.isLoggedIn()) {
            const int32_t n = waitingCount();
            std::string text;
            formatLocalized(text, "%s's Games (%d)", list.getNickname().c_str(), n);
            items.push_back(menuItem(cTrayGames, text, true));
            items.push_back(menuItem(cTrayDivider));
            gTrayMenuGames.clear();
            int id = cTrayFirstGame;
            for (int32_t i = n - 1; i >= 0 && id <= cTrayLastGame; --i) {
                const GameRecord* record = list.findNthGameInState(i, cMyTurn);
                if (record == nullptr)
                    continue;
                gTrayMenuGames[id] = record->mGameID;
                items.push_back(gameItem(id, record->mGameID));
                ++id;
            }
            if (n > 0)
                items.push_back(menuItem(cTrayDivider));
        }
    }
    items.push_back(menuItem(cTrayOpen, localizedString("Open")));
    items.push_back(menuItem(cTrayExit, localizedString("Exit")));
    trayBackend().showMenu(items);
    return items;
}

void notifyNewTurns() {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    GamesList& list = gamesList();
    const int32_t n = waitingCount();
    const int32_t d = n - gLastWaitingCount;
    setTrayIcon(n > 0);
    if (d < 1) {
        gLastWaitingCount = n;
        return;
    }
    const std::string title = localizedString("Tarnwick");
    bool shown = false;
    if (d == 1) {
        const GameRecord* newest = list.findNthGameInState(n - 1, cMyTurn);
        const PlayerRecord* opponent =
            newest != nullptr && newest->mPlayers.size() >= 2 ? newest->getOpponent() : nullptr;
        if (opponent == nullptr)
            return;
        if (opponent->mCivName.empty() &&
            sameIgnoringCase(newest->mCreationPlayer, list.getNickname())) {
            gLastWaitingCount = n;
            return;
        }
        shown = showTrayBalloon(true, title, formatted("NewTurnBalloon", opponent->mName));
    } else {
        shown = showTrayBalloon(true, title, formatted("MultipleNewTurnsBalloon", d));
    }
    if (shown) {
        flashWindowIfInactive();
        gLastWaitingCount = n;
    }
}

void setTrayIcon(bool waiting) {
    if (waiting == gTrayIconWaiting)
        return;
    gTrayIconWaiting = waiting;
    trayBackend().setIcon(waiting);
}

void setTrayTip(const std::string& text) {
    // What the text's bytes allow of it: invalid bytes end it.
    std::u16string units;
    auto end = utf8::find_invalid(text.begin(), text.end());
    utf8::utf8to16(text.begin(), end, std::back_inserter(units));
    if (units.size() > cTrayTipUnits) {
        size_t keep = cTrayTipUnits;
        // A high surrogate whose low half would be cut goes too.
        if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF)
            --keep;
        units.resize(keep);
    }
    std::string tip;
    utf8::utf16to8(units.begin(), units.end(), std::back_inserter(tip));
    trayBackend().setTip(tip);
}

bool showTrayBalloon(bool opensGame, const std::string& title, const std::string& text) {
    gBalloonOpensGame = opensGame;
    return trayBackend().showBalloon(title, text);
}

void openGameFromTray(int64_t gameId) {
    restoreMainWindow();
    runInPage("$('#gameslist').scrollTop(0); navigateTo('GamesList'); $('#GameBoard').show(); "
              "cef.uiapp.showGameView(); cef.uiapp.selectGameDeferred('" +
              std::to_string(gameId) + "', true); ");
}

void trayMenuCommand(int id) {
    if (id == cTrayOpen) {
        restoreMainWindow();
    } else if (id == cTrayGames) {
        runInPage("navigateTo('GamesList');");
        restoreMainWindow();
    } else if (id == cTrayExit) {
        quitApplication();
    } else if (id >= cTrayFirstGame && id <= cTrayLastGame) {
        const auto found = gTrayMenuGames.find(id);
        if (found != gTrayMenuGames.end())
            openGameFromTray(found->second);
    }
}

void handleTrayEvent(TrayEvent event) {
    switch (event) {
    case TrayEvent::MouseMove: {
        const int32_t n = [] {
            boost::recursive_mutex::scoped_lock lock(gameDataMutex());
            return waitingCount();
        }();
        setTrayTip(n > 0 ? formatted("TrayMouseover", n) : localizedString("Tarnwick"));
        break;
    }
    case TrayEvent::LeftDoubleClick:
        gTrayDoubleClicked = true;
        break;
    case TrayEvent::LeftButtonUp:
        if (gTrayDoubleClicked) {
            restoreMainWindow();
            gTrayDoubleClicked = false;
        }
        break;
    case TrayEvent::RightButtonDown:
        buildTrayMenu();
        break;
    case TrayEvent::BalloonClicked: {
        if (!gBalloonOpensGame)
            break;
        int64_t gameId = -1;
        {
            boost::recursive_mutex::scoped_lock lock(gameDataMutex());
            const int32_t n = waitingCount();
            const GameRecord* newest =
                n > 0 ? gamesList().findNthGameInState(n - 1, cMyTurn) : nullptr;
            if (newest != nullptr)
                gameId = newest->mGameID;
        }
        if (gameId >= 0)
            openGameFromTray(gameId);
        break;
    }
    }
}

void flashWindowIfInactive() {
    const bool focused =
        gMainWindow != nullptr && (SDL_GetWindowFlags(gMainWindow) & SDL_WINDOW_INPUT_FOCUS) != 0;
    if (!gAppMinimized && focused)
        return;
    recordShellCall("flashWindow");
    if (gMainWindow != nullptr)
        SDL_FlashWindow(gMainWindow, SDL_FLASH_BRIEFLY);
}

void onMainWindowMinimized() {
    if (!gTrayHelpShown) {
        const std::string title = localizedString("Tarnwick");
        if (gamesList().isLoggedIn()) {
            showTrayBalloon(false, title, localizedString("TrayBalloonHelp"));
            gTrayHelpShown = true;
        } else {
            showTrayBalloon(false, title, localizedString("NotLoggedInBalloon"));
        }
    }
    muteAudio();
    if (BConfig::instance().isSet("MinimizeToTray")) {
        recordShellCall("hideMainWindow");
        if (gMainWindow != nullptr)
            SDL_HideWindow(gMainWindow);
    } else {
        recordShellCall("minimizeMainWindow");
        if (gMainWindow != nullptr)
            SDL_MinimizeWindow(gMainWindow);
    }
    gAppMinimized = true;
}

void onMainWindowRestored() {
    gAppMinimized = false;
    loadSoundSetting();
}

void resetTray() {
    gTrayHelpShown = false;
    gTrayDoubleClicked = false;
    gTrayIconWaiting = false;
    gBalloonOpensGame = false;
    gLastWaitingCount = 0;
    gTrayMenuGames.clear();
}
