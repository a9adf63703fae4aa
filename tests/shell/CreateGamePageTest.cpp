// The create-game screen's script and the invitations' buttons in
// JavaScriptCore, over a stand-in for jQuery (every call chains; "val"
// answers the form's text, "on" keeps the handler) and cef.uiapp that keeps
// the calls.

#include "PageFileTest.h"

namespace {

constexpr const char* cStandIns = R"JS(
var window = this, calls = [], clicks = [], formText = '';
var kNoticeTexts = {};
var chain = new Proxy(function () {}, { get: function (target, name) {
  if (name === 'on') return function (event, handler) { clicks.push(handler); return chain; };
  if (name === 'val') return function () { return formText; };
  return function () { return chain; };
} });
var $ = function () { return chain; };
$.trim = function (text) { return text.trim(); };
function navigateTo(screen) { calls.push('screen ' + screen); }
function locAlert(text) { calls.push('locAlert ' + text); }
function showTeamSelect() {
  calls.push('showTeamSelect' + JSON.stringify(Array.prototype.slice.call(arguments)));
}
function gamesListEntry(id) { return chain; }
function addGameEntry(gameId) { calls.push('entry ' + gameId); }
var cef = { uiapp: new Proxy({}, { get: function (target, name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
} }) };
var click = function (index) { clicks[index]({ stopPropagation: function () {} }); };
)JS";

class CreateGamePageTest : public PageFileTest {
protected:
    void SetUp() override { load(cStandIns, "CreateGame.js"); }
};

} // namespace

TEST_F(CreateGamePageTest, TheFormAsksForTheTeamChoice) {
    const struct {
        const char* script;
        const char* calls;
    } cases[] = {
        {"showCreateGame();", "screen CreateGame"},
        {"formText = '  O\\'Brien '; chooseTeamForNamedOpponent();",
         "showTeamSelect[\"0\",\"O'Brien\",false,false]"},
        {"formText = '  '; chooseTeamForNamedOpponent();", "locAlert Invalid player name."},
        {"chooseTeamForMatchmaking();", "showTeamSelect[\"0\",\"\",true,false]"},
        {"navigateToGamesList();", "screen GamesList"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(mPage.run(c.script)) << c.script;
        EXPECT_EQ(calls(), c.calls) << c.script;
    }
    EXPECT_EQ(mPage.text("typeof kNoticeTexts.GeneralGameCreateFailure"), "string");
    EXPECT_EQ(mPage.text("typeof kNoticeTexts.TooManyGamesError"), "string");
}

TEST_F(CreateGamePageTest, OnlyAnInvitationsEntryGetsAcceptAndDecline) {
    const struct {
        const char* entry;
        const char* buttons;
    } cases[] = {
        {"'5', 'bob', 'a', '', 2, 'x', 'y', 'UI/Random-Emblem-hd.png', 'e', false, 1, 0, 0", "2"},
        {"'5', 'bob', 'a', '', 1, 'x', 'y', 'UI/Random-Emblem-hd.png', 'e', false, 1, 0, 0", "2"},
        {"'6', 'bob', 'a', '', 2, 'x', 'y', 'UI/Orcs.png', 'e', false, 1, 0, 0", "0"},
        {"'7', 'bob', 'a', '', 2, 'x', 'y', 'UI/Random-Emblem-hd.png', 'e', false, 0, 0, 0", "0"},
        {"'8', 'bob', 'a', '', 3, 'x', 'y', 'UI/Random-Emblem-hd.png', 'e', false, 1, 0, 0", "0"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(mPage.run(std::string("clicks = []; addGameEntry(") + c.entry + ");"));
        EXPECT_EQ(mPage.text("clicks.length"), c.buttons) << c.entry;
        calls();
    }
    ASSERT_TRUE(mPage.run("clicks = [];"
                          "addGameEntry('5', 'O\"B', 'a', '', 2, 'x', 'y', "
                          "'UI/Random-Emblem-hd.png', 'e', false, 1, 0, 0);"
                          "click(0); click(1);"));
    EXPECT_EQ(calls(), "entry 5\n"
                       "showTeamSelect[\"5\",\"O\\\"B\",false,false]\n"
                       "declineGame[\"5\"]");
}
