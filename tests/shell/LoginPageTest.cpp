// The login page's script in JavaScriptCore, over a stand-in for jQuery and
// cef.uiapp that keeps the calls: what the page calls on load and from its
// form, and what the program's statements make it show.

#include "PageFileTest.h"

namespace {

constexpr const char* cStandIns = R"JS(
var window = this, calls = [], fields = {}, onLoad = [];
var $ = function (what) {
  if (typeof what === 'function') { onLoad.push(what); return; }
  var id = what.replace('#', '');
  return { val: function (v) { if (v === undefined) return fields[id] || ''; fields[id] = v; },
           text: function (v) { fields[id] = v; },
           addClass: function (c) { fields[id + ' ' + c] = true; },
           removeClass: function (c) { fields[id + ' ' + c] = false; } };
};
function navigateTo(screen) { calls.push('screen ' + screen); }
function locAlert(text) { calls.push('alert ' + text); }
var cef = { uiapp: new Proxy({}, { get: function (target, name) {
  return function () {
    calls.push(name + JSON.stringify(Array.prototype.slice.call(arguments)));
    return name === 'getCurrentUserNickname' ? 'demo' : name === 'createAccount' ? 6 : undefined;
  };
} }) };
)JS";

class LoginPageTest : public PageFileTest {
protected:
    void SetUp() override { load(cStandIns, "Login.js"); }
};

} // namespace

TEST_F(LoginPageTest, OnLoadItPreparesTriesTheStoredKeyAndClosesTheSplash) {
    ASSERT_TRUE(mPage.run("onLoad.forEach(function (f) { f(); });"));
    EXPECT_EQ(calls(), "prepLaunch[]\nautoLogin[]\ncloseSplashScreen[]");
}

TEST_F(LoginPageTest, TheFormCallsTheProgramWithWhatWasTyped) {
    ASSERT_TRUE(mPage.run("setUsername('demo'); setPassword('it\\'s');"));
    ASSERT_TRUE(mPage.run("doLogin(); doLogout(); doResetPassword();"));
    EXPECT_EQ(calls(), "loginButton[\"demo\",\"it's\"]\nlogoutButton[\"\",\"\"]\n"
                       "resetPassword[\"demo\"]");
    ASSERT_TRUE(mPage.run("fields.NewEmail = 'a@b.c'; fields.NewNickname = 'Ann';"
                          "fields.NewPassword = 'pw'; doCreateAccount();"));
    EXPECT_EQ(calls(), "createAccount[\"a@b.c\",\"Ann\",\"pw\"]");
    EXPECT_EQ(mPage.text("fields.CreateMessage"), "The account was not created (6).");
}

TEST_F(LoginPageTest, TheProgramsStatementsSwitchScreens) {
    const struct {
        const char* statement;
        const char* calls;
        const char* message;
    } cases[] = {
        {"loadingFinished(0);", "screen LoginScreen", ""},
        {"loginFailed(1); ", "screen LoginScreen", "Wrong user name or password."},
        {"loginFailed(99); ", "screen LoginScreen", "Login failed (99)."},
        {"loginSuccess();", "getCurrentUserNickname[]\nscreen GamesListScreen", ""},
        {"logoutSuccess();", "screen LoginScreen", ""},
        {"logoutFailed();", "alert Logout failed.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        mPage.run("fields.LoginMessage = '';");
        ASSERT_TRUE(mPage.run(c.statement));
        EXPECT_EQ(calls(), c.calls);
        EXPECT_EQ(mPage.text("fields.LoginMessage"), c.message);
    }
    EXPECT_EQ(mPage.text("fields.LoggedInName"), "demo");
}

TEST_F(LoginPageTest, TheNavButtonsShowOnlyWhileLoggedIn) {
    const struct {
        const char* statement;
        const char* shown;
    } cases[] = {
        {"loginSuccess();", "true"},
        {"logoutSuccess();", "false"},
        {"loginSuccess();", "true"},
        {"loginFailed(1);", "false"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(mPage.run(c.statement));
        EXPECT_EQ(mPage.text("fields['NavButtons LoggedIn']"), c.shown) << c.statement;
    }
}
