// The game view's script in JavaScriptCore, over a stand-in for jQuery and
// cef.uiapp that keeps the calls: the board's switches and its Back button.

#include "PageFileTest.h"

namespace {

// Every element is one chainable object keeping its value and handlers;
// a created element ("<button id=...>") is found by its id.
constexpr const char* cStandIns = R"JS(
var window = this, calls = [], elements = {}, onLoad = [];
function element(id) {
  if (!elements[id]) {
    var e = { id: id, value: '', handlers: {} };
    ['show', 'hide', 'addClass', 'appendTo', 'text'].forEach(function (name) {
      e[name] = function () { if (name === 'show' || name === 'hide') calls.push(name + ' ' + id); return e; };
    });
    e.val = function (v) { if (v === undefined) return e.value; e.value = v; return e; };
    e.on = function (kind, handler) { e.handlers[kind] = handler; return e; };
    elements[id] = e;
  }
  return elements[id];
}
var $ = function (what) {
  if (typeof what === 'function') { onLoad.push(what); return; }
  var made = /id="([^"]+)"/.exec(what);
  return element(made ? made[1] : what.replace('#', ''));
};
function navigateTo(screen) { calls.push('screen ' + screen); }
var cef = { uiapp: new Proxy({}, { get: function (target, name) {
  return function () { calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments))); };
} }) };
)JS";

class GameViewPageTest : public PageFileTest {
protected:
    void SetUp() override {
        load(cStandIns, "GameView.js");
        ASSERT_TRUE(mPage.run("onLoad.forEach(function (f) { f(); }); calls = [];"));
    }
};

} // namespace

TEST_F(GameViewPageTest, TheBoardsSwitchesAndBackButtonTellTheProgram) {
    struct Case {
        const char* statement;
        const char* calls;
    };
    const Case cases[] = {
        {"showGameBoard();", "show GameBoard\nshow GameBackButton\nshowGameView[]"},
        {"hideGameBoard();", "hide GameBackButton\nhideGameView[]"},
        {"elements.GameBackButton.handlers.click();",
         "hide GameBackButton\ncloseGameView[]\nscreen GamesListScreen"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(mPage.run(c.statement)) << c.statement;
        EXPECT_EQ(calls(), c.calls) << c.statement;
    }
}
