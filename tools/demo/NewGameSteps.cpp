#include "NewGameSteps.h"

#include "shell/BrowserPageHost.h"
#include "shell/ShellState.h"

#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GameSceneInterface.h"
#include "rules/GamesList.h"
#include "service/WebService.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

namespace {

using State = DemoScript::State;

// The creation and the pairing ask the service and wait for a list rebuild.
constexpr uint32_t cGameWaitMs = 90000;
// Frames a new game is shown before its screenshot.
constexpr int cSettleFrames = 60;

// A step that runs a statement in the page once, then asks the check until
// it answers "true"; done once the page painted twice more, so that a
// screenshot holds what the statement did.
DemoScript::Step pageStep(BrowserPageHost& page, std::string statement, std::string check) {
    struct Progress {
        bool ran = false;
        bool asking = false;
        bool held = false;
        int paints = 0;
    };
    const auto progress = std::make_shared<Progress>();
    return [&page, statement, check, progress] {
        if (!progress->ran) {
            progress->ran = true;
            page.runStatement(statement);
        }
        if (progress->held)
            return page.paintCount() >= progress->paints + 2 ? State::Done : State::Waiting;
        if (!progress->asking) {
            progress->asking = true;
            page.evaluate("String(" + check + ")", [&page, progress](const std::string& answer) {
                progress->asking = false;
                if (answer == "true") {
                    progress->held = true;
                    progress->paints = page.paintCount();
                }
            });
        }
        return State::Waiting;
    };
}

// The ids of the listed games.
std::set<int64_t> listedGames() {
    std::set<int64_t> ids;
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    for (const auto& record : webService().mGames)
        ids.insert(record->mGameID);
    return ids;
}

// The id of the game shown when it is a listed game against the bot that
// is not among known; 0 otherwise.
int64_t newBotGameShown(const std::set<int64_t>& known) {
    boost::recursive_mutex::scoped_lock lock(gameDataMutex());
    if (gCurrentGame == nullptr || gGameScene == nullptr || known.count(gCurrentGame->mGameID) != 0)
        return 0;
    const GameRecord* record = webService().findGame(gCurrentGame->mGameID);
    return record != nullptr && record->findPlayerIndex("Bot") >= 0 ? record->mGameID : 0;
}

// The games list's create entry, clicked; the form shown.
void addOpenForm(DemoScript& script, BrowserPageHost& page) {
    script.add("the create-game form", pageStep(page, "$('.CreateEntry').first().click();",
                                                "$('#CreateGameScreen').is(':visible')"));
}

// The team-select screen, filled, once the form's button was clicked.
void addTeamChoice(DemoScript& script, BrowserPageHost& page, const std::string& button,
                   const std::string& title) {
    script.add("the team selection",
               pageStep(page, "$('#" + button + "').click();",
                        "$('#TeamSelectScreen').is(':visible') && "
                        "$('#TeamSelectRoster .RosterEntry').length > 1 && "
                        "$('#TeamSelectTitle').text() === " +
                            nlohmann::json(title).dump() +
                            " && $('#TeamSelectPlayer2 .TeamSelectName').text() !== ''"));
}

// The roster's first civ picked, the create button armed.
void addPick(DemoScript& script, BrowserPageHost& page) {
    script.add("the picked team",
               pageStep(page, "$('#TeamSelectRoster .RosterEntry').eq(1).click();",
                        "$('#TeamSelectCreateGame').is(':visible')"));
}

// The create button pressed (the listed games noted first); done once a
// new game against the bot shows, after its settling frames. gap, when
// given, gets the longest time between two frames until the game opened
// (the opening's own frame left out).
void addCreate(DemoScript& script, BrowserPageHost& page, const std::string& what,
               const std::shared_ptr<uint32_t>& gap) {
    struct Wait {
        std::set<int64_t> known;
        bool pressed = false;
        uint32_t last = 0;
        int64_t gameId = 0;
        int frames = 0;
    };
    const auto wait = std::make_shared<Wait>();
    script.add(
        what,
        [&page, what, gap, wait] {
            const uint32_t now = shellMilliseconds();
            if (!wait->pressed) {
                wait->pressed = true;
                wait->known = listedGames();
                wait->last = now;
                page.runStatement("$('#TeamSelectCreateGame').click();");
                return State::Waiting;
            }
            if (wait->gameId == 0) {
                wait->gameId = newBotGameShown(wait->known);
                // The frame that opened the game is not counted.
                if (gap != nullptr && wait->gameId == 0)
                    *gap = std::max(*gap, now - wait->last);
                wait->last = now;
                if (wait->gameId != 0) {
                    std::printf("%s (game %lld)\n", what.c_str(), (long long)wait->gameId);
                    std::fflush(stdout);
                }
                return State::Waiting;
            }
            return ++wait->frames >= cSettleFrames ? State::Done : State::Waiting;
        },
        cGameWaitMs);
}

} // namespace

void addNewGameSteps(DemoScript& script, BrowserPageHost& page,
                     const std::filesystem::path& shots) {
    // A game against the bot by name, its team's details looked at first.
    addOpenForm(script, page);
    script.add("the opponent's name", pageStep(page, "$('#CreateGameOpponentName').val('Bot');",
                                               "$('#CreateGameOpponentName').val() === 'Bot'"));
    script.add("create-game.png", screenshotStep(shots / "create-game.png"));
    addTeamChoice(script, page, "CreateGameChooseTeam", "Start game with Bot");
    addPick(script, page);
    script.add("team-select.png", screenshotStep(shots / "team-select.png"));
    script.add("the team's details",
               pageStep(page,
                        "$('#TeamSelectRoster .RosterEntry').eq(1).find('.RosterDetails').click();",
                        "$('#TeamDetailsScreen').is(':visible') && "
                        "$('#TeamDetailsTiles .DetailEntry').length > 0"));
    script.add("team-details.png", screenshotStep(shots / "team-details.png"));
    script.add("back to the team selection", pageStep(page, "$('#TeamDetailsBack').click();",
                                                      "$('#TeamSelectScreen').is(':visible')"));
    addCreate(script, page, "created a game against the bot", nullptr);
    script.add("new-game.png", screenshotStep(shots / "new-game.png"));

    // An unknown name: the notice, and the selection's title and players
    // still set.
    addOpenForm(script, page);
    script.add("the unknown name",
               pageStep(page, "$('#CreateGameOpponentName').val('Nobody Here');",
                        "$('#CreateGameOpponentName').val() === 'Nobody Here'"));
    script.add("the invalid-name notice",
               pageStep(page, "$('#CreateGameChooseTeam').click();",
                        "$('#PageNotice').is(':visible') && "
                        "$('#PageNoticeText').text() === 'Invalid player name.' && "
                        "$('#TeamSelectTitle').text() === 'Start game with Nobody Here' && "
                        "$('#TeamSelectPlayer1 .TeamSelectName').text() !== ''"));
    script.add("invalid-name.png", screenshotStep(shots / "invalid-name.png"));
    script.add("the notice's report", [] {
        std::printf("an unknown name: Invalid player name.\n");
        return State::Done;
    });
    script.add("the notice dismissed", pageStep(page, "$('#PageNotice button').click();",
                                                "!$('#PageNotice').is(':visible')"));

    // Matchmaking, paired with the bot.
    addOpenForm(script, page);
    addTeamChoice(script, page, "CreateGameMatchmake", "Find a random opponent");
    addPick(script, page);
    script.add("matchmaking.png", screenshotStep(shots / "matchmaking.png"));
    const auto gap = std::make_shared<uint32_t>(0);
    addCreate(script, page, "matchmade a game against the bot", gap);
    script.add("matched.png", screenshotStep(shots / "matched.png"));
    script.add("the frame gap", [gap] {
        std::printf("longest frame gap while matchmaking: %u ms\n", unsigned(*gap));
        std::fflush(stdout);
        return State::Done;
    });
}
