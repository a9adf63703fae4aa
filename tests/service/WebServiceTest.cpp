// The client's members at start, its endpoint table and addresses, and the
// request time.

#include "LoopbackTestSupport.h"

using namespace std::chrono_literals;

TEST(WebServiceMembersTest, StartWithTheirInitialValues) {
    const WebService client;
    EXPECT_TRUE(client.mServerBaseUrl.empty() && client.mNewsBaseUrl.empty() &&
                client.mConfigBaseUrl.empty() && client.mExtraBaseUrl.empty());
    EXPECT_FALSE(client.mLoggedIn);
    EXPECT_EQ(client.mAccountId, 0);
    EXPECT_TRUE(client.mNickname.empty() && client.mAuthKey.empty());
    EXPECT_EQ(client.mServerTimeOffset, 0);
    EXPECT_TRUE(client.mGames.empty());
    EXPECT_EQ(client.mLocalHomeColor, 0);
    EXPECT_EQ(client.mLocalAwayColor, 0);
    EXPECT_TRUE(client.mLocalAvatar.empty());
    EXPECT_EQ(client.mLocalAvatarVariant, 0);
    EXPECT_EQ(client.mProtocolVersion, 99999999);
    EXPECT_EQ(client.mLowerGameVersion, 99999999);
    EXPECT_EQ(client.mUpperGameVersion, 0);
    EXPECT_EQ(client.mNewsKey.load(), -1);
    EXPECT_EQ(client.mNewsDiff.load(), 0);
    EXPECT_EQ(client.mProtectedGameId, 0);
    EXPECT_TRUE(client.mGamesHash.empty());
    EXPECT_FALSE(client.mSteamFriendsRequested);
    EXPECT_TRUE(client.mSteamFriends.empty());
}

TEST(WebServiceMembersTest, TheEndpointTableHasItsRowsAndVersions) {
    const WebService client;
    ASSERT_EQ(client.mEndpoints.size(), 35u);
    EXPECT_EQ(client.endpoint(Endpoint::GetTime).mPath, "Accounts/getTime");
    EXPECT_EQ(client.endpoint(Endpoint::SubmitTurn).mVersion, 2);
    EXPECT_EQ(client.endpoint(Endpoint::GetNews).mVersion, 2);
    EXPECT_EQ(client.endpoint(Endpoint::ServerConfig).mPath, "Server.cfg");
    int withBase = 0;
    int versionTwo = 0;
    for (const WebServiceEndpoint& row : client.mEndpoints) {
        withBase += row.mBase != EndpointBase::None;
        versionTwo += row.mVersion == 2;
    }
    EXPECT_EQ(withBase, 28);
    EXPECT_EQ(versionTwo, 2);
}

TEST(WebServiceMembersTest, MakeUrlJoinsWithNothingInserted) {
    WebService client;
    client.setBaseUrls("https://games.example/api/", "n/", "c/", "x/");
    EXPECT_EQ(client.makeUrl("Game/submitTurn"), "https://games.example/api/Game/submitTurn");
    client.setBaseUrls("https://games.example/api", "n/", "c/", "x/");
    EXPECT_EQ(client.makeUrl("Game/submitTurn"), "https://games.example/apiGame/submitTurn");
}

TEST(WebServiceMembersTest, RequestTimeIsTheClockPlusTheOffset) {
    WebService client;
    client.setClock([] { return cTestClock; });
    EXPECT_EQ(client.requestTime(), cTestClock);
    client.setServerTimeOffset(-30);
    EXPECT_EQ(client.requestTime(), cTestClock - 30);
    EXPECT_EQ(client.stamp(Endpoint::Logout).mTime, cTestClock - 30);
}

TEST(WebServiceMembersTest, AStampCopiesTheIdentityWhenTaken) {
    WebService client;
    client.setBaseUrls("s/", "n/", "c/", "x/");
    client.setAuthKey("before");
    client.setEndpointVersion(Endpoint::CreateGame, 7);
    const RequestStamp stamp = client.stamp(Endpoint::CreateGame);
    client.setAuthKey("after");
    EXPECT_EQ(stamp.mAuthKey, "before");
    EXPECT_EQ(stamp.mVersion, 7);
    EXPECT_EQ(stamp.mUrl, "s/Game/createGame");
}

class WebServiceAddressTest : public LoopbackTest {};

TEST_F(WebServiceAddressTest, EachEndpointWithABaseIsReachedAtBasePlusPath) {
    std::vector<std::string> expected;
    for (size_t i = 0; i < mClient.mEndpoints.size(); ++i) {
        const auto endpoint = static_cast<Endpoint>(i);
        const WebServiceEndpoint& row = mClient.endpoint(endpoint);
        const std::string url = mClient.endpointUrl(endpoint);
        if (row.mBase == EndpointBase::None) {
            EXPECT_EQ(url, row.mPath);
            continue;
        }
        const char* prefix = row.mBase == EndpointBase::Server ? "/"
                             : row.mBase == EndpointBase::News ? "/news/"
                                                               : "/cfg/";
        expected.push_back(prefix + row.mPath);
        ServerRequest request(url);
        request();
    }
    ASSERT_EQ(expected.size(), 28u);
    ASSERT_TRUE(mServer.waitForRequests(expected.size(), 5s));
    std::vector<std::string> paths;
    for (const ReceivedRequest& request : mServer.requests())
        paths.push_back(request.path);
    EXPECT_EQ(paths, expected);
}
