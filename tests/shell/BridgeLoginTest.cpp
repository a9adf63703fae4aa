// The login page's bridge functions against the loopback server: accounts
// made and logged into through the page's calls, and scripted failures.

#include "BridgeTestSupport.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "platform/steam/SteamClient.h"

using namespace std::chrono_literals;

namespace {

class BridgeLoginTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        ASSERT_TRUE(SteamClient::init());
    }
    void TearDown() override {
        SteamClient::shutdown();
        BConfig::instance().unsetById(cOptDisableAutoLogin);
        BridgeTest::TearDown();
    }

    // Makes the account "ann@example.com" / "secret" (nickname Ann) through
    // the page, which logs in with it; then logs out.
    void makeAccount() {
        ASSERT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 0);
        ASSERT_EQ(call("logoutButton", {"", ""}), std::nullopt);
        ASSERT_EQ(call("isLoggedIn"), 0);
    }

    // The platform ids the server was asked to bind.
    std::vector<std::string> boundPlatformIds() {
        std::vector<std::string> ids;
        for (const ReceivedRequest& request : mServer.requests())
            if (request.path.substr(1) == pathOf(Endpoint::RegisterSteam))
                ids.push_back(*request.field("steamID"));
        return ids;
    }

    std::string platformId() const { return std::to_string(SteamClient::accountId()); }
};

} // namespace

TEST_F(BridgeLoginTest, ACreatedAccountLogsInBindsThePlatformUserAndMasksThePassword) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(
        printed.find("Account create on email: ann@example.com, username: Ann, pwd: ******\n"),
        std::string::npos);
    EXPECT_EQ(printed.find("secret"), std::string::npos);
    EXPECT_EQ(statements(), std::vector<std::string>{"loginSuccess();"});
    EXPECT_EQ(boundPlatformIds(), std::vector<std::string>{platformId()});
    EXPECT_NE(SteamClient::accountId(), 0u);
    EXPECT_EQ(call("isLoggedIn"), 1);
    EXPECT_EQ(call("getCurrentUserNickname"), "Ann");
    EXPECT_EQ(mStore.getStoredUsername(), "ann@example.com");
}

TEST_F(BridgeLoginTest, TheLoginFormLogsInOrReportsTheCodeKeepingWhatWasTyped) {
    makeAccount();
    const size_t before = statements().size();
    EXPECT_EQ(call("loginButton", {"ann@example.com", "wrong"}), std::nullopt);
    EXPECT_EQ(statements().back(), "loginFailed(1); ");
    EXPECT_EQ(mStore.getStoredUsername(), "ann@example.com");
    EXPECT_EQ(mStore.getStoredPassword(), "wrong");
    EXPECT_EQ(call("isLoggedIn"), 0);

    bool everPlayed = false;
    EXPECT_FALSE(mStore.prefGetBool("EverPlayedGame", everPlayed) && everPlayed);
    EXPECT_EQ(call("loginButton", {"ann@example.com", "secret"}), std::nullopt);
    EXPECT_EQ(statements().back(), "loginSuccess();");
    EXPECT_EQ(statements().size(), before + 2);
    EXPECT_EQ(call("isLoggedIn"), 1);
    EXPECT_TRUE(mStore.prefGetBool("EverPlayedGame", everPlayed) && everPlayed);
    EXPECT_EQ(boundPlatformIds(), std::vector<std::string>(2, platformId()));
}

TEST_F(BridgeLoginTest, ARefusedPlatformBindingWarnsAndTheLoginStillSucceeds) {
    makeAccount();
    script(Endpoint::RegisterSteam, {200, "<RegisterError>Taken</RegisterError>"});
    testing::internal::CaptureStdout();
    call("loginButton", {"ann@example.com", "secret"});
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(
        printed.find("Warning: Unable to register steamID " + platformId() + " to BM account.\n"),
        std::string::npos);
    EXPECT_EQ(statements().back(), "loginSuccess();");
    EXPECT_EQ(call("isLoggedIn"), 1);
}

TEST_F(BridgeLoginTest, AutoLoginTellsThePageOnlyOfSuccessAndOfNoReply) {
    const struct {
        const char* name;
        bool disabled;
        std::optional<ScriptedReply> reply; // none: the server's own answer
        std::vector<std::string> statements;
        bool anyRequest;
    } cases[] = {
        {"disabled", true, std::nullopt, {}, false},
        {"dropped", false, ScriptedReply{200, "", 0ms, true}, {"loginFailed(99); "}, true},
        {"rejected key",
         false,
         ScriptedReply{200, "<LoginError>InvalidKey</LoginError>"},
         {},
         true},
        {"stored key", false, std::nullopt, {"loginSuccess();"}, true},
    };
    // The key of an earlier run that ended without logging out.
    ASSERT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 0);
    const std::string key = mClient.authKey();
    ASSERT_FALSE(key.empty());
    mClient.mLoggedIn = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mClient.setAuthKey(key);
        mStore.setStoredAuthKey(key);
        if (c.disabled)
            BConfig::instance().defineById(cOptDisableAutoLogin);
        else
            BConfig::instance().unsetById(cOptDisableAutoLogin);
        if (c.reply)
            script(Endpoint::LoginWithAuthKey, *c.reply);
        const size_t requests = mServer.requests().size();
        const size_t before = statements().size();
        EXPECT_EQ(call("autoLogin"), std::nullopt);
        EXPECT_EQ(
            std::vector<std::string>(statements().begin() + ptrdiff_t(before), statements().end()),
            c.statements);
        EXPECT_EQ(mServer.requests().size() > requests, c.anyRequest);
    }
    // The successful one fetched the games list.
    EXPECT_TRUE(requested(Endpoint::GetGameList));
}

TEST_F(BridgeLoginTest, ARefusedRegistrationReturnsItsCodeAndMakesNoLogin) {
    script(Endpoint::RegisterWithNickname, {200, "<RegisterError>DuplicateUser</RegisterError>"});
    EXPECT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 6);
    EXPECT_FALSE(requested(Endpoint::Login));
    EXPECT_TRUE(statements().empty());

    mServer.stop();
    EXPECT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), std::nullopt);
    EXPECT_EQ(statements().size(), 1u); // the connect alert
}

TEST_F(BridgeLoginTest, LogoutNeedsItsTwoArgumentsThenLogsOutAndCalmsTheTray) {
    ASSERT_EQ(call("createAccount", {"ann@example.com", "Ann", "secret"}), 0);
    EXPECT_EQ(call("logoutButton"), std::nullopt);
    EXPECT_EQ(call("isLoggedIn"), 1);
    EXPECT_FALSE(requested(Endpoint::Logout));

    clearShellCalls();
    EXPECT_EQ(call("logoutButton", {1, 2}), std::nullopt);
    EXPECT_EQ(call("isLoggedIn"), 0);
    EXPECT_EQ(statements().back(), "logoutSuccess();");
    const std::vector<std::string> calls = shellCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "seam:resetWaitingGamesCount"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "seam:setTrayIcon(false)"), calls.end());

    script(Endpoint::Logout, {200, "<Error/>"});
    call("logoutButton", {"", ""});
    EXPECT_EQ(statements().back(), "logoutFailed();");
}

TEST_F(BridgeLoginTest, SetPasswordAlertsForChangedAndFailedOnly) {
    const struct {
        const char* reply;
        std::vector<std::string> statements;
    } cases[] = {
        {"<RegisterSuccess/>", {"locAlert('Your password has been successfully changed.');"}},
        {"<RegisterError>InvalidPassword</RegisterError>", {}},
        {"<Other/>", {"locAlert('Password Reset Failure');"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        script(Endpoint::RequestPasswordResetByLogin, {200, c.reply});
        const size_t before = statements().size();
        call("setPassword", {"n3w"});
        EXPECT_EQ(
            std::vector<std::string>(statements().begin() + ptrdiff_t(before), statements().end()),
            c.statements);
    }
}
