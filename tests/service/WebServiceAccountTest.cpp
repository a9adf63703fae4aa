// Account and login requests against scripted replies: the login table for
// both logins, logout, registration, the resets, the platform id and friends.

#include "LoopbackTestSupport.h"
#include "SecureStorageTestSupport.h"

#include "rules/SceneServices.h"

using namespace std::chrono_literals;

namespace {

class CountingServices : public SceneServices {
public:
    void updateCivLeaderboards() override { ++mLeaderboardUpdates; }
    int mLeaderboardUpdates = 0;
};

// The client's preferences in a store opened on a temporary folder, so that
// what is saved can be told from what is only in the map.
class AccountRequestTest : public SecureStorageTest, protected LoopbackClient {
protected:
    void SetUp() override {
        SecureStorageTest::SetUp();
        openQuietly(mStore, 0);
        startLoopback();
        setSceneServices(&mServices);
    }
    void TearDown() override {
        setSceneServices(nullptr);
        SecureStorageTest::TearDown();
    }

    // What the store's file holds under key, read by a fresh store.
    std::optional<std::string> savedValue(std::string_view key) {
        BSecureStorage reread;
        openQuietly(reread, 0);
        std::string value;
        return reread.getValue(key, value) ? std::optional(value) : std::nullopt;
    }

    const ReceivedRequest lastRequest() { return mServer.requests().back(); }

    CountingServices mServices;
};

const std::string cCompleteLogin = "<LoginSuccess r=\"42\" n=\"Ann\" a=\"key-2\" home=\"3\" "
                                   "away=\"5\" avatar=\"PACK_A|2\" t=\"1700000100\"/>";
const std::string cLoginWithoutAvatar =
    "<LoginSuccess r=\"42\" n=\"Ann\" a=\"key-2\" home=\"3\" away=\"5\" t=\"1700000100\"/>";

} // namespace

TEST_F(AccountRequestTest, BothLoginsAnswerByTheirReplyTable) {
    const struct {
        const char* name;
        ScriptedReply reply;
        int code;
    } cases[] = {
        {"complete", {200, cCompleteLogin}, 0},
        {"without avatar", {200, cLoginWithoutAvatar}, 2},
        {"refused", {200, "<LoginError>InvalidPassword</LoginError>"}, 1},
        {"another root", {200, "<Success/>"}, 2},
        {"broken XML", {200, "<LoginSuccess r=\"42\""}, 2},
        {"unreadable id", {200, "<LoginSuccess r=\"4x\"/>"}, 2},
        {"no reply", {200, "", 0ms, true}, 99},
    };
    for (const Endpoint endpoint : {Endpoint::Login, Endpoint::LoginWithAuthKey}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (endpoint == Endpoint::Login ? " login" : " key"));
            mClient.mLoggedIn = false;
            mClient.mAccountId = 0;
            mServices.mLeaderboardUpdates = 0;
            script(endpoint, c.reply);
            const int code =
                endpoint == Endpoint::Login ? mClient.login() : mClient.loginWithAuthKey();
            EXPECT_EQ(code, c.code);
            EXPECT_EQ(mClient.isLoggedIn(), c.code == 0);
            EXPECT_EQ(mServices.mLeaderboardUpdates, c.code == 0 ? 1 : 0);
        }
    }
}

TEST_F(AccountRequestTest, ACompleteLoginStoresTheIdentitySavingOnlyTheColours) {
    mStore.setStoredUsername("ann@example.org");
    mStore.setStoredPassword("secret");
    script(Endpoint::Login, {200, cCompleteLogin});
    ASSERT_EQ(mClient.login(), 0);
    EXPECT_EQ(mClient.mAccountId, 42);
    EXPECT_EQ(mClient.nickname(), "Ann");
    EXPECT_EQ(mClient.authKey(), "key-2");
    EXPECT_EQ(mStore.getStoredAuthKey(), "key-2");
    EXPECT_EQ(mClient.localHomeColor(), 3);
    EXPECT_EQ(mClient.localAwayColor(), 5);
    EXPECT_EQ(mClient.localAvatar().mId, "PACK_A");
    EXPECT_EQ(mClient.localAvatar().mVariant, 2);
    EXPECT_EQ(mClient.serverTimeOffset(), 100);
    EXPECT_EQ(savedValue("LocalPlayerHomeColor"), "3");
    EXPECT_EQ(savedValue("LocalPlayerAwayColor"), "5");
    EXPECT_EQ(savedValue("LocalPlayerAvatar"), std::nullopt) << "a login writes no avatar";

    const ReceivedRequest sent = lastRequest();
    std::vector<std::string> names;
    for (const FormPart& part : sent.parts)
        names.push_back(part.name);
    EXPECT_EQ(names, (std::vector<std::string>{"username", "password", "device", "ver", "t", "h"}));
    EXPECT_EQ(*sent.field("username"), "ann@example.org");
}

TEST_F(AccountRequestTest, TheLoginPutsTheAuthKeyInTheMapWithoutSaving) {
    // Stopped before the colours, whose preferences would save the whole map.
    script(Endpoint::Login, {200, "<LoginSuccess r=\"42\" n=\"Ann\" a=\"key-2\"/>"});
    EXPECT_EQ(mClient.login(), 2);
    EXPECT_EQ(mStore.getStoredAuthKey(), "key-2");
    EXPECT_EQ(savedValue("AuthKey"), std::nullopt);
}

TEST_F(AccountRequestTest, ALoginWithoutAvatarKeepsTheEarlierAttributes) {
    script(Endpoint::Login, {200, cLoginWithoutAvatar});
    EXPECT_EQ(mClient.login(), 2);
    EXPECT_EQ(mClient.mAccountId, 42);
    EXPECT_EQ(mClient.nickname(), "Ann");
    EXPECT_EQ(mClient.authKey(), "key-2");
    EXPECT_EQ(mClient.localHomeColor(), 3);
    EXPECT_EQ(mClient.localAwayColor(), 5);
    EXPECT_EQ(mClient.serverTimeOffset(), 0);
    EXPECT_FALSE(mClient.isLoggedIn());
}

TEST_F(AccountRequestTest, ALoginWithNoStoredKeySendsAnEmptyAuthKey) {
    script(Endpoint::LoginWithAuthKey, {200, cCompleteLogin});
    EXPECT_EQ(mClient.loginWithAuthKey(), 0);
    const ReceivedRequest sent = lastRequest();
    EXPECT_EQ(*sent.field("authKey"), "");
    EXPECT_EQ(*sent.field("device"), "device-01");
}

TEST_F(AccountRequestTest, AFailedLogoutKeepsTheKeyForTheNextLogin) {
    mStore.setStoredAuthKey("key-1");
    script(Endpoint::LoginWithAuthKey, {200, cCompleteLogin});
    ASSERT_EQ(mClient.loginWithAuthKey(), 0);

    script(Endpoint::Logout, {200, "<Error>NotLoggedIn</Error>"});
    EXPECT_FALSE(mClient.logout());
    EXPECT_TRUE(mClient.isLoggedIn());
    EXPECT_EQ(mStore.getStoredAuthKey(), "key-2");
    script(Endpoint::LoginWithAuthKey, {200, cCompleteLogin});
    EXPECT_EQ(mClient.loginWithAuthKey(), 0);
    EXPECT_EQ(*lastRequest().field("authKey"), "key-2");

    script(Endpoint::Logout, {200, "<Success/>"});
    EXPECT_TRUE(mClient.logout());
    EXPECT_FALSE(mClient.isLoggedIn());
    EXPECT_EQ(mClient.authKey(), "");
    EXPECT_EQ(mClient.nickname(), "");
    std::string stored = "unset";
    EXPECT_TRUE(mStore.getValue("AuthKey", stored));
    EXPECT_EQ(stored, "");
}

TEST_F(AccountRequestTest, RegistrationAnswersByItsTable) {
    const struct {
        ScriptedReply reply;
        int code;
    } cases[] = {
        {{200, "<RegisterSuccess a=\"new-key\"/>"}, 0},
        {{200, "<RegisterError>InvalidUsername</RegisterError>"}, 2},
        {{200, "<RegisterError>InvalidPassword</RegisterError>"}, 3},
        {{200, "<RegisterError>Invalid_Password</RegisterError>"}, 3},
        {{200, "<RegisterError>Invalid_Nickname</RegisterError>"}, 4},
        {{200, "<RegisterError>DuplicateNickname</RegisterError>"}, 5},
        {{200, "<RegisterError>DuplicateUser</RegisterError>"}, 6},
        {{200, "<RegisterError>Busy</RegisterError>"}, 1},
        {{200, "<RegisterSuccess/>"}, 2},
        {{200, "<Game/>"}, 1},
        {{503, ""}, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.body);
        mClient.setAuthKey("old");
        script(Endpoint::RegisterWithNickname, c.reply);
        EXPECT_EQ(mClient.registerWithNickname("ann@example.org", "pw", "Ann"), c.code);
        EXPECT_EQ(mClient.authKey(), c.code == 0 ? "new-key" : "old");
    }
    EXPECT_EQ(mStore.getStoredAuthKey(), "") << "the new key is not stored";
    std::vector<std::string> names;
    for (const FormPart& part : lastRequest().parts)
        names.push_back(part.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"reqUsername", "password", "nickname", "reqDevice", "ver"}));
}

TEST_F(AccountRequestTest, ResetsAndThePlatformIdAnswerByTheirTables) {
    const ScriptedReply success{200, "<RegisterSuccess/>"};
    const ScriptedReply badPassword{200, "<RegisterError>InvalidPassword</RegisterError>"};
    const ScriptedReply otherError{200, "<RegisterError>InvalidUsername</RegisterError>"};
    const ScriptedReply notLoggedIn{200, "<Error>NotLoggedIn</Error>"};
    const ScriptedReply none{500, ""};
    const struct {
        Endpoint endpoint;
        ScriptedReply reply;
        int code;
    } cases[] = {
        {Endpoint::RequestPasswordReset, success, 0},
        {Endpoint::RequestPasswordReset, otherError, 2},
        {Endpoint::RequestPasswordReset, notLoggedIn, 2},
        {Endpoint::RequestPasswordReset, none, 1},
        {Endpoint::RequestPasswordResetByLogin, success, 0},
        {Endpoint::RequestPasswordResetByLogin, badPassword, 1},
        {Endpoint::RequestPasswordResetByLogin, otherError, 2},
        {Endpoint::RequestPasswordResetByLogin, none, 1},
        {Endpoint::RegisterSteam, success, 0},
        {Endpoint::RegisterSteam, notLoggedIn, 1},
        {Endpoint::RegisterSteam, none, 1},
    };
    mStore.setStoredUsername("ann@example.org");
    for (const auto& c : cases) {
        SCOPED_TRACE(mClient.endpoint(c.endpoint).mPath + " " + c.reply.body);
        script(c.endpoint, c.reply);
        const int code = c.endpoint == Endpoint::RequestPasswordReset ? mClient.requestPasswordReset()
                         : c.endpoint == Endpoint::RegisterSteam
                             ? mClient.registerSteam("76561197960287930")
                             : mClient.requestPasswordResetByLogin("new-secret");
        EXPECT_EQ(code, c.code);
    }
    const std::vector<ReceivedRequest> sent = mServer.requests();
    EXPECT_EQ(*sent.at(0).field("email"), "ann@example.org");
    EXPECT_EQ(sent.at(0).field("h"), nullptr);
    EXPECT_EQ(*sent.at(4).field("newpassword"), "new-secret");
    EXPECT_EQ(*sent.at(8).field("steamID"), "76561197960287930");
    EXPECT_NE(sent.at(8).field("h"), nullptr);
}

TEST_F(AccountRequestTest, FriendsAreStoredOnlyWhenEveryIdIsAnswered) {
    const int64_t ann = 1001;
    const int64_t bob = 1002;
    EXPECT_EQ(mClient.getSteamFriends({}), 0);
    EXPECT_TRUE(mServer.requests().empty()) << "an empty list sends nothing";
    EXPECT_FALSE(mClient.mSteamFriendsRequested);

    script(Endpoint::GetSteamFriends, {200, "<Success>Ann,</Success>"});
    EXPECT_EQ(mClient.getSteamFriends({ann, bob}), 0);
    EXPECT_TRUE(mClient.mSteamFriends.empty());
    EXPECT_TRUE(mClient.mSteamFriendsRequested);
    EXPECT_EQ(*lastRequest().field("list"), "1001,1002,");

    script(Endpoint::GetSteamFriends, {200, "<Success>Ann,!,</Success>"});
    EXPECT_EQ(mClient.getSteamFriends({ann, bob}), 0);
    std::string name = "untouched";
    EXPECT_TRUE(mClient.findSteamFriend(name, ann));
    EXPECT_EQ(name, "Ann");
    name = "untouched";
    EXPECT_FALSE(mClient.findSteamFriend(name, bob));
    EXPECT_EQ(name, "untouched");

    for (const ScriptedReply& failed :
         {ScriptedReply{200, "<Error>NotLoggedIn</Error>"}, ScriptedReply{500, ""}}) {
        script(Endpoint::GetSteamFriends, failed);
        EXPECT_EQ(mClient.getSteamFriends({ann, bob}), 1);
    }
    EXPECT_EQ(mClient.mSteamFriends.size(), 1u) << "the map only grows";
}

TEST_F(AccountRequestTest, TheServerClockSetsTheOffset) {
    const struct {
        const char* body;
        int code;
        int32_t offset;
    } cases[] = {
        {"<root t=\"1700000060\"/>", 0, 60},
        {"<root/>", 2, 60},
        {"<root t=\"soon\"/>", 2, 60},
        {"<Error/>", 2, 60},
        {"", 2, 60},
        {"<root t=\"1699999990\"/>", 0, -10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        script(Endpoint::GetTime, {200, c.body});
        EXPECT_EQ(mClient.getTime(), c.code);
        EXPECT_EQ(mClient.serverTimeOffset(), c.offset);
    }
}
