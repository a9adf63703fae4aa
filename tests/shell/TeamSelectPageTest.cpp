// The team-selection script in JavaScriptCore, over a stand-in for jQuery
// (every call chains and does nothing; the create form's name field reads
// formName) and cef.uiapp that keeps the calls: what opening the screen
// asks of the program, and which request the create button makes.

#include "PageFileTest.h"

namespace {

constexpr const char* cStandIns = R"JS(
var window = this, calls = [], formName = '';
var chain = new Proxy(function () {}, { get: function (target, name) {
  if (name === 'val') return function () { return formName; };
  return function () { return chain; };
} });
var $ = function (what) { return typeof what === 'function' ? undefined : chain; };
function navigateTo(screen) { calls.push('screen ' + screen); }
var cef = { uiapp: new Proxy({}, { get: function (target, name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
} }) };
)JS";

class TeamSelectPageTest : public PageFileTest {
protected:
    void SetUp() override { load(cStandIns, "TeamSelect.js"); }
};

} // namespace

TEST_F(TeamSelectPageTest, OpeningTheScreenAsksTheProgramForItsSelection) {
    const struct {
        const char* statement;
        const char* populate;
    } cases[] = {
        {"showTeamSelect('0', 'Bo', false);", R"(populateTeamSelect["Bo","0",false,false])"},
        {"showTeamSelect('0', '', false);", R"(populateTeamSelect["typed 'x'","0",false,false])"},
        {"showTeamSelect('12345', 'Bo', false);",
         R"(populateTeamSelect["Bo","12345",false,false])"},
        {"showTeamSelect('0', '', true);", R"(populateTeamSelect["","0",true,false])"},
        {"showTeamSelect('0', 'Bo', false, true);", R"(populateTeamSelect["Bo","0",false,true])"},
    };
    ASSERT_TRUE(mPage.run("formName = \"typed 'x'\";"));
    for (const auto& c : cases) {
        ASSERT_TRUE(mPage.run(c.statement)) << c.statement;
        EXPECT_EQ(calls(), std::string("screen TeamSelect\n") + c.populate);
    }
}

TEST_F(TeamSelectPageTest, TheCreateButtonCreatesAcceptsOrMatchmakes) {
    const struct {
        const char* statement;
        const char* request;
    } cases[] = {
        {"requestGame('0', 'Bo', 'orcs', 0);", R"(createGame["Bo","orcs"])"},
        {"requestGame('12345', 'Bo', 'random', 0);", R"(acceptGame["random","12345"])"},
        {"requestGame('0', '', 'humans', 1);", R"(matchmake["humans"])"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(mPage.run(c.statement)) << c.statement;
        EXPECT_EQ(calls(), c.request);
    }
}
