// The leaderboard and friends screens' script in JavaScriptCore, over a
// stand-in for jQuery (every call chains and does nothing) and cef.uiapp
// that keeps the calls: what the program's statements leave in the
// screens' lists, and what the tabs and rows call.

#include "PageFileTest.h"

namespace {

constexpr const char* cStandIns = R"JS(
var window = this, calls = [], onLoad = [], clicks = [];
var chain = new Proxy(function () {}, { get: function (target, name) {
  if (name === 'on') return function (event, handler) { clicks.push(handler); return chain; };
  return function () { return chain; };
} });
var $ = function (what) {
  if (typeof what === 'function') { onLoad.push(what); return; }
  return chain;
};
function navigateTo(screen) { calls.push('screen ' + screen); }
var cef = { uiapp: new Proxy({}, { get: function (target, name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
} }) };
)JS";

class SocialPagesTest : public PageFileTest {
protected:
    void SetUp() override {
        load(cStandIns, "SocialPages.js");
        ASSERT_TRUE(mPage.run("onLoad.forEach(function (f) { f(); });"));
    }
};

} // namespace

TEST_F(SocialPagesTest, TheProgramsStatementsFillTheLists) {
    ASSERT_TRUE(mPage.run("createLeaderBoardSlots(3);"
                          "fillLeaderboardSlot(0,1,\"a \\\"b\\\" \\\\c\",50, 0);"
                          "fillLeaderboardSlot(2,4,\"me\",5, 1);"
                          "fillLeaderboardSlot(3,9,\"beyond\",1, 0);"));
    EXPECT_EQ(mPage.text("JSON.stringify(leaderboardSlots)"),
              R"([{"rank":1,"name":"a \"b\" \\c","score":50,"self":false},null,)"
              R"({"rank":4,"name":"me","score":5,"self":true}])");
    ASSERT_TRUE(mPage.run("addFriendEntry(0, \"bob\", 1, \"18446744073709551615\", 1);"
                          "addFriendEntry(1, \"carol\", 0, \"7\", 0);"));
    EXPECT_EQ(mPage.text("JSON.stringify(friendEntries)"),
              R"([{"name":"bob","state":1,"id":"18446744073709551615","hasAccount":true},)"
              R"({"name":"carol","state":0,"id":"7","hasAccount":false}])");
    // A new listing starts over.
    ASSERT_TRUE(mPage.run("addFriendEntry(0, \"dan\", 1, \"8\", 0);"));
    EXPECT_EQ(mPage.text("friendEntries.length"), "1");
}

TEST_F(SocialPagesTest, ScreensTabsAndRowsCallTheProgram) {
    calls();
    ASSERT_TRUE(mPage.run("showLeaderboardScreen(); showLeaderboardTab('orcs', true);"
                          "showFriendsScreen(); friendClicked('18446744073709551615');"));
    EXPECT_EQ(calls(), "screen LeaderboardScreen\n"
                       "showLeaderboard[\"total\",10,false]\n"
                       "showLeaderboard[\"orcs\",10,true]\n"
                       "screen FriendsScreen\n"
                       "populateFriends[]\n"
                       "steamFriendClicked[\"18446744073709551615\"]");
}
