// The client against the loopback server's real accounts, news, versions and
// option text: registration, login and logout, colours kept on the account,
// password change, the platform id and friends, and the seed's accounts.

#include "ServerTestSupport.h"

#include "tools/server/LoopbackServer.h"

#include "service/BSecureStorage.h"
#include "service/ServiceWorkers.h"
#include "service/WebService.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <thread>

using namespace std::chrono_literals;

namespace {

class ServerAccountsTest : public ServerFolderTest {
protected:
    // Starts a server on a new database in the test's folder, with a seed
    // when given, and points the client's three bases at its root.
    void startServer(const std::string& seed = {}) {
        LoopbackServerOptions options;
        options.database = mFolder / "server.sqlite3";
        if (!seed.empty())
            options.seed = writeSeed("seed.xml", seed);
        mServer = std::make_unique<LoopbackServer>(options);
        ASSERT_TRUE(mServer->start()) << mServer->error();
        mClient.setSecureStorage(&mStore);
        mClient.setDeviceIdProvider([] { return std::string("device-01"); });
        const std::string base = mServer->baseUrl();
        mClient.setBaseUrls(base, base, base, base);
    }
    void TearDown() override {
        waitForWorkers();
        mServer.reset();
        ServerFolderTest::TearDown();
    }

    // The fire-and-forget updates have been answered (and so stored).
    static void waitForWorkers() {
        for (int i = 0; i < 500 && serviceWorkers().runningCount() > 0; ++i)
            std::this_thread::sleep_for(10ms);
        ASSERT_EQ(serviceWorkers().runningCount(), 0u);
    }

    int loginAs(const std::string& user, const std::string& password) {
        mStore.setStoredUsername(user);
        mStore.setStoredPassword(password);
        return mClient.login();
    }

    BSecureStorage mStore;
    std::unique_ptr<LoopbackServer> mServer;
    WebService mClient;
};

const std::string cSeed =
    "<ServerSeed>"
    "<Account login=\"ann@example.org\" password=\"pw-ann\" nickname=\"Ann\" home=\"2\" "
    "away=\"5\" avatar=\"PACK_A|1\" steamId=\"1001\"/>"
    "<Account login=\"bob@example.org\" password=\"pw-bob\" nickname=\"Bob\"/>"
    "<News id=\"1\" title=\"Welcome\" body=\"First &amp; only\"/>"
    "<News id=\"4\" title=\"Patch\" body=\"Balance\"/>"
    "<Setting name=\"serverConfig\" value=\"SubmitTurnVersion=3\"/>"
    "</ServerSeed>";

} // namespace

TEST_F(ServerAccountsTest, RegisterLogInLogOutAndTheOldKeyIsRefused) {
    startServer();
    ASSERT_EQ(mClient.registerWithNickname("cat@example.org", "pw-cat", "Cat"), 0);
    EXPECT_EQ(mClient.authKey().size(), 32u);
    ASSERT_EQ(loginAs("cat@example.org", "pw-cat"), 0);
    EXPECT_TRUE(mClient.isLoggedIn());
    EXPECT_EQ(mClient.nickname(), "Cat");
    EXPECT_EQ(mClient.localAvatar().mId, cFallbackAvatar);
    EXPECT_NEAR(mClient.serverTimeOffset(), 0, 5);
    const std::string oldKey = mClient.authKey();

    ASSERT_TRUE(mClient.logout());
    EXPECT_FALSE(mClient.isLoggedIn());
    EXPECT_EQ(mClient.loginWithAuthKey(), 1) << "no stored key after the logout";
    mStore.setStoredAuthKey(oldKey);
    EXPECT_EQ(mClient.loginWithAuthKey(), 1) << "the server emptied the old key";
    EXPECT_EQ(loginAs("cat@example.org", "wrong"), 1);
    EXPECT_EQ(loginAs("nobody@example.org", "pw-cat"), 1);

    ASSERT_EQ(loginAs("cat@example.org", "pw-cat"), 0);
    EXPECT_NE(mClient.authKey(), oldKey) << "a new key at each login";
    EXPECT_EQ(mClient.loginWithAuthKey(), 0);
}

TEST_F(ServerAccountsTest, RegistrationRefusalsReachTheClientAsTheirCodes) {
    startServer(cSeed);
    const struct {
        const char* user;
        const char* password;
        const char* nickname;
        int code;
    } cases[] = {
        {"", "pw", "Dee", 2},
        {"dee example.org", "pw", "Dee", 2},
        {"dee@example.org", "", "Dee", 3},
        {"dee@example.org", "pw", "", 4},
        {"dee@example.org", "pw", "D,ee", 4},
        {"dee@example.org", "pw", "!", 4},
        {"dee@example.org", "pw", "ann", 5},
        {"ANN@example.org", "pw", "Dee", 6},
        {"dee@example.org", "pw", "Dee", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " / " + c.nickname);
        EXPECT_EQ(mClient.registerWithNickname(c.user, c.password, c.nickname), c.code);
    }
}

TEST_F(ServerAccountsTest, ChoicesMadeWhileLoggedInComeBackAtTheNextLogin) {
    startServer(cSeed);
    ASSERT_EQ(loginAs("ann@example.org", "pw-ann"), 0);
    EXPECT_EQ(mClient.localHomeColor(), 2);
    EXPECT_EQ(mClient.localAwayColor(), 5);
    EXPECT_EQ(mClient.localAvatar().mId, "PACK_A");
    mClient.updateHomeColor(7);
    mClient.updateAvatar("PACK_C", 3);
    waitForWorkers();

    mClient.updateAwayColor(1);
    waitForWorkers();
    ASSERT_TRUE(mClient.logout());
    mClient.updateHomeColor(0); // logged out: refused by the server, kept here
    waitForWorkers();
    ASSERT_EQ(loginAs("ann@example.org", "pw-ann"), 0);
    EXPECT_EQ(mClient.localHomeColor(), 7);
    EXPECT_EQ(mClient.localAwayColor(), 1);
    EXPECT_EQ(mClient.localAvatar().mId, "PACK_C");
    EXPECT_EQ(mClient.localAvatar().mVariant, 3);
}

TEST_F(ServerAccountsTest, APasswordChangeAndAResetRequest) {
    startServer(cSeed);
    mStore.setStoredUsername("nobody@example.org");
    EXPECT_EQ(mClient.requestPasswordReset(), 2);
    ASSERT_EQ(loginAs("bob@example.org", "pw-bob"), 0);
    EXPECT_EQ(mClient.requestPasswordReset(), 0);
    EXPECT_EQ(mClient.requestPasswordResetByLogin(""), 1);
    EXPECT_EQ(mClient.requestPasswordResetByLogin("pw-new"), 0);
    EXPECT_EQ(loginAs("bob@example.org", "pw-bob"), 1);
    EXPECT_EQ(loginAs("bob@example.org", "pw-new"), 0);
}

TEST_F(ServerAccountsTest, FriendsAreNamedByTheirBoundPlatformIds) {
    startServer(cSeed);
    EXPECT_EQ(mClient.getSteamFriends({1001}), 1) << "not logged in";
    ASSERT_EQ(loginAs("bob@example.org", "pw-bob"), 0);
    EXPECT_EQ(mClient.registerSteam("not-a-number"), 1);
    ASSERT_EQ(mClient.registerSteam("2002"), 0);
    EXPECT_EQ(mClient.getSteamFriends({1001, 3003, 2002}), 0);
    std::string name;
    EXPECT_TRUE(mClient.findSteamFriend(name, 1001));
    EXPECT_EQ(name, "Ann");
    EXPECT_TRUE(mClient.findSteamFriend(name, 2002));
    EXPECT_EQ(name, "Bob");
    EXPECT_FALSE(mClient.findSteamFriend(name, 3003));
}

TEST_F(ServerAccountsTest, NewsVersionsAndTheOptionText) {
    startServer(cSeed);
    mStore.setValue("HighestNewsRead", "1");
    ASSERT_TRUE(mClient.getNews());
    EXPECT_EQ(mClient.mNewsKey.load(), 4);
    EXPECT_EQ(mClient.mNewsDiff.load(), 1);

    ServerRequest page(mClient.getNewsUrl());
    ASSERT_TRUE(page());
    const std::string html = page.getResponseString();
    EXPECT_NE(html.find("<h2>Patch</h2>"), std::string::npos);
    EXPECT_NE(html.find("First &amp; only"), std::string::npos);
    ServerRequest guide(mClient.getGameGuideUrl());
    ASSERT_TRUE(guide());
    EXPECT_NE(guide.getResponseString().find("<title>Game guide</title>"), std::string::npos);

    ASSERT_EQ(mClient.getVersions(), 0);
    EXPECT_EQ(mClient.mProtocolVersion, 1039);
    EXPECT_EQ(mClient.mUpperGameVersion, 1039);
    EXPECT_EQ(mClient.endpoint(Endpoint::SubmitTurn).mVersion, 3);
    BConfig::instance().unsetById(cOptSubmitTurnVersion);
}

TEST_F(ServerAccountsTest, TheVersionsAndOptionTextAreConfigurable) {
    startServer("<ServerSeed><Setting name=\"protocolVersion\" value=\"1040\"/></ServerSeed>");
    ASSERT_EQ(mClient.getVersions(), 0);
    EXPECT_EQ(mClient.mProtocolVersion, 1040);
    EXPECT_EQ(mClient.mLowerGameVersion, 1039);
    EXPECT_EQ(mClient.endpoint(Endpoint::SubmitTurn).mVersion, 2) << "empty text by default";
}

TEST_F(ServerAccountsTest, ABrokenSeedAccountIsRefused) {
    for (const char* account :
         {"<Account login=\"a@b\" password=\"pw\"/>",
          "<Account login=\"a@b\" password=\"pw\" nickname=\"A\" home=\"red\"/>",
          "<Account login=\"a@b\" password=\"pw\" nickname=\"A\"/>"
          "<Account login=\"c@d\" password=\"pw\" nickname=\"a\"/>",
          "<News title=\"untitled\"/>"}) {
        SCOPED_TRACE(account);
        std::filesystem::remove(mFolder / "server.sqlite3");
        LoopbackServerOptions options;
        options.database = mFolder / "server.sqlite3";
        options.seed =
            writeSeed("seed.xml", std::string("<ServerSeed>") + account + "</ServerSeed>");
        LoopbackServer server(options);
        EXPECT_FALSE(server.start());
        EXPECT_NE(server.error().find("seed"), std::string::npos) << server.error();
    }
}
